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
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace
{
using Names = std::vector<wxString>;

// The attributes of "tool-flags" in the order a document lists them, the
// optional children of system-parameter and tool-parameter, and their flags.
const std::vector<const char*> kToolFlags = {
    "var-set-temp",      "var-standby-temp",  "var-energy-level",      "fix-mode-enabled",
    "fix_set-temp0",     "fix_set-temp1",     "fix_set-temp2",         "fix-standby-temp0",
    "fix-standby-temp1", "fix-standby-temp2", "fix-energy-level0",     "fix-energy-level1",
    "fix-energy-level2", "fix-mode-count",    "fix-mode-actual-index", "wakeup",
    "standby-time",      "shutdown-time"};
const std::vector<uint32_t> kToolFlagBits = {
    0x1,   0x2,    0x8,    0x10,    0x20,    0x40,    0x80,    0x100,    0x200,
    0x400, 0x4000, 0x8000, 0x10000, 0x20000, 0x40000, 0x80000, 0x100000, 0x200000};
const std::vector<const char*> kSysItems = {"unit", "locked", "password", "serial-number",
                                            "entity-number"};
const std::vector<const char*> kToolItems = {"wakeup", "standby-time", "shutdown-time"};

Names named(const std::vector<const char*>& aszNames, const std::vector<uint32_t>& anBits,
            uint32_t nFlags, Names astr = {})
{
    for (size_t i = 0; i < aszNames.size(); ++i)
        if (nFlags & anBits[i])
            astr.push_back(aszNames[i]);
    return astr;
}

// The names of a node's children or attributes, in document order.
template <class T> Names names(const T* p)
{
    Names astr;
    for (; p; p = p->GetNext())
        astr.push_back(p->GetName());
    return astr;
}

// The element at a path of names below the root.
const wxXmlNode* at(const CFileXml& rFile, const std::vector<const char*>& aszPath)
{
    const wxXmlNode* pNode = rFile.getDocument().GetRoot();
    for (const char* szName : aszPath)
    {
        pNode = pNode->GetChildren();
        while (pNode && pNode->GetName() != szName)
            pNode = pNode->GetNext();
        if (!pNode)
            return nullptr;
    }
    return pNode;
}

Names reports(const CScriptedPrompter& rPrompter)
{
    Names astr;
    for (const CScriptedPrompter::Report& r : rPrompter.getReports())
        astr.push_back(r.strTitle + ": " + r.strText);
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
    return "<?xml version=\"1.0\"?>\n<zolt-settings>\n<system-parameter version=\"1\">" +
           strSystem + "</system-parameter>\n<tool-parameter version=\"1\">" + strTool +
           "</tool-parameter>\n</zolt-settings>\n";
}

struct Pair
{
    SysPar sys;
    ToolPar tool;
    Pair() { CDataCard::setDefaultPar(sys, tool); }
};
} // namespace

TEST(FileXmlBuild, FlagsTheDocumentCannotHoldAreAssertedButWritten)
{
    Pair p;
    for (uint8_t i = 0; i < 16; ++i)
        p.sys.acPassword[i] = i, p.sys.acSerialNumber[i] = 0xFF;
    p.sys.nEntityNo = 65535;
    p.sys.nUpdateFlag = 0x1F;
    p.sys.cUnit = 7;
    p.tool.nUpdateFlag = 0x3FFFFF;
    CAssertRecorder asserts;
    CFileXml file;
    file.buildSettings(p.sys, p.tool);
    // Three system flags, the unit, four calibration flags (two of them twice).
    EXPECT_EQ(asserts.getAsserts().size(), 10u);
    EXPECT_EQ(at(file, {"system-parameter", "unit"})->GetAttribute("value"), "fahrenheit");
    EXPECT_EQ(at(file, {"system-parameter", "password"})->GetAttribute("base64"),
              "AAECAwQFBgcICQoLDA0ODw==");
    EXPECT_EQ(at(file, {"system-parameter", "serial-number"})->GetAttribute("base64"),
              "/////////////////////w==");
    EXPECT_EQ(at(file, {"system-parameter", "entity-number"})->GetAttribute("value"), "65535");
    EXPECT_EQ(names(at(file, {"system-parameter", "system-flags"})->GetAttributes()),
              (Names{"unit", "locked"}));
}

