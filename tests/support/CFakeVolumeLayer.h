// Scripted drives and failures; roots are real folders, written for real.
#pragma once

#include "CVolumeLayer.h"

#include <deque>
#include <map>

class CFakeVolumeLayer : public CVolumeLayer
{
public:
    struct Drive
    {
        std::string strRoot; // ends in the path separator; empty: no drive in the slot
        bool bRemovable = true, bInfoOk = true; // bInfoOk false: a reader without a card
        VolumeInfo info;
        EMediaQuery eMedia = eMediaNoQuery;
        int nMediaType = kRemovableMedia;
        bool bFreeOk = true;
        uint64_t nFreeBytes = 64 * 1024 * 1024;
    };

    // Puts a fresh drive into slot nSlot, making room as needed.
    Drive& setDrive(size_t nSlot, const std::string& strRoot)
    {
        m_aDrives.resize(std::max(m_aDrives.size(), nSlot + 1));
        m_aDrives[nSlot] = Drive();
        m_aDrives[nSlot].strRoot = strRoot;
        return m_aDrives[nSlot];
    }
    void setAttributes(const std::string& strPath, uint32_t n) { m_mapAttributes[strPath] = n; }
    // The next nProbes probes answer (-1: all); every later one runs out, or
    // with bCrash comes back in time with nothing, as a probe that died.
    void setProbesAnswering(int nProbes, bool bCrash = false) { m_probes = {nProbes, bCrash}; }
    // Non-empty: ejecting fails with this text.
    void setEjectError(const std::string& strError) { m_strEjectError = strError; }

    std::vector<std::string> drives() override
    {
        std::vector<std::string> astrRoots;
        for (const Drive& rDrive : m_aDrives)
            astrRoots.push_back(rDrive.strRoot);
        return astrRoots;
    }
    bool isRemovable(const std::string& strRoot) override { return drive(strRoot).bRemovable; }
    bool isMounted(const std::string& strRoot) override { return !drive(strRoot).strRoot.empty(); }
    bool volumeInfo(const std::string& strRoot, VolumeInfo& rInfo) override
    {
        rInfo = drive(strRoot).bInfoOk ? drive(strRoot).info : rInfo;
        return drive(strRoot).bInfoOk;
    }
    EMediaQuery mediaType(const std::string& strRoot, int& rnType) override
    {
        rnType = drive(strRoot).eMedia == eMediaReported ? drive(strRoot).nMediaType : rnType;
        return drive(strRoot).eMedia;
    }
    uint32_t fileAttributes(const std::string& str) override { return m_mapAttributes[str]; }
    bool freeSpace(const std::string& strRoot, uint64_t& rnBytes) override
    {
        rnBytes = drive(strRoot).bFreeOk ? drive(strRoot).nFreeBytes : rnBytes;
        return drive(strRoot).bFreeOk;
    }
    bool replaceFile(const std::string& strPath, const std::string& strTempPath, const void* pData,
                     size_t nSize, std::string& strError) override
    {
        return createPlatform()->replaceFile(strPath, strTempPath, pData, nSize, strError);
    }
    bool probe(const std::function<std::string()>& fnProbe, std::string& rstrAnswer) override
    {
        if (m_probes.first == 0)
            return m_probes.second;
        m_probes.first -= m_probes.first > 0;
        rstrAnswer = fnProbe();
        return true;
    }
    bool ejectCard(const std::string& strRoot, std::string& rstrError) override
    {
        rstrError = isMounted(strRoot) ? m_strEjectError : strRoot + " is not mounted";
        if (rstrError.empty())
            drive(strRoot) = Drive();
        return rstrError.empty();
    }

private:
    // The drive with that root, or one that fails every query.
    Drive& drive(const std::string& strRoot)
    {
        for (Drive& rDrive : m_aDrives)
            if (!strRoot.empty() && rDrive.strRoot == strRoot)
                return rDrive;
        static Drive s_none;
        return s_none = Drive{"", false, false, {}, eMediaFailed, 0, false, 0};
    }

    std::deque<Drive> m_aDrives; // its references stay valid as it grows
    std::map<std::string, uint32_t> m_mapAttributes;
    std::string m_strEjectError;
    std::pair<int, bool> m_probes{-1, false}; // probes yet to answer, whether the rest crash
};
