// The settings document: its items under the update flags, reading it with
// the reader's rules, its limits and encodings, and the file dialogs. Its
// bytes are pinned by the reference document here and by the zoltcfg tests.
#include "CAssertRecorder.h"
#include "CDataCard.h"
#include "CFileXml.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <wx/init.h>
#include <wx/stdpaths.h>
#include <wx/xml/xml.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
using Names = std::vector<std::string>; // readable in failure messages

struct Pair
{
    SysPar sys;
    ToolPar tool;
    Pair() { CDataCard::setDefaultPar(sys, tool); }
    bool operator==(const Pair& r) const { return !std::memcmp(this, &r, sizeof r); }
};

// The names of a node's children, each with its Base64 text if it has one.
Names names(const wxXmlNode* pNode)
{
    Names astr;
    for (pNode = pNode->GetChildren(); pNode; pNode = pNode->GetNext())
        astr.push_back(
            (pNode->GetName() + " " + pNode->GetAttribute("base64")).Trim().ToStdString());
    return astr;
}

Names reports(const CScriptedPrompter& rPrompter)
{
    Names astr;
    for (const CScriptedPrompter::Report& r : rPrompter.getReports())
        astr.push_back((r.strTitle + ": " + r.strText).ToStdString());
    return astr;
}

const std::string kCorrupt = "File is corrupted: failed to read the settings.";
const std::string kCantSave = "Can't save the file: failed to save the file.";
const std::string kCantRead = "Can't read the file: failed to load the file.";

bool loadText(CFileXml& rFile, CReporter& rReporter, const std::string& strXml)
{
    CTempDir dir;
    CTempDir::writeFile(dir.file("doc.zlx"), strXml);
    return rFile.loadPath(rReporter, dir.file("doc.zlx"));
}

std::string document(const std::string& strSystem, const std::string& strTool)
{
    return "<zolt-settings><system-parameter>" + strSystem + "</system-parameter><tool-parameter>" +
           strTool + "</tool-parameter></zolt-settings>";
}
} // namespace

TEST(FileXml, ItemsFollowTheFlags)
{
    // Flags no document holds are asserted but written: three system flags,
    // four calibration flags (two of them twice).
    const std::tuple<uint32_t, uint32_t, Names, Names, size_t> aCase[] = {
        {0, 0, {}, {}, 0},
        {2, 0x100000, {"locked"}, {"standby-time"}, 0},
        {0x1F,
         0x3FFFFF,
         {"unit", "locked", "password AAEAAAAAAAAAAAAAAAAAAA==",
          "serial-number AAAAAAAAAAAAAAAAAAAA/w==", "entity-number"},
         {"wakeup", "standby-time", "shutdown-time"},
         9}};
    for (const auto& [nSys, nTool, astrSys, astrTool, nAsserts] : aCase)
    {
        Pair p;
        p.sys.acPassword[1] = 1, p.sys.acSerialNumber[15] = 0xFF;
        p.sys.nUpdateFlag = nSys, p.tool.nUpdateFlag = nTool;
        CAssertRecorder asserts;
        CFileXml file;
        file.buildSettings(p.sys, p.tool);
        EXPECT_EQ(asserts.getAsserts().size(), nAsserts);
        Names astrS = {"system-flags"}, astrT = {"tool-flags", "var-mode", "fix-mode"};
        astrS.insert(astrS.end(), astrSys.begin(), astrSys.end());
        astrT.insert(astrT.end(), astrTool.begin(), astrTool.end());
        const wxXmlNode* pSys = file.getDocument().GetRoot()->GetChildren();
        EXPECT_EQ(names(pSys), astrS);
        EXPECT_EQ(names(pSys->GetNext()), astrT);
    }
}

