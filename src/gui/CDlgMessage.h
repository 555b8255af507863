// The one dialog through which the editor tells the user about a failure or
// a refused entry: a warning icon, the text and a single OK button. Callers
// construct it on the stack, centre it on its parent, show it modally and
// ignore the result.
#pragma once

#include <wx/dialog.h>

class wxButton;
class wxStaticBitmap;
class wxStaticText;

class CDlgMessage : public wxDialog
{
public:
    CDlgMessage(wxWindow* pParent, wxWindowID id, const wxString& strTitle,
                const wxString& strMessage, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);

    wxStaticBitmap* getStaticBitmapWarning() const { return m_pStaticBitmapWarning; }
    wxStaticText* getStaticTextMessage() const { return m_pStaticTextMessage; }
    wxButton* getButtonOk() const { return m_pButtonOk; }

    // The least width at which a window manager shows strTitle uncut in the
    // title bar of pWin, caption buttons included.
    static int getMinWidthForTitle(wxWindow* pWin, const wxString& strTitle);
    static constexpr int kCaptionButtonsWidth = 96;

private:
    wxStaticBitmap* m_pStaticBitmapWarning = nullptr;
    wxStaticText* m_pStaticTextMessage = nullptr;
    wxButton* m_pButtonOk = nullptr;
};
