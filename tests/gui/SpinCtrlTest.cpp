// The checked spin control: what a typed text reads as, and when the range
// message comes, in which order, and that it comes only once.
#include "GuiTest.h"

#include "CZoltSpinCtrl.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include <climits>

#include <gtk/gtk.h>

using guitest::pumpEvents;
using guitest::typeInto;

namespace
{
const wxString kTitle = "validation failed";

wxString rangeText(const wxString& strName, bool bMax, int nLimit, const wxString& strUnit)
{
    return strName + " is not in range\nwill be set to " + (bMax ? "maximum" : "mimimum") + " of " +
           wxString::Format("%d", nLimit) + " " + strUnit;
}

class SpinCtrlTest : public CGuiFrameTest
{
public:
    void SetUp() override
    {
        CGuiFrameTest::SetUp();
        auto* pSizer = new wxBoxSizer(wxVERTICAL);
        auto add = [&](const char* pcValue, int nMin, int nMax, const char* pcName,
                       const wxString& strUnit)
        {
            auto* p = new CZoltSpinCtrl(m_pPanel, wxID_ANY, pcValue, wxDefaultPosition,
                                        wxDefaultSize, wxSP_ARROW_KEYS, nMin, nMax);
            p->setNameUnit(pcName, strUnit);
            pSizer->Add(p, 0, wxALL, 4);
            return p;
        };
        m_pStandby = add("5", 1, 60, "standby time", "min");
        m_pT1 = add("320", 150, 450, "fixed temperature 1", kDegC);
        m_pT2 = add("360", 150, 450, "fixed temperature 2", kDegC);
        m_pButton = new wxButton(m_pPanel, wxID_ANY, "elsewhere");
        pSizer->Add(m_pButton);
        m_pPanel->SetSizer(pSizer);
        m_pPanel->Layout();
        pumpEvents(50);
    }
    // Reads pCtrl expecting the message strText, or none when it is empty.
    int read(CZoltSpinCtrl* pCtrl, const wxString& strText)
    {
        int nValue = 0;
        if (strText.empty())
        {
            EXPECT_NO_DIALOG(nValue = pCtrl->GetValue());
        }
        else
        {
            wxTEST_DIALOG(nValue = pCtrl->GetValue(), expectMessage(kTitle, strText));
        }
        return nValue;
    }

