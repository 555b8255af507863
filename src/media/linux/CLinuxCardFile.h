// The card file's one careful write on Linux: a temporary file beside the
// target, flushed to the device, read back past the page cache and compared,
// then renamed over the target and the directory flushed.
#pragma once

#include <cstddef>
#include <string>

class CLinuxCardFile
{
public:
    static bool replace(const std::string& strPath, const std::string& strTempPath,
                        const void* pData, size_t nSize, std::string& strError);

    // True when the file holds exactly the given bytes, read from the device
    // rather than from the page cache where the file system allows it.
    static bool verify(const std::string& strPath, const void* pData, size_t nSize,
                       std::string& strError);
};
