#include "CSafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace
{
thread_local wxString t_strLastError;

bool fail(const wxString& strWhat, int nErrno)
{
    t_strLastError = strWhat;
    if (nErrno != 0)
        t_strLastError += ": " + wxString(strerror(nErrno));
    return false;
}
} // namespace

#ifndef _WIN32

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Removes the temporary file unless the write got as far as the rename.
class CTempGuard
{
public:
    explicit CTempGuard(std::string strPath, int nFd) : m_strPath(std::move(strPath)), m_nFd(nFd) {}
    ~CTempGuard()
    {
        if (m_nFd >= 0)
            ::close(m_nFd);
        if (!m_bKeep)
            unlink(m_strPath.c_str());
    }
    CTempGuard(const CTempGuard&) = delete;
    CTempGuard& operator=(const CTempGuard&) = delete;

    int fd() const { return m_nFd; }
    bool close()
    {
        const int nFd = m_nFd;
        m_nFd = -1;
        return ::close(nFd) == 0;
    }
    void keep() { m_bKeep = true; }

private:
    std::string m_strPath;
    int m_nFd;
    bool m_bKeep = false;
};

bool writeAll(int nFd, const void* pData, size_t nLength)
{
    const char* p = static_cast<const char*>(pData);
    while (nLength > 0)
    {
        const ssize_t n = ::write(nFd, p, nLength);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            // Nothing written and no reason given: the device is full.
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        nLength -= static_cast<size_t>(n);
    }
    return true;
}

mode_t newFileMode()
{
    // The mode an ordinary create would give: 0666 less the umask.
    const mode_t nMask = umask(0);
    umask(nMask);
    return 0666 & ~nMask;
}

// The rename reaches the disk only with its directory. A directory that
// cannot be opened or flushed at all (no read permission, a file system
// without the call) is left to the system; a flush that fails is reported.
bool syncDirectory(const std::string& strDir, int& rnErrno)
{
    const int nFd = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFd < 0)
    {
        rnErrno = errno;
        return rnErrno == EACCES;
    }
    const bool bOk = fsync(nFd) == 0 || errno == EINVAL || errno == ENOTSUP;
    rnErrno = errno;
    ::close(nFd);
    return bOk;
}

