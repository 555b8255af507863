#include "GuiTest.h"

#include "CZoltSpinCtrl.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <climits>

using guitest::pressKey;
using guitest::pumpEvents;
using guitest::typeInto;

namespace
{
const wxString kTitle = "validation failed";
const wxString kDegC = wxString::FromUTF8("\xC2\xB0"
                                          "C");

class SpinCtrlTest : public CGuiFrameTest
{
public:
    void SetUp() override
    {
        CGuiFrameTest::SetUp();
        m_pStandby = new CZoltSpinCtrl(m_pPanel, wxID_ANY, "5", wxDefaultPosition, wxDefaultSize,
                                       wxSP_ARROW_KEYS, 1, 60, 0, "wxSpinCtrl");
        m_pT1 = new CZoltSpinCtrl(m_pPanel, wxID_ANY, "320", wxDefaultPosition, wxDefaultSize,
                                  wxSP_ARROW_KEYS, 150, 450, 0, "wxSpinCtrl");
        m_pT2 = new CZoltSpinCtrl(m_pPanel, wxID_ANY, "360", wxDefaultPosition, wxDefaultSize,
                                  wxSP_ARROW_KEYS, 150, 450, 0, "wxSpinCtrl");
        m_pButton = new wxButton(m_pPanel, wxID_ANY, "elsewhere");
        m_pStandby->setNameUnit("standby time", "min");
        m_pT1->setNameUnit("fixed temperature 1", kDegC);
        m_pT2->setNameUnit("fixed temperature 2", kDegC);
        auto* pSizer = new wxBoxSizer(wxVERTICAL);
        for (wxWindow* p : {static_cast<wxWindow*>(m_pStandby), static_cast<wxWindow*>(m_pT1),
                            static_cast<wxWindow*>(m_pT2), static_cast<wxWindow*>(m_pButton)})
            pSizer->Add(p, 0, wxALL, 4);
        m_pPanel->SetSizer(pSizer);
        m_pPanel->Layout();
        pumpEvents(50);
    }

    CZoltSpinCtrl* m_pStandby = nullptr;
    CZoltSpinCtrl* m_pT1 = nullptr;
    CZoltSpinCtrl* m_pT2 = nullptr;
    wxButton* m_pButton = nullptr;
};

// Lets a commit's deferred message come and go, however busy the machine.
void settle(const CZoltSpinCtrl* pCtrl)
{
    pumpEvents(100);
    guitest::waitUntil([pCtrl] { return !pCtrl->isMessagePending(); }, 5000);
    pumpEvents(50);
}

wxString rangeText(const wxString& strName, bool bMax, int nLimit, const wxString& strUnit)
{
    return strName + " is not in range\nwill be set to " + (bMax ? "maximum" : "mimimum") + " of " +
           wxString::Format("%d", nLimit) + " " + strUnit;
}
} // namespace

TEST(SpinCtrlParse, ScanRules)
{
    const struct
    {
        const char* pcText;
        int nExpected;
    } aCase[] = {
        {"42", 42},
        {" 42", 42},
        {"\t 7", 7},
        {"+7", 7},
        {"-5", -5},
        {"450x", 450},
        {"0012", 12},
        {"1 2", 1},
        {"12.9", 12},
        {"", INT_MIN},
        {"abc", INT_MIN},
        {"x1", INT_MIN},
        {"-", INT_MIN},
        {"+", INT_MIN},
        {"- 5", INT_MIN},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"0x1F", 0},
    };
    for (const auto& c : aCase)
        EXPECT_EQ(c.nExpected, CZoltSpinCtrl::parseText(c.pcText)) << '"' << c.pcText << '"';
}

// Typed texts read through the range check.
TEST_F(SpinCtrlTest, TypedTextIsCheckedOnRead)
{
    const wxString strStandbyMin =
        wxString("standby time is not in range\nwill be set to mimimum of 1 min");
    const wxString strT1Max =
        "fixed temperature 1 is not in range\nwill be set to maximum of 450 " + kDegC;
    const wxString strT1Min =
        "fixed temperature 1 is not in range\nwill be set to mimimum of 150 " + kDegC;
    const struct
    {
        bool bStandby;
        const char* pcTyped;
        int nExpected;
        const wxString* pstrMessage; // null: no message
    } aCase[] = {
        {true, "abc", 1, &strStandbyMin},
        {true, "", 1, &strStandbyMin},
        {true, " 42", 42, nullptr},
        {true, "-5", 1, &strStandbyMin},
        {true, "60", 60, nullptr},
        {false, "450x", 450, nullptr},
        {false, "999", 450, &strT1Max},
        {false, "149", 150, &strT1Min},

        {false, "99999999999", 450, &strT1Max},
        {false, "-99999999999", 150, &strT1Min},
        {false, "150", 150, nullptr},
    };
    // Grouped by control and each group ends in range: leaving a field with a
    // bad entry would report it.
    for (const auto& c : aCase)
    {
        SCOPED_TRACE(c.pcTyped);
        CZoltSpinCtrl* pCtrl = c.bStandby ? m_pStandby : m_pT1;
        typeInto(pCtrl, c.pcTyped);
        ASSERT_EQ(wxString(c.pcTyped), pCtrl->GetTextValue());
        int nValue = 0;
        if (c.pstrMessage)
        {
            wxTEST_DIALOG(nValue = pCtrl->GetValue(), CExpectMessage(kTitle, *c.pstrMessage));
        }
        else
        {
            EXPECT_NO_DIALOG(nValue = pCtrl->GetValue());
        }
        EXPECT_EQ(c.nExpected, nValue);
        // The read itself leaves the text alone.
        EXPECT_EQ(wxString(c.pcTyped), pCtrl->GetTextValue());
        EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
    }
}

