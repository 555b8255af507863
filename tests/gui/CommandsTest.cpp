// The editor's file and card commands end to end: dialogs answered by a
// scripted prompter (or the test hook for the window's own dialogs), real
// files, a fake card volume, the title and the current file.
#include "GuiTest.h"

#include "CDlgAbout.h"
#include "ZoltVersion.h"

#include <wx/choicdlg.h>
#include <wx/collpane.h>
#include <wx/hyperlink.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/statbmp.h>

namespace
{
class Commands : public CHandlerTest
{
protected:
    // Moves a few controls away from the defaults; gives the records they stand for.
    Records edit()
    {
        m_pFrame->at<wxCheckBox>(ID_CHECKBOX_KEYLOCKED)->SetValue(true);
        m_pFrame->click(ID_RADIOBTN_TEMP_FIX);
        m_pFrame->m_apTempSpin[0]->SetValue(444);
        return m_pFrame->records();
    }
    // The last file dialog asked for: kind, message, name and filter.
    wxString asked() const
    {
        const auto& r = m_prompter.getFileRequests().back();
        return wxString(r.eKind == CPrompter::eFileSave ? "save|" : "open|") + r.strMessage + "|" +
               r.strDefaultFile + "|" + r.strWildcard;
    }
    Records opened(const wxString& strPath)
    {
        m_prompter.answerFile(strPath);
        m_pFrame->menu(ID_MENU_FILE_OPEN);
        return m_pFrame->records();
    }
};

TEST_F(Commands, SaveOpenNewAndDefaultKeepTrackOfTheCurrentFile)
{
    const wxString strFilter = "|Zolt xml (*.zlx)|*.zlx", strFirst = path("sub/first.zlx");
    ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("sub")));
    const Records defaults = m_pFrame->records();
    EXPECT_EQ("Q417 SD|", file());
    const Records edited = edit();
    m_prompter.answerFile(strFirst);
    m_pFrame->menu(ID_MENU_FILE_SAVE);
    EXPECT_EQ("save|Save Settings|zolt1.zlx" + strFilter, asked());
    EXPECT_EQ(" Q417 [first.zlx]|" + strFirst, file());
    // Save As offers the current file; the next save goes to the new one without asking.
    m_prompter.answerFile(path("other.zlx"));
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    EXPECT_EQ("save|Save Settings|first.zlx" + strFilter, asked());
    EXPECT_EQ(path("sub"), m_prompter.getFileRequests().back().strDir);
    EXPECT_EQ(" Q417 [other.zlx]|" + path("other.zlx"), file());
    m_pFrame->at<wxCheckBox>(ID_CHECKBOX_KEYLOCKED)->SetValue(false);
    const Records unlocked = m_pFrame->records();
    m_pFrame->menu(ID_BUTTON_SAVE, wxEVT_BUTTON);
    // New forgets the file: the next save offers the default name again.
    m_pFrame->menu(ID_MENU_FILE_NEW);
    EXPECT_EQ(" Q417|", file());
    EXPECT_EQ(defaults, m_pFrame->records());
    m_pFrame->menu(ID_MENU_FILE_SAVE);
    EXPECT_EQ("save|Save Settings|zolt1.zlx" + strFilter, asked());
    // Open shows the file; Default keeps it current, and Save overwrites it.
    m_prompter.answerFile(strFirst);
    m_pFrame->menu(ID_BUTTON_LOAD, wxEVT_BUTTON);
    EXPECT_EQ("open|Load Settings|*.zlx" + strFilter, asked());
    EXPECT_EQ(" Q417 [first.zlx]|" + strFirst, file());
    EXPECT_EQ(edited, m_pFrame->records());
    m_pFrame->menu(ID_BUTTON_DEFAULT, wxEVT_BUTTON);
    EXPECT_EQ(" Q417 [first.zlx]|" + strFirst, file());
    m_pFrame->menu(ID_MENU_FILE_SAVE);
    EXPECT_EQ(4u, m_prompter.getFileRequests().size());
    EXPECT_EQ(unlocked, opened(path("other.zlx")));
    EXPECT_EQ(defaults, opened(strFirst));
    EXPECT_EQ("", report());
}

