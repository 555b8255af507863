// Validation of records read from a settings file.
#include "CDataCard.h"
#include "DataCardReference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace
{
struct Pair
{
    SysPar sys;
    ToolPar tool;
    Pair() { CDataCard::setDefaultPar(sys, tool); }
    void check() { CDataCard::checkPar(sys, tool); }
};

bool crcHolds(const void* p, size_t n)
{
    const uint8_t* pc = static_cast<const uint8_t*>(p);
    return ref::crc(pc, n - 2) == (pc[n - 2] | (pc[n - 1] << 8));
}
} // namespace

TEST(ParCheck, DefaultsPassUnchanged)
{
    Pair a;
    Pair b;
    b.check();
    EXPECT_EQ(std::memcmp(&a.sys, &b.sys, sizeof(SysPar)), 0);
    EXPECT_EQ(std::memcmp(&a.tool, &b.tool, sizeof(ToolPar)), 0);
}

TEST(ParCheck, SystemRecordFields)
{
    const struct
    {
        uint8_t cUnit, cLocked;
        uint32_t nFlags;
        uint16_t nEntity;
        uint8_t cUnitOut, cLockedOut;
        uint32_t nFlagsOut;
    } aCase[] = {
        {0, 0, 0x03, 1, 1, 0, 0x03},   {1, 1, 0x01, 1, 1, 1, 0x01},
        {2, 9, 0x02, 7, 2, 1, 0x02},   {3, 255, 0x1F, 0, 2, 1, 0x03},
        {7, 0, 0x04, 500, 2, 0, 0x00}, {255, 1, 0xFFFFFFFF, 0xFFFF, 2, 1, 0x03},
    };
    for (const auto& c : aCase)
    {
        Pair p;
        p.sys.cType = 0;
        p.sys.cLength = 3;
        p.sys.cVersion = 9;
        p.sys.cUnit = c.cUnit;
        p.sys.cLocked = c.cLocked;
        p.sys.nUpdateFlag = c.nFlags;
        p.sys.nEntityNo = c.nEntity;
        for (int i = 0; i < 16; ++i)
        {
            p.sys.acPassword[i] = static_cast<uint8_t>(i + 1);
            p.sys.acSerialNumber[i] = static_cast<uint8_t>(0xF0 - i);
        }
        const SysPar before = p.sys;
        p.check();
        EXPECT_EQ(p.sys.cType, 0x61);
        EXPECT_EQ(p.sys.cLength, 45);
        EXPECT_EQ(p.sys.cVersion, 1);
        EXPECT_EQ(p.sys.cUnit, c.cUnitOut) << int(c.cUnit);
        EXPECT_EQ(p.sys.cLocked, c.cLockedOut) << int(c.cLocked);
        EXPECT_EQ(p.sys.nUpdateFlag, c.nFlagsOut) << c.nFlags;
        EXPECT_EQ(p.sys.nEntityNo, 1);
        EXPECT_EQ(std::memcmp(p.sys.acPassword, before.acPassword, 16), 0);
        EXPECT_EQ(std::memcmp(p.sys.acSerialNumber, before.acSerialNumber, 16), 0);
        EXPECT_TRUE(crcHolds(&p.sys, sizeof(SysPar)));
    }
}