TEST(FileXml, DocumentsAsTheReaderTakesThem)
{
    // Each document with the changes it makes to the defaults, or none when
    // it is corrupt.
    using FnExpect = void (*)(SysPar&, ToolPar&);
    const FnExpect fnSame = [](SysPar&, ToolPar&) {};
    const std::pair<std::string, FnExpect> aCases[] = {
        // Text, comments, unknown elements and known ones at the wrong level
        // are skipped; so are versions and unknown attributes.
        {"<zolt-settings x=\"1\">hello<!-- c --><other><tool-parameter><wakeup value=\"false\"/>"
         "</tool-parameter></other><system-flags/><system-parameter version=\"abc\"/>"
         "</zolt-settings>",
         fnSame},
        {document("<system-parameter><unit value=\"fahrenheit\"/></system-parameter>"
                  "<password base64=\"AAECAwQFBgcICQoLDA0ODw==\"/><entity-number value=\"77\"/>",
                  "<var-mode count=\"abc\"><wakeup value=\"false\"/><fix-set-temp value1=\"1\"/>"
                  "</var-mode><fix-mode><var-set-temp value=\"1\"/><fix-mode count=\"2\"/>"
                  "</fix-mode><system-flags/><unit value=\"bad\"/>"),
         fnSame},
        // Flags: present only under the exact name with "true".
        {document("<system-flags unit=\"TRUE\" locked=\"true\" Unit=\"true\"/>",
                  "<tool-flags fix_set-temp0=\"true\" fix-set-temp1=\"true\" Wakeup=\"true\" "
                  "wakeup=\"yes\" fix-mode-count=\"true\" var-cal-temp=\"true\"/>"),
         [](SysPar& s, ToolPar& t) { s.nUpdateFlag = 0x2, t.nUpdateFlag = 0x20 | 0x20000; }},
        {document("<unit value=\"fahrenheit\"/><locked value=\"true\"/>",
                  "<wakeup value=\"yes\"/>"),
         [](SysPar& s, ToolPar& t) { s.cUnit = 2, s.cLocked = 1, t.cWakeup = 0; }},
        // Items without their attribute keep their fields.
        {document("<unit/><locked other=\"true\"/>",
                  "<wakeup/><standby-time/><var-mode><var-set-temp/></var-mode>"
                  "<fix-mode><fix-set-temp value2=\"1234\"/></fix-mode>"),
         [](SysPar&, ToolPar& t) { t.anFixSetT100mC[1] = 1234; }},
        // Numbers keep the bits that fit their field.
        {document("", "<var-mode><var-set-temp value=\"70000\"/><var-standby-temp value=\"-5\"/>"
                      "<var-energy-level value=\"258\"/></var-mode>"
                      "<standby-time value=\"300\"/><shutdown-time value=\"-1\"/>"
                      "<fix-mode count=\"7\" actual-index=\"+2\" enabled=\"TRUE\">"
                      "<fix-standby-temp value1=\"4294967295\" value3=\" 9999\"/>"
                      "<fix-energy-level value1=\"0\" value3=\"65539\"/></fix-mode>"),
         [](SysPar&, ToolPar& t)
         {
             t.nVarSetT100mC = 4464, t.nVarStandbyT100mC = -5, t.cVarEnergy = 2;
             t.cStandbyTmMin = 44, t.cShutdownTmMin = 255;
             t.cFixCnt = 7, t.cFixActualIdx = 2, t.cFixEnabled = 0;
             t.anFixStandbyT100mC[0] = -1, t.anFixStandbyT100mC[2] = 9999, t.acFixEnergy[0] = 0;
         }},
        {"", nullptr}, // nothing loaded
        {"<Zolt-Settings/>", nullptr},
        {"<zolt-settings><system-parameter/><system-parameter/></zolt-settings>", nullptr},
        {"<zolt-settings><tool-parameter/><tool-parameter/></zolt-settings>", nullptr},
        {document("<unit value=\"Centigrade\"/>", ""), nullptr},
        {document("<locked value=\"1\"/>", ""), nullptr},
        {document("<system-flags/><system-flags/>", ""), nullptr},
        {document("<locked/><locked/>", ""), nullptr},
        {document("", "<var-mode/><var-mode/>"), nullptr},
        {document("", "<shutdown-time/><shutdown-time/>"), nullptr},
        {document("", "<fix-mode count=\"abc\"/>"), nullptr},
        {document("", "<shutdown-time value=\"10 \"/>"), nullptr},
        {document("", "<var-mode><var-energy-level value=\"0x3\"/></var-mode>"), nullptr},
        {document("", "<var-mode><var-set-temp/><var-set-temp/></var-mode>"), nullptr},
        {document("", "<fix-mode><fix-energy-level/><fix-energy-level/></fix-mode>"), nullptr},
        {document("", "<fix-mode><fix-set-temp value1=\"1\" value3=\"x\"/></fix-mode>"), nullptr}};
    for (const auto& [strXml, fnExpect] : aCases)
    {
        SCOPED_TRACE(strXml);
        CFileXml file;
        CScriptedPrompter prompter;
        ASSERT_TRUE(strXml.empty() || loadText(file, prompter, strXml));
        Pair p, expected;
        if (fnExpect)
            fnExpect(expected.sys, expected.tool);
        EXPECT_EQ(file.readSettings(prompter, p.sys, p.tool), fnExpect != nullptr);
        EXPECT_EQ(reports(prompter), fnExpect ? Names() : Names{kCorrupt});
        EXPECT_TRUE(!fnExpect || p == expected);
    }
}

