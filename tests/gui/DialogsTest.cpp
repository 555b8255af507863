// The editor's dialogs (message, file and choice prompts, About) and its icon.
#include "GuiTest.h"

#include "CAppIcon.h"
#include "CDlgAbout.h"
#include "CDlgPrompter.h"

#include <wx/button.h>
#include <wx/collpane.h>
#include <wx/filedlg.h>
#include <wx/hyperlink.h>
#include <wx/image.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <gtk/gtk.h>

namespace
{
template <class T> std::vector<T*> childrenOf(wxWindow* pWin)
{
    std::vector<T*> ap;
    for (wxWindow* pChild : pWin->GetChildren())
        if (auto* p = dynamic_cast<T*>(pChild))
            ap.push_back(p);
    return ap;
}

std::vector<wxString> labelsOf(wxWindow* pWin)
{
    std::vector<wxString> astr;
    for (auto* p : childrenOf<wxStaticText>(pWin))
        astr.push_back(p->GetLabel());
    return astr;
}

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
        EXPECT_EQ(1u, childrenOf<wxButton>(&dlg).size());
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

wxAboutDialogInfo appInfo()
{
    wxAboutDialogInfo info;
    info.SetName("Q417 SD");
    info.SetVersion("1.1.0.0", wxString());
    info.SetCopyright("(C) 2026 Q417 SD developers");
    info.SetWebSite("https://q417sd.example.org/", "q417sd.example.org");
    return info;
}

TEST_F(Dialogs, AboutShowsWhatTheRecordHolds)
{
    {
        CDlgAbout dlg(m_pFrame, appInfo());
        EXPECT_EQ("About Q417 SD", dlg.GetTitle());
        const std::vector<wxString> astrExpected = {"Q417 SD 1.1.0.0",
                                                    "(C) 2026 Q417 SD developers"};
        EXPECT_EQ(astrExpected, labelsOf(&dlg));
        const auto apLink = childrenOf<wxHyperlinkCtrl>(&dlg);
        ASSERT_EQ(1u, apLink.size());
        EXPECT_EQ("https://q417sd.example.org/", apLink[0]->GetURL());
        EXPECT_EQ("q417sd.example.org", apLink[0]->GetLabel());
        EXPECT_TRUE(childrenOf<wxCollapsiblePane>(&dlg).empty());
        EXPECT_TRUE(childrenOf<wxStaticBitmap>(&dlg).empty()); // no icon anywhere
    }
    {
        wxAboutDialogInfo info;
        info.SetName("Bare");
        info.SetDescription("Settings editor");
        info.SetIcon(CAppIcon::getIconBundle().GetIcon(32));
        CDlgAbout dlg(m_pFrame, info);
        const std::vector<wxString> astrExpected = {"Bare", "Settings editor"};
        EXPECT_EQ(astrExpected, labelsOf(&dlg));
        EXPECT_TRUE(childrenOf<wxHyperlinkCtrl>(&dlg).empty());
        EXPECT_EQ(1u, childrenOf<wxStaticBitmap>(&dlg).size());
    }
    wxAboutDialogInfo info = appInfo();
    info.AddTranslator("Tess");
    info.AddDeveloper("Ann");
    info.AddDeveloper("Bob");
    info.SetLicence("Free to use.");
    info.AddArtist("Art");
    info.AddDocWriter("Doc");
    CDlgAbout dlg(m_pFrame, info);
    std::vector<wxString> astrPanes;
    for (auto* pPane : childrenOf<wxCollapsiblePane>(&dlg))
    {
        EXPECT_TRUE(pPane->IsCollapsed());
        const auto astrText = labelsOf(pPane->GetPane());
        astrPanes.push_back(
            wxString::FromUTF8(gtk_expander_get_label(GTK_EXPANDER(pPane->GetHandle()))) + ": " +
            (astrText.size() == 1 ? astrText[0] : "?"));
    }
    const std::vector<wxString> astrExpected = {"License: Free to use.", "Developers: Ann, Bob\n",
                                                "Documentation writers: Doc\n", "Artists: Art\n",
                                                "Translators: Tess\n"};
    EXPECT_EQ(astrExpected, astrPanes);
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
