#include "CFileXml.h"

#include "CBase64.h"
#include "CPrompter.h"
#include "CSafeFileWriter.h"
#include "CXmlLimits.h"

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/file.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/stdpaths.h>
#include <wx/strconv.h>
#include <wx/xml/xml.h>

#include <string>

namespace
{
const char* const kWildcard = "Zolt xml (*.zlx)|*.zlx";

struct FlagAttribute
{
    const char* szName;
    uint32_t nFlag;
};

// The attributes of "tool-flags" in written order. The underscores in
// "fix_set-temp0" ... are how the files spell them.
const FlagAttribute kToolFlags[] = {
    {"var-set-temp", eToolParUpdateVarSetT},
    {"var-standby-temp", eToolParUpdateVarStandbyT},
    {"var-energy-level", eToolParUpdateVarEnergy},
    {"fix-mode-enabled", eToolParUpdateFixT},
    {"fix_set-temp0", eToolParUpdateFixSetT0},
    {"fix_set-temp1", eToolParUpdateFixSetT1},
    {"fix_set-temp2", eToolParUpdateFixSetT2},
    {"fix-standby-temp0", eToolParUpdateFixStandbyT0},
    {"fix-standby-temp1", eToolParUpdateFixStandbyT1},
    {"fix-standby-temp2", eToolParUpdateFixStandbyT2},
    {"fix-energy-level0", eToolParUpdateFixEnergy0},
    {"fix-energy-level1", eToolParUpdateFixEnergy1},
    {"fix-energy-level2", eToolParUpdateFixEnergy2},
    {"fix-mode-count", eToolParUpdateFixCnt},
    {"fix-mode-actual-index", eToolParUpdateFixActualIdx},
    {"wakeup", eToolParUpdateWakeup},
    {"standby-time", eToolParUpdateStandbyTm},
    {"shutdown-time", eToolParUpdateShutdownTm},
};

wxXmlNode* newElement(const char* szName)
{
    return new wxXmlNode(wxXML_ELEMENT_NODE, szName);
}

wxString switchText(unsigned nValue)
{
    return nValue != 0 ? "true" : "false";
}

wxString numberText(int nValue)
{
    return wxString::Format("%d", nValue);
}

wxXmlNode* valueElement(const char* szName, const wxString& strValue)
{
    wxXmlNode* pNode = newElement(szName);
    pNode->AddAttribute("value", strValue);
    return pNode;
}

wxXmlNode* tripleElement(const char* szName, int n1, int n2, int n3)
{
    wxXmlNode* pNode = newElement(szName);
    pNode->AddAttribute("value1", numberText(n1));
    pNode->AddAttribute("value2", numberText(n2));
    pNode->AddAttribute("value3", numberText(n3));
    return pNode;
}

bool isElement(const wxXmlNode* pNode, const char* szName)
{
    return pNode->GetType() == wxXML_ELEMENT_NODE && pNode->GetName() == szName;
}

// Converts the attribute as an unsigned decimal number and hands it to
// fnStore, which keeps the bits that fit its field; a negative text wraps
// like any unsigned conversion, so "-5" comes back as the same 16-bit
// pattern. A missing attribute leaves the field alone.
template <class FnStore>
bool readNumber(const wxXmlNode* pNode, const char* szName, FnStore fnStore)
{
    wxString strValue;
    if (!pNode->GetAttribute(szName, &strValue))
        return true;
    unsigned long nValue = 0;
    if (!strValue.ToULong(&nValue, 10))
        return false;
    fnStore(nValue);
    return true;
}

int16_t low16(unsigned long nValue)
{
    return static_cast<int16_t>(static_cast<uint16_t>(nValue & 0xFFFF));
}

uint8_t low8(unsigned long nValue)
{
    return static_cast<uint8_t>(nValue & 0xFF);
}

// Guards the "each element once" rule of a parser.
class CSeen
{
public:
    bool first(unsigned nIndex)
    {
        const unsigned nBit = 1u << nIndex;
        const bool bFirst = (m_nSeen & nBit) == 0;
        m_nSeen |= nBit;
        return bFirst;
    }

private:
    unsigned m_nSeen = 0;
};
// The encoding a loaded document is saved in: the one it declared, cleared
// of quotes and blanks, unless that cannot be written so that it loads
// again. UTF-16 is written with a stray null character and without its
// byte-order mark; an unknown name could not be written at all.
wxString savedEncoding(const wxString& strDeclared)
{
    wxString strName;
    for (wxUniChar ch : strDeclared)
        if (ch != '"' && ch != '\'' && !wxIsspace(ch))
            strName += ch;
    const bool bName =
        !strName.empty() &&
        strName.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                  "0123456789._-") == wxString::npos;
    if (!bName || strName.IsSameAs("UTF-16", false) || !wxCSConv(strName).IsOk())
        return "UTF-8";
    return strName;
}
} // namespace

