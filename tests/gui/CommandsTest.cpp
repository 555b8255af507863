// The editor's file and card commands end to end: dialogs answered by a
// scripted prompter (or the test hook for the window's own dialogs), real
// files checked with the command-line tool, a fake card volume, the title and
// the current file.
#include "GuiTest.h"

#include "CDlgAbout.h"

#include <wx/collpane.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include <cstring>

#ifndef ZOLT_ZOLTCFG_PATH
#error "the file commands are checked with zoltcfg"
#endif

namespace
{
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

class Commands : public CHandlerTest
{
protected:
    // The records of a settings file as the command-line tool reads them.
    Records recordsInFile(const wxString& strPath)
    {
        const std::string strFile = strPath.utf8_string(), strImage = m_dir.file("check.cfg");
        const char* const apcArgs[] = {ZOLT_ZOLTCFG_PATH, "image", strFile.c_str(),
                                       strImage.c_str(), nullptr};
        EXPECT_EQ(0, wxExecute(const_cast<char**>(apcArgs), wxEXEC_SYNC | wxEXEC_NOEVENTS));
        return recordsInImage(strImage);
    }
    // The last file dialog asked for: kind, message, name and filter.
    wxString asked() const
    {
        if (m_prompter.getFileRequests().empty())
            return "nothing asked";
        const auto& r = m_prompter.getFileRequests().back();
        return wxString(r.eKind == CPrompter::eFileSave ? "save|" : "open|") + r.strMessage + "|" +
               r.strDefaultFile + "|" + r.strWildcard;
    }
    void expectFile(const wxString& strTitle, const wxString& strPath)
    {
        EXPECT_EQ(strTitle + "|" + strPath,
                  m_pFrame->GetTitle() + "|" + m_pFrame->getCurrentFile());
    }
};

TEST_F(Commands, SaveOpenNewAndDefaultKeepTrackOfTheCurrentFile)
{
    const wxString strFilter = "|Zolt xml (*.zlx)|*.zlx", strFirst = path("sub/first.zlx");
    ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("sub")));
    expectFile("Q417 SD", "");
    m_pFrame->show(kEdited);
    m_prompter.answerFile(strFirst);
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_FILE_SAVE));
    EXPECT_EQ("save|Save Settings|zolt1.zlx" + strFilter, asked());
    expectFile(" Q417 [first.zlx]", strFirst);
    EXPECT_EQ(kEdited.records(), recordsInFile(strFirst));
    // The next save goes to the same file without asking.
    m_pFrame->m_pCheckboxKeylocked->SetValue(false);
    m_pFrame->button(ID_BUTTON_SAVE);
    const Records unlocked = m_pFrame->records();
    EXPECT_EQ(unlocked, recordsInFile(strFirst));
    // Save As offers the current file.
    m_prompter.answerFile(path("other.zlx"));
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    EXPECT_EQ("save|Save Settings|first.zlx" + strFilter, asked());
    EXPECT_EQ(path("sub"), m_prompter.getFileRequests().back().strDir);
    expectFile(" Q417 [other.zlx]", path("other.zlx"));
    // New forgets it: a cancelled save offers the default name again.
    m_pFrame->menu(ID_MENU_FILE_NEW);
    expectFile(" Q417", "");
    EXPECT_EQ(Defaults().records(), m_pFrame->records());
    m_pFrame->menu(ID_MENU_FILE_SAVE);
    EXPECT_EQ("save|Save Settings|zolt1.zlx" + strFilter, asked());
    // Open shows the file; Default keeps it current, and Save overwrites it.
    m_prompter.answerFile(strFirst);
    m_pFrame->button(ID_BUTTON_LOAD);
    EXPECT_EQ("open|Load Settings|*.zlx" + strFilter, asked());
    expectFile(" Q417 [first.zlx]", strFirst);
    EXPECT_EQ(unlocked, m_pFrame->records());
    m_pFrame->button(ID_BUTTON_DEFAULT);
    expectFile(" Q417 [first.zlx]", strFirst);
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_FILE_SAVE));
    EXPECT_EQ(Defaults().records(), recordsInFile(strFirst));
    EXPECT_EQ(4u, m_prompter.getFileRequests().size());
    EXPECT_EQ("", report());
}

TEST_F(Commands, FailedAndCancelledFileCommandsChangeNothing)
{
    const wxString strGood = path("good.zlx");
    m_pFrame->show(kEdited);
    m_prompter.answerFile(strGood);
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    m_pFrame->m_pSpinCtrlT1->SetValue(444);
    const std::vector<wxString> astrBefore = snapshot();
    const struct
    {
        wxEventType type;
        int nId;
        const char* pcFile; // answered, with this content; nullptr: cancelled
        const char* pcContent;
        const char* pcReport;
    } aCases[] = {
        {wxEVT_MENU, ID_MENU_FILE_OPEN, "wrong-root.zlx", "<?xml version=\"1.0\"?><settings/>",
         "File is corrupted: failed to read the settings."},
        {wxEVT_BUTTON, ID_BUTTON_LOAD, "missing.zlx", nullptr,
         "Can't read the file: failed to load the file."},
        {wxEVT_MENU, ID_MENU_FILE_SAVE_AS, "gone/b.zlx", nullptr,
         "Can't save the file: failed to save the file."},
        {wxEVT_MENU, ID_MENU_FILE_OPEN, nullptr, nullptr, ""},
        {wxEVT_MENU, ID_MENU_FILE_SAVE_AS, nullptr, nullptr, ""},
    };
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(&c - aCases);
        ASSERT_TRUE(!c.pcContent || m_dir.write(c.pcFile, c.pcContent));
        m_prompter.clear();
        if (c.pcFile)
            m_prompter.answerFile(path(c.pcFile));
        m_pFrame->menu(c.nId, c.type);
        EXPECT_EQ(1u, m_prompter.getFileRequests().size());
        EXPECT_EQ(c.pcReport, report());
        EXPECT_EQ(astrBefore, snapshot());
        expectFile(" Q417 [good.zlx]", strGood);
    }
    EXPECT_EQ(kEdited.records(), recordsInFile(strGood));
}

