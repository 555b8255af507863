#include "GuiTest.h"

#include <wx/app.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>
#include <wx/textentry.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace
{
int s_nAssertCount = 0;
bool s_bCountingAsserts = false;
wxString s_strLastAssert;

void testAssertHandler(const wxString& strFile, int nLine, const wxString& strFunc,
                       const wxString& strCond, const wxString& strMsg)
{
    s_strLastAssert = strMsg.empty() ? strCond : strMsg;
    ++s_nAssertCount;
    if (s_bCountingAsserts)
        return;
    ADD_FAILURE_AT(strFile.utf8_str().data(), nLine)
        << "toolkit assertion in " << strFunc << ": " << strCond << " " << strMsg;
}

// Installed before any test runs.
struct CAssertHandlerInstaller : ::testing::Environment
{
    void SetUp() override { wxSetAssertHandler(testAssertHandler); }
};
const auto* const s_pInstaller [[maybe_unused]] =
    ::testing::AddGlobalTestEnvironment(new CAssertHandlerInstaller);
} // namespace

void CGuiTestModalHook::ReportFailure(const wxString& strMsg)
{
    ADD_FAILURE_AT(m_pcFile ? m_pcFile : __FILE__, m_nLine) << strMsg;
}

int CExpectMessage::OnInvoked(CDlgMessage* pDlg) const
{
    EXPECT_EQ(m_strTitle, pDlg->GetTitle());
    EXPECT_EQ(m_strText, pDlg->getStaticTextMessage()->GetLabel());
    if (m_fnWhileOpen)
        m_fnWhileOpen(pDlg);
    return wxID_OK;
}

int CExpectChoice::OnInvoked(wxSingleChoiceDialog* pDlg) const
{
    EXPECT_EQ(m_strCaption, pDlg->GetTitle());
    std::vector<wxString> astrShown;
    for (wxWindow* pChild : pDlg->GetChildren())
        if (auto* pList = dynamic_cast<wxListBox*>(pChild))
            for (unsigned n = 0; n < pList->GetCount(); ++n)
                astrShown.push_back(pList->GetString(n));
    EXPECT_EQ(m_astrChoices, astrShown);
    if (m_nIndex < 0)
        return wxID_CANCEL;
    pDlg->SetSelection(m_nIndex);
    return wxID_OK;
}

namespace guitest
{
void pumpEvents(int nMs)
{
    wxStopWatch sw;
    do
    {
        wxTheApp->ProcessPendingEvents();
        wxYield();
        wxMilliSleep(2);
    } while (sw.Time() < nMs);
}

bool waitUntil(const std::function<bool()>& fnDone, int nTimeoutMs)
{
    wxStopWatch sw;
    while (!fnDone() && sw.Time() < nTimeoutMs)
        pumpEvents(5);
    return fnDone();
}

bool focusWindow(wxWindow* pWin)
{
    wxWindow* pTop = wxGetTopLevelParent(pWin);
    pTop->Raise();
    pWin->SetFocus();
    return waitUntil([pWin] { return pWin->HasFocus(); });
}

void typeInto(wxWindow* pWin, const wxString& strText)
{
    EXPECT_TRUE(focusWindow(pWin)) << "no focus for typing";
    if (auto* pEntry = dynamic_cast<wxTextEntryBase*>(pWin))
        pEntry->SelectAll();
    pumpEvents(10);
    wxUIActionSimulator sim;
    // Select-all and delete first, so that an empty text is typed too.
    sim.Char('a', wxMOD_CONTROL);
    sim.Char(WXK_DELETE);
    pumpEvents(10);
    if (!strText.empty())
        sim.Text(strText.utf8_str());
    pumpEvents(30);
}

void pressKey(int nKey)
{
    wxUIActionSimulator().Char(nKey);
    pumpEvents(30);
}

CAssertCounter::CAssertCounter()
{
    s_nAssertCount = 0;
    s_strLastAssert.clear();
    s_bCountingAsserts = true;
}

CAssertCounter::~CAssertCounter()
{
    s_bCountingAsserts = false;
}

int CAssertCounter::count() const
{
    return s_nAssertCount;
}

const wxString& CAssertCounter::lastMessage() const
{
    return s_strLastAssert;
}

} // namespace guitest

void CGuiFrameTest::SetUp()
{
    m_pFrame = new wxFrame(nullptr, wxID_ANY, "gui test", wxPoint(40, 40), wxSize(400, 300));
    m_pPanel = new wxPanel(m_pFrame);
    m_pFrame->Show();
    m_pFrame->Raise();
    guitest::waitUntil([this] { return m_pFrame->IsShownOnScreen() && m_pFrame->IsActive(); });
}

void CGuiFrameTest::TearDown()
{
    m_pFrame->Destroy();
    guitest::pumpEvents(20);
}
