// The settings document: items under the update flags, the reader's rules and
// the file dialogs. Its bytes, encodings and limits are left to zoltcfg's tests.
#include "CAssertRecorder.h"
#include "CDataCard.h"
#include "CFileXml.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <wx/init.h>
#include <wx/stdpaths.h>
#include <wx/xml/xml.h>

#include <gtest/gtest.h>

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
    for (const uint32_t nFlags : {0u, 0x3FFFFFu})
    {
        Pair p;
        p.sys.nUpdateFlag = nFlags & 0x1F, p.tool.nUpdateFlag = nFlags;
        CAssertRecorder asserts;
        CFileXml file;
        file.buildSettings(p.sys, p.tool);
        EXPECT_EQ(asserts.getAsserts().size(), nFlags ? 9u : 0u);
        wxString str;
        for (const wxXmlNode* pPar = file.getDocument().GetRoot()->GetChildren(); pPar;
             pPar = pPar->GetNext())
            for (const wxXmlNode* pItem = pPar->GetChildren(); pItem; pItem = pItem->GetNext())
                str += pItem->GetName() + " ";
        EXPECT_EQ(str, nFlags ? "system-flags unit locked password serial-number entity-number "
                                "tool-flags var-mode fix-mode wakeup standby-time shutdown-time "
                              : "system-flags tool-flags var-mode fix-mode ");
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
        // Numbers keep the bits that fit their field; items without their
        // attribute keep their fields.
        {document(
             "<unit/><locked other=\"true\"/>",
             "<wakeup/><var-mode><var-set-temp value=\"70000\"/><var-standby-temp value=\"-5\"/>"
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
        {document("<locked value=\"1\"/>", ""), nullptr},
        {document("<system-flags/><system-flags/>", ""), nullptr},
        {document("<locked/><locked/>", ""), nullptr},
        {document("", "<var-mode/><var-mode/>"), nullptr},
        {document("", "<shutdown-time/><shutdown-time/>"), nullptr},
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
        ASSERT_TRUE(strXml.empty() || file.loadData(prompter, strXml.data(), strXml.size()));
        Pair p, expected;
        (fnExpect ? fnExpect : fnSame)(expected.sys, expected.tool);
        EXPECT_EQ(file.readSettings(prompter, p.sys, p.tool), fnExpect != nullptr);
        EXPECT_EQ(reports(prompter), fnExpect ? Names() : Names{kCorrupt});
        EXPECT_TRUE(!fnExpect || p == expected);
    }
}

TEST(FileXml, DialogsAskWithTheirTextsAndFollowTheLastAcceptedFile)
{
    CTempDir dir;
    CScriptedPrompter prompter;
    CFileXml file, empty;
    file.buildSettings(Pair().sys, Pair().tool);
    ASSERT_TRUE(CTempDir::makeDirs(dir.file("sub")) && CTempDir::writeFile(dir.file("e.zlx"), ""));
    // Each dialog's answer ("" cancels), whether the step succeeds and the
    // file remembered after it: failed opens (a folder, no file, an empty
    // one) and saves (nothing built to write) remember the choice all the same.
    const std::tuple<CFileXml*, bool, const char*, const char*, bool, const char*> aSteps[] = {
        {&file, true, "", "", false, ""},
        {&file, false, "zolt7.zlx", "", false, ""},
        {&file, false, "zolt1.zlx", "sub/s.zlx", true, "sub/s.zlx"},
        {&file, true, "", "sub/s.zlx", true, "sub/s.zlx"},
        {&file, true, "", "sub", false, "sub"},
        {&file, true, "", "none.zlx", false, "none.zlx"},
        {&file, true, "", "e.zlx", false, "e.zlx"},
        {&empty, false, "/no/such/place/zolt1.zlx", "n.zlx", false, "n.zlx"}};
    for (const auto& [pFile, bOpen, szDefault, szAnswer, bOk, szRemembered] : aSteps)
    {
        if (*szAnswer)
            prompter.answerFile(dir.file(szAnswer));
        EXPECT_EQ(bOpen ? pFile->loadFile(prompter) : pFile->saveFileAs(prompter, szDefault), bOk)
            << szAnswer;
        EXPECT_EQ(pFile->getFileName(), *szRemembered ? dir.file(szRemembered) : "");
    }
    EXPECT_TRUE(file.getDir() == dir.path() && !CTempDir::exists(dir.file("n.zlx")));
    EXPECT_EQ(reports(prompter), (Names{kCantRead, kCantRead, kCantRead, kCantSave}));
    // The first dialog opens in the documents directory, found without an
    // application object as with one.
    wxInitializer init;
    const std::string strDocs = wxStandardPaths::Get().GetDocumentsDir().ToStdString();
    Names astrAsked, astrExpected;
    for (const CScriptedPrompter::FileRequest& r : prompter.getFileRequests())
        astrAsked.push_back(wxString::Format("%d %s %s %s %s", r.eKind, r.strMessage,
                                             r.strDefaultFile, r.strDir, r.strWildcard)
                                .ToStdString());
    for (const std::string& str :
         {"0 *.zlx " + strDocs, "1 zolt7.zlx " + strDocs, "1 zolt1.zlx " + strDocs,
          "0 *.zlx " + dir.file("sub"), "0 *.zlx " + dir.file("sub"), "0 *.zlx " + dir.path(),
          "0 *.zlx " + dir.path(), "1 zolt1.zlx " + strDocs})
        astrExpected.push_back(str.substr(0, 2) + (str[0] == '0' ? "Load" : "Save") + " Settings" +
                               str.substr(1) + " Zolt xml (*.zlx)|*.zlx");
    EXPECT_EQ(astrAsked, astrExpected);
}
