// The parameter records: CRC, defaults, temperature conversions and the
// validation of records read from a settings file.
#include "CDataCard.h"
#include "DataCardReference.h"

#include <wx/debug.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace
{
// The editor's start-up removes the assertion handler; the tests run the same way.
const bool g_bSilentAsserts = (wxSetAssertHandler(nullptr), true);

using ref::crcHolds;
using Bytes = std::vector<uint8_t>;

struct Pair
{
    SysPar sys;
    ToolPar tool;
    Pair() { CDataCard::setDefaultPar(sys, tool); }
    Pair& check()
    {
        CDataCard::checkPar(sys, tool);
        return *this;
    }
};
} // namespace

TEST(ParRecord, CrcMatchesTheBitwiseDefinition)
{
    const uint8_t acCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(CDataCard::crc16(acCheck, sizeof acCheck), 0x31C3);
    std::mt19937 gen(16);
    for (size_t nLength = 0; nLength < 254; nLength += 7)
    {
        std::vector<uint8_t> ac(nLength + 3, 0x5C);
        for (size_t i = 0; i < nLength; ++i)
            ac[i] = static_cast<uint8_t>(gen());
        EXPECT_EQ(CDataCard::crc16(ac.data(), nLength), ref::crc(ac.data(), nLength));
        // setCrc: low byte first, nothing written past the record.
        std::vector<uint8_t> acRef = ac;
        ref::close(acRef.data(), nLength + 2);
        CDataCard::setCrc(ac.data(), static_cast<uint8_t>(nLength + 2));
        EXPECT_EQ(ac, acRef) << nLength;
    }
}

TEST(ParRecord, DefaultsAreTheStationsBytes)
{
    Pair p;
    std::memset(&p.sys, 0xA5, sizeof p.sys);
    std::memset(&p.tool, 0xA5, sizeof p.tool);
    CDataCard::setDefaultPar(p.sys, p.tool);
    Bytes acSys = {0x61, 0x2d, 0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00};
    acSys.resize(acSys.size() + 32, 0);
    acSys.insert(acSys.end(), {0x01, 0x00, 0x3a, 0x88});
    const Bytes acTool = {0x62, 0x2b, 0x01, 0x1b, 0x00, 0x38, 0x00, 0x10, 0x0e, 0xc4, 0x09,
                          0x00, 0x00, 0x03, 0x00, 0x80, 0x0c, 0x10, 0x0e, 0xa0, 0x0f, 0xc4,
                          0x09, 0xc4, 0x09, 0xc4, 0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                          0x03, 0x03, 0x03, 0x03, 0x01, 0x01, 0x05, 0x0a, 0x24, 0x96};
    EXPECT_EQ(ref::bytes(p.sys), acSys);
    EXPECT_EQ(ref::bytes(p.tool), acTool);
    EXPECT_EQ(+p.sys.nCrc, 0x883A);
    EXPECT_EQ(+p.tool.nCrc, 0x9624);
    EXPECT_TRUE(crcHolds(p.sys) && crcHolds(p.tool));
}

TEST(ParConversion, Examples)
{
    const int16_t anToC[][2] = {{3600, 360}, {1495, 150}, {1494, 149},
                                {-5, -1},    {-4, 0},     {-15, -2}};
    const int16_t anToF[][2] = {{1489, 300}, {3017, 575}, {4500, 842},
                                {1500, 302}, {-1, 32},    {-6, 31}};
    const int16_t anFromF[][2] = {{300, 1489}, {575, 3017}, {842, 4500}, {32, 0},
                                  {31, -6},    {22, -56},   {41, 50}};
    const int16_t anFromC[][2] = {{150, 1500}, {-40, -400}, {3277, INT16_MAX}, {-3277, INT16_MIN}};
    for (const auto& c : anToC)
        EXPECT_EQ(CDataCard::toCentigrade(c[0]), c[1]) << c[0];
    for (const auto& c : anToF)
        EXPECT_EQ(CDataCard::toFahrenheit(c[0]), c[1]) << c[0];
    for (const auto& c : anFromF)
        EXPECT_EQ(CDataCard::fromDisplayUnit(c[0], false), c[1]) << c[0];
    for (const auto& c : anFromC)
        EXPECT_EQ(CDataCard::fromDisplayUnit(c[0], true), c[1]) << c[0];
    // The Fahrenheit row of the limits sits on whole degrees: 300, 842, 575 °F.
    EXPECT_EQ(CDataCard::toFahrenheit(CDataCard::getSetTMin(1)), 300);
    EXPECT_EQ(CDataCard::toFahrenheit(CDataCard::getSetTMax(1)), 842);
    EXPECT_EQ(CDataCard::fromFahrenheit(575), CDataCard::getStandbyTMax(1));
}

