// The card image: building it, reading the records back, and damaged,
// foreign or hostile sectors, which must read as "no records" without a
// look outside the sector.
#include "CAssertRecorder.h"
#include "CDataCard.h"
#include "DataCardReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

namespace
{
using Bytes = std::vector<uint8_t>;

Bytes imageBytes(const CDataCard& rCard, size_t nFrom = 0, size_t nTo = CDataCard::kImageSize)
{
    return Bytes(rCard.getImage() + nFrom, rCard.getImage() + nTo);
}

// A framed record: type, length, version 1, filler, CRC.
Bytes record(uint8_t cType, size_t nLength, uint8_t cFill = 0)
{
    Bytes ac(nLength, cFill);
    ac[0] = cType;
    ac[1] = static_cast<uint8_t>(nLength);
    ac[2] = 1;
    ref::close(ac.data(), nLength);
    return ac;
}

Bytes chain(std::initializer_list<Bytes> aRecords)
{
    Bytes ac;
    for (const Bytes& r : aRecords)
        ac.insert(ac.end(), r.begin(), r.end());
    return ac;
}

struct Card
{
    std::unique_ptr<CDataCard> pCard = std::make_unique<CDataCard>();
    SysPar sys;
    ToolPar tool;
    Card() { CDataCard::setDefaultPar(sys, tool); }
    Bytes payload() const { return ref::payload(sys, tool); }
    bool read(uint32_t nSector = 0)
    {
        SysPar sysOut;
        ToolPar toolOut;
        return pCard->readPar(sysOut, toolOut, nSector);
    }
    // Lays acPayload into sector nSector (earlier sectors get a terminator)
    // and reads it back.
    bool read(const Bytes& acPayload, uint32_t nSector = 0)
    {
        const Bytes acOther = record(0x00, 4);
        for (uint32_t n = 0; n < nSector; ++n)
            pCard->addSector(acOther.data(), static_cast<uint32_t>(acOther.size()));
        EXPECT_TRUE(pCard->addSector(acPayload.data(), static_cast<uint32_t>(acPayload.size())));
        pCard->buildFile();
        return read(nSector);
    }
};
} // namespace

TEST(DataCardImage, DefaultPayloadSeedAndFirstBytes)
{
    Card c;
    const Bytes acPayload = c.payload();
    ASSERT_EQ(acPayload.size(), CDataCard::kParPayloadLength);
    EXPECT_EQ(acPayload[41] | acPayload[42] << 8, 0x94C6);
    EXPECT_EQ(CDataCard::crc16(acPayload.data(), acPayload.size()), 0x24FF);
    ASSERT_TRUE(c.pCard->buildWrite(c.sys, c.tool));
    EXPECT_EQ(imageBytes(*c.pCard, 0, 8), (Bytes{0xf6, 0x34, 0x86, 0x3a, 0x8d, 0x07, 0x35, 0x61}));
}

TEST(DataCardImage, FillerMatchesOneDrawAtATime)
{
    for (uint32_t nSeed : {0u, 1u, 0x24FFu, 0xFFFFFFFFu})
        for (size_t nLength : {0, 1, 31, 32, 33, 65, 4099})
        {
            Bytes ac(nLength + 1, 0xA5);
            CDataCard::fillFiller(ac.data(), nLength, nSeed);
            Bytes acRef = ref::filler(nSeed, nLength);
            acRef.push_back(0xA5); // nothing written past the end
            EXPECT_EQ(ac, acRef) << "seed " << nSeed << " length " << nLength;
        }
}

