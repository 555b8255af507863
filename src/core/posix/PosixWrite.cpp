#include "PosixWrite.h"

#include <cerrno>
#include <sys/types.h>
#include <unistd.h>

bool posixio::writeAll(int nFd, const void* pData, size_t nLength)
{
    const char* p = static_cast<const char*>(pData);
    while (nLength > 0)
    {
        const ssize_t n = ::write(nFd, p, nLength);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        nLength -= static_cast<size_t>(n);
    }
    return true;
}
