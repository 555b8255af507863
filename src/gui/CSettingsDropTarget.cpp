#include "CSettingsDropTarget.h"

#include "CSettingsOpener.h"
#include "CZoltSDFrameHandler.h"

bool CSettingsDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& astrFiles)
{
    if (astrFiles.empty())
        return false;
    // The drag source waits until the drop returns: open, and show any
    // message, only after that.
    CZoltSDFrameHandler& rFrame = m_rFrame;
    const wxString strPath = astrFiles[0];
    rFrame.CallAfter([&rFrame, strPath]() { CSettingsOpener::open(rFrame, strPath); });
    return true;
}
