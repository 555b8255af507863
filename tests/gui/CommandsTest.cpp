// The main window's file and card commands end to end: dialogs answered by a
// scripted prompter (or the test hook for the window's own dialogs), real
// files in a temporary folder checked with the command-line tool, a fake card
// volume, the title and the current file.
#include "Probe.h"

#include "CDlgAbout.h"
#include "CTempDir.h"

#include <wx/collpane.h>
#include <wx/dir.h>
#include <wx/utils.h>

#ifndef ZOLT_ZOLTCFG_PATH
#error "the file commands are checked with zoltcfg"
#endif

namespace
{
const wxString kWildcard = "Zolt xml (*.zlx)|*.zlx";

// The records of a card image file as the station finds them; none when unreadable.
Records recordsInImage(const std::string& strPath)
{
    const std::string strImage = CTempDir::readFile(strPath);
    CDataCard card;
    SysPar sysPar;
    ToolPar toolPar;
    if (strImage.size() != CDataCard::kImageSize)
        return {};
    std::memcpy(card.getImage(), strImage.data(), strImage.size());
    return card.readPar(sysPar, toolPar, 0) ? recordsOf(sysPar, toolPar) : Records();
}

class CommandsTest : public CHandlerTest
{
protected:
    wxString path(const std::string& strName) const
    {
        return wxString::FromUTF8(m_dir.file(strName));
    }
    // The records of a settings file as the command-line tool reads them.
    Records recordsInFile(const wxString& strPath)
    {
        const std::string strFile = strPath.utf8_string(), strImage = m_dir.file("check.cfg");
        const char* const apcArgs[] = {ZOLT_ZOLTCFG_PATH, "image", strFile.c_str(),
                                       strImage.c_str(), nullptr};
        EXPECT_EQ(0, wxExecute(const_cast<char**>(apcArgs), wxEXEC_SYNC | wxEXEC_NOEVENTS));
        return recordsInImage(strImage);
    }
    // Lets the editor save the settings s under strPath, as the user would.
    void saveAs(const Shown& s, const wxString& strPath)
    {
        m_pFrame->show(s);
        m_prompter.answerFile(strPath);
        m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
        ASSERT_EQ(recordsOf(s), recordsInFile(strPath));
    }
    void open(const wxString& strPath)
    {
        m_prompter.answerFile(strPath);
        m_pFrame->menu(ID_MENU_FILE_OPEN);
    }
    const CScriptedPrompter::FileRequest& lastRequest() const
    {
        return m_prompter.getFileRequests().back();
    }
    void expectFile(const wxString& strTitle, const wxString& strPath)
    {
        EXPECT_EQ(strTitle, m_pFrame->GetTitle());
        EXPECT_EQ(strPath, m_pFrame->getCurrentFile());
    }

    CTempDir m_dir;
};

TEST_F(CommandsTest, SaveWithoutAFileOffersTheDefaultNameAndRetitles)
{
    expectFile("Q417 SD", "");
    m_pFrame->show(edited());
    const wxString strPath = path("first.zlx");
    m_prompter.answerFile(strPath);
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_FILE_SAVE));
    ASSERT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(CPrompter::eFileSave, lastRequest().eKind);
    EXPECT_EQ("Save Settings", lastRequest().strMessage);
    EXPECT_EQ("zolt1.zlx", lastRequest().strDefaultFile);
    EXPECT_EQ(kWildcard, lastRequest().strWildcard);
    EXPECT_EQ("0 reports", report());
    expectFile(" Q417 [first.zlx]", strPath);
    EXPECT_EQ(recordsOf(edited()), recordsInFile(strPath));

    // The next save goes to the same file without asking.
    m_pFrame->m_pCheckboxKeylocked->SetValue(false);
    m_pFrame->button(ID_BUTTON_SAVE);
    EXPECT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(m_pFrame->records(), recordsInFile(strPath));
}

TEST_F(CommandsTest, OpenDefaultSaveOverwritesTheOpenedFile)
{
    const wxString strPath = path("station.zlx");
    saveAs(edited(), strPath);
    m_pFrame->menu(ID_MENU_FILE_NEW);
    m_prompter.clear();
    m_prompter.answerFile(strPath);
    m_pFrame->button(ID_BUTTON_LOAD);
    ASSERT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(CPrompter::eFileOpen, lastRequest().eKind);
    EXPECT_EQ("Load Settings", lastRequest().strMessage);
    EXPECT_EQ("*.zlx", lastRequest().strDefaultFile);
    EXPECT_EQ(kWildcard, lastRequest().strWildcard);
    EXPECT_EQ("0 reports", report());
    expectFile(" Q417 [station.zlx]", strPath);
    EXPECT_EQ(recordsOf(edited()), m_pFrame->records());

    m_pFrame->button(ID_BUTTON_DEFAULT);
    expectFile(" Q417 [station.zlx]", strPath);
    EXPECT_EQ(defaultRecords(), m_pFrame->records());
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_FILE_SAVE));
    EXPECT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(defaultRecords(), recordsInFile(strPath));
}

