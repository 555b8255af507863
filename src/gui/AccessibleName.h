// The name under which screen readers announce a control.
#pragma once

class wxString;
class wxWindow;

// Sets the accessible name of pWin's native widget; does nothing where the
// platform offers no way to.
void setAccessibleName(wxWindow* pWin, const wxString& strName);

// The accessible name of pWin's native widget, empty when it has none.
wxString getAccessibleName(wxWindow* pWin);
