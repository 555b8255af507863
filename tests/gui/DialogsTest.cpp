// The editor's dialogs (message, file and choice prompts, About) and its icon.
#include "GuiTest.h"

#include "CAppIcon.h"
#include "CDlgAbout.h"
#include "CDlgPrompter.h"

#include <wx/button.h>
#include <wx/collpane.h>
#include <wx/file.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/hyperlink.h>
#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <gtk/gtk.h>

namespace
{
using Dialogs = CGuiFrameTest;

TEST_F(Dialogs, MessageShowsTitleTextWarningIconAndOk)
{
    for (const char* pcTitle : {"Can't write the file", ""})
    {
        const wxString strText = "/media/card/ZOLT.CFG\nThe card is write-protected.";
        CDlgMessage dlg(m_pFrame, wxID_ANY, pcTitle, strText);
        EXPECT_EQ(wxString(pcTitle), dlg.GetTitle());
        EXPECT_EQ(strText, dlg.getStaticTextMessage()->GetLabel());
        const wxImage img = dlg.getStaticBitmapWarning()->GetBitmap().ConvertToImage();
        EXPECT_EQ(wxSize(48, 48), img.GetSize());
        EXPECT_TRUE(img.IsTransparent(0, 0)); // a sign, not a square
        int nButtons = 0;
        for (wxWindow* p : dlg.GetChildren())
            nButtons += dynamic_cast<wxButton*>(p) != nullptr;
        EXPECT_EQ(1, nButtons);
        EXPECT_EQ(wxID_OK, dlg.getButtonOk()->GetId());
        EXPECT_EQ(dlg.getButtonOk(), dlg.GetDefaultItem());
        EXPECT_FALSE(dlg.HasFlag(wxRESIZE_BORDER));
    }
}

TEST_F(Dialogs, PrompterAsksThroughTheStandardDialogs)
{
    CDlgPrompter prompter(m_pFrame);
    for (auto eKind : {CPrompter::eFileOpen, CPrompter::eFileSave})
    {
        const long nStyle =
            eKind == CPrompter::eFileOpen ? wxFD_OPEN : wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
        for (int nAnswer : {wxID_CANCEL, wxID_OK})
        {
            wxString strPath = "unchanged", strInDialog;
            auto fnAnswer = [&](wxFileDialog* pDlg)
            {
                EXPECT_EQ("Settings file", pDlg->GetMessage());
                EXPECT_EQ("/tmp", pDlg->GetDirectory());
                EXPECT_EQ("zolt1.zlx", pDlg->GetFilename());
                EXPECT_EQ("Zolt xml (*.zlx)|*.zlx", pDlg->GetWildcard());
                EXPECT_EQ(nStyle,
                          pDlg->GetWindowStyle() & (wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT));
                EXPECT_EQ(m_pFrame, pDlg->GetParent());
                strInDialog = pDlg->GetPath();
                return nAnswer;
            };
            wxTEST_DIALOG(strPath = prompter.chooseFile(eKind, "Settings file", "/tmp", "zolt1.zlx",
                                                        "Zolt xml (*.zlx)|*.zlx"),
                          CExpectDialog<wxFileDialog>(fnAnswer));
            EXPECT_EQ(nAnswer == wxID_OK ? strInDialog : wxString(), strPath);
        }
    }
    wxArrayString astr;
    for (const char* pc : {"/media/a (name: CARD)", "/media/b"})
        astr.push_back(pc);
    int n = -2;
    wxTEST_DIALOG(n = prompter.chooseIndex("Choose the card", "Read Settings", astr),
                  expectChoice(1, "Read Settings", {astr[0], astr[1]}));
    EXPECT_EQ(1, n);
    wxTEST_DIALOG(n = prompter.chooseIndex("Choose the card", "Read Settings", astr),
                  expectChoice(-1, "Read Settings", {astr[0], astr[1]}));
    EXPECT_EQ(-1, n);
    wxTEST_DIALOG(prompter.report("File is corrupted", "/tmp/x.zlx\nbad"),
                  expectMessage("File is corrupted", "/tmp/x.zlx\nbad",
                                [this](CDlgMessage* pDlg)
                                { EXPECT_EQ(m_pFrame, pDlg->GetParent()); }));
}

// A name saved without extension gets the filter's, and a file that exists
// under the completed name is asked about before it is chosen.
TEST_F(Dialogs, SavedNamesGetTheFilterExtension)
{
    const wxString strDir = wxFileName::CreateTempFileName("zoltdlg");
    wxRemoveFile(strDir);
    ASSERT_TRUE(wxFileName::Mkdir(strDir));
    const wxString strSep = wxFileName::GetPathSeparator();
    wxFile().Create(strDir + strSep + "taken.zlx");
    const struct
    {
        const char* pcTyped;
        int nAnswer;          // to the replace question; 0: none expected
        const char* pcChosen; // empty: cancelled
    } aCase[] = {
        {"mine", 0, "mine.zlx"}, {"mine.zlx", 0, "mine.zlx"},      {"mine.xml", 0, "mine.xml"},
        {"taken", wxID_NO, ""},  {"taken", wxID_YES, "taken.zlx"}, {"taken.zlx", 0, "taken.zlx"},
    };
    CDlgPrompter prompter(m_pFrame);
    for (const auto& c : aCase)
    {
        SCOPED_TRACE(wxString::Format("%s %d", c.pcTyped, c.nAnswer).ToStdString());
        auto fnAsk = [&](wxMessageDialog* pDlg)
        {
            EXPECT_TRUE(pDlg->GetMessage().Contains("\"taken.zlx\" already exists"));
            EXPECT_EQ("Save Settings", pDlg->GetTitle());
            return c.nAnswer;
        };
        wxString strPath;
        auto fnComplete = [&]
        {
            strPath = prompter.completeSavePath(strDir + strSep + c.pcTyped, "Save Settings",
                                                "Zolt xml (*.zlx)|*.zlx");
        };
        if (c.nAnswer == 0)
        {
            EXPECT_NO_DIALOG(fnComplete());
        }
        else
        {
            wxTEST_DIALOG(fnComplete(), CExpectDialog<wxMessageDialog>(fnAsk));
        }
        EXPECT_EQ(*c.pcChosen ? strDir + strSep + c.pcChosen : wxString(), strPath);
    }
    // A cancelled dialog stays cancelled.
    EXPECT_EQ(wxString(), prompter.completeSavePath("", "Save Settings", "Zolt xml (*.zlx)|*.zlx"));
    wxFileName::Rmdir(strDir, wxPATH_RMDIR_RECURSIVE);
}

// What a window shows, in the order it was built: texts, links, icons and panes.
wxString shown(wxWindow* pWin)
{
    wxString str;
    for (wxWindow* p : pWin->GetChildren())
    {
        if (auto* pText = dynamic_cast<wxStaticText*>(p))
            str += pText->GetLabel() + "|";
        else if (auto* pLink = dynamic_cast<wxHyperlinkCtrl*>(p))
            str += pLink->GetLabel() + " -> " + pLink->GetURL() + "|";
        else if (dynamic_cast<wxStaticBitmap*>(p))
            str += "icon|";
        else if (auto* pPane = dynamic_cast<wxCollapsiblePane*>(p))
            str += wxString::FromUTF8(gtk_expander_get_label(GTK_EXPANDER(pPane->GetHandle()))) +
                   (pPane->IsCollapsed() ? " (closed): " : ": ") + shown(pPane->GetPane());
    }
    return str;
}

TEST_F(Dialogs, AboutShowsWhatTheRecordHolds)
{
    wxAboutDialogInfo app;
    app.SetName("Q417 SD");
    app.SetVersion("1.1.0.0", wxString());
    app.SetCopyright("(C) 2026 Q417 SD developers");
    app.SetWebSite("https://q417sd.example.org/", "q417sd.example.org");
    wxAboutDialogInfo bare;
    bare.SetName("Bare");
    bare.SetDescription("Settings editor");
    bare.SetWebSite("https://only.example.org/");
    bare.SetIcon(CAppIcon::getIconBundle().GetIcon(32));
    wxAboutDialogInfo team = app;
    team.AddTranslator("Tess");
    team.AddDeveloper("Ann");
    team.AddDeveloper("Bob");
    team.SetLicence("Free to use.");
    team.AddArtist("Art");
    team.AddDocWriter("Doc");
    const std::pair<wxAboutDialogInfo, wxString> aCases[] = {
        {app, "Q417 SD 1.1.0.0|(C) 2026 Q417 SD developers|"
              "q417sd.example.org -> https://q417sd.example.org/|"},
        {bare, "Bare|Settings editor|https://only.example.org/ -> https://only.example.org/|icon|"},
        {team, "Q417 SD 1.1.0.0|(C) 2026 Q417 SD developers|"
               "q417sd.example.org -> https://q417sd.example.org/|License (closed): Free to use.|"
               "Developers (closed): Ann, Bob\n|Documentation writers (closed): Doc\n|"
               "Artists (closed): Art\n|Translators (closed): Tess\n|"}};
    for (const auto& [info, strShown] : aCases)
    {
        CDlgAbout dlg(m_pFrame, info);
        EXPECT_EQ("About " + info.GetName(), dlg.GetTitle());
        EXPECT_EQ(strShown, shown(&dlg));
    }
}

TEST(AppIcon, RendersAtEverySizeWithTransparentCorners)
{
    const wxBitmapBundle bundle = CAppIcon::getBundle();
    EXPECT_EQ(wxSize(32, 32), bundle.GetDefaultSize());
    for (int n : {16, 32, 48, 256})
    {
        const wxImage img = bundle.GetBitmap(wxSize(n, n)).ConvertToImage();
        ASSERT_EQ(wxSize(n, n), img.GetSize()) << n;
        ASSERT_TRUE(img.HasAlpha());
        EXPECT_EQ(0, img.GetAlpha(0, 0)) << n;
        EXPECT_EQ(255, img.GetAlpha(n / 2, n / 2)) << n;
    }
    for (int n : {16, 32, 48})
        EXPECT_TRUE(CAppIcon::getIconBundle().GetIconOfExactSize(n).IsOk()) << n;
}
} // namespace
