// An About dialog built from the toolkit's description of a program: icon,
// name and version in a large bold font, copyright, description, web link,
// one collapsible pane per contributor list, and an OK button. Derived
// classes may add their own controls in doAddCustomControls().
#pragma once

#include <wx/aboutdlg.h>
#include <wx/dialog.h>

class wxSizer;

class CDlgAbout : public wxDialog
{
public:
    // Two-step creation: construct, then Create.
    CDlgAbout() = default;
    CDlgAbout(wxWindow* pParent, const wxAboutDialogInfo& info);

    // Builds the whole dialog; false only if the window itself could not be
    // created.
    bool Create(wxWindow* pParent, const wxAboutDialogInfo& info);

    // Adds a window to the text column, centred, with a border below.
    void addControl(wxWindow* pWin);
    // Adds a line of text to the text column; an empty text adds nothing.
    void addText(const wxString& strText);
    // Adds a collapsed pane below the text column that shows strText when
    // opened.
    void addCollapsiblePane(const wxString& strTitle, const wxString& strText);

    // "a, b, c\n": each entry followed by ", ", the last one by a line break.
    static wxString allAsString(const wxArrayString& astr);

protected:
    // Called once by Create, after the contributor panes and before the
    // buttons.
    virtual void doAddCustomControls() {}

    wxSizer* m_pSizerText = nullptr;
    wxSizer* m_pSizerTop = nullptr;
};