TEST(FileXmlRead, RandomRecordsComeBackAsTheDocumentCarriesThem)
{
    std::mt19937 gen(20261206);
    CTempDir dir;
    const std::string strPath = dir.file("random.zlx");
    CFileXml writer; // built again each round: the new tree replaces the old
    for (int nRound = 0; nRound < 100; ++nRound)
    {
        SCOPED_TRACE(nRound);
        SysPar sys, sysOut;
        ToolPar tool, toolOut;
        for (auto* p : {&sys, &sysOut})
            ref::randomize(*p, gen);
        for (auto* p : {&tool, &toolOut})
            ref::randomize(*p, gen);
        // Now and then the common values, so every branch is met both ways.
        if (nRound % 3 == 0)
            sys.cUnit = 1 + nRound % 2, sys.nUpdateFlag &= 0x3;
        if (nRound % 4 == 0)
            tool.nUpdateFlag = nRound % 8 == 0 ? 0x38001B : 0x3FC7F0;

        CScriptedPrompter prompter;
        writer.buildSettings(sys, tool);
        ASSERT_TRUE(writer.saveFile(prompter, strPath));
        // Optional elements and flag attributes as the flags say.
        EXPECT_EQ(names(at(writer, {"system-parameter"})->GetChildren()),
                  named(kSysItems, {0x1, 0x2, 0x4, 0x8, 0x10}, sys.nUpdateFlag, {"system-flags"}));
        EXPECT_EQ(names(at(writer, {"system-parameter", "system-flags"})->GetAttributes()),
                  named({"unit", "locked"}, {0x1, 0x2}, sys.nUpdateFlag));
        EXPECT_EQ(names(at(writer, {"tool-parameter"})->GetChildren()),
                  named(kToolItems, {0x80000, 0x100000, 0x200000}, tool.nUpdateFlag,
                        {"tool-flags", "var-mode", "fix-mode"}));
        EXPECT_EQ(names(at(writer, {"tool-parameter", "tool-flags"})->GetAttributes()),
                  named(kToolFlags, kToolFlagBits, tool.nUpdateFlag));

        CFileXml reader;
        ASSERT_TRUE(reader.loadPath(prompter, strPath));
        SysPar sysExpected = sysOut;
        ToolPar toolExpected = toolOut;
        ASSERT_TRUE(reader.readSettings(prompter, sysOut, toolOut));
        EXPECT_TRUE(prompter.getReports().empty());

        // System side: only unit and locked travel, each under its flag.
        sysExpected.nUpdateFlag = sys.nUpdateFlag & 0x3u;
        if (sys.nUpdateFlag & 0x1)
            sysExpected.cUnit = sys.cUnit == 1 ? 1 : 2;
        if (sys.nUpdateFlag & 0x2)
            sysExpected.cLocked = sys.cLocked != 0;
        EXPECT_EQ(ref::bytes(sysOut), ref::bytes(sysExpected));
        // Tool side: every flag but the calibration ones, the mode values
        // always, wake-up and the times under their flags.
        const uint32_t nTool = tool.nUpdateFlag;
        toolExpected.nUpdateFlag = nTool & 0x3FC7FBu;
        const auto carry = [&](size_t nFrom, size_t nTo)
        {
            std::memcpy(reinterpret_cast<uint8_t*>(&toolExpected) + nFrom,
                        reinterpret_cast<const uint8_t*>(&tool) + nFrom, nTo - nFrom);
        };
        carry(offsetof(ToolPar, nVarSetT100mC), offsetof(ToolPar, nVarCalT100mK));
        carry(offsetof(ToolPar, cVarEnergy), offsetof(ToolPar, cFixEnabled));
        carry(offsetof(ToolPar, anFixSetT100mC), offsetof(ToolPar, anFixCalT100mK));
        carry(offsetof(ToolPar, acFixEnergy), offsetof(ToolPar, cWakeup));
        toolExpected.cFixEnabled = tool.cFixEnabled != 0;
        if (nTool & 0x80000)
            toolExpected.cWakeup = tool.cWakeup != 0;
        if (nTool & 0x100000)
            toolExpected.cStandbyTmMin = tool.cStandbyTmMin;
        if (nTool & 0x200000)
            toolExpected.cShutdownTmMin = tool.cShutdownTmMin;
        EXPECT_EQ(ref::bytes(toolOut), ref::bytes(toolExpected));
    }
}

