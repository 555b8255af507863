// The card image parser over sector data the fuzzer controls. The first byte
// chooses how the rest reaches the sector:
//   bit 0  the last sector of the image instead of sector 0 (an overrun then
//          leaves the image, where the address sanitizer sees it);
//   bit 1  raw: up to 512 bytes are the stored sector as it is;
//          otherwise the next 256 bytes are the payload, scrambled in as the
//          writer does, over the filler given by the 256 after them;
//   bit 2  the CRC of every record of the payload's chain is made right, so
//          that the walk gets past the first check;
//   bit 3  the sector index is also tried out of range.
#include "CDataCard.h"
#include "FuzzSupport.h"

#include <cstring>

using zoltfuzz::require;

namespace
{
constexpr uint32_t kSector = CDataCard::kSectorSize;

void mendChain(uint8_t* pPayload)
{
    uint32_t nTotal = 0;
    while (nTotal + 2 <= CDataCard::kMaxPayload)
    {
        const uint8_t cLength = pPayload[nTotal + 1];
        if (cLength < 2 || nTotal + cLength > CDataCard::kMaxPayload)
            break;
        CDataCard::setCrc(pPayload + nTotal, cLength);
        nTotal += cLength;
    }
}

void layOut(uint8_t* pSector, const uint8_t* pData, size_t nSize, uint8_t cFlags)
{
    std::memset(pSector, 0, kSector);
    if (cFlags & 2)
    {
        std::memcpy(pSector, pData, nSize < kSector ? nSize : kSector);
        return;
    }
    uint8_t acPayload[CDataCard::kMaxPayload] = {};
    const size_t nPayload = nSize < sizeof(acPayload) ? nSize : sizeof(acPayload);
    std::memcpy(acPayload, pData, nPayload);
    if (cFlags & 4)
        mendChain(acPayload);
    for (size_t i = nPayload, nEven = 0; i < nSize && nEven < kSector; ++i, nEven += 2)
        pSector[nEven] = pData[i];
    // The payload byte is stored masked by the two filler bytes 111 either
    // side of it, both at even offsets.
    for (uint32_t i = 0; i < CDataCard::kMaxPayload; ++i)
    {
        const uint32_t nPos = CDataCard::payloadPosition(i);
        pSector[nPos] = pSector[(nPos + 111) % kSector] ^
                        pSector[(nPos + kSector - 111) % kSector] ^ acPayload[i];
    }
}

bool allZero(const uint8_t* p)
{
    static const uint8_t s_acZero[kSector] = {};
    return std::memcmp(p, s_acZero, kSector) == 0;
}

template <typename TRecord> void checkRecord(const TRecord& rRecord, uint8_t cType)
{
    require(rRecord.cType == cType, "a record of the wrong type was taken");
    require(rRecord.cLength >= sizeof(TRecord), "a short record was taken");
    if (rRecord.cLength == sizeof(TRecord))
        require(CDataCard::crc16(reinterpret_cast<const uint8_t*>(&rRecord), sizeof(TRecord) - 2) ==
                    rRecord.nCrc,
                "a record with a wrong CRC was taken");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    static CDataCard s_dataCard; // reused: a fresh 1 MiB per input would dominate
    if (nSize < 1)
        return 0;
    const uint8_t cFlags = pData[0];
    const uint32_t nSector = (cFlags & 1) ? CDataCard::kSectorCount - 1 : 0;
    const uint32_t nNeighbour = nSector ? nSector - 1 : 1;
    uint8_t* pImage = s_dataCard.getImage();
    layOut(pImage + nSector * kSector, pData + 1, nSize - 1, cFlags);

    if (cFlags & 8)
    {
        SysPar sysPar{};
        ToolPar toolPar{};
        uint8_t acBefore[kSector];
        std::memcpy(acBefore, pImage + nSector * kSector, kSector);
        require(!s_dataCard.readPar(sysPar, toolPar, CDataCard::kSectorCount),
                "a sector beyond the image was read");
        require(std::memcmp(acBefore, pImage + nSector * kSector, kSector) == 0,
                "a sector beyond the image changed the image");
    }

    SysPar sysPar;
    ToolPar toolPar;
    std::memset(&sysPar, 0, sizeof(sysPar));
    std::memset(&toolPar, 0, sizeof(toolPar));
    const bool bOk = s_dataCard.readPar(sysPar, toolPar, nSector);
    require(allZero(pImage + nNeighbour * kSector), "another sector was changed");
    if (bOk)
    {
        checkRecord(sysPar, CDataCard::kTypeSysPar);
        checkRecord(toolPar, CDataCard::kTypeToolPar);
    }
    std::memset(pImage + nSector * kSector, 0, kSector);
    return 0;
}
