#include "CFileCard.h"

#include <wx/debug.h>
#include <wx/file.h>
#include <wx/log.h>

#include <cstring>
#include <memory>
#include <vector>

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

bool reportNoMedia(CPrompter& rPrompter)
{
    rPrompter.report("Can't write the file",
                     "No media found!\nPlease insert a micro SD card first.");
    return false;
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

    // The answer: a status letter, then the bytes read. A: no access,
    // O: no open, E: a read error, R: read to the end or the image's size.
    std::string strAnswer;
    const bool bInTime = m_volume.getLayer().probe(
        [&strPath]()
        {
            // The toolkit would log its own errors as well; the messages
            // here say it.
            wxLogNull noLog;
            if (!wxFile::Access(strPath, wxFile::read))
                return std::string("A");
            wxFile file;
            if (!file.Open(strPath, wxFile::read))
                return std::string("O");
            std::string strData(CDataCard::kImageSize + 1, '\0');
            size_t nTotal = 1;
            char cStatus = 'R';
            // One read may return less than asked without the file ending there.
            while (nTotal < strData.size())
            {
                const ssize_t n = file.Read(&strData[nTotal], strData.size() - nTotal);
                if (n == wxInvalidOffset)
                    cStatus = 'E';
                if (n == wxInvalidOffset || n == 0)
                    break;
                nTotal += static_cast<size_t>(n);
            }
            strData.resize(nTotal);
            strData[0] = cStatus;
            return strData;
        },
        strAnswer);
    if (!bInTime || strAnswer.empty())
    {
        // A card that does not answer is as good as no card.
        rPrompter.report("Can't find the file",
                         "No configuration file found!\nPlease insert a micro SD card first.");
        return false;
    }
    if (strAnswer[0] == 'A')
    {
        rPrompter.report("Can't read the file",
                         strPath + " access is possibly\nlocked by another process.");
        return false;
    }
    if (strAnswer[0] == 'O')
    {
        wxFAIL_MSG("false");
        return false;
    }

    const size_t nRead = strAnswer.size() - 1;
    rDataCard.clearImage();
    memcpy(rDataCard.getImage(), strAnswer.data() + 1, nRead);
    if (strAnswer[0] == 'E' || nRead % CDataCard::kSectorSize != 0)
    {
        rPrompter.report("File is corrupted", strPath + " read wrong\nfile size.");
        return false;
    }
    m_strCardRoot = strRoot;
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
        if (!m_volume.isAvailable(strRoot))
            return reportNoMedia(rPrompter);
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
    if (nAttributes & CVolumeLayer::eAttrNoAnswer)
        return reportNoMedia(rPrompter);
    if ((nAttributes & kBlockingAttributes) == 0)
    {
        // From here on nothing cuts the write short: a half-done replace is
        // worse than a slow one.
        if (rLayer.replaceFile(CZoltVolume::toLayer(strPath),
                               CZoltVolume::toLayer(strRoot + kTempFileName), rDataCard.getImage(),
                               CDataCard::kImageSize, m_strLastError))
        {
            m_strCardRoot = strRoot;
            return true;
        }
        wxLogDebug("%s", m_strLastError.c_str());
    }
    rPrompter.report("Can't write the file", strPath + blockingReason(nAttributes));
    return false;
}

bool CFileCard::canEject()
{
    return !m_strCardRoot.empty() &&
           m_volume.getLayer().isMounted(CZoltVolume::toLayer(m_strCardRoot));
}

bool CFileCard::eject(CPrompter& rPrompter)
{
    if (m_strCardRoot.empty())
        return false;
    std::string strError;
    if (!m_volume.getLayer().ejectCard(CZoltVolume::toLayer(m_strCardRoot), strError))
    {
        rPrompter.report("Can't eject the card", CZoltVolume::fromLayer(strError));
        return false;
    }
    m_strCardRoot.clear();
    return true;
}
