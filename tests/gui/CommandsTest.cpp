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
    void SetUp() override
    {
        CHandlerTest::SetUp();
        ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("card")));
        m_pDrive = &m_layer.setDrive(4, m_dir.file("card") + "/");
        m_pDrive->info.strLabel = "CARD";
    }
    // Moves a few controls away from the defaults; gives the records they stand for.
    Records edit(bool bLocked = true)
    {
        m_pFrame->at<wxCheckBox>(ID_CHECKBOX_KEYLOCKED)->SetValue(bLocked);
        m_pFrame->click(ID_RADIOBTN_TEMP_FIX);
        m_pFrame->m_apTempSpin[0]->SetValue(444);
        return m_pFrame->records();
    }
    // Sends the command, answering its file dialog with strFile (empty: cancelled);
    // gives what the dialog was asked for: kind, message, directory, name and filter.
    wxString command(int nId, const wxString& strFile = "", bool bButton = false)
    {
        m_prompter.clear();
        m_prompter.answerFile(strFile.empty() ? "" : path(strFile.utf8_string()));
        m_pFrame->menu(nId, bButton ? wxEVT_BUTTON : wxEVT_MENU);
        if (m_prompter.getFileRequests().size() != 1)
            return "asked " + std::to_string(m_prompter.getFileRequests().size());
        const auto& r = m_prompter.getFileRequests()[0];
        wxString strIn; // below the test's folder, or elsewhere (-)
        strIn = r.strDir.StartsWith(wxString::FromUTF8(m_dir.path()), &strIn) ? "~" + strIn : "-";
        return wxString(r.eKind == CPrompter::eFileSave ? "save|" : "open|") + r.strMessage + "|" +
               strIn + "|" + r.strDefaultFile + "|" + r.strWildcard.BeforeFirst('|');
    }
    std::string cardFile() const { return m_dir.file("card/ZOLT.CFG"); }
    bool ejectOffered()
    {
        m_pFrame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        return m_pFrame->GetMenuBar()->IsEnabled(ID_MENU_CARD_EJECT);
    }

    CFakeVolumeLayer::Drive* m_pDrive = nullptr;
};

TEST_F(Commands, SaveOpenNewAndDefaultKeepTrackOfTheCurrentFile)
{
    ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("sub")));
    const Records defaults = m_pFrame->records(), edited = edit();
    EXPECT_EQ("Q417 SD|", file());
    EXPECT_EQ("save|Save Settings|-|zolt1.zlx|Zolt xml (*.zlx)",
              command(ID_MENU_FILE_SAVE, "sub/a.zlx"));
    EXPECT_EQ(" Q417 [a.zlx]|" + path("sub/a.zlx"), file());
    // Save As offers the current file; the next save goes to the new one without asking.
    EXPECT_EQ("save|Save Settings|~/sub|a.zlx|Zolt xml (*.zlx)",
              command(ID_MENU_FILE_SAVE_AS, "b.zlx"));
    EXPECT_EQ(" Q417 [b.zlx]|" + path("b.zlx"), file());
    const Records unlocked = edit(false);
    EXPECT_EQ("asked 0", command(ID_BUTTON_SAVE, "", true));
    // New forgets the file and shows the defaults: the next save asks again.
    m_pFrame->menu(ID_MENU_FILE_NEW);
    EXPECT_EQ(" Q417|", file());
    EXPECT_EQ(defaults, m_pFrame->records());
    EXPECT_EQ("save|Save Settings|~|zolt1.zlx|Zolt xml (*.zlx)", command(ID_MENU_FILE_SAVE));
    // Open shows the file; Default keeps it current, and Save overwrites it.
    EXPECT_EQ("open|Load Settings|~|*.zlx|Zolt xml (*.zlx)",
              command(ID_BUTTON_LOAD, "sub/a.zlx", true));
    EXPECT_EQ(" Q417 [a.zlx]|" + path("sub/a.zlx"), file());
    EXPECT_EQ(edited, m_pFrame->records());
    m_pFrame->menu(ID_BUTTON_DEFAULT, wxEVT_BUTTON);
    EXPECT_EQ("asked 0", command(ID_MENU_FILE_SAVE));
    EXPECT_EQ(" Q417 [a.zlx]|" + path("sub/a.zlx"), file());
    command(ID_MENU_FILE_OPEN, "b.zlx");
    EXPECT_EQ(unlocked, m_pFrame->records());
    command(ID_MENU_FILE_OPEN, "sub/a.zlx");
    EXPECT_EQ(defaults, m_pFrame->records());
    EXPECT_EQ("", report());
}

