#include "GuiTest.h"

#include "CAppIcon.h"
#include "CDlgAbout.h"

#include <wx/collpane.h>
#include <wx/hyperlink.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace
{
// Looks into the sizers and counts the calls of the extension point.
class CProbeAbout : public CDlgAbout
{
public:
    CProbeAbout() = default;
    CProbeAbout(wxWindow* pParent, const wxAboutDialogInfo& info) { Create(pParent, info); }

    wxSizer* sizerText() const { return m_pSizerText; }
    wxSizer* sizerTop() const { return m_pSizerTop; }
    int m_nCustomCalls = 0;
    size_t m_nTopItemsAtCustom = 0;

protected:
    void doAddCustomControls() override
    {
        ++m_nCustomCalls;
        m_nTopItemsAtCustom = m_pSizerTop->GetItemCount();
    }
};

template <class T> std::vector<T*> childrenOf(wxWindow* pWin)
{
    std::vector<T*> ap;
    for (wxWindow* pChild : pWin->GetChildren())
        if (auto* p = dynamic_cast<T*>(pChild))
            ap.push_back(p);
    return ap;
}

// The native pane keeps its title in the expander.
wxString paneTitle(wxCollapsiblePane* pPane)
{
#ifdef __WXGTK__
    return wxString::FromUTF8(gtk_expander_get_label(GTK_EXPANDER(pPane->GetHandle())));
#else
    return pPane->GetLabel();
#endif
}

std::vector<wxString> labelsOf(const std::vector<wxStaticText*>& ap)
{
    std::vector<wxString> astr;
    for (auto* p : ap)
        astr.push_back(p->GetLabel());
    return astr;
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

class DlgAboutTest : public CGuiFrameTest
{
};
} // namespace

TEST(DlgAboutList, AllAsStringJoinsWithCommasAndEndsTheLine)
{
    const struct
    {
        std::vector<const char*> apc;
        const char* pcExpected;
    } aCase[] = {
        {{}, ""},
        {{"Ann"}, "Ann\n"},
        {{"Ann", "Bob"}, "Ann, Bob\n"},
        {{"Ann", "Bob", "Cy"}, "Ann, Bob, Cy\n"},
        {{"", "x"}, ", x\n"},
    };
    for (const auto& c : aCase)
    {
        wxArrayString astr;
        for (const char* pc : c.apc)
            astr.push_back(pc);
        EXPECT_EQ(wxString(c.pcExpected), CDlgAbout::allAsString(astr));
    }
}

TEST_F(DlgAboutTest, ShowsTheProgramsRecord)
{
    CProbeAbout dlg(m_pFrame, appInfo());
    EXPECT_EQ("About Q417 SD", dlg.GetTitle());
    EXPECT_TRUE(dlg.HasFlag(wxRESIZE_BORDER));
    const auto apText = childrenOf<wxStaticText>(&dlg);
    const std::vector<wxString> astrExpected = {"Q417 SD 1.1.0.0", "(C) 2026 Q417 SD developers"};
    EXPECT_EQ(astrExpected, labelsOf(apText));
    ASSERT_FALSE(apText.empty());
    // The heading is bold and larger than the copyright line.
    EXPECT_EQ(wxFONTWEIGHT_BOLD, apText[0]->GetFont().GetWeight());
    EXPECT_GT(apText[0]->GetFont().GetPointSize(), apText[1]->GetFont().GetPointSize());

    const auto apLink = childrenOf<wxHyperlinkCtrl>(&dlg);
    ASSERT_EQ(1u, apLink.size());
    EXPECT_EQ("https://q417sd.example.org/", apLink[0]->GetURL());
    EXPECT_EQ("q417sd.example.org", apLink[0]->GetLabel());
    EXPECT_TRUE(childrenOf<wxCollapsiblePane>(&dlg).empty());
    EXPECT_EQ(1, dlg.m_nCustomCalls);
    EXPECT_NE(nullptr, dlg.FindWindow(wxID_OK));
    // heading, spacer, copyright, link
    EXPECT_EQ(4u, dlg.sizerText()->GetItemCount());
}

TEST_F(DlgAboutTest, OptionalPartsOfTheRecord)
{
    {
        wxAboutDialogInfo info;
        info.SetName("Bare");
        CProbeAbout dlg(m_pFrame, info);
        const std::vector<wxString> astrExpected = {"Bare"};
        EXPECT_EQ(astrExpected, labelsOf(childrenOf<wxStaticText>(&dlg)));
        EXPECT_TRUE(childrenOf<wxHyperlinkCtrl>(&dlg).empty());
        // Neither the record nor the frame has an icon.
        EXPECT_TRUE(childrenOf<wxStaticBitmap>(&dlg).empty());
    }
    {
        wxAboutDialogInfo info = appInfo();
        info.SetWebSite("https://only.example.org/");
        info.SetDescription("Settings editor");
        CProbeAbout dlg(m_pFrame, info);
        const auto apLink = childrenOf<wxHyperlinkCtrl>(&dlg);
        ASSERT_EQ(1u, apLink.size());
        EXPECT_EQ("https://only.example.org/", apLink[0]->GetLabel());
        const std::vector<wxString> astrExpected = {
            "Q417 SD 1.1.0.0", "(C) 2026 Q417 SD developers", "Settings editor"};
        EXPECT_EQ(astrExpected, labelsOf(childrenOf<wxStaticText>(&dlg)));
    }
}

TEST_F(DlgAboutTest, IconOfTheRecordOrOfTheMainWindow)
{
    wxBitmap bmp(32, 32);
    wxIcon icon;
    icon.CopyFromBitmap(bmp);
    {
        wxAboutDialogInfo info = appInfo();
        info.SetIcon(icon);
        CProbeAbout dlg(m_pFrame, info);
        const auto apBitmap = childrenOf<wxStaticBitmap>(&dlg);
        ASSERT_EQ(1u, apBitmap.size());
        EXPECT_EQ(wxSize(36, 36), apBitmap[0]->GetSize());
        EXPECT_TRUE(apBitmap[0]->HasFlag(wxBORDER_RAISED));
        // The icon stands left of the text column.
        EXPECT_LT(apBitmap[0]->GetPosition().x, childrenOf<wxStaticText>(&dlg)[0]->GetPosition().x);
    }
    {
        m_pFrame->SetIcon(icon);
        wxTheApp->SetTopWindow(m_pFrame);
        CProbeAbout dlg(m_pFrame, appInfo());
        wxTheApp->SetTopWindow(nullptr);
        EXPECT_EQ(1u, childrenOf<wxStaticBitmap>(&dlg).size());
    }
}

TEST_F(DlgAboutTest, ContributorPanesInTheirOrder)
{
    wxAboutDialogInfo info = appInfo();
    info.AddTranslator("Tess");
    info.AddDeveloper("Ann");
    info.AddDeveloper("Bob");
    info.AddDeveloper("Cy");
    info.SetLicence("Free to use.");
    info.AddArtist("Art");
    info.AddDocWriter("Doc");
    CProbeAbout dlg(m_pFrame, info);
    const auto apPane = childrenOf<wxCollapsiblePane>(&dlg);
    std::vector<wxString> astrTitles, astrTexts;
    for (auto* pPane : apPane)
    {
        EXPECT_TRUE(pPane->IsCollapsed());
        astrTitles.push_back(paneTitle(pPane));
        const auto apText = childrenOf<wxStaticText>(pPane->GetPane());
        astrTexts.push_back(apText.size() == 1 ? apText[0]->GetLabel() : "?");
    }
    const std::vector<wxString> astrTitlesExpected = {
        "License", "Developers", "Documentation writers", "Artists", "Translators"};
    const std::vector<wxString> astrTextsExpected = {"Free to use.", "Ann, Bob, Cy\n", "Doc\n",
                                                     "Art\n", "Tess\n"};
    EXPECT_EQ(astrTitlesExpected, astrTitles);
    EXPECT_EQ(astrTextsExpected, astrTexts);
    // Panes go to the top sizer after the icon and text row, the custom
    // controls come after them and the buttons last.
    EXPECT_EQ(1u + 5u, dlg.m_nTopItemsAtCustom);
    EXPECT_EQ(1u + 5u + 1u, dlg.sizerTop()->GetItemCount());
}

TEST_F(DlgAboutTest, AddControlChecksItsState)
{
    {
        guitest::CAssertCounter asserts;
        CProbeAbout dlg;
        dlg.addControl(m_pPanel);
        EXPECT_EQ(1, asserts.count());
        EXPECT_EQ("can only be called after Create()", asserts.lastMessage());
        EXPECT_EQ(nullptr, dlg.sizerText());
    }
    CProbeAbout dlg(m_pFrame, appInfo());
    const size_t nBefore = dlg.sizerText()->GetItemCount();
    {
        guitest::CAssertCounter asserts;
        dlg.addControl(nullptr);
        EXPECT_EQ(1, asserts.count());
        EXPECT_EQ("can't add NULL window to about dialog", asserts.lastMessage());
    }
    dlg.addText("");
    EXPECT_EQ(nBefore, dlg.sizerText()->GetItemCount());
    dlg.addText("one more line");
    EXPECT_EQ(nBefore + 1, dlg.sizerText()->GetItemCount());
}

TEST_F(DlgAboutTest, ShownCentredOnTheParent)
{
    m_pFrame->SetSize(wxRect(100, 100, 800, 600));
    guitest::pumpEvents(50);
    wxAboutDialogInfo info = appInfo();
    info.AddDeveloper("Ann");
    info.AddDeveloper("Bob");
    info.AddDeveloper("Cy");
    info.SetIcon(CAppIcon::getIconBundle().GetIcon(48));
    CProbeAbout dlg(m_pFrame, info);
    dlg.Show();
    guitest::waitUntil([&] { return dlg.IsShownOnScreen(); });
    guitest::pumpEvents(100);
    const wxRect rcFrame = m_pFrame->GetRect();
    const wxRect rcDlg = dlg.GetRect();
    EXPECT_NEAR(rcFrame.x + rcFrame.width / 2, rcDlg.x + rcDlg.width / 2, 2);
    EXPECT_NEAR(rcFrame.y + rcFrame.height / 2, rcDlg.y + rcDlg.height / 2, 2);
    guitest::screenshot("about-dialog");
    dlg.Hide();
}