TEST(DataCardImage, RandomRecordsRoundTripAndBuildDeterministically)
{
    std::mt19937 gen(20261206);
    Card c, other;
    for (int nRound = 0; nRound < 40; ++nRound)
    {
        SCOPED_TRACE(nRound);
        ref::randomize(c.sys, gen);
        ref::randomize(c.tool, gen);
        c.sys.cType = 0x61;
        c.sys.cLength = sizeof(SysPar);
        c.tool.cType = 0x62;
        c.tool.cLength = sizeof(ToolPar);
        ref::close(reinterpret_cast<uint8_t*>(&c.sys), sizeof(SysPar));
        ref::close(reinterpret_cast<uint8_t*>(&c.tool), sizeof(ToolPar));

        ASSERT_TRUE(c.pCard->buildWrite(c.sys, c.tool));
        ASSERT_TRUE(other.pCard->buildWrite(c.sys, c.tool));
        ASSERT_TRUE(imageBytes(*c.pCard) == imageBytes(*other.pCard));
        const Bytes acRef = ref::image(c.payload());
        ASSERT_TRUE(imageBytes(*c.pCard) == acRef);

        SysPar sysOut;
        ToolPar toolOut;
        ASSERT_TRUE(c.pCard->readPar(sysOut, toolOut, 0));
        EXPECT_EQ(ref::bytes(sysOut), ref::bytes(c.sys));
        EXPECT_EQ(ref::bytes(toolOut), ref::bytes(c.tool));
        // The payload now opens its sector; the other sectors are untouched.
        EXPECT_EQ(imageBytes(*c.pCard, 0, CDataCard::kParPayloadLength), c.payload());
        EXPECT_TRUE(imageBytes(*c.pCard, 512) == Bytes(acRef.begin() + 512, acRef.end()));
    }
}

TEST(DataCardDamage, EveryPayloadByteCountsAndNothingElse)
{
    Card c;
    ASSERT_TRUE(c.pCard->buildWrite(c.sys, c.tool));
    const Bytes acGood = imageBytes(*c.pCard, 0, 512);
    const std::vector<uint32_t> anPos = ref::positions();
    std::set<uint32_t> used;
    for (size_t i = 0; i < CDataCard::kParPayloadLength; ++i)
    {
        used.insert({anPos[i], ref::plus111(anPos[i]), ref::minus111(anPos[i])});
        for (uint32_t nAt : {anPos[i], ref::plus111(anPos[i]), ref::minus111(anPos[i])})
            for (int nBit = 0; nBit < 8; ++nBit)
            {
                std::copy(acGood.begin(), acGood.end(), c.pCard->getImage());
                c.pCard->getImage()[nAt] ^= static_cast<uint8_t>(1u << nBit);
                EXPECT_FALSE(c.read()) << "payload byte " << i << " at " << nAt << " bit " << nBit;
            }
    }
    // Scribbling over every other byte of the sector changes nothing.
    std::copy(acGood.begin(), acGood.end(), c.pCard->getImage());
    for (uint32_t i = 0; i < 512; ++i)
        if (!used.count(i))
            c.pCard->getImage()[i] = static_cast<uint8_t>(i * 7 + 3);
    SysPar sysOut;
    ToolPar toolOut;
    ASSERT_TRUE(c.pCard->readPar(sysOut, toolOut, 0));
    EXPECT_EQ(ref::bytes(sysOut), ref::bytes(c.sys));
    EXPECT_EQ(ref::bytes(toolOut), ref::bytes(c.tool));
}

