#include "CDataCard.h"

#include <wx/debug.h>

#include <cstring>

namespace
{
// The generator the station's own tools use; the image depends on its exact
// sequence.
constexpr uint32_t kLcgMul = 214013;
constexpr uint32_t kLcgAdd = 2531011;

// Payload positions: 193, then each 222 lower (mod 512). The step is odd
// times two, so the sequence runs through all 256 odd offsets.
constexpr uint32_t kFirstPosition = 193;
constexpr uint32_t kPositionStep = 512 - 222;
// Each payload byte is masked by the two filler bytes this far either side.
constexpr uint32_t kPartnerDistance = 111;

constexpr uint32_t kMask = CDataCard::kSectorSize - 1;

struct PositionTable
{
    uint16_t an[CDataCard::kMaxPayload];
    constexpr PositionTable() : an()
    {
        uint32_t nPos = kFirstPosition;
        for (uint32_t i = 0; i < CDataCard::kMaxPayload; ++i)
        {
            an[i] = static_cast<uint16_t>(nPos);
            nPos = (nPos + kPositionStep) & kMask;
        }
    }
};
constexpr PositionTable kPositions;

inline uint8_t partnerMask(const uint8_t* pSector, uint32_t nPos)
{
    return pSector[(nPos + kPartnerDistance) & kMask] ^ pSector[(nPos - kPartnerDistance) & kMask];
}

// Header record: type, length, version, zeros, CRC 0x94C6.
void makeHeader(uint8_t* p)
{
    std::memset(p, 0, CDataCard::kHeaderLength);
    p[0] = CDataCard::kTypeHeader;
    p[1] = CDataCard::kHeaderLength;
    p[2] = 1;
    CDataCard::setCrc(p, CDataCard::kHeaderLength);
}

void makeTerminator(uint8_t* p)
{
    p[0] = CDataCard::kTypeTerminator;
    p[1] = CDataCard::kTerminatorLength;
    CDataCard::setCrc(p, CDataCard::kTerminatorLength);
}
} // namespace

CDataCard::CDataCard()
    : m_pImage(new uint8_t[kImageSize]()), m_pHeadSector(nullptr), m_pTailSector(nullptr)
{
}

CDataCard::~CDataCard()
{
    freeSectors();
    delete[] m_pImage;
}

void CDataCard::freeSectors()
{
    SectorNode* pNode = m_pHeadSector;
    while (pNode)
    {
        SectorNode* pNext = pNode->pNext;
        delete[] pNode->pPayload;
        delete pNode;
        pNode = pNext;
    }
    m_pHeadSector = nullptr;
    m_pTailSector = nullptr;
}

void CDataCard::clearImage()
{
    std::memset(m_pImage, 0, kImageSize);
}

uint32_t CDataCard::payloadPosition(uint32_t nIndex)
{
    wxCHECK_MSG(nIndex < kMaxPayload, 0, "nIndex < 256");
    return kPositions.an[nIndex];
}

bool CDataCard::addSector(const uint8_t* pPayload, uint32_t nLength)
{
    if (!pPayload || nLength > kMaxPayload)
    {
        wxFAIL_MSG("false");
        return false;
    }
    SectorNode* pNode = new SectorNode{new uint8_t[nLength ? nLength : 1], nLength, nullptr};
    if (nLength)
        std::memcpy(pNode->pPayload, pPayload, nLength);
    if (m_pTailSector)
        m_pTailSector->pNext = pNode;
    else
        m_pHeadSector = pNode;
    m_pTailSector = pNode;
    return true;
}