// Leaving a field commits it, so of two unchecked entries only one can be
// typed; the other is a text put in by the program.
TEST_F(SpinCtrlTest, TwoControlsReadOneAfterTheOtherGiveTwoMessagesInOrder)
{
    m_pT2->SetValue(wxString("none"));
    typeInto(m_pT1, "1000");
    int nT1 = 0, nT2 = 0;
    wxTEST_DIALOG((nT1 = m_pT1->GetValue(), nT2 = m_pT2->GetValue()),
                  CExpectMessage(kTitle, rangeText("fixed temperature 1", true, 450, kDegC)),
                  CExpectMessage(kTitle, rangeText("fixed temperature 2", false, 150, kDegC)));
    EXPECT_EQ(450, nT1);
    EXPECT_EQ(150, nT2);
}

TEST_F(SpinCtrlTest, ReadWhileMessageOpenIsClampedSilently)
{
    m_pT2->SetValue(wxString("none"));
    typeInto(m_pT1, "1000");
    int nT2 = 0;
    bool bShownDuring = false;
    wxTEST_DIALOG(m_pT1->GetValue(),
                  CExpectMessage(kTitle, rangeText("fixed temperature 1", true, 450, kDegC),
                                 [&](CDlgMessage*)
                                 {
                                     bShownDuring = CZoltSpinCtrl::isMessageShown();
                                     nT2 = m_pT2->GetValue();
                                 }));
    EXPECT_TRUE(bShownDuring);
    EXPECT_EQ(150, nT2);
    EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
    // Once the first message is closed, the second control reports again.
    wxTEST_DIALOG(m_pT2->GetValue(),
                  CExpectMessage(kTitle, rangeText("fixed temperature 2", false, 150, kDegC)));
}

// With the real modal dialog opened by a read: focus leaves the field for the
// dialog, and that commit must stay silent.
TEST_F(SpinCtrlTest, RealMessageOnReadIsTheOnlyOne)
{
    int nSeen = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER,
               [&](wxTimerEvent&)
               {
                   for (wxWindow* pTop : wxTopLevelWindows)
                   {
                       auto* pDlg = dynamic_cast<CDlgMessage*>(pTop);
                       if (pDlg && pDlg->IsModal())
                       {
                           ++nSeen;
                           pDlg->EndModal(wxID_OK);
                       }
                   }
               });
    timer.Start(150);
    typeInto(m_pT1, "1000");
    EXPECT_EQ(450, m_pT1->GetValue());
    pumpEvents(600);
    timer.Stop();
    EXPECT_EQ(1, nSeen);
    EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
}

TEST_F(SpinCtrlTest, RangeChangeClampsWithoutMessage)
{
    m_pT1->SetValue(160);
    const wxString strDegF = wxString::FromUTF8("\xC2\xB0"
                                                "F");
    EXPECT_NO_DIALOG(m_pT1->setRangeUnit(302, 842, strDegF));
    EXPECT_EQ(strDegF, m_pT1->getUnit());
    EXPECT_EQ(302, m_pT1->GetMin());
    EXPECT_EQ(842, m_pT1->GetMax());
    int nValue = 0;
    EXPECT_NO_DIALOG(nValue = m_pT1->GetValue());
    EXPECT_EQ(302, nValue);
    // A typed entry still pending when the range changes stays silent too.
    typeInto(m_pT2, "999");
    EXPECT_NO_DIALOG(m_pT2->setRangeUnit(100, 200, kDegC));
    EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
}

// Leaving the field commits the entry: one message, then the clamped value.
TEST_F(SpinCtrlTest, LeavingAFieldReportsOnceAndShowsClampedValue)
{
    const struct
    {
        const char* pcHow;
        std::function<void(SpinCtrlTest*)> fnLeave;
    } aWay[] = {
        {"Tab", [](SpinCtrlTest*) { pressKey(WXK_TAB); }},
        {"focus moved", [](SpinCtrlTest* p) { guitest::focusWindow(p->m_pButton); }},
        {"Enter", [](SpinCtrlTest*) { pressKey(WXK_RETURN); }},
    };
    for (const auto& way : aWay)
    {
        SCOPED_TRACE(way.pcHow);
        typeInto(m_pT1, "999");
        wxTEST_DIALOG((way.fnLeave(this), settle(m_pT1)),
                      CExpectMessage(kTitle, rangeText("fixed temperature 1", true, 450, kDegC)));
        EXPECT_EQ("450", m_pT1->GetTextValue());
        int nValue = 0;
        EXPECT_NO_DIALOG(nValue = m_pT1->GetValue());
        EXPECT_EQ(450, nValue);

        typeInto(m_pStandby, "zz");
        wxTEST_DIALOG((way.fnLeave(this), settle(m_pStandby)),
                      CExpectMessage(kTitle, rangeText("standby time", false, 1, "min")));
        EXPECT_EQ("1", m_pStandby->GetTextValue());
    }
}

