#include "CInputFile.h"

#include "CReporter.h"

#include <wx/filefn.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#endif

namespace
{
bool failed(CReporter& rReporter, const wxString& strName, int nErrno)
{
    rReporter.report("Can't read the file", strName + ": " + wxString(strerror(nErrno)));
    return false;
}
} // namespace

wxString CInputFile::nameOf(const wxString& strPath)
{
    return isStdStream(strPath) ? wxString("standard input") : strPath;
}

bool CInputFile::read(CReporter& rReporter, const wxString& strPath)
{
    m_strPath = strPath;
    m_acData.clear();
    const wxString strName = getName();
    int nFd = STDIN_FILENO;
    if (!isStdStream(strPath))
    {
#ifdef _WIN32
        nFd = _wopen(strPath.wc_str(), O_RDONLY | O_BINARY | O_NOINHERIT);
        // Windows refuses to open a folder at all.
        if (nFd < 0 && errno == EACCES && wxDirExists(strPath))
        {
            rReporter.report("Can't read the file", strName + " is a folder, not a file.");
            return false;
        }
#else
        nFd = open(strPath.fn_str(), O_RDONLY | O_CLOEXEC);
#endif
        if (nFd < 0)
            return failed(rReporter, strName, errno);
    }
    // Standard input stays open for whoever reads it next.
    struct CCloser
    {
        int nFd;
        ~CCloser()
        {
            if (nFd != STDIN_FILENO)
                close(nFd);
        }
    } closer{nFd};

    struct stat st;
    if (fstat(nFd, &st) != 0)
        return failed(rReporter, strName, errno);
    if (S_ISDIR(st.st_mode))
    {
        rReporter.report("Can't read the file", strName + " is a folder, not a file.");
        return false;
    }
    m_acData.resize(kMaxSize);
    size_t nTotal = 0;
    while (nTotal < kMaxSize)
    {
        const ssize_t n = ::read(nFd, m_acData.data() + nTotal, kMaxSize - nTotal);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
        {
            m_acData.clear();
            return failed(rReporter, strName, errno);
        }
        if (n == 0)
            break;
        nTotal += static_cast<size_t>(n);
    }
    m_acData.resize(nTotal);
    return true;
}
