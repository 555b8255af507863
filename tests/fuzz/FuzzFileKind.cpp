// zoltcfg's sniffing of a file's kind from its first bytes, over any file.
#include "CParFile.h"
#include "FuzzSupport.h"

using zoltfuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    static zoltfuzz::CInputFile s_whole("whole");

    const CParFile::EKind eKind =
        CParFile::detectKind(wxString::FromUTF8(s_whole.write(pData, nSize)));
    require(eKind == CParFile::eSettingsDocument || eKind == CParFile::eCardImage,
            "not a kind at all");
    // Nothing that starts like no document at all is taken for one.
    if (nSize > 0 && pData[0] != '<' && pData[0] != 0xEF && pData[0] != 0xFF && pData[0] != 0xFE &&
        pData[0] != 0 && pData[0] != ' ' && pData[0] != '\t' && pData[0] != '\r' &&
        pData[0] != '\n')
        require(eKind == CParFile::eCardImage, "a file that cannot be XML was taken for XML");
    return 0;
}
