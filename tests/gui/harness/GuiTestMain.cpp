// Runs the GUI tests on the GUI thread of a started toolkit, inside an active
// event loop so that yielding and queued calls work.
#include "GuiTest.h"

#include <wx/apptrait.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>

#include <cstdio>

namespace
{
// Failed toolkit assertions, unmet dialog expectations among them, fail the test.
void testAssertHandler(const wxString& strFile, int nLine, const wxString& strFunc,
                       const wxString& strCond, const wxString& strMsg)
{
    ADD_FAILURE_AT(strFile.utf8_str().data(), nLine)
        << "toolkit assertion in " << strFunc << ": " << strCond << " " << strMsg;
}

// A modal dialog that no test expects fails the test and is cancelled instead
// of blocking the run.
struct CUnexpectedDialogHook : wxModalDialogHook
{
    int Enter(wxDialog* pDlg) override
    {
        ADD_FAILURE() << "unexpected dialog \"" << pDlg->GetTitle() << "\"";
        return wxID_CANCEL;
    }
};
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv))
    {
        std::fprintf(stderr, "gui_tests: the toolkit could not start (no display?)\n");
        return 2;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr); // no log window may block a test
    wxLog::SetLogLevel(wxLOG_Info);
    wxSetAssertHandler(testAssertHandler);
    CUnexpectedDialogHook hook;
    hook.Register();
    wxEventLoopBase* pLoop = wxTheApp->GetTraits()->CreateEventLoop();
    int nResult = 2;
    {
        wxEventLoopActivator activator(pLoop);
        nResult = RUN_ALL_TESTS();
    }
    delete pLoop;
    hook.Unregister();
    wxEntryCleanup();
    return nResult;
}
