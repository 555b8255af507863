// Writing a whole buffer to a descriptor, for the writers of settings files
// and of the card file alike.
#pragma once

#include <cstddef>

namespace posixio
{
// Writes all nLength bytes, going on after short writes and interruptions;
// false with errno set otherwise (ENOSPC when the system wrote nothing and
// gave no reason).
bool writeAll(int nFd, const void* pData, size_t nLength);
} // namespace posixio
