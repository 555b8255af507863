// The editor's dialogs (message, file and choice prompts, About) and its icon.
#include "GuiTest.h"

#include "CAppIcon.h"
#include "CDlgAbout.h"
#include "CDlgPrompter.h"
#include "CTempDir.h"

#include <wx/button.h>
#include <wx/collpane.h>
#include <wx/filedlg.h>
#include <wx/hyperlink.h>
#include <wx/msgdlg.h>
#include <wx/statbmp.h>

namespace
{
using Dialogs = CGuiFrameTest;

// The message is wide enough for its title, and a long text still sets the width.
TEST_F(Dialogs, MessageShowsTitleTextWarningAndOk)
{
    const std::pair<const char*, wxString> aCases[] = {
        {"Can't write the file", "/media/card/ZOLT.CFG\nThe card is write-protected."},
        {"Can't write to this volume", "x"},
        {"", wxString(wxUniChar('W'), 80)}};
    for (const auto& [pcTitle, strText] : aCases)
    {
        SCOPED_TRACE(pcTitle);
        CDlgMessage dlg(m_pFrame, wxID_ANY, pcTitle, strText);
        EXPECT_EQ(wxString(pcTitle) + "|" + strText,
                  dlg.GetTitle() + "|" + dlg.getStaticTextMessage()->GetLabel());
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
        const wxFont fontBold = dlg.GetFont().Bold();
        int nTitle = 0, nHeight = 0;
        dlg.GetTextExtent(pcTitle, &nTitle, &nHeight, nullptr, nullptr, &fontBold);
        // Room for the title and two caption buttons of at least a title bar's height.
        EXPECT_GE(dlg.GetClientSize().x, nTitle + 2 * 2 * nHeight);
        EXPECT_GE(dlg.GetClientSize().x, dlg.getStaticTextMessage()->GetSize().x + 48);
    }
}

TEST_F(Dialogs, PrompterAsksThroughTheStandardDialogs)
{
    CDlgPrompter prompter(m_pFrame);
    for (long nStyle : {long(wxFD_OPEN), long(wxFD_SAVE | wxFD_OVERWRITE_PROMPT)})
        for (int nAnswer : {wxID_CANCEL, wxID_OK})
        {
            wxString strPath = "unchanged", strInDialog;
            auto fnAnswer = [&](wxFileDialog* pDlg)
            {
                EXPECT_EQ("Settings file|/tmp|zolt1.zlx|Zolt xml (*.zlx)|*.[zZ][lL][xX]",
                          pDlg->GetMessage() + "|" + pDlg->GetDirectory() + "|" +
                              pDlg->GetFilename() + "|" + pDlg->GetWildcard());
                // GTK's filter shows settings files whatever the case of their names.
                GtkFileFilter* pFilter =
                    gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(pDlg->GetHandle()));
                for (const char* pcName : {"a.zlx", "B.ZLX", "c.Zlx", "d.xml", "e.zlxx"})
                {
                    GtkFileFilterInfo info = {GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr,
                                              pcName, nullptr};
                    EXPECT_EQ(wxString(pcName).Lower().EndsWith(".zlx"),
                              gtk_file_filter_filter(pFilter, &info) != FALSE)
                        << pcName;
                }
                EXPECT_EQ(nStyle,
                          pDlg->GetWindowStyle() & (wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT));
                EXPECT_EQ(m_pFrame, pDlg->GetParent());
                strInDialog = pDlg->GetPath();
                return nAnswer;
            };
            wxTEST_DIALOG(strPath = prompter.chooseFile(
                              nStyle == wxFD_OPEN ? CPrompter::eFileOpen : CPrompter::eFileSave,
                              "Settings file", "/tmp", "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx"),
                          CExpectDialog<wxFileDialog>(fnAnswer));
            EXPECT_EQ(nAnswer == wxID_OK ? strInDialog : wxString(), strPath);
        }
    wxArrayString astr;
    astr.push_back("/media/a (name: CARD)");
    astr.push_back("/media/b");
    for (int nPick : {1, -1})
    {
        int n = -2;
        wxTEST_DIALOG(n = prompter.chooseIndex("Choose the card", "Read Settings", astr),
                      expectChoice(nPick, "Read Settings", "/media/a (name: CARD)|/media/b"));
        EXPECT_EQ(nPick, n);
    }
    wxTEST_DIALOG(prompter.report("File is corrupted", "/tmp/x.zlx\nbad"),
                  expectMessage("File is corrupted", "/tmp/x.zlx\nbad",
                                [this](CDlgMessage* pDlg)
                                { EXPECT_EQ(m_pFrame, pDlg->GetParent()); }));
}