// A pipe, a terminal or a device such as /dev/null takes the content as it
// comes; there is no file to replace.
bool writeDirect(const wxString& strPath, const std::string& strTarget,
                 const CSafeFileWriter::FnProducer& fnProduce)
{
    const int nFd = open(strTarget.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (nFd < 0)
        return fail(strPath, errno);
    errno = 0;
    const bool bOk = fnProduce([nFd](const void* p, size_t n) { return writeAll(nFd, p, n); });
    const int nErrno = errno;
    if (::close(nFd) != 0 && bOk)
        return fail(strPath, errno);
    return bOk || fail(strPath, nErrno);
}

// The last resort where no temporary file can be made beside the target:
// the content is produced first, so that a failing producer changes nothing,
// and its room is claimed before the first byte of the old file is touched.
bool writeInPlace(const wxString& strPath, const std::string& strTarget,
                  const CSafeFileWriter::FnProducer& fnProduce)
{
    std::string strContent;
    errno = 0;
    if (!fnProduce(
            [&strContent](const void* p, size_t n)
            {
                strContent.append(static_cast<const char*>(p), n);
                return true;
            }))
        return fail(strPath, errno);

    struct stat st;
    const bool bCreated = stat(strTarget.c_str(), &st) != 0;
    const int nFd = open(strTarget.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (nFd < 0)
        return fail(strPath, errno);
    const off_t nLength = static_cast<off_t>(strContent.size());
    const int nReserve = nLength > 0 ? posix_fallocate(nFd, 0, nLength) : 0;
    bool bOk = nReserve != ENOSPC && nReserve != EDQUOT && nReserve != EFBIG;
    int nErrno = nReserve;
    if (bOk)
    {
        bOk = writeAll(nFd, strContent.data(), strContent.size()) && ftruncate(nFd, nLength) == 0 &&
              fsync(nFd) == 0;
        nErrno = errno;
    }
    if (::close(nFd) != 0 && bOk)
        bOk = false, nErrno = errno;
    // A file made here goes again; through a link that is the file it
    // points to, and the link stays.
    char acCreated[PATH_MAX];
    if (!bOk && bCreated && realpath(strTarget.c_str(), acCreated) != nullptr)
        unlink(acCreated);
    return bOk || fail(strPath, nErrno);
}

bool writeViaTemp(const wxString& strPath, const std::string& strTarget, const struct stat* pOld,
                  const CSafeFileWriter::FnProducer& fnProduce)
{
    const size_t nSlash = strTarget.rfind('/');
    const std::string strDir = nSlash == std::string::npos ? std::string(".")
                               : nSlash == 0               ? std::string("/")
                                                           : strTarget.substr(0, nSlash);
    const std::string strName =
        nSlash == std::string::npos ? strTarget : strTarget.substr(nSlash + 1);
    if (strName.empty())
        return fail(strPath + " names no file", 0);

    // The temporary name takes only the start of the target's, so that a name
    // near the length limit still leaves room for the suffix; the cut falls
    // between two characters.
    size_t nStem = std::min<size_t>(strName.size(), 64);
    while (nStem > 0 && nStem < strName.size() &&
           (static_cast<unsigned char>(strName[nStem]) & 0xC0) == 0x80)
        --nStem;
    std::string strTemp = strDir + "/." + strName.substr(0, nStem) + ".XXXXXX";
    const int nFd = mkostemp(&strTemp[0], O_CLOEXEC);
    if (nFd < 0)
    {
        // A writable file in a folder the user may not write to (a shared
        // folder) is still written, as a plain save would.
        if (pOld != nullptr && (errno == EACCES || errno == EPERM))
            return writeInPlace(strPath, strTarget, fnProduce);
        return fail(strPath, errno);
    }
    CTempGuard temp(strTemp, nFd);

    const CSafeFileWriter::FnSink fnSink = [&temp](const void* p, size_t n)
    { return writeAll(temp.fd(), p, n); };
    errno = 0;
    if (!fnProduce(fnSink))
        return fail(strPath, errno);

    if (pOld != nullptr)
    {
        // Keep the owner where allowed; the permissions in any case.
        if (fchown(temp.fd(), pOld->st_uid, pOld->st_gid) != 0)
        {
            // Not the owner: the file becomes ours, as with any editor.
        }
        if (fchmod(temp.fd(), pOld->st_mode & 07777) != 0)
            return fail(strPath, errno);
    }
    else if (fchmod(temp.fd(), newFileMode()) != 0)
    {
        // File systems without Unix permissions (FAT, exFAT) refuse modes
        // they cannot hold; the file then has the mode they give every file,
        // as it would after an ordinary create.
    }

    if (fsync(temp.fd()) != 0)
        return fail(strPath, errno);
    if (!temp.close())
        return fail(strPath, errno);
    if (rename(strTemp.c_str(), strTarget.c_str()) != 0)
        return fail(strPath, errno);
    temp.keep();
    int nErrno = 0;
    return syncDirectory(strDir, nErrno) || fail(strPath, nErrno);
}

bool writeFile(const wxString& strPath, std::string strTarget,
               const CSafeFileWriter::FnProducer& fnProduce)
{
    // What the path leads to decides the route; links are followed.
    struct stat st;
    const bool bExists = stat(strTarget.c_str(), &st) == 0;
    if (!bExists && errno != ENOENT)
        return fail(strPath, errno);
    if (bExists && S_ISDIR(st.st_mode))
        return fail(strPath, EISDIR);
    // Reached also through links that name no file (/dev/stdout on a pipe).
    if (bExists && (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)))
        return writeDirect(strPath, strTarget, fnProduce);
    // Never rename over a disk or a socket.
    if (bExists && !S_ISREG(st.st_mode))
        return fail(strPath + " is not a regular file", 0);

    // The file a link points to is replaced and the link survives; a link
    // to a file yet to be made makes it there.
    struct stat stLink;
    if (lstat(strTarget.c_str(), &stLink) == 0 && S_ISLNK(stLink.st_mode))
    {
        char acResolved[PATH_MAX];
        if (realpath(strTarget.c_str(), acResolved) == nullptr)
            return !bExists && errno == ENOENT ? writeInPlace(strPath, strTarget, fnProduce)
                                               : fail(strPath, errno);
        strTarget = acResolved;
    }
    if (!bExists)
        return writeViaTemp(strPath, strTarget, nullptr, fnProduce);
    // Renaming would get round a write-protected file; refuse it as an
    // ordinary write would.
    if (access(strTarget.c_str(), W_OK) != 0)
        return fail(strPath, errno);
    return writeViaTemp(strPath, strTarget, &st, fnProduce);
}
} // namespace

#else // _WIN32

#include <wx/log.h>

#include <windows.h>

#include <vector>

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
    t_strLastError = strWhat + ": " + wxSysErrorMsgStr(nError);
    return false;
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
    errno = 0;
    if (!fnProduce(
            [&strContent](const void* p, size_t n)
            {
                strContent.append(static_cast<const char*>(p), n);
                return true;
            }))
        return fail(strPath, errno);

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

#endif // _WIN32

const wxString& CSafeFileWriter::getLastError()
{
    return t_strLastError;
}

bool CSafeFileWriter::write(const wxString& strPath, const void* pData, size_t nLength)
{
    return write(strPath, [pData, nLength](const FnSink& fnSink)
                 { return nLength == 0 || fnSink(pData, nLength); });
}

bool CSafeFileWriter::write(const wxString& strPath, const FnProducer& fnProduce)
{
    t_strLastError.clear();
    if (strPath.empty())
        return fail("no file name", 0);
#ifdef _WIN32
    const std::wstring strTarget(strPath.wc_str());
#else
    const std::string strTarget(static_cast<const char*>(strPath.fn_str()));
#endif
    if (strTarget.empty())
        return fail("the file name cannot be encoded", 0);
    return writeFile(strPath, strTarget, fnProduce);
}
