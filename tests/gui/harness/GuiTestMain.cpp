// Runs the GUI tests on the GUI thread of a started toolkit, inside an active
// event loop so that yielding and queued calls work.
#include "GuiTest.h"

#include <wx/apptrait.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>

#include <memory>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv))
        return 2;                                   // no display
    delete wxLog::SetActiveTarget(new wxLogStderr); // no log window may block a test
    // Failed toolkit checks fail the test.
    wxSetAssertHandler(
        [](const wxString& strFile, int nLine, const wxString& strFunc, const wxString& strCond,
           const wxString& strMsg)
        {
            ADD_FAILURE_AT(strFile.utf8_str().data(), nLine)
                << strFunc << ": " << strCond << " " << strMsg;
        });
    // A dialog that no test answers fails the test and is cancelled instead of blocking the run.
    CDialogHook hook(
        [](wxDialog* pDlg)
        { return ADD_FAILURE() << "unexpected dialog " << pDlg->GetTitle(), wxID_CANCEL; });
    std::unique_ptr<wxEventLoopBase> pLoop(wxTheApp->GetTraits()->CreateEventLoop());
    wxEventLoopActivator activator(pLoop.get());
    return RUN_ALL_TESTS();
}
