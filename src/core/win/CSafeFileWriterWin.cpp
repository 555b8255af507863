// The safe file writer on Windows: a temporary file beside the target,
// flushed and moved over it with its attributes kept; devices written
// directly; in place where no temporary file can be made.
#include "SafeFileWriterPlatform.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include <wx/log.h>

#include <windows.h>

#include <vector>

using safefile::fail;

namespace
{
// The reasons a user meets most read as they do on other systems.
int errnoOf(DWORD nError)
{
    switch (nError)
    {
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return 0;
    }
}

bool failWin(const wxString& strWhat, DWORD nError)
{
    const int nErrno = errnoOf(nError);
    if (nErrno != 0 || nError == 0)
        return fail(strWhat, nErrno);
    return safefile::failWith(strWhat, wxSysErrorMsgStr(nError));
}

// Closes the handle and removes the temporary file unless it was renamed.
class CTempGuard
{
public:
    CTempGuard(std::wstring strPath, HANDLE hFile) : m_strPath(std::move(strPath)), m_hFile(hFile)
    {
    }
    ~CTempGuard()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            CloseHandle(m_hFile);
        if (!m_bKeep)
        {
            SetFileAttributesW(m_strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(m_strPath.c_str());
        }
    }
    CTempGuard(const CTempGuard&) = delete;
    CTempGuard& operator=(const CTempGuard&) = delete;