TEST(FileXmlRead, DocumentsThatReadWithoutError)
{
    using FnExpect = std::function<void(SysPar&, ToolPar&)>; // changes from the defaults
    const std::pair<std::string, FnExpect> aCases[] = {
        {"<zolt-settings/>", [](SysPar&, ToolPar&) {}},
        // Text, comments, unknown elements and known ones at the wrong level
        // are skipped; so are versions and unknown attributes.
        {"<zolt-settings x=\"1\">hello<!-- c --><other><tool-parameter><wakeup value=\"false\"/>"
         "</tool-parameter></other><system-flags/><system-parameter version=\"abc\"/>"
         "</zolt-settings>",
         [](SysPar&, ToolPar&) {}},
        {document("<system-parameter><unit value=\"fahrenheit\"/></system-parameter>"
                  "<password base64=\"AAECAwQFBgcICQoLDA0ODw==\"/><entity-number value=\"77\"/>",
                  "<var-mode count=\"abc\"><wakeup value=\"false\"/><fix-set-temp value1=\"1\"/>"
                  "</var-mode><fix-mode><var-set-temp value=\"1\"/><fix-mode count=\"2\"/>"
                  "</fix-mode><system-flags/><unit value=\"bad\"/>"),
         [](SysPar&, ToolPar&) {}},
        // Flags: present only under the exact name with "true".
        {document("<system-flags/>", "<tool-flags/>"),
         [](SysPar& s, ToolPar& t) { s.nUpdateFlag = t.nUpdateFlag = 0; }},
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
         }}};
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.first);
        CFileXml file;
        CScriptedPrompter prompter;
        ASSERT_TRUE(loadText(file, prompter, c.first));
        Pair p, expected;
        c.second(expected.sys, expected.tool);
        EXPECT_TRUE(file.readSettings(prompter, p.sys, p.tool));
        EXPECT_TRUE(prompter.getReports().empty());
        EXPECT_EQ(ref::bytes(p.sys), ref::bytes(expected.sys));
        EXPECT_EQ(ref::bytes(p.tool), ref::bytes(expected.tool));
    }
}

TEST(FileXmlRead, DocumentsThatAreCorruptOrDoNotLoad)
{
    const std::string astrCases[] = {
        "", // nothing loaded
        "<zolt-setting/>",
        "<Zolt-Settings/>",
        "<zolt-settings><system-parameter/><system-parameter/></zolt-settings>",
        "<zolt-settings><tool-parameter/><tool-parameter/></zolt-settings>",
        document("<unit value=\"Centigrade\"/>", ""),
        document("<unit value=\"\"/>", ""),
        document("<locked value=\"1\"/>", ""),
        document("<system-flags/><system-flags/>", ""),
        document("<locked value=\"true\"/><locked value=\"true\"/>", ""),
        document("", "<tool-flags/><tool-flags/>"),
        document("", "<var-mode/><var-mode/>"),
        document("", "<wakeup value=\"true\"/><wakeup value=\"true\"/>"),
        document("", "<shutdown-time/><shutdown-time/>"),
        document("", "<fix-mode count=\"\"/>"),
        document("", "<fix-mode count=\"abc\"/>"),
        document("", "<fix-mode actual-index=\"1x\"/>"),
        document("", "<shutdown-time value=\"10 \"/>"),
        document("", "<var-mode><var-set-temp value=\"99999999999999999999999\"/></var-mode>"),
        document("", "<var-mode><var-standby-temp value=\"250.0\"/></var-mode>"),
        document("", "<var-mode><var-energy-level value=\"0x3\"/></var-mode>"),
        document("", "<var-mode><var-set-temp value=\"1\"/><var-set-temp value=\"1\"/></var-mode>"),
        document("", "<fix-mode><fix-energy-level/><fix-energy-level/></fix-mode>"),
        document("", "<fix-mode><fix-set-temp value1=\"1\" value3=\"x\"/></fix-mode>")};
    for (const std::string& strXml : astrCases)
    {
        SCOPED_TRACE(strXml);
        CFileXml file;
        CScriptedPrompter prompter;
        ASSERT_TRUE(strXml.empty() || loadText(file, prompter, strXml));
        Pair p;
        EXPECT_FALSE(file.readSettings(prompter, p.sys, p.tool));
        EXPECT_EQ(reports(prompter), kCorrupt);
    }
    // Files that do not load at all.
    CTempDir dir;
    CTempDir::makeDirs(dir.file("folder.zlx"));
    CTempDir::writeFile(dir.file("broken.zlx"),
                        "<zolt-settings><system-parameter></zolt-settings>");
    CTempDir::writeFile(dir.file("empty.zlx"), "");
    CTempDir::writeFile(dir.file("binary.zlx"), "\xf6\x34\x86\x3a");
    for (const char* szName :
         {"broken.zlx", "empty.zlx", "binary.zlx", "folder.zlx", "missing.zlx"})
    {
        CFileXml file;
        CScriptedPrompter prompter;
        EXPECT_FALSE(file.loadPath(prompter, dir.file(szName))) << szName;
        EXPECT_EQ(reports(prompter), kCantRead) << szName;
        // A path given to load is not remembered as the dialog's choice.
        EXPECT_TRUE(file.getFileName().empty());
    }
}

