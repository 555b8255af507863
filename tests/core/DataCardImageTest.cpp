// Building the card image and reading the records back out of it.
#include "CDataCard.h"
#include "DataCardReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <set>

namespace
{
bool sameBytes(const void* p1, const void* p2, size_t n)
{
    return n == 0 || std::memcmp(p1, p2, n) == 0;
}

void defaults(SysPar& rSys, ToolPar& rTool)
{
    CDataCard::setDefaultPar(rSys, rTool);
}

// Any bytes at all, framed as the two records; readPar does not validate.
void randomPair(std::mt19937& rGen, SysPar& rSys, ToolPar& rTool)
{
    std::uniform_int_distribution<int> byte(0, 255);
    uint8_t* pSys = reinterpret_cast<uint8_t*>(&rSys);
    uint8_t* pTool = reinterpret_cast<uint8_t*>(&rTool);
    for (size_t i = 0; i < sizeof(SysPar); ++i)
        pSys[i] = static_cast<uint8_t>(byte(rGen));
    for (size_t i = 0; i < sizeof(ToolPar); ++i)
        pTool[i] = static_cast<uint8_t>(byte(rGen));
    rSys.cType = 0x61;
    rSys.cLength = sizeof(SysPar);
    rTool.cType = 0x62;
    rTool.cLength = sizeof(ToolPar);
    ref::close(pSys, sizeof(SysPar));
    ref::close(pTool, sizeof(ToolPar));
}
} // namespace

TEST(DataCardImage, FreshImageIsOneMebibyteOfZeros)
{
    auto pCard = std::make_unique<CDataCard>();
    const uint8_t* p = pCard->getImage();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(CDataCard::kImageSize, 1u << 20);
    EXPECT_TRUE(std::all_of(p, p + CDataCard::kImageSize, [](uint8_t c) { return c == 0; }));
}

TEST(DataCardImage, DefaultPayloadSeedAndFirstBytes)
{
    SysPar sys;
    ToolPar tool;
    defaults(sys, tool);
    const std::vector<uint8_t> acPayload = ref::payload(sys, tool);
    ASSERT_EQ(acPayload.size(), CDataCard::kParPayloadLength);
    EXPECT_EQ(acPayload.size(), 135u);
    EXPECT_EQ(acPayload[41], 0xc6);
    EXPECT_EQ(acPayload[42], 0x94);
    EXPECT_EQ(CDataCard::crc16(acPayload.data(), acPayload.size()), 0x24FF);

    auto pCard = std::make_unique<CDataCard>();
    ASSERT_TRUE(pCard->buildWrite(sys, tool));
    const uint8_t acStart[8] = {0xf6, 0x34, 0x86, 0x3a, 0x8d, 0x07, 0x35, 0x61};
    EXPECT_TRUE(sameBytes(pCard->getImage(), acStart, 8));
}

TEST(DataCardImage, OnlyTheUsedPayloadPositionsDifferFromFiller)
{
    SysPar sys;
    ToolPar tool;
    defaults(sys, tool);
    auto pCard = std::make_unique<CDataCard>();
    ASSERT_TRUE(pCard->buildWrite(sys, tool));

    const std::vector<uint8_t> acPayload = ref::payload(sys, tool);
    const std::vector<uint8_t> acFiller = ref::filler(ref::crc(acPayload.data(), acPayload.size()));
    const std::vector<uint32_t> anPos = ref::positions();
    const std::set<uint32_t> used(anPos.begin(), anPos.begin() + acPayload.size());

    const uint8_t* pImage = pCard->getImage();
    size_t nDiffering = 0;
    for (size_t i = 0; i < CDataCard::kImageSize; ++i)
    {
        if (pImage[i] == acFiller[i])
            continue;
        ++nDiffering;
        ASSERT_TRUE(i < 512 && used.count(static_cast<uint32_t>(i))) << "offset " << i;
    }
    // A few payload positions may coincide with their filler by chance.
    EXPECT_GT(nDiffering, acPayload.size() * 9 / 10);
}

TEST(DataCardImage, PositionSequenceVisitsEveryOddOffsetOnce)
{
    const std::vector<uint32_t> anRef = ref::positions();
    const uint32_t anStart[12] = {193, 483, 261, 39, 329, 107, 397, 175, 465, 243, 21, 311};
    std::set<uint32_t> seen;
    for (uint32_t i = 0; i < 256; ++i)
    {
        const uint32_t nPos = CDataCard::payloadPosition(i);
        EXPECT_EQ(nPos, anRef[i]) << "index " << i;
        EXPECT_EQ(nPos % 2, 1u);
        EXPECT_EQ(ref::plus111(nPos) % 2, 0u);
        EXPECT_EQ(ref::minus111(nPos) % 2, 0u);
        seen.insert(nPos);
        if (i < 12)
        {
            EXPECT_EQ(nPos, anStart[i]);
        }
    }
    EXPECT_EQ(seen.size(), 256u);
}

