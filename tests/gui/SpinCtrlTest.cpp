// The checked spin controls of the editor: what a typed text reads as, and
// when the range message comes, over which window, and that it comes once.
#include "GuiTest.h"

#include <wx/uiaction.h>

namespace
{
wxString rangeText(const wxString& strName, bool bMax, int nLimit, const wxString& strUnit = kDegC)
{
    return "validation failed|" + strName + " is not in range\nwill be set to " +
           (bMax ? "maximum" : "mimimum") + wxString::Format(" of %d ", nLimit) + strUnit + "\n";
}
const wxString kVarMax = rangeText("variable temperature", true, 450);
const wxString kVarMin = rangeText("variable temperature", false, 150);
const wxString kTimeMin = rangeText("standby time", false, 1, "min");

bool focusWindow(wxWindow* pWin)
{
    wxGetTopLevelParent(pWin)->Raise();
    pWin->SetFocus();
    return waitUntil([pWin] { return pWin->HasFocus(); });
}

class SpinCtrl : public CHandlerTest
{
protected:
    // Focuses pWin and replaces its whole text by strText, typed key by key.
    void type(CZoltSpinCtrl* pWin, const wxString& strText)
    {
        EXPECT_TRUE(focusWindow(pWin)) << "no focus for typing";
        wxUIActionSimulator sim;
        sim.Char('a', wxMOD_CONTROL); // and delete, so that an empty text is typed too
        sim.Char(WXK_DELETE);
        sim.Text(strText.utf8_str());
        pumpEvents(30);
    }

    void SetUp() override
    {
        CHandlerTest::SetUp();
        m_pVar = m_pFrame->at(ID_SPINCTRL_TVAR);
        m_pStandby = m_pFrame->at(ID_SPINCTRL_STANDBY_TEMP);
        m_pTime = m_pFrame->at(ID_SPINCTRL_STANDBY_TIME);
        m_pElsewhere = m_pFrame->FindWindow(ID_CHECKBOX_KEYLOCKED);
    }

