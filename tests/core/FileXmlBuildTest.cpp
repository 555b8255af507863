// Building the settings document: the exact bytes of a saved document, the
// element tree under the update flags, value encodings and the assertions on
// flags the document cannot hold.
#include "CDataCard.h"
#include "CFileXml.h"
#include "RecordingReporter.h"

#include <wx/xml/xml.h>

#include <gtest/gtest.h>

using namespace xmltest;

namespace
{
struct Flag
{
    const char* szName;
    uint32_t nBit;
};

// The attributes of "tool-flags", in the order a document lists them.
const Flag kToolFlagTable[] = {
    {"var-set-temp", 0x1},
    {"var-standby-temp", 0x2},
    {"var-energy-level", 0x8},
    {"fix-mode-enabled", 0x10},
    {"fix_set-temp0", 0x20},
    {"fix_set-temp1", 0x40},
    {"fix_set-temp2", 0x80},
    {"fix-standby-temp0", 0x100},
    {"fix-standby-temp1", 0x200},
    {"fix-standby-temp2", 0x400},
    {"fix-energy-level0", 0x4000},
    {"fix-energy-level1", 0x8000},
    {"fix-energy-level2", 0x10000},
    {"fix-mode-count", 0x20000},
    {"fix-mode-actual-index", 0x40000},
    {"wakeup", 0x80000},
    {"standby-time", 0x100000},
    {"shutdown-time", 0x200000},
};

std::vector<wxString> childNames(const wxXmlNode* pNode)
{
    std::vector<wxString> astr;
    for (const wxXmlNode* p = pNode->GetChildren(); p; p = p->GetNext())
        astr.push_back(p->GetName());
    return astr;
}

std::vector<wxString> attributeNames(const wxXmlNode* pNode)
{
    std::vector<wxString> astr;
    for (const wxXmlAttribute* p = pNode->GetAttributes(); p; p = p->GetNext())
        astr.push_back(p->GetName());
    return astr;
}

const wxXmlNode* child(const wxXmlNode* pNode, const wxString& strName)
{
    for (const wxXmlNode* p = pNode->GetChildren(); p; p = p->GetNext())
        if (p->GetName() == strName)
            return p;
    return nullptr;
}

const wxXmlNode* systemParameter(const CFileXml& rFile)
{
    return child(rFile.getDocument().GetRoot(), "system-parameter");
}

const wxXmlNode* toolParameter(const CFileXml& rFile)
{
    return child(rFile.getDocument().GetRoot(), "tool-parameter");
}

class FileXmlBuild : public ::testing::Test
{
protected:
    void SetUp() override { CDataCard::setDefaultPar(m_sys, m_tool); }

    SysPar m_sys;
    ToolPar m_tool;
    CFileXml m_file;
};
} // namespace

TEST_F(FileXmlBuild, DefaultRecordsSaveAsTheReferenceDocument)
{
    CScratchDir dir;
    CRecordingReporter reporter;
    ASSERT_TRUE(m_file.buildSettings(m_sys, m_tool));
    ASSERT_TRUE(m_file.saveFile(reporter, dir.file("defaults.zlx")));
    EXPECT_TRUE(reporter.m_aReports.empty());
    const std::string strExpected = readBytes(ZOLT_TEST_DATA_DIR "/defaults.zlx");
    ASSERT_FALSE(strExpected.empty());
    EXPECT_EQ(readBytes(dir.file("defaults.zlx")), strExpected);
}