TEST_F(CommandsTest, SaveAsOffersTheCurrentFileAndNewForgetsIt)
{
    ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("sub")));
    const wxString strOpened = path("sub/opened.zlx");
    saveAs(edited(), strOpened);
    const Shown other = {true, false, false, 151, 299, {449, 150, 300}, 2, {1, 2, 3}, 3, 60, 240};
    saveAs(other, path("other.zlx"));
    EXPECT_EQ(CPrompter::eFileSave, lastRequest().eKind);
    EXPECT_EQ("opened.zlx", lastRequest().strDefaultFile);
    EXPECT_EQ(path("sub"), lastRequest().strDir);
    expectFile(" Q417 [other.zlx]", path("other.zlx"));

    m_pFrame->menu(ID_MENU_FILE_NEW);
    expectFile(" Q417", "");
    EXPECT_EQ(defaultRecords(), m_pFrame->records());
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS); // cancelled
    EXPECT_EQ("zolt1.zlx", lastRequest().strDefaultFile);
    EXPECT_EQ(recordsOf(edited()), recordsInFile(strOpened));
}

TEST_F(CommandsTest, FilesThatCannotBeReadOrWrittenChangeNothing)
{
    const wxString strGood = path("good.zlx");
    saveAs(edited(), strGood);
    m_pFrame->m_pSpinCtrlT1->SetValue(444);
    const std::vector<wxString> astrBefore = snapshot();
    const char* const apcCases[][3] = {
        {"wrong-root.zlx", "<?xml version=\"1.0\"?><settings/>",
         "File is corrupted: failed to read the settings."},
        {"not-xml.zlx", "zolt-settings", "Can't read the file: failed to load the file."},
        {"missing.zlx", nullptr, "Can't read the file: failed to load the file."}};
    for (const auto& apc : apcCases)
    {
        SCOPED_TRACE(apc[0]);
        if (apc[1])
        {
            ASSERT_TRUE(m_dir.write(apc[0], apc[1]));
        }
        m_prompter.clear();
        open(path(apc[0]));
        EXPECT_EQ(apc[2], report());
        EXPECT_EQ(astrBefore, snapshot());
        expectFile(" Q417 [good.zlx]", strGood);
    }
    // Saving into a folder that is gone: reported, title and file kept.
    m_prompter.clear();
    m_prompter.answerFile(path("gone/b.zlx"));
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    EXPECT_EQ("Can't save the file: failed to save the file.", report());
    expectFile(" Q417 [good.zlx]", strGood);
}

TEST_F(CommandsTest, CancelledDialogsChangeNothing)
{
    const wxString strPath = path("kept.zlx");
    for (bool bWithFile : {false, true})
    {
        SCOPED_TRACE(bWithFile);
        if (bWithFile)
            saveAs(edited(), strPath);
        const wxString strTitle = m_pFrame->GetTitle();
        const std::vector<wxString> astrBefore = snapshot();
        m_prompter.clear();
        m_pFrame->menu(ID_MENU_FILE_OPEN);
        m_pFrame->button(ID_BUTTON_LOAD);
        m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
        if (!bWithFile)
            m_pFrame->menu(ID_MENU_FILE_SAVE);
        EXPECT_EQ(bWithFile ? 3u : 4u, m_prompter.getFileRequests().size());
        EXPECT_EQ("0 reports", report());
        EXPECT_EQ(astrBefore, snapshot());
        expectFile(strTitle, bWithFile ? strPath : "");
    }
    wxArrayString astrFiles; // the file saved and the tool's image of it
    EXPECT_EQ(2u, wxDir::GetAllFiles(wxString::FromUTF8(m_dir.path()), &astrFiles));
    EXPECT_EQ(recordsOf(edited()), recordsInFile(strPath));
}

// The card commands over a fake volume whose card is a real folder.
class CardCommandsTest : public CommandsTest
{
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("card")));
        m_pDrive = &m_layer.setDrive(4, m_dir.file("card") + "/");
        m_pDrive->info.strLabel = "CARD";
    }
    std::string cardFile() const { return m_dir.file("card/ZOLT.CFG"); }

    CFakeVolumeLayer::Drive* m_pDrive = nullptr;
};

TEST_F(CardCommandsTest, WrittenCardReadsBackIntoTheControls)
{
    m_pFrame->show(edited());
    m_prompter.answerIndex(0);
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_CARD_WRITE));
    EXPECT_EQ("Write Settings", m_prompter.getChoices().at(0).strCaption);
    EXPECT_EQ(recordsOf(edited()), recordsInImage(cardFile()));

    m_pFrame->menu(ID_MENU_FILE_NEW);
    m_prompter.answerIndex(0);
    EXPECT_NO_DIALOG(m_pFrame->button(ID_BUTTON_READ));
    EXPECT_EQ("Read Settings", m_prompter.getChoices().at(1).strCaption);
    EXPECT_EQ("0 reports", report());
    EXPECT_EQ(recordsOf(edited()), m_pFrame->records());
    EXPECT_FALSE(m_pFrame->m_pSpinCtrlT3->IsEnabled());
    expectFile(" Q417", "");
}

