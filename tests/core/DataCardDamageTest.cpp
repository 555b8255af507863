// Damaged, foreign and hostile sector contents: readPar must say no, and
// must never look outside the sector it was given.
#include "CDataCard.h"
#include "DataCardAssert.h"
#include "DataCardReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

// A framed record: type, length, body (version first), CRC.
Bytes record(uint8_t cType, size_t nLength, uint8_t cFill = 0)
{
    Bytes ac(nLength, cFill);
    ac[0] = cType;
    ac[1] = static_cast<uint8_t>(nLength);
    if (nLength > 2)
        ac[2] = 1;
    if (nLength >= 2)
        ref::close(ac.data(), nLength);
    return ac;
}

Bytes header()
{
    return record(0x60, 43);
}

Bytes terminator()
{
    return record(0x00, 4);
}

Bytes asBytes(const void* p, size_t n)
{
    const uint8_t* pc = static_cast<const uint8_t*>(p);
    return Bytes(pc, pc + n);
}

Bytes chain(std::initializer_list<Bytes> aRecords)
{
    Bytes ac;
    for (const Bytes& r : aRecords)
        ac.insert(ac.end(), r.begin(), r.end());
    return ac;
}

struct Fixture
{
    std::unique_ptr<CDataCard> pCard = std::make_unique<CDataCard>();
    SysPar sys;
    ToolPar tool;
    Fixture() { CDataCard::setDefaultPar(sys, tool); }
    Bytes sysBytes() const { return asBytes(&sys, sizeof sys); }
    Bytes toolBytes() const { return asBytes(&tool, sizeof tool); }

    // Lays one payload into sector nSector (earlier sectors get a filler
    // payload) and reads it back.
    bool read(const Bytes& acPayload, uint32_t nSector = 0)
    {
        const Bytes acOther = terminator();
        for (uint32_t n = 0; n < nSector; ++n)
            pCard->addSector(acOther.data(), static_cast<uint32_t>(acOther.size()));
        EXPECT_TRUE(pCard->addSector(acPayload.data(), static_cast<uint32_t>(acPayload.size())));
        pCard->buildFile();
        SysPar sysOut;
        ToolPar toolOut;
        return pCard->readPar(sysOut, toolOut, nSector);
    }
};
} // namespace

TEST(DataCardDamage, ZeroImageFailsAtTheHeader)
{
    auto pCard = std::make_unique<CDataCard>();
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    const SysPar sysBefore = sys;
    EXPECT_FALSE(pCard->readPar(sys, tool, 0));
    EXPECT_EQ(std::memcmp(&sys, &sysBefore, sizeof sys), 0);
}

TEST(DataCardDamage, FlippedBitInAnyProtectedRecordByteIsDetected)
{
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    auto pCard = std::make_unique<CDataCard>();
    ASSERT_TRUE(pCard->buildWrite(sys, tool));
    const Bytes acGood(pCard->getImage(), pCard->getImage() + 512);

    // Every byte of both records but type and length, in each bit.
    std::vector<size_t> anIndex;
    for (size_t i = 43 + 2; i < 43 + sizeof(SysPar); ++i)
        anIndex.push_back(i);
    for (size_t i = 88 + 2; i < 88 + sizeof(ToolPar); ++i)
        anIndex.push_back(i);
    const std::vector<uint32_t> anPos = ref::positions();
    for (size_t nIndex : anIndex)
        for (int nBit = 0; nBit < 8; ++nBit)
        {
            std::memcpy(pCard->getImage(), acGood.data(), 512);
            pCard->getImage()[anPos[nIndex]] ^= static_cast<uint8_t>(1u << nBit);
            SysPar sysOut;
            ToolPar toolOut;
            EXPECT_FALSE(pCard->readPar(sysOut, toolOut, 0))
                << "payload byte " << nIndex << " bit " << nBit;
        }

    // The partners mask the payload byte just as well.
    for (uint32_t nPartner : {ref::plus111(anPos[50]), ref::minus111(anPos[100])})
    {
        std::memcpy(pCard->getImage(), acGood.data(), 512);
        pCard->getImage()[nPartner] ^= 0x10;
        SysPar sysOut;
        ToolPar toolOut;
        EXPECT_FALSE(pCard->readPar(sysOut, toolOut, 0)) << "partner " << nPartner;
    }
}