TEST(FileXml, DocumentsFarLargerOrDeeperThanARealOneAreRefused)
{
    // nDepth levels in all, padded with a comment to nSize bytes; or an
    // entity that expands to nDepth levels below the root.
    const auto doc = [](size_t nDepth, size_t nSize, bool bEntity)
    {
        std::string strOpen, strClose;
        for (size_t n = 1; n < nDepth; ++n)
            strOpen += "<a>", strClose += "</a>";
        if (bEntity)
            return "<!DOCTYPE zolt-settings [<!ENTITY e \"<a>" + strOpen + strClose +
                   "</a>\">]><zolt-settings>&e;</zolt-settings>";
        strOpen = "<zolt-settings>" + strOpen, strClose += "</zolt-settings>";
        return strOpen + "<!--" + std::string(nSize - strOpen.size() - strClose.size() - 7, '.') +
               "-->" + strClose;
    };
    const std::pair<std::string, bool> aCases[] = {
        {doc(32, 64 * 1024, false), true},
        {doc(33, 1000, false), false},
        {doc(4, 64 * 1024 + 1, false), false},
        {doc(32, 0, true), false},
        {doc(31, 0, true), true},
        {doc(20000, 200000, false).substr(0, 60012), false}};
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.first.substr(0, 80) + "... " + std::to_string(c.first.size()));
        CFileXml file;
        CScriptedPrompter prompter;
        file.buildSettings(Pair().sys, Pair().tool);
        const wxXmlNode* pHeld = file.getDocument().GetRoot();
        EXPECT_EQ(loadText(file, prompter, c.first), c.second);
        // A refused document leaves the one held before.
        EXPECT_EQ(file.getDocument().GetRoot() == pHeld, !c.second);
        EXPECT_EQ(reports(prompter), c.second ? Names() : Names{kCantRead});
        EXPECT_TRUE(file.getFileName().empty()); // a given path is not the dialog's choice
    }
}

TEST(FileXml, DialogsAskWithTheirTextsAndFollowTheLastAcceptedFile)
{
    CTempDir dir;
    const std::string strSaved = dir.file("saved.zlx"), strOther = dir.file("sub/other.zlx");
    ASSERT_TRUE(CTempDir::makeDirs(dir.file("sub")));
    CScriptedPrompter prompter;
    CFileXml file;
    file.buildSettings(Pair().sys, Pair().tool);
    ASSERT_TRUE(file.saveFile(prompter, strSaved));
    // The default records make the reference document, byte for byte.
    EXPECT_EQ(CTempDir::readFile(strSaved), CTempDir::readFile(ZOLT_TEST_DATA_DIR "/defaults.zlx"));
    // A cancelled open, then an accepted one.
    EXPECT_FALSE(file.loadFile(prompter));
    prompter.answerFile(strSaved);
    EXPECT_TRUE(file.loadFile(prompter));
    EXPECT_EQ(file.getFileName() + " " + file.getDir(), strSaved + " " + dir.path());
    // Save as offers the name part of the default; a cancel writes nothing.
    EXPECT_FALSE(file.saveFileAs(prompter, "/no/such/place/zolt7.zlx"));
    EXPECT_EQ(file.getFileName(), strSaved);
    prompter.answerFile(strOther);
    EXPECT_TRUE(file.saveFileAs(prompter, "zolt1.zlx"));
    EXPECT_EQ(CTempDir::readFile(strOther), CTempDir::readFile(strSaved));
    EXPECT_EQ(file.getFileName(), strOther);
    EXPECT_TRUE(prompter.getReports().empty());
    // Opens that fail (a folder, no file, a broken one) report, yet remember
    // the file chosen; so do saves that fail, one with nothing built to write.
    CTempDir::writeFile(dir.file("b.zlx"), "<zolt-settings><system-parameter></zolt-settings>");
    for (const char* szName : {"sub", "missing.zlx", "b.zlx"})
    {
        prompter.answerFile(dir.file(szName));
        EXPECT_FALSE(file.loadFile(prompter));
        EXPECT_EQ(file.getFileName(), dir.file(szName));
    }
    EXPECT_FALSE(file.saveFile(prompter, dir.file("sub")));
    CFileXml empty;
    prompter.answerFile(dir.file("new.zlx"));
    EXPECT_FALSE(empty.saveFileAs(prompter, "zolt1.zlx"));
    EXPECT_EQ(empty.getFileName(), dir.file("new.zlx"));
    EXPECT_FALSE(CTempDir::exists(dir.file("new.zlx")));
    EXPECT_EQ(reports(prompter), (Names{kCantRead, kCantRead, kCantRead, kCantSave, kCantSave}));
    // The first dialog opens in the documents directory, found without an
    // application object as with one.
    wxInitializer init;
    Names astrAsked;
    for (const CScriptedPrompter::FileRequest& r : prompter.getFileRequests())
        astrAsked.push_back(wxString::Format("%d %s %s %s", r.eKind, r.strMessage, r.strDefaultFile,
                                             r.strDir + " " + r.strWildcard)
                                .ToStdString());
    const std::string strLoad = "0 Load Settings *.zlx ", strAs = "1 Save Settings ";
    const std::string strDocs = wxStandardPaths::Get().GetDocumentsDir().ToStdString();
    const std::string strWildcard = " Zolt xml (*.zlx)|*.zlx", strDir = dir.path() + strWildcard;
    EXPECT_EQ(astrAsked, (Names{strLoad + strDocs + strWildcard, strLoad + strDocs + strWildcard,
                                strAs + "zolt7.zlx " + strDir, strAs + "zolt1.zlx " + strDir,
                                strLoad + dir.file("sub") + strWildcard, strLoad + strDir,
                                strLoad + strDir, strAs + "zolt1.zlx " + strDocs + strWildcard}));
}

