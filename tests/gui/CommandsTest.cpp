// The main window's file and settings commands end to end: the file dialogs
// answered by a scripted prompter (or by the test hook for the window's own
// dialogs), real files in a temporary folder, the title and current file.
#include "HandlerProbe.h"

#include "CDlgAbout.h"
#include "CFileXml.h"
#include "CTempDir.h"

#include <wx/dir.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/hyperlink.h>
#include <wx/settings.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

using namespace handlertest;

namespace
{
const wxString kWildcard = "Zolt xml (*.zlx)|*.zlx";

// Records with something other than the default in nearly every field.
Shown edited()
{
    return {false, true, true, 700, 400, {350, 500, 842}, 1, {2, 1, 3}, 2, 17, 42};
}

class CommandsTest : public CHandlerTest
{
protected:
    wxString path(const char* pcName) const { return wxString::FromUTF8(m_dir.file(pcName)); }

    // A settings file as the editor itself would write it.
    void writeSettings(const wxString& strPath, const SysPar& rSysPar, const ToolPar& rToolPar)
    {
        CFileXml fileXml;
        CScriptedPrompter reporter;
        fileXml.buildSettings(rSysPar, rToolPar);
        ASSERT_TRUE(fileXml.saveFile(reporter, strPath));
    }
    void writeSettings(const wxString& strPath, const Shown& s)
    {
        writeSettings(strPath, makeSys(s), makeTool(s));
    }

    // A settings file read back as the Open command reads it.
    bool readSettings(const wxString& strPath, SysPar& rSysPar, ToolPar& rToolPar)
    {
        CFileXml fileXml;
        CScriptedPrompter reporter;
        CDataCard::setDefaultPar(rSysPar, rToolPar);
        if (!fileXml.loadPath(reporter, strPath) ||
            !fileXml.readSettings(reporter, rSysPar, rToolPar))
            return false;
        CDataCard::checkPar(rSysPar, rToolPar);
        return true;
    }

    void expectFileHolds(const wxString& strPath, const SysPar& rSysPar, const ToolPar& rToolPar)
    {
        SysPar sysPar;
        ToolPar toolPar;
        ASSERT_TRUE(readSettings(strPath, sysPar, toolPar)) << strPath;
        EXPECT_EQ(CHandlerProbe::bytes(rSysPar), CHandlerProbe::bytes(sysPar));
        EXPECT_EQ(CHandlerProbe::bytes(rToolPar), CHandlerProbe::bytes(toolPar));
    }
    void expectFileHoldsControls(const wxString& strPath)
    {
        SysPar sysPar;
        ToolPar toolPar;
        m_pFrame->getSysPar(sysPar);
        m_pFrame->getToolPar(toolPar);
        expectFileHolds(strPath, sysPar, toolPar);
    }

    void open(const wxString& strPath, int nId = ID_MENU_FILE_OPEN)
    {
        m_prompter.answerFile(strPath);
        m_pFrame->command(nId == ID_BUTTON_LOAD ? wxEVT_BUTTON : wxEVT_MENU, nId);
    }

    const CScriptedPrompter::FileRequest& lastRequest() const
    {
        return m_prompter.getFileRequests().back();
    }

