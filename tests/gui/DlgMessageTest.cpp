#include "GuiTest.h"

#include "CDlgMessage.h"
#include "CDlgPrompter.h"

#include <wx/button.h>
#include <wx/image.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <set>
#include <tuple>

namespace
{
class DlgMessageTest : public CGuiFrameTest
{
};

int countButtons(wxWindow* pWin)
{
    int n = 0;
    for (wxWindow* pChild : pWin->GetChildren())
        n += dynamic_cast<wxButton*>(pChild) ? 1 : 0;
    return n;
}
} // namespace

TEST_F(DlgMessageTest, ShowsTitleTextIconAndOneDefaultOkButton)
{
    const struct
    {
        const char* pcTitle;
        const char* pcText;
    } aCase[] = {
        {"Can't write the file", "/media/card/ZOLT.CFG\nThe card is write-protected."},
        {"", "no title at all"},
        {"validation failed", ""},
    };
    for (const auto& c : aCase)
    {
        SCOPED_TRACE(c.pcTitle);
        CDlgMessage dlg(m_pFrame, wxID_ANY, c.pcTitle, c.pcText);
        EXPECT_EQ(wxString(c.pcTitle), dlg.GetTitle());
        EXPECT_EQ(wxString(c.pcText), dlg.getStaticTextMessage()->GetLabel());
        ASSERT_NE(nullptr, dlg.getStaticBitmapWarning());
        EXPECT_EQ(wxSize(48, 48), dlg.getStaticBitmapWarning()->GetBitmap().GetSize());
        EXPECT_EQ(1, countButtons(&dlg));
        ASSERT_NE(nullptr, dlg.getButtonOk());
        EXPECT_EQ(wxID_OK, dlg.getButtonOk()->GetId());
        EXPECT_EQ(dlg.getButtonOk(), dlg.GetDefaultItem());
        EXPECT_FALSE(dlg.HasFlag(wxRESIZE_BORDER));
        EXPECT_TRUE(dlg.HasFlag(wxCLOSE_BOX));
        EXPECT_FALSE(dlg.IsShown());
    }
}

// Nine colours: transparent, red outline, yellow fill, black mark and five
// blends of the mark's edges into the fill.
TEST(DlgMessageIcon, WarningSignUsesItsPalette)
{
    wxFrame frame(nullptr, wxID_ANY, "icon");
    CDlgMessage dlg(&frame, wxID_ANY, "t", "m");
    const wxImage img = dlg.getStaticBitmapWarning()->GetBitmap().ConvertToImage();
    ASSERT_TRUE(img.IsOk());
    auto transparent = [&img](int x, int y)
    { return img.HasAlpha() ? img.GetAlpha(x, y) == 0 : img.IsTransparent(x, y); };
    EXPECT_TRUE(transparent(0, 0));
    EXPECT_TRUE(transparent(47, 0));
    EXPECT_TRUE(transparent(0, 47));
    std::set<std::tuple<int, int, int>> colours;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            if (!transparent(x, y))
                colours.insert({img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y)});
    const std::set<std::tuple<int, int, int>> expected = {
        {0xC0, 0x00, 0x00}, {0xDC, 0xDF, 0x00}, {0x00, 0x00, 0x00}, {0xA6, 0xA8, 0x00},
        {0x8A, 0x8C, 0x00}, {0xB8, 0xBA, 0x00}, {0x6E, 0x70, 0x00}, {0x37, 0x38, 0x00}};
    EXPECT_EQ(expected, colours);
    // The triangle stands on its base: wide at the bottom, a point at the top.
    int nTop = 0, nBottom = 0;
    for (int x = 0; x < 48; ++x)
    {
        nTop += transparent(x, 4) ? 0 : 1;
        nBottom += transparent(x, 42) ? 0 : 1;
    }
    EXPECT_LT(nTop, 6);
    EXPECT_GT(nBottom, 36);
}

TEST_F(DlgMessageTest, LinesOfTheTextSetTheSize)
{
    CDlgMessage dlgOne(m_pFrame, wxID_ANY, "t", "short");
    CDlgMessage dlgThree(m_pFrame, wxID_ANY, "t", "short\nshort\nshort");
    CDlgMessage dlgWide(m_pFrame, wxID_ANY, "t",
                        "short\na much longer second line that the dialog must not wrap\nx");
    const wxSize szOne = dlgOne.getStaticTextMessage()->GetSize();
    const wxSize szThree = dlgThree.getStaticTextMessage()->GetSize();
    EXPECT_GE(szThree.y, 3 * szOne.y - 2);
    EXPECT_GT(dlgWide.GetSize().x, dlgThree.GetSize().x);
    EXPECT_GE(dlgWide.GetClientSize().x, dlgWide.getStaticTextMessage()->GetBestSize().x);
    // The icon and the button are present however short the text.
    EXPECT_GE(dlgOne.GetClientSize().y, 48 + dlgOne.getButtonOk()->GetSize().y);
}

TEST_F(DlgMessageTest, ReportIsCentredOnTheParent)
{
    m_pFrame->SetSize(wxRect(200, 150, 700, 500));
    guitest::pumpEvents(50);
    CDlgPrompter prompter(m_pFrame);
    wxRect rcDlg;
    wxTEST_DIALOG(prompter.report("File is corrupted", "/tmp/x.zlx\nbad"),
                  CExpectMessage("File is corrupted", "/tmp/x.zlx\nbad",
                                 [&](CDlgMessage* pDlg)
                                 {
                                     rcDlg = pDlg->GetRect();
                                     EXPECT_EQ(m_pFrame, pDlg->GetParent());
                                 }));
    const wxPoint ptParent = m_pFrame->GetRect().GetPosition() +
                             wxPoint(m_pFrame->GetSize().x / 2, m_pFrame->GetSize().y / 2);
    const wxPoint ptDlg = rcDlg.GetPosition() + wxPoint(rcDlg.width / 2, rcDlg.height / 2);
    EXPECT_NEAR(ptParent.x, ptDlg.x, 2);
    EXPECT_NEAR(ptParent.y, ptDlg.y, 2);
}

// The real dialog: Enter presses the default OK button.
TEST_F(DlgMessageTest, EnterClosesTheShownDialog)
{
    CDlgMessage dlg(m_pFrame, wxID_ANY, "Can't read the file",
                    "/media/card/ZOLT.CFG\nThe file is too short.");
    dlg.CentreOnParent(wxBOTH);
    bool bShown = false;
    bool bHadFocus = false;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER,
               [&](wxTimerEvent&)
               {
                   if (!dlg.IsShownOnScreen() || bShown)
                       return;
                   bShown = true;
                   // Without a window manager nobody activates the dialog.
                   dlg.Raise();
                   bHadFocus = guitest::waitUntil(
                       [&] { return wxWindow::FindFocus() == dlg.getButtonOk(); }, 1500);
                   guitest::screenshot("message-dialog");
                   wxUIActionSimulator().Char(WXK_RETURN);
               });
    timer.Start(100);
    const int nResult = dlg.ShowModal();
    timer.Stop();
    EXPECT_TRUE(bShown);
    EXPECT_TRUE(bHadFocus);
    EXPECT_EQ(wxID_OK, nResult);
}
