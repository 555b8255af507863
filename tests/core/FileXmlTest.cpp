// The settings document: its exact bytes, its elements under the update
// flags, reading it back with the reader's rules, and loading and saving
// through the file dialogs.
#include "CAssertRecorder.h"
#include "CDataCard.h"
#include "CFileXml.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"
#include "DataCardReference.h"

#include <wx/init.h>
#include <wx/stdpaths.h>
#include <wx/xml/xml.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace
{
using Names = std::vector<std::string>; // readable in failure messages

// The names of a node's children or attributes, in document order.
template <class T> Names names(const T* p)
{
    Names astr;
    for (; p; p = p->GetNext())
        astr.push_back(p->GetName().ToStdString());
    return astr;
}

// The element at a path of names below the root.
const wxXmlNode* at(const CFileXml& rFile, const std::vector<const char*>& aszPath)
{
    const wxXmlNode* pNode = rFile.getDocument().GetRoot();
    for (const char* szName : aszPath)
        for (pNode = pNode ? pNode->GetChildren() : nullptr; pNode && pNode->GetName() != szName;)
            pNode = pNode->GetNext();
    return pNode;
}

Names reports(const CScriptedPrompter& rPrompter)
{
    Names astr;
    for (const CScriptedPrompter::Report& r : rPrompter.getReports())
        astr.push_back((r.strTitle + ": " + r.strText).ToStdString());
    return astr;
}

const Names kCorrupt = {"File is corrupted: failed to read the settings."};
const Names kCantSave = {"Can't save the file: failed to save the file."};
const Names kCantRead = {"Can't read the file: failed to load the file."};

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
using ref::Pair;
} // namespace

