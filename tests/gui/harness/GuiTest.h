// Helpers for tests that run inside the real toolkit: expectations for the
// modal dialogs, typing through the X server, event pumping, and a fixture
// with a shown frame.
#pragma once

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>
#include <wx/textentry.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include <functional>
#include <vector>

// Failures of dialog expectations become test failures instead of assertions.
class CGuiTestModalHook;
#define wxTEST_DIALOG_HOOK_CLASS CGuiTestModalHook
#include <wx/choicdlg.h>
#include <wx/testing.h>

#include "CDlgMessage.h"

// Failure messages show texts as text.
inline void PrintTo(const wxString& str, std::ostream* pOs)
{
    *pOs << '"' << str.utf8_string() << '"';
}

const wxString kDegC = wxString::FromUTF8("\u00B0C");
const wxString kDegF = wxString::FromUTF8("\u00B0F");

class CGuiTestModalHook : public wxTestingModalHook
{
public:
    CGuiTestModalHook(const char* pcFile, int nLine, const char* pcFunc)
        : wxTestingModalHook(pcFile, nLine, pcFunc), m_pcFile(pcFile), m_nLine(nLine)
    {
    }

protected:
    void ReportFailure(const wxString& strMsg) override
    {
        ADD_FAILURE_AT(m_pcFile ? m_pcFile : __FILE__, m_nLine) << strMsg;
    }

private:
    const char* m_pcFile;
    int m_nLine;
};

// Expects a dialog of class T and lets fnAnswer check it and give its answer.
template <class T> class CExpectDialog : public wxExpectModalBase<T>
{
public:
    explicit CExpectDialog(std::function<int(T*)> fnAnswer) : m_fnAnswer(std::move(fnAnswer)) {}

protected:
    int OnInvoked(T* pDlg) const override { return m_fnAnswer(pDlg); }

private:
    std::function<int(T*)> m_fnAnswer;
};

// Expects a CDlgMessage with this title and text and answers OK; the optional
// action runs while the dialog counts as open.
inline CExpectDialog<CDlgMessage> expectMessage(const wxString& strTitle, const wxString& strText,
                                                std::function<void(CDlgMessage*)> fnWhileOpen = {})
{
    return CExpectDialog<CDlgMessage>(
        [=](CDlgMessage* pDlg)
        {
            EXPECT_EQ(strTitle, pDlg->GetTitle());
            EXPECT_EQ(strText, pDlg->getStaticTextMessage()->GetLabel());
            if (fnWhileOpen)
                fnWhileOpen(pDlg);
            return wxID_OK;
        });
}

// Expects the single-choice dialog with this caption and these entries, and
// picks nIndex (OK) or cancels (nIndex -1).
inline CExpectDialog<wxSingleChoiceDialog> expectChoice(int nIndex, const wxString& strCaption,
                                                        std::vector<wxString> astrChoices)
{
    return CExpectDialog<wxSingleChoiceDialog>(
        [=](wxSingleChoiceDialog* pDlg)
        {
            EXPECT_EQ(strCaption, pDlg->GetTitle());
            std::vector<wxString> astrShown;
            for (wxWindow* pChild : pDlg->GetChildren())
                if (auto* pList = dynamic_cast<wxListBox*>(pChild))
                    for (unsigned n = 0; n < pList->GetCount(); ++n)
                        astrShown.push_back(pList->GetString(n));
            EXPECT_EQ(astrChoices, astrShown);
            if (nIndex < 0)
                return int(wxID_CANCEL);
            pDlg->SetSelection(nIndex);
            return int(wxID_OK);
        });
}

namespace guitest
{
// Lets the toolkit and the X server handle what is queued, for about nMs.
inline void pumpEvents(int nMs = 50)
{
    wxStopWatch sw;
    do
    {
        wxTheApp->ProcessPendingEvents();
        wxYield();
        wxMilliSleep(2);
    } while (sw.Time() < nMs);
}

// Pumps until fnDone returns true or nTimeoutMs passes; returns fnDone().
inline bool waitUntil(const std::function<bool()>& fnDone, int nTimeoutMs = 2000)
{
    wxStopWatch sw;
    while (!fnDone() && sw.Time() < nTimeoutMs)
        pumpEvents(5);
    return fnDone();
}

// Gives pWin the keyboard focus through the X server and waits for it.
inline bool focusWindow(wxWindow* pWin)
{
    wxGetTopLevelParent(pWin)->Raise();
    pWin->SetFocus();
    return waitUntil([pWin] { return pWin->HasFocus(); });
}

inline void pressKey(int nKey, int nModifiers = 0)
{
    wxUIActionSimulator().Char(nKey, nModifiers);
    pumpEvents(10);
}

// Focuses pWin and replaces its whole text by strText, typed key by key.
inline void typeInto(wxWindow* pWin, const wxString& strText)
{
    EXPECT_TRUE(focusWindow(pWin)) << "no focus for typing";
    if (auto* pEntry = dynamic_cast<wxTextEntryBase*>(pWin))
        pEntry->SelectAll();
    pumpEvents(10);
    pressKey('a', wxMOD_CONTROL); // and delete, so that an empty text is typed too
    pressKey(WXK_DELETE);
    if (!strText.empty())
        wxUIActionSimulator().Text(strText.utf8_str());
    pumpEvents(30);
}

// One notch of the mouse wheel over pWin, as the window system delivers it.
inline void scrollWheel(wxWindow* pWin, bool bUp)
{
#ifdef __WXGTK__
    GtkWidget* pWidget = pWin->GetHandle();
    GdkEvent* pEvent = gdk_event_new(GDK_SCROLL);
    pEvent->scroll.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(pWidget)));
    pEvent->scroll.direction = bUp ? GDK_SCROLL_UP : GDK_SCROLL_DOWN;
    pEvent->scroll.time = GDK_CURRENT_TIME;
    GdkSeat* pSeat = gdk_display_get_default_seat(gtk_widget_get_display(pWidget));
    gdk_event_set_device(pEvent, gdk_seat_get_pointer(pSeat));
    gtk_widget_event(pWidget, pEvent);
    gdk_event_free(pEvent);
#else
    (void)pWin, (void)bUp;
#endif
    pumpEvents(10);
}

// Counts the toolkit's failed assertions while it lives instead of failing
// the test, for tests that expect an internal check to fire.
struct CAssertCounter
{
    inline static int s_nCount = 0;
    inline static bool s_bCounting = false;
    CAssertCounter() { s_nCount = 0, s_bCounting = true; }
    ~CAssertCounter() { s_bCounting = false; }
    int count() const { return s_nCount; }
};
} // namespace guitest

// Fixture with a frame that is shown, raised and holds the input focus.
class CGuiFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new wxFrame(nullptr, wxID_ANY, "gui test", wxPoint(40, 40), wxSize(400, 300));
        m_pPanel = new wxPanel(m_pFrame);
        m_pFrame->Show();
        m_pFrame->Raise();
        guitest::waitUntil([this] { return m_pFrame->IsShownOnScreen() && m_pFrame->IsActive(); });
    }
    void TearDown() override
    {
        m_pFrame->Destroy();
        guitest::pumpEvents(20);
    }

    wxFrame* m_pFrame = nullptr;
    wxWindow* m_pPanel = nullptr;
};

// Runs code with every modal dialog counted as a failure.
#define EXPECT_NO_DIALOG(codeToRun)                                                                \
    {                                                                                              \
        CGuiTestModalHook wx_hook(__FILE__, __LINE__, __func__);                                   \
        codeToRun;                                                                                 \
        wx_hook.CheckUnmetExpectations();                                                          \
    }
