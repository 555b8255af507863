// Reading a settings document back: random records survive a save and a
// load as far as the document carries them, and the reader's rules for
// names, duplicates, numbers and corrupt documents.
#include "CDataCard.h"
#include "CFileXml.h"
#include "RecordingReporter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

using namespace xmltest;

namespace
{
bool sameBytes(const void* p1, const void* p2, size_t n)
{
    return std::memcmp(p1, p2, n) == 0;
}

template <class T> void randomize(T& rRecord, std::mt19937& rGen)
{
    auto* p = reinterpret_cast<uint8_t*>(&rRecord);
    for (size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<uint8_t>(rGen());
}

// Loads a document given as text into the file object.
bool loadText(CFileXml& rFile, CReporter& rReporter, const std::string& strXml)
{
    CScratchDir dir;
    writeBytes(dir.file("doc.zlx"), strXml);
    return rFile.loadPath(rReporter, dir.file("doc.zlx"));
}

std::string document(const std::string& strSystem, const std::string& strTool)
{
    return "<?xml version=\"1.0\"?>\n<zolt-settings>\n<system-parameter version=\"1\">" +
           strSystem + "</system-parameter>\n<tool-parameter version=\"1\">" + strTool +
           "</tool-parameter>\n</zolt-settings>\n";
}

const char* const kCorruptTitle = "File is corrupted";
const char* const kCorruptText = "failed to read the settings.";
} // namespace

TEST(FileXmlRead, RandomRecordsComeBackAsTheDocumentCarriesThem)
{
    // Out-of-range flags only raise silent assertions here.
    const wxAssertHandler_t pPrevious = wxSetAssertHandler(nullptr);
    std::mt19937 gen(20261206);
    CScratchDir dir;
    const wxString strPath = dir.file("random.zlx");
    for (int nRound = 0; nRound < 100; ++nRound)
    {
        SCOPED_TRACE(nRound);
        SysPar sys, sysIn, sysOut;
        ToolPar tool, toolIn, toolOut;
        randomize(sys, gen);
        randomize(tool, gen);
        randomize(sysIn, gen);
        randomize(toolIn, gen);
        // Now and then the common values, so every branch is met both ways.
        if (nRound % 3 == 0)
            sys.cUnit = 1 + nRound % 2;
        if (nRound % 4 == 0)
            tool.nUpdateFlag = nRound % 8 == 0 ? 0x38001B : 0x3FC7F0;

        CFileXml writer;
        CRecordingReporter reporter;
        writer.buildSettings(sys, tool);
        ASSERT_TRUE(writer.saveFile(reporter, strPath));

        CFileXml reader;
        ASSERT_TRUE(reader.loadPath(reporter, strPath));
        sysOut = sysIn;
        toolOut = toolIn;
        ASSERT_TRUE(reader.readSettings(reporter, sysOut, toolOut));
        EXPECT_TRUE(reporter.m_aReports.empty());

        // System side: only unit and locked travel, each under its flag.
        EXPECT_EQ(sysOut.nUpdateFlag, sys.nUpdateFlag & 0x3u);
        EXPECT_EQ(sysOut.cUnit, (sys.nUpdateFlag & 0x1) ? (sys.cUnit == 1 ? 1 : 2) : sysIn.cUnit);
        EXPECT_EQ(sysOut.cLocked, (sys.nUpdateFlag & 0x2) ? (sys.cLocked != 0) : sysIn.cLocked);
        EXPECT_TRUE(sameBytes(sysOut.acPassword, sysIn.acPassword, 16));
        EXPECT_TRUE(sameBytes(sysOut.acSerialNumber, sysIn.acSerialNumber, 16));
        EXPECT_EQ(sysOut.nEntityNo, sysIn.nEntityNo);
        EXPECT_TRUE(sameBytes(&sysOut, &sysIn, 3));
        EXPECT_EQ(sysOut.nCrc, sysIn.nCrc);

        // Tool side: every flag but the calibration ones, the mode values
        // always, wake-up and the times under their flags.
        const uint32_t nTool = tool.nUpdateFlag;
        EXPECT_EQ(toolOut.nUpdateFlag, nTool & 0x3FC7FBu);
        EXPECT_EQ(toolOut.nVarSetT100mC, tool.nVarSetT100mC);
        EXPECT_EQ(toolOut.nVarStandbyT100mC, tool.nVarStandbyT100mC);
        EXPECT_EQ(toolOut.cVarEnergy, tool.cVarEnergy);
        EXPECT_EQ(toolOut.cFixEnabled, tool.cFixEnabled != 0);
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_EQ(toolOut.anFixSetT100mC[i], tool.anFixSetT100mC[i]);
            EXPECT_EQ(toolOut.anFixStandbyT100mC[i], tool.anFixStandbyT100mC[i]);
            EXPECT_EQ(toolOut.acFixEnergy[i], tool.acFixEnergy[i]);
            EXPECT_EQ(toolOut.anFixCalT100mK[i], toolIn.anFixCalT100mK[i]);
        }
        EXPECT_EQ(toolOut.cFixCnt, tool.cFixCnt);
        EXPECT_EQ(toolOut.cFixActualIdx, tool.cFixActualIdx);
        EXPECT_EQ(toolOut.cWakeup, (nTool & 0x80000) ? (tool.cWakeup != 0) : toolIn.cWakeup);
        EXPECT_EQ(toolOut.cStandbyTmMin,
                  (nTool & 0x100000) ? tool.cStandbyTmMin : toolIn.cStandbyTmMin);
        EXPECT_EQ(toolOut.cShutdownTmMin,
                  (nTool & 0x200000) ? tool.cShutdownTmMin : toolIn.cShutdownTmMin);
        EXPECT_EQ(toolOut.nVarCalT100mK, toolIn.nVarCalT100mK);
        EXPECT_TRUE(sameBytes(&toolOut, &toolIn, 3));
        EXPECT_EQ(toolOut.nCrc, toolIn.nCrc);
    }
    wxSetAssertHandler(pPrevious);
}