CFileXml::CFileXml() : m_pXmlDoc(new wxXmlDocument) {}

CFileXml::~CFileXml()
{
    delete m_pXmlDoc;
}

// ---- building ----------------------------------------------------------

bool CFileXml::buildSettings(const SysPar& rSysPar, const ToolPar& rToolPar)
{
    wxXmlNode* pRoot = newElement("zolt-settings");
    pRoot->AddChild(buildSystemParameter(rSysPar));
    pRoot->AddChild(buildToolParameter(rToolPar));
    m_pXmlDoc->SetRoot(pRoot);
    return true;
}

wxXmlNode* CFileXml::buildSystemParameter(const SysPar& rSysPar)
{
    wxXmlNode* pNode = newElement("system-parameter");
    pNode->AddAttribute("version", "1");
    pNode->AddChild(buildSystemFlags(rSysPar));
    const uint32_t nFlags = rSysPar.nUpdateFlag;
    if (nFlags & eSysParUpdateUnit)
        pNode->AddChild(buildUnit(rSysPar));
    if (nFlags & eSysParUpdateLocked)
        pNode->AddChild(buildLocked(rSysPar));
    if (nFlags & eSysParUpdatePassword)
        pNode->AddChild(buildPassword(rSysPar));
    if (nFlags & eSysParUpdateSerialNumber)
        pNode->AddChild(buildSerialNumber(rSysPar));
    if (nFlags & eSysParUpdateEntityNo)
        pNode->AddChild(buildEntityNumber(rSysPar));
    return pNode;
}

wxXmlNode* CFileXml::buildSystemFlags(const SysPar& rSysPar)
{
    wxXmlNode* pNode = newElement("system-flags");
    if (rSysPar.nUpdateFlag & eSysParUpdateUnit)
        pNode->AddAttribute("unit", "true");
    if (rSysPar.nUpdateFlag & eSysParUpdateLocked)
        pNode->AddAttribute("locked", "true");
    // The element has no place for these; the editor never sets them.
    wxASSERT((rSysPar.nUpdateFlag & eSysParUpdatePassword) == 0);
    wxASSERT((rSysPar.nUpdateFlag & eSysParUpdateSerialNumber) == 0);
    wxASSERT((rSysPar.nUpdateFlag & eSysParUpdateEntityNo) == 0);
    return pNode;
}

wxXmlNode* CFileXml::buildUnit(const SysPar& rSysPar)
{
    if (rSysPar.cUnit == 1)
        return valueElement("unit", "centigrade");
    wxASSERT(rSysPar.cUnit == 2);
    return valueElement("unit", "fahrenheit");
}

wxXmlNode* CFileXml::buildLocked(const SysPar& rSysPar)
{
    return valueElement("locked", switchText(rSysPar.cLocked));
}

wxXmlNode* CFileXml::buildPassword(const SysPar& rSysPar)
{
    wxString strText;
    CBase64::encode(strText, rSysPar.acPassword, sizeof(rSysPar.acPassword));
    wxXmlNode* pNode = newElement("password");
    pNode->AddAttribute("base64", strText);
    return pNode;
}

wxXmlNode* CFileXml::buildSerialNumber(const SysPar& rSysPar)
{
    wxString strText;
    CBase64::encode(strText, rSysPar.acSerialNumber, sizeof(rSysPar.acSerialNumber));
    wxXmlNode* pNode = newElement("serial-number");
    pNode->AddAttribute("base64", strText);
    return pNode;
}

