// The card image and its records. The byte layout of whole images is pinned
// by the zoltcfg tests.
#include "CAssertRecorder.h"
#include "CDataCard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

template <class T> Bytes bytes(const T& r)
{
    return Bytes(reinterpret_cast<const uint8_t*>(&r), reinterpret_cast<const uint8_t*>(&r + 1));
}

// Records given as type and length (version 1, filler, CRC) or as their bytes.
Bytes chain(std::initializer_list<Bytes> aRecords)
{
    Bytes ac;
    for (Bytes r : aRecords)
    {
        if (r.size() == 2)
            r.resize(r[1]), r[2] = 1, CDataCard::setCrc(r.data(), r[1]);
        ac.insert(ac.end(), r.begin(), r.end());
    }
    return ac;
}

struct Card
{
    SysPar sys;
    ToolPar tool;
    CDataCard card;
    Card() { CDataCard::setDefaultPar(sys, tool); }
    // True when sector nSector gives back both records as they are here.
    bool read(uint32_t nSector)
    {
        SysPar s{};
        ToolPar t{};
        return card.readPar(s, t, nSector) && bytes(s) == bytes(sys) && bytes(t) == bytes(tool);
    }
};
} // namespace

TEST(ParRecord, CrcAndFiller)
{
    EXPECT_EQ(CDataCard::crc16(reinterpret_cast<const uint8_t*>("123456789"), 9), 0x31C3);
    Bytes ac = {1, 2, 3, 0, 0, 0xA5}; // low byte first, nothing past the record
    CDataCard::setCrc(ac.data(), 5);
    EXPECT_EQ(ac, (Bytes{1, 2, 3, 0x31, 0x61, 0xA5}));
    // The filler is the plain one-draw-at-a-time sequence, whatever the length.
    for (uint32_t nLength : {0, 31, 33, 65})
    {
        Bytes acFill(nLength + 1, 0xA5), acRef = acFill;
        CDataCard::fillFiller(acFill.data(), nLength, 0xFFFFFFFFu);
        for (uint32_t i = 0, n = 0xFFFFFFFFu; i < nLength; ++i)
            acRef[i] = static_cast<uint8_t>((n = n * 214013u + 2531011u) >> 16);
        EXPECT_EQ(acFill, acRef) << nLength;
    }
}

TEST(DataCardImage, ChainsOfRecords)
{
    const Card c;
    const Bytes acSys = bytes(c.sys), acTool = bytes(c.tool), acHead{0x60, 43}, acEnd{0, 4};
    const Bytes acFront = chain({acHead, acSys, acTool});
    Bytes acBadEnd = chain({acEnd}), acBadHead = chain({acHead}),
          acLong = chain({acFront, {0x64, 40}});
    acBadEnd[3] ^= 1, acBadHead[20] = 7, acLong[acFront.size() + 1] = 200;
    const uint8_t cRest = static_cast<uint8_t>(256 - acFront.size());
    const std::pair<Bytes, bool> aCase[] = {
        {chain({acHead, acTool, acSys, acEnd}), true},
        {chain({acHead, {0x64, 30}, acSys, acHead, acTool, acEnd}), true},
        {chain({acFront, {0x70, 6}}), true}, // an unknown type ends the chain
        {chain({acHead, {0x61, 60}, {0x62, 50}, acEnd}), true},
        {chain({acSys, acTool, acEnd}), false},
        {chain({acBadHead, acSys, acTool, acEnd}), false},
        {chain({acHead, acTool, acEnd}), false},
        {chain({acHead, acSys, acEnd}), false},
        {chain({acFront, acBadEnd}), false},
        {chain({acFront, Bytes{0x64, 1, 0, 0}}), false},
        {chain({acHead, {0x61, 44}, acTool, acEnd}), false},
        {chain({acHead, acSys, {0x62, 42}, acEnd}), false},
        // Records never reach past the gathered payload.
        {chain({acFront, {0x64, cRest}}), false},
        {acLong, false},
        {chain({acFront, {0x64, uint8_t(cRest - 4)}, Bytes{0x64, 255, 0, 0}}), false}};
    CAssertRecorder asserts;
    for (uint32_t nSector : {0u, 2047u})
        for (size_t i = 0; i < std::size(aCase); ++i)
        {
            Card d; // the payload in sector nSector behind terminators
            for (uint32_t n = 0; n < nSector; ++n)
                d.card.addSector(chain({acEnd}).data(), 4);
            const Bytes& ac = aCase[i].first;
            EXPECT_TRUE(d.card.addSector(ac.data(), static_cast<uint32_t>(ac.size())));
            if (nSector > 0) // a node past the last sector is dropped
                d.card.addSector(chain({acEnd}).data(), 4);
            d.card.buildFile();
            EXPECT_EQ(d.card.readPar(d.sys, d.tool, nSector), aCase[i].second)
                << "case " << i << ", sector " << nSector;
        }
    EXPECT_EQ(asserts.getAsserts(), std::vector<wxString>(std::size(aCase), "nOffset < (1 << 20)"));
}

