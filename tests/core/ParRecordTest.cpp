// The parameter records: CRC, defaults, temperature conversions and the
// validation of records read from a settings file.
#include "CDataCard.h"
#include "DataCardReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using ref::Pair;

TEST(ParRecord, CrcAndDefaults)
{
    const uint8_t acCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(CDataCard::crc16(acCheck, sizeof acCheck), 0x31C3);
    std::mt19937 gen(16);
    for (size_t nLength = 0; nLength < 254; nLength += 23)
    {
        ref::Bytes ac(nLength + 3, 0x5C);
        for (size_t i = 0; i < nLength; ++i)
            ac[i] = static_cast<uint8_t>(gen());
        ref::Bytes acRef = ac;
        ref::close(acRef.data(), nLength + 2);
        CDataCard::setCrc(ac.data(), static_cast<uint8_t>(nLength + 2));
        EXPECT_EQ(ac, acRef) << nLength; // nothing written past the record
    }
    // The defaults, every byte of them behind one CRC, whatever was there before.
    Pair p;
    std::memset(&p.sys, 0xA5, sizeof p.sys);
    std::memset(&p.tool, 0xA5, sizeof p.tool);
    CDataCard::setDefaultPar(p.sys, p.tool);
    const ref::Bytes ac = ref::payload(p.sys, p.tool);
    EXPECT_EQ(ref::crc(ac.data(), ac.size()), 0x24FF);
}

TEST(ParConversion, WholeRangeAgainstTheExactValues)
{
    const int16_t anFromF[][2] = {{300, 1489}, {575, 3017}, {842, 4500}, {31, -6}, {22, -56}};
    for (const auto& c : anFromF)
        EXPECT_EQ(CDataCard::fromDisplayUnit(c[0], false), c[1]) << c[0];
    EXPECT_EQ(CDataCard::fromDisplayUnit(150, true), 1500);
    EXPECT_EQ(CDataCard::getSetTMin(1), 1489);
    EXPECT_EQ(CDataCard::getSetTMax(1), 4500);
    EXPECT_EQ(CDataCard::getStandbyTMin(0), 1500);
    EXPECT_EQ(CDataCard::getStandbyTMax(1), 3017);
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
    // In: unit, locked, SysPar flags, a temperature for all set and standby
    // fields, energy level, fixed count, index, standby and shutdown time, a
    // switch (fixed mode, wake-up), ToolPar flags. Out: the same fields, with
    // set and standby temperature apart.
    const std::vector<uint32_t> aCase[][2] = {
        {{1, 0, 3, 1480, 0, 2, 2, 0, 0, 0, 0x38001B},
         {1, 0, 3, 1500, 1500, 1, 2, 1, 0, 0, 0, 0x38001B}},
        {{1, 9, 2, 3010, 2, 3, 2, 5, 5, 2, 0x003804}, {1, 1, 2, 3010, 3000, 2, 3, 2, 5, 10, 1, 0}},
        {{1, 255, 0x1F, 4600, 3, 3, 3, 60, 9, 0, ~0u},
         {1, 1, 3, 4500, 3000, 3, 3, 2, 60, 10, 0, 0x3FC7FB}},
        {{0, 0, 4, 0xF830, 4, 9, 0, 61, 10, 255, 0x40001F},
         {1, 0, 0, 1500, 1500, 3, 3, 0, 60, 10, 1, 0x1B}},
        {{2, 1, ~0u, 1480, 255, 1, 5, 255, 240, 1, 0},
         {2, 1, 3, 1489, 1489, 3, 1, 0, 60, 240, 1, 0}},
        {{3, 0, 0, 3100, 3, 0, 255, 0, 241, 7, 0}, {2, 0, 0, 3100, 3017, 3, 1, 0, 0, 240, 1, 0}},
        {{7, 0, 0, 0x7FFF, 3, 3, 1, 5, 10, 1, 0}, {2, 0, 0, 4500, 3017, 3, 3, 1, 5, 10, 1, 0}}};
    for (const auto& c : aCase)
    {
        const std::vector<uint32_t>& i = c[0];
        Pair p;
        SysPar& s = p.sys;
        ToolPar& t = p.tool;
        s.cType = s.cLength = s.cVersion = t.cType = t.cLength = t.cVersion = 3;
        s.cUnit = uint8_t(i[0]), s.cLocked = uint8_t(i[1]), s.nUpdateFlag = i[2];
        s.nEntityNo = 500;
        s.acPassword[3] = s.acSerialNumber[15] = 7;
        const SysPar before = s;
        t.nVarSetT100mC = t.nVarStandbyT100mC = int16_t(i[3]);
        t.cVarEnergy = uint8_t(i[4]);
        t.nVarCalT100mK = -55;
        for (int n = 0; n < 3; ++n)
        {
            t.anFixSetT100mC[n] = t.anFixStandbyT100mC[n] = int16_t(i[3]);
            t.acFixEnergy[n] = uint8_t(i[4]);
            t.anFixCalT100mK[n] = int16_t(100 * (n + 1));
        }
        t.cFixCnt = uint8_t(i[5]), t.cFixActualIdx = uint8_t(i[6]);
        t.cStandbyTmMin = uint8_t(i[7]), t.cShutdownTmMin = uint8_t(i[8]);
        t.cFixEnabled = t.cWakeup = uint8_t(i[9]);
        t.nUpdateFlag = i[10];
        p.check();
        EXPECT_EQ((std::vector<uint32_t>{s.cUnit, s.cLocked, s.nUpdateFlag,
                                         uint32_t(t.nVarSetT100mC), uint32_t(t.nVarStandbyT100mC),
                                         t.cVarEnergy, t.cFixCnt, t.cFixActualIdx, t.cStandbyTmMin,
                                         t.cShutdownTmMin, t.cFixEnabled, t.nUpdateFlag}),
                  c[1])
            << i[0] << " " << int16_t(i[3]);
        EXPECT_EQ((std::vector<int>{s.cType, s.cLength, s.cVersion, s.nEntityNo, t.cType, t.cLength,
                                    t.cVersion, t.cWakeup, t.nVarCalT100mK}),
                  (std::vector<int>{0x61, 45, 1, 1, 0x62, 43, 1, int(c[1][10]), 0}));
        EXPECT_EQ(std::memcmp(s.acPassword, before.acPassword, 32), 0);
        for (int n = 0; n < 3; ++n)
            EXPECT_EQ((std::vector<uint32_t>{uint32_t(t.anFixSetT100mC[n]),
                                             uint32_t(t.anFixStandbyT100mC[n]), t.acFixEnergy[n],
                                             uint32_t(t.anFixCalT100mK[n])}),
                      (std::vector<uint32_t>{c[1][3], c[1][4], c[1][5], 0}));
        EXPECT_TRUE(ref::crcHolds(s) && ref::crcHolds(t));
    }
}
