#pragma once

#include <wx/app.h>

class CZoltSDFrameHandler;

// The editor application: one main window, which opens the settings file named
// on the command line.
class CzoltSDApp : public wxApp
{
public:
    bool OnInit() override;
    int OnExit() override;

private:
    // Not owned: the toolkit destroys the window when it is closed.
    CZoltSDFrameHandler* m_pFrame = nullptr;
};

wxDECLARE_APP(CzoltSDApp);
