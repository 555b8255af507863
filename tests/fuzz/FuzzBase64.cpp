// The Base64 writer against the toolkit's.
#include "CBase64.h"
#include "FuzzSupport.h"

#include <wx/base64.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    wxString str = "stale";
    const int32_t nLength = CBase64::encode(str, pData, static_cast<int32_t>(nSize));
    zoltfuzz::require(nLength >= 0 && size_t(nLength) == str.length() &&
                          str == wxBase64Encode(pData, nSize),
                      "the text is not the input's Base64");
    return 0;
}
