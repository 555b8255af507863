#include "CZoltSpinCtrl.h"

#include "CDlgMessage.h"

#include <wx/app.h>
#include <wx/toplevel.h>

#include <climits>
#include <cwchar>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

bool CZoltSpinCtrl::s_bMessageShown = false;

CZoltSpinCtrl::CZoltSpinCtrl(wxWindow* pParent, wxWindowID id, const wxString& strValue,
                             const wxPoint& pos, const wxSize& size, long nStyle, int nMin,
                             int nMax, int nInitial, const wxString& strName)
    : wxSpinCtrl(pParent, id, strValue, pos, size, nStyle, nMin, nMax, nInitial, strName)
{
    connectNative();
    Bind(wxEVT_IDLE,
         [this](wxIdleEvent& rEvent)
         {
             rEvent.Skip();
             showPendingMessage();
         });
}

CZoltSpinCtrl::~CZoltSpinCtrl()
{
    // The native widget outlives this part of the object and still sends
    // focus changes while it is taken down.
    disconnectNative();
}

bool CZoltSpinCtrl::isClosing() const
{
    if (IsBeingDeleted())
        return true;
    wxWindow* pTop = wxGetTopLevelParent(const_cast<CZoltSpinCtrl*>(this));
    return pTop &&
           (pTop->IsBeingDeleted() || (wxTheApp && wxTheApp->IsScheduledForDestruction(pTop)));
}

void CZoltSpinCtrl::setNameUnit(const wxString& strName, const wxString& strUnit)
{
    m_strName = strName;
    m_strUnit = strUnit;
}

void CZoltSpinCtrl::setRangeUnit(int nMin, int nMax, const wxString& strUnit)
{
    // New records replace the entry that a waiting message is about.
    m_bMessagePending = false;
    m_bSetRange = true;
    m_strUnit = strUnit;
    SetRange(nMin, nMax);
    m_bSetRange = false;
}

int CZoltSpinCtrl::GetValue() const
{
    // A commit whose message still waits for the focus change to end is
    // reported now: a command that reads the value must not go on first.
    if (m_bMessagePending)
    {
        m_bMessagePending = false;
        showRangeMessage(m_bPendingMax, m_nPendingLimit);
    }
    return checkText(GetTextValue(), false);
}

int CZoltSpinCtrl::parseText(const wxString& strText)
{
    // The scan conversion "%ld" would leave an overflow undefined; wcstol
    // takes the same text and saturates instead.
    const wxWCharBuffer buf = strText.wc_str();
    const wchar_t* pcStart = buf.data();
    wchar_t* pcEnd = nullptr;
    const long n = std::wcstol(pcStart, &pcEnd, 10);
    if (pcEnd == pcStart)
        return INT_MIN;
    if (n < INT_MIN)
        return INT_MIN;
    if (n > INT_MAX)
        return INT_MAX;
    return static_cast<int>(n);
}

int CZoltSpinCtrl::checkText(const wxString& strText, bool bDeferMessage) const
{
    int n = parseText(strText);
    bool bMax = false;
    if (n < GetMin())
        n = GetMin();
    else if (n > GetMax())
    {
        n = GetMax();
        bMax = true;
    }
    else
        return n;

    if (!bDeferMessage)
        showRangeMessage(bMax, n);
    else if (!m_bSetRange && !s_bMessageShown && !m_bMessagePending)
    {
        // A modal dialog must not open in the middle of a focus change.
        m_bMessagePending = true;
        m_bPendingMax = bMax;
        m_nPendingLimit = n;
        const_cast<CZoltSpinCtrl*>(this)->CallAfter(&CZoltSpinCtrl::showPendingMessage);
    }
    return n;
}

bool CZoltSpinCtrl::isFocusHome() const
{
    const wxWindow* pFocus = wxWindow::FindFocus();
    return pFocus && wxGetTopLevelParent(const_cast<wxWindow*>(pFocus)) ==
                         wxGetTopLevelParent(const_cast<CZoltSpinCtrl*>(this));
}

void CZoltSpinCtrl::showPendingMessage()
{
    // While the focus is in another window (a file dialog, the About box) or
    // in none, the message would stand over something it is not about: it
    // waits until the focus is back here, or until the value is read.
    if (!m_bMessagePending || !isFocusHome() || isClosing())
        return;
    m_bMessagePending = false;
    showRangeMessage(m_bPendingMax, m_nPendingLimit);
}

void CZoltSpinCtrl::showRangeMessage(bool bMax, int nLimit) const
{
    if (m_bSetRange || s_bMessageShown)
        return;
    s_bMessageShown = true;
    const wxString strText = m_strName + " is not in range\n" +
                             wxString::Format("will be set to %s of %d %s",
                                              bMax ? "maximum" : "mimimum", nLimit, m_strUnit);
    {
        // Over the main window, not over the box that holds the field.
        CDlgMessage dlg(wxGetTopLevelParent(const_cast<CZoltSpinCtrl*>(this)), wxID_ANY,
                        "validation failed", strText);
        dlg.CentreOnParent(wxBOTH);
        dlg.ShowModal();
    }
    s_bMessageShown = false;
}