TEST(DataCardDamage, BrokenChainsAreRejected)
{
    Fixture f;
    const Bytes acSys = f.sysBytes();
    const Bytes acTool = f.toolBytes();
    Bytes acBadTerminator = terminator();
    acBadTerminator[3] ^= 1;
    Bytes acNoHeader = chain({acSys, acTool, terminator()});
    Bytes acBadHeader = header();
    acBadHeader[20] = 7;

    const struct
    {
        const char* pszName;
        Bytes acPayload;
    } aCase[] = {
        {"no header", acNoHeader},
        {"header with a wrong CRC", chain({acBadHeader, acSys, acTool, terminator()})},
        {"SysPar missing", chain({header(), acTool, terminator()})},
        {"ToolPar missing", chain({header(), acSys, terminator()})},
        {"terminator with a wrong CRC", chain({header(), acSys, acTool, acBadTerminator})},
        {"record length 0", chain({header(), acSys, acTool, Bytes{0x64, 0, 0, 0}})},
        {"record length 1", chain({header(), acSys, acTool, Bytes{0x64, 1, 0, 0}})},
        {"length 0 before the records", chain({header(), Bytes{0x64, 0}, acSys, acTool})},
        {"SysPar too short to copy", chain({header(), record(0x61, 20), acTool, terminator()})},
        {"ToolPar too short to copy", chain({header(), acSys, record(0x62, 30), terminator()})},
    };
    for (const auto& c : aCase)
    {
        Fixture g;
        EXPECT_FALSE(g.read(c.acPayload)) << c.pszName;
    }
}

TEST(DataCardDamage, ChainsThatStayWithinThePayloadAreRead)
{
    Fixture f;
    const Bytes acSys = f.sysBytes();
    const Bytes acTool = f.toolBytes();
    const struct
    {
        const char* pszName;
        Bytes acPayload;
    } aCase[] = {
        {"plain", chain({header(), acSys, acTool, terminator()})},
        {"reversed order", chain({header(), acTool, acSys, terminator()})},
        {"other data passed over",
         chain({header(), record(0x64, 30), acSys, acTool, terminator()})},
        {"second header passed over", chain({header(), acSys, header(), acTool, terminator()})},
        {"unknown type ends the chain", chain({header(), acSys, acTool, record(0x70, 6)})},
        {"longer records copied in part",
         chain({header(), record(0x61, 60, 0x11), record(0x62, 50, 0x22), terminator()})},
    };
    for (const auto& c : aCase)
    {
        Fixture g;
        EXPECT_TRUE(g.read(c.acPayload)) << c.pszName;
    }
}

TEST(DataCardDamage, DuplicateRecordAssertsAndTheLaterOneWins)
{
    Fixture f;
    SysPar sysSecond = f.sys;
    sysSecond.cUnit = 2;
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&sysSecond), sizeof sysSecond);
    const Bytes acPayload = chain({header(), f.sysBytes(), f.toolBytes(),
                                   asBytes(&sysSecond, sizeof sysSecond), terminator()});
    ASSERT_LE(acPayload.size(), 256u);
    ASSERT_TRUE(f.pCard->addSector(acPayload.data(), static_cast<uint32_t>(acPayload.size())));
    f.pCard->buildFile();

    CDataCardAssertLog log;
    SysPar sysOut;
    ToolPar toolOut;
    EXPECT_TRUE(f.pCard->readPar(sysOut, toolOut, 0));
    EXPECT_EQ(log.count("bSysPar == false"), 1u);
    EXPECT_EQ(sysOut.cUnit, 2);
}