TEST_F(Commands, FailedAndCancelledFileCommandsChangeNothing)
{
    const wxString strGood = path("good.zlx");
    const Records edited = edit();
    m_prompter.answerFile(strGood);
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    m_pFrame->m_apTempSpin[0]->SetValue(333);
    const wxString strBefore = snapshot();
    ASSERT_TRUE(m_dir.write("wrong-root.zlx", "<?xml version=\"1.0\"?><settings/>"));
    // The file answered (none: cancelled), and the report.
    for (const auto& [nId, pcFile, pcReport] :
         {std::tuple{+ID_MENU_FILE_OPEN, "wrong-root.zlx",
                     "File is corrupted: failed to read the settings."},
          {+ID_BUTTON_LOAD, "missing.zlx", "Can't read the file: failed to load the file."},
          {+ID_MENU_FILE_SAVE_AS, "gone/b.zlx", "Can't save the file: failed to save the file."},
          {+ID_MENU_FILE_OPEN, "", ""},
          {+ID_MENU_FILE_SAVE_AS, "", ""}})
    {
        SCOPED_TRACE(pcFile);
        m_prompter.clear();
        if (*pcFile)
            m_prompter.answerFile(path(pcFile));
        m_pFrame->menu(nId, nId == ID_BUTTON_LOAD ? wxEVT_BUTTON : wxEVT_MENU);
        EXPECT_EQ(1u, m_prompter.getFileRequests().size());
        EXPECT_EQ(pcReport, report());
        EXPECT_EQ(strBefore, snapshot());
        EXPECT_EQ(" Q417 [good.zlx]|" + strGood, file());
    }
    EXPECT_EQ(edited, opened(strGood));
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
    const Records edited = edit();
    m_prompter.answerIndex(0);
    m_pFrame->menu(ID_MENU_CARD_WRITE);
    EXPECT_TRUE(ejectOffered());
    // Cancelled choices change nothing.
    const std::string strCard = CTempDir::readFile(cardFile());
    m_pFrame->menu(ID_MENU_FILE_NEW);
    const wxString strBefore = snapshot();
    m_pFrame->menu(ID_MENU_CARD_READ);
    m_pFrame->menu(ID_BUTTON_WRITE, wxEVT_BUTTON);
    EXPECT_EQ(strBefore, snapshot());
    EXPECT_EQ(strCard, CTempDir::readFile(cardFile()));
    // What was read shows with its mode enabled; the current file stays.
    m_prompter.answerIndex(0);
    m_pFrame->menu(ID_BUTTON_READ, wxEVT_BUTTON);
    wxString strCaptions;
    for (const auto& c : m_prompter.getChoices())
        strCaptions << c.strCaption << "|";
    EXPECT_EQ("Write Settings|Read Settings|Write Settings|Read Settings|", strCaptions);
    EXPECT_EQ(edited, m_pFrame->records());
    EXPECT_TRUE(m_pFrame->m_apTempSpin[0]->IsEnabled());
    EXPECT_EQ(" Q417|", file());

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
    const wxString strBefore = snapshot();
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
    m_pFrame->menu(ID_BUTTON_WRITE, wxEVT_BUTTON);
    EXPECT_EQ("Can't write the file: not enough volume space\n", report());
    EXPECT_FALSE(CTempDir::exists(cardFile()));
    EXPECT_EQ(strBefore, snapshot());
    EXPECT_EQ("Q417 SD|", file());

    std::string strNoise(CDataCard::kImageSize, '\0');
    for (size_t i = 0; i < strNoise.size(); ++i)
        strNoise[i] = static_cast<char>((i * 7919u) >> 3);
    m_prompter.clear();
    for (const std::string& strFile : {std::string(), std::string(512, '\0'), strNoise})
    {
        ASSERT_TRUE(CTempDir::writeFile(cardFile(), strFile));
        m_prompter.answerIndex(0);
        m_pFrame->menu(ID_MENU_CARD_READ);
        EXPECT_EQ("", report());
        EXPECT_EQ(strBefore, snapshot());
    }
}

TEST_F(CardCommands, TheWindowsOwnDialogsAreUsedWithoutAScript)
{
    m_pFrame->setPrompter(nullptr);
    for (int nAnswer : {wxID_CANCEL, wxID_OK})
    {
        auto fnChoose = [&](wxSingleChoiceDialog* pDlg)
        {
            wxString str = pDlg->GetTitle();
            for (wxWindow* p : pDlg->GetChildren())
                if (auto* pList = dynamic_cast<wxListBox*>(p))
                    str << "|" << wxJoin(pList->GetStrings(), '|');
            EXPECT_EQ("Write Settings|" + path("card") + "/ (name: CARD)", str);
            return nAnswer;
        };
        wxTEST_DIALOG(m_pFrame->menu(ID_MENU_CARD_WRITE),
                      CExpectDialog<wxSingleChoiceDialog>(fnChoose));
        EXPECT_EQ(nAnswer == wxID_OK, CTempDir::exists(cardFile()));
    }
    // About: the name and version, the maker's line and link, the icon, the licence.
    auto fnAbout = [](CDlgAbout* pDlg)
    {
        wxString str = pDlg->GetTitle();
        for (wxWindow* p : pDlg->GetChildren())
            if (dynamic_cast<wxStaticText*>(p) || dynamic_cast<wxHyperlinkCtrl*>(p))
                str << "|" << (p->GetLabel().empty() ? "?" : "text");
            else if (dynamic_cast<wxStaticBitmap*>(p))
                str << "|icon";
            else if (auto* pPane = dynamic_cast<wxCollapsiblePane*>(p))
                str << "|" << pPane->GetPane()->GetChildren()[0]->GetLabel().BeforeFirst('\n');
        EXPECT_EQ("About Q417 SD|text|text|text|icon|MIT License", str);
        EXPECT_EQ("Q417 SD " ZOLT_VERSION_FULL, pDlg->GetChildren()[0]->GetLabel());
        return wxID_OK;
    };
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_HELP_ABOUT), CExpectDialog<CDlgAbout>(fnAbout));
}
} // namespace