// The card commands over a fake volume whose card is a real folder.
class CardCommands : public Commands
{
protected:
    void SetUp() override
    {
        Commands::SetUp();
        ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("card")));
        m_pDrive = &m_layer.setDrive(4, m_dir.file("card") + "/");
        m_pDrive->info.strLabel = "CARD";
    }
    std::string cardFile() const { return m_dir.file("card/ZOLT.CFG"); }
    bool ejectOffered()
    {
        m_pFrame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        return m_pFrame->GetMenuBar()->IsEnabled(ID_MENU_CARD_EJECT);
    }

    CFakeVolumeLayer::Drive* m_pDrive = nullptr;
};

TEST_F(CardCommands, WrittenCardReadsBackAndEjects)
{
    EXPECT_FALSE(ejectOffered());
    m_pFrame->show(kEdited);
    m_prompter.answerIndex(0);
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_CARD_WRITE));
    EXPECT_EQ(kEdited.records(), recordsInImage(cardFile()));
    EXPECT_TRUE(ejectOffered());
    // Cancelled choices change nothing.
    const std::string strCard = CTempDir::readFile(cardFile());
    m_pFrame->menu(ID_MENU_FILE_NEW);
    const std::vector<wxString> astrBefore = snapshot();
    m_pFrame->menu(ID_MENU_CARD_READ);
    m_pFrame->button(ID_BUTTON_WRITE);
    EXPECT_EQ(astrBefore, snapshot());
    EXPECT_EQ(strCard, CTempDir::readFile(cardFile()));

    m_prompter.answerIndex(0);
    EXPECT_NO_DIALOG(m_pFrame->button(ID_BUTTON_READ));
    wxString strCaptions;
    for (const auto& c : m_prompter.getChoices())
        strCaptions += c.strCaption + "|";
    EXPECT_EQ("Write Settings|Read Settings|Write Settings|Read Settings|", strCaptions);
    EXPECT_EQ(kEdited.records(), m_pFrame->records());
    EXPECT_FALSE(m_pFrame->m_pSpinCtrlT3->IsEnabled());
    expectFile(" Q417", "");

    m_layer.setEjectError("busy");
    m_pFrame->menu(ID_MENU_CARD_EJECT);
    EXPECT_TRUE(ejectOffered());
    m_layer.setEjectError("");
    m_pFrame->menu(ID_MENU_CARD_EJECT);
    EXPECT_FALSE(ejectOffered());
    EXPECT_EQ("Can't eject the card|Card ejected", m_prompter.getReports().at(0).strTitle + "|" +
                                                       m_prompter.getReports().at(1).strTitle);
}

TEST_F(CardCommands, FailuresAreReportedAndCardsWithoutRecordsEndSilently)
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

    std::string strNoise(CDataCard::kImageSize, '\0');
    for (size_t i = 0; i < strNoise.size(); ++i)
        strNoise[i] = static_cast<char>((i * 7919u) >> 3);
    m_prompter.clear();
    for (const std::string& strFile : {std::string(), std::string(512, '\0'), strNoise})
    {
        ASSERT_TRUE(CTempDir::writeFile(cardFile(), strFile));
        m_prompter.answerIndex(0);
        EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_CARD_READ));
        EXPECT_EQ("", report());
        EXPECT_EQ(astrBefore, snapshot());
    }
}

TEST_F(CardCommands, TheWindowsOwnDialogsAreUsedWithoutAScript)
{
    m_pFrame->setPrompter(nullptr);
    m_pFrame->show(kEdited);
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_CARD_WRITE),
                  expectChoice(0, "Write Settings",
                               wxString::FromUTF8(m_dir.file("card")) + "/ (name: CARD)"));
    EXPECT_EQ(kEdited.records(), recordsInImage(cardFile()));
    // The editor tells the version zoltcfg tells, and its licence.
    wxArrayString astrOut;
    wxExecute(wxString(ZOLT_ZOLTCFG_PATH) + " --version", astrOut, wxEXEC_SYNC | wxEXEC_NOEVENTS);
    const wxString strVersion = astrOut.empty() ? "?" : astrOut[0].AfterFirst(' ');
    auto fnAbout = [&strVersion](CDlgAbout* pDlg)
    {
        wxString strShown = pDlg->GetTitle() + "|";
        for (wxWindow* p : pDlg->GetChildren())
            if (auto* pText = dynamic_cast<wxStaticText*>(p))
                strShown += pText->GetLabel() + "|";
            else if (auto* pPane = dynamic_cast<wxCollapsiblePane*>(p))
                strShown += pPane->GetPane()->GetChildren()[0]->GetLabel().BeforeFirst('\n') + "|";
        EXPECT_TRUE(strShown.StartsWith("About Q417 SD|Q417 SD " + strVersion + ".0|")) << strShown;
        EXPECT_TRUE(strShown.EndsWith("|MIT License|")) << strShown;
        return wxID_OK;
    };
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_HELP_ABOUT), CExpectDialog<CDlgAbout>(fnAbout));
}
} // namespace
