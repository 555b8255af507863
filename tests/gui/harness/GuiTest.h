// Helpers for tests in the real toolkit: dialogs, events, what windows show, the editor.
#pragma once

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/modalhook.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>

#include <gtk/gtk.h>

#include "AccessibleName.h"
#include "CDlgMessage.h"
#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"
#include "CZoltSDFrameHandler.h"
#include "CZoltSpinCtrl.h"

inline void PrintTo(const wxString& str, std::ostream* pOs)
{
    *pOs << str.utf8_string();
}

const wxString kDegC = wxString::FromUTF8("\u00B0C"), kDegF = wxString::FromUTF8("\u00B0F");

// While it lives, each modal dialog goes to fnAnswer instead of the screen.
struct CDialogHook : wxModalDialogHook
{
    explicit CDialogHook(std::function<int(wxDialog*)> fn) : m_fn(std::move(fn)) { Register(); }
    int Enter(wxDialog* pDlg) override { return m_fn(pDlg); }
    std::function<int(wxDialog*)> m_fn;
};

// Runs fnRun; gives the messages shown, "title|text" a line, answered after fnWhileOpen.
inline wxString messagesOf(const std::function<void()>& fnRun,
                           const std::function<void(wxDialog*)>& fnWhileOpen = {})
{
    wxString str;
    CDialogHook hook(
        [&](wxDialog* pDlg)
        {
            auto* pMsg = dynamic_cast<CDlgMessage*>(pDlg);
            str << pDlg->GetTitle() << "|"
                << (pMsg ? pMsg->getStaticTextMessage()->GetLabel() : "?") << "\n";
            if (fnWhileOpen)
                fnWhileOpen(pDlg);
            return wxID_OK;
        });
    fnRun();
    return str;
}

inline void pumpEvents(int nMs = 50)
{
    for (wxStopWatch sw; sw.Time() < nMs; wxMilliSleep(2))
        wxTheApp->ProcessPendingEvents(), wxYield();
}

inline bool waitUntil(const std::function<bool()>& fnDone, int nTimeoutMs = 2000)
{
    for (wxStopWatch sw; !fnDone() && sw.Time() < nTimeoutMs;)
        pumpEvents(5);
    return fnDone();
}

// Each control, a line: text or value, tool tip, (e)nabled, (s)hown, checked (x) or not (-).
inline wxString snapshotOf(wxWindow* pParent, const wxString& strIndent = "")
{
    wxString str;
    for (wxWindow* p : pParent->GetChildren())
    {
        wxString strShown = p->GetLabel();
        if (auto* pSpin = dynamic_cast<CZoltSpinCtrl*>(p))
            strShown = wxString::Format("%s %d..%d ", pSpin->GetTextValue(), pSpin->GetMin(),
                                        pSpin->GetMax()) +
                       pSpin->getUnit();
        if (auto* pCombo = dynamic_cast<wxComboBox*>(p))
            strShown = wxJoin(pCombo->GetStrings(), ',') + "=" + pCombo->GetValue();
        if (dynamic_cast<wxSpinCtrl*>(p) || dynamic_cast<wxComboBox*>(p)) // for screen readers
            strShown << " '" << getAccessibleName(p) << "'";
        auto* pBox = dynamic_cast<wxCheckBox*>(p);
        auto* pRadio = dynamic_cast<wxRadioButton*>(p);
        str << strIndent << strShown << "|" << p->GetToolTipText() << "|"
            << (p->IsEnabled() ? "e" : "") << (p->IsShown() ? "s" : "")
            << (pBox     ? (pBox->GetValue() ? "x" : "-")
                : pRadio ? (pRadio->GetValue() ? "x" : "-")
                         : "")
            << "\n";
        if (dynamic_cast<wxStaticBox*>(p))
            str << snapshotOf(p, strIndent + "  ");
    }
    return str;
}

using Records = std::pair<std::vector<uint8_t>, std::vector<uint8_t>>;
inline Records recordsOf(const SysPar& rSys, const ToolPar& rTool)
{
    const auto* pS = reinterpret_cast<const uint8_t*>(&rSys);
    const auto* pT = reinterpret_cast<const uint8_t*>(&rTool);
    return {{pS, pS + sizeof(rSys)}, {pT, pT + sizeof(rTool)}};
}

struct CHandlerProbe : CZoltSDFrameHandler
{
    using CZoltSDFrameHandler::CZoltSDFrameHandler;
    using CZoltSDFrameHandler::m_apTempSpin; // T 1..3, variable, standby temperature
    using CZoltSDFrameHandler::m_apUnitText;
    using CZoltSDFrameHandler::showRecords;

    template <class T = CZoltSpinCtrl> T* at(int nId) { return static_cast<T*>(FindWindow(nId)); }
    // Sends the event of a menu item, or of the button nId.
    void menu(int nId)
    {
        wxCommandEvent event(FindWindow(nId) ? wxEVT_BUTTON : wxEVT_MENU, nId);
        ProcessWindowEvent(event);
    }
    // The user clicks the check box nId into a state, or selects the radio button nId.
    void click(int nId, bool bChecked = true)
    {
        wxWindow* p = FindWindow(nId);
        auto* pBox = dynamic_cast<wxCheckBox*>(p);
        pBox ? pBox->SetValue(bChecked) : static_cast<wxRadioButton*>(p)->SetValue(bChecked);
        wxCommandEvent event(pBox ? wxEVT_CHECKBOX : wxEVT_RADIOBUTTON, nId);
        event.SetInt(bChecked);
        p->ProcessWindowEvent(event);
    }
    Records records()
    {
        SysPar s;
        ToolPar t;
        EXPECT_TRUE(getSysPar(s) && getToolPar(t));
        return recordsOf(s, t);
    }
};

// The editor's window over a fake volume layer and a scripted prompter.
class CHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CHandlerProbe(m_layer);
        m_pFrame->setPrompter(&m_prompter);
        m_pFrame->Show();
        waitUntil([this] { return m_pFrame->IsShownOnScreen(); });
        pumpEvents(10); // for what the window does once it is up
    }
    void TearDown() override
    {
        if (m_pFrame)
            m_pFrame->Destroy();
        pumpEvents(20);
    }
    wxString snapshot() const { return snapshotOf(m_pFrame); }
    wxString path(const std::string& strName) const
    {
        return wxString::FromUTF8(m_dir.file(strName));
    }
    wxString report() const
    {
        const auto& a = m_prompter.getReports();
        return a.empty() ? "" : a.back().strTitle + ": " + a.back().strText;
    }
    wxString file() const { return m_pFrame->GetTitle() + "|" + m_pFrame->getCurrentFile(); }

    CFakeVolumeLayer m_layer;
    CScriptedPrompter m_prompter;
    CHandlerProbe* m_pFrame = nullptr;
    CTempDir m_dir; // for the files a test saves or opens
};
