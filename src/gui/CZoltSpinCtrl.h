// The spin control used for every number of the main window. Whenever its
// value is read it checks the typed text against the range, answers with the
// nearest limit when the text is out of range or not a number, and tells the
// user which limit was taken. Read it through a CZoltSpinCtrl pointer: the
// toolkit's own GetValue is not virtual everywhere.
#pragma once

#include <wx/spinctrl.h>

class CZoltSpinCtrl : public wxSpinCtrl
{
public:
    CZoltSpinCtrl(wxWindow* pParent, wxWindowID id = wxID_ANY,
                  const wxString& strValue = wxEmptyString, const wxPoint& pos = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize, long nStyle = wxSP_ARROW_KEYS, int nMin = 0,
                  int nMax = 100, int nInitial = 0, const wxString& strName = "wxSpinCtrl");
    ~CZoltSpinCtrl() override;

    // Name and unit of the value as the range message shows them.
    void setNameUnit(const wxString& strName, const wxString& strUnit);
    // Changes range and unit together; a value the new range leaves outside
    // is clamped without a message.
    void setRangeUnit(int nMin, int nMax, const wxString& strUnit);

    const wxString& getName() const { return m_strName; }
    const wxString& getUnit() const { return m_strUnit; }

    // The typed value, clamped to the range; an out-of-range or non-numeric
    // entry is reported once. Leaves text and range alone.
    int GetValue() const;

    // What the check makes of a text: leading blanks, an optional sign and
    // decimal digits up to the first other character; no number gives the
    // smallest int, a number beyond the int range ends at the nearest limit.
    static int parseText(const wxString& strText);

    // True while a range message of any control is open.
    static bool isMessageShown() { return s_bMessageShown; }
    // True from a commit with a bad entry until its message has been shown.
    bool isMessagePending() const { return m_bMessagePending; }

    // Entry point of the native hooks: the field is about to be committed
    // (focus leaves it, Enter, a step key), so the typed text is checked now,
    // before the native control clamps it silently. True when the entry was
    // out of range and now shows the limit.
    bool commitEntry();

private:
    int checkText(const wxString& strText, bool bDeferMessage) const;
    // The message of the last commit, once the focus is in this control's window.
    void showPendingMessage();
    bool isFocusHome() const;
    void showRangeMessage(bool bMax, int nLimit) const;
    void connectNative();
    void disconnectNative();
    // true once the control or its window is on the way out
    bool isClosing() const;

    wxString m_strName;
    wxString m_strUnit;
    bool m_bSetRange = false;
    // a message asked for while focus moves, shown once the move is over
    mutable bool m_bMessagePending = false;
    mutable bool m_bPendingMax = false;
    mutable int m_nPendingLimit = 0;

    static bool s_bMessageShown;
};
