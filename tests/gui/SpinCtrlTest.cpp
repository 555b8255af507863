// The editor's checked spin controls: what a text reads as, and when the message comes.
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

bool focusWindow(wxWindow* pWin)
{
    return wxGetTopLevelParent(pWin)->Raise(), pWin->SetFocus(),
           waitUntil([pWin] { return pWin->HasFocus(); });
}

class SpinCtrl : public CHandlerTest
{
protected:
    CZoltSpinCtrl* type(CZoltSpinCtrl* p, const wxString& strText)
    {
        EXPECT_TRUE(focusWindow(p)) << "no focus for typing";
        wxUIActionSimulator sim;
        sim.Char('a', wxMOD_CONTROL); // and delete, so that an empty text is typed too
        sim.Char(WXK_DELETE);
        sim.Text(strText.utf8_str());
        pumpEvents(30);
        return p;
    }
    CZoltSpinCtrl* var() { return m_pFrame->at(ID_SPINCTRL_TVAR); }
    CZoltSpinCtrl* time() { return m_pFrame->at(ID_SPINCTRL_STANDBY_TIME); }
    wxWindow* elsewhere() { return m_pFrame->FindWindow(ID_CHECKBOX_KEYLOCKED); }
};

// A read answers with the nearest limit and says so, leaving the text.
TEST_F(SpinCtrl, TypedTextIsCheckedOnRead)
{
    // Standby time?, text, value, and the message: none, or to the minimum (<) or maximum (>).
    // clang-format off
    const std::tuple<bool, const char*, int, char> aCases[] = {
        {true, "", 1, '<'}, {true, "-5", 1, '<'}, {true, "- 5", 1, '<'}, {true, " 42", 42, ' '},
        {false, "abc", 150, '<'}, {false, "12.9", 150, '<'}, {false, "2147483648", 450, '>'},
        {false, "-99999999999", 150, '<'}, {false, "999", 450, '>'}, {false, "450x", 450, ' '},
        {false, "+200", 200, ' '}};
    // clang-format on
    for (const auto& [bTime, pcTyped, nExpected, cMessage] : aCases)
    {
        CZoltSpinCtrl* p = type(bTime ? time() : var(), pcTyped);
        int n = 0;
        EXPECT_EQ(cMessage == ' ' ? ""
                                  : rangeText(bTime ? "standby time" : "variable temperature",
                                              cMessage == '>', nExpected, bTime ? "min" : kDegC),
                  messagesOf([&] { n = p->GetValue(); }))
            << pcTyped;
        EXPECT_EQ(wxString::Format("%d ", nExpected) + pcTyped,
                  wxString::Format("%d ", n) + p->GetTextValue());
    }
    // Two messages in order, never two at once; a range change clamps silently.
    CZoltSpinCtrl* pStandby = m_pFrame->at(ID_SPINCTRL_STANDBY_TEMP);
    pStandby->SetValue(wxString("none"));
    type(var(), "1000");
    int nStandby = 0;
    EXPECT_EQ(kVarMax + rangeText("standby temperature", false, 150),
              messagesOf([&] { var()->GetValue(), nStandby = pStandby->GetValue(); }));
    EXPECT_EQ(kVarMax, messagesOf([&] { var()->GetValue(); },
                                  [&](wxDialog*) { nStandby += pStandby->GetValue(); }));
    EXPECT_EQ(300, nStandby);
    pStandby->SetValue(160);
    pStandby->setRangeUnit(302, 842, kDegF);
    EXPECT_EQ(302, pStandby->GetValue());
    type(var(), "999")->setRangeUnit(100, 200, kDegC); // still pending when the range changes
    pumpEvents(100);
}

// Each way the native control would rewrite an entry gives one message and the limit.
TEST_F(SpinCtrl, LeavingAFieldReportsOnceAndShowsTheClampedValue)
{
    for (const wxString strWay : {"focus moved", "read", "Enter", "Up", "wheel", "minus"})
    {
        CZoltSpinCtrl* pTyped = var();
        bool bShown = false;
        auto leave = [&]
        {
            wxUIActionSimulator sim;
            if (strWay == "Enter" || strWay == "Up")
                sim.Char(strWay == "Enter" ? WXK_RETURN : WXK_UP);
            else if (strWay == "wheel") // one notch up, as the window system sends it
            {
                GdkEvent* p = gdk_event_new(GDK_SCROLL);
                p->scroll.window =
                    GDK_WINDOW(g_object_ref(gtk_widget_get_window(pTyped->GetHandle())));
                p->scroll.direction = GDK_SCROLL_UP;
                gdk_event_set_device(p, gdk_seat_get_pointer(gdk_display_get_default_seat(
                                            gdk_display_get_default())));
                gtk_widget_event(pTyped->GetHandle(), p), gdk_event_free(p);
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
                elsewhere()->SetFocus();
                EXPECT_TRUE(pTyped->GetValue() == (pTyped == var() ? 450 : 42) &&
                            (bShown || pTyped != var()));
            }
            else
                focusWindow(elsewhere());
            pumpEvents(100);
            waitUntil([pTyped] { return !pTyped->isMessagePending(); }, 5000);
            pumpEvents(50);
        };
        type(var(), "999");
        EXPECT_EQ(kVarMax, messagesOf(leave, [&](wxDialog*) { bShown = true; })) << strWay;
        EXPECT_EQ("450 450", var()->GetTextValue() + wxString::Format(" %d", var()->GetValue()));
        pTyped = type(time(), " 42");
        leave();
        EXPECT_EQ(strWay == "Up" || strWay == "wheel" ? "43"
                  : strWay == "minus"                 ? "41"
                                                      : "42",
                  time()->GetTextValue())
            << strWay;
    }
}

TEST_F(SpinCtrl, ClosingTheWindowReportsNothing)
{
    EXPECT_TRUE(type(var(), "999")->HasFocus());
    m_pFrame->Destroy();
    m_pFrame = nullptr;
    pumpEvents(300);
}
} // namespace