bool CDataCard::buildWrite(const SysPar& rSysPar, const ToolPar& rToolPar)
{
    // The records travel with their fixed sizes; a record whose length byte
    // says otherwise could not be read back, so it is not written.
    if (rSysPar.cLength != sizeof(SysPar) || rToolPar.cLength != sizeof(ToolPar))
    {
        wxFAIL_MSG("false");
        return false;
    }
    static_assert(kParPayloadLength <= kMaxPayload, "parameter payload fits a sector");

    uint8_t acPayload[kParPayloadLength];
    uint8_t* p = acPayload;
    makeHeader(p);
    p += kHeaderLength;
    std::memcpy(p, &rSysPar, sizeof(SysPar));
    p += sizeof(SysPar);
    std::memcpy(p, &rToolPar, sizeof(ToolPar));
    p += sizeof(ToolPar);
    makeTerminator(p);

    if (!addSector(acPayload, kParPayloadLength))
        return false;
    buildFile();
    return true;
}

void CDataCard::buildFile()
{
    wxCHECK_RET(m_pHeadSector, "m_pHeadSector");

    const uint16_t nSeed = crc16(m_pTailSector->pPayload, m_pTailSector->nLength);
    fillFiller(m_pImage, kImageSize, nSeed);

    uint32_t nOffset = 0;
    for (const SectorNode* pNode = m_pHeadSector; pNode; pNode = pNode->pNext)
    {
        // Nodes past the last sector have no place in the image.
        if (nOffset >= kImageSize)
        {
            wxFAIL_MSG("nOffset < (1 << 20)");
            break;
        }
        uint8_t* pSector = m_pImage + nOffset;
        for (uint32_t i = 0; i < pNode->nLength; ++i)
        {
            const uint32_t nPos = kPositions.an[i];
            pSector[nPos] = partnerMask(pSector, nPos) ^ pNode->pPayload[i];
        }
        nOffset += kSectorSize;
    }
    freeSectors();
}

void CDataCard::descrambleSector(uint32_t nSector)
{
    wxCHECK_RET(nSector < kSectorCount, "nSector < 2048");
    uint8_t* pSector = m_pImage + nSector * kSectorSize;

    // The partners sit at even offsets, so the order does not matter.
    for (uint32_t i = 0; i < kMaxPayload; ++i)
    {
        const uint32_t nPos = kPositions.an[i];
        pSector[nPos] ^= partnerMask(pSector, nPos);
    }

    // Gather in place: park the odd bytes of the lower half in the even
    // bytes of the upper half, whose filler is spent, then collect the
    // payload in sequence order at the start of the sector.
    for (int nOdd = kMaxPayload - 1; nOdd >= 1; nOdd -= 2)
        pSector[nOdd + kMaxPayload - 1] = pSector[nOdd];
    for (uint32_t i = 0; i < kMaxPayload; ++i)
    {
        const uint32_t nPos = kPositions.an[i];
        pSector[i] = pSector[nPos >= kMaxPayload ? nPos : nPos + kMaxPayload - 1];
    }
}

bool CDataCard::readPar(SysPar& rSysPar, ToolPar& rToolPar, uint32_t nSector)
{
    wxCHECK_MSG(nSector < kSectorCount, false, "nSector < 2048");
    descrambleSector(nSector);

    // Only the first 256 bytes now hold payload; the rest are leftovers of
    // the unscrambling, so every record must lie within the payload.
    const uint8_t* pPayload = m_pImage + nSector * kSectorSize;
    if (pPayload[0] != kTypeHeader)
        return false;

    bool bSysPar = false;
    bool bToolPar = false;
    uint32_t nTotal = 0;
    for (;;)
    {
        const uint8_t* pRecord = pPayload + nTotal;
        if (nTotal + 2 > kMaxPayload)
            return false;
        const uint8_t cType = pRecord[0];
        const uint32_t nLength = pRecord[1];
        // Too short to hold its own CRC, or running past the payload.
        if (nLength < 2 || nTotal + nLength > kMaxPayload)
            return false;
        const uint16_t nStored =
            static_cast<uint16_t>(pRecord[nLength - 2] | (pRecord[nLength - 1] << 8));
        if (crc16(pRecord, nLength - 2) != nStored)
            return false;

        bool bEnd = false;
        switch (cType)
        {
        case kTypeHeader:
        case kTypeOther:
            break;
        case kTypeSysPar:
            if (nLength < sizeof(SysPar))
                return false;
            wxASSERT_MSG(bSysPar == false, "bSysPar == false");
            std::memcpy(&rSysPar, pRecord, sizeof(SysPar));
            bSysPar = true;
            break;
        case kTypeToolPar:
            if (nLength < sizeof(ToolPar))
                return false;
            wxASSERT_MSG(bToolPar == false, "bToolPar == false");
            std::memcpy(&rToolPar, pRecord, sizeof(ToolPar));
            bToolPar = true;
            break;
        default: // the terminator, or a type this program does not know
            bEnd = true;
            break;
        }
        if (bEnd)
            break;
        // A chain without an end runs into the payload bound above, long
        // before the end of the sector.
        nTotal += nLength;
    }
    return bSysPar && bToolPar;
}