TEST(FileXml, RandomRecordsComeBackAsTheDocumentCarriesThem)
{
    std::mt19937 gen(20261206);
    CTempDir dir;
    CFileXml writer; // built again each round: the new tree replaces the old
    for (int nRound = 0; nRound < 60; ++nRound)
    {
        SCOPED_TRACE(nRound);
        Pair in, out;
        ref::randomize(in, gen); // both records: they are packed side by side
        ref::randomize(out, gen);
        // Now and then the common values, so every branch is met both ways.
        if (nRound % 3 == 0)
            in.sys.cUnit = 1 + nRound % 2, in.sys.nUpdateFlag &= 0x3;
        if (nRound % 4 == 0)
            in.tool.nUpdateFlag = nRound % 8 == 0 ? 0x38001B : 0x3FC7F0;
        const SysPar& s = in.sys;
        const ToolPar& t = in.tool;
        CScriptedPrompter prompter;
        writer.buildSettings(s, t);
        ASSERT_TRUE(writer.saveFile(prompter, dir.file("random.zlx")));
        // The system items the reader passes over are there under their flags.
        Names astrSys = {"system-flags"};
        for (int i = 0; i < 5; ++i)
            if (s.nUpdateFlag & (1u << i))
                astrSys.push_back(
                    Names{"unit", "locked", "password", "serial-number", "entity-number"}[i]);
        EXPECT_EQ(names(at(writer, {"system-parameter"})->GetChildren()), astrSys);
        CFileXml reader;
        Pair expected = out;
        ASSERT_TRUE(reader.loadPath(prompter, dir.file("random.zlx")));
        ASSERT_TRUE(reader.readSettings(prompter, out.sys, out.tool));
        EXPECT_TRUE(prompter.getReports().empty());
        // System side: only unit and locked travel, each under its flag.
        expected.sys.nUpdateFlag = s.nUpdateFlag & 0x3u;
        if (s.nUpdateFlag & 0x1)
            expected.sys.cUnit = s.cUnit == 1 ? 1 : 2;
        if (s.nUpdateFlag & 0x2)
            expected.sys.cLocked = s.cLocked != 0;
        EXPECT_EQ(ref::bytes(out.sys), ref::bytes(expected.sys));
        // Tool side: every flag but the calibration ones, the mode values
        // always, wake-up and the times under their flags.
        ToolPar& e = expected.tool;
        e.nUpdateFlag = t.nUpdateFlag & 0x3FC7FBu;
        const auto carry = [&](size_t nFrom, size_t nTo)
        {
            std::memcpy(reinterpret_cast<uint8_t*>(&e) + nFrom,
                        reinterpret_cast<const uint8_t*>(&t) + nFrom, nTo - nFrom);
        };
        carry(offsetof(ToolPar, nVarSetT100mC), offsetof(ToolPar, nVarCalT100mK));
        carry(offsetof(ToolPar, cVarEnergy), offsetof(ToolPar, cFixEnabled));
        carry(offsetof(ToolPar, anFixSetT100mC), offsetof(ToolPar, anFixCalT100mK));
        carry(offsetof(ToolPar, acFixEnergy), offsetof(ToolPar, cWakeup));
        e.cFixEnabled = t.cFixEnabled != 0;
        if (t.nUpdateFlag & 0x80000)
            e.cWakeup = t.cWakeup != 0;
        if (t.nUpdateFlag & 0x100000)
            e.cStandbyTmMin = t.cStandbyTmMin;
        if (t.nUpdateFlag & 0x200000)
            e.cShutdownTmMin = t.cShutdownTmMin;
        EXPECT_EQ(ref::bytes(out.tool), ref::bytes(e));
    }
    // Flags no document holds are asserted but written: three system flags,
    // four calibration flags (two of them twice).
    Pair p;
    p.sys.acPassword[1] = 1, p.sys.acSerialNumber[15] = 0xFF, p.sys.nUpdateFlag = 0x1F;
    p.tool.nUpdateFlag = 0x3FFFFF;
    CAssertRecorder asserts;
    writer.buildSettings(p.sys, p.tool);
    EXPECT_EQ(asserts.getAsserts().size(), 9u);
    EXPECT_EQ(at(writer, {"system-parameter", "password"})->GetAttribute("base64"),
              "AAEAAAAAAAAAAAAAAAAAAA==");
    EXPECT_EQ(at(writer, {"system-parameter", "serial-number"})->GetAttribute("base64"),
              "AAAAAAAAAAAAAAAAAAAA/w==");
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
        EXPECT_EQ(reports(prompter), fnExpect ? Names() : kCorrupt);
        EXPECT_TRUE(!fnExpect || (ref::bytes(p.sys) == ref::bytes(expected.sys) &&
                                  ref::bytes(p.tool) == ref::bytes(expected.tool)));
    }
    // Files that do not load at all: broken, a folder, none.
    CTempDir dir;
    CTempDir::makeDirs(dir.file("d.zlx"));
    CTempDir::writeFile(dir.file("b.zlx"), "<zolt-settings><system-parameter></zolt-settings>");
    for (const char* szName : {"b.zlx", "d.zlx", "missing.zlx"})
    {
        CFileXml file;
        CScriptedPrompter prompter;
        EXPECT_FALSE(file.loadPath(prompter, dir.file(szName))) << szName;
        EXPECT_EQ(reports(prompter), kCantRead) << szName;
        EXPECT_TRUE(file.getFileName().empty()); // a given path is not the dialog's choice
    }
}

TEST(FileXml, DocumentsFarLargerOrDeeperThanARealOneAreRefused)
{
    const auto repeat = [](size_t n, const std::string& str)
    {
        std::string strAll;
        while (n-- > 0)
            strAll += str;
        return strAll;
    };
    // nDepth levels in all, padded with a comment to exactly nSize bytes.
    const auto shaped = [&](size_t nDepth, size_t nSize)
    {
        const std::string strOpen = "<zolt-settings>" + repeat(nDepth - 1, "<a>"),
                          strClose = repeat(nDepth - 1, "</a>") + "</zolt-settings>";
        return strOpen + "<!--" + std::string(nSize - strOpen.size() - strClose.size() - 7, '.') +
               "-->" + strClose;
    };
    const auto entity = [&](size_t nDepth)
    {
        return "<!DOCTYPE zolt-settings [<!ENTITY e \"" + repeat(nDepth, "<a>") +
               repeat(nDepth, "</a>") + "\">]><zolt-settings>&e;</zolt-settings>";
    };
    const std::pair<std::string, bool> aCases[] = {
        {shaped(32, 64 * 1024), true},
        {shaped(33, 1000), false},
        {shaped(4, 64 * 1024 + 1), false},
        {"<zolt-settings>" + repeat(20000, "<a>"), false}, // cut off
        {entity(32), false},
        {entity(31), true}};
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.first.substr(0, 80) + "... " + std::to_string(c.first.size()));
        CFileXml file;
        CScriptedPrompter prompter;
        ASSERT_TRUE(file.buildSettings(Pair().sys, Pair().tool));
        EXPECT_EQ(loadText(file, prompter, c.first), c.second);
        // A refused document leaves the one held before.
        EXPECT_EQ(at(file, {"system-parameter"}) != nullptr, !c.second);
        EXPECT_EQ(reports(prompter).size(), c.second ? 0u : 1u);
    }
}

