#include "CFakeVolumeLayer.h"

#include <stdexcept>

CFakeVolumeLayer::Drive& CFakeVolumeLayer::setDrive(size_t nSlot, const std::string& strRoot)
{
    if (nSlot >= kMaxDrives)
        throw std::out_of_range("drive slot");
    if (m_aDrives.size() <= nSlot)
        m_aDrives.resize(nSlot + 1);
    m_aDrives[nSlot] = Drive();
    m_aDrives[nSlot].strRoot = strRoot;
    return m_aDrives[nSlot];
}

const CFakeVolumeLayer::Drive& CFakeVolumeLayer::drive(const std::string& strRoot) const
{
    for (const Drive& rDrive : m_aDrives)
        if (!strRoot.empty() && rDrive.strRoot == strRoot)
            return rDrive;
    return m_noDrive;
}

std::vector<std::string> CFakeVolumeLayer::drives()
{
    std::vector<std::string> astrRoots;
    for (const Drive& rDrive : m_aDrives)
        astrRoots.push_back(rDrive.strRoot);
    return astrRoots;
}

bool CFakeVolumeLayer::volumeInfo(const std::string& strRoot, VolumeInfo& rInfo)
{
    const Drive& rDrive = drive(strRoot);
    if (rDrive.bInfoOk)
        rInfo = rDrive.info;
    return rDrive.bInfoOk;
}

CVolumeLayer::EMediaQuery CFakeVolumeLayer::mediaType(const std::string& strRoot, int& rnType)
{
    ++m_nMediaQueries;
    const Drive& rDrive = drive(strRoot);
    if (rDrive.eMedia == eMediaReported)
        rnType = rDrive.nMediaType;
    return rDrive.eMedia;
}

uint32_t CFakeVolumeLayer::fileAttributes(const std::string& strPath)
{
    ++m_nAttributeQueries;
    const auto it = m_mapAttributes.find(strPath);
    return it == m_mapAttributes.end() ? 0 : it->second;
}

bool CFakeVolumeLayer::freeSpace(const std::string& strRoot, uint64_t& rnBytes)
{
    const Drive& rDrive = drive(strRoot);
    if (rDrive.bFreeOk)
        rnBytes = rDrive.nFreeBytes;
    return rDrive.bFreeOk;
}

bool CFakeVolumeLayer::replaceFile(const std::string& strPath, const std::string& strTempPath,
                                   const void* pData, size_t nSize, std::string& strError)
{
    ++m_nReplaceCalls;
    if (m_bWriteFails)
        strError = "the write was made to fail";
    return !m_bWriteFails && m_pPlatform->replaceFile(strPath, strTempPath, pData, nSize, strError);
}

bool CFakeVolumeLayer::probe(const std::function<std::string()>& fnProbe, std::string& rstrAnswer)
{
    if (m_nProbesAnswering == 0)
        return false;
    if (m_nProbesAnswering > 0)
        --m_nProbesAnswering;
    rstrAnswer = fnProbe();
    return true;
}

std::vector<CVolumeLayer::UnmountedCard> CFakeVolumeLayer::unmountedCards()
{
    std::vector<UnmountedCard> aCards;
    for (const Unmounted& r : m_aUnmounted)
        aCards.push_back(r.card);
    return aCards;
}

bool CFakeVolumeLayer::mountCard(const std::string& strDevice, std::string& rstrRoot,
                                 std::string& rstrError)
{
    for (auto it = m_aUnmounted.begin(); it != m_aUnmounted.end(); ++it)
    {
        if (it->card.strDevice != strDevice)
            continue;
        rstrError = it->strError;
        rstrRoot = it->strMountRoot;
        if (rstrRoot.empty())
            return false;
        size_t nSlot = 0;
        while (nSlot < m_aDrives.size() && !m_aDrives[nSlot].strRoot.empty())
            ++nSlot;
        setDrive(nSlot, rstrRoot).info.strLabel = it->card.strLabel;
        m_aUnmounted.erase(it);
        return true;
    }
    rstrError = strDevice + " is gone";
    return false;
}

bool CFakeVolumeLayer::ejectCard(const std::string& strRoot, std::string& rstrError)
{
    rstrError = m_strEjectError;
    for (Drive& rDrive : m_aDrives)
        if (rstrError.empty() && !strRoot.empty() && rDrive.strRoot == strRoot)
        {
            rDrive = Drive();
            return true;
        }
    if (rstrError.empty())
        rstrError = strRoot + " is not mounted";
    return false;
}
