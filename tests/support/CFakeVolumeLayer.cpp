#include "CFakeVolumeLayer.h"

#include <stdexcept>

CFakeVolumeLayer::CFakeVolumeLayer() : m_pPlatform(CVolumeLayer::createPlatform()) {}

CFakeVolumeLayer::~CFakeVolumeLayer() = default;

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

void CFakeVolumeLayer::removeDrive(size_t nSlot)
{
    if (nSlot < m_aDrives.size())
        m_aDrives[nSlot] = Drive();
}

void CFakeVolumeLayer::setAttributes(const std::string& strPath, uint32_t nAttributes)
{
    m_mapAttributes[strPath] = nAttributes;
}

const CFakeVolumeLayer::Drive* CFakeVolumeLayer::find(const std::string& strRoot) const
{
    for (const Drive& drive : m_aDrives)
        if (!drive.strRoot.empty() && drive.strRoot == strRoot)
            return &drive;
    return nullptr;
}

std::vector<std::string> CFakeVolumeLayer::drives()
{
    std::vector<std::string> astrRoots;
    for (const Drive& drive : m_aDrives)
        astrRoots.push_back(drive.strRoot);
    return astrRoots;
}

bool CFakeVolumeLayer::isRemovable(const std::string& strRoot)
{
    const Drive* pDrive = find(strRoot);
    return pDrive != nullptr && pDrive->bRemovable;
}

bool CFakeVolumeLayer::volumeInfo(const std::string& strRoot, VolumeInfo& rInfo)
{
    const Drive* pDrive = find(strRoot);
    if (pDrive == nullptr || !pDrive->bInfoOk)
        return false;
    rInfo = pDrive->info;
    return true;
}

CVolumeLayer::EMediaQuery CFakeVolumeLayer::mediaType(const std::string& strRoot, int& rnType)
{
    ++m_nMediaQueries;
    const Drive* pDrive = find(strRoot);
    if (pDrive == nullptr)
        return eMediaFailed;
    if (pDrive->eMedia == eMediaReported)
        rnType = pDrive->nMediaType;
    return pDrive->eMedia;
}

uint32_t CFakeVolumeLayer::fileAttributes(const std::string& strPath)
{
    ++m_nAttributeQueries;
    const auto it = m_mapAttributes.find(strPath);
    return it == m_mapAttributes.end() ? 0 : it->second;
}

bool CFakeVolumeLayer::freeSpace(const std::string& strRoot, uint64_t& rnBytes)
{
    const Drive* pDrive = find(strRoot);
    if (pDrive == nullptr || !pDrive->bFreeOk)
        return false;
    rnBytes = pDrive->nFreeBytes;
    return true;
}

bool CFakeVolumeLayer::replaceFile(const std::string& strPath, const std::string& strTempPath,
                                   const void* pData, size_t nSize, std::string& strError)
{
    ++m_nReplaceCalls;
    if (m_bWriteFails)
    {
        strError = "the write was made to fail";
        return false;
    }
    return m_pPlatform->replaceFile(strPath, strTempPath, pData, nSize, strError);
}
