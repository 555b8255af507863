// The file and card commands over a scripted prompter, real files and a fake card.
#include "GuiTest.h"

#include "CDlgAbout.h"
#include "ZoltVersion.h"

#include <wx/collpane.h>
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
        ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("card")) &&
                    CTempDir::makeDirs(m_dir.file("sub")));
        m_pDrive = &m_layer.setDrive(4, m_dir.file("card") + "/");
        m_pDrive->info.strLabel = "CARD";
    }
    Records edit(bool bLocked = true)
    {
        m_pFrame->at<wxCheckBox>(ID_CHECKBOX_KEYLOCKED)->SetValue(bLocked);
        m_pFrame->click(ID_RADIOBTN_TEMP_FIX);
        m_pFrame->m_apTempSpin[0]->SetValue(444);
        return m_pFrame->records();
    }
    // Sends nId answering strFile ("": cancel) and card nIndex; gives "asked|title|file|report".
    wxString command(int nId, const wxString& strFile = "", int nIndex = 0)
    {
        m_prompter.clear();
        m_prompter.answerFile(strFile.empty() ? "" : path(strFile.utf8_string()));
        m_prompter.answerIndex(nIndex);
        m_pFrame->menu(nId);
        wxString str = "-", strIn;
        for (const auto& r : m_prompter.getFileRequests())
            str = (r.eKind == CPrompter::eFileSave ? "save " : "open ") + r.strMessage + " in " +
                  (r.strDir.StartsWith(wxString::FromUTF8(m_dir.path()), &strIn) ? "~" + strIn
                                                                                 : "-") +
                  ": " + r.strDefaultFile;
        str << "|" << file() << "|" << report();
        str.Replace(path(""), "~/");
        return str;
    }
    wxString card(int nId, int nIndex = 0) { return command(nId, "", nIndex).AfterLast('|'); }
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
    const Records defaults = m_pFrame->records(), edited = edit();
    EXPECT_EQ("save Save Settings in -: zolt1.zlx| Q417 [a.zlx]|~/sub/a.zlx|",
              command(ID_MENU_FILE_SAVE, "sub/a.zlx"));
    EXPECT_EQ("Zolt xml (*.zlx)|*.zlx", m_prompter.getFileRequests()[0].strWildcard);
    // Save As offers the current file; the next save goes to the new one without asking.
    EXPECT_EQ("save Save Settings in ~/sub: a.zlx| Q417 [b.zlx]|~/b.zlx|",
              command(ID_MENU_FILE_SAVE_AS, "b.zlx"));
    const Records unlocked = edit(false);
    EXPECT_EQ("-| Q417 [b.zlx]|~/b.zlx|", command(ID_BUTTON_SAVE, ""));
    // New forgets the file and shows the defaults: the next save asks again.
    m_pFrame->menu(ID_MENU_FILE_NEW);
    EXPECT_EQ(defaults, m_pFrame->records());
    EXPECT_EQ("save Save Settings in ~: zolt1.zlx| Q417||", command(ID_MENU_FILE_SAVE));
    // Open shows the file; Default keeps it current, and Save overwrites it.
    EXPECT_EQ("open Load Settings in ~: *.zlx| Q417 [a.zlx]|~/sub/a.zlx|",
              command(ID_BUTTON_LOAD, "sub/a.zlx"));
    EXPECT_EQ(edited, m_pFrame->records());
    m_pFrame->menu(ID_BUTTON_DEFAULT);
    EXPECT_EQ("-| Q417 [a.zlx]|~/sub/a.zlx|", command(ID_MENU_FILE_SAVE));
    command(ID_MENU_FILE_OPEN, "b.zlx");
    EXPECT_EQ(unlocked, m_pFrame->records());
    command(ID_MENU_FILE_OPEN, "sub/a.zlx");
    EXPECT_EQ(defaults, m_pFrame->records());
}

TEST_F(Commands, FailedAndCancelledFileCommandsChangeNothing)
{
    const Records edited = edit();
    command(ID_MENU_FILE_SAVE_AS, "good.zlx");
    m_pFrame->m_apTempSpin[0]->SetValue(333);
    const wxString strBefore = snapshot();
    ASSERT_TRUE(m_dir.write("wrong-root.zlx", "<?xml version=\"1.0\"?><settings/>"));
    const std::tuple<int, const char*, const char*> aCases[] = {
        {ID_MENU_FILE_OPEN, "wrong-root.zlx", "File is corrupted: failed to read the settings."},
        {ID_MENU_FILE_OPEN, "missing.zlx", "Can't read the file: failed to load the file."},
        {ID_MENU_FILE_SAVE_AS, "gone/b.zlx", "Can't save the file: failed to save the file."},
        {ID_MENU_FILE_OPEN, "", ""},
        {ID_MENU_FILE_SAVE_AS, "", ""}};
    for (const auto& [nId, pcFile, pcReport] : aCases)
    {
        EXPECT_EQ(wxString(" Q417 [good.zlx]|~/good.zlx|") + pcReport,
                  command(nId, pcFile).AfterFirst('|'));
        EXPECT_EQ(strBefore, snapshot()) << pcFile;
    }
    command(ID_MENU_FILE_OPEN, "good.zlx");
    EXPECT_EQ(edited, m_pFrame->records());
}

