#include "CAppIcon.h"

#include "AppIconSvg.h"

#include <wx/icon.h>

wxBitmapBundle CAppIcon::getBundle()
{
    return wxBitmapBundle::FromSVG(s_acAppIconSvg, wxSize(32, 32));
}

wxIconBundle CAppIcon::getIconBundle()
{
    wxIconBundle icons;
    const wxBitmapBundle bundle = getBundle();
    // Title bars and task switchers use these; larger views take the desktop
    // file's scalable icon, and rendering them would only delay the window.
    for (int n : {16, 24, 32, 48, 64})
    {
        wxIcon icon;
        icon.CopyFromBitmap(bundle.GetBitmap(wxSize(n, n)));
        if (icon.IsOk())
            icons.AddIcon(icon);
    }
    return icons;
}

const char* CAppIcon::getSvg()
{
    return s_acAppIconSvg;
}
