#include "CSafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
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

void syncDirectory(const std::string& strDir)
{
    const int nFd = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFd >= 0)
    {
        fsync(nFd);
        ::close(nFd);
    }
}
} // namespace

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
    std::string strTarget(static_cast<const char*>(strPath.fn_str()));
    if (strTarget.empty())
        return fail("the file name cannot be encoded", 0);

    // A link is followed, so that the file it points to is replaced and the
    // link itself survives.
    struct stat st;
    if (lstat(strTarget.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
    {
        char acResolved[PATH_MAX];
        if (realpath(strTarget.c_str(), acResolved) == nullptr)
            return fail(strPath, errno);
        strTarget = acResolved;
    }

    const bool bExists = stat(strTarget.c_str(), &st) == 0;
    if (!bExists && errno != ENOENT)
        return fail(strPath, errno);
    // Never rename over a directory, a device or a pipe.
    if (bExists && !S_ISREG(st.st_mode))
        return fail(strPath + " is not a regular file", 0);
    // Renaming would get round a write-protected file; refuse it as an
    // ordinary write would.
    if (bExists && access(strTarget.c_str(), W_OK) != 0)
        return fail(strPath, errno);

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
        return fail(strPath, errno);
    CTempGuard temp(strTemp, nFd);

    const FnSink fnSink = [&temp](const void* p, size_t n) { return writeAll(temp.fd(), p, n); };
    errno = 0;
    if (!fnProduce(fnSink))
        return fail(strPath, errno);

    if (bExists)
    {
        // Keep the owner where allowed; the permissions in any case.
        if (fchown(temp.fd(), st.st_uid, st.st_gid) != 0)
        {
            // Not the owner: the file becomes ours, as with any editor.
        }
        if (fchmod(temp.fd(), st.st_mode & 07777) != 0)
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
    syncDirectory(strDir);
    return true;
}