void CDataCard::fillFiller(uint8_t* pDest, size_t nLength, uint32_t nSeed)
{
    // Interleaved runs of the same generator, each stepping kLanes draws at
    // a time, break the chain of dependent multiplications and let the
    // compiler vectorise; the bytes are those of the plain one-draw-at-a-time
    // loop.
    constexpr unsigned kLanes = 32;
    uint32_t nMulK = 1;
    uint32_t nAddK = 0;
    for (unsigned k = 0; k < kLanes; ++k)
    {
        nMulK *= kLcgMul;
        nAddK = nAddK * kLcgMul + kLcgAdd;
    }

    // anState[k] is the state whose draw goes to byte i + k.
    uint32_t anState[kLanes];
    uint32_t nState = nSeed;
    for (unsigned k = 0; k < kLanes; ++k)
    {
        nState = nState * kLcgMul + kLcgAdd;
        anState[k] = nState;
    }
    size_t i = 0;
    for (; i + kLanes <= nLength; i += kLanes)
    {
        for (unsigned k = 0; k < kLanes; ++k)
        {
            pDest[i + k] = static_cast<uint8_t>(anState[k] >> 16);
            anState[k] = anState[k] * nMulK + nAddK;
        }
    }
    for (unsigned k = 0; i < nLength; ++i, ++k)
        pDest[i] = static_cast<uint8_t>(anState[k] >> 16);
}

// ---- Records -------------------------------------------------------------

namespace
{
template <typename T> void clampTo(T& rValue, T nMin, T nMax)
{
    // Upper bound first, then the lower one on the result.
    if (rValue > nMax)
        rValue = nMax;
    if (rValue < nMin)
        rValue = nMin;
}

uint8_t clampLevel(uint8_t c)
{
    return c > 3 ? 3 : (c == 0 ? 1 : c);
}

const ParLimitsRow& limitsRow(int nRow)
{
    wxASSERT_MSG(nRow == 0 || nRow == 1, "nRow == 0 || nRow == 1");
    return ParLimits[nRow == 0 ? 0 : 1];
}

int16_t saturate16(int32_t n)
{
    return static_cast<int16_t>(n > INT16_MAX ? INT16_MAX : (n < INT16_MIN ? INT16_MIN : n));
}
} // namespace

uint16_t CDataCard::crc16(const uint8_t* pData, size_t nLength)
{
    uint16_t nCrc = 0;
    for (size_t i = 0; i < nLength; ++i)
    {
        nCrc ^= static_cast<uint16_t>(pData[i] << 8);
        for (int nBit = 0; nBit < 8; ++nBit)
            nCrc = static_cast<uint16_t>((nCrc & 0x8000) ? (nCrc << 1) ^ 0x1021 : nCrc << 1);
    }
    return nCrc;
}

void CDataCard::setCrc(uint8_t* pRecord, uint8_t cLength)
{
    wxCHECK_RET(pRecord && cLength >= 2, "pRecord && cLength >= 2");
    const uint16_t nCrc = crc16(pRecord, cLength - 2u);
    pRecord[cLength - 2] = static_cast<uint8_t>(nCrc & 0xFF);
    pRecord[cLength - 1] = static_cast<uint8_t>(nCrc >> 8);
}