    CTempDir m_dir;
};

TEST_F(CommandsTest, ConstructionShowsTheDefaultsUnderTheApplicationName)
{
    EXPECT_EQ("Q417 SD", m_pFrame->GetTitle());
    EXPECT_TRUE(m_pFrame->getCurrentFile().empty());
    EXPECT_FALSE(m_pFrame->GetIcons().IsEmpty());
    EXPECT_EQ(wxSystemSettings::GetColour(wxSYS_COLOUR_MENUBAR), m_pFrame->GetBackgroundColour());
    EXPECT_FALSE(m_pFrame->m_bUpdating);

    // The layout's first values are the station defaults.
    SysPar sysPar;
    ToolPar toolPar;
    CDataCard::setDefaultPar(sysPar, toolPar);
    EXPECT_EQ(CHandlerProbe::bytes(sysPar), m_pFrame->sysBytes());
    EXPECT_EQ(CHandlerProbe::bytes(toolPar), m_pFrame->toolBytes());
}

TEST_F(CommandsTest, SaveWithoutAFileAsksForOneAndRetitles)
{
    m_pFrame->showRecords(makeSys(edited()), makeTool(edited()));
    const wxString strPath = path("first.zlx");
    m_prompter.answerFile(strPath);
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_FILE_SAVE));

    ASSERT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(CPrompter::eFileSave, lastRequest().eKind);
    EXPECT_EQ("Save Settings", lastRequest().strMessage);
    EXPECT_EQ("zolt1.zlx", lastRequest().strDefaultFile);
    EXPECT_EQ(kWildcard, lastRequest().strWildcard);
    EXPECT_FALSE(lastRequest().strDir.empty());
    EXPECT_TRUE(m_prompter.getReports().empty());

    EXPECT_EQ(" Q417 [first.zlx]", m_pFrame->GetTitle());
    EXPECT_EQ(strPath, m_pFrame->getCurrentFile());
    expectFileHolds(strPath, makeSys(edited()), makeTool(edited()));

    // The next save goes to the same file without asking; the dialogs now
    // open where the last one was accepted.
    m_pFrame->showRecords(makeSys(edited()), makeTool(edited()));
    m_pFrame->m_pCheckboxKeylocked->SetValue(false);
    m_pFrame->button(ID_BUTTON_SAVE);
    EXPECT_EQ(1u, m_prompter.getFileRequests().size());
    expectFileHoldsControls(strPath);
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    EXPECT_EQ(wxString::FromUTF8(m_dir.path()), lastRequest().strDir);
}

TEST_F(CommandsTest, OpenDefaultSaveOverwritesTheOpenedFile)
{
    const wxString strPath = path("station.zlx");
    writeSettings(strPath, edited());
    open(strPath, ID_BUTTON_LOAD);
    ASSERT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(CPrompter::eFileOpen, lastRequest().eKind);
    EXPECT_EQ("Load Settings", lastRequest().strMessage);
    EXPECT_EQ("*.zlx", lastRequest().strDefaultFile);
    EXPECT_EQ(kWildcard, lastRequest().strWildcard);
    EXPECT_TRUE(m_prompter.getReports().empty());

    EXPECT_EQ(" Q417 [station.zlx]", m_pFrame->GetTitle());
    EXPECT_EQ(strPath, m_pFrame->getCurrentFile());
    EXPECT_EQ(CHandlerProbe::bytes(makeSys(edited())), m_pFrame->sysBytes());
    EXPECT_EQ(CHandlerProbe::bytes(makeTool(edited())), m_pFrame->toolBytes());
    EXPECT_TRUE(m_pFrame->m_pRadioBtnFahrenheit->GetValue());
    EXPECT_EQ("842", text(m_pFrame->m_pSpinCtrlT3));
    EXPECT_FALSE(m_pFrame->m_pSpinCtrlTVar->IsEnabled());

    m_pFrame->button(ID_BUTTON_DEFAULT);
    EXPECT_EQ(" Q417 [station.zlx]", m_pFrame->GetTitle());
    EXPECT_EQ(strPath, m_pFrame->getCurrentFile());
    EXPECT_EQ("360", text(m_pFrame->m_pSpinCtrlTVar));
    EXPECT_TRUE(m_pFrame->m_pSpinCtrlTVar->IsEnabled());

    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_FILE_SAVE));
    EXPECT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(" Q417 [station.zlx]", m_pFrame->GetTitle());
    SysPar sysPar;
    ToolPar toolPar;
    CDataCard::setDefaultPar(sysPar, toolPar);
    expectFileHolds(strPath, sysPar, toolPar);
}