TEST(DataCardImage, FillerMatchesOneDrawAtATimeForAnyLengthAndSeed)
{
    const uint32_t anSeed[] = {0, 1, 0x24FF, 0xFFFF, 0x12345678u, 0xFFFFFFFFu};
    const size_t anLength[] = {0, 1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 1000, 4099};
    for (uint32_t nSeed : anSeed)
        for (size_t nLength : anLength)
        {
            std::vector<uint8_t> ac(nLength + 1, 0xA5);
            CDataCard::fillFiller(ac.data(), nLength, nSeed);
            const std::vector<uint8_t> acRef = ref::filler(nSeed, nLength);
            EXPECT_TRUE(sameBytes(ac.data(), acRef.data(), nLength))
                << "seed " << nSeed << " length " << nLength;
            EXPECT_EQ(ac[nLength], 0xA5) << "wrote past the end, length " << nLength;
        }
}

TEST(DataCardImage, RandomRecordsRoundTripAndBuildDeterministically)
{
    std::mt19937 gen(20261206);
    auto pCard = std::make_unique<CDataCard>();
    auto pOther = std::make_unique<CDataCard>();
    for (int nRound = 0; nRound < 40; ++nRound)
    {
        SysPar sys;
        ToolPar tool;
        randomPair(gen, sys, tool);

        ASSERT_TRUE(pCard->buildWrite(sys, tool));
        ASSERT_TRUE(pOther->buildWrite(sys, tool));
        ASSERT_TRUE(sameBytes(pCard->getImage(), pOther->getImage(), CDataCard::kImageSize));
        if (nRound < 4)
        {
            const std::vector<uint8_t> acRef = ref::image(ref::payload(sys, tool));
            ASSERT_TRUE(sameBytes(pCard->getImage(), acRef.data(), acRef.size()));
        }

        SysPar sysOut;
        ToolPar toolOut;
        std::memset(&sysOut, 0xEE, sizeof sysOut);
        std::memset(&toolOut, 0xEE, sizeof toolOut);
        ASSERT_TRUE(pCard->readPar(sysOut, toolOut, 0)) << "round " << nRound;
        EXPECT_TRUE(sameBytes(&sysOut, &sys, sizeof sys));
        EXPECT_TRUE(sameBytes(&toolOut, &tool, sizeof tool));
    }
}

TEST(DataCardImage, ReadingUnscramblesOnlyItsOwnSector)
{
    SysPar sys;
    ToolPar tool;
    defaults(sys, tool);
    auto pCard = std::make_unique<CDataCard>();
    ASSERT_TRUE(pCard->buildWrite(sys, tool));
    std::vector<uint8_t> acBefore(pCard->getImage(), pCard->getImage() + CDataCard::kImageSize);

    ASSERT_TRUE(pCard->readPar(sys, tool, 0));
    const uint8_t* p = pCard->getImage();
    EXPECT_TRUE(sameBytes(p + 512, acBefore.data() + 512, CDataCard::kImageSize - 512));
    // The payload now opens the sector, in laid-out order.
    const std::vector<uint8_t> acPayload = ref::payload(sys, tool);
    EXPECT_TRUE(sameBytes(p, acPayload.data(), acPayload.size()));
}

TEST(DataCardImage, PayloadByteDependsOnlyOnItsThreeStoredBytes)
{
    SysPar sys;
    ToolPar tool;
    defaults(sys, tool);
    auto pCard = std::make_unique<CDataCard>();
    ASSERT_TRUE(pCard->buildWrite(sys, tool));

    // Scribble over every byte of sector 0 that is neither a used payload
    // position nor one of its partners: the records still read back.
    const std::vector<uint32_t> anPos = ref::positions();
    std::set<uint32_t> keep;
    for (size_t i = 0; i < CDataCard::kParPayloadLength; ++i)
    {
        keep.insert(anPos[i]);
        keep.insert(ref::plus111(anPos[i]));
        keep.insert(ref::minus111(anPos[i]));
    }
    uint8_t* pImage = pCard->getImage();
    for (uint32_t i = 0; i < 512; ++i)
        if (!keep.count(i))
            pImage[i] = static_cast<uint8_t>(i * 7 + 3);

    SysPar sysOut;
    ToolPar toolOut;
    ASSERT_TRUE(pCard->readPar(sysOut, toolOut, 0));
    EXPECT_TRUE(sameBytes(&sysOut, &sys, sizeof sys));
    EXPECT_TRUE(sameBytes(&toolOut, &tool, sizeof tool));
}

TEST(DataCardImage, ClearImageZeroesEverything)
{
    SysPar sys;
    ToolPar tool;
    defaults(sys, tool);
    auto pCard = std::make_unique<CDataCard>();
    ASSERT_TRUE(pCard->buildWrite(sys, tool));
    pCard->clearImage();
    const uint8_t* p = pCard->getImage();
    EXPECT_TRUE(std::all_of(p, p + CDataCard::kImageSize, [](uint8_t c) { return c == 0; }));
}
