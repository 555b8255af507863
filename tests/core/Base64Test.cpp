#include "CAssertRecorder.h"
#include "CBase64.h"

#include <wx/base64.h>

#include <gtest/gtest.h>

#include <vector>

TEST(Base64, AsTheToolkitEncodes)
{
    std::vector<uint8_t> ac(300);
    for (size_t i = 0; i < ac.size(); ++i)
        ac[i] = static_cast<uint8_t>(255 - i * 97); // every byte value, 0xFF first
    for (int32_t nLength : {0, 1, 2, 3, 4, 5, 300})
    {
        wxString str = "previous contents";
        EXPECT_EQ(CBase64::encode(str, ac.data(), nLength), (nLength + 2) / 3 * 4);
        EXPECT_EQ(str, wxBase64Encode(ac.data(), nLength)) << "length " << nLength;
    }
    // Nothing to read leaves the string and asserts.
    CAssertRecorder asserts;
    for (const auto& c : {std::make_pair(ac.data(), -1), {nullptr, 0}, {ac.data(), INT32_MAX}})
    {
        wxString str = "keep";
        EXPECT_EQ(std::to_string(CBase64::encode(str, c.first, c.second)) + str, "-1keep");
    }
    EXPECT_EQ(asserts.getAsserts().size(), 3u);
}