TEST_F(CommandsTest, SaveAsOffersTheCurrentFile)
{
    ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("sub")));
    const wxString strOpened = path("sub/opened.zlx");
    writeSettings(strOpened, edited());
    open(strOpened);

    const wxString strOther = path("other.zlx");
    m_prompter.answerFile(strOther);
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    EXPECT_EQ(CPrompter::eFileSave, lastRequest().eKind);
    EXPECT_EQ("opened.zlx", lastRequest().strDefaultFile);
    EXPECT_EQ(wxString::FromUTF8(m_dir.file("sub")), lastRequest().strDir);
    EXPECT_EQ(" Q417 [other.zlx]", m_pFrame->GetTitle());
    EXPECT_EQ(strOther, m_pFrame->getCurrentFile());
    expectFileHolds(strOther, makeSys(edited()), makeTool(edited()));

    m_pFrame->menu(ID_MENU_FILE_SAVE_AS); // cancelled
    EXPECT_EQ("other.zlx", lastRequest().strDefaultFile);
    EXPECT_EQ(wxString::FromUTF8(m_dir.path()), lastRequest().strDir);
    EXPECT_EQ(strOther, m_pFrame->getCurrentFile());

    // Without a current file the offer is the default name.
    m_pFrame->menu(ID_MENU_FILE_NEW);
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    EXPECT_EQ("zolt1.zlx", lastRequest().strDefaultFile);
}

TEST_F(CommandsTest, NewForgetsTheFileAndShowsTheDefaults)
{
    const wxString strPath = path("a.zlx");
    writeSettings(strPath, edited());
    open(strPath);
    ASSERT_EQ(strPath, m_pFrame->getCurrentFile());

    m_pFrame->menu(ID_MENU_FILE_NEW);
    EXPECT_EQ(" Q417", m_pFrame->GetTitle());
    EXPECT_TRUE(m_pFrame->getCurrentFile().empty());
    SysPar sysPar;
    ToolPar toolPar;
    CDataCard::setDefaultPar(sysPar, toolPar);
    EXPECT_EQ(CHandlerProbe::bytes(sysPar), m_pFrame->sysBytes());
    EXPECT_EQ(CHandlerProbe::bytes(toolPar), m_pFrame->toolBytes());

    m_pFrame->menu(ID_MENU_FILE_SAVE); // asks again, and is cancelled
    EXPECT_EQ(2u, m_prompter.getFileRequests().size());
    EXPECT_EQ("zolt1.zlx", lastRequest().strDefaultFile);
    expectFileHolds(strPath, makeSys(edited()), makeTool(edited()));
}

TEST_F(CommandsTest, FilesThatCannotBeReadChangeNothing)
{
    const wxString strGood = path("good.zlx");
    writeSettings(strGood, edited());
    open(strGood);
    m_pFrame->m_pSpinCtrlT1->SetValue(444);
    const std::vector<wxString> astrBefore = snapshot();

    struct Case
    {
        const char* pcName;
        const char* pcContent; // null: no such file
        const char* pcTitle;
        const char* pcText;
    };
    const Case aCases[] = {
        {"wrong-root.zlx", "<?xml version=\"1.0\"?><settings/>", "File is corrupted",
         "failed to read the settings."},
        {"twice.zlx",
         "<?xml version=\"1.0\"?><zolt-settings><tool-parameter/><tool-parameter/>"
         "</zolt-settings>",
         "File is corrupted", "failed to read the settings."},
        {"capital.zlx",
         "<?xml version=\"1.0\"?><zolt-settings><system-parameter>"
         "<unit value=\"Centigrade\"/></system-parameter></zolt-settings>",
         "File is corrupted", "failed to read the settings."},
        {"not-xml.zlx", "zolt-settings", "Can't read the file", "failed to load the file."},
        {"missing.zlx", nullptr, "Can't read the file", "failed to load the file."},
    };
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(c.pcName);
        if (c.pcContent)
        {
            ASSERT_TRUE(m_dir.write(c.pcName, c.pcContent));
        }
        m_prompter.clear();
        open(path(c.pcName));
        ASSERT_EQ(1u, m_prompter.getReports().size());
        EXPECT_EQ(c.pcTitle, m_prompter.getReports()[0].strTitle);
        EXPECT_EQ(c.pcText, m_prompter.getReports()[0].strText);
        EXPECT_EQ(astrBefore, snapshot());
        EXPECT_EQ(" Q417 [good.zlx]", m_pFrame->GetTitle());
        EXPECT_EQ(strGood, m_pFrame->getCurrentFile());
    }

    // Saving still goes to the file that was current.
    m_pFrame->menu(ID_MENU_FILE_SAVE);
    expectFileHoldsControls(strGood);
}

