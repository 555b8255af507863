// Runs the GUI tests inside a live toolkit application: the toolkit is
// started, an event loop is made active so that yielding and queued calls
// work, and then the tests run one after another on the GUI thread.
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
    bool OnInit() override
    {
        // Tests must not block on a log dialog.
        delete wxLog::SetActiveTarget(new wxLogStderr);
        return true;
    }
};
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
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
            nResult = RUN_ALL_TESTS();
            watchdog.Stop();
        }
        delete pLoop;
        wxTheApp->OnExit();
    }
    wxEntryCleanup();
    return nResult;
}