wxXmlNode* CFileXml::buildEntityNumber(const SysPar& rSysPar)
{
    return valueElement("entity-number", numberText(rSysPar.nEntityNo));
}

wxXmlNode* CFileXml::buildToolParameter(const ToolPar& rToolPar)
{
    wxXmlNode* pNode = newElement("tool-parameter");
    pNode->AddAttribute("version", "1");
    pNode->AddChild(buildToolFlags(rToolPar));
    pNode->AddChild(buildVarMode(rToolPar));
    pNode->AddChild(buildFixMode(rToolPar));
    const uint32_t nFlags = rToolPar.nUpdateFlag;
    if (nFlags & eToolParUpdateWakeup)
        pNode->AddChild(buildWakeup(rToolPar));
    if (nFlags & eToolParUpdateStandbyTm)
        pNode->AddChild(buildStandbyTime(rToolPar));
    if (nFlags & eToolParUpdateShutdownTm)
        pNode->AddChild(buildShutdownTime(rToolPar));
    return pNode;
}

wxXmlNode* CFileXml::buildToolFlags(const ToolPar& rToolPar)
{
    wxXmlNode* pNode = newElement("tool-flags");
    for (const FlagAttribute& rFlag : kToolFlags)
    {
        if (rToolPar.nUpdateFlag & rFlag.nFlag)
            pNode->AddAttribute(rFlag.szName, "true");
        // Calibration values have no place in the document.
        if (rFlag.nFlag == eToolParUpdateVarStandbyT)
            wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateVarCalT) == 0);
        if (rFlag.nFlag == eToolParUpdateFixStandbyT2)
        {
            wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixCalT0) == 0);
            wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixCalT1) == 0);
            wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixCalT2) == 0);
        }
    }
    return pNode;
}

wxXmlNode* CFileXml::buildVarMode(const ToolPar& rToolPar)
{
    wxXmlNode* pNode = newElement("var-mode");
    pNode->AddChild(buildVarSetTemp(rToolPar));
    pNode->AddChild(buildVarStandbyTemp(rToolPar));
    wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateVarCalT) == 0);
    pNode->AddChild(buildVarEnergyLevel(rToolPar));
    return pNode;
}

wxXmlNode* CFileXml::buildVarSetTemp(const ToolPar& rToolPar)
{
    return valueElement("var-set-temp", numberText(rToolPar.nVarSetT100mC));
}

wxXmlNode* CFileXml::buildVarStandbyTemp(const ToolPar& rToolPar)
{
    return valueElement("var-standby-temp", numberText(rToolPar.nVarStandbyT100mC));
}

wxXmlNode* CFileXml::buildVarEnergyLevel(const ToolPar& rToolPar)
{
    return valueElement("var-energy-level", numberText(rToolPar.cVarEnergy));
}

wxXmlNode* CFileXml::buildFixMode(const ToolPar& rToolPar)
{
    wxXmlNode* pNode = newElement("fix-mode");
    pNode->AddAttribute("enabled", switchText(rToolPar.cFixEnabled));
    pNode->AddAttribute("count", numberText(rToolPar.cFixCnt));
    pNode->AddAttribute("actual-index", numberText(rToolPar.cFixActualIdx));
    pNode->AddChild(buildFixSetTemp(rToolPar));
    pNode->AddChild(buildFixStandbyTemp(rToolPar));
    wxASSERT((rToolPar.nUpdateFlag &
              (eToolParUpdateFixCalT0 | eToolParUpdateFixCalT1 | eToolParUpdateFixCalT2)) == 0);
    pNode->AddChild(buildFixEnergyLevel(rToolPar));
    return pNode;
}

wxXmlNode* CFileXml::buildFixSetTemp(const ToolPar& rToolPar)
{
    return tripleElement("fix-set-temp", rToolPar.anFixSetT100mC[0], rToolPar.anFixSetT100mC[1],
                         rToolPar.anFixSetT100mC[2]);
}

wxXmlNode* CFileXml::buildFixStandbyTemp(const ToolPar& rToolPar)
{
    return tripleElement("fix-standby-temp", rToolPar.anFixStandbyT100mC[0],
                         rToolPar.anFixStandbyT100mC[1], rToolPar.anFixStandbyT100mC[2]);
}