TEST(FileXmlRead, DocumentsThatReadWithoutError)
{
    struct Case
    {
        const char* szWhat;
        std::string strXml;
        std::function<void(SysPar&, ToolPar&)> fnExpect; // changes from the defaults
    };
    const Case aCases[] = {
        {"root without children", "<zolt-settings/>", [](SysPar&, ToolPar&) {}},
        {"text, comments and unknown elements are skipped",
         "<zolt-settings>hello<!-- c --><other><tool-parameter><wakeup value=\"false\"/>"
         "</tool-parameter></other><system-flags/></zolt-settings>",
         [](SysPar&, ToolPar&) {}},
        {"empty flag elements clear all flags", document("<system-flags/>", "<tool-flags/>"),
         [](SysPar& s, ToolPar& t)
         {
             s.nUpdateFlag = 0;
             t.nUpdateFlag = 0;
         }},
        {"flag attributes are set only by the exact name and \"true\"",
         document("<system-flags unit=\"TRUE\" locked=\"true\" Unit=\"true\"/>",
                  "<tool-flags fix_set-temp0=\"true\" fix-set-temp1=\"true\" Wakeup=\"true\" "
                  "wakeup=\"yes\" fix-mode-count=\"true\" var-cal-temp=\"true\"/>"),
         [](SysPar& s, ToolPar& t)
         {
             s.nUpdateFlag = 0x2;
             t.nUpdateFlag = 0x20 | 0x20000;
         }},
        {"unit, locked and wake-up words",
         document("<unit value=\"fahrenheit\"/><locked value=\"true\"/>",
                  "<wakeup value=\"yes\"/>"),
         [](SysPar& s, ToolPar& t)
         {
             s.cUnit = 2;
             s.cLocked = 1;
             t.cWakeup = 0;
         }},
        {"items without their attribute keep their fields",
         document("<unit/><locked other=\"true\"/>",
                  "<wakeup/><standby-time/><var-mode><var-set-temp/></var-mode>"
                  "<fix-mode><fix-set-temp value2=\"1234\"/></fix-mode>"),
         [](SysPar&, ToolPar& t) { t.anFixSetT100mC[1] = 1234; }},
        {"numbers keep the bits that fit their field",
         document("", "<var-mode><var-set-temp value=\"70000\"/><var-standby-temp value=\"-5\"/>"
                      "<var-energy-level value=\"258\"/></var-mode>"
                      "<standby-time value=\"300\"/><shutdown-time value=\"-1\"/>"
                      "<fix-mode count=\"7\" actual-index=\"+2\" enabled=\"TRUE\">"
                      "<fix-standby-temp value1=\"4294967295\" value3=\" 9999\"/>"
                      "<fix-energy-level value1=\"0\" value2=\"3\" value3=\"65539\"/>"
                      "</fix-mode>"),
         [](SysPar&, ToolPar& t)
         {
             t.nVarSetT100mC = 4464;
             t.nVarStandbyT100mC = -5;
             t.cVarEnergy = 2;
             t.cStandbyTmMin = 44;
             t.cShutdownTmMin = 255;
             t.cFixCnt = 7;
             t.cFixActualIdx = 2;
             t.cFixEnabled = 0;
             t.anFixStandbyT100mC[0] = -1;
             t.anFixStandbyT100mC[2] = 9999;
             t.acFixEnergy[0] = 0;
             t.acFixEnergy[1] = 3;
             t.acFixEnergy[2] = 3;
         }},
        {"known elements at the wrong level are not read",
         document("<system-parameter><unit value=\"fahrenheit\"/></system-parameter>",
                  "<var-mode><wakeup value=\"false\"/><fix-set-temp value1=\"1\"/></var-mode>"
                  "<fix-mode><var-set-temp value=\"1\"/><fix-mode count=\"2\"/></fix-mode>"
                  "<system-flags/><unit value=\"bad\"/>"),
         [](SysPar&, ToolPar&) {}},
        {"password, serial number and entity number are not read",
         document("<password base64=\"AAECAwQFBgcICQoLDA0ODw==\"/>"
                  "<serial-number base64=\"/////////////////////w==\"/>"
                  "<entity-number value=\"77\"/>",
                  ""),
         [](SysPar&, ToolPar&) {}},
        {"versions and unknown attributes are not looked at",
         "<zolt-settings x=\"1\"><system-parameter version=\"abc\"/>"
         "<tool-parameter version=\"\"><var-mode count=\"abc\"/></tool-parameter></zolt-settings>",
         [](SysPar&, ToolPar&) {}},
    };
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(c.szWhat);
        CFileXml file;
        CRecordingReporter reporter;
        ASSERT_TRUE(loadText(file, reporter, c.strXml));
        SysPar sys, sysExpected;
        ToolPar tool, toolExpected;
        CDataCard::setDefaultPar(sys, tool);
        CDataCard::setDefaultPar(sysExpected, toolExpected);
        c.fnExpect(sysExpected, toolExpected);
        EXPECT_TRUE(file.readSettings(reporter, sys, tool));
        EXPECT_TRUE(reporter.m_aReports.empty());
        EXPECT_TRUE(sameBytes(&sys, &sysExpected, sizeof sys));
        EXPECT_TRUE(sameBytes(&tool, &toolExpected, sizeof tool));
    }
}