TEST_F(CommandsTest, CancelledDialogsChangeNothing)
{
    const wxString strPath = path("kept.zlx");
    writeSettings(strPath, edited());
    for (bool bWithFile : {false, true})
    {
        SCOPED_TRACE(bWithFile);
        if (bWithFile)
            open(strPath);
        const wxString strTitle = m_pFrame->GetTitle();
        const wxString strCurrent = m_pFrame->getCurrentFile();
        const std::vector<wxString> astrBefore = snapshot();
        m_prompter.clear();
        m_pFrame->menu(ID_MENU_FILE_OPEN);
        m_pFrame->button(ID_BUTTON_LOAD);
        m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
        if (!bWithFile)
            m_pFrame->menu(ID_MENU_FILE_SAVE);
        EXPECT_EQ(bWithFile ? 3u : 4u, m_prompter.getFileRequests().size());
        EXPECT_TRUE(m_prompter.getReports().empty());
        EXPECT_EQ(astrBefore, snapshot());
        EXPECT_EQ(strTitle, m_pFrame->GetTitle());
        EXPECT_EQ(strCurrent, m_pFrame->getCurrentFile());
    }
    EXPECT_EQ(std::vector<std::string>{},
              [this]
              {
                  std::vector<std::string> astr;
                  wxArrayString astrFiles;
                  wxDir::GetAllFiles(wxString::FromUTF8(m_dir.path()), &astrFiles);
                  for (const wxString& str : astrFiles)
                      if (wxFileName(str).GetFullName() != "kept.zlx")
                          astr.push_back(str.utf8_string());
                  return astr;
              }());
    expectFileHolds(strPath, makeSys(edited()), makeTool(edited()));
}

TEST_F(CommandsTest, OpenedFilesAreClampedIntoRange)
{
    const wxString strPath = path("hot.zlx");
    ASSERT_TRUE(m_dir.write("hot.zlx",
                            "<?xml version=\"1.0\"?><zolt-settings><tool-parameter><var-mode>"
                            "<var-standby-temp value=\"3500\"/><var-set-temp value=\"9999\"/>"
                            "</var-mode><standby-time value=\"61\"/><shutdown-time value=\"5\"/>"
                            "</tool-parameter></zolt-settings>"));
    {
        // The fixed standby temperatures keep their defaults and so differ.
        guitest::CAssertCounter asserts;
        EXPECT_NO_DIALOG(open(strPath));
        EXPECT_EQ(3, asserts.count());
    }
    EXPECT_EQ("300", text(m_pFrame->m_pSpinCtrlStandbyTemp));
    EXPECT_EQ("450", text(m_pFrame->m_pSpinCtrlTVar));
    EXPECT_EQ("60", text(m_pFrame->m_pSpinCtrlStandbyTime));
    EXPECT_EQ("10", text(m_pFrame->m_pSpinCtrlShutdownTime));
    // What the file lacks keeps its default.
    EXPECT_EQ("320", text(m_pFrame->m_pSpinCtrlT1));
    EXPECT_TRUE(m_pFrame->m_pRadioBtnCelsius->GetValue());
}