TEST_F(SpinCtrlTest, LeavingWithValidEntryIsSilent)
{
    int nEvents = 0;
    m_pStandby->Bind(wxEVT_SPINCTRL, [&](wxSpinEvent&) { ++nEvents; });
    typeInto(m_pStandby, " 42");
    EXPECT_NO_DIALOG((pressKey(WXK_TAB), pumpEvents(200)));
    EXPECT_EQ("42", m_pStandby->GetTextValue());
    EXPECT_EQ(42, m_pStandby->GetValue());
    EXPECT_EQ(1, nEvents);
}

TEST_F(SpinCtrlTest, StepKeyCommitsOutOfRangeEntryFirst)
{
    typeInto(m_pT1, "5");
    wxTEST_DIALOG((pressKey(WXK_UP), settle(m_pT1)),
                  CExpectMessage(kTitle, rangeText("fixed temperature 1", false, 150, kDegC)));
    // The entry became the minimum, and the key then stepped from there.
    EXPECT_EQ(151, m_pT1->GetValue());
}

// With the real modal dialog: the deferred message appears once, and closing
// it with Enter leaves the clamped value in the field.
TEST_F(SpinCtrlTest, RealMessageAfterTabAppearsOnce)
{
    int nSeen = 0;
    wxString strSeen;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER,
               [&](wxTimerEvent&)
               {
                   for (wxWindow* pTop : wxTopLevelWindows)
                       if (auto* pDlg = dynamic_cast<CDlgMessage*>(pTop))
                           if (pDlg->IsModal())
                           {
                               ++nSeen;
                               strSeen = pDlg->getStaticTextMessage()->GetLabel();
                               pDlg->EndModal(wxID_OK);
                           }
               });
    timer.Start(100);
    typeInto(m_pT1, "777");
    pressKey(WXK_TAB);
    guitest::waitUntil([&] { return nSeen > 0; }, 5000);
    pumpEvents(400);
    timer.Stop();
    EXPECT_EQ(1, nSeen);
    EXPECT_EQ(rangeText("fixed temperature 1", true, 450, kDegC), strSeen);
    EXPECT_EQ("450", m_pT1->GetTextValue());
    EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
}

// A click on a step button takes the typed text first; a click into the text
// only places the cursor.
TEST_F(SpinCtrlTest, StepButtonCommitsOutOfRangeEntryFirst)
{
    typeInto(m_pT1, "999");
    const wxRect rc = m_pT1->GetScreenRect();
    wxUIActionSimulator sim;

    // into the text: nothing is committed
    EXPECT_NO_DIALOG((sim.MouseMove(rc.GetLeft() + 6, rc.GetTop() + rc.height / 2),
                      sim.MouseClick(), pumpEvents(200)));
    EXPECT_EQ("999", m_pT1->GetTextValue());
    // the rightmost button steps up, the one left of it steps down
    const int nButton = rc.height;
    wxTEST_DIALOG(
        (sim.MouseMove(rc.GetRight() - nButton - nButton / 2, rc.GetTop() + rc.height / 2),
         sim.MouseClick(), settle(m_pT1)),
        CExpectMessage(kTitle, rangeText("fixed temperature 1", true, 450, kDegC)));
    EXPECT_EQ(449, m_pT1->GetValue());
}

// Closing the window takes the focus from a field with a bad entry: nothing
// is reported and nothing is left behind.
TEST(SpinCtrlClose, ClosingTheWindowIsSilent)
{
    for (bool bDestroyNow : {false, true})
    {
        SCOPED_TRACE(bDestroyNow);
        auto* pFrame = new wxFrame(nullptr, wxID_ANY, "closing", wxPoint(60, 60), wxSize(300, 200));
        auto* pSpin = new CZoltSpinCtrl(pFrame, wxID_ANY, "320", wxDefaultPosition, wxDefaultSize,
                                        wxSP_ARROW_KEYS, 150, 450, 0, "wxSpinCtrl");
        pSpin->setNameUnit("fixed temperature 1", kDegC);
        pFrame->Show();
        pFrame->Raise();
        guitest::waitUntil([pFrame] { return pFrame->IsActive(); });
        typeInto(pSpin, "999");
        EXPECT_TRUE(pSpin->HasFocus());
        if (bDestroyNow)
        {
            EXPECT_NO_DIALOG((delete pFrame, pumpEvents(300)));
        }
        else
        {
            EXPECT_NO_DIALOG((pFrame->Destroy(), pumpEvents(300)));
        }
        EXPECT_FALSE(CZoltSpinCtrl::isMessageShown());
    }
}
