#include "CAssertRecorder.h"
#include "CBase64.h"

#include <wx/base64.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(Base64, PaddingAndAlphabet)
{
    const struct
    {
        const char* pszIn;
        const char* pszOut;
    } aCase[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"\xfb\xff\xbf", "+/+/"},
    };
    for (const auto& c : aCase)
    {
        wxString str = "previous contents";
        const int32_t nLength = static_cast<int32_t>(strlen(c.pszIn));
        EXPECT_EQ(CBase64::encode(str, reinterpret_cast<const uint8_t*>(c.pszIn), nLength),
                  static_cast<int32_t>(strlen(c.pszOut)));
        EXPECT_EQ(str, c.pszOut);
    }
}

TEST(Base64, RandomBytesAsTheToolkitEncodesThem)
{
    std::mt19937 gen(64);
    for (int32_t nLength = 0; nLength < 200; ++nLength)
    {
        // One spare byte keeps the pointer valid for length 0.
        std::vector<uint8_t> ac(nLength + 1);
        for (uint8_t& c : ac)
            c = static_cast<uint8_t>(gen());
        wxString str;
        EXPECT_EQ(CBase64::encode(str, ac.data(), nLength), (nLength + 2) / 3 * 4);
        EXPECT_EQ(str, wxBase64Encode(ac.data(), nLength)) << "length " << nLength;
    }
}

TEST(Base64, NothingToReadLeavesTheStringAndAsserts)
{
    const uint8_t ac[4] = {1, 2, 3, 4};
    CAssertRecorder asserts;
    const std::pair<const uint8_t*, int32_t> aCase[] = {
        {nullptr, 16}, {nullptr, 0}, {ac, -1}, {ac, INT32_MAX}};
    for (const auto& c : aCase)
    {
        wxString str = "keep";
        EXPECT_EQ(CBase64::encode(str, c.first, c.second), -1) << c.second;
        EXPECT_EQ(str, "keep");
    }
    EXPECT_EQ(asserts.getAsserts(), std::vector<wxString>(4, "false"));
}