TEST(DataCardImage, RecordsComeBackAndMisuseAssertsAndHarmsNothing)
{
    Card c;
    CAssertRecorder asserts;
    SysPar sysLong = c.sys;
    ToolPar toolShort = c.tool;
    sysLong.cLength = 200, toolShort.cLength = 0;
    EXPECT_FALSE(c.card.buildWrite(sysLong, c.tool) || c.card.buildWrite(c.sys, toolShort));
    EXPECT_FALSE(c.card.addSector(Bytes(257).data(), 257) || c.card.addSector(nullptr, 4));
    EXPECT_TRUE(std::all_of(c.card.getImage(), c.card.getImage() + CDataCard::kImageSize,
                            [](uint8_t n) { return n == 0; }));
    // Nothing was left in the list: sector 0 holds the records written now.
    ASSERT_TRUE(c.card.buildWrite(c.sys, c.tool));
    EXPECT_TRUE(!c.read(2048) && c.read(0));
    EXPECT_EQ(asserts.getAsserts(),
              (std::vector<wxString>{"false", "false", "false", "false", "nSector < 2048"}));
}

TEST(ParConversion, WholeRangeAgainstTheExactValues)
{
    EXPECT_EQ(CDataCard::fromDisplayUnit(150, true) - CDataCard::fromDisplayUnit(22, false), 1556);
    for (int f = -400; f <= 1500; ++f)
        ASSERT_EQ(CDataCard::toFahrenheit(CDataCard::fromFahrenheit(int16_t(f))), f) << f;
    for (int n = INT16_MIN; n <= INT16_MAX; ++n)
    {
        const int16_t v = static_cast<int16_t>(n);
        // Whole °C are the nearest (halves away from zero), whole °F stray
        // at most one from the exact value.
        const double dC = n / 10.0;
        ASSERT_EQ(CDataCard::toCentigrade(v), dC >= 0 ? std::floor(dC + 0.5) : std::ceil(dC - 0.5));
        ASSERT_LE(std::fabs(CDataCard::toFahrenheit(v) - (n * 9.0 / 50.0 + 32.0)), 1.0) << n;
        // Stored values: within 0.06 °C of the exact value, or saturated.
        const double dFromF = (n - 32) * 50.0 / 9.0;
        const int16_t nFromF = CDataCard::fromFahrenheit(v);
        ASSERT_TRUE(std::fabs(dFromF) < 32767 ? std::fabs(nFromF - dFromF) <= 0.6
                                              : nFromF == (dFromF > 0 ? INT16_MAX : INT16_MIN))
            << n;
        ASSERT_EQ(CDataCard::fromCentigrade(v), std::max(INT16_MIN, std::min(INT16_MAX, n * 10)));
    }
}

TEST(ParCheck, FieldsAreBroughtIntoRange)
{
    // Unit, locked, SysPar flags, the temperature of all set and standby fields,
    // energy, count, index, standby and shutdown time, switches, ToolPar flags.
    const std::vector<uint32_t> aCase[][2] = {
        {{1, 0, 3, 1480, 0, 2, 2, 0, 0, 0, 0x38001B},
         {1, 0, 3, 1500, 1500, 1, 2, 1, 0, 0, 0, 0x38001B}},
        {{1, 9, 2, 3010, 2, 3, 2, 5, 5, 2, 0x003804}, {1, 1, 2, 3010, 3000, 2, 3, 2, 5, 10, 1, 0}},
        {{0, 255, 0x1F, 0xF830, 4, 9, 0, 61, 10, 255, ~0u},
         {1, 1, 3, 1500, 1500, 3, 3, 0, 60, 10, 1, 0x3FC7FB}},
        {{3, 0, 0, 3100, 3, 0, 255, 0, 241, 7, 0}, {2, 0, 0, 3100, 3017, 3, 1, 0, 0, 240, 1, 0}}};
    for (const auto& [i, o] : aCase)
    {
        // Type, length and version set, calibration cleared, password kept.
        const auto u8 = [](uint32_t n) { return static_cast<uint8_t>(n); };
        int16_t n = int16_t(i[3]), m = n;
        uint8_t e = u8(i[4]), w = u8(i[9]);
        SysPar s{3, 3, 3, i[2], u8(i[0]), u8(i[1]), {0, 0, 7}, {9}, 500, 0};
        ToolPar t{3,        3, 3,         i[10],     n,         m,         -55,
                  e,        w, {n, n, n}, {m, m, m}, {1, 2, 3}, {e, e, e}, u8(i[5]),
                  u8(i[6]), w, u8(i[7]),  u8(i[8]),  0};
        n = int16_t(o[3]), m = int16_t(o[4]), e = u8(o[5]), w = u8(o[10]);
        SysPar sx{0x61, 45, 1, o[2], u8(o[0]), u8(o[1]), {0, 0, 7}, {9}, 1, 0};
        ToolPar tx{0x62,     43, 1,         o[11],     n,         m,         0,
                   e,        w,  {n, n, n}, {m, m, m}, {0, 0, 0}, {e, e, e}, u8(o[6]),
                   u8(o[7]), w,  u8(o[8]),  u8(o[9]),  0};
        CDataCard::checkPar(s, t);
        CDataCard::setCrc(&sx.cType, sizeof sx);
        CDataCard::setCrc(&tx.cType, sizeof tx);
        EXPECT_EQ(bytes(s), bytes(sx)) << i[0] << " " << int16_t(i[3]);
        EXPECT_EQ(bytes(t), bytes(tx)) << i[0] << " " << int16_t(i[3]);
    }
}
