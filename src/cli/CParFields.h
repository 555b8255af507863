// The fields of the two parameter records by name, in record order, for
// printing them as text or JSON and for comparing two pairs field by field.
#pragma once

#include "ZoltPar.h"

#include <nlohmann/json.hpp>
#include <wx/string.h>

#include <vector>

class CParFields
{
public:
    enum EKind
    {
        eU8,
        eI16,
        eU16,
        eU32,
        eBytes, // 16 raw bytes, shown as hex digits
    };

    struct Field
    {
        const char* szName;
        size_t nOffset;
        EKind eKind;
        int nCount; // array elements; 1 for a scalar
    };

    struct Difference
    {
        wxString strName; // "SysPar.cUnit"
        wxString strFirst;
        wxString strSecond;
    };

    static const std::vector<Field>& sysParFields();
    static const std::vector<Field>& toolParFields();

    // {"SysPar": {...}, "ToolPar": {...}}, keys and order as in the records.
    static nlohmann::ordered_json toJson(const SysPar& rSysPar, const ToolPar& rToolPar);
    // One line per field, each with a short explanation where it helps.
    static wxString toText(const SysPar& rSysPar, const ToolPar& rToolPar);
    static std::vector<Difference> compare(const SysPar& rSys1, const ToolPar& rTool1,
                                           const SysPar& rSys2, const ToolPar& rTool2);
};