TEST(FileXml, EveryDocumentThatLoadsLoadsAgainAfterSave)
{
    // The declaration, the width of a character (2: UTF-16 with a
    // little-endian mark, 3: big-endian) and the encoding the saved file
    // declares.
    const std::tuple<const char*, int, const char*> aCase[] = {
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 1, "ISO-8859-1"},
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?>", 2, "UTF-8"},
        {"<?xml version= \"1.0\" encoding= \"utf-16\"?>", 3, "UTF-8"},
        {"<?xml version =\t'1.0'\nencoding = 'windows-1252' ?>", 1, "UTF-8"},
        {"<?xml version='1.0' encoding=\"US-ASCII\" standalone='no'?>", 1, "US-ASCII"}};
    CTempDir dir;
    for (const auto& [szDeclaration, nWidth, szSaved] : aCase)
    {
        SCOPED_TRACE(szDeclaration);
        std::string strBytes = nWidth == 1 ? "" : nWidth == 2 ? "\xFF\xFE" : "\xFE\xFF";
        for (char ch : std::string(szDeclaration) + "\n<zolt-settings/>\n")
            strBytes += nWidth == 1   ? std::string(1, ch)
                        : nWidth == 2 ? std::string(1, ch) + '\0'
                                      : std::string(1, '\0') + ch;
        ASSERT_TRUE(CTempDir::writeFile(dir.file("in.zlx"), strBytes));
        CScriptedPrompter prompter;
        CFileXml file, again;
        Pair p, q;
        ASSERT_TRUE(file.loadPath(prompter, dir.file("in.zlx")));
        p.sys.cUnit = 2;
        file.buildSettings(p.sys, p.tool);
        ASSERT_TRUE(file.saveFile(prompter, dir.file("out.zlx")));
        // UTF-16 text compares as ASCII without its null bytes.
        std::string strOut = CTempDir::readFile(dir.file("out.zlx"));
        strOut.erase(std::remove(strOut.begin(), strOut.end(), '\0'), strOut.end());
        const std::string strDeclared =
            std::string("<?xml version=\"1.0\" encoding=\"") + szSaved + "\"?>\n<zolt-settings>";
        EXPECT_EQ(strOut.substr(0, strDeclared.size()), strDeclared);
        ASSERT_TRUE(again.loadPath(prompter, dir.file("out.zlx")));
        EXPECT_TRUE(again.readSettings(prompter, q.sys, q.tool));
        EXPECT_EQ(q.sys.cUnit, 2);
        EXPECT_TRUE(prompter.getReports().empty());
    }
}
