// The safe file writer on POSIX systems: a temporary file beside the target,
// flushed and renamed over it; pipes and character devices written directly;
// in place where no temporary file can be made.
#include "SafeFileWriterPlatform.h"

#include "PosixWrite.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using posixio::writeAll;
using safefile::fail;

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
    if (!safefile::produce(strPath, fnProduce, strContent))
        return false;

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

bool safefile::writeFile(const wxString& strPath, const CSafeFileWriter::FnProducer& fnProduce)
{
    const std::string strTarget(static_cast<const char*>(strPath.fn_str()));
    if (strTarget.empty())
        return fail("the file name cannot be encoded", 0);
    return ::writeFile(strPath, strTarget, fnProduce);
}