// A name saved without extension gets the filter's, and a file that exists
// under the completed name is asked about before it is chosen.
TEST_F(Dialogs, SavedNamesGetTheFilterExtension)
{
    const CTempDir dir;
    const wxString strDir = wxString::FromUTF8(dir.path());
    ASSERT_TRUE(dir.write("taken.zlx", ""));
    const struct
    {
        const char* pcTyped;
        int nAnswer;          // to the replace question; 0: none expected
        const char* pcChosen; // empty: cancelled
    } aCase[] = {
        {"mine", 0, "mine.zlx"},       {"mine.xml", 0, "mine.xml.zlx"},
        {"c.Zlx", 0, "c.Zlx"},         {"d.zlx.", 0, "d.zlx..zlx"},
        {"taken", wxID_NO, ""},        {"taken", wxID_YES, "taken.zlx"},
        {"taken.zlx", 0, "taken.zlx"}, {nullptr, 0, ""},
    };
    CDlgPrompter prompter(m_pFrame);
    for (const auto& c : aCase)
    {
        SCOPED_TRACE(&c - aCase);
        auto fnAsk = [&](wxMessageDialog* pDlg)
        {
            EXPECT_TRUE(pDlg->GetMessage().Contains("\"taken.zlx\" already exists"));
            EXPECT_EQ("Save Settings", pDlg->GetTitle());
            return c.nAnswer;
        };
        wxString strPath;
        auto fnComplete = [&]
        {
            strPath = prompter.completeSavePath(c.pcTyped ? strDir + "/" + c.pcTyped : "",
                                                "Save Settings", "Zolt xml (*.zlx)|*.zlx");
        };
        if (c.nAnswer == 0)
            EXPECT_NO_DIALOG(fnComplete())
        else
            wxTEST_DIALOG(fnComplete(), CExpectDialog<wxMessageDialog>(fnAsk));
        EXPECT_EQ(*c.pcChosen ? strDir + "/" + c.pcChosen : wxString(), strPath);
    }
    // "No" to replacing brings the save dialog back with the name as typed.
    struct CAnswering : CDlgPrompter
    {
        using CDlgPrompter::CDlgPrompter;
        std::vector<wxString> astrAnswers, astrOffered;
        wxString showFileDialog(long, const wxString&, const wxString& strIn,
                                const wxString& strName, const wxString&) override
        {
            astrOffered.push_back(strIn + "|" + strName);
            const wxString strAnswer = astrAnswers.front();
            astrAnswers.erase(astrAnswers.begin());
            return strAnswer;
        }
    } answering(m_pFrame);
    const wxString strTaken = strDir + "/taken";
    answering.astrAnswers = {strTaken, strTaken, ""};
    auto fnNo = CExpectDialog<wxMessageDialog>([](wxMessageDialog*) { return int(wxID_NO); });
    wxString strChosen = "unchanged";
    wxTEST_DIALOG(strChosen = answering.chooseFile(CPrompter::eFileSave, "Save Settings", strDir,
                                                   "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx"),
                  fnNo, fnNo);
    EXPECT_EQ(wxString(), strChosen);
    EXPECT_EQ((std::vector<wxString>{strDir + "|zolt1.zlx", strDir + "|taken", strDir + "|taken"}),
              answering.astrOffered);
}

// What a window shows, in the order it was built: texts, links, icons and panes.
wxString shown(wxWindow* pWin)
{
    wxString str;
    for (wxWindow* p : pWin->GetChildren())
        if (auto* pText = dynamic_cast<wxStaticText*>(p))
            str += pText->GetLabel() + "|";
        else if (auto* pLink = dynamic_cast<wxHyperlinkCtrl*>(p))
            str += pLink->GetLabel() + " -> " + pLink->GetURL() + "|";
        else if (dynamic_cast<wxStaticBitmap*>(p))
            str += "icon|";
        else if (auto* pPane = dynamic_cast<wxCollapsiblePane*>(p))
            str += wxString::FromUTF8(gtk_expander_get_label(GTK_EXPANDER(pPane->GetHandle()))) +
                   (pPane->IsCollapsed() ? " (closed): " : ": ") + shown(pPane->GetPane());
    return str;
}

TEST_F(Dialogs, AboutShowsWhatTheRecordHolds)
{
    wxAboutDialogInfo app, bare;
    app.SetName("Q417 SD");
    app.SetVersion("1.1.0.0", wxString());
    app.SetCopyright("(C) 2026 Q417 SD developers");
    app.SetWebSite("https://q417sd.example.org/", "q417sd.example.org");
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
    const wxString strApp = "Q417 SD 1.1.0.0|(C) 2026 Q417 SD developers|"
                            "q417sd.example.org -> https://q417sd.example.org/|";
    const std::pair<wxAboutDialogInfo, wxString> aCases[] = {
        {app, strApp},
        {bare, "Bare|Settings editor|https://only.example.org/ -> https://only.example.org/|icon|"},
        {team, strApp + "License (closed): Free to use.|Developers (closed): Ann, Bob\n|"
                        "Documentation writers (closed): Doc\n|Artists (closed): Art\n|"
                        "Translators (closed): Tess\n|"}};
    for (const auto& [info, strShown] : aCases)
    {
        CDlgAbout dlg(m_pFrame, info);
        EXPECT_EQ("About " + info.GetName() + "|" + strShown, dlg.GetTitle() + "|" + shown(&dlg));
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
        EXPECT_TRUE(n == 256 || CAppIcon::getIconBundle().GetIconOfExactSize(n).IsOk()) << n;
    }
}
} // namespace