wxXmlNode* CFileXml::buildFixEnergyLevel(const ToolPar& rToolPar)
{
    return tripleElement("fix-energy-level", rToolPar.acFixEnergy[0], rToolPar.acFixEnergy[1],
                         rToolPar.acFixEnergy[2]);
}

wxXmlNode* CFileXml::buildWakeup(const ToolPar& rToolPar)
{
    return valueElement("wakeup", switchText(rToolPar.cWakeup));
}

wxXmlNode* CFileXml::buildStandbyTime(const ToolPar& rToolPar)
{
    return valueElement("standby-time", numberText(rToolPar.cStandbyTmMin));
}

wxXmlNode* CFileXml::buildShutdownTime(const ToolPar& rToolPar)
{
    return valueElement("shutdown-time", numberText(rToolPar.cShutdownTmMin));
}

// ---- reading -----------------------------------------------------------

bool CFileXml::readSettings(CReporter& rReporter, SysPar& rSysPar, ToolPar& rToolPar)
{
    const wxXmlNode* pRoot = m_pXmlDoc->GetRoot();
    bool bOk = pRoot != nullptr && isElement(pRoot, "zolt-settings");
    CSeen seen;
    for (const wxXmlNode* pChild = bOk ? pRoot->GetChildren() : nullptr; bOk && pChild;
         pChild = pChild->GetNext())
    {
        if (isElement(pChild, "system-parameter"))
            bOk = seen.first(0) && parseSystemParameter(pChild, rSysPar);
        else if (isElement(pChild, "tool-parameter"))
            bOk = seen.first(1) && parseToolParameter(pChild, rToolPar);
    }
    if (!bOk)
        rReporter.report("File is corrupted", "failed to read the settings.");
    return bOk;
}

bool CFileXml::parseSystemParameter(const wxXmlNode* pNode, SysPar& rSysPar)
{
    CSeen seen;
    for (const wxXmlNode* pChild = pNode->GetChildren(); pChild; pChild = pChild->GetNext())
    {
        if (isElement(pChild, "system-flags"))
        {
            if (!seen.first(0))
                return false;
            parseSystemFlags(pChild, rSysPar);
        }
        else if (isElement(pChild, "unit"))
        {
            if (!seen.first(1))
                return false;
            wxString strValue;
            if (pChild->GetAttribute("value", &strValue))
            {
                if (strValue == "centigrade")
                    rSysPar.cUnit = 1;
                else if (strValue == "fahrenheit")
                    rSysPar.cUnit = 2;
                else
                    return false;
            }
        }
        else if (isElement(pChild, "locked"))
        {
            if (!seen.first(2))
                return false;
            wxString strValue;
            if (pChild->GetAttribute("value", &strValue))
            {
                if (strValue == "true")
                    rSysPar.cLocked = 1;
                else if (strValue == "false")
                    rSysPar.cLocked = 0;
                else
                    return false;
            }
        }
    }
    return true;
}

void CFileXml::parseSystemFlags(const wxXmlNode* pNode, SysPar& rSysPar)
{
    uint32_t nFlags = 0;
    for (const wxXmlAttribute* pAttr = pNode->GetAttributes(); pAttr; pAttr = pAttr->GetNext())
    {
        if (pAttr->GetValue() != "true")
            continue;
        if (pAttr->GetName() == "unit")
            nFlags |= eSysParUpdateUnit;
        else if (pAttr->GetName() == "locked")
            nFlags |= eSysParUpdateLocked;
    }
    rSysPar.nUpdateFlag = nFlags;
}