void CDataCard::setDefaultPar(SysPar& rSysPar, ToolPar& rToolPar)
{
    std::memset(&rSysPar, 0, sizeof(SysPar));
    rSysPar.cType = kTypeSysPar;
    rSysPar.cLength = sizeof(SysPar);
    rSysPar.cVersion = 1;
    rSysPar.nUpdateFlag = kSysParUpdateMask;
    rSysPar.cUnit = 1;
    rSysPar.cLocked = 0;
    rSysPar.nEntityNo = 1;
    setCrc(reinterpret_cast<uint8_t*>(&rSysPar), sizeof(SysPar));

    std::memset(&rToolPar, 0, sizeof(ToolPar));
    rToolPar.cType = kTypeToolPar;
    rToolPar.cLength = sizeof(ToolPar);
    rToolPar.cVersion = 1;
    rToolPar.nUpdateFlag = kToolParVarMask;
    rToolPar.nVarSetT100mC = 3600;
    rToolPar.nVarStandbyT100mC = 2500;
    rToolPar.nVarCalT100mK = 0;
    rToolPar.cVarEnergy = 3;
    rToolPar.cFixEnabled = 0;
    const int16_t anFixSet[3] = {3200, 3600, 4000};
    for (int i = 0; i < 3; ++i)
    {
        rToolPar.anFixSetT100mC[i] = anFixSet[i];
        rToolPar.anFixStandbyT100mC[i] = 2500;
        rToolPar.anFixCalT100mK[i] = 0;
        rToolPar.acFixEnergy[i] = 3;
    }
    rToolPar.cFixCnt = 3;
    rToolPar.cFixActualIdx = 1;
    rToolPar.cWakeup = 1;
    rToolPar.cStandbyTmMin = 5;
    rToolPar.cShutdownTmMin = 10;
    setCrc(reinterpret_cast<uint8_t*>(&rToolPar), sizeof(ToolPar));
}

void CDataCard::checkPar(SysPar& rSysPar, ToolPar& rToolPar)
{
    rSysPar.cType = kTypeSysPar;
    rSysPar.cLength = sizeof(SysPar);
    rSysPar.cVersion = 1;
    rSysPar.nUpdateFlag &= kSysParUpdateMask;
    if (rSysPar.cUnit > 2)
        rSysPar.cUnit = 2;
    else if (rSysPar.cUnit == 0)
        rSysPar.cUnit = 1;
    if (rSysPar.cLocked)
        rSysPar.cLocked = 1;
    rSysPar.nEntityNo = 1;
    setCrc(reinterpret_cast<uint8_t*>(&rSysPar), sizeof(SysPar));

    const ParLimitsRow& rRow = limitsRow(rSysPar.cUnit == 1 ? 0 : 1);

    rToolPar.cType = kTypeToolPar;
    rToolPar.cLength = sizeof(ToolPar);
    rToolPar.cVersion = 1;
    rToolPar.nUpdateFlag &= kToolParCheckMask;

    // Packed members cannot be bound to references: clamp copies.
    auto clampSet = [&rRow](int16_t n)
    {
        clampTo<int16_t>(n, rRow.nSetTMin100mC, rRow.nSetTMax100mC);
        return n;
    };
    auto clampStandby = [&rRow](int16_t n)
    {
        clampTo<int16_t>(n, rRow.nStandbyTMin100mC, rRow.nStandbyTMax100mC);
        return n;
    };
    rToolPar.nVarSetT100mC = clampSet(rToolPar.nVarSetT100mC);
    rToolPar.nVarStandbyT100mC = clampStandby(rToolPar.nVarStandbyT100mC);
    for (int i = 0; i < 3; ++i)
    {
        rToolPar.anFixSetT100mC[i] = clampSet(rToolPar.anFixSetT100mC[i]);
        rToolPar.anFixStandbyT100mC[i] = clampStandby(rToolPar.anFixStandbyT100mC[i]);
    }

    rToolPar.nVarCalT100mK = 0;
    for (int i = 0; i < 3; ++i)
        rToolPar.anFixCalT100mK[i] = 0;

    rToolPar.cVarEnergy = clampLevel(rToolPar.cVarEnergy);
    for (int i = 0; i < 3; ++i)
        rToolPar.acFixEnergy[i] = clampLevel(rToolPar.acFixEnergy[i]);
    rToolPar.cFixCnt = clampLevel(rToolPar.cFixCnt);

    if (rToolPar.cFixEnabled)
        rToolPar.cFixEnabled = 1;
    if (rToolPar.cWakeup)
        rToolPar.cWakeup = 1;

    if (rToolPar.cFixActualIdx >= rToolPar.cFixCnt)
        rToolPar.cFixActualIdx = static_cast<uint8_t>(rToolPar.cFixCnt - 1);

    // 0 switches standby or shutdown off and stays as it is.
    if (rToolPar.cStandbyTmMin > rRow.cStandbyTmMaxMin)
        rToolPar.cStandbyTmMin = rRow.cStandbyTmMaxMin;
    else if (rToolPar.cStandbyTmMin != 0 && rToolPar.cStandbyTmMin < rRow.cStandbyTmMinMin)
        rToolPar.cStandbyTmMin = rRow.cStandbyTmMinMin;
    if (rToolPar.cShutdownTmMin > rRow.cShutdownTmMaxMin)
        rToolPar.cShutdownTmMin = rRow.cShutdownTmMaxMin;
    else if (rToolPar.cShutdownTmMin != 0 && rToolPar.cShutdownTmMin < rRow.cShutdownTmMinMin)
        rToolPar.cShutdownTmMin = rRow.cShutdownTmMinMin;

    setCrc(reinterpret_cast<uint8_t*>(&rToolPar), sizeof(ToolPar));
}