TEST(ParConversion, WholeRangeAgainstTheExactValues)
{
    for (int f = -400; f <= 1500; ++f)
        ASSERT_EQ(CDataCard::toFahrenheit(CDataCard::fromFahrenheit(int16_t(f))), f) << f;
    for (int n = INT16_MIN; n <= INT16_MAX; ++n)
    {
        const int16_t v = static_cast<int16_t>(n);
        // Stored tenths: whole °C are the nearest (halves away from zero),
        // whole °F stray at most one from the exact value.
        const double dC = n / 10.0;
        ASSERT_EQ(CDataCard::toCentigrade(v), dC >= 0 ? std::floor(dC + 0.5) : std::ceil(dC - 0.5));
        ASSERT_LE(std::fabs(CDataCard::toFahrenheit(v) - (n * 9.0 / 50.0 + 32.0)), 1.0) << n;
        // Display values: within 0.06 °C of the exact value, or saturated.
        const double dFromF = (n - 32) * 50.0 / 9.0;
        const int16_t nFromF = CDataCard::fromFahrenheit(v);
        ASSERT_TRUE(std::fabs(dFromF) < 32767 ? std::fabs(nFromF - dFromF) <= 0.6
                                              : nFromF == (dFromF > 0 ? INT16_MAX : INT16_MIN))
            << n;
        ASSERT_EQ(CDataCard::fromCentigrade(v), std::max(INT16_MIN, std::min(INT16_MAX, n * 10)));
        ASSERT_TRUE(std::abs(n) > 3276 ||
                    CDataCard::toCentigrade(CDataCard::fromCentigrade(v)) == n)
            << n;
    }
}

TEST(ParCheck, FieldsAreBroughtIntoRange)
{
    // Two lines a case: the values into the check, then out of it. Unit,
    // locked, SysPar flags; temperature (set, standby), energy level, fixed
    // count, index, standby time, shutdown time, a switch (fixed mode,
    // wake-up), ToolPar flags.
    const struct
    {
        uint8_t cUnit, cLocked;
        uint32_t nSysFlags;
        int16_t nT;
        uint8_t cLevel, cCnt, cIdx, cStandby, cShutdown, cSwitch;
        uint32_t nFlags;
        uint8_t cUnitOut, cLockedOut;
        uint32_t nSysFlagsOut;
        int16_t nSetOut, nStandbyOut;
        uint8_t cLevelOut, cCntOut, cIdxOut, cStandbyOut, cShutdownOut, cSwitchOut;
        uint32_t nFlagsOut;
    } aCase[] = {
        // clang-format off
        {  1,   0,    3,      1480,   0, 2,   2,   0,   0,   0, 0x38001B,
           1,   0,    3,      1500, 1500, 1, 2, 1,  0,   0, 0, 0x38001B},
        {  1,   1,    1,      2500,   1, 0,   0,   1,   1,   1, 0x3FC7F0,
           1,   1,    1,      2500, 2500, 1, 1, 0,  1,  10, 1, 0x3FC7F0},
        {  1,   9,    2,      3010,   2, 3,   2,   5,   5,   2, 0x003804,
           1,   1,    2,      3010, 3000, 2, 3, 2,  5,  10, 1, 0},
        {  1, 255, 0x1F,      4600,   3, 3,   3,  60,   9,   0, ~0u,
           1,   1,    3,      4500, 3000, 3, 3, 2, 60,  10, 0, 0x3FC7FB},
        {  0,   0,    4,     -2000,   4, 9,   0,  61,  10, 255, 0x40001F,
           1,   0,    0,      1500, 1500, 3, 3, 0, 60,  10, 1, 0x1B},
        {  2,   1,  ~0u,      1480, 255, 1,   5, 255, 240,   1, 0,
           2,   1,    3,      1489, 1489, 3, 1, 0, 60, 240, 1, 0},
        {  2,   0,    0,      1495,   3, 2,   1,  30, 241,   0, 0,
           2,   0,    0,      1495, 1495, 3, 2, 1, 30, 240, 0, 0},
        {  3,   0,    0,      3100,   3, 0, 255,   0, 255,   7, 0,
           2,   0,    0,      3100, 3017, 3, 1, 0,  0, 240, 1, 0},
        {  7,   0,    0, INT16_MAX,   3, 3,   1,   5,  10,   1, 0,
           2,   0,    0,      4500, 3017, 3, 3, 1,  5,  10, 1, 0},
        {255,   0,    0, INT16_MIN,   3, 3,   1,   5,  10,   1, 0,
           2,   0,    0,      1489, 1489, 3, 3, 1,  5,  10, 1, 0}};
    // clang-format on
    for (const auto& c : aCase)
    {
        Pair p;
        SysPar& s = p.sys;
        ToolPar& t = p.tool;
        s.cType = s.cLength = s.cVersion = t.cType = t.cLength = t.cVersion = 3;
        s.cUnit = c.cUnit;
        s.cLocked = c.cLocked;
        s.nUpdateFlag = c.nSysFlags;
        s.nEntityNo = 500;
        for (int i = 0; i < 16; ++i)
            s.acPassword[i] = s.acSerialNumber[i] = static_cast<uint8_t>(i + 1);
        const SysPar before = s;
        t.nVarSetT100mC = t.nVarStandbyT100mC = c.nT;
        t.cVarEnergy = c.cLevel;
        t.nVarCalT100mK = -55;
        for (int i = 0; i < 3; ++i)
        {
            t.anFixSetT100mC[i] = t.anFixStandbyT100mC[i] = c.nT;
            t.acFixEnergy[i] = c.cLevel;
            t.anFixCalT100mK[i] = static_cast<int16_t>(100 * (i + 1));
        }
        t.cFixCnt = c.cCnt;
        t.cFixActualIdx = c.cIdx;
        t.cStandbyTmMin = c.cStandby;
        t.cShutdownTmMin = c.cShutdown;
        t.cFixEnabled = t.cWakeup = c.cSwitch;
        t.nUpdateFlag = c.nFlags;
        p.check();
        SCOPED_TRACE(testing::Message() << int(c.cUnit) << " " << c.nT);
        EXPECT_EQ((std::vector<int>{s.cType, s.cLength, s.cVersion, s.cUnit, s.cLocked, s.nEntityNo,
                                    t.cType, t.cLength, t.cVersion}),
                  (std::vector<int>{0x61, 45, 1, c.cUnitOut, c.cLockedOut, 1, 0x62, 43, 1}));
        EXPECT_EQ(+s.nUpdateFlag, c.nSysFlagsOut);
        EXPECT_EQ(std::memcmp(s.acPassword, before.acPassword, 32), 0);
        EXPECT_EQ((std::vector<int>{t.nVarSetT100mC, t.nVarStandbyT100mC, t.cVarEnergy, t.cFixCnt,
                                    t.cFixActualIdx, t.cStandbyTmMin, t.cShutdownTmMin,
                                    t.cFixEnabled, t.cWakeup, t.nVarCalT100mK}),
                  (std::vector<int>{c.nSetOut, c.nStandbyOut, c.cLevelOut, c.cCntOut, c.cIdxOut,
                                    c.cStandbyOut, c.cShutdownOut, c.cSwitchOut, c.cSwitchOut, 0}));
        EXPECT_EQ(+t.nUpdateFlag, c.nFlagsOut);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ((std::vector<int>{t.anFixSetT100mC[i], t.anFixStandbyT100mC[i],
                                        t.acFixEnergy[i], t.anFixCalT100mK[i]}),
                      (std::vector<int>{c.nSetOut, c.nStandbyOut, c.cLevelOut, 0}));
        EXPECT_TRUE(crcHolds(s) && crcHolds(t));
    }
}

