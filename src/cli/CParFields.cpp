#include "CParFields.h"

#include "CDataCard.h"

#include <cstddef>

namespace
{
using Field = CParFields::Field;

const char* const kSysFlagNames[] = {"Unit", "Locked", "Password", "SerialNumber", "EntityNo"};
const char* const kToolFlagNames[] = {
    "VarSetT",      "VarStandbyT", "VarCalT",      "VarEnergy",    "FixT",         "FixSetT0",
    "FixSetT1",     "FixSetT2",    "FixStandbyT0", "FixStandbyT1", "FixStandbyT2", "FixCalT0",
    "FixCalT1",     "FixCalT2",    "FixEnergy0",   "FixEnergy1",   "FixEnergy2",   "FixCnt",
    "FixActualIdx", "Wakeup",      "StandbyTm",    "ShutdownTm"};

// Multi-byte fields are little-endian on the card and in memory alike;
// decoding the bytes keeps that independent of the host. long long, as long
// has only 32 bits on Windows and an unsigned 32-bit flag word must not turn
// negative there.
long long element(const uint8_t* pRecord, const Field& rField, int nIndex)
{
    switch (rField.eKind)
    {
    case CParFields::eU8:
        return pRecord[rField.nOffset + nIndex];
    case CParFields::eI16:
    case CParFields::eU16:
    {
        const uint8_t* p = pRecord + rField.nOffset + 2 * nIndex;
        const uint16_t n = static_cast<uint16_t>(p[0] | (p[1] << 8));
        return rField.eKind == CParFields::eI16 ? static_cast<int16_t>(n) : n;
    }
    case CParFields::eU32:
    {
        const uint8_t* p = pRecord + rField.nOffset;
        return static_cast<long long>(
            static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
            (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
    }
    case CParFields::eBytes:
        break;
    }
    return 0;
}

wxString hexBytes(const uint8_t* pRecord, const Field& rField)
{
    wxString str;
    for (int i = 0; i < 16; ++i)
        str += wxString::Format("%02x", pRecord[rField.nOffset + i]);
    return str;
}

nlohmann::ordered_json jsonValue(const uint8_t* pRecord, const Field& rField)
{
    if (rField.eKind == CParFields::eBytes)
        return hexBytes(pRecord, rField).ToStdString();
    if (rField.nCount == 1)
        return element(pRecord, rField, 0);
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (int i = 0; i < rField.nCount; ++i)
        array.push_back(element(pRecord, rField, i));
    return array;
}

bool isName(const Field& rField, const char* szName)
{
    return wxString(rField.szName) == szName;
}

// The value as plain text: hex where the bits matter, decimal otherwise.
wxString valueText(const uint8_t* pRecord, const Field& rField)
{
    if (rField.eKind == CParFields::eBytes)
        return hexBytes(pRecord, rField);
    if (isName(rField, "nUpdateFlag"))
        return wxString::Format("0x%08llx", element(pRecord, rField, 0));
    if (isName(rField, "nCrc"))
        return wxString::Format("0x%04llx", element(pRecord, rField, 0));
    if (isName(rField, "cType"))
        return wxString::Format("0x%02llx", element(pRecord, rField, 0));
    wxString str;
    for (int i = 0; i < rField.nCount; ++i)
        str += wxString::Format(i ? " %lld" : "%lld", element(pRecord, rField, i));
    return str;
}

wxString degrees(long long n100mC)
{
    const long long nAbs = n100mC < 0 ? -n100mC : n100mC;
    return wxString::Format("%s%lld.%lld", n100mC < 0 ? "-" : "", nAbs / 10, nAbs % 10) +
           wxString(L" \u00b0C");
}

wxString flagNames(uint32_t nFlags, const char* const* pszNames, size_t nNames)
{
    wxString str;
    for (size_t i = 0; i < nNames; ++i)
    {
        if (nFlags & (1u << i))
        {
            str += str.empty() ? "" : " ";
            str += pszNames[i];
        }
    }
    const uint32_t nUnknown = nNames < 32 ? nFlags >> nNames : 0;
    if (nUnknown != 0)
        str += wxString::Format("%sunknown 0x%08x", str.empty() ? "" : " ", nUnknown << nNames);
    return str.empty() ? wxString("none") : str;
}

// A short explanation of the value, or empty.
wxString note(const uint8_t* pRecord, size_t nLength, const Field& rField, bool bSysPar)
{
    const wxString strName = rField.szName;
    const long long n = rField.eKind == CParFields::eBytes ? 0 : element(pRecord, rField, 0);
    if (strName == "nUpdateFlag")
        return bSysPar
                   ? flagNames(static_cast<uint32_t>(n), kSysFlagNames, WXSIZEOF(kSysFlagNames))
                   : flagNames(static_cast<uint32_t>(n), kToolFlagNames, WXSIZEOF(kToolFlagNames));
    if (strName == "nCrc")
    {
        const uint16_t nExpected = CDataCard::crc16(pRecord, nLength - 2);
        return nExpected == n ? wxString("correct")
                              : wxString::Format("wrong, the bytes give 0x%04x", nExpected);
    }
    if (strName == "cUnit")
        return n == 1 ? "centigrade" : n == 2 ? "fahrenheit" : "invalid";
    if (strName.EndsWith("100mC") || strName.EndsWith("100mK"))
    {
        // Tenths of a degree Celsius, or of a kelvin for calibration offsets.
        wxString str;
        for (int i = 0; i < rField.nCount; ++i)
        {
            const wxString strDegrees = degrees(element(pRecord, rField, i));
            str += (i ? ", " : "") +
                   (strName.EndsWith("100mC") ? strDegrees : strDegrees.BeforeFirst(' ') + " K");
        }
        return str;
    }
    if (strName.EndsWith("Min"))
        return n == 0 ? wxString("off") : wxString::Format("%lld min", n);
    return wxString();
}

template <class T> const uint8_t* bytes(const T& rRecord)
{
    return reinterpret_cast<const uint8_t*>(&rRecord);
}

wxString recordText(const char* szName, const uint8_t* pRecord, size_t nLength,
                    const std::vector<Field>& rFields, bool bSysPar)
{
    wxString str = wxString(szName) + "\n";
    for (const Field& rField : rFields)
    {
        str += wxString::Format("  %-20s %s", rField.szName, valueText(pRecord, rField));
        const wxString strNote = note(pRecord, nLength, rField, bSysPar);
        if (!strNote.empty())
            str += "  (" + strNote + ")";
        str += "\n";
    }
    return str;
}

void compareRecord(const char* szName, const uint8_t* p1, const uint8_t* p2,
                   const std::vector<Field>& rFields,
                   std::vector<CParFields::Difference>& rDifferences)
{
    for (const Field& rField : rFields)
    {
        const wxString str1 = valueText(p1, rField);
        const wxString str2 = valueText(p2, rField);
        if (str1 != str2)
            rDifferences.push_back({wxString(szName) + "." + rField.szName, str1, str2});
    }
}
} // namespace

#define ZOLT_FIELD(record, name, kind, count)                                                      \
    {                                                                                              \
#name, offsetof(record, name), kind, count                                                 \
    }

const std::vector<CParFields::Field>& CParFields::sysParFields()
{
    static const std::vector<Field> s_aFields = {
        ZOLT_FIELD(SysPar, cType, eU8, 1),         ZOLT_FIELD(SysPar, cLength, eU8, 1),
        ZOLT_FIELD(SysPar, cVersion, eU8, 1),      ZOLT_FIELD(SysPar, nUpdateFlag, eU32, 1),
        ZOLT_FIELD(SysPar, cUnit, eU8, 1),         ZOLT_FIELD(SysPar, cLocked, eU8, 1),
        ZOLT_FIELD(SysPar, acPassword, eBytes, 1), ZOLT_FIELD(SysPar, acSerialNumber, eBytes, 1),
        ZOLT_FIELD(SysPar, nEntityNo, eU16, 1),    ZOLT_FIELD(SysPar, nCrc, eU16, 1),
    };
    return s_aFields;
}

const std::vector<CParFields::Field>& CParFields::toolParFields()
{
    static const std::vector<Field> s_aFields = {
        ZOLT_FIELD(ToolPar, cType, eU8, 1),
        ZOLT_FIELD(ToolPar, cLength, eU8, 1),
        ZOLT_FIELD(ToolPar, cVersion, eU8, 1),
        ZOLT_FIELD(ToolPar, nUpdateFlag, eU32, 1),
        ZOLT_FIELD(ToolPar, nVarSetT100mC, eI16, 1),
        ZOLT_FIELD(ToolPar, nVarStandbyT100mC, eI16, 1),
        ZOLT_FIELD(ToolPar, nVarCalT100mK, eI16, 1),
        ZOLT_FIELD(ToolPar, cVarEnergy, eU8, 1),
        ZOLT_FIELD(ToolPar, cFixEnabled, eU8, 1),
        ZOLT_FIELD(ToolPar, anFixSetT100mC, eI16, 3),
        ZOLT_FIELD(ToolPar, anFixStandbyT100mC, eI16, 3),
        ZOLT_FIELD(ToolPar, anFixCalT100mK, eI16, 3),
        ZOLT_FIELD(ToolPar, acFixEnergy, eU8, 3),
        ZOLT_FIELD(ToolPar, cFixCnt, eU8, 1),
        ZOLT_FIELD(ToolPar, cFixActualIdx, eU8, 1),
        ZOLT_FIELD(ToolPar, cWakeup, eU8, 1),
        ZOLT_FIELD(ToolPar, cStandbyTmMin, eU8, 1),
        ZOLT_FIELD(ToolPar, cShutdownTmMin, eU8, 1),
        ZOLT_FIELD(ToolPar, nCrc, eU16, 1),
    };
    return s_aFields;
}

#undef ZOLT_FIELD

nlohmann::ordered_json CParFields::toJson(const SysPar& rSysPar, const ToolPar& rToolPar)
{
    nlohmann::ordered_json sys = nlohmann::ordered_json::object();
    for (const Field& rField : sysParFields())
        sys[rField.szName] = jsonValue(bytes(rSysPar), rField);
    nlohmann::ordered_json tool = nlohmann::ordered_json::object();
    for (const Field& rField : toolParFields())
        tool[rField.szName] = jsonValue(bytes(rToolPar), rField);
    nlohmann::ordered_json root = nlohmann::ordered_json::object();
    root["SysPar"] = std::move(sys);
    root["ToolPar"] = std::move(tool);
    return root;
}

wxString CParFields::toText(const SysPar& rSysPar, const ToolPar& rToolPar)
{
    return recordText("SysPar", bytes(rSysPar), sizeof(SysPar), sysParFields(), true) +
           recordText("ToolPar", bytes(rToolPar), sizeof(ToolPar), toolParFields(), false);
}

std::vector<CParFields::Difference> CParFields::compare(const SysPar& rSys1, const ToolPar& rTool1,
                                                        const SysPar& rSys2, const ToolPar& rTool2)
{
    std::vector<Difference> aDifferences;
    compareRecord("SysPar", bytes(rSys1), bytes(rSys2), sysParFields(), aDifferences);
    compareRecord("ToolPar", bytes(rTool1), bytes(rTool2), toolParFields(), aDifferences);
    return aDifferences;
}
