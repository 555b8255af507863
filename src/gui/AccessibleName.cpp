#include "AccessibleName.h"

#include <wx/string.h>
#include <wx/window.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

void setAccessibleName(wxWindow* pWin, const wxString& strName)
{
#ifdef __WXGTK__
    if (AtkObject* pAcc = gtk_widget_get_accessible(pWin->GetHandle()))
        atk_object_set_name(pAcc, strName.utf8_str());
#else
    (void)pWin, (void)strName;
#endif
}

wxString getAccessibleName(wxWindow* pWin)
{
#ifdef __WXGTK__
    if (AtkObject* pAcc = gtk_widget_get_accessible(pWin->GetHandle()))
        if (const char* pcName = atk_object_get_name(pAcc))
            return wxString::FromUTF8(pcName);
#else
    (void)pWin;
#endif
    return wxString();
}
