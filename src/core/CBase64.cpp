#include "CBase64.h"

#include <wx/debug.h>

#include <string>

namespace
{
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Longest input whose text length still fits the signed 32-bit result.
constexpr int32_t kMaxInput = INT32_MAX / 4 * 3;
} // namespace

int32_t CBase64::encode(wxString& rOut, const uint8_t* pData, int32_t nLength)
{
    if (!pData || nLength < 0 || nLength > kMaxInput)
    {
        wxFAIL_MSG("false");
        return -1;
    }

    std::string strText;
    strText.reserve((static_cast<size_t>(nLength) + 2) / 3 * 4);
    int32_t i = 0;
    for (; i + 3 <= nLength; i += 3)
    {
        const uint32_t n =
            (uint32_t(pData[i]) << 16) | (uint32_t(pData[i + 1]) << 8) | pData[i + 2];
        strText += kAlphabet[(n >> 18) & 0x3F];
        strText += kAlphabet[(n >> 12) & 0x3F];
        strText += kAlphabet[(n >> 6) & 0x3F];
        strText += kAlphabet[n & 0x3F];
    }
    const int32_t nRest = nLength - i;
    if (nRest > 0)
    {
        uint32_t n = uint32_t(pData[i]) << 16;
        if (nRest == 2)
            n |= uint32_t(pData[i + 1]) << 8;
        strText += kAlphabet[(n >> 18) & 0x3F];
        strText += kAlphabet[(n >> 12) & 0x3F];
        strText += nRest == 2 ? kAlphabet[(n >> 6) & 0x3F] : '=';
        strText += '=';
    }
    rOut = wxString::FromAscii(strText.data(), strText.size());
    return static_cast<int32_t>(strText.size());
}