TEST(DataCardDamage, ChainsOfRecords)
{
    const Card c;
    const Bytes acSys = ref::bytes(c.sys), acTool = ref::bytes(c.tool);
    const Bytes acHead = record(0x60, 43), acEnd = record(0x00, 4);
    Bytes acBadEnd = acEnd, acBadHead = acHead;
    acBadEnd[3] ^= 1;
    acBadHead[20] = 7;
    const Bytes acFront = chain({acHead, acSys, acTool});
    // A record whose length runs past the 256 payload bytes.
    Bytes acOverrun = chain({acFront, record(0x64, 40)});
    acOverrun[acFront.size() + 1] = 200;
    const struct
    {
        const char* pszName;
        Bytes acPayload;
        bool bRead;
    } aCase[] = {
        {"plain", chain({acHead, acSys, acTool, acEnd}), true},
        {"reversed order", chain({acHead, acTool, acSys, acEnd}), true},
        {"other data passed over", chain({acHead, record(0x64, 30), acSys, acTool, acEnd}), true},
        {"second header passed over", chain({acHead, acSys, acHead, acTool, acEnd}), true},
        {"unknown type ends the chain", chain({acHead, acSys, acTool, record(0x70, 6)}), true},
        {"longer records copied in part",
         chain({acHead, record(0x61, 60, 0x11), record(0x62, 50, 0x22), acEnd}), true},
        {"no header", chain({acSys, acTool, acEnd}), false},
        {"header with a wrong CRC", chain({acBadHead, acSys, acTool, acEnd}), false},
        {"SysPar missing", chain({acHead, acTool, acEnd}), false},
        {"ToolPar missing", chain({acHead, acSys, acEnd}), false},
        {"terminator with a wrong CRC", chain({acHead, acSys, acTool, acBadEnd}), false},
        {"record length 0", chain({acHead, acSys, acTool, Bytes{0x64, 0, 0, 0}}), false},
        {"record length 1", chain({acHead, acSys, acTool, Bytes{0x64, 1, 0, 0}}), false},
        {"length 0 before the records", chain({acHead, Bytes{0x64, 0}, acSys, acTool}), false},
        {"SysPar too short to copy", chain({acHead, record(0x61, 20), acTool, acEnd}), false},
        {"ToolPar too short to copy", chain({acHead, acSys, record(0x62, 30), acEnd}), false},
        // Records never reach past the gathered payload.
        {"other data to the last payload byte, no terminator",
         chain({acFront, record(0x64, 256 - acFront.size())}), false},
        {"record length past the payload", acOverrun, false},
        {"largest length near the payload's end",
         chain({acFront, record(0x64, 256 - acFront.size() - 4), Bytes{0x64, 255, 0, 0}}), false},
    };
    for (uint32_t nSector : {0u, 2047u})
        for (const auto& rCase : aCase)
        {
            ASSERT_LE(rCase.acPayload.size(), 256u);
            EXPECT_EQ(Card().read(rCase.acPayload, nSector), rCase.bRead)
                << rCase.pszName << ", sector " << nSector;
        }

    // A second SysPar asserts, and the later one wins.
    Card d;
    SysPar sysSecond = d.sys;
    sysSecond.cUnit = 2;
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&sysSecond), sizeof sysSecond);
    const Bytes acTwice = chain({acHead, acSys, acTool, ref::bytes(sysSecond), acEnd});
    ASSERT_TRUE(d.pCard->addSector(acTwice.data(), static_cast<uint32_t>(acTwice.size())));
    d.pCard->buildFile();
    CAssertRecorder asserts;
    EXPECT_TRUE(d.pCard->readPar(d.sys, d.tool, 0));
    EXPECT_EQ(asserts.getAsserts(), std::vector<wxString>{"bSysPar == false"});
    EXPECT_EQ(d.sys.cUnit, 2);
}

namespace
{
// Where each byte of an unscrambled sector comes from: the payload index
// whose value ends up there (the upper half holds leftover copies).
std::vector<size_t> sourceMap(const std::vector<uint32_t>& anPos)
{
    std::vector<size_t> an(512);
    for (size_t j = 0; j < 512; ++j)
    {
        const uint32_t nPos = static_cast<uint32_t>(j % 2 ? j : j - 255);
        an[j] = j < 256 ? j : std::find(anPos.begin(), anPos.end(), nPos) - anPos.begin();
    }
    return an;
}

Bytes unscrambled(const Bytes& acPayload, const std::vector<size_t>& anSource)
{
    Bytes ac(512);
    for (size_t j = 0; j < 512; ++j)
        ac[j] = acPayload[anSource[j]];
    return ac;
}
} // namespace