TEST_F(CardCommandsTest, CardWithoutRecordsEndsSilently)
{
    m_pFrame->show(edited());
    const std::vector<wxString> astrBefore = snapshot();
    std::string strNoise(CDataCard::kImageSize, '\0');
    for (size_t i = 0; i < strNoise.size(); ++i)
        strNoise[i] = static_cast<char>((i * 7919u) >> 3);
    for (const std::string& strFile : {std::string(), std::string(512, '\0'), strNoise})
    {
        SCOPED_TRACE(strFile.size());
        ASSERT_TRUE(CTempDir::writeFile(cardFile(), strFile));
        m_prompter.answerIndex(0);
        EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_CARD_READ));
        EXPECT_EQ("0 reports", report());
        EXPECT_EQ(astrBefore, snapshot());
    }
}

TEST_F(CardCommandsTest, CancelledChoicesChangeNothing)
{
    m_pFrame->show(edited());
    m_prompter.answerIndex(0);
    m_pFrame->menu(ID_MENU_CARD_WRITE);
    const std::string strCard = CTempDir::readFile(cardFile());
    m_pFrame->menu(ID_MENU_FILE_NEW);
    const std::vector<wxString> astrBefore = snapshot();
    m_pFrame->menu(ID_MENU_CARD_READ);
    m_pFrame->button(ID_BUTTON_WRITE);
    EXPECT_EQ(3u, m_prompter.getChoices().size());
    EXPECT_EQ("0 reports", report());
    EXPECT_EQ(astrBefore, snapshot());
    EXPECT_EQ(strCard, CTempDir::readFile(cardFile()));
}

TEST_F(CardCommandsTest, FailuresAreReportedAndChangeNothing)
{
    const std::vector<wxString> astrBefore = snapshot();
    m_pFrame->menu(ID_MENU_CARD_READ); // the card holds no ZOLT.CFG
    EXPECT_EQ(
        "Can't find the file: No configuration file found!\nPlease insert a micro SD card first.",
        report());
    m_pDrive->info.bReadOnly = true;
    m_prompter.clear();
    m_prompter.answerIndex(0);
    m_pFrame->menu(ID_MENU_CARD_WRITE);
    EXPECT_TRUE(report().StartsWith("Can't write to this volume: ")) << report();
    m_pDrive->info.bReadOnly = false;
    m_pDrive->nFreeBytes = CDataCard::kImageSize - 1;
    m_prompter.clear();
    m_prompter.answerIndex(0);
    m_pFrame->button(ID_BUTTON_WRITE);
    EXPECT_EQ("Can't write the file: not enough volume space\n", report());
    EXPECT_FALSE(CTempDir::exists(cardFile()));
    EXPECT_EQ(astrBefore, snapshot());
    expectFile("Q417 SD", "");
}

TEST_F(CardCommandsTest, TheWindowsOwnDialogsAreUsedWithoutAScript)
{
    m_pFrame->setPrompter(nullptr);
    const wxString strEntry = wxString::FromUTF8(m_dir.file("card")) + "/ (name: CARD)";
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_CARD_READ),
                  expectMessage("Can't find the file",
                                "No configuration file found!\n"
                                "Please insert a micro SD card first.",
                                [this](CDlgMessage* pDlg)
                                { EXPECT_EQ(m_pFrame, pDlg->GetParent()); }));
    m_pFrame->show(edited());
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_CARD_WRITE),
                  expectChoice(0, "Write Settings", {strEntry}));
    EXPECT_EQ(recordsOf(edited()), recordsInImage(cardFile()));
    // The editor tells the version zoltcfg tells, and its licence.
    wxArrayString astrOut;
    wxExecute(wxString(ZOLT_ZOLTCFG_PATH) + " --version", astrOut, wxEXEC_SYNC | wxEXEC_NOEVENTS);
    const wxString strVersion = astrOut.empty() ? "?" : astrOut[0].AfterFirst(' ');
    auto fnAbout = [&strVersion](CDlgAbout* pDlg)
    {
        EXPECT_EQ("About Q417 SD", pDlg->GetTitle());
        wxString strShown;
        for (wxWindow* p : pDlg->GetChildren())
        {
            if (auto* pText = dynamic_cast<wxStaticText*>(p))
                strShown += pText->GetLabel() + "|";
            else if (auto* pPane = dynamic_cast<wxCollapsiblePane*>(p))
                strShown += pPane->GetPane()->GetChildren()[0]->GetLabel().BeforeFirst('\n') + "|";
        }
        EXPECT_TRUE(strShown.StartsWith("Q417 SD " + strVersion + ".0|")) << strShown;
        EXPECT_TRUE(strShown.EndsWith("|MIT License|")) << strShown;
        return wxID_OK;
    };
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_HELP_ABOUT), CExpectDialog<CDlgAbout>(fnAbout));
}
} // namespace