TEST(FileXmlRead, DocumentsThatAreCorrupt)
{
    const std::pair<const char*, std::string> aCases[] = {
        {"wrong root", "<zolt-setting/>"},
        {"root in capitals", "<Zolt-Settings/>"},
        {"two system parameters",
         "<zolt-settings><system-parameter/><system-parameter/></zolt-settings>"},
        {"two tool parameters",
         "<zolt-settings><tool-parameter/><tool-parameter/></zolt-settings>"},
        {"unit with a capital", document("<unit value=\"Centigrade\"/>", "")},
        {"unit empty", document("<unit value=\"\"/>", "")},
        {"locked not a switch word", document("<locked value=\"1\"/>", "")},
        {"second system-flags", document("<system-flags/><system-flags/>", "")},
        {"second unit", document("<unit value=\"centigrade\"/><unit value=\"centigrade\"/>", "")},
        {"second locked", document("<locked value=\"true\"/><locked value=\"true\"/>", "")},
        {"second tool-flags", document("", "<tool-flags/><tool-flags/>")},
        {"second var-mode", document("", "<var-mode/><var-mode/>")},
        {"second fix-mode", document("", "<fix-mode/><fix-mode/>")},
        {"second wakeup", document("", "<wakeup value=\"true\"/><wakeup value=\"true\"/>")},
        {"second standby-time", document("", "<standby-time/><standby-time/>")},
        {"second shutdown-time", document("", "<shutdown-time/><shutdown-time/>")},
        {"count empty", document("", "<fix-mode count=\"\"/>")},
        {"count not a number", document("", "<fix-mode count=\"abc\"/>")},
        {"actual-index with a unit", document("", "<fix-mode actual-index=\"1x\"/>")},
        {"standby time not a number", document("", "<standby-time value=\"five\"/>")},
        {"shutdown time trailing blank", document("", "<shutdown-time value=\"10 \"/>")},
        {"temperature beyond any integer",
         document("", "<var-mode><var-set-temp value=\"99999999999999999999999\"/></var-mode>")},
        {"temperature with a decimal point",
         document("", "<var-mode><var-standby-temp value=\"250.0\"/></var-mode>")},
        {"energy in hex", document("", "<var-mode><var-energy-level value=\"0x3\"/></var-mode>")},
        {"second var-set-temp",
         document("", "<var-mode><var-set-temp value=\"1\"/><var-set-temp value=\"1\"/>"
                      "</var-mode>")},
        {"second fix-energy-level",
         document("", "<fix-mode><fix-energy-level/><fix-energy-level/></fix-mode>")},
        {"fixed value not a number",
         document("", "<fix-mode><fix-set-temp value1=\"1\" value3=\"x\"/></fix-mode>")},
    };
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.first);
        const std::string& strXml = c.second;
        CFileXml file;
        CRecordingReporter reporter;
        ASSERT_TRUE(loadText(file, reporter, strXml));
        SysPar sys;
        ToolPar tool;
        CDataCard::setDefaultPar(sys, tool);
        EXPECT_FALSE(file.readSettings(reporter, sys, tool));
        ASSERT_EQ(reporter.m_aReports.size(), 1u);
        EXPECT_EQ(reporter.m_aReports[0].strTitle, kCorruptTitle);
        EXPECT_EQ(reporter.m_aReports[0].strText, kCorruptText);
    }
}