TEST_F(CommandsTest, SaveToAFileThatCannotBeWrittenKeepsTitleAndFile)
{
    ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("gone")));
    const wxString strPath = path("gone/a.zlx");
    writeSettings(strPath, edited());
    open(strPath);
    CTempDir::removeAll(m_dir.file("gone"));

    m_pFrame->menu(ID_MENU_FILE_SAVE);
    ASSERT_EQ(1u, m_prompter.getReports().size());
    EXPECT_EQ("Can't save the file", m_prompter.getReports()[0].strTitle);
    EXPECT_EQ("failed to save the file.", m_prompter.getReports()[0].strText);
    EXPECT_EQ(" Q417 [a.zlx]", m_pFrame->GetTitle());
    EXPECT_EQ(strPath, m_pFrame->getCurrentFile());

    // Save As into a folder that is not there: reported, nothing changes.
    m_prompter.clear();
    m_prompter.answerFile(path("gone/b.zlx"));
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    ASSERT_EQ(1u, m_prompter.getReports().size());
    EXPECT_EQ("Can't save the file", m_prompter.getReports()[0].strTitle);
    EXPECT_EQ(" Q417 [a.zlx]", m_pFrame->GetTitle());
    EXPECT_EQ(strPath, m_pFrame->getCurrentFile());
}

TEST_F(CommandsTest, ExitClosesAtOnceWithoutAsking)
{
    m_pFrame->m_pSpinCtrlT1->SetValue(333);
    CHandlerProbe* pFrame = m_pFrame;
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_FILE_EXIT));
    EXPECT_TRUE(guitest::waitUntil([pFrame] { return !isAlive(pFrame); }));
    EXPECT_TRUE(m_prompter.getFileRequests().empty());
}

#ifdef ZOLT_ZOLTCFG_PATH
TEST_F(CommandsTest, SavedFilesReadTheSameInTheCommandLineTool)
{
    const Shown aCases[] = {
        edited(),
        {true, false, false, 151, 299, {449, 150, 300}, 2, {1, 2, 3}, 3, 60, 240},
        {false, true, true, 300, 575, {301, 302, 303}, 3, {3, 2, 1}, 1, 0, 0},
    };
    int nCase = 0;
    for (const Shown& s : aCases)
    {
        SCOPED_TRACE(nCase);
        const wxString strSaved = path(wxString::Format("saved%d.zlx", nCase).utf8_str());
        const wxString strImage = path(wxString::Format("image%d.cfg", nCase).utf8_str());
        ++nCase;
        m_pFrame->showRecords(makeSys(s), makeTool(s));
        m_prompter.answerFile(strSaved);
        m_pFrame->menu(ID_MENU_FILE_SAVE_AS);

        const char* const apcArgs[] = {ZOLT_ZOLTCFG_PATH, "image", strSaved.utf8_str(),
                                       strImage.utf8_str(), nullptr};
        wxArrayString astrOut, astrErr;
        ASSERT_EQ(0, wxExecute(const_cast<char**>(apcArgs), wxEXEC_SYNC | wxEXEC_NOEVENTS, nullptr))
            << "zoltcfg image failed";
        const std::string strCard = CTempDir::readFile(strImage.utf8_string());
        ASSERT_EQ(size_t(CDataCard::kImageSize), strCard.size());
        CDataCard card;
        std::memcpy(card.getImage(), strCard.data(), strCard.size());
        SysPar sysPar;
        ToolPar toolPar;
        ASSERT_TRUE(card.readPar(sysPar, toolPar, 0));
        EXPECT_EQ(m_pFrame->sysBytes(), CHandlerProbe::bytes(sysPar));
        EXPECT_EQ(m_pFrame->toolBytes(), CHandlerProbe::bytes(toolPar));
        EXPECT_EQ(CHandlerProbe::bytes(makeTool(s)), CHandlerProbe::bytes(toolPar));
    }
}
#endif

// The window's own dialogs, answered through the toolkit's test hook.
class CExpectSaveDialog : public wxExpectModalBase<wxFileDialog>
{
public:
    explicit CExpectSaveDialog(const wxString& strDir) : m_strDir(strDir) {}

protected:
    int OnInvoked(wxFileDialog* pDlg) const override
    {
        EXPECT_EQ("Save Settings", pDlg->GetMessage());
        EXPECT_EQ("zolt1.zlx", pDlg->GetFilename());
        EXPECT_EQ(kWildcard, pDlg->GetWildcard());
        EXPECT_EQ(m_strDir, pDlg->GetDirectory());
        EXPECT_TRUE(pDlg->HasFlag(wxFD_SAVE));
        EXPECT_TRUE(pDlg->HasFlag(wxFD_OVERWRITE_PROMPT));
        return wxID_CANCEL;
    }

private:
    wxString m_strDir;
};