    HANDLE handle() const { return m_hFile; }
    bool close()
    {
        const HANDLE hFile = m_hFile;
        m_hFile = INVALID_HANDLE_VALUE;
        return CloseHandle(hFile) != 0;
    }
    void keep() { m_bKeep = true; }

private:
    std::wstring m_strPath;
    HANDLE m_hFile;
    bool m_bKeep = false;
};

bool writeAll(HANDLE hFile, const void* pData, size_t nLength)
{
    const char* p = static_cast<const char*>(pData);
    while (nLength > 0)
    {
        const DWORD nChunk = static_cast<DWORD>(std::min<size_t>(nLength, 1u << 30));
        DWORD nWritten = 0;
        if (!WriteFile(hFile, p, nChunk, &nWritten, nullptr))
            return false;
        if (nWritten == 0)
        {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        p += nWritten;
        nLength -= nWritten;
    }
    return true;
}

// Runs the producer into the file; on failure tells the sink's reason, or
// the producer's own.
bool produceInto(const wxString& strPath, HANDLE hFile,
                 const CSafeFileWriter::FnProducer& fnProduce)
{
    DWORD nError = 0;
    errno = 0;
    const bool bOk = fnProduce(
        [hFile, &nError](const void* p, size_t n)
        {
            if (writeAll(hFile, p, n))
                return true;
            nError = GetLastError();
            return false;
        });
    if (bOk)
        return true;
    return nError != 0 ? failWin(strPath, nError) : fail(strPath, errno);
}

// A console or a pipe takes the content as it comes; there is no file to
// replace.
bool writeDirect(const wxString& strPath, HANDLE hFile,
                 const CSafeFileWriter::FnProducer& fnProduce)
{
    const bool bOk = produceInto(strPath, hFile, fnProduce);
    CloseHandle(hFile);
    return bOk;
}

// The last resort where no temporary file can be made beside the target: the
// content is produced first, so that a failing producer changes nothing, and
// its room is claimed before the first byte of the old file is touched.
bool writeInPlace(const wxString& strPath, const std::wstring& strTarget,
                  const CSafeFileWriter::FnProducer& fnProduce)
{
    std::string strContent;
    if (!safefile::produce(strPath, fnProduce, strContent))
        return false;

    const HANDLE hFile = CreateFileW(strTarget.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return failWin(strPath, GetLastError());
    LARGE_INTEGER nOld{}, nNew{};
    nNew.QuadPart = static_cast<LONGLONG>(strContent.size());
    bool bOk = GetFileSizeEx(hFile, &nOld) != 0;
    if (bOk && nNew.QuadPart > nOld.QuadPart)
    {
        bOk = SetFilePointerEx(hFile, nNew, nullptr, FILE_BEGIN) && SetEndOfFile(hFile);
        if (!bOk)
        {
            const DWORD nError = GetLastError();
            if (SetFilePointerEx(hFile, nOld, nullptr, FILE_BEGIN))
                SetEndOfFile(hFile);
            CloseHandle(hFile);
            return failWin(strPath, nError);
        }
    }
    const LARGE_INTEGER nStart{};
    bOk = bOk && SetFilePointerEx(hFile, nStart, nullptr, FILE_BEGIN) &&
          writeAll(hFile, strContent.data(), strContent.size()) && SetEndOfFile(hFile) &&
          FlushFileBuffers(hFile);
    const DWORD nError = GetLastError();
    CloseHandle(hFile);
    return bOk || failWin(strPath, nError);
}

bool writeViaTemp(const wxString& strPath, const std::wstring& strTarget, DWORD nOldAttributes,
                  const CSafeFileWriter::FnProducer& fnProduce)
{
    const bool bExists = nOldAttributes != INVALID_FILE_ATTRIBUTES;
    const size_t nSep = strTarget.find_last_of(L"\\/:");
    const std::wstring strDir =
        nSep == std::wstring::npos ? std::wstring() : strTarget.substr(0, nSep + 1);
    const std::wstring strName =
        nSep == std::wstring::npos ? strTarget : strTarget.substr(nSep + 1);
    if (strName.empty())
        return fail(strPath + " names no file", 0);

    // Hidden while it is written; the name takes only the start of the
    // target's, so that a long name still leaves room for the suffix.
    std::wstring strTemp;
    HANDLE hFile = INVALID_HANDLE_VALUE;
    DWORD nError = 0;
    for (unsigned nTry = 0; nTry < 100 && hFile == INVALID_HANDLE_VALUE; ++nTry)
    {
        wchar_t acSuffix[16];
        swprintf(acSuffix, 16, L".%06lx",
                 static_cast<unsigned long>(
                     (GetTickCount() * 2654435761u + GetCurrentProcessId() + nTry) & 0xFFFFFF));
        strTemp = strDir + L"." + strName.substr(0, 64) + acSuffix;
        hFile = CreateFileW(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_HIDDEN, nullptr);
        nError = GetLastError();
        if (hFile == INVALID_HANDLE_VALUE && nError != ERROR_FILE_EXISTS)
            break;
    }
    if (hFile == INVALID_HANDLE_VALUE)
    {
        // A writable file in a folder the user may not write to is still
        // written, as a plain save would.
        if (bExists && nError == ERROR_ACCESS_DENIED)
            return writeInPlace(strPath, strTarget, fnProduce);
        return failWin(strPath, nError);
    }
    CTempGuard temp(strTemp, hFile);
    if (!produceInto(strPath, hFile, fnProduce))
        return false;
    if (!FlushFileBuffers(hFile))
        return failWin(strPath, GetLastError());
    if (!temp.close())
        return failWin(strPath, GetLastError());

    // The replaced file keeps its hidden, system and archive marks.
    const DWORD nKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                        FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD nAttributes = bExists ? nOldAttributes & nKept : FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileAttributesW(strTemp.c_str(),
                            nAttributes != 0 ? nAttributes : FILE_ATTRIBUTE_NORMAL))
        return failWin(strPath, GetLastError());
    if (!MoveFileExW(strTemp.c_str(), strTarget.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failWin(strPath, GetLastError());
    temp.keep();
    return true;
}

bool writeFile(const wxString& strPath, std::wstring strTarget,
               const CSafeFileWriter::FnProducer& fnProduce)
{
    const DWORD nAttributes = GetFileAttributesW(strTarget.c_str());
    const DWORD nQueryError = nAttributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
    if (nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return fail(strPath, EISDIR);
    if (nQueryError == ERROR_FILE_NOT_FOUND)
        return writeViaTemp(strPath, strTarget, INVALID_FILE_ATTRIBUTES, fnProduce);
    // Refused even where the system would let an administrator write it.
    if (nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_READONLY))
        return fail(strPath, EACCES);

    // Opening the existing target for writing refuses a read-only or locked
    // file as an ordinary write would, and tells a device (NUL, CON, a pipe)
    // from a file on a disk.
    const HANDLE hFile =
        CreateFileW(strTarget.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return failWin(strPath, nQueryError != 0 ? nQueryError : GetLastError());
    if (GetFileType(hFile) != FILE_TYPE_DISK)
        return writeDirect(strPath, hFile, fnProduce);
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
    {
        CloseHandle(hFile);
        return failWin(strPath, nQueryError);
    }
    // The file a link points to is replaced and the link survives.
    if (nAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
    {
        std::vector<wchar_t> acFinal(32768);
        const DWORD nLength =
            GetFinalPathNameByHandleW(hFile, acFinal.data(), static_cast<DWORD>(acFinal.size()), 0);
        if (nLength > 0 && nLength < acFinal.size())
            strTarget.assign(acFinal.data(), nLength);
    }
    CloseHandle(hFile);
    return writeViaTemp(strPath, strTarget, nAttributes, fnProduce);
}
} // namespace

bool safefile::writeFile(const wxString& strPath, const CSafeFileWriter::FnProducer& fnProduce)
{
    const std::wstring strTarget(strPath.wc_str());
    if (strTarget.empty())
        return fail("the file name cannot be encoded", 0);
    return ::writeFile(strPath, strTarget, fnProduce);
}