bool CFileXml::parseToolParameter(const wxXmlNode* pNode, ToolPar& rToolPar)
{
    static const char* const kChildren[] = {"tool-flags", "var-mode",     "fix-mode",
                                            "wakeup",     "standby-time", "shutdown-time"};
    CSeen seen;
    for (const wxXmlNode* pChild = pNode->GetChildren(); pChild; pChild = pChild->GetNext())
    {
        unsigned nIndex = 0;
        while (nIndex < WXSIZEOF(kChildren) && !isElement(pChild, kChildren[nIndex]))
            ++nIndex;
        if (nIndex == WXSIZEOF(kChildren))
            continue;
        if (!seen.first(nIndex))
            return false;
        bool bOk = true;
        switch (nIndex)
        {
        case 0:
            parseToolFlags(pChild, rToolPar);
            break;
        case 1:
            bOk = parseVarMode(pChild, rToolPar);
            break;
        case 2:
            bOk = parseFixMode(pChild, rToolPar);
            break;
        case 3:
        {
            wxString strValue;
            if (pChild->GetAttribute("value", &strValue))
                rToolPar.cWakeup = strValue == "true" ? 1 : 0;
            break;
        }
        case 4:
            bOk = readNumber(pChild, "value",
                             [&](unsigned long n) { rToolPar.cStandbyTmMin = low8(n); });
            break;
        default:
            bOk = readNumber(pChild, "value",
                             [&](unsigned long n) { rToolPar.cShutdownTmMin = low8(n); });
            break;
        }
        if (!bOk)
            return false;
    }
    return true;
}

void CFileXml::parseToolFlags(const wxXmlNode* pNode, ToolPar& rToolPar)
{
    uint32_t nFlags = 0;
    for (const wxXmlAttribute* pAttr = pNode->GetAttributes(); pAttr; pAttr = pAttr->GetNext())
    {
        if (pAttr->GetValue() != "true")
            continue;
        for (const FlagAttribute& rFlag : kToolFlags)
        {
            if (pAttr->GetName() == rFlag.szName)
                nFlags |= rFlag.nFlag;
        }
    }
    rToolPar.nUpdateFlag = nFlags;
}

bool CFileXml::parseVarMode(const wxXmlNode* pNode, ToolPar& rToolPar)
{
    CSeen seen;
    for (const wxXmlNode* pChild = pNode->GetChildren(); pChild; pChild = pChild->GetNext())
    {
        bool bOk = true;
        if (isElement(pChild, "var-set-temp"))
            bOk = seen.first(0) &&
                  readNumber(pChild, "value",
                             [&](unsigned long n) { rToolPar.nVarSetT100mC = low16(n); });
        else if (isElement(pChild, "var-standby-temp"))
            bOk = seen.first(1) &&
                  readNumber(pChild, "value",
                             [&](unsigned long n) { rToolPar.nVarStandbyT100mC = low16(n); });
        else if (isElement(pChild, "var-energy-level"))
            bOk = seen.first(2) &&
                  readNumber(pChild, "value",
                             [&](unsigned long n) { rToolPar.cVarEnergy = low8(n); });
        if (!bOk)
            return false;
    }
    return true;
}

bool CFileXml::parseFixMode(const wxXmlNode* pNode, ToolPar& rToolPar)
{
    wxString strEnabled;
    if (pNode->GetAttribute("enabled", &strEnabled))
        rToolPar.cFixEnabled = strEnabled == "true" ? 1 : 0;
    if (!readNumber(pNode, "count", [&](unsigned long n) { rToolPar.cFixCnt = low8(n); }) ||
        !readNumber(pNode, "actual-index",
                    [&](unsigned long n) { rToolPar.cFixActualIdx = low8(n); }))
        return false;

    static const char* const kChildren[] = {"fix-set-temp", "fix-standby-temp", "fix-energy-level"};
    static const char* const kValues[] = {"value1", "value2", "value3"};
    CSeen seen;
    for (const wxXmlNode* pChild = pNode->GetChildren(); pChild; pChild = pChild->GetNext())
    {
        unsigned nKind = 0;
        while (nKind < WXSIZEOF(kChildren) && !isElement(pChild, kChildren[nKind]))
            ++nKind;
        if (nKind == WXSIZEOF(kChildren))
            continue;
        if (!seen.first(nKind))
            return false;
        for (int i = 0; i < 3; ++i)
        {
            const auto fnStore = [&](unsigned long n)
            {
                if (nKind == 0)
                    rToolPar.anFixSetT100mC[i] = low16(n);
                else if (nKind == 1)
                    rToolPar.anFixStandbyT100mC[i] = low16(n);
                else
                    rToolPar.acFixEnergy[i] = low8(n);
            };
            if (!readNumber(pChild, kValues[i], fnStore))
                return false;
        }
    }
    return true;
}

