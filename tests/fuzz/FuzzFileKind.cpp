// zoltcfg's sniffing of a file's kind from its first bytes, over any bytes.
#include "CParFile.h"
#include "FuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    const CParFile::EKind eKind = CParFile::detectKind(pData, nSize);
    // Nothing that starts like no document at all is taken for one.
    zoltfuzz::require(nSize == 0 || std::memchr("<\xEF\xFF\xFE \t\r\n", pData[0], 9) ||
                          eKind == CParFile::eCardImage,
                      "a file that cannot be XML was taken for XML");
    return 0;
}