TEST(ParCheck, TemperaturesClampedByTheUnitsRow)
{
    const struct
    {
        uint8_t cUnit;
        int16_t nIn;
        int16_t nSetOut, nStandbyOut;
    } aCase[] = {
        // centigrade row
        {1, 1480, 1500, 1500},
        {1, 1500, 1500, 1500},
        {1, 2500, 2500, 2500},
        {1, 3010, 3010, 3000},
        {1, 4600, 4500, 3000},
        {1, -2000, 1500, 1500},
        {0, 1480, 1500, 1500},
        // fahrenheit row, also for any unit above 2
        {2, 1480, 1489, 1489},
        {2, 1495, 1495, 1495},
        {2, 3010, 3010, 3010},
        {2, 3100, 3100, 3017},
        {7, 1480, 1489, 1489},
        {7, INT16_MAX, 4500, 3017},
        {7, INT16_MIN, 1489, 1489},
    };
    for (const auto& c : aCase)
    {
        Pair p;
        p.sys.cUnit = c.cUnit;
        p.tool.nVarSetT100mC = c.nIn;
        p.tool.nVarStandbyT100mC = c.nIn;
        for (int i = 0; i < 3; ++i)
        {
            p.tool.anFixSetT100mC[i] = c.nIn;
            p.tool.anFixStandbyT100mC[i] = c.nIn;
        }
        p.check();
        EXPECT_EQ(p.tool.nVarSetT100mC, c.nSetOut) << int(c.cUnit) << " " << c.nIn;
        EXPECT_EQ(p.tool.nVarStandbyT100mC, c.nStandbyOut) << int(c.cUnit) << " " << c.nIn;
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_EQ(p.tool.anFixSetT100mC[i], c.nSetOut) << i;
            EXPECT_EQ(p.tool.anFixStandbyT100mC[i], c.nStandbyOut) << i;
        }
    }
}

TEST(ParCheck, LevelsCountsAndIndex)
{
    const struct
    {
        uint8_t cLevel, cCnt, cIdx;
        uint8_t cLevelOut, cCntOut, cIdxOut;
    } aCase[] = {
        {0, 2, 2, 1, 2, 1}, {1, 0, 0, 1, 1, 0},   {2, 3, 2, 2, 3, 2}, {3, 3, 3, 3, 3, 2},
        {4, 9, 0, 3, 3, 0}, {255, 1, 5, 3, 1, 0}, {3, 2, 1, 3, 2, 1}, {3, 0, 255, 3, 1, 0},
    };
    for (const auto& c : aCase)
    {
        Pair p;
        p.tool.cVarEnergy = c.cLevel;
        for (int i = 0; i < 3; ++i)
            p.tool.acFixEnergy[i] = c.cLevel;
        p.tool.cFixCnt = c.cCnt;
        p.tool.cFixActualIdx = c.cIdx;
        p.check();
        EXPECT_EQ(p.tool.cVarEnergy, c.cLevelOut) << int(c.cLevel);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(p.tool.acFixEnergy[i], c.cLevelOut) << int(c.cLevel);
        EXPECT_EQ(p.tool.cFixCnt, c.cCntOut) << int(c.cCnt);
        EXPECT_EQ(p.tool.cFixActualIdx, c.cIdxOut) << int(c.cCnt) << "/" << int(c.cIdx);
    }
}

TEST(ParCheck, TimesAndSwitches)
{
    const struct
    {
        uint8_t cStandby, cShutdown, cSwitch;
        uint8_t cStandbyOut, cShutdownOut, cSwitchOut;
    } aCase[] = {
        {0, 0, 0, 0, 0, 0},       {1, 1, 1, 1, 10, 1},      {5, 5, 2, 5, 10, 1},
        {60, 9, 0, 60, 10, 0},    {61, 10, 255, 60, 10, 1}, {255, 240, 1, 60, 240, 1},
        {30, 241, 0, 30, 240, 0}, {30, 250, 0, 30, 240, 0}, {0, 255, 7, 0, 240, 1},
    };
    for (const auto& c : aCase)
    {
        Pair p;
        p.tool.cStandbyTmMin = c.cStandby;
        p.tool.cShutdownTmMin = c.cShutdown;
        p.tool.cFixEnabled = c.cSwitch;
        p.tool.cWakeup = c.cSwitch;
        p.check();
        EXPECT_EQ(p.tool.cStandbyTmMin, c.cStandbyOut) << int(c.cStandby);
        EXPECT_EQ(p.tool.cShutdownTmMin, c.cShutdownOut) << int(c.cShutdown);
        EXPECT_EQ(p.tool.cFixEnabled, c.cSwitchOut) << int(c.cSwitch);
        EXPECT_EQ(p.tool.cWakeup, c.cSwitchOut) << int(c.cSwitch);
    }
}

