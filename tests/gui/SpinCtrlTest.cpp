// The checked spin control: what a typed text reads as, and when the range
// message comes, over which window, and that it comes only once.
#include "GuiTest.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include <climits>

using guitest::pumpEvents;
using guitest::typeInto;

namespace
{
const wxString kTitle = "validation failed";

wxString rangeText(const wxString& strName, bool bMax, int nLimit, const wxString& strUnit = kDegC)
{
    return strName + " is not in range\nwill be set to " + (bMax ? "maximum" : "mimimum") + " of " +
           wxString::Format("%d", nLimit) + " " + strUnit;
}
const wxString kT1Max = rangeText("fixed temperature 1", true, 450);

class SpinCtrl : public CGuiFrameTest
{
public:
    void SetUp() override
    {
        CGuiFrameTest::SetUp();
        auto* pSizer = new wxBoxSizer(wxVERTICAL);
        for (auto [pp, pcValue, nMin, nMax, pcName] :
             {std::tuple{&m_pStandby, "5", 1, 60, "standby time"},
              {&m_pT1, "320", 150, 450, "fixed temperature 1"},
              {&m_pT2, "360", 150, 450, "fixed temperature 2"}})
        {
            *pp = new CZoltSpinCtrl(m_pPanel, wxID_ANY, pcValue, wxDefaultPosition, wxDefaultSize,
                                    wxSP_ARROW_KEYS, nMin, nMax);
            (*pp)->setNameUnit(pcName, nMin == 1 ? wxString("min") : kDegC);
            pSizer->Add(*pp, 0, wxALL, 4);
        }
        m_pButton = new wxButton(m_pPanel, wxID_ANY, "elsewhere");
        pSizer->Add(m_pButton);
        m_pPanel->SetSizer(pSizer);
        m_pPanel->Layout();
        pumpEvents(50);
    }
    // Reads pCtrl expecting the message strText, or none when it is empty.
    int read(CZoltSpinCtrl* pCtrl, const wxString& strText = "")
    {
        int nValue = 0;
        if (strText.empty())
            EXPECT_NO_DIALOG(nValue = pCtrl->GetValue())
        else
            wxTEST_DIALOG(nValue = pCtrl->GetValue(), expectMessage(kTitle, strText));
        return nValue;
    }

    CZoltSpinCtrl *m_pStandby = nullptr, *m_pT1 = nullptr, *m_pT2 = nullptr;
    wxButton* m_pButton = nullptr;
};

TEST(SpinCtrlParse, ScanRules)
{
    const std::pair<const char*, int> aCases[] = {{" 42", 42},
                                                  {"\t+7", 7},
                                                  {"-5", -5},
                                                  {"450x", 450},
                                                  {"12.9", 12},
                                                  {"", INT_MIN},
                                                  {"abc", INT_MIN},
                                                  {"- 5", INT_MIN},
                                                  {"2147483648", INT_MAX},
                                                  {"99999999999999999999", INT_MAX},
                                                  {"-2147483649", INT_MIN},
                                                  {"0x1F", 0}};
    for (const auto& [pcText, n] : aCases)
        EXPECT_EQ(n, CZoltSpinCtrl::parseText(pcText)) << '"' << pcText << '"';
}

TEST_F(SpinCtrl, TypedTextIsCheckedOnRead)
{
    const wxString strStandbyMin = rangeText("standby time", false, 1, "min");
    const struct
    {
        CZoltSpinCtrl* pCtrl;
        const char* pcTyped;
        int nExpected;
        wxString strMessage; // empty: none
    } aCase[] = {
        {m_pStandby, "", 1, strStandbyMin},
        {m_pStandby, "-5", 1, strStandbyMin},
        {m_pStandby, " 42", 42, ""},
        {m_pT1, "450x", 450, ""},
        {m_pT1, "999", 450, kT1Max},
        {m_pT1, "-99999999999", 150, rangeText("fixed temperature 1", false, 150)},
        {m_pT1, "150", 150, ""},
    };
    // Each control's rows end in range: leaving a field with a bad entry would report it.
    for (const auto& c : aCase)
    {
        SCOPED_TRACE(c.pcTyped);
        typeInto(c.pCtrl, c.pcTyped);
        EXPECT_EQ(c.nExpected, read(c.pCtrl, c.strMessage));
        EXPECT_EQ(wxString(c.pcTyped), c.pCtrl->GetTextValue()); // the read leaves the text
        EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
    }
}

// Two bad entries give two messages in order, never two at once; a read while
// a message is open is clamped silently. A range change clamps silently too.
TEST_F(SpinCtrl, MessagesComeOneAtATime)
{
    m_pT2->SetValue(wxString("none"));
    typeInto(m_pT1, "1000");
    int nT1 = 0, nT2 = 0;
    wxTEST_DIALOG((nT1 = m_pT1->GetValue(), nT2 = m_pT2->GetValue()), expectMessage(kTitle, kT1Max),
                  expectMessage(kTitle, rangeText("fixed temperature 2", false, 150)));
    EXPECT_EQ(450 + 150, nT1 + nT2);
    bool bShownDuring = false;
    nT2 = 0;
    wxTEST_DIALOG(m_pT1->GetValue(), expectMessage(kTitle, kT1Max,
                                                   [&](CDlgMessage*)
                                                   {
                                                       bShownDuring =
                                                           CZoltSpinCtrl::isMessageShown();
                                                       nT2 = m_pT2->GetValue();
                                                   }));
    EXPECT_TRUE(bShownDuring);
    EXPECT_EQ(150, nT2);
    EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());

