#include "CFileCard.h"

#include <wx/debug.h>
#include <wx/file.h>
#include <wx/log.h>

const char* const CFileCard::kTempFileName = "ZOLTCFG.TMP";

namespace
{
const uint32_t kBlockingAttributes = CVolumeLayer::eAttrReadOnly | CVolumeLayer::eAttrHidden |
                                     CVolumeLayer::eAttrSystem | CVolumeLayer::eAttrCompressed |
                                     CVolumeLayer::eAttrEncrypted;

// The first reason, in this order, why the file cannot be written.
const char* blockingReason(uint32_t nAttributes)
{
    if (nAttributes & CVolumeLayer::eAttrCompressed)
        return " is compressed\nPlease change this attribute first.";
    if (nAttributes & CVolumeLayer::eAttrEncrypted)
        return " is encrypted\nPlease change this attribute first.";
    if (nAttributes & CVolumeLayer::eAttrHidden)
        return " is hidden\nPlease change this attribute first.";
    if (nAttributes & CVolumeLayer::eAttrReadOnly)
        return " is write protected\nPlease remove the protection first.";
    if (nAttributes & CVolumeLayer::eAttrSystem)
        return " is a system file\nPlease change this attribute first.";
    return " is not writable\nreason is unknown.";
}
} // namespace

CFileCard::CFileCard() = default;

CFileCard::CFileCard(CVolumeLayer& rLayer) : m_volume(rLayer) {}

CFileCard::~CFileCard() = default;

bool CFileCard::read(CDataCard& rDataCard, CPrompter& rPrompter)
{
    m_strPath.clear();
    const wxString strRoot = m_volume.selectReadVolume(rPrompter);
    if (strRoot.empty())
        return false;
    const wxString strPath = strRoot + CZoltVolume::kConfigFileName;
    m_strPath = strPath;

    // The toolkit would log its own errors as well; the messages here say it.
    wxLogNull noLog;
    if (!wxFile::Access(strPath, wxFile::read))
    {
        rPrompter.report("Can't read the file",
                         strPath + " access is possibly\nlocked by another process.");
        return false;
    }
    wxFile file;
    if (!file.Open(strPath, wxFile::read))
    {
        wxFAIL_MSG("false");
        return false;
    }

    rDataCard.clearImage();
    uint8_t* pImage = rDataCard.getImage();
    size_t nTotal = 0;
    bool bReadError = false;
    // One read may return less than asked without the file ending there.
    while (nTotal < CDataCard::kImageSize)
    {
        const ssize_t n = file.Read(pImage + nTotal, CDataCard::kImageSize - nTotal);
        if (n == wxInvalidOffset)
        {
            bReadError = true;
            break;
        }
        if (n == 0)
            break;
        nTotal += static_cast<size_t>(n);
    }
    file.Close();

    if (bReadError || nTotal % CDataCard::kSectorSize != 0)
    {
        rPrompter.report("File is corrupted", strPath + " read wrong\nfile size.");
        return false;
    }
    return true;
}

bool CFileCard::write(const CDataCard& rDataCard, CPrompter& rPrompter)
{
    m_strLastError.clear();
    m_strPath.clear();
    const wxString strRoot = m_volume.selectWriteVolume(rPrompter);
    if (strRoot.empty())
        return false;
    m_strPath = strRoot + CZoltVolume::kConfigFileName;
    CVolumeLayer& rLayer = m_volume.getLayer();

    uint64_t nFree = 0;
    if (!rLayer.freeSpace(CZoltVolume::toLayer(strRoot), nFree))
    {
        wxFAIL_MSG("false");
        nFree = 0;
    }
    // The new image is written beside the old file, so it needs the room
    // even when the old one would be replaced.
    if (nFree < CDataCard::kImageSize)
    {
        rPrompter.report("Can't write the file", "not enough volume space\n");
        return false;
    }

    const wxString& strPath = m_strPath;
    const uint32_t nAttributes = rLayer.fileAttributes(CZoltVolume::toLayer(strPath));
    if ((nAttributes & kBlockingAttributes) == 0)
    {
        if (rLayer.replaceFile(CZoltVolume::toLayer(strPath),
                               CZoltVolume::toLayer(strRoot + kTempFileName), rDataCard.getImage(),
                               CDataCard::kImageSize, m_strLastError))
            return true;
        wxLogDebug("%s", m_strLastError.c_str());
    }
    rPrompter.report("Can't write the file", strPath + blockingReason(nAttributes));
    return false;
}
