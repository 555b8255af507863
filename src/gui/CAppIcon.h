// The application icon, drawn once as SVG and rendered at whatever size a
// place asks for.
#pragma once

#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

class CAppIcon
{
public:
    // For controls and dialogs that take a bundle; 32 by 32 by default.
    static wxBitmapBundle getBundle();
    // For wxTopLevelWindow::SetIcons: the sizes window managers ask for.
    static wxIconBundle getIconBundle();
    // The SVG text itself.
    static const char* getSvg();
};
