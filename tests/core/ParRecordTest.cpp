// The record frame: CRC, defaults and the limits table.
#include "CDataCard.h"
#include "DataCardReference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

TEST(ParRecord, CrcMatchesTheBitwiseDefinition)
{
    const uint8_t acCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(CDataCard::crc16(acCheck, sizeof acCheck), 0x31C3);
    EXPECT_EQ(CDataCard::crc16(acCheck, 0), 0);

    std::mt19937 gen(16);
    std::uniform_int_distribution<int> byte(0, 255);
    for (size_t nLength = 1; nLength < 300; nLength += 7)
    {
        std::vector<uint8_t> ac(nLength);
        for (uint8_t& c : ac)
            c = static_cast<uint8_t>(byte(gen));
        EXPECT_EQ(CDataCard::crc16(ac.data(), nLength), ref::crc(ac.data(), nLength));
    }
}

TEST(ParRecord, SetCrcClosesRecordsOfAnyLength)
{
    // Header and terminator of the card payload.
    uint8_t acHeader[43] = {0x60, 43, 1};
    CDataCard::setCrc(acHeader, 43);
    EXPECT_EQ(acHeader[41], 0xc6);
    EXPECT_EQ(acHeader[42], 0x94);
    uint8_t acEnd[4] = {0x00, 0x04, 0xAA, 0xAA};
    CDataCard::setCrc(acEnd, 4);
    const uint8_t acEndExpected[4] = {0x00, 0x04, 0x84, 0x40};
    EXPECT_EQ(std::memcmp(acEnd, acEndExpected, 4), 0);

    // Low byte first, only the last two bytes written.
    for (uint8_t cLength : {uint8_t(2), uint8_t(3), uint8_t(45), uint8_t(255)})
    {
        std::vector<uint8_t> ac(cLength + 1u, 0x5C);
        for (size_t i = 0; i + 2 < cLength; ++i)
            ac[i] = static_cast<uint8_t>(i * 31);
        CDataCard::setCrc(ac.data(), cLength);
        const uint16_t nCrc = ref::crc(ac.data(), cLength - 2u);
        EXPECT_EQ(ac[cLength - 2], nCrc & 0xFF) << int(cLength);
        EXPECT_EQ(ac[cLength - 1], nCrc >> 8) << int(cLength);
        EXPECT_EQ(ac[cLength], 0x5C) << "wrote past the record";
    }
}

TEST(ParRecord, DefaultSysParBytes)
{
    SysPar sys;
    ToolPar tool;
    std::memset(&sys, 0xA5, sizeof sys);
    std::memset(&tool, 0xA5, sizeof tool);
    CDataCard::setDefaultPar(sys, tool);

    std::vector<uint8_t> acExpected = {0x61, 0x2d, 0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00};
    acExpected.resize(acExpected.size() + 32, 0);
    for (uint8_t c : {0x01, 0x00, 0x3a, 0x88})
        acExpected.push_back(c);
    ASSERT_EQ(acExpected.size(), sizeof(SysPar));
    EXPECT_EQ(std::memcmp(&sys, acExpected.data(), sizeof sys), 0);
    EXPECT_EQ(sys.nCrc, 0x883A);
}

TEST(ParRecord, DefaultToolParFields)
{
    SysPar sys;
    ToolPar tool;
    std::memset(&tool, 0xA5, sizeof tool);
    CDataCard::setDefaultPar(sys, tool);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&tool);

    EXPECT_EQ(p[0], 0x62);
    EXPECT_EQ(p[1], 43);
    EXPECT_EQ(p[2], 1);
    // Little-endian fields at their offsets.
    auto u16 = [p](size_t n) { return static_cast<uint16_t>(p[n] | (p[n + 1] << 8)); };
    EXPECT_EQ(u16(3) | (u16(5) << 16), 0x0038001Bu);
    EXPECT_EQ(u16(7), 3600);
    EXPECT_EQ(u16(9), 2500);
    EXPECT_EQ(u16(11), 0);
    EXPECT_EQ(p[13], 3);
    EXPECT_EQ(p[14], 0);
    const uint16_t anSet[3] = {3200, 3600, 4000};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(u16(15 + 2 * i), anSet[i]);
        EXPECT_EQ(u16(21 + 2 * i), 2500);
        EXPECT_EQ(u16(27 + 2 * i), 0);
        EXPECT_EQ(p[33 + i], 3);
    }
    EXPECT_EQ(p[36], 3);
    EXPECT_EQ(p[37], 1);
    EXPECT_EQ(p[38], 1);
    EXPECT_EQ(p[39], 5);
    EXPECT_EQ(p[40], 10);
    EXPECT_EQ(p[41], 0x24);
    EXPECT_EQ(p[42], 0x96);
    EXPECT_EQ(ref::crc(p, 41), 0x9624);
}

TEST(ParRecord, FahrenheitLimitsSitOnWholeDegrees)
{
    // 300 °F, 842 °F and 575 °F, next to the centigrade limits.
    EXPECT_EQ(CDataCard::toFahrenheit(CDataCard::getSetTMin(1)), 300);
    EXPECT_EQ(CDataCard::toFahrenheit(CDataCard::getSetTMax(1)), 842);
    EXPECT_EQ(CDataCard::toFahrenheit(CDataCard::getStandbyTMax(1)), 575);
    EXPECT_EQ(CDataCard::fromFahrenheit(300), CDataCard::getSetTMin(1));
    EXPECT_EQ(CDataCard::fromFahrenheit(575), CDataCard::getStandbyTMax(1));
    EXPECT_EQ(CDataCard::getSetTMax(0), CDataCard::getSetTMax(1));
    EXPECT_LT(CDataCard::getSetTMin(1), CDataCard::getSetTMin(0));
    EXPECT_GT(CDataCard::getStandbyTMax(1), CDataCard::getStandbyTMax(0));
}