TEST(ParCheck, UpdateFlagsAndCalibration)
{
    const struct
    {
        uint32_t nIn, nOut;
    } aCase[] = {
        {0x0038001B, 0x0038001B}, {0x003FC7F0, 0x003FC7F0}, {0x00000004, 0x00000000},
        {0x00003800, 0x00000000}, {0xFFFFFFFF, 0x003FC7FB}, {0x0040001F, 0x0000001B},
    };
    for (const auto& c : aCase)
    {
        Pair p;
        p.tool.nUpdateFlag = c.nIn;
        p.tool.nVarCalT100mK = -55;
        for (int i = 0; i < 3; ++i)
            p.tool.anFixCalT100mK[i] = static_cast<int16_t>(100 * (i + 1));
        p.check();
        EXPECT_EQ(p.tool.nUpdateFlag, c.nOut) << std::hex << c.nIn;
        EXPECT_EQ(p.tool.nVarCalT100mK, 0);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(p.tool.anFixCalT100mK[i], 0);
    }
}

TEST(ParCheck, AnyRecordEndsValidAndStaysPut)
{
    std::mt19937 gen(1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int nRound = 0; nRound < 2000; ++nRound)
    {
        Pair p;
        uint8_t* pSys = reinterpret_cast<uint8_t*>(&p.sys);
        uint8_t* pTool = reinterpret_cast<uint8_t*>(&p.tool);
        for (size_t i = 0; i < sizeof(SysPar); ++i)
            pSys[i] = static_cast<uint8_t>(byte(gen));
        for (size_t i = 0; i < sizeof(ToolPar); ++i)
            pTool[i] = static_cast<uint8_t>(byte(gen));
        p.check();

        const SysPar& s = p.sys;
        const ToolPar& t = p.tool;
        ASSERT_TRUE(s.cUnit == 1 || s.cUnit == 2);
        const int nRow = s.cUnit == 1 ? 0 : 1;
        const ParLimitsRow& r = ParLimits[nRow];
        auto inSet = [&r](int16_t n) { return n >= r.nSetTMin100mC && n <= r.nSetTMax100mC; };
        auto inStandby = [&r](int16_t n)
        { return n >= r.nStandbyTMin100mC && n <= r.nStandbyTMax100mC; };
        ASSERT_TRUE(inSet(t.nVarSetT100mC));
        ASSERT_TRUE(inStandby(t.nVarStandbyT100mC));
        for (int i = 0; i < 3; ++i)
        {
            ASSERT_TRUE(inSet(t.anFixSetT100mC[i]));
            ASSERT_TRUE(inStandby(t.anFixStandbyT100mC[i]));
            ASSERT_GE(t.acFixEnergy[i], 1);
            ASSERT_LE(t.acFixEnergy[i], 3);
        }
        ASSERT_GE(t.cFixCnt, 1);
        ASSERT_LE(t.cFixCnt, 3);
        ASSERT_LT(t.cFixActualIdx, t.cFixCnt);
        ASSERT_TRUE(t.cStandbyTmMin <= 60);
        ASSERT_TRUE(t.cShutdownTmMin == 0 || (t.cShutdownTmMin >= 10 && t.cShutdownTmMin <= 240));
        ASSERT_EQ(s.nUpdateFlag & ~0x3u, 0u);
        ASSERT_EQ(t.nUpdateFlag & ~0x003FC7FBu, 0u);
        ASSERT_TRUE(crcHolds(&s, sizeof(SysPar)));
        ASSERT_TRUE(crcHolds(&t, sizeof(ToolPar)));

        // A valid record is a fixed point.
        Pair q = p;
        q.check();
        ASSERT_EQ(std::memcmp(&q.sys, &p.sys, sizeof(SysPar)), 0);
        ASSERT_EQ(std::memcmp(&q.tool, &p.tool, sizeof(ToolPar)), 0);
    }
}