    m_pT1->SetValue(160);
    EXPECT_NO_DIALOG(m_pT1->setRangeUnit(302, 842, kDegF));
    EXPECT_EQ(kDegF + " 842", m_pT1->getUnit() + wxString::Format(" %d", m_pT1->GetMax()));
    EXPECT_EQ(302, read(m_pT1));
    typeInto(m_pT2, "999"); // still pending when the range changes
    EXPECT_NO_DIALOG((m_pT2->setRangeUnit(100, 200, kDegC), pumpEvents(100)));
}

// Leaving the field commits the entry: one message, then the clamped value.
// Each way out is one the native control would take to rewrite the entry
// silently; a step on a bad entry stops at the limit the message names.
TEST_F(SpinCtrl, LeavingAFieldReportsOnceAndShowsTheClampedValue)
{
    for (const wxString strWay :
         {"focus moved", "Tab", "Enter", "Up", "Down", "wheel", "wheel down", "plus", "minus"})
    {
        SCOPED_TRACE(strWay);
        CZoltSpinCtrl* pTyped = m_pT1;
        auto leave = [&]
        {
            if (strWay == "Tab" || strWay == "Enter" || strWay == "Up" || strWay == "Down")
                guitest::pressKey(strWay == "Tab"     ? WXK_TAB
                                  : strWay == "Enter" ? WXK_RETURN
                                  : strWay == "Up"    ? WXK_UP
                                                      : WXK_DOWN);
            else if (strWay.StartsWith("wheel"))
                guitest::scrollWheel(pTyped, strWay == "wheel");
            else if (strWay == "plus" || strWay == "minus")
            {
                // GTK puts the step buttons at the right end, "+" last.
                const wxRect rc = pTyped->GetScreenRect();
                GdkRectangle rcText;
                gtk_entry_get_text_area(GTK_ENTRY(pTyped->GetHandle()), &rcText);
                const int nButton = (rc.GetWidth() - rcText.x - rcText.width) / 2;
                wxUIActionSimulator sim;
                sim.MouseMove(rc.GetRight() - 8 - (strWay == "minus" ? nButton : 0),
                              rc.GetTop() + rc.GetHeight() / 2);
                pumpEvents(20);
                sim.MouseClick();
                pumpEvents(20);
            }
            else
                guitest::focusWindow(m_pButton);
            pumpEvents(100);
            guitest::waitUntil([pTyped] { return !pTyped->isMessagePending(); }, 5000);
            pumpEvents(50);
        };
        typeInto(m_pT1, "999");
        wxTEST_DIALOG(leave(), expectMessage(kTitle, kT1Max));
        EXPECT_EQ("450", m_pT1->GetTextValue());
        EXPECT_EQ(450, read(m_pT1));
        // A step on a good entry goes on from it.
        pTyped = m_pStandby;
        typeInto(m_pStandby, " 42");
        EXPECT_NO_DIALOG(leave());
        const bool bUp = strWay == "Up" || strWay == "wheel" || strWay == "plus";
        const bool bDown = strWay == "Down" || strWay == "wheel down" || strWay == "minus";
        EXPECT_EQ(bUp ? "43" : bDown ? "41" : "42", m_pStandby->GetTextValue());
    }
}

// A read right after the focus has left a bad entry, before the toolkit is
// idle again (a button clicked after typing), reports it before answering, once.
TEST_F(SpinCtrl, ReadingAFreshlyLeftFieldReportsBeforeAnswering)
{
    typeInto(m_pT1, "999");
    bool bShown = false, bPending = false, bShownFirst = false;
    int nT1 = 0;
    auto fnClick = [&]
    {
        m_pButton->SetFocus();
        bPending = m_pT1->isMessagePending();
        nT1 = m_pT1->GetValue();
        bShownFirst = bShown;
        pumpEvents(200);
    };
    wxTEST_DIALOG(fnClick(), expectMessage(kTitle, kT1Max, [&](CDlgMessage*) { bShown = true; }));
    EXPECT_TRUE(bPending && bShownFirst);
    EXPECT_EQ(450, nT1);
    EXPECT_FALSE(m_pT1->isMessagePending());
}

// A bad entry left for another window (a file dialog, the About box) is not
// reported over that window: the message waits for the focus to come back, or
// for the next read, and then stands over the entry's own window. Closing the
// window with a bad entry reports nothing.
TEST_F(SpinCtrl, LeavingForAnotherWindowReportsOnReturnOrRead)
{
    auto* pOther = new wxFrame(nullptr, wxID_ANY, "other", wxPoint(500, 40), wxSize(200, 100));
    auto* pOtherButton = new wxButton(pOther, wxID_ANY, "there");
    pOther->Show();
    auto fnParent = [this](CDlgMessage* pDlg) { EXPECT_EQ(m_pFrame, pDlg->GetParent()); };
    for (bool bByRead : {false, true})
    {
        SCOPED_TRACE(bByRead);
        typeInto(m_pT1, "999");
        EXPECT_NO_DIALOG((guitest::focusWindow(pOtherButton), pumpEvents(300)));
        EXPECT_TRUE(m_pT1->isMessagePending());
        EXPECT_EQ("450", m_pT1->GetTextValue());
        int n = 450;
        wxTEST_DIALOG(bByRead ? n = m_pT1->GetValue()
                              : (guitest::focusWindow(m_pButton), pumpEvents(100), 450),
                      expectMessage(kTitle, kT1Max, fnParent));
        EXPECT_EQ(450, n);
        EXPECT_FALSE(m_pT1->isMessagePending());
    }
    pOther->Destroy();
    typeInto(m_pT1, "999");
    EXPECT_TRUE(m_pT1->HasFocus());
    EXPECT_NO_DIALOG((m_pFrame->Destroy(), pumpEvents(300)));
    EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
    m_pFrame = new wxFrame(nullptr, wxID_ANY, "for tear-down");
}
} // namespace
