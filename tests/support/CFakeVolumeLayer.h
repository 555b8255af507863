// A volume layer with scripted drives, volume states, media types, file
// attributes, free space and failures. Roots are best real folders (a test's
// temporary directory): files are then read and written there for real,
// through the platform's own careful write, unless a failure is scripted.
#pragma once

#include "CVolumeLayer.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CFakeVolumeLayer : public CVolumeLayer
{
public:
    struct Drive
    {
        std::string strRoot; // ends in the path separator
        bool bRemovable = true;
        bool bInfoOk = true; // false: a reader without a card
        VolumeInfo info;
        EMediaQuery eMedia = eMediaNoQuery;
        int nMediaType = kRemovableMedia;
        bool bFreeOk = true;
        uint64_t nFreeBytes = 64 * 1024 * 1024;
    };

    CFakeVolumeLayer() : m_pPlatform(createPlatform()) {}

    // Puts a drive into slot nSlot (0 ... 31), making room as needed.
    Drive& setDrive(size_t nSlot, const std::string& strRoot);
    void setAttributes(const std::string& strPath, uint32_t nAttributes)
    {
        m_mapAttributes[strPath] = nAttributes;
    }
    // While set, replaceFile fails without touching anything.
    void setWriteFails(bool bFails) { m_bWriteFails = bFails; }
    // The next nProbes probes answer, every later one runs out; -1: all answer.
    void setProbesAnswering(int nProbes) { m_nProbesAnswering = nProbes; }
    // A card that is not mounted. Mounting it puts a drive with strMountRoot
    // into the first free slot, or fails with strError when that is empty.
    void addUnmounted(const std::string& strDevice, const std::string& strLabel,
                      const std::string& strMountRoot, const std::string& strError = "")
    {
        m_aUnmounted.push_back({{strDevice, strLabel}, strMountRoot, strError});
    }
    // Non-empty: ejecting fails with this text.
    void setEjectError(const std::string& strError) { m_strEjectError = strError; }

    int getMediaQueries() const { return m_nMediaQueries; }
    int getAttributeQueries() const { return m_nAttributeQueries; }
    int getReplaceCalls() const { return m_nReplaceCalls; }

    std::vector<std::string> drives() override;
    bool isRemovable(const std::string& strRoot) override { return drive(strRoot).bRemovable; }
    bool volumeInfo(const std::string& strRoot, VolumeInfo& rInfo) override;
    EMediaQuery mediaType(const std::string& strRoot, int& rnType) override;
    uint32_t fileAttributes(const std::string& strPath) override;
    bool freeSpace(const std::string& strRoot, uint64_t& rnBytes) override;
    bool replaceFile(const std::string& strPath, const std::string& strTempPath, const void* pData,
                     size_t nSize, std::string& strError) override;
    bool probe(const std::function<std::string()>& fnProbe, std::string& rstrAnswer) override;
    std::vector<UnmountedCard> unmountedCards() override;
    bool mountCard(const std::string& strDevice, std::string& rstrRoot,
                   std::string& rstrError) override;
    bool ejectCard(const std::string& strRoot, std::string& rstrError) override;
    bool isMounted(const std::string& strRoot) override { return !drive(strRoot).strRoot.empty(); }

private:
    // The drive with that root, or one that fails every query.
    const Drive& drive(const std::string& strRoot) const;

    std::vector<Drive> m_aDrives; // empty root: no drive in that slot
    const Drive m_noDrive{"", false, false, {}, eMediaFailed, 0, false, 0};
    std::map<std::string, uint32_t> m_mapAttributes;
    std::unique_ptr<CVolumeLayer> m_pPlatform;
    struct Unmounted
    {
        UnmountedCard card;
        std::string strMountRoot;
        std::string strError;
    };
    std::vector<Unmounted> m_aUnmounted;
    std::string m_strEjectError;
    int m_nProbesAnswering = -1;
    bool m_bWriteFails = false;
    int m_nMediaQueries = 0;
    int m_nAttributeQueries = 0;
    int m_nReplaceCalls = 0;
};
