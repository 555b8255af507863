// The 1 MiB card image ZOLT.CFG and the operations on the two parameter
// records: defaults, validation, CRC and temperature conversions.
#pragma once

#include "ZoltPar.h"

#include <cstddef>
#include <cstdint>

class CDataCard
{
public:
    static constexpr uint32_t kSectorSize = 512;
    static constexpr uint32_t kSectorCount = 2048;
    static constexpr uint32_t kImageSize = kSectorSize * kSectorCount; // 1 MiB
    // A payload fills at most every odd byte of its sector.
    static constexpr uint32_t kMaxPayload = kSectorSize / 2;
    // Header, SysPar, ToolPar and terminator.
    static constexpr uint32_t kHeaderLength = 43;
    static constexpr uint32_t kTerminatorLength = 4;
    static constexpr uint32_t kParPayloadLength =
        kHeaderLength + sizeof(SysPar) + sizeof(ToolPar) + kTerminatorLength;

    static constexpr uint8_t kTypeHeader = 0x60;
    static constexpr uint8_t kTypeSysPar = 0x61;
    static constexpr uint8_t kTypeToolPar = 0x62;
    static constexpr uint8_t kTypeOther = 0x64;
    static constexpr uint8_t kTypeTerminator = 0x00;

    CDataCard();
    virtual ~CDataCard();
    CDataCard(const CDataCard&) = delete;
    CDataCard& operator=(const CDataCard&) = delete;

    // Lays the records out in sector 0 of a freshly generated image.
    bool buildWrite(const SysPar& rSysPar, const ToolPar& rToolPar);
    // Fills the image from the sector list and empties the list.
    void buildFile();
    // Unscrambles sector nSector in place and copies its records out; true
    // when both were found intact.
    bool readPar(SysPar& rSysPar, ToolPar& rToolPar, uint32_t nSector);
    void descrambleSector(uint32_t nSector);

    uint8_t* getImage() { return m_pImage; }
    const uint8_t* getImage() const { return m_pImage; }
    void clearImage();

    // Appends one sector payload (copied) to the list laid out by buildFile.
    bool addSector(const uint8_t* pPayload, uint32_t nLength);

    static void setDefaultPar(SysPar& rSysPar, ToolPar& rToolPar);
    static void checkPar(SysPar& rSysPar, ToolPar& rToolPar);
    static void setCrc(uint8_t* pRecord, uint8_t cLength);
    // CRC-16/XMODEM: polynomial 0x1021, start 0, no reflection, no final XOR.
    static uint16_t crc16(const uint8_t* pData, size_t nLength);

    static int16_t getSetTMin(int nRow);
    static int16_t getSetTMax(int nRow);
    static int16_t getStandbyTMin(int nRow);
    static int16_t getStandbyTMax(int nRow);

    static int16_t toCentigrade(int16_t n100mC);
    static int16_t toFahrenheit(int16_t n100mC);
    static int16_t fromCentigrade(int16_t nDegC);
    static int16_t fromFahrenheit(int16_t nDegF);
    static int16_t fromDisplayUnit(int16_t nValue, bool bCentigrade);

    // The filler: the low byte of each draw of the station's linear
    // congruential generator, reseeded with nSeed.
    static void fillFiller(uint8_t* pDest, size_t nLength, uint32_t nSeed);
    // Offset within a sector of payload byte nIndex (0 ... 255).
    static uint32_t payloadPosition(uint32_t nIndex);

private:
    struct SectorNode
    {
        uint8_t* pPayload;
        uint32_t nLength;
        SectorNode* pNext;
    };

    void freeSectors();

    uint8_t* m_pImage;
    SectorNode* m_pHeadSector;
    SectorNode* m_pTailSector;
};
