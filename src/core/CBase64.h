// Base64 text of raw bytes (standard alphabet, padded, no line breaks), as
// the settings file stores the password and serial number.
#pragma once

#include <wx/string.h>

#include <cstdint>

class CBase64
{
public:
    CBase64() = delete;

    // Replaces rOut with the text of the nLength bytes at pData and returns
    // its length; -1, with rOut untouched, when there is nothing to read.
    static int32_t encode(wxString& rOut, const uint8_t* pData, int32_t nLength);
};