TEST(ParCheck, AnyRecordEndsValidAndStaysPut)
{
    EXPECT_EQ(ref::bytes(Pair().check().tool), ref::bytes(Pair().tool));
    EXPECT_EQ(ref::bytes(Pair().check().sys), ref::bytes(Pair().sys));
    std::mt19937 gen(1);
    for (int nRound = 0; nRound < 2000; ++nRound)
    {
        Pair p;
        ref::randomize(p.sys, gen);
        ref::randomize(p.tool, gen);
        p.check();
        const SysPar& s = p.sys;
        const ToolPar& t = p.tool;
        ASSERT_TRUE(s.cUnit == 1 || s.cUnit == 2);
        const ParLimitsRow& r = ParLimits[s.cUnit - 1];
        auto inSet = [&r](int16_t n) { return n >= r.nSetTMin100mC && n <= r.nSetTMax100mC; };
        auto inStandby = [&r](int16_t n)
        { return n >= r.nStandbyTMin100mC && n <= r.nStandbyTMax100mC; };
        ASSERT_TRUE(inSet(t.nVarSetT100mC) && inStandby(t.nVarStandbyT100mC));
        for (int i = 0; i < 3; ++i)
        {
            ASSERT_TRUE(inSet(t.anFixSetT100mC[i]) && inStandby(t.anFixStandbyT100mC[i]));
            ASSERT_TRUE(t.acFixEnergy[i] >= 1 && t.acFixEnergy[i] <= 3);
        }
        ASSERT_TRUE(t.cFixCnt >= 1 && t.cFixCnt <= 3 && t.cFixActualIdx < t.cFixCnt);
        ASSERT_LE(t.cStandbyTmMin, 60);
        ASSERT_TRUE(t.cShutdownTmMin == 0 || (t.cShutdownTmMin >= 10 && t.cShutdownTmMin <= 240));
        ASSERT_EQ(s.nUpdateFlag & ~0x3u, 0u);
        ASSERT_EQ(t.nUpdateFlag & ~0x003FC7FBu, 0u);
        ASSERT_TRUE(crcHolds(s) && crcHolds(t));
        // A valid record is a fixed point.
        Pair q = p;
        q.check();
        ASSERT_EQ(ref::bytes(q.sys), ref::bytes(p.sys));
        ASSERT_EQ(ref::bytes(q.tool), ref::bytes(p.tool));
    }
}