TEST_F(FileXmlBuild, ElementsFollowTheUpdateFlags)
{
    struct Case
    {
        uint32_t nSysFlags;
        uint32_t nToolFlags;
        std::vector<wxString> astrSysChildren;
        std::vector<wxString> astrSysFlagAttrs;
        std::vector<wxString> astrToolTail; // children after "fix-mode"
    };
    const Case aCases[] = {
        {0, 0, {"system-flags"}, {}, {}},
        {0x1, 0x80000, {"system-flags", "unit"}, {"unit"}, {"wakeup"}},
        {0x2, 0x100000, {"system-flags", "locked"}, {"locked"}, {"standby-time"}},
        {0x3, 0x200000, {"system-flags", "unit", "locked"}, {"unit", "locked"}, {"shutdown-time"}},
        {0x3,
         0x3FC7F0,
         {"system-flags", "unit", "locked"},
         {"unit", "locked"},
         {"wakeup", "standby-time", "shutdown-time"}},
        {0x3,
         0x38001B,
         {"system-flags", "unit", "locked"},
         {"unit", "locked"},
         {"wakeup", "standby-time", "shutdown-time"}},
        {0x0, 0x3FC7FB, {"system-flags"}, {}, {"wakeup", "standby-time", "shutdown-time"}},
    };
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(wxString::Format("sys %#x tool %#x", c.nSysFlags, c.nToolFlags));
        m_sys.nUpdateFlag = c.nSysFlags;
        m_tool.nUpdateFlag = c.nToolFlags;
        m_file.buildSettings(m_sys, m_tool);

        const wxXmlNode* pRoot = m_file.getDocument().GetRoot();
        ASSERT_NE(pRoot, nullptr);
        EXPECT_EQ(pRoot->GetName(), "zolt-settings");
        EXPECT_EQ(childNames(pRoot), (std::vector<wxString>{"system-parameter", "tool-parameter"}));

        const wxXmlNode* pSys = systemParameter(m_file);
        EXPECT_EQ(pSys->GetAttribute("version"), "1");
        EXPECT_EQ(childNames(pSys), c.astrSysChildren);
        EXPECT_EQ(attributeNames(child(pSys, "system-flags")), c.astrSysFlagAttrs);

        const wxXmlNode* pTool = toolParameter(m_file);
        EXPECT_EQ(pTool->GetAttribute("version"), "1");
        std::vector<wxString> astrToolChildren = {"tool-flags", "var-mode", "fix-mode"};
        astrToolChildren.insert(astrToolChildren.end(), c.astrToolTail.begin(),
                                c.astrToolTail.end());
        EXPECT_EQ(childNames(pTool), astrToolChildren);

        std::vector<wxString> astrFlagAttrs;
        for (const Flag& f : kToolFlagTable)
            if (c.nToolFlags & f.nBit)
                astrFlagAttrs.push_back(f.szName);
        const wxXmlNode* pToolFlags = child(pTool, "tool-flags");
        EXPECT_EQ(attributeNames(pToolFlags), astrFlagAttrs);
        for (const wxXmlAttribute* p = pToolFlags->GetAttributes(); p; p = p->GetNext())
            EXPECT_EQ(p->GetValue(), "true") << p->GetName();

        // The mode values are written whatever the flags say.
        EXPECT_EQ(childNames(child(pTool, "var-mode")),
                  (std::vector<wxString>{"var-set-temp", "var-standby-temp", "var-energy-level"}));
        const wxXmlNode* pFix = child(pTool, "fix-mode");
        EXPECT_EQ(attributeNames(pFix),
                  (std::vector<wxString>{"enabled", "count", "actual-index"}));
        EXPECT_EQ(childNames(pFix),
                  (std::vector<wxString>{"fix-set-temp", "fix-standby-temp", "fix-energy-level"}));
        for (const wxXmlNode* p = pFix->GetChildren(); p; p = p->GetNext())
            EXPECT_EQ(attributeNames(p), (std::vector<wxString>{"value1", "value2", "value3"}));
    }
}

TEST_F(FileXmlBuild, ValuesAreEncodedAsTheFileFormatSays)
{
    m_sys.cUnit = 2;
    m_sys.cLocked = 5;
    m_tool.nUpdateFlag = 0x3FC7F0;
    m_tool.nVarSetT100mC = -5;
    m_tool.nVarStandbyT100mC = -32768;
    m_tool.cVarEnergy = 255;
    m_tool.cFixEnabled = 2;
    m_tool.cFixCnt = 0;
    m_tool.cFixActualIdx = 200;
    m_tool.anFixSetT100mC[0] = 32767;
    m_tool.anFixSetT100mC[1] = -1;
    m_tool.anFixSetT100mC[2] = 0;
    m_tool.anFixStandbyT100mC[2] = -1500;
    m_tool.acFixEnergy[1] = 0;
    m_tool.cWakeup = 2;
    m_tool.cStandbyTmMin = 0;
    m_tool.cShutdownTmMin = 255;
    m_file.buildSettings(m_sys, m_tool);

    const wxXmlNode* pSys = systemParameter(m_file);
    EXPECT_EQ(child(pSys, "unit")->GetAttribute("value"), "fahrenheit");
    EXPECT_EQ(child(pSys, "locked")->GetAttribute("value"), "true");

    const wxXmlNode* pTool = toolParameter(m_file);
    const wxXmlNode* pVar = child(pTool, "var-mode");
    EXPECT_EQ(child(pVar, "var-set-temp")->GetAttribute("value"), "-5");
    EXPECT_EQ(child(pVar, "var-standby-temp")->GetAttribute("value"), "-32768");
    EXPECT_EQ(child(pVar, "var-energy-level")->GetAttribute("value"), "255");
    const wxXmlNode* pFix = child(pTool, "fix-mode");
    EXPECT_EQ(pFix->GetAttribute("enabled"), "true");
    EXPECT_EQ(pFix->GetAttribute("count"), "0");
    EXPECT_EQ(pFix->GetAttribute("actual-index"), "200");
    const wxXmlNode* pSet = child(pFix, "fix-set-temp");
    EXPECT_EQ(pSet->GetAttribute("value1"), "32767");
    EXPECT_EQ(pSet->GetAttribute("value2"), "-1");
    EXPECT_EQ(pSet->GetAttribute("value3"), "0");
    EXPECT_EQ(child(pFix, "fix-standby-temp")->GetAttribute("value3"), "-1500");
    EXPECT_EQ(child(pFix, "fix-energy-level")->GetAttribute("value2"), "0");
    EXPECT_EQ(child(pTool, "wakeup")->GetAttribute("value"), "true");
    EXPECT_EQ(child(pTool, "standby-time")->GetAttribute("value"), "0");
    EXPECT_EQ(child(pTool, "shutdown-time")->GetAttribute("value"), "255");

    m_sys.cLocked = 0;
    m_tool.cFixEnabled = 0;
    m_tool.cWakeup = 0;
    m_file.buildSettings(m_sys, m_tool);
    EXPECT_EQ(child(systemParameter(m_file), "locked")->GetAttribute("value"), "false");
    EXPECT_EQ(child(toolParameter(m_file), "fix-mode")->GetAttribute("enabled"), "false");
    EXPECT_EQ(child(toolParameter(m_file), "wakeup")->GetAttribute("value"), "false");
}

