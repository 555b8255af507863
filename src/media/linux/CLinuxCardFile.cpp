#include "CLinuxCardFile.h"

#include "posix/PosixWrite.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using posixio::writeAll;

namespace
{
bool fail(std::string& rstrError, const std::string& strWhat, int nErrno)
{
    rstrError = strWhat;
    if (nErrno != 0)
        rstrError += std::string(": ") + strerror(nErrno);
    return false;
}

std::string parentDir(const std::string& strPath)
{
    const size_t n = strPath.rfind('/');
    return n == std::string::npos ? std::string(".")
           : n == 0               ? std::string("/")
                                  : strPath.substr(0, n);
}

// Reads up to nSize bytes; a short count means the end of the file.
ssize_t readAll(int nFd, void* pBuffer, size_t nSize)
{
    size_t nDone = 0;
    while (nDone < nSize)
    {
        const ssize_t n = read(nFd, static_cast<char*>(pBuffer) + nDone, nSize - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        nDone += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(nDone);
}

struct CFreeDeleter
{
    void operator()(void* p) const { free(p); }
};

enum class ECompare
{
    eSame,
    eDiffers,
    eReadError,
};

// Compares the whole file with the data, in chunks that suit direct reads.
ECompare compareFile(int nFd, const char* pData, size_t nSize, int& rnErrno)
{
    const size_t nChunk = 64 * 1024;
    void* pRaw = nullptr;
    if (posix_memalign(&pRaw, 4096, nChunk) != 0)
    {
        rnErrno = ENOMEM;
        return ECompare::eReadError;
    }
    std::unique_ptr<void, CFreeDeleter> buffer(pRaw);
    size_t nDone = 0;
    for (;;)
    {
        const ssize_t n = readAll(nFd, buffer.get(), nChunk);
        if (n < 0)
        {
            rnErrno = errno;
            return ECompare::eReadError;
        }
        const size_t nRead = static_cast<size_t>(n);
        if (nRead > nSize - nDone || memcmp(buffer.get(), pData + nDone, nRead) != 0)
            return ECompare::eDiffers;
        nDone += nRead;
        if (nRead < nChunk)
            return nDone == nSize ? ECompare::eSame : ECompare::eDiffers;
    }
}
} // namespace

bool CLinuxCardFile::verify(const std::string& strPath, const void* pData, size_t nSize,
                            std::string& strError)
{
    const char* p = static_cast<const char*>(pData);
    const std::string strDiffers = strPath + " read back differs from the data written";
    int nErrno = 0;
    // Direct reads bypass the cache; file systems without them (tmpfs) get a
    // buffered read after the file's cached pages were dropped.
    int nFd = open(strPath.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC | O_NOFOLLOW);
    if (nFd >= 0)
    {
        const ECompare eResult = compareFile(nFd, p, nSize, nErrno);
        close(nFd);
        if (eResult == ECompare::eSame)
            return true;
        if (eResult == ECompare::eDiffers)
            return fail(strError, strDiffers, 0);
        if (nErrno != EINVAL)
            return fail(strError, "cannot read back " + strPath, nErrno);
    }
    else if (errno != EINVAL)
        return fail(strError, "cannot open " + strPath + " to read it back", errno);

    nFd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (nFd < 0)
        return fail(strError, "cannot open " + strPath + " to read it back", errno);
    posix_fadvise(nFd, 0, 0, POSIX_FADV_DONTNEED);
    const ECompare eResult = compareFile(nFd, p, nSize, nErrno);
    close(nFd);
    if (eResult == ECompare::eDiffers)
        return fail(strError, strDiffers, 0);
    if (eResult == ECompare::eReadError)
        return fail(strError, "cannot read back " + strPath, nErrno);
    return true;
}

bool CLinuxCardFile::replace(const std::string& strPath, const std::string& strTempPath,
                             const void* pData, size_t nSize, std::string& strError)
{
    strError.clear();
    // Left behind by an earlier write that was cut short.
    if (unlink(strTempPath.c_str()) != 0 && errno != ENOENT)
        return fail(strError, "cannot remove the old " + strTempPath, errno);

    const int nFd =
        open(strTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (nFd < 0)
        return fail(strError, "cannot create " + strTempPath, errno);

    bool bOk = writeAll(nFd, pData, nSize) || fail(strError, "cannot write " + strTempPath, errno);
    bOk = bOk && (fsync(nFd) == 0 || fail(strError, "cannot flush " + strTempPath, errno));
    if (bOk)
        posix_fadvise(nFd, 0, 0, POSIX_FADV_DONTNEED);
    const int nCloseResult = close(nFd);
    bOk = bOk && (nCloseResult == 0 || fail(strError, "cannot close " + strTempPath, errno));
    bOk = bOk && verify(strTempPath, pData, nSize, strError);
    bOk = bOk && (rename(strTempPath.c_str(), strPath.c_str()) == 0 ||
                  fail(strError, "cannot rename " + strTempPath + " to " + strPath, errno));
    if (!bOk)
    {
        unlink(strTempPath.c_str());
        return false;
    }

    // The rename reaches the card only with its directory.
    const std::string strDir = parentDir(strPath);
    const int nDirFd = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nDirFd < 0)
        return fail(strError, "cannot open " + strDir + " to flush it", errno);
    int nResult = fsync(nDirFd);
    if (nResult != 0 && (errno == EINVAL || errno == ENOTSUP))
        nResult = syncfs(nDirFd);
    const int nErrno = errno;
    close(nDirFd);
    if (nResult != 0)
        return fail(strError, "cannot flush " + strDir, nErrno);
    return true;
}