TEST(FileXmlRead, DocumentsFarLargerOrDeeperThanARealOneAreRefusedBeforeTheyAreBuilt)
{
    // A valid document of exactly nSize bytes, its root holding nDepth - 1
    // nested elements.
    const auto shaped = [](size_t nDepth, size_t nSize)
    {
        std::string strOpen = "<zolt-settings>", strClose = "</zolt-settings>";
        for (size_t i = 1; i < nDepth; ++i)
            strOpen += "<a>", strClose = "</a>" + strClose;
        const std::string strBody = strOpen + "<!--" + "-->" + strClose;
        return strOpen + "<!--" + std::string(nSize - strBody.size(), '-' + 1) + "-->" + strClose;
    };
    const auto repeat = [](size_t n, const std::string& str)
    {
        std::string strAll;
        while (n-- > 0)
            strAll += str;
        return strAll;
    };
    const std::pair<std::string, bool> aCases[] = {
        {shaped(32, 64 * 1024), true},
        {shaped(33, 1000), false},
        {shaped(4, 64 * 1024 + 1), false},
        // Compact nesting under the size limit, the document left open as a
        // cut-off file would be.
        {"<zolt-settings>" + repeat(20000, "<a>"), false},
        // Elements that an entity expands to count as well.
        {"<!DOCTYPE zolt-settings [<!ENTITY e \"" + repeat(32, "<a>") + repeat(32, "</a>") +
             "\">]><zolt-settings>&e;</zolt-settings>",
         false},
        {"<!DOCTYPE zolt-settings [<!ENTITY e \"" + repeat(31, "<a>") + repeat(31, "</a>") +
             "\">]><zolt-settings>&e;</zolt-settings>",
         true},
        // About 1 MB, 150,000 levels.
        {"<zolt-settings>" + repeat(150000, "<a>") + repeat(150000, "</a>") + "</zolt-settings>",
         false}};
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.first.substr(0, 80) + "... " + std::to_string(c.first.size()));
        CFileXml file;
        CScriptedPrompter prompter;
        ASSERT_TRUE(file.buildSettings(Pair().sys, Pair().tool));
        EXPECT_EQ(loadText(file, prompter, c.first), c.second);
        Pair p;
        EXPECT_TRUE(file.readSettings(prompter, p.sys, p.tool));
        // A refused document leaves the one held before.
        EXPECT_EQ(at(file, {"system-parameter"}) != nullptr, !c.second);
        EXPECT_EQ(reports(prompter).size(), c.second ? 0u : 1u);
    }
}

