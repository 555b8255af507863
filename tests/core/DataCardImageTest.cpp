// The card image: built as the layout says, read back, and damaged, foreign
// or hostile sectors read as "no records" without a look outside the sector.
#include "CAssertRecorder.h"
#include "CDataCard.h"
#include "DataCardReference.h"

#include <gtest/gtest.h>

#include <memory>

using ref::Bytes;
using ref::chain;
using ref::record;

namespace
{
struct Card : ref::Pair
{
    std::unique_ptr<CDataCard> p = std::make_unique<CDataCard>();
    Bytes payload() const { return ref::payload(sys, tool); }
    Bytes image(size_t nFrom = 0, size_t nTo = CDataCard::kImageSize) const
    {
        return Bytes(p->getImage() + nFrom, p->getImage() + nTo);
    }
    bool read(uint32_t nSector = 0)
    {
        ref::Pair q; // the records read, unused
        return p->readPar(q.sys, q.tool, nSector);
    }
    // Lays acPayload into sector nSector behind terminators and reads it.
    bool read(const Bytes& acPayload, uint32_t nSector)
    {
        for (uint32_t n = 0; n < nSector; ++n)
            p->addSector(record(0x00, 4).data(), 4);
        EXPECT_TRUE(p->addSector(acPayload.data(), static_cast<uint32_t>(acPayload.size())));
        p->buildFile();
        return read(nSector);
    }
};
} // namespace

TEST(DataCardImage, FillerMatchesOneDrawAtATime)
{
    for (uint32_t nSeed : {0u, 0x24FFu, 0xFFFFFFFFu})
        for (size_t nLength : {0, 31, 32, 33, 65})
        {
            Bytes ac(nLength + 1, 0xA5), acRef = ref::filler(nSeed, nLength);
            CDataCard::fillFiller(ac.data(), nLength, nSeed);
            acRef.push_back(0xA5); // nothing written past the end
            EXPECT_EQ(ac, acRef) << nSeed << " " << nLength;
        }
}

TEST(DataCardImage, RandomRecordsRoundTrip)
{
    std::mt19937 gen(20261206);
    Card c;
    for (int nRound = 0; nRound < 10; ++nRound)
    {
        ref::randomize(static_cast<ref::Pair&>(c), gen);
        c.sys.cLength = sizeof(SysPar);
        c.tool.cLength = sizeof(ToolPar);
        c.sys.cType = 0x61, c.tool.cType = 0x62;
        ref::close(reinterpret_cast<uint8_t*>(&c.sys), sizeof(SysPar));
        ref::close(reinterpret_cast<uint8_t*>(&c.tool), sizeof(ToolPar));
        ASSERT_TRUE(c.p->buildWrite(c.sys, c.tool));
        const Bytes acRef = ref::image(c.payload());
        ASSERT_TRUE(c.image() == acRef) << nRound;
        SysPar s;
        ToolPar t;
        ASSERT_TRUE(c.p->readPar(s, t, 0));
        EXPECT_EQ(ref::bytes(s), ref::bytes(c.sys));
        EXPECT_EQ(ref::bytes(t), ref::bytes(c.tool));
        // The payload now opens its sector; the other sectors are untouched.
        EXPECT_EQ(c.image(0, CDataCard::kParPayloadLength), c.payload());
        EXPECT_TRUE(c.image(512) == Bytes(acRef.begin() + 512, acRef.end()));
    }
}

TEST(DataCardImage, ChainsOfRecords)
{
    const Card c;
    const Bytes acSys = ref::bytes(c.sys), acTool = ref::bytes(c.tool);
    const Bytes acHead = record(0x60, 43), acEnd = record(0x00, 4);
    Bytes acBadEnd = acEnd, acBadHead = acHead;
    acBadEnd[3] ^= 1;
    acBadHead[20] = 7;
    const Bytes acFront = chain({acHead, acSys, acTool});
    Bytes acOverrun = chain({acFront, record(0x64, 40)});
    acOverrun[acFront.size() + 1] = 200;
    const std::pair<Bytes, bool> aCase[] = {
        {chain({acHead, acTool, acSys, acEnd}), true},
        {chain({acHead, record(0x64, 30), acSys, acHead, acTool, acEnd}), true},
        {chain({acFront, record(0x70, 6)}), true}, // an unknown type ends the chain
        {chain({acHead, record(0x61, 60, 0x11), record(0x62, 50, 0x22), acEnd}), true},
        {chain({acSys, acTool, acEnd}), false},
        {chain({acBadHead, acSys, acTool, acEnd}), false},
        {chain({acHead, acTool, acEnd}), false},
        {chain({acHead, acSys, acEnd}), false},
        {chain({acFront, acBadEnd}), false},
        {chain({acFront, Bytes{0x64, 1, 0, 0}}), false},
        {chain({acHead, record(0x61, 44), acTool, acEnd}), false},
        {chain({acHead, acSys, record(0x62, 42), acEnd}), false},
        // Records never reach past the gathered payload.
        {chain({acFront, record(0x64, 256 - acFront.size())}), false},
        {acOverrun, false},
        {chain({acFront, record(0x64, 256 - acFront.size() - 4), Bytes{0x64, 255, 0, 0}}), false},
    };
    for (uint32_t nSector : {0u, 2047u})
        for (size_t i = 0; i < std::size(aCase); ++i)
            EXPECT_EQ(Card().read(aCase[i].first, nSector), aCase[i].second)
                << "case " << i << ", sector " << nSector;
}

TEST(DataCardImage, MisuseAssertsAndHarmsNothing)
{
    Card c;
    CAssertRecorder asserts;
    SysPar sysLong = c.sys;
    ToolPar toolShort = c.tool;
    sysLong.cLength = 200;
    toolShort.cLength = 0;
    EXPECT_FALSE(c.p->buildWrite(sysLong, c.tool));
    EXPECT_FALSE(c.p->buildWrite(c.sys, toolShort));
    EXPECT_FALSE(c.p->addSector(Bytes(257).data(), 257));
    EXPECT_FALSE(c.p->addSector(nullptr, 4));
    EXPECT_TRUE(c.image() == Bytes(CDataCard::kImageSize, 0));
    // Nothing was left in the list: the next build lays out one sector only.
    ASSERT_TRUE(c.p->buildWrite(c.sys, c.tool));
    EXPECT_TRUE(c.image() == ref::image(c.payload()));
    EXPECT_FALSE(c.read(2048));
    EXPECT_TRUE(c.image() == ref::image(c.payload()));
    // One node more than the image has sectors: the last is dropped.
    c.p->buildFile();
    for (uint32_t n = 0; n <= CDataCard::kSectorCount; ++n)
        ASSERT_TRUE(c.p->addSector(c.payload().data(), CDataCard::kParPayloadLength));
    c.p->buildFile();
    EXPECT_TRUE(c.read(0) && c.read(2047));
    EXPECT_EQ(asserts.getAsserts(),
              (std::vector<wxString>{"false", "false", "false", "false", "nSector < 2048",
                                     "m_pHeadSector", "nOffset < (1 << 20)"}));
    c.p->clearImage();
    EXPECT_TRUE(c.image() == Bytes(CDataCard::kImageSize, 0));
}