TEST(FileXmlRead, FieldsReadBeforeAFailureStayAssigned)
{
    CFileXml file;
    CRecordingReporter reporter;
    ASSERT_TRUE(loadText(file, reporter,
                         document("<unit value=\"fahrenheit\"/>",
                                  "<var-mode><var-set-temp value=\"1600\"/></var-mode>"
                                  "<standby-time value=\"x\"/>")));
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    EXPECT_FALSE(file.readSettings(reporter, sys, tool));
    EXPECT_EQ(sys.cUnit, 2);
    EXPECT_EQ(tool.nVarSetT100mC, 1600);
}

TEST(FileXmlRead, NothingLoadedIsCorrupt)
{
    CFileXml file;
    CRecordingReporter reporter;
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    EXPECT_FALSE(file.readSettings(reporter, sys, tool));
    ASSERT_EQ(reporter.m_aReports.size(), 1u);
    EXPECT_EQ(reporter.m_aReports[0].strTitle, kCorruptTitle);
}

TEST(FileXmlRead, FilesThatDoNotLoad)
{
    CScratchDir dir;
    writeBytes(dir.file("broken.zlx"), "<zolt-settings><system-parameter></zolt-settings>");
    writeBytes(dir.file("empty.zlx"), "");
    writeBytes(dir.file("binary.zlx"), std::string("\xf6\x34\x86\x3a\x00\x07", 6));
    std::filesystem::create_directory(dir.path() / "folder.zlx");
    const char* const aszNames[] = {"broken.zlx", "empty.zlx", "binary.zlx", "folder.zlx",
                                    "missing.zlx"};
    for (const char* szName : aszNames)
    {
        SCOPED_TRACE(szName);
        CFileXml file;
        CRecordingReporter reporter;
        EXPECT_FALSE(file.loadPath(reporter, dir.file(szName)));
        ASSERT_EQ(reporter.m_aReports.size(), 1u);
        EXPECT_EQ(reporter.m_aReports[0].strTitle, "Can't read the file");
        EXPECT_EQ(reporter.m_aReports[0].strText, "failed to load the file.");
        // The path given to load is not remembered as the dialog's choice.
        EXPECT_TRUE(file.getFileName().empty());
    }
}