TEST(FileXmlSave, DialogsAskWithTheirTextsAndFollowTheLastAcceptedFile)
{
    CTempDir dir;
    const std::string strSaved = dir.file("saved.zlx"), strOther = dir.file("sub/other.zlx");
    ASSERT_TRUE(CTempDir::makeDirs(dir.file("sub")));
    CScriptedPrompter prompter;
    const Pair p;
    CFileXml file;
    CAssertRecorder asserts;
    ASSERT_TRUE(file.buildSettings(p.sys, p.tool));
    ASSERT_TRUE(file.saveFile(prompter, strSaved));
    // The default records make the reference document, byte for byte.
    const std::string strReference = CTempDir::readFile(ZOLT_TEST_DATA_DIR "/defaults.zlx");
    ASSERT_FALSE(strReference.empty());
    EXPECT_EQ(CTempDir::readFile(strSaved), strReference);
    EXPECT_TRUE(asserts.getAsserts().empty());

    // A cancelled open, then an accepted one of a good file.
    EXPECT_FALSE(file.loadFile(prompter));
    prompter.answerFile(strSaved);
    EXPECT_TRUE(file.loadFile(prompter));
    EXPECT_EQ(file.getFileName(), strSaved);
    EXPECT_EQ(file.getDir(), dir.path());
    Pair q;
    q.sys.cUnit = 2;
    EXPECT_TRUE(file.readSettings(prompter, q.sys, q.tool));
    EXPECT_EQ(q.sys.cUnit, 1);
    // Save as offers the name part of the default; a cancel writes nothing.
    EXPECT_FALSE(file.saveFileAs(prompter, "/no/such/place/zolt7.zlx"));
    EXPECT_EQ(file.getFileName(), strSaved);
    // An accepted save into another directory is written and remembered.
    prompter.answerFile(strOther);
    EXPECT_TRUE(file.saveFileAs(prompter, "zolt1.zlx"));
    EXPECT_EQ(CTempDir::readFile(strOther), CTempDir::readFile(strSaved));
    EXPECT_EQ(file.getFileName(), strOther);
    // A plain save touches neither name nor directory.
    EXPECT_TRUE(file.saveFile(prompter, dir.file("third.zlx")));
    EXPECT_TRUE(prompter.getReports().empty());
    // A failed open still remembers the chosen file.
    prompter.answerFile(dir.file("missing.zlx"));
    EXPECT_FALSE(file.loadFile(prompter));
    EXPECT_EQ(file.getFileName(), dir.file("missing.zlx"));
    EXPECT_EQ(file.getDir(), dir.path());
    EXPECT_EQ(reports(prompter), kCantRead);

    // The first dialog opens in the documents directory, found without an
    // application object as with one.
    wxInitializer init;
    ASSERT_TRUE(init.IsOk());
    const wxString strDocuments = wxStandardPaths::Get().GetDocumentsDir();
    EXPECT_FALSE(strDocuments.empty());
    const auto ask = [](int nKind, const char* szMessage, const char* szDefault, wxString strDir)
    { return wxString::Format("%d %s %s %s", nKind, szMessage, szDefault, strDir); };
    Names astrAsked;
    for (const CScriptedPrompter::FileRequest& r : prompter.getFileRequests())
    {
        astrAsked.push_back(ask(r.eKind, r.strMessage, r.strDefaultFile, r.strDir));
        EXPECT_EQ(r.strWildcard, "Zolt xml (*.zlx)|*.zlx");
    }
    EXPECT_EQ(astrAsked,
              (Names{ask(CPrompter::eFileOpen, "Load Settings", "*.zlx", strDocuments),
                     ask(CPrompter::eFileOpen, "Load Settings", "*.zlx", strDocuments),
                     ask(CPrompter::eFileSave, "Save Settings", "zolt7.zlx", dir.path()),
                     ask(CPrompter::eFileSave, "Save Settings", "zolt1.zlx", dir.path()),
                     ask(CPrompter::eFileOpen, "Load Settings", "*.zlx", dir.file("sub"))}));
}

TEST(FileXmlSave, FailedSavesReportAndKeepTheOldFile)
{
    CTempDir dir;
    const std::string strSaved = dir.file("saved.zlx");
    Pair p;
    CFileXml file;
    file.buildSettings(p.sys, p.tool);
    CScriptedPrompter prompter;
    ASSERT_TRUE(file.saveFile(prompter, strSaved));
    const std::string strDocument = CTempDir::readFile(strSaved);
    const auto failsToSave = [](CFileXml& rFile, const std::string& strTarget)
    {
        CScriptedPrompter prompter;
        EXPECT_FALSE(rFile.saveFile(prompter, strTarget)) << strTarget;
        EXPECT_EQ(reports(prompter), kCantSave) << strTarget;
    };
    CTempDir::makeDirs(dir.file("folder.zlx"));
    // A full device of the test's own, so that /dev/full is never at stake.
    const std::string strFull = dir.device("full", 1, 7);
    for (const std::string& strTarget :
         {dir.file("folder.zlx"), dir.file("nowhere/saved.zlx"), dir.file("saved.zlx/below.zlx"),
          dir.file("folder.zlx/"), strFull, std::string()})
        failsToSave(file, strTarget);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder.zlx")));

    // A dialog save with nothing built to write; the choice is remembered.
    prompter.answerFile(strSaved);
    CFileXml empty;
    EXPECT_FALSE(empty.saveFileAs(prompter, "zolt1.zlx"));
    EXPECT_EQ(reports(prompter), kCantSave);
    EXPECT_EQ(empty.getFileName(), strSaved);

#ifndef _WIN32
    // A file size limit makes the write itself fail part-way, even for root.
    p.sys.cUnit = 2;
    file.buildSettings(p.sys, p.tool);
    const auto pPrevious = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlim_t nOld = limit.rlim_cur;
    limit.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    failsToSave(file, strSaved);
    limit.rlim_cur = nOld;
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, pPrevious);
#endif

    EXPECT_EQ(CTempDir::readFile(strSaved), strDocument);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
              2 + !strFull.empty());
}

