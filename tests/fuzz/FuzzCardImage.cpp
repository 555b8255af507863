// The card image parser over sector data the fuzzer controls. The first byte's
// bit 0 takes the last sector (an overrun leaves the image); bit 1 takes the rest
// as the stored sector, else as a payload over zero filler (which masks nothing),
// with bit 2 mending the CRC of every record of the payload's chain.
#include "CDataCard.h"
#include "FuzzSupport.h"

#include <algorithm>
#include <cstring>

using zoltfuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    static CDataCard s_card; // reused: a fresh 1 MiB per input would dominate
    constexpr uint32_t kSector = CDataCard::kSectorSize, kMax = CDataCard::kMaxPayload;
    if (nSize-- == 0)
        return 0;
    const uint8_t cFlags = *pData++;
    const uint32_t nSector = (cFlags & 1) ? CDataCard::kSectorCount - 1 : 0;
    uint8_t* pSector = s_card.getImage() + nSector * kSector;
    uint8_t acPayload[kMax] = {};
    std::memset(pSector, 0, kSector);
    const bool bRaw = cFlags & 2;
    std::memcpy(bRaw ? pSector : acPayload, pData, std::min<size_t>(nSize, bRaw ? kSector : kMax));
    for (uint32_t n = 0;
         (cFlags & 4) && n + 2 <= kMax && acPayload[n + 1] >= 2 && n + acPayload[n + 1] <= kMax;
         n += acPayload[n + 1])
        CDataCard::setCrc(acPayload + n, acPayload[n + 1]);
    for (uint32_t i = 0; !bRaw && i < kMax; ++i)
        pSector[CDataCard::payloadPosition(i)] = acPayload[i];
    SysPar sys{};
    ToolPar tool{};
    // A record taken is of its type, not short, and its CRC holds.
    const auto taken = [](const auto& r, uint8_t cType)
    {
        return r.cType == cType && r.cLength >= sizeof r &&
               (r.cLength > sizeof r || CDataCard::crc16(&r.cType, sizeof r - 2) == r.nCrc);
    };
    require(!s_card.readPar(sys, tool, nSector) ||
                (taken(sys, CDataCard::kTypeSysPar) && taken(tool, CDataCard::kTypeToolPar)),
            "a record that does not hold was taken");
    const uint8_t* pOther = s_card.getImage() + (nSector ? nSector - 1 : 1) * kSector;
    require(std::all_of(pOther, pOther + kSector, [](uint8_t c) { return c == 0; }),
            "another sector was changed");
    return 0;
}
