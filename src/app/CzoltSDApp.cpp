#include "CzoltSDApp.h"

#include "CSettingsOpener.h"
#include "CZoltSDFrameHandler.h"

wxIMPLEMENT_APP_NO_MAIN(CzoltSDApp);

bool CzoltSDApp::OnInit()
{
    // The base class is left out on purpose: its parser would stop the start at an unknown
    // option or a help request. Options are ignored; the first file named is opened.
    m_pFrame = new CZoltSDFrameHandler();
    SetTopWindow(m_pFrame);
    m_pFrame->Show();
    const wxString strFile = CSettingsOpener::fileArgument(argv.GetArguments());
    // Once the main loop runs, so that any message appears over the shown window.
    if (!strFile.empty())
        m_pFrame->CallAfter([this, strFile]() { CSettingsOpener::open(*m_pFrame, strFile); });
    return true;
}

int CzoltSDApp::OnExit()
{
    return 0;
}
