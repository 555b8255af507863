#include "CBase64.h"
#include "DataCardAssert.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace
{
// Decoder written for the test only, strict about padding and alphabet.
bool decode(const wxString& str, std::vector<uint8_t>& rOut)
{
    const std::string strAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::string s = str.ToStdString();
    if (s.size() % 4)
        return false;
    rOut.clear();
    for (size_t i = 0; i < s.size(); i += 4)
    {
        uint32_t n = 0;
        int nPad = 0;
        for (size_t k = 0; k < 4; ++k)
        {
            const char c = s[i + k];
            n <<= 6;
            if (c == '=')
            {
                if (i + 4 != s.size() || k < 2)
                    return false;
                ++nPad;
                continue;
            }
            if (nPad)
                return false;
            const size_t nValue = strAlphabet.find(c);
            if (nValue == std::string::npos)
                return false;
            n |= static_cast<uint32_t>(nValue);
        }
        rOut.push_back(static_cast<uint8_t>(n >> 16));
        if (nPad < 2)
            rOut.push_back(static_cast<uint8_t>(n >> 8));
        if (nPad < 1)
            rOut.push_back(static_cast<uint8_t>(n));
    }
    return true;
}

int32_t encode(wxString& rOut, const std::string& str)
{
    return CBase64::encode(rOut, reinterpret_cast<const uint8_t*>(str.data()),
                           static_cast<int32_t>(str.size()));
}
} // namespace

TEST(Base64, StandardVectors)
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
    };
    for (const auto& c : aCase)
    {
        wxString str = "previous contents";
        EXPECT_EQ(encode(str, c.pszIn), static_cast<int32_t>(strlen(c.pszOut))) << c.pszIn;
        EXPECT_EQ(str, c.pszOut);
    }
}

TEST(Base64, PaddingByRemainderAndAlphabetEnds)
{
    const uint8_t ac[3] = {0xFB, 0xFF, 0xBF};
    const struct
    {
        int32_t nLength;
        size_t nPad;
    } aCase[] = {{3, 0}, {2, 1}, {1, 2}};
    for (const auto& c : aCase)
    {
        wxString str;
        ASSERT_EQ(CBase64::encode(str, ac, c.nLength), 4);
        const std::string s = str.ToStdString();
        EXPECT_EQ(s.size() - s.find_last_not_of('='), c.nPad + 1) << c.nLength;
    }
    wxString str;
    CBase64::encode(str, ac, 3);
    EXPECT_EQ(str, "+/+/");
}

TEST(Base64, SixteenBytesGiveTwentyFourCharacters)
{
    const uint8_t ac[16] = {};
    wxString str;
    EXPECT_EQ(CBase64::encode(str, ac, 16), 24);
    EXPECT_EQ(str.length(), 24u);
    EXPECT_TRUE(str.EndsWith("=="));
    EXPECT_FALSE(str.EndsWith("==="));
}

TEST(Base64, RandomBytesDecodeBack)
{
    std::mt19937 gen(64);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int32_t nLength = 0; nLength < 200; ++nLength)
    {
        // One spare byte keeps the pointer valid for length 0.
        std::vector<uint8_t> ac(nLength + 1);
        for (uint8_t& c : ac)
            c = static_cast<uint8_t>(byte(gen));
        wxString str;
        const int32_t nOut = CBase64::encode(str, ac.data(), nLength);
        EXPECT_EQ(nOut, (nLength + 2) / 3 * 4);
        EXPECT_EQ(static_cast<int32_t>(str.length()), nOut);
        EXPECT_EQ(str.find_first_of(" \r\n"), wxString::npos);
        std::vector<uint8_t> acBack;
        ASSERT_TRUE(decode(str, acBack)) << str;
        ac.pop_back();
        EXPECT_EQ(acBack, ac) << "length " << nLength;
    }
}

TEST(Base64, NothingToReadLeavesTheStringAndAsserts)
{
    const uint8_t ac[4] = {1, 2, 3, 4};
    CDataCardAssertLog log;
    const struct
    {
        const uint8_t* pData;
        int32_t nLength;
    } aCase[] = {{nullptr, 16}, {nullptr, 0}, {ac, -1}, {ac, INT32_MAX}};
    for (const auto& c : aCase)
    {
        wxString str = "keep";
        log.clear();
        EXPECT_EQ(CBase64::encode(str, c.pData, c.nLength), -1) << c.nLength;
        EXPECT_EQ(str, "keep");
        EXPECT_EQ(log.count("false"), 1u);
    }
}