TEST_F(FileXmlBuild, FlagsTheDocumentCannotHoldAreAssertedButStillWritten)
{
    CAssertRecorder asserts;
    for (uint8_t i = 0; i < 16; ++i)
    {
        m_sys.acPassword[i] = i;
        m_sys.acSerialNumber[i] = 0xFF;
    }
    m_sys.nEntityNo = 65535;
    m_sys.nUpdateFlag = 0x1F;
    m_sys.cUnit = 7;
    m_tool.nUpdateFlag = 0x38001B | 0x4 | 0x800 | 0x1000 | 0x2000;
    m_file.buildSettings(m_sys, m_tool);

    const std::vector<wxString> astrExpected = {
        "(rSysPar.nUpdateFlag & eSysParUpdatePassword) == 0",
        "(rSysPar.nUpdateFlag & eSysParUpdateSerialNumber) == 0",
        "(rSysPar.nUpdateFlag & eSysParUpdateEntityNo) == 0",
        "rSysPar.cUnit == 2",
        "(rToolPar.nUpdateFlag & eToolParUpdateVarCalT) == 0",
        "(rToolPar.nUpdateFlag & eToolParUpdateFixCalT0) == 0",
        "(rToolPar.nUpdateFlag & eToolParUpdateFixCalT1) == 0",
        "(rToolPar.nUpdateFlag & eToolParUpdateFixCalT2) == 0",
        "(rToolPar.nUpdateFlag & eToolParUpdateVarCalT) == 0",
        "(rToolPar.nUpdateFlag & (eToolParUpdateFixCalT0 | eToolParUpdateFixCalT1 | "
        "eToolParUpdateFixCalT2)) == 0",
    };
    EXPECT_EQ(CAssertRecorder::conditions(), astrExpected);

    const wxXmlNode* pSys = systemParameter(m_file);
    EXPECT_EQ(childNames(pSys), (std::vector<wxString>{"system-flags", "unit", "locked", "password",
                                                       "serial-number", "entity-number"}));
    EXPECT_EQ(attributeNames(child(pSys, "system-flags")),
              (std::vector<wxString>{"unit", "locked"}));
    EXPECT_EQ(child(pSys, "unit")->GetAttribute("value"), "fahrenheit");
    EXPECT_EQ(child(pSys, "password")->GetAttribute("base64"), "AAECAwQFBgcICQoLDA0ODw==");
    EXPECT_EQ(child(pSys, "serial-number")->GetAttribute("base64"), "/////////////////////w==");
    EXPECT_EQ(child(pSys, "entity-number")->GetAttribute("value"), "65535");
    // Calibration flags have no attribute.
    EXPECT_EQ(attributeNames(child(toolParameter(m_file), "tool-flags")).size(), 7u);
}

TEST_F(FileXmlBuild, ValidRecordsRaiseNoAssertion)
{
    CAssertRecorder asserts;
    m_file.buildSettings(m_sys, m_tool);
    m_sys.cUnit = 2;
    m_tool.nUpdateFlag = 0x3FC7FB;
    m_file.buildSettings(m_sys, m_tool);
    EXPECT_TRUE(CAssertRecorder::conditions().empty());
}

TEST_F(FileXmlBuild, BuildingAgainReplacesTheWholeTree)
{
    CScratchDir dir;
    CRecordingReporter reporter;
    m_file.buildSettings(m_sys, m_tool);

    SysPar sys2 = m_sys;
    ToolPar tool2 = m_tool;
    sys2.cUnit = 2;
    sys2.nUpdateFlag = 0x1;
    tool2.nUpdateFlag = 0;
    tool2.nVarSetT100mC = 4000;
    m_file.buildSettings(sys2, tool2);
    ASSERT_TRUE(m_file.saveFile(reporter, dir.file("twice.zlx")));

    CFileXml once;
    once.buildSettings(sys2, tool2);
    ASSERT_TRUE(once.saveFile(reporter, dir.file("once.zlx")));
    EXPECT_EQ(readBytes(dir.file("twice.zlx")), readBytes(dir.file("once.zlx")));
    EXPECT_EQ(m_file.getDocument().GetRoot()->GetNext(), nullptr);
}