TEST_F(Commands, FailedAndCancelledFileCommandsChangeNothing)
{
    const Records edited = edit();
    command(ID_MENU_FILE_SAVE_AS, "good.zlx");
    m_pFrame->m_apTempSpin[0]->SetValue(333);
    const wxString strBefore = snapshot();
    ASSERT_TRUE(m_dir.write("wrong-root.zlx", "<?xml version=\"1.0\"?><settings/>"));
    for (const auto& [nId, pcFile, pcReport] :
         {std::tuple{+ID_MENU_FILE_OPEN, "wrong-root.zlx",
                     "File is corrupted: failed to read the settings."},
          {+ID_MENU_FILE_OPEN, "missing.zlx", "Can't read the file: failed to load the file."},
          {+ID_MENU_FILE_SAVE_AS, "gone/b.zlx", "Can't save the file: failed to save the file."},
          {+ID_MENU_FILE_OPEN, "", ""},
          {+ID_MENU_FILE_SAVE_AS, "", ""}})
    {
        SCOPED_TRACE(pcFile);
        EXPECT_FALSE(command(nId, pcFile).StartsWith("asked"));
        EXPECT_EQ(pcReport, report());
        EXPECT_EQ(strBefore, snapshot());
        EXPECT_EQ(" Q417 [good.zlx]|" + path("good.zlx"), file());
    }
    command(ID_MENU_FILE_OPEN, "good.zlx");
    EXPECT_EQ(edited, m_pFrame->records());
}

TEST_F(Commands, WrittenCardReadsBackAndEjects)
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
    for (const char* pcError : {"busy", ""})
    {
        m_layer.setEjectError(pcError);
        m_pFrame->menu(ID_MENU_CARD_EJECT);
        EXPECT_EQ(*pcError ? "Can't eject the card" : "Card ejected",
                  m_prompter.getReports().back().strTitle);
        EXPECT_EQ(*pcError != 0, ejectOffered());
    }
}

TEST_F(Commands, CardFailuresAreReportedAndCardsWithoutRecordsEndSilently)
{
    const wxString strBefore = snapshot();
    m_pFrame->menu(ID_MENU_CARD_READ); // the card holds no ZOLT.CFG
    EXPECT_EQ(
        "Can't find the file: No configuration file found!\nPlease insert a micro SD card first.",
        report());
    m_pDrive->info.bReadOnly = true;
    m_prompter.answerIndex(0);
    m_pFrame->menu(ID_MENU_CARD_WRITE);
    EXPECT_TRUE(report().StartsWith("Can't write to this volume: ")) << report();
    m_pDrive->info.bReadOnly = false;
    m_pDrive->nFreeBytes = CDataCard::kImageSize - 1;
    m_prompter.answerIndex(0);
    m_pFrame->menu(ID_BUTTON_WRITE, wxEVT_BUTTON);
    EXPECT_EQ("Can't write the file: not enough volume space\n", report());
    EXPECT_FALSE(CTempDir::exists(cardFile()));
    for (const std::string& strFile : {std::string(), std::string(CDataCard::kImageSize, '\x5a')})
    {
        ASSERT_TRUE(CTempDir::writeFile(cardFile(), strFile));
        m_prompter.clear();
        m_prompter.answerIndex(0);
        m_pFrame->menu(ID_MENU_CARD_READ);
        EXPECT_EQ("", report());
    }
    EXPECT_EQ(strBefore, snapshot());
    EXPECT_EQ("Q417 SD|", file());
}

TEST_F(Commands, TheWindowsOwnDialogsAreUsedWithoutAScript)
{
    m_pFrame->setPrompter(nullptr);
    for (int nAnswer : {wxID_CANCEL, wxID_OK})
    {
        wxString str;
        CDialogHook hook(
            [&](wxDialog* pDlg)
            {
                str = pDlg->GetTitle();
                for (wxWindow* p : pDlg->GetChildren())
                    if (auto* pList = dynamic_cast<wxListBox*>(p))
                        str << "|" << wxJoin(pList->GetStrings(), '|');
                return nAnswer;
            });
        m_pFrame->menu(ID_MENU_CARD_WRITE);
        EXPECT_EQ("Write Settings|" + path("card") + "/ (name: CARD)", str);
        EXPECT_EQ(nAnswer == wxID_OK, CTempDir::exists(cardFile()));
    }
    // About: the name and version, the maker's line and link, the icon, the licence.
    wxString str;
    CDialogHook hook(
        [&](wxDialog* pDlg)
        {
            str = pDlg->GetTitle();
            for (wxWindow* p : pDlg->GetChildren())
                if (auto* pPane = dynamic_cast<wxCollapsiblePane*>(p))
                    str << "|" << pPane->GetPane()->GetChildren()[0]->GetLabel().BeforeFirst('\n');
                else
                    str << "|" << (dynamic_cast<wxStaticBitmap*>(p) ? "icon" : p->GetLabel());
            return wxID_OK;
        });
    m_pFrame->menu(ID_MENU_HELP_ABOUT);
    EXPECT_EQ("About Q417 SD|Q417 SD " ZOLT_VERSION_FULL
              "|Copyright (C) Q417 SD developers|q417sd.example.org|icon|MIT License|&OK",
              str);
}
} // namespace