TEST(FileXmlSave, EveryDocumentThatLoadsLoadsAgainAfterSave)
{
    // The declaration, then the bytes: 0 one per character, 1 little- and 2
    // big-endian UTF-16, each with a byte-order mark when asked; then the
    // encoding the saved file declares.
    const struct
    {
        const char* szDeclaration;
        int nWidth;
        bool bBom;
        const char* szSaved;
    } aCase[] = {
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0, false, "ISO-8859-1"},
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?>", 1, true, "UTF-8"},
        {"<?xml version=\"1.0\" encoding=\"utf-16\"?>", 2, true, "UTF-8"},
        {"<?xml version=\"1.0\" encoding=\"UTF-16LE\"?>", 1, false, "UTF-16LE"},
        {"<?xml version= \"1.0\" encoding= \"UTF-8\"?>", 0, false, "UTF-8"},
        {"<?xml version= \"1.0\" encoding= \"ISO-8859-1\" ?>", 0, false, "ISO-8859-1"},
        {"<?xml version =\t'1.0'\nencoding = 'windows-1252' ?>", 0, false, "UTF-8"},
        {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>", 0, false, "windows-1252"},
        {"<?xml version= \"1.0\" encoding= \"UTF-16\"?>", 2, true, "UTF-8"},
        {"<?xml version=\"1.1\" standalone=\"yes\"?>", 0, false, "UTF-8"},
        {"<?xml version='1.0' encoding=\"US-ASCII\" standalone='no'?>", 0, false, "US-ASCII"},
        {"", 0, false, "UTF-8"},
        {"", 1, true, "UTF-8"}};
    CTempDir dir;
    for (const auto& c : aCase)
    {
        SCOPED_TRACE(c.szDeclaration);
        const std::string strText = std::string(c.szDeclaration) + "\n<zolt-settings/>\n";
        std::string strBytes = c.bBom ? (c.nWidth == 1 ? "\xFF\xFE" : "\xFE\xFF") : "";
        for (char ch : strText)
            strBytes += c.nWidth == 0   ? std::string(1, ch)
                        : c.nWidth == 1 ? std::string(1, ch) + '\0'
                                        : std::string(1, '\0') + ch;
        ASSERT_TRUE(CTempDir::writeFile(dir.file("in.zlx"), strBytes));
        CScriptedPrompter prompter;
        CFileXml file;
        Pair p;
        ASSERT_TRUE(file.loadPath(prompter, dir.file("in.zlx")));
        p.sys.cUnit = 2;
        file.buildSettings(p.sys, p.tool);
        ASSERT_TRUE(file.saveFile(prompter, dir.file("out.zlx")));
        // UTF-16 text compares as ASCII without its null bytes.
        std::string strSaved = CTempDir::readFile(dir.file("out.zlx"));
        strSaved.erase(std::remove(strSaved.begin(), strSaved.end(), '\0'), strSaved.end());
        const std::string strDeclared =
            std::string("<?xml version=\"1.0\" encoding=\"") + c.szSaved + "\"?>\n<zolt-settings>";
        EXPECT_EQ(strSaved.substr(0, strDeclared.size()), strDeclared);

        CFileXml again;
        Pair q;
        ASSERT_TRUE(again.loadPath(prompter, dir.file("out.zlx")));
        EXPECT_EQ(again.getDocument().GetFileEncoding(), c.szSaved);
        EXPECT_TRUE(again.readSettings(prompter, q.sys, q.tool));
        EXPECT_EQ(q.sys.cUnit, 2);
        EXPECT_TRUE(prompter.getReports().empty());
    }
}