    CZoltSpinCtrl* m_pStandby = nullptr;
    CZoltSpinCtrl* m_pT1 = nullptr;
    CZoltSpinCtrl* m_pT2 = nullptr;
    wxButton* m_pButton = nullptr;
};

TEST(SpinCtrlParse, ScanRules)
{
    const char* apcText[] = {" 42",         "\t+7",
                             "-5",          "450x",
                             "12.9",        "",
                             "abc",         "- 5",
                             "2147483648",  "99999999999999999999",
                             "-2147483649", "0x1F"};
    const int anExpected[] = {42,      7,       -5,      450,     12,      INT_MIN,
                              INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0};
    for (size_t n = 0; n < std::size(apcText); ++n)
        EXPECT_EQ(anExpected[n], CZoltSpinCtrl::parseText(apcText[n])) << '"' << apcText[n] << '"';
}

TEST_F(SpinCtrlTest, TypedTextIsCheckedOnRead)
{
    const wxString strStandbyMin = rangeText("standby time", false, 1, "min");
    const struct
    {
        CZoltSpinCtrl* pCtrl;
        const char* pcTyped;
        int nExpected;
        wxString strMessage; // empty: none
    } aCase[] = {
        {m_pStandby, "abc", 1, strStandbyMin},
        {m_pStandby, "", 1, strStandbyMin},
        {m_pStandby, "-5", 1, strStandbyMin},
        {m_pStandby, " 42", 42, ""},
        {m_pT1, "450x", 450, ""},
        {m_pT1, "999", 450, rangeText("fixed temperature 1", true, 450, kDegC)},
        {m_pT1, "-99999999999", 150, rangeText("fixed temperature 1", false, 150, kDegC)},
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

// Leaving a field commits it, so of two unchecked entries only one can be
// typed; the other is put in by the program.
TEST_F(SpinCtrlTest, TwoBadEntriesGiveTwoMessagesInOrderButNeverTwoAtOnce)
{
    m_pT2->SetValue(wxString("none"));
    typeInto(m_pT1, "1000");
    int nT1 = 0, nT2 = 0;
    wxTEST_DIALOG((nT1 = m_pT1->GetValue(), nT2 = m_pT2->GetValue()),
                  expectMessage(kTitle, rangeText("fixed temperature 1", true, 450, kDegC)),
                  expectMessage(kTitle, rangeText("fixed temperature 2", false, 150, kDegC)));
    EXPECT_EQ(450, nT1);
    EXPECT_EQ(150, nT2);

    // A read while a message is open is clamped silently.
    bool bShownDuring = false;
    nT2 = 0;
    wxTEST_DIALOG(m_pT1->GetValue(),
                  expectMessage(kTitle, rangeText("fixed temperature 1", true, 450, kDegC),
                                [&](CDlgMessage*)
                                {
                                    bShownDuring = CZoltSpinCtrl::isMessageShown();
                                    nT2 = m_pT2->GetValue();
                                }));
    EXPECT_TRUE(bShownDuring);
    EXPECT_EQ(150, nT2);
    EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
}

TEST_F(SpinCtrlTest, RangeChangeClampsWithoutMessage)
{
    m_pT1->SetValue(160);
    EXPECT_NO_DIALOG(m_pT1->setRangeUnit(302, 842, kDegF));
    EXPECT_EQ(kDegF, m_pT1->getUnit());
    EXPECT_EQ(842, m_pT1->GetMax());
    EXPECT_EQ(302, read(m_pT1, ""));
    // An entry still pending when the range changes stays silent too.
    typeInto(m_pT2, "999");
    EXPECT_NO_DIALOG((m_pT2->setRangeUnit(100, 200, kDegC), pumpEvents(100)));
}

// Leaving the field commits the entry: one message, then the clamped value.
TEST_F(SpinCtrlTest, LeavingAFieldReportsOnceAndShowsTheClampedValue)
{
    auto settle = [](const CZoltSpinCtrl* pCtrl)
    {
        pumpEvents(100);
        guitest::waitUntil([pCtrl] { return !pCtrl->isMessagePending(); }, 5000);
        pumpEvents(50);
    };
    // Each way out of the field the native control would take to rewrite the
    // entry silently: the focus moves, Tab, Enter, a step key, the mouse wheel,
    // a click on a step button. A step on a bad entry stops at the limit the
    // message names, whichever way it goes.
    const char* apcWay[] = {"focus moved", "Tab",        "Enter", "Up",   "Down",
                            "wheel",       "wheel down", "plus",  "minus"};
    for (const char* pcWay : apcWay)
    {
        SCOPED_TRACE(pcWay);
        const wxString strWay = pcWay;
        CZoltSpinCtrl* pTyped = m_pT1;
        auto leave = [&]
        {
            if (strWay == "Tab")
                guitest::pressKey(WXK_TAB);
            else if (strWay == "Enter")
                guitest::pressKey(WXK_RETURN);
            else if (strWay == "Up" || strWay == "Down")
                guitest::pressKey(strWay == "Up" ? WXK_UP : WXK_DOWN);
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
        };
        typeInto(m_pT1, "999");
        wxTEST_DIALOG((leave(), settle(m_pT1)),
                      expectMessage(kTitle, rangeText("fixed temperature 1", true, 450, kDegC)));
        EXPECT_EQ("450", m_pT1->GetTextValue());
        EXPECT_EQ(450, read(m_pT1, ""));

        pTyped = m_pStandby;
        typeInto(m_pStandby, " 42");
        EXPECT_NO_DIALOG((leave(), settle(m_pStandby)));
        // A step on a good entry goes on from it.
        const bool bUp = strWay == "Up" || strWay == "wheel" || strWay == "plus";
        const bool bDown = strWay == "Down" || strWay == "wheel down" || strWay == "minus";
        EXPECT_EQ(bUp ? "43" : bDown ? "41" : "42", m_pStandby->GetTextValue());
    }
}

// A read right after the focus has left a bad entry, before the toolkit is
// idle again (a button clicked after typing), reports it before answering, once.
TEST_F(SpinCtrlTest, ReadingAFreshlyLeftFieldReportsBeforeAnswering)
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
    wxTEST_DIALOG(fnClick(),
                  expectMessage(kTitle, rangeText("fixed temperature 1", true, 450, kDegC),
                                [&](CDlgMessage*) { bShown = true; }));
    EXPECT_TRUE(bPending);
    EXPECT_TRUE(bShownFirst);
    EXPECT_EQ(450, nT1);
    EXPECT_FALSE(m_pT1->isMessagePending());
}

// A bad entry left for another window (a file dialog, the About box) is not
// reported over that window: the message waits for the focus to come back, or
// for the next read, and then stands over the entry's own window.
TEST_F(SpinCtrlTest, LeavingForAnotherWindowReportsOnReturnOrRead)
{
    const wxString strMessage = rangeText("fixed temperature 1", true, 450, kDegC);
    auto* pOther = new wxFrame(nullptr, wxID_ANY, "other", wxPoint(500, 40), wxSize(200, 100));
    auto* pOtherButton = new wxButton(pOther, wxID_ANY, "there");
    pOther->Show();
    for (bool bByRead : {false, true})
    {
        SCOPED_TRACE(bByRead ? "read" : "return");
        typeInto(m_pT1, "999");
        EXPECT_NO_DIALOG((guitest::focusWindow(pOtherButton), pumpEvents(300)));
        EXPECT_TRUE(m_pT1->isMessagePending());
        EXPECT_EQ("450", m_pT1->GetTextValue());
        auto fnParent = [this](CDlgMessage* pDlg) { EXPECT_EQ(m_pFrame, pDlg->GetParent()); };
        if (bByRead)
        {
            int n = 0;
            wxTEST_DIALOG(n = m_pT1->GetValue(), expectMessage(kTitle, strMessage, fnParent));
            EXPECT_EQ(450, n);
        }
        else
        {
            wxTEST_DIALOG((guitest::focusWindow(m_pButton), pumpEvents(100)),
                          expectMessage(kTitle, strMessage, fnParent));
        }
        EXPECT_FALSE(m_pT1->isMessagePending());
    }
    pOther->Destroy();
    pumpEvents(20);
}

// Closing the window takes the focus from a field with a bad entry: nothing is reported.
TEST_F(SpinCtrlTest, ClosingTheWindowIsSilent)
{
    typeInto(m_pT1, "999");
    EXPECT_TRUE(m_pT1->HasFocus());
    EXPECT_NO_DIALOG((m_pFrame->Destroy(), pumpEvents(300)));
    EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
    m_pFrame = new wxFrame(nullptr, wxID_ANY, "for tear-down");
}
} // namespace
