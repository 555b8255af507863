// Runs the GUI tests on the GUI thread of a started toolkit, inside an active
// event loop so that yielding and queued calls work.
#include "GuiTest.h"

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>

#include <cstdio>

namespace
{
// Failed toolkit assertions fail the test.
void testAssertHandler(const wxString& strFile, int nLine, const wxString& strFunc,
                       const wxString& strCond, const wxString& strMsg)
{
    ADD_FAILURE_AT(strFile.utf8_str().data(), nLine)
        << "toolkit assertion in " << strFunc << ": " << strCond << " " << strMsg;
}

// Ends any modal dialog that stays open for seconds: a test that leaves one
// behind fails instead of hanging until its time limit.
class CModalWatchdog : public wxTimer
{
public:
    void Notify() override
    {
        for (wxWindow* pTop : wxTopLevelWindows)
        {
            auto* pDlg = dynamic_cast<wxDialog*>(pTop);
            if (!pDlg || !pDlg->IsModal())
                continue;
            if (pDlg != m_pLast)
            {
                m_pLast = pDlg;
                m_swOpen.Start();
            }
            else if (m_swOpen.Time() > 3000)
            {
                ADD_FAILURE() << "modal dialog \"" << pDlg->GetTitle()
                              << "\" left open; closed by the test harness";
                m_pLast = nullptr;
                pDlg->EndModal(wxID_CANCEL);
            }
            return;
        }
        m_pLast = nullptr;
    }

private:
    wxDialog* m_pLast = nullptr;
    wxStopWatch m_swOpen;
};

class CGuiTestApp : public wxApp
{
public:
    bool OnInit() override // no log dialog may block a test
    {
        delete wxLog::SetActiveTarget(new wxLogStderr);
        return true;
    }
};
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    wxApp::SetInstance(new CGuiTestApp);
    if (!wxEntryStart(argc, argv))
    {
        std::fprintf(stderr, "gui_tests: the toolkit could not start (no display?)\n");
        return 2;
    }
    int nResult = 2;
    if (wxTheApp->CallOnInit())
    {
        wxEventLoopBase* pLoop = wxTheApp->GetTraits()->CreateEventLoop();
        {
            wxEventLoopActivator activator(pLoop);
            CModalWatchdog watchdog;
            watchdog.Start(250);
            wxSetAssertHandler(testAssertHandler);
            nResult = RUN_ALL_TESTS();
            watchdog.Stop();
        }
        delete pLoop;
        wxTheApp->OnExit();
    }
    wxEntryCleanup();
    return nResult;
}
