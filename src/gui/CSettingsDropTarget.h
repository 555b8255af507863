// Lets the main window take a settings file dropped onto it from a file
// manager; it opens as if chosen in "Open...". Of several files only the
// first is opened.
#pragma once

#include <wx/dnd.h>

class CZoltSDFrameHandler;

class CSettingsDropTarget : public wxFileDropTarget
{
public:
    explicit CSettingsDropTarget(CZoltSDFrameHandler& rFrame) : m_rFrame(rFrame) {}

    bool OnDropFiles(wxCoord nX, wxCoord nY, const wxArrayString& astrFiles) override;

private:
    CZoltSDFrameHandler& m_rFrame;
};