// ---- files -------------------------------------------------------------

void CFileXml::chooseDir()
{
    if (!m_strDir.empty())
        return;
    // wxStandardPaths::Get() insists on an application object; the traits
    // that stand in without one (a bare test runner) give the same answer.
    m_strDir = wxApp::GetValidTraits().GetStandardPaths().GetDocumentsDir();
}

void CFileXml::acceptPath(const wxString& strPath)
{
    m_strDir = wxFileName(strPath).GetPath(wxPATH_GET_VOLUME);
    m_strFileName = strPath;
}

bool CFileXml::loadFile(CPrompter& rPrompter)
{
    chooseDir();
    const wxString strPath =
        rPrompter.chooseFile(CPrompter::eFileOpen, "Load Settings", m_strDir, "*.zlx", kWildcard);
    if (strPath.empty())
        return false;
    acceptPath(strPath);
    return loadPath(rPrompter, strPath);
}

bool CFileXml::loadPath(CReporter& rReporter, const wxString& strPath)
{
    // Read once, a byte past the limit at most, so that the screening and
    // the load see the same bytes and a huge file is not read whole.
    std::string strData(CXmlLimits::kMaxSize + 1, '\0');
    size_t nSize = 0;
    bool bOk;
    {
        wxLogNull noLog;
        wxFile file;
        bOk = file.Open(strPath);
        while (bOk && nSize < strData.size())
        {
            const ssize_t n = file.Read(&strData[nSize], strData.size() - nSize);
            bOk = n != wxInvalidOffset;
            if (!bOk || n == 0)
                break;
            nSize += static_cast<size_t>(n);
        }
    }
    if (!bOk)
    {
        rReporter.report("Can't read the file", "failed to load the file.");
        return false;
    }
    return loadData(rReporter, strData.data(), nSize);
}

bool CFileXml::loadData(CReporter& rReporter, const void* pData, size_t nSize)
{
    bool bOk = CXmlLimits::check(pData, nSize);
    if (bOk)
    {
        // The message below says it all; the library's own log would only
        // repeat it in another window or on the terminal.
        wxLogNull noLog;
        wxMemoryInputStream stream(pData, nSize);
        bOk = m_pXmlDoc->Load(stream);
    }
    if (!bOk)
        rReporter.report("Can't read the file", "failed to load the file.");
    return bOk;
}

bool CFileXml::saveFileAs(CPrompter& rPrompter, const wxString& strDefault)
{
    chooseDir();
    const wxString strPath = rPrompter.chooseFile(CPrompter::eFileSave, "Save Settings", m_strDir,
                                                  wxFileName(strDefault).GetFullName(), kWildcard);
    if (strPath.empty())
        return false;
    acceptPath(strPath);
    return writeDocument(rPrompter, strPath);
}

bool CFileXml::saveFile(CReporter& rReporter, const wxString& strPath)
{
    return writeDocument(rReporter, strPath);
}

bool CFileXml::writeDocument(CReporter& rReporter, const wxString& strPath)
{
    // The declaration is written from what the document holds, and a loaded
    // file can leave quotes and blanks in both values (the library reads
    // `version= "1.0"` loosely), so both are set to what loads again.
    m_pXmlDoc->SetVersion("1.0");
    m_pXmlDoc->SetFileEncoding(savedEncoding(m_pXmlDoc->GetFileEncoding()));
    // The document is serialised in memory first and then replaces the file
    // in one step, so a failed save never leaves a truncated file behind.
    wxMemoryOutputStream stream;
    bool bOk = m_pXmlDoc->Save(stream, 1);
    if (bOk)
    {
        const wxStreamBuffer* pBuffer = stream.GetOutputStreamBuffer();
        bOk = CSafeFileWriter::write(strPath, pBuffer->GetBufferStart(), stream.GetLength());
        if (!bOk)
            wxLogDebug("Saving %s failed: %s", strPath, CSafeFileWriter::getLastError());
    }
    if (!bOk)
        rReporter.report("Can't save the file", "failed to save the file.");
    return bOk;
}
