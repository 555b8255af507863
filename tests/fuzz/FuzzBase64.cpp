// The Base64 writer against a decoder of its own: the text must have the
// length, alphabet and padding of RFC 4648 and decode to the input.
#include "CBase64.h"
#include "FuzzSupport.h"

#include <cstring>
#include <vector>

using zoltfuzz::require;

namespace
{
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int digit(wxUniChar c)
{
    const char* p = c.IsAscii() && c != 0 ? std::strchr(kAlphabet, static_cast<char>(c)) : nullptr;
    return p ? static_cast<int>(p - kAlphabet) : -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    wxString strOut = "stale";
    const int32_t nLength = CBase64::encode(strOut, pData, static_cast<int32_t>(nSize));
    require(nLength >= 0 && static_cast<size_t>(nLength) == strOut.length(),
            "the count is not the text's length");
    require(strOut.length() == (nSize + 2) / 3 * 4, "the text has the wrong length");

    const size_t nPad = (3 - nSize % 3) % 3;
    std::vector<uint8_t> acDecoded;
    uint32_t nBits = 0;
    int nBitCount = 0;
    for (size_t i = 0; i < strOut.length(); ++i)
    {
        if (i >= strOut.length() - nPad)
        {
            require(strOut[i] == '=', "the padding is wrong");
            continue;
        }
        const int nDigit = digit(strOut[i]);
        require(nDigit >= 0, "a character outside the alphabet");
        nBits = (nBits << 6) | static_cast<uint32_t>(nDigit);
        nBitCount += 6;
        if (nBitCount >= 8)
        {
            nBitCount -= 8;
            acDecoded.push_back(static_cast<uint8_t>(nBits >> nBitCount));
        }
    }
    require(acDecoded.size() == nSize &&
                (nSize == 0 || !std::memcmp(acDecoded.data(), pData, nSize)),
            "the text does not decode to the input");
    // The bits below the last whole byte are zero in canonical Base64.
    require((nBits & ((1u << nBitCount) - 1)) == 0, "stray bits before the padding");
    return 0;
}
