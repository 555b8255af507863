// zoltcfg's sniffing of a file's kind from its first bytes, over any file.
#include "CParFile.h"
#include "FuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    static zoltfuzz::SInputFile s_whole("whole");
    const CParFile::EKind eKind =
        CParFile::detectKind(wxString::FromUTF8(s_whole.write(pData, nSize)));
    // Nothing that starts like no document at all is taken for one.
    if (nSize > 0 && !std::memchr("<\xEF\xFF\xFE \t\r\n", pData[0], 9))
        zoltfuzz::require(eKind == CParFile::eCardImage,
                          "a file that cannot be XML was taken for XML");
    return 0;
}