TEST(DataCardDamage, ValidLookingChainInTheLeftoversIsNotFollowed)
{
    // A payload whose unscrambled sector holds a header and a record that
    // runs into the leftovers with a CRC that holds, followed by a record
    // claiming 255 bytes from beyond offset 256: a walk that trusted the
    // leftovers would read past the end of the last sector of the image.
    const std::vector<uint32_t> anPos = ref::positions();
    const std::vector<size_t> anSource = sourceMap(anPos);
    const Bytes acHeader = record(0x60, 43);
    bool bCrafted = false;
    for (size_t nLength = 214; nLength < 256 && !bCrafted; ++nLength)
    {
        const size_t nNext = 43 + nLength;
        if (nNext + 255 <= 512)
            continue;
        Bytes acPayload(256, 0x33);
        std::copy(acHeader.begin(), acHeader.end(), acPayload.begin());
        acPayload[43] = 0x64;
        acPayload[44] = static_cast<uint8_t>(nLength);
        const size_t anTaken[] = {anSource[nNext], anSource[nNext + 1], anSource[nNext - 2],
                                  anSource[nNext - 1]};
        if (std::set<size_t>(std::begin(anTaken), std::end(anTaken)).size() != 4 ||
            *std::min_element(std::begin(anTaken), std::end(anTaken)) < 45)
            continue;
        acPayload[anTaken[0]] = 0x64;
        acPayload[anTaken[1]] = 255;
        // The CRC bytes lie inside the range they protect: search for a
        // value that fits itself.
        for (uint32_t nTry = 0; nTry < 0x10000 && !bCrafted; ++nTry)
        {
            acPayload[anTaken[2]] = static_cast<uint8_t>(nTry);
            acPayload[anTaken[3]] = static_cast<uint8_t>(nTry >> 8);
            bCrafted =
                CDataCard::crc16(unscrambled(acPayload, anSource).data() + 43, nLength - 2) == nTry;
        }
        if (!bCrafted)
            continue;

        auto pCard = std::make_unique<CDataCard>();
        uint8_t* pLast = pCard->getImage() + CDataCard::kImageSize - 512;
        for (size_t i = 0; i < 256; ++i)
            pLast[anPos[i]] = acPayload[i];
        SysPar sys;
        ToolPar tool;
        EXPECT_FALSE(pCard->readPar(sys, tool, 2047)) << "record length " << nLength;
        // The sector really unscrambles to the crafted chain.
        EXPECT_EQ(Bytes(pLast, pLast + 512), unscrambled(acPayload, anSource));
        EXPECT_EQ(pLast[nNext], 0x64);
        EXPECT_EQ(pLast[nNext + 1], 255);
    }
    EXPECT_TRUE(bCrafted);
}

TEST(DataCardDamage, MisuseAssertsAndHarmsNothing)
{
    Card c;
    {
        CAssertRecorder asserts;
        // Records whose length bytes are wrong are not written, nor is an
        // oversized or missing sector payload.
        SysPar sysLong = c.sys;
        sysLong.cLength = 200;
        ToolPar toolShort = c.tool;
        toolShort.cLength = 0;
        EXPECT_FALSE(c.pCard->buildWrite(sysLong, c.tool));
        EXPECT_FALSE(c.pCard->buildWrite(c.sys, toolShort));
        const Bytes acLong(257, 0x60);
        EXPECT_FALSE(c.pCard->addSector(acLong.data(), 257));
        EXPECT_FALSE(c.pCard->addSector(nullptr, 4));
        EXPECT_EQ(asserts.getAsserts(), std::vector<wxString>(4, "false"));
        EXPECT_TRUE(imageBytes(*c.pCard) == Bytes(CDataCard::kImageSize, 0));
        EXPECT_FALSE(c.read()) << "zero image";
    }
    {
        // Nothing was left in the list: the next build lays out one sector only.
        CAssertRecorder asserts;
        ASSERT_TRUE(c.pCard->buildWrite(c.sys, c.tool));
        EXPECT_TRUE(imageBytes(*c.pCard) == ref::image(c.payload()));
        // Sectors beyond the image are neither read nor touched.
        for (uint32_t nSector : {2048u, 0xFFFFFFFFu})
            EXPECT_FALSE(c.read(nSector));
        EXPECT_EQ(asserts.getAsserts(), std::vector<wxString>(2, "nSector < 2048"));
        EXPECT_TRUE(imageBytes(*c.pCard) == ref::image(c.payload()));
        c.pCard->clearImage();
        EXPECT_TRUE(imageBytes(*c.pCard) == Bytes(CDataCard::kImageSize, 0));
    }
    // One list node more than the image has sectors: the last is dropped.
    CAssertRecorder asserts;
    c.pCard->buildFile();
    const Bytes acPayload = c.payload();
    for (uint32_t n = 0; n <= CDataCard::kSectorCount; ++n)
        ASSERT_TRUE(c.pCard->addSector(acPayload.data(), static_cast<uint32_t>(acPayload.size())));
    c.pCard->buildFile();
    EXPECT_EQ(asserts.getAsserts(),
              (std::vector<wxString>{"m_pHeadSector", "nOffset < (1 << 20)"}));
    for (uint32_t nSector : {0u, 1000u, 2047u})
        EXPECT_TRUE(c.read(nSector)) << nSector;
}