TEST_F(Commands, WrittenCardReadsBackAndEjects)
{
    EXPECT_FALSE(ejectOffered());
    const Records edited = edit();
    EXPECT_EQ("", card(ID_MENU_CARD_WRITE));
    EXPECT_TRUE(ejectOffered());
    // Cancelled choices change nothing; a card read shows with its mode enabled, the file stays.
    const std::string strCard = CTempDir::readFile(cardFile());
    m_pFrame->menu(ID_MENU_FILE_NEW);
    const wxString strBefore = snapshot();
    card(ID_MENU_CARD_READ, -1);
    card(ID_BUTTON_WRITE, -1);
    EXPECT_EQ(strBefore, snapshot());
    EXPECT_EQ(strCard, CTempDir::readFile(cardFile()));
    EXPECT_EQ("", card(ID_BUTTON_READ, 0));
    EXPECT_EQ("Read Settings| Q417|", m_prompter.getChoices().at(0).strCaption + "|" + file());
    EXPECT_EQ(edited, m_pFrame->records());
    EXPECT_TRUE(m_pFrame->m_apTempSpin[0]->IsEnabled());
    m_layer.setEjectError("busy");
    EXPECT_TRUE(card(ID_MENU_CARD_EJECT).StartsWith("Can't eject the card") && ejectOffered());
    m_layer.setEjectError("");
    EXPECT_TRUE(card(ID_MENU_CARD_EJECT).StartsWith("Card ejected") && !ejectOffered());
}

TEST_F(Commands, CardFailuresAreReportedAndCardsWithoutRecordsEndSilently)
{
    const wxString strBefore = snapshot();
    EXPECT_EQ(
        "Can't find the file: No configuration file found!\nPlease insert a micro SD card first.",
        card(ID_MENU_CARD_READ)); // the card holds no ZOLT.CFG
    m_pDrive->info.bReadOnly = true;
    EXPECT_TRUE(card(ID_MENU_CARD_WRITE).StartsWith("Can't write to this volume: "));
    m_pDrive->info.bReadOnly = false;
    m_pDrive->nFreeBytes = CDataCard::kImageSize - 1;
    EXPECT_EQ("Can't write the file: not enough volume space\n", card(ID_BUTTON_WRITE, 0));
    EXPECT_FALSE(CTempDir::exists(cardFile()));
    for (const std::string& strFile : {std::string(), std::string(CDataCard::kImageSize, '\x5a')})
    {
        ASSERT_TRUE(CTempDir::writeFile(cardFile(), strFile));
        EXPECT_EQ("", card(ID_MENU_CARD_READ));
    }
    EXPECT_EQ(strBefore + "Q417 SD|", snapshot() + file());
}

// Without a script the window asks through its own dialogs.
TEST_F(Commands, TheWindowsOwnDialogsAreUsedWithoutAScript)
{
    m_pFrame->setPrompter(nullptr);
    int nAnswer = wxID_CANCEL;
    wxString str;
    CDialogHook hook(
        [&](wxDialog* pDlg)
        {
            str = pDlg->GetTitle();
            for (wxWindow* p : pDlg->GetChildren())
                if (auto* pList = dynamic_cast<wxListBox*>(p))
                    str << "|" << wxJoin(pList->GetStrings(), '|');
                else if (auto* pPane = dynamic_cast<wxCollapsiblePane*>(p))
                    str << "|" << pPane->GetPane()->GetChildren()[0]->GetLabel().BeforeFirst('\n');
                else
                    str << "|" << (dynamic_cast<wxStaticBitmap*>(p) ? "icon" : p->GetLabel());
            return nAnswer;
        });
    for (int n : {wxID_CANCEL, wxID_OK})
    {
        nAnswer = n;
        m_pFrame->menu(ID_MENU_CARD_WRITE);
        EXPECT_EQ("Write Settings|Select a micro SD card drive|" + path("card") +
                      "/ (name: CARD)|&Cancel|&OK|",
                  str);
        EXPECT_EQ(nAnswer == wxID_OK, CTempDir::exists(cardFile()));
    }
    m_pFrame->menu(ID_MENU_HELP_ABOUT);
    EXPECT_EQ("About Q417 SD|Q417 SD " ZOLT_VERSION_FULL
              "|Copyright (C) Q417 SD developers|q417sd.example.org|icon|MIT License|&OK",
              str);
}
} // namespace