bool CZoltSpinCtrl::commitEntry()
{
    // Closing the window takes the focus away too; nothing to tell then.
    if (isClosing())
        return false;
    const wxString strText = GetTextValue();
    const int nParsed = parseText(strText);
    const wxString strClean = wxString::Format("%d", checkText(strText, true));
    if (strText == strClean)
        return false;
#ifdef __WXGTK__
    // Only the text: the native update that follows takes it as the value and
    // sends the usual change notification.
    gtk_entry_set_text(GTK_ENTRY(GetHandle()), strClean.utf8_str());
#else
    SetValue(strClean);
#endif
    return nParsed < GetMin() || nParsed > GetMax();
}

#ifdef __WXGTK__
// GTK rewrites the entry itself, clamped to the range and without a word, in
// its handlers for leaving the field, Enter, the step keys, the step buttons
// and the wheel. Ours are connected before those class handlers, so they see the
// raw text first.
extern "C"
{
    static gboolean zoltSpinFocusOut(GtkWidget*, GdkEventFocus*, gpointer pData)
    {
        static_cast<CZoltSpinCtrl*>(pData)->commitEntry();
        return FALSE;
    }

    static void zoltSpinCommit(GtkWidget*, gpointer pData)
    {
        static_cast<CZoltSpinCtrl*>(pData)->commitEntry();
    }

    // A step on an entry out of range stops at the limit that the message
    // announces: the step that brought the check is dropped.
    static void zoltSpinChangeValue(GtkSpinButton* pSpin, GtkScrollType, gpointer pData)
    {
        if (static_cast<CZoltSpinCtrl*>(pData)->commitEntry())
        {
            gtk_spin_button_update(pSpin);
            g_signal_stop_emission_by_name(pSpin, "change-value");
        }
    }

    // The wheel steps from the last committed value and would drop the entry
    // unread, so the entry is committed and taken over first.
    static gboolean zoltSpinScroll(GtkWidget* pWidget, GdkEventScroll*, gpointer pData)
    {
        const bool bClamped = static_cast<CZoltSpinCtrl*>(pData)->commitEntry();
        gtk_spin_button_update(GTK_SPIN_BUTTON(pWidget));
        return bClamped;
    }

    // A press on the step buttons updates from the text first; a press in the
    // text itself only places the cursor.
    static gboolean zoltSpinButtonPress(GtkWidget* pWidget, GdkEventButton* pEvent, gpointer pData)
    {
        if (pEvent->type != GDK_BUTTON_PRESS || !pEvent->window)
            return FALSE;
        GtkAllocation alloc;
        gtk_widget_get_allocation(pWidget, &alloc);
        int nX = 0, nY = 0;
        gdk_window_get_position(pEvent->window, &nX, &nY);
        if (pEvent->window == gtk_widget_get_window(pWidget))
            nX = nY = 0;
        GdkRectangle rcText;
        gtk_entry_get_text_area(GTK_ENTRY(pWidget), &rcText);
        const int nPx = nX + static_cast<int>(pEvent->x) - alloc.x;
        const int nPy = nY + static_cast<int>(pEvent->y) - alloc.y;
        const bool bInText = nPx >= rcText.x && nPx < rcText.x + rcText.width && nPy >= rcText.y &&
                             nPy < rcText.y + rcText.height;
        if (bInText || !static_cast<CZoltSpinCtrl*>(pData)->commitEntry())
            return FALSE;
        gtk_spin_button_update(GTK_SPIN_BUTTON(pWidget));
        return TRUE;
    }
}

void CZoltSpinCtrl::connectNative()
{
    GtkWidget* pWidget = GetHandle();
    wxCHECK_RET(pWidget && GTK_IS_SPIN_BUTTON(pWidget), "GTK_IS_SPIN_BUTTON(pWidget)");
    // The field takes any text, as on other platforms; the check, not a
    // silent key filter, answers a letter or a stray sign.
    gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(pWidget), FALSE);
    g_signal_connect(pWidget, "focus-out-event", G_CALLBACK(zoltSpinFocusOut), this);
    g_signal_connect(pWidget, "activate", G_CALLBACK(zoltSpinCommit), this);
    g_signal_connect(pWidget, "change-value", G_CALLBACK(zoltSpinChangeValue), this);
    g_signal_connect(pWidget, "button-press-event", G_CALLBACK(zoltSpinButtonPress), this);
    g_signal_connect(pWidget, "scroll-event", G_CALLBACK(zoltSpinScroll), this);
}

void CZoltSpinCtrl::disconnectNative()
{
    GtkWidget* pWidget = GetHandle();
    if (!pWidget)
        return;
    g_signal_handlers_disconnect_by_func(pWidget, reinterpret_cast<gpointer>(zoltSpinFocusOut),
                                         this);
    g_signal_handlers_disconnect_by_func(pWidget, reinterpret_cast<gpointer>(zoltSpinCommit), this);
    g_signal_handlers_disconnect_by_func(pWidget, reinterpret_cast<gpointer>(zoltSpinChangeValue),
                                         this);
    g_signal_handlers_disconnect_by_func(pWidget, reinterpret_cast<gpointer>(zoltSpinButtonPress),
                                         this);
    g_signal_handlers_disconnect_by_func(pWidget, reinterpret_cast<gpointer>(zoltSpinScroll), this);
}
#else
void CZoltSpinCtrl::connectNative() {}

void CZoltSpinCtrl::disconnectNative() {}
#endif