int16_t CDataCard::getSetTMin(int nRow)
{
    return limitsRow(nRow).nSetTMin100mC;
}

int16_t CDataCard::getSetTMax(int nRow)
{
    return limitsRow(nRow).nSetTMax100mC;
}

int16_t CDataCard::getStandbyTMin(int nRow)
{
    return limitsRow(nRow).nStandbyTMin100mC;
}

int16_t CDataCard::getStandbyTMax(int nRow)
{
    return limitsRow(nRow).nStandbyTMax100mC;
}

// ---- Temperature conversions ---------------------------------------------
// Integer division truncates toward zero throughout.

int16_t CDataCard::toCentigrade(int16_t n100mC)
{
    const int32_t n = n100mC;
    return static_cast<int16_t>(n >= 0 ? (n + 5) / 10 : (n - 5) / 10);
}

int16_t CDataCard::toFahrenheit(int16_t n100mC)
{
    // 9/5 of the value as 2v - v/5, which stays exact on whole °F.
    const int32_t n = n100mC;
    return static_cast<int16_t>((2 * n - n / 5) / 10 + 32);
}

int16_t CDataCard::fromCentigrade(int16_t nDegC)
{
    return saturate16(int32_t(nDegC) * 10);
}

int16_t CDataCard::fromFahrenheit(int16_t nDegF)
{
    // Tenths of °C for 0 ... 8 °F above a multiple of 9 °F (= 50 tenths);
    // the last step is 45, not 44, so that toFahrenheit maps back exactly.
    static const int32_t anRest[9] = {0, 6, 11, 17, 22, 28, 33, 39, 45};
    const int32_t nDiff = int32_t(nDegF) - 32;
    if (nDiff >= 0)
        return saturate16(nDiff / 9 * 50 + anRest[nDiff % 9]);
    const int32_t nNeg = -nDiff;
    return saturate16(-(nNeg / 9 * 50) - anRest[nNeg % 9]);
}

int16_t CDataCard::fromDisplayUnit(int16_t nValue, bool bCentigrade)
{
    return bCentigrade ? fromCentigrade(nValue) : fromFahrenheit(nValue);
}
