#pragma once

#include <wx/string.h>

// The program's name: the main window's first title and the name in the About box.
extern const wxString g_strAppName;
