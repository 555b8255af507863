// The two parameter records the station exchanges with the editor, their
// update-flag masks and the per-unit limits. Both records are packed
// little-endian byte images, exactly as they travel on the card.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct SysPar
{
    uint8_t cType;    // 0x61
    uint8_t cLength;  // 45
    uint8_t cVersion; // 1
    uint32_t nUpdateFlag;
    uint8_t cUnit;   // 1 = centigrade, 2 = fahrenheit
    uint8_t cLocked; // 0 = off, 1 = on
    uint8_t acPassword[16];
    uint8_t acSerialNumber[16];
    uint16_t nEntityNo;
    uint16_t nCrc;
};

struct ToolPar
{
    uint8_t cType;    // 0x62
    uint8_t cLength;  // 43
    uint8_t cVersion; // 1
    uint32_t nUpdateFlag;
    int16_t nVarSetT100mC;
    int16_t nVarStandbyT100mC;
    int16_t nVarCalT100mK;
    uint8_t cVarEnergy;  // 1 ... 3
    uint8_t cFixEnabled; // 0 = variable mode, 1 = fixed temperatures
    int16_t anFixSetT100mC[3];
    int16_t anFixStandbyT100mC[3];
    int16_t anFixCalT100mK[3];
    uint8_t acFixEnergy[3];
    uint8_t cFixCnt;       // 1 ... 3
    uint8_t cFixActualIdx; // 0 ... cFixCnt - 1
    uint8_t cWakeup;
    uint8_t cStandbyTmMin;  // 0 = no standby
    uint8_t cShutdownTmMin; // 0 = no shutdown
    uint16_t nCrc;
};

#pragma pack(pop)

// The record images are copied byte for byte to and from the card, so the
// layout must not depend on the compiler.
static_assert(sizeof(SysPar) == 45, "SysPar is 45 bytes");
static_assert(offsetof(SysPar, cType) == 0, "SysPar layout");
static_assert(offsetof(SysPar, cLength) == 1, "SysPar layout");
static_assert(offsetof(SysPar, cVersion) == 2, "SysPar layout");
static_assert(offsetof(SysPar, nUpdateFlag) == 3, "SysPar layout");
static_assert(offsetof(SysPar, cUnit) == 7, "SysPar layout");
static_assert(offsetof(SysPar, cLocked) == 8, "SysPar layout");
static_assert(offsetof(SysPar, acPassword) == 9, "SysPar layout");
static_assert(offsetof(SysPar, acSerialNumber) == 25, "SysPar layout");
static_assert(offsetof(SysPar, nEntityNo) == 41, "SysPar layout");
static_assert(offsetof(SysPar, nCrc) == 43, "SysPar layout");

static_assert(sizeof(ToolPar) == 43, "ToolPar is 43 bytes");
static_assert(offsetof(ToolPar, cType) == 0, "ToolPar layout");
static_assert(offsetof(ToolPar, cLength) == 1, "ToolPar layout");
static_assert(offsetof(ToolPar, cVersion) == 2, "ToolPar layout");
static_assert(offsetof(ToolPar, nUpdateFlag) == 3, "ToolPar layout");
static_assert(offsetof(ToolPar, nVarSetT100mC) == 7, "ToolPar layout");
static_assert(offsetof(ToolPar, nVarStandbyT100mC) == 9, "ToolPar layout");
static_assert(offsetof(ToolPar, nVarCalT100mK) == 11, "ToolPar layout");
static_assert(offsetof(ToolPar, cVarEnergy) == 13, "ToolPar layout");
static_assert(offsetof(ToolPar, cFixEnabled) == 14, "ToolPar layout");
static_assert(offsetof(ToolPar, anFixSetT100mC) == 15, "ToolPar layout");
static_assert(offsetof(ToolPar, anFixStandbyT100mC) == 21, "ToolPar layout");
static_assert(offsetof(ToolPar, anFixCalT100mK) == 27, "ToolPar layout");
static_assert(offsetof(ToolPar, acFixEnergy) == 33, "ToolPar layout");
static_assert(offsetof(ToolPar, cFixCnt) == 36, "ToolPar layout");
static_assert(offsetof(ToolPar, cFixActualIdx) == 37, "ToolPar layout");
static_assert(offsetof(ToolPar, cWakeup) == 38, "ToolPar layout");
static_assert(offsetof(ToolPar, cStandbyTmMin) == 39, "ToolPar layout");
static_assert(offsetof(ToolPar, cShutdownTmMin) == 40, "ToolPar layout");
static_assert(offsetof(ToolPar, nCrc) == 41, "ToolPar layout");

// nUpdateFlag of SysPar: the fields the station is to take over.
enum ESysParUpdate : uint32_t
{
    eSysParUpdateUnit = 0x01,
    eSysParUpdateLocked = 0x02,
    eSysParUpdatePassword = 0x04,
    eSysParUpdateSerialNumber = 0x08,
    eSysParUpdateEntityNo = 0x10,
};

// nUpdateFlag of ToolPar, one bit per field.
enum EToolParUpdate : uint32_t
{
    eToolParUpdateVarSetT = 0x000001,
    eToolParUpdateVarStandbyT = 0x000002,
    eToolParUpdateVarCalT = 0x000004,
    eToolParUpdateVarEnergy = 0x000008,
    eToolParUpdateFixT = 0x000010,
    eToolParUpdateFixSetT0 = 0x000020,
    eToolParUpdateFixSetT1 = 0x000040,
    eToolParUpdateFixSetT2 = 0x000080,
    eToolParUpdateFixStandbyT0 = 0x000100,
    eToolParUpdateFixStandbyT1 = 0x000200,
    eToolParUpdateFixStandbyT2 = 0x000400,
    eToolParUpdateFixCalT0 = 0x000800,
    eToolParUpdateFixCalT1 = 0x001000,
    eToolParUpdateFixCalT2 = 0x002000,
    eToolParUpdateFixEnergy0 = 0x004000,
    eToolParUpdateFixEnergy1 = 0x008000,
    eToolParUpdateFixEnergy2 = 0x010000,
    eToolParUpdateFixCnt = 0x020000,
    eToolParUpdateFixActualIdx = 0x040000,
    eToolParUpdateWakeup = 0x080000,
    eToolParUpdateStandbyTm = 0x100000,
    eToolParUpdateShutdownTm = 0x200000,
};

// The masks that recur: the default (variable mode), fixed mode, and what
// validation keeps (everything but the calibration bits).
constexpr uint32_t kSysParUpdateMask = eSysParUpdateUnit | eSysParUpdateLocked;
constexpr uint32_t kToolParVarMask = 0x0038001B;
constexpr uint32_t kToolParFixMask = 0x003FC7F0;
constexpr uint32_t kToolParCheckMask = 0x003FC7FB;

// One row per display unit: row 0 centigrade, row 1 fahrenheit. Temperatures
// in tenths of a degree Celsius, times in minutes.
struct ParLimitsRow
{
    int16_t nSetTMin100mC;
    int16_t nSetTMax100mC;
    int16_t nStandbyTMin100mC;
    int16_t nStandbyTMax100mC;
    uint8_t cStandbyTmMinMin;
    uint8_t cStandbyTmMaxMin;
    uint8_t cShutdownTmMinMin;
    uint8_t cShutdownTmMaxMin;
};

constexpr ParLimitsRow ParLimits[2] = {
    {1500, 4500, 1500, 3000, 0, 60, 10, 240},
    {1489, 4500, 1489, 3017, 0, 60, 10, 240},
};
