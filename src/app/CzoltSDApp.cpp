#include "CzoltSDApp.h"

#include "CZoltSDFrameHandler.h"

wxIMPLEMENT_APP_NO_MAIN(CzoltSDApp);

bool CzoltSDApp::OnInit()
{
    // The base class is left out on purpose: the editor takes no command-line arguments, so
    // none of them, not even an unknown option or a help request, may stop the start.
    m_pFrame = new CZoltSDFrameHandler();
    SetTopWindow(m_pFrame);
    m_pFrame->Show();
    return true;
}

int CzoltSDApp::OnExit()
{
    return 0;
}
