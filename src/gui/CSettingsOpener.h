// Opens a settings file that reaches the editor without its file dialog (named
// on the command line, dropped onto the window) exactly as "Open..." does once
// that file is chosen: the same messages on failure, the same clamping, the
// same title and current file.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

class CZoltSDFrameHandler;

class CSettingsOpener
{
public:
    // A relative strPath is taken from the working directory.
    static bool open(CZoltSDFrameHandler& rFrame, const wxString& strPath);
    // The first argument after the program name that is not an option (every
    // argument after "--" is one); empty when there is none.
    static wxString fileArgument(const wxArrayString& astrArgs);
};
