#include "CParFile.h"

#include "CConsoleReporter.h"
#include "CDataCard.h"
#include "CFileXml.h"
#include "CInputFile.h"
#include "CSafeFileWriter.h"
#include "CStdOut.h"

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <algorithm>
#include <memory>
#include <sys/stat.h>
#ifdef _WIN32
#include <wx/msw/wrapwin.h>
#endif

namespace
{
#ifdef _WIN32
// The volume and the file's index name a file whatever path leads to it.
bool fileIdentity(const wxString& strPath, BY_HANDLE_FILE_INFORMATION& rInfo)
{
    const HANDLE hFile =
        CreateFileW(strPath.wc_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    const bool bOk = GetFileInformationByHandle(hFile, &rInfo) != 0;
    CloseHandle(hFile);
    return bOk;
}
#endif

// The safe writer's reason, without the path that the message names already.
wxString writerReason(const wxString& strPath)
{
    wxString strReason = CSafeFileWriter::getLastError();
    strReason.StartsWith(strPath + ": ", &strReason);
    return strReason;
}
} // namespace

CParFile::EKind CParFile::detectKind(const void* pData, size_t nLength)
{
    const unsigned char* acHead = static_cast<const unsigned char*>(pData);
    nLength = std::min<size_t>(nLength, 512);
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
    return detectKind(acHead, nRead > 0 ? static_cast<size_t>(nRead) : 0);
}

const char* CParFile::kindName(EKind eKind)
{
    return eKind == eSettingsDocument ? "settings document" : "card image";
}

bool CParFile::loadSettings(CConsoleReporter& rReporter, const CInputFile& rInput, SysPar& rSysPar,
                            ToolPar& rToolPar, bool bCheck)
{
    // From the bytes already read: a pipe cannot be read twice.
    CFileXml fileXml;
    if (!fileXml.loadData(rReporter, rInput.getData().data(), rInput.getData().size()))
        return false;
    CDataCard::setDefaultPar(rSysPar, rToolPar);
    if (!fileXml.readSettings(rReporter, rSysPar, rToolPar))
        return false;
    if (bCheck)
        CDataCard::checkPar(rSysPar, rToolPar);
    return true;
}

bool CParFile::loadCard(CConsoleReporter& rReporter, const CInputFile& rInput, SysPar& rSysPar,
                        ToolPar& rToolPar)
{
    const std::vector<uint8_t>& rData = rInput.getData();
    if (rData.size() % CDataCard::kSectorSize != 0)
    {
        rReporter.report("File is corrupted", rInput.getName() + " read wrong\nfile size.");
        return false;
    }
    // The image is 1 MiB: on the heap, not the stack.
    auto pDataCard = std::make_unique<CDataCard>();
    pDataCard->clearImage();
    std::copy(rData.begin(), rData.end(), pDataCard->getImage());
    if (!pDataCard->readPar(rSysPar, rToolPar, 0))
    {
        rReporter.report("File is corrupted", rInput.getName() + " holds no parameter records.");
        return false;
    }
    return true;
}

bool CParFile::readSettings(CConsoleReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                            ToolPar& rToolPar, bool bCheck)
{
    CInputFile input;
    return input.read(rReporter, strPath) &&
           loadSettings(rReporter, input, rSysPar, rToolPar, bCheck);
}

bool CParFile::readCard(CConsoleReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                        ToolPar& rToolPar)
{
    CInputFile input;
    return input.read(rReporter, strPath) && loadCard(rReporter, input, rSysPar, rToolPar);
}

bool CParFile::readAny(CConsoleReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                       ToolPar& rToolPar, bool bCheck, EKind& rKind)
{
    CInputFile input;
    if (!input.read(rReporter, strPath))
        return false;
    rKind = detectKind(input.getData().data(), input.getData().size());
    return rKind == eSettingsDocument ? loadSettings(rReporter, input, rSysPar, rToolPar, bCheck)
                                      : loadCard(rReporter, input, rSysPar, rToolPar);
}

bool CParFile::writeStdOut(CConsoleReporter& rReporter, const void* pData, size_t nLength,
                           const char* szTitle, const wxString& strText)
{
    if (CStdOut::write(pData, nLength) && CStdOut::flush())
        return true;
    rReporter.report(szTitle, strText);
    rReporter.reason("standard output: " + CStdOut::getLastError());
    CStdOut::setReported();
    return false;
}

bool CParFile::writeSettings(CConsoleReporter& rReporter, const wxString& strPath,
                             const SysPar& rSysPar, const ToolPar& rToolPar)
{
    CFileXml fileXml;
    fileXml.buildSettings(rSysPar, rToolPar);
    if (CInputFile::isStdStream(strPath))
    {
        // As a save would write it, indented by one.
        wxMemoryOutputStream stream;
        fileXml.getDocument().Save(stream, 1);
        const wxStreamBuffer* pBuffer = stream.GetOutputStreamBuffer();
        return writeStdOut(rReporter, pBuffer->GetBufferStart(), stream.GetLength(),
                           "Can't save the file", "failed to save the file.");
    }
    if (fileXml.saveFile(rReporter, strPath))
        return true;
    rReporter.reason(writerReason(strPath));
    return false;
}

bool CParFile::writeCardImage(CConsoleReporter& rReporter, const wxString& strPath,
                              const SysPar& rSysPar, const ToolPar& rToolPar)
{
    const wxString strText = (CInputFile::isStdStream(strPath) ? "standard output" : strPath) +
                             " is not writable\nreason is unknown.";
    auto pDataCard = std::make_unique<CDataCard>();
    if (!pDataCard->buildWrite(rSysPar, rToolPar))
    {
        rReporter.report("Can't write the file", strText);
        return false;
    }
    if (CInputFile::isStdStream(strPath))
        return writeStdOut(rReporter, pDataCard->getImage(), CDataCard::kImageSize,
                           "Can't write the file", strText);
    if (CSafeFileWriter::write(strPath, pDataCard->getImage(), CDataCard::kImageSize))
        return true;
    rReporter.report("Can't write the file", strText);
    rReporter.reason(writerReason(strPath));
    return false;
}

bool CParFile::isSameFile(const wxString& strInput, const wxString& strOutput)
{
    if (CInputFile::isStdStream(strInput) || CInputFile::isStdStream(strOutput))
        return false;
#ifdef _WIN32
    BY_HANDLE_FILE_INFORMATION in, out;
    return fileIdentity(strInput, in) && fileIdentity(strOutput, out) &&
           in.dwVolumeSerialNumber == out.dwVolumeSerialNumber &&
           in.nFileIndexHigh == out.nFileIndexHigh && in.nFileIndexLow == out.nFileIndexLow;
#else
    struct stat stIn, stOut;
    return stat(strInput.fn_str(), &stIn) == 0 && stat(strOutput.fn_str(), &stOut) == 0 &&
           stIn.st_dev == stOut.st_dev && stIn.st_ino == stOut.st_ino;
#endif
}

bool CParFile::refuseSameFile(CConsoleReporter& rReporter, const wxString& strInput,
                              const wxString& strOutput, const char* szTitle)
{
    if (!isSameFile(strInput, strOutput))
        return false;
    rReporter.report(szTitle, strOutput + " is the input file as well;\nnothing was written.");
    return true;
}