    CZoltSpinCtrl *m_pVar = nullptr, *m_pStandby = nullptr, *m_pTime = nullptr;
    wxWindow* m_pElsewhere = nullptr;
};

// A read answers with the nearest limit and says so; it leaves the text. Each
// control's rows end in range: leaving a field with a bad entry would report it.
TEST_F(SpinCtrl, TypedTextIsCheckedOnRead)
{
    const std::tuple<CZoltSpinCtrl*, const char*, int, wxString> aCases[] = {
        {m_pTime, "", 1, kTimeMin},
        {m_pTime, "-5", 1, kTimeMin},
        {m_pTime, "- 5", 1, kTimeMin},
        {m_pTime, " 42", 42, ""},
        {m_pVar, "abc", 150, kVarMin},
        {m_pVar, "12.9", 150, kVarMin},
        {m_pVar, "2147483648", 450, kVarMax},
        {m_pVar, "-99999999999", 150, kVarMin},
        {m_pVar, "999", 450, kVarMax},
        {m_pVar, "450x", 450, ""},
        {m_pVar, "+200", 200, ""}};
    for (const auto& [pCtrl, pcTyped, nExpected, strMessage] : aCases)
    {
        type(pCtrl, pcTyped);
        int n = 0;
        EXPECT_EQ(strMessage, messagesOf([&, p = pCtrl] { n = p->GetValue(); })) << pcTyped;
        EXPECT_EQ(wxString::Format("%d ", nExpected) + pcTyped,
                  wxString::Format("%d ", n) + pCtrl->GetTextValue());
    }
}

// Two bad entries give two messages in order, never two at once; a read while
// a message is open is clamped silently. A range change clamps silently too.
TEST_F(SpinCtrl, MessagesComeOneAtATime)
{
    m_pStandby->SetValue(wxString("none"));
    type(m_pVar, "1000");
    int nVar = 0, nStandby = 0;
    EXPECT_EQ(kVarMax + rangeText("standby temperature", false, 150),
              messagesOf([&] { nVar = m_pVar->GetValue(), nStandby = m_pStandby->GetValue(); }));
    EXPECT_EQ(450 + 150, nVar + nStandby);
    EXPECT_EQ(kVarMax, messagesOf([&] { m_pVar->GetValue(); },
                                  [&](wxDialog*) { nStandby = m_pStandby->GetValue() + 1; }));
    EXPECT_EQ(151, nStandby);

    m_pStandby->SetValue(160);
    m_pStandby->setRangeUnit(302, 842, kDegF);
    EXPECT_EQ(kDegF + " 302..842 302",
              m_pStandby->getUnit() + wxString::Format(" %d..%d %d", m_pStandby->GetMin(),
                                                       m_pStandby->GetMax(),
                                                       m_pStandby->GetValue()));
    type(m_pVar, "999"); // still pending when the range changes
    m_pVar->setRangeUnit(100, 200, kDegC);
    pumpEvents(100);
}

// Leaving the field commits the entry: one message, then the clamped value.
// Each way out is one the native control would take to rewrite the entry
// silently; a step on a bad entry stops at the limit the message names. A read
// right after the focus left (a button clicked after typing) reports first.
TEST_F(SpinCtrl, LeavingAFieldReportsOnceAndShowsTheClampedValue)
{
    for (const wxString strWay : {"focus moved", "read", "Tab", "Enter", "Up", "wheel", "minus"})
    {
        CZoltSpinCtrl* pTyped = m_pVar;
        bool bShown = false;
        auto leave = [&]
        {
            wxUIActionSimulator sim;
            if (strWay == "Tab" || strWay == "Enter" || strWay == "Up")
                sim.Char(strWay == "Tab" ? WXK_TAB : strWay == "Enter" ? WXK_RETURN : WXK_UP);
            else if (strWay == "wheel") // one notch up, as the window system sends it
            {
                GtkWidget* pWidget = pTyped->GetHandle();
                GdkEvent* pEvent = gdk_event_new(GDK_SCROLL);
                pEvent->scroll.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(pWidget)));
                pEvent->scroll.direction = GDK_SCROLL_UP;
                GdkSeat* pSeat = gdk_display_get_default_seat(gtk_widget_get_display(pWidget));
                gdk_event_set_device(pEvent, gdk_seat_get_pointer(pSeat));
                gtk_widget_event(pWidget, pEvent);
                gdk_event_free(pEvent);
            }
            else if (strWay == "minus") // GTK puts the step buttons at the right end, "+" last
            {
                const wxRect rc = pTyped->GetScreenRect();
                GdkRectangle rcText;
                gtk_entry_get_text_area(GTK_ENTRY(pTyped->GetHandle()), &rcText);
                sim.MouseMove(rc.GetRight() - 8 - (rc.GetWidth() - rcText.x - rcText.width) / 2,
                              rc.GetTop() + rc.GetHeight() / 2);
                pumpEvents(20);
                sim.MouseClick();
            }
            else if (strWay == "read")
            {
                m_pElsewhere->SetFocus();
                EXPECT_EQ(pTyped == m_pVar ? 450 : 42, pTyped->GetValue());
                EXPECT_TRUE(bShown || pTyped != m_pVar);
            }
            else
                focusWindow(m_pElsewhere);
            pumpEvents(100);
            waitUntil([pTyped] { return !pTyped->isMessagePending(); }, 5000);
            pumpEvents(50);
        };
        type(m_pVar, "999");
        EXPECT_EQ(kVarMax, messagesOf(leave, [&](wxDialog*) { bShown = true; })) << strWay;
        EXPECT_EQ("450 450", m_pVar->GetTextValue() + wxString::Format(" %d", m_pVar->GetValue()));
        // A step on a good entry goes on from it.
        pTyped = m_pTime;
        type(m_pTime, " 42");
        leave();
        const bool bUp = strWay == "Up" || strWay == "wheel";
        EXPECT_EQ(bUp ? "43" : strWay == "minus" ? "41" : "42", m_pTime->GetTextValue()) << strWay;
    }
}

// A bad entry left for another window (a file dialog, the About box) is not
// reported over that window: the message waits for the focus to come back, or
// for the next read, and then stands over the entry's own window. Closing the
// window with a bad entry reports nothing.
TEST_F(SpinCtrl, LeavingForAnotherWindowReportsOnReturnOrRead)
{
    auto* pOther = new wxFrame(nullptr, wxID_ANY, "other", wxPoint(500, 40), wxSize(200, 100));
    auto* pOtherBox = new wxCheckBox(pOther, wxID_ANY, "there");
    pOther->Show();
    for (bool bByRead : {false, true})
    {
        type(m_pVar, "999");
        focusWindow(pOtherBox);
        pumpEvents(300);
        EXPECT_EQ("450", m_pVar->GetTextValue());
        auto fnBack = [&]
        { bByRead ? m_pVar->GetValue() : (focusWindow(m_pElsewhere), pumpEvents(100), 0); };
        wxString strOver;
        EXPECT_EQ(kVarMax + "Q417 SD",
                  messagesOf(fnBack, [&](wxDialog* p) { strOver = p->GetParent()->GetLabel(); }) +
                      strOver);
    }
    pOther->Destroy();
    type(m_pVar, "999");
    EXPECT_TRUE(m_pVar->HasFocus());
    m_pFrame->Destroy();
    m_pFrame = nullptr;
    pumpEvents(300);
}
} // namespace
