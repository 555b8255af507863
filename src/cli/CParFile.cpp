#include "CParFile.h"

#include "CDataCard.h"
#include "CFileXml.h"
#include "CReporter.h"
#include "CSafeFileWriter.h"

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/log.h>

#include <memory>

bool CParFile::exists(CReporter& rReporter, const wxString& strPath)
{
    if (wxFileName::FileExists(strPath) || wxFileName::DirExists(strPath))
        return true;
    rReporter.report("Can't read the file", strPath + " does not exist.");
    return false;
}

CParFile::EKind CParFile::detectKind(const wxString& strPath)
{
    unsigned char acHead[512];
    ssize_t nRead = 0;
    {
        wxLogNull noLog;
        wxFile file;
        if (file.Open(strPath, wxFile::read))
            nRead = file.Read(acHead, sizeof(acHead));
    }
    if (nRead <= 0)
        return eCardImage;
    const size_t nLength = static_cast<size_t>(nRead);
    // A document in UTF-16: the byte-order mark, then its first "<"; or,
    // without the mark, its declaration's "<?".
    if (nLength >= 4 &&
        ((acHead[0] == 0xFF && acHead[1] == 0xFE && acHead[2] == '<' && acHead[3] == 0) ||
         (acHead[0] == 0xFE && acHead[1] == 0xFF && acHead[2] == 0 && acHead[3] == '<') ||
         (acHead[0] == '<' && acHead[1] == 0 && acHead[2] == '?' && acHead[3] == 0) ||
         (acHead[0] == 0 && acHead[1] == '<' && acHead[2] == 0 && acHead[3] == '?')))
        return eSettingsDocument;
    const auto isSpace = [](unsigned char c)
    { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t i = 0;
    if (nLength >= 3 && acHead[0] == 0xEF && acHead[1] == 0xBB && acHead[2] == 0xBF)
        i = 3;
    while (i < nLength && isSpace(acHead[i]))
        ++i;
    if (i == nLength || acHead[i] != '<')
        return eCardImage;
    // XML text holds no control characters but white space, while the filler
    // of an image is full of them: an image whose first bytes happen to read
    // like the start of a document is still an image.
    for (; i < nLength; ++i)
        if (acHead[i] < 0x20 && !isSpace(acHead[i]))
            return eCardImage;
    return eSettingsDocument;
}

const char* CParFile::kindName(EKind eKind)
{
    return eKind == eSettingsDocument ? "settings document" : "card image";
}

bool CParFile::readSettings(CReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                            ToolPar& rToolPar, bool bCheck)
{
    if (!exists(rReporter, strPath))
        return false;
    CFileXml fileXml;
    if (!fileXml.loadPath(rReporter, strPath))
        return false;
    CDataCard::setDefaultPar(rSysPar, rToolPar);
    if (!fileXml.readSettings(rReporter, rSysPar, rToolPar))
        return false;
    if (bCheck)
        CDataCard::checkPar(rSysPar, rToolPar);
    return true;
}

bool CParFile::readCardImage(CReporter& rReporter, const wxString& strPath, CDataCard& rDataCard)
{
    if (!exists(rReporter, strPath))
        return false;
    wxLogNull noLog;
    wxFile file;
    if (!wxFile::Access(strPath, wxFile::read) || !file.Open(strPath, wxFile::read))
    {
        rReporter.report("Can't read the file",
                         strPath + " access is possibly\nlocked by another process.");
        return false;
    }
    rDataCard.clearImage();
    uint8_t* pImage = rDataCard.getImage();
    size_t nTotal = 0;
    bool bError = false;
    while (nTotal < CDataCard::kImageSize)
    {
        const ssize_t nRead = file.Read(pImage + nTotal, CDataCard::kImageSize - nTotal);
        if (nRead == wxInvalidOffset)
        {
            bError = true;
            break;
        }
        if (nRead == 0)
            break;
        nTotal += static_cast<size_t>(nRead);
    }
    if (bError || nTotal % CDataCard::kSectorSize != 0)
    {
        rReporter.report("File is corrupted", strPath + " read wrong\nfile size.");
        return false;
    }
    return true;
}

bool CParFile::readCard(CReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                        ToolPar& rToolPar)
{
    // The image is 1 MiB: on the heap, not the stack.
    auto pDataCard = std::make_unique<CDataCard>();
    if (!readCardImage(rReporter, strPath, *pDataCard))
        return false;
    if (!pDataCard->readPar(rSysPar, rToolPar, 0))
    {
        rReporter.report("File is corrupted", strPath + " holds no parameter records.");
        return false;
    }
    return true;
}

bool CParFile::readAny(CReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                       ToolPar& rToolPar, bool bCheck, EKind& rKind)
{
    if (!exists(rReporter, strPath))
        return false;
    rKind = detectKind(strPath);
    return rKind == eSettingsDocument ? readSettings(rReporter, strPath, rSysPar, rToolPar, bCheck)
                                      : readCard(rReporter, strPath, rSysPar, rToolPar);
}

bool CParFile::writeSettings(CReporter& rReporter, const wxString& strPath, const SysPar& rSysPar,
                             const ToolPar& rToolPar)
{
    CFileXml fileXml;
    fileXml.buildSettings(rSysPar, rToolPar);
    return fileXml.saveFile(rReporter, strPath);
}

bool CParFile::writeCardImage(CReporter& rReporter, const wxString& strPath, const SysPar& rSysPar,
                              const ToolPar& rToolPar)
{
    auto pDataCard = std::make_unique<CDataCard>();
    if (!pDataCard->buildWrite(rSysPar, rToolPar) ||
        !CSafeFileWriter::write(strPath, pDataCard->getImage(), CDataCard::kImageSize))
    {
        rReporter.report("Can't write the file", strPath + " is not writable\nreason is unknown.");
        return false;
    }
    return true;
}