class CExpectAbout : public wxExpectModalBase<CDlgAbout>
{
protected:
    int OnInvoked(CDlgAbout* pDlg) const override
    {
        EXPECT_EQ("About Q417 SD", pDlg->GetTitle());
        bool bHeading = false;
        bool bLink = false;
        for (wxWindow* pChild : pDlg->GetChildren())
        {
            if (pChild->GetLabel() == "Q417 SD 1.1.0.0")
                bHeading = true;
            if (auto* pLink = dynamic_cast<wxHyperlinkCtrl*>(pChild))
                bLink = !pLink->GetURL().empty();
        }
        EXPECT_TRUE(bHeading);
        EXPECT_TRUE(bLink);
        EXPECT_EQ(m_pParent, pDlg->GetParent());
        return wxID_OK;
    }

public:
    wxWindow* m_pParent = nullptr;
};

TEST_F(CommandsTest, TheWindowsOwnDialogsAreUsedWithoutAScript)
{
    m_pFrame->setPrompter(nullptr);
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_FILE_SAVE),
                  CExpectSaveDialog(wxStandardPaths::Get().GetDocumentsDir()));
    EXPECT_EQ("Q417 SD", m_pFrame->GetTitle());
    EXPECT_TRUE(m_pFrame->getCurrentFile().empty());

    // Failures come up in the message dialog, centred on the window.
    const wxString strPath = path("gone/a.zlx");
    m_pFrame->setCurrentFile(strPath);
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_FILE_SAVE),
                  CExpectMessage("Can't save the file", "failed to save the file.",
                                 [this](CDlgMessage* pDlg)
                                 {
                                     EXPECT_EQ(m_pFrame, pDlg->GetParent());
                                     const wxPoint ptDlg =
                                         pDlg->GetRect().GetPosition() + pDlg->GetSize() / 2;
                                     const wxPoint ptFrame = m_pFrame->GetRect().GetPosition() +
                                                             m_pFrame->GetSize() / 2;
                                     EXPECT_NEAR(ptFrame.x, ptDlg.x, 2);
                                     EXPECT_NEAR(ptFrame.y, ptDlg.y, 2);
                                 }));

    CExpectAbout about;
    about.m_pParent = m_pFrame;
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_HELP_ABOUT), about);
    EXPECT_EQ(strPath, m_pFrame->getCurrentFile());
}
} // namespace

namespace
{
// Every label and field keeps room for its text through the states a user
// sees most; ZOLT_GUI_SCREENSHOT_DIR collects pictures of them.
TEST_F(CommandsTest, ControlsKeepRoomForTheirTextInEveryUnitAndMode)
{
    auto expectRoom = [this](const char* pcState)
    {
        m_pFrame->Layout();
        for (wxWindow* pChild : m_pFrame->GetChildren())
        {
            if (!pChild->IsShown() || dynamic_cast<wxStaticText*>(pChild) == nullptr)
                continue;
            EXPECT_GE(pChild->GetSize().x, pChild->GetBestSize().x)
                << pcState << ": \"" << pChild->GetLabel() << "\" is cut";
        }
        guitest::screenshot(wxString("main-") + pcState);
    };
    m_pFrame->Raise();
    m_pFrame->menu(ID_MENU_SETTINGS_DEFAULT);
    expectRoom("default");
    m_pFrame->click(m_pFrame->m_pRadioBtnFahrenheit);
    EXPECT_EQ("752", text(m_pFrame->m_pSpinCtrlT3));
    expectRoom("fahrenheit");
    m_pFrame->click(m_pFrame->m_pRadioBtnTempFix);
    m_pFrame->click(m_pFrame->m_pCheckboxT3, false);
    expectRoom("fixed");
}
} // namespace