TEST(FileXml, DialogsAskWithTheirTextsAndFollowTheLastAcceptedFile)
{
    CTempDir dir;
    const std::string strSaved = dir.file("saved.zlx"), strOther = dir.file("sub/other.zlx");
    ASSERT_TRUE(CTempDir::makeDirs(dir.file("sub")));
    CScriptedPrompter prompter;
    CFileXml file;
    ASSERT_TRUE(file.buildSettings(Pair().sys, Pair().tool));
    ASSERT_TRUE(file.saveFile(prompter, strSaved));
    // The default records make the reference document, byte for byte.
    EXPECT_EQ(CTempDir::readFile(strSaved), CTempDir::readFile(ZOLT_TEST_DATA_DIR "/defaults.zlx"));
    // A cancelled open, then an accepted one.
    EXPECT_FALSE(file.loadFile(prompter));
    prompter.answerFile(strSaved);
    EXPECT_TRUE(file.loadFile(prompter));
    EXPECT_EQ(file.getFileName(), strSaved);
    EXPECT_EQ(file.getDir(), dir.path());
    // Save as offers the name part of the default; a cancel writes nothing.
    EXPECT_FALSE(file.saveFileAs(prompter, "/no/such/place/zolt7.zlx"));
    EXPECT_EQ(file.getFileName(), strSaved);
    prompter.answerFile(strOther);
    EXPECT_TRUE(file.saveFileAs(prompter, "zolt1.zlx"));
    EXPECT_EQ(CTempDir::readFile(strOther), CTempDir::readFile(strSaved));
    EXPECT_EQ(file.getFileName(), strOther);
    EXPECT_TRUE(prompter.getReports().empty());
    // A failed open still remembers the chosen file.
    prompter.answerFile(dir.file("missing.zlx"));
    EXPECT_FALSE(file.loadFile(prompter));
    EXPECT_EQ(file.getFileName(), dir.file("missing.zlx"));
    // Saves that fail, one with nothing built to write, report; a dialog's
    // choice is remembered all the same.
    EXPECT_FALSE(file.saveFile(prompter, dir.file("sub")));
    CFileXml empty;
    prompter.answerFile(dir.file("new.zlx"));
    EXPECT_FALSE(empty.saveFileAs(prompter, "zolt1.zlx"));
    EXPECT_EQ(empty.getFileName(), dir.file("new.zlx"));
    EXPECT_FALSE(CTempDir::exists(dir.file("new.zlx")));
    EXPECT_EQ(reports(prompter), (Names{kCantRead[0], kCantSave[0], kCantSave[0]}));
    // The first dialog opens in the documents directory, found without an
    // application object as with one.
    wxInitializer init;
    Names astrAsked;
    for (const CScriptedPrompter::FileRequest& r : prompter.getFileRequests())
        astrAsked.push_back(wxString::Format("%d %s %s %s %s", r.eKind, r.strMessage,
                                             r.strDefaultFile, r.strDir, r.strWildcard)
                                .ToStdString());
    const std::string strLoad = "0 Load Settings *.zlx ", strAs = "1 Save Settings ";
    const std::string strDocs = wxStandardPaths::Get().GetDocumentsDir().ToStdString();
    const std::string strWildcard = " Zolt xml (*.zlx)|*.zlx";
    EXPECT_EQ(astrAsked, (Names{strLoad + strDocs + strWildcard, strLoad + strDocs + strWildcard,
                                strAs + "zolt7.zlx " + dir.path() + strWildcard,
                                strAs + "zolt1.zlx " + dir.path() + strWildcard,
                                strLoad + dir.file("sub") + strWildcard,
                                strAs + "zolt1.zlx " + strDocs + strWildcard}));
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