TEST(DataCardDamage, RecordsNeverReachPastTheGatheredPayload)
{
    Fixture f;
    const Bytes acFront = chain({header(), f.sysBytes(), f.toolBytes()});
    // Other data filling the payload to its last byte, no terminator.
    const Bytes acFull = chain({acFront, record(0x64, 256 - acFront.size())});
    ASSERT_EQ(acFull.size(), 256u);
    // A record whose length runs past the 256 payload bytes.
    Bytes acOverrun = chain({acFront, record(0x64, 40)});
    acOverrun[acFront.size() + 1] = 200;
    // The largest length a byte can hold, near the payload's end.
    Bytes acMax = chain({acFront, record(0x64, 256 - acFront.size() - 4), Bytes{0x64, 255, 0, 0}});
    ASSERT_EQ(acMax.size(), 256u);

    for (uint32_t nSector : {0u, 2047u})
    {
        for (const Bytes* p : std::initializer_list<const Bytes*>{&acFull, &acOverrun, &acMax})
        {
            Fixture g;
            EXPECT_FALSE(g.read(*p, nSector)) << "sector " << nSector;
        }
    }
}

namespace
{
// Where byte j of an unscrambled sector comes from: the payload index
// whose value ends up there (the upper half holds leftovers, which are
// copies of payload values).
size_t payloadSource(size_t j, const std::vector<uint32_t>& anPos)
{
    if (j < 256)
        return j;
    const uint32_t nPos = static_cast<uint32_t>(j % 2 ? j : j - 255);
    return static_cast<size_t>(std::find(anPos.begin(), anPos.end(), nPos) - anPos.begin());
}

std::vector<size_t> sourceMap(const std::vector<uint32_t>& anPos)
{
    std::vector<size_t> an(512);
    for (size_t j = 0; j < 512; ++j)
        an[j] = payloadSource(j, anPos);
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
    // Craft a payload whose unscrambled sector holds a header and a record
    // that runs into the leftovers with a CRC that holds, followed by a
    // record claiming 255 bytes from beyond offset 256: a walk that trusted
    // the leftovers would read past the end of the sector, here the end of
    // the image.
    const std::vector<uint32_t> anPos = ref::positions();
    const std::vector<size_t> anSource = sourceMap(anPos);
    const Bytes acHeader = header();
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
        const size_t nType2 = payloadSource(nNext, anPos);
        const size_t nLen2 = payloadSource(nNext + 1, anPos);
        const size_t nCrcLo = payloadSource(nNext - 2, anPos);
        const size_t nCrcHi = payloadSource(nNext - 1, anPos);
        const size_t anTaken[] = {nType2, nLen2, nCrcLo, nCrcHi};
        if (std::any_of(std::begin(anTaken), std::end(anTaken), [](size_t n) { return n < 45; }))
            continue;
        if (nType2 == nLen2 || nCrcLo == nCrcHi || nCrcLo == nType2 || nCrcLo == nLen2 ||
            nCrcHi == nType2 || nCrcHi == nLen2)
            continue;
        acPayload[nType2] = 0x64;
        acPayload[nLen2] = 255;
        // The CRC bytes lie inside the range they protect: search for a
        // value that fits itself.
        for (uint32_t nTry = 0; nTry < 0x10000 && !bCrafted; ++nTry)
        {
            acPayload[nCrcLo] = static_cast<uint8_t>(nTry);
            acPayload[nCrcHi] = static_cast<uint8_t>(nTry >> 8);
            const Bytes acSector = unscrambled(acPayload, anSource);
            bCrafted = CDataCard::crc16(acSector.data() + 43, nLength - 2) == nTry;
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
        const Bytes acExpected = unscrambled(acPayload, anSource);
        EXPECT_EQ(std::memcmp(pLast, acExpected.data(), 512), 0);
        EXPECT_EQ(pLast[nNext], 0x64);
        EXPECT_EQ(pLast[nNext + 1], 255);
    }
    EXPECT_TRUE(bCrafted);
}

TEST(DataCardDamage, SectorOutOfRangeAssertsAndLeavesTheImageAlone)
{
    auto pCard = std::make_unique<CDataCard>();
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    ASSERT_TRUE(pCard->buildWrite(sys, tool));
    const Bytes acBefore(pCard->getImage(), pCard->getImage() + CDataCard::kImageSize);

    CDataCardAssertLog log;
    for (uint32_t nSector : {2048u, 4096u, 0xFFFFFFFFu})
    {
        log.clear();
        EXPECT_FALSE(pCard->readPar(sys, tool, nSector));
        EXPECT_EQ(log.count("nSector < 2048"), 1u) << nSector;
    }
    EXPECT_EQ(std::memcmp(pCard->getImage(), acBefore.data(), acBefore.size()), 0);
}

TEST(DataCardDamage, RecordsWithWrongLengthBytesAreNotWritten)
{
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    auto pCard = std::make_unique<CDataCard>();
    SysPar sysLong = sys;
    sysLong.cLength = 200;
    ToolPar toolShort = tool;
    toolShort.cLength = 0;

    CDataCardAssertLog log;
    EXPECT_FALSE(pCard->buildWrite(sysLong, tool));
    EXPECT_FALSE(pCard->buildWrite(sys, toolShort));
    EXPECT_EQ(log.count("false"), 2u);
    const uint8_t* p = pCard->getImage();
    EXPECT_TRUE(std::all_of(p, p + CDataCard::kImageSize, [](uint8_t c) { return c == 0; }));

    // Nothing was left in the list: the next build lays out one sector only.
    log.clear();
    ASSERT_TRUE(pCard->buildWrite(sys, tool));
    EXPECT_TRUE(log.messages().empty());
    const Bytes acRef = ref::image(ref::payload(sys, tool));
    EXPECT_EQ(std::memcmp(pCard->getImage(), acRef.data(), acRef.size()), 0);
}

TEST(DataCardDamage, BuildFileKeepsWithinTheImage)
{
    Fixture f;
    CDataCardAssertLog log;
    f.pCard->buildFile();
    EXPECT_EQ(log.count("m_pHeadSector"), 1u);

    // One node more than the image has sectors: the last one is dropped.
    const Bytes acPayload = chain({header(), f.sysBytes(), f.toolBytes(), terminator()});
    for (uint32_t n = 0; n <= CDataCard::kSectorCount; ++n)
        ASSERT_TRUE(f.pCard->addSector(acPayload.data(), static_cast<uint32_t>(acPayload.size())));
    log.clear();
    f.pCard->buildFile();
    EXPECT_EQ(log.count("nOffset < (1 << 20)"), 1u);

    SysPar sys;
    ToolPar tool;
    for (uint32_t nSector : {0u, 1u, 1000u, 2047u})
    {
        EXPECT_TRUE(f.pCard->readPar(sys, tool, nSector)) << nSector;
        EXPECT_EQ(std::memcmp(&sys, &f.sys, sizeof sys), 0);
    }

    // The list was emptied: building again asserts once more.
    log.clear();
    f.pCard->buildFile();
    EXPECT_EQ(log.count("m_pHeadSector"), 1u);
}

TEST(DataCardDamage, OversizedSectorPayloadIsRefused)
{
    auto pCard = std::make_unique<CDataCard>();
    const Bytes ac(257, 0x60);
    CDataCardAssertLog log;
    EXPECT_FALSE(pCard->addSector(ac.data(), 257));
    EXPECT_FALSE(pCard->addSector(nullptr, 4));
    EXPECT_EQ(log.count("false"), 2u);
    log.clear();
    pCard->buildFile();
    EXPECT_EQ(log.count("m_pHeadSector"), 1u);
}
