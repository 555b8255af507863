#include "CStdOut.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

wxString CStdOut::s_strLastError;
bool CStdOut::s_bReported = false;

bool CStdOut::fail(int nErrno)
{
    if (s_strLastError.empty())
        s_strLastError = nErrno != 0 ? wxString(strerror(nErrno)) : wxString("write error");
    return false;
}

bool CStdOut::print(const wxString& str)
{
#ifdef _WIN32
    // Standard output is binary there (images go through it): text takes
    // the system's line ends here.
    wxString strText(str);
    strText.Replace("\n", "\r\n");
    const wxScopedCharBuffer buffer = strText.mb_str(*wxConvFileName);
#else
    const wxScopedCharBuffer buffer = str.mb_str(*wxConvFileName);
#endif
    return write(buffer.data(), buffer.length());
}

bool CStdOut::write(const void* pData, size_t nLength)
{
    errno = 0;
    if (nLength > 0 && fwrite(pData, 1, nLength, stdout) != nLength)
        return fail(errno);
    return s_strLastError.empty();
}

bool CStdOut::flush()
{
    errno = 0;
    if (fflush(stdout) != 0 || ferror(stdout))
        return fail(errno);
    return s_strLastError.empty();
}

const wxString& CStdOut::getLastError()
{
    return s_strLastError;
}
