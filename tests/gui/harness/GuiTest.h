// Helpers for tests inside the real toolkit: expectations for modal dialogs,
// typing and pumping through the X server, and the editor's window over a
// fake card and a scripted prompter, with its controls in reach.
#pragma once

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>
#include <wx/textentry.h>
#include <wx/uiaction.h>

#include <gtk/gtk.h>

#include <functional>
#include <vector>

// Failures of dialog expectations become test failures instead of assertions.
class CGuiTestModalHook;
#define wxTEST_DIALOG_HOOK_CLASS CGuiTestModalHook
#include <wx/choicdlg.h>
#include <wx/testing.h>

#include "CDataCard.h"
#include "CDlgMessage.h"
#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"
#include "CZoltSDFrameHandler.h"
#include "CZoltSpinCtrl.h"

inline void PrintTo(const wxString& str, std::ostream* pOs)
{
    *pOs << '"' << str.utf8_string() << '"';
}

const wxString kDegC = wxString::FromUTF8("\u00B0C");
const wxString kDegF = wxString::FromUTF8("\u00B0F");

class CGuiTestModalHook : public wxTestingModalHook
{
public:
    CGuiTestModalHook(const char* pcFile, int nLine, const char* pcFunc)
        : wxTestingModalHook(pcFile, nLine, pcFunc), m_pcFile(pcFile), m_nLine(nLine)
    {
    }

protected:
    void ReportFailure(const wxString& strMsg) override
    {
        ADD_FAILURE_AT(m_pcFile ? m_pcFile : __FILE__, m_nLine) << strMsg;
    }

private:
    const char* m_pcFile;
    int m_nLine;
};

// Expects a dialog of class T and lets fnAnswer check it and give its answer.
template <class T> class CExpectDialog : public wxExpectModalBase<T>
{
public:
    explicit CExpectDialog(std::function<int(T*)> fnAnswer) : m_fnAnswer(std::move(fnAnswer)) {}

protected:
    int OnInvoked(T* pDlg) const override { return m_fnAnswer(pDlg); }

private:
    std::function<int(T*)> m_fnAnswer;
};

// Expects a CDlgMessage with this title and text and answers OK; the optional
// action runs while the dialog counts as open.
inline CExpectDialog<CDlgMessage> expectMessage(const wxString& strTitle, const wxString& strText,
                                                std::function<void(CDlgMessage*)> fnWhileOpen = {})
{
    return CExpectDialog<CDlgMessage>(
        [=](CDlgMessage* pDlg)
        {
            EXPECT_EQ(strTitle + "|" + strText,
                      pDlg->GetTitle() + "|" + pDlg->getStaticTextMessage()->GetLabel());
            if (fnWhileOpen)
                fnWhileOpen(pDlg);
            return wxID_OK;
        });
}

// Expects the single-choice dialog with this caption and these entries, and
// picks nIndex (OK) or cancels (nIndex -1).
inline CExpectDialog<wxSingleChoiceDialog> expectChoice(int nIndex, const wxString& strCaption,
                                                        const wxString& strChoices)
{
    return CExpectDialog<wxSingleChoiceDialog>(
        [=](wxSingleChoiceDialog* pDlg)
        {
            wxString strShown = pDlg->GetTitle();
            for (wxWindow* pChild : pDlg->GetChildren())
                if (auto* pList = dynamic_cast<wxListBox*>(pChild))
                    strShown += "|" + wxJoin(pList->GetStrings(), '|');
            EXPECT_EQ(strCaption + "|" + strChoices, strShown);
            pDlg->SetSelection(std::max(nIndex, 0));
            return nIndex < 0 ? int(wxID_CANCEL) : int(wxID_OK);
        });
}

// Runs code with every modal dialog counted as a failure.
#define EXPECT_NO_DIALOG(codeToRun)                                                                \
    {                                                                                              \
        CGuiTestModalHook wx_hook(__FILE__, __LINE__, __func__);                                   \
        codeToRun;                                                                                 \
        wx_hook.CheckUnmetExpectations();                                                          \
    }

namespace guitest
{
// Lets the toolkit and the X server handle what is queued, for about nMs.
inline void pumpEvents(int nMs = 50)
{
    wxStopWatch sw;
    do
    {
        wxTheApp->ProcessPendingEvents();
        wxYield();
        wxMilliSleep(2);
    } while (sw.Time() < nMs);
}

// Pumps until fnDone returns true or nTimeoutMs passes; returns fnDone().
inline bool waitUntil(const std::function<bool()>& fnDone, int nTimeoutMs = 2000)
{
    wxStopWatch sw;
    while (!fnDone() && sw.Time() < nTimeoutMs)
        pumpEvents(5);
    return fnDone();
}

inline bool focusWindow(wxWindow* pWin)
{
    wxGetTopLevelParent(pWin)->Raise();
    pWin->SetFocus();
    return waitUntil([pWin] { return pWin->HasFocus(); });
}

inline void pressKey(int nKey, int nModifiers = 0)
{
    wxUIActionSimulator().Char(nKey, nModifiers);
    pumpEvents(10);
}

// Focuses pWin and replaces its whole text by strText, typed key by key.
inline void typeInto(wxWindow* pWin, const wxString& strText)
{
    EXPECT_TRUE(focusWindow(pWin)) << "no focus for typing";
    if (auto* pEntry = dynamic_cast<wxTextEntryBase*>(pWin))
        pEntry->SelectAll();
    pumpEvents(10);
    pressKey('a', wxMOD_CONTROL); // and delete, so that an empty text is typed too
    pressKey(WXK_DELETE);
    if (!strText.empty())
        wxUIActionSimulator().Text(strText.utf8_str());
    pumpEvents(30);
}

// One notch of the mouse wheel over pWin, as the window system delivers it.
inline void scrollWheel(wxWindow* pWin, bool bUp)
{
    GtkWidget* pWidget = pWin->GetHandle();
    GdkEvent* pEvent = gdk_event_new(GDK_SCROLL);
    pEvent->scroll.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(pWidget)));
    pEvent->scroll.direction = bUp ? GDK_SCROLL_UP : GDK_SCROLL_DOWN;
    pEvent->scroll.time = GDK_CURRENT_TIME;
    GdkSeat* pSeat = gdk_display_get_default_seat(gtk_widget_get_display(pWidget));
    gdk_event_set_device(pEvent, gdk_seat_get_pointer(pSeat));
    gtk_widget_event(pWidget, pEvent);
    gdk_event_free(pEvent);
    pumpEvents(10);
}

// What each control under pParent shows, in the order of the window tree:
// text or value, tool tip, and (e)nabled, (s)hown, checked (x) or not (-).
inline std::vector<wxString> snapshot(wxWindow* pParent)
{
    std::vector<wxString> astr;
    for (wxWindow* p : pParent->GetChildren())
    {
        wxString str = p->GetLabel();
        if (auto* pSpin = dynamic_cast<CZoltSpinCtrl*>(p))
            str = wxString::Format("%s %d..%d %s", pSpin->GetTextValue(), pSpin->GetMin(),
                                   pSpin->GetMax(), pSpin->getUnit());
        if (auto* pCombo = dynamic_cast<wxComboBox*>(p))
            str = wxJoin(pCombo->GetStrings(), ',') + "=" + pCombo->GetValue();
        str += "|" + p->GetToolTipText() + "|" + (p->IsEnabled() ? "e" : "") +
               (p->IsShown() ? "s" : "");
        if (auto* pBox = dynamic_cast<wxCheckBox*>(p))
            str += pBox->GetValue() ? "x" : "-";
        if (auto* pRadio = dynamic_cast<wxRadioButton*>(p))
            str += pRadio->GetValue() ? "x" : "-";
        astr.push_back(str);
        if (dynamic_cast<wxStaticBox*>(p))
            for (const wxString& strChild : snapshot(p))
                astr.push_back("  " + strChild);
    }
    return astr;
}
} // namespace guitest

// Fixture with a frame that is shown, raised and holds the input focus.
class CGuiFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new wxFrame(nullptr, wxID_ANY, "gui test", wxPoint(40, 40), wxSize(400, 300));
        m_pPanel = new wxPanel(m_pFrame);
        m_pFrame->Show();
        m_pFrame->Raise();
        guitest::waitUntil([this] { return m_pFrame->IsShownOnScreen() && m_pFrame->IsActive(); });
    }
    void TearDown() override
    {
        m_pFrame->Destroy();
        guitest::pumpEvents(20);
    }

    wxFrame* m_pFrame = nullptr;
    wxWindow* m_pPanel = nullptr;
};

// Both records as bytes, to compare them whole.
using Records = std::pair<std::vector<uint8_t>, std::vector<uint8_t>>;
inline Records recordsOf(const SysPar& rSys, const ToolPar& rTool)
{
    const auto* pS = reinterpret_cast<const uint8_t*>(&rSys);
    const auto* pT = reinterpret_cast<const uint8_t*>(&rTool);
    return {{pS, pS + sizeof(rSys)}, {pT, pT + sizeof(rTool)}};
}

// The station's default records.
struct Defaults
{
    SysPar sysPar;
    ToolPar toolPar;
    Defaults() { CDataCard::setDefaultPar(sysPar, toolPar); }
    Records records() const { return recordsOf(sysPar, toolPar); }
};

// What the controls show, in the display unit.
struct Shown
{
    bool bCelsius, bLocked, bFixed;
    int nVar, nStandby;
    std::array<int, 3> anFix;
    int nVarEnergy;
    std::array<int, 3> anFixEnergy;
    int nFixCnt, nStandbyTm, nShutdownTm;

    // The records the controls give: the station defaults where there is no control.
    SysPar sys() const
    {
        SysPar sysPar = Defaults().sysPar;
        sysPar.cUnit = bCelsius ? 1 : 2;
        sysPar.cLocked = bLocked ? 1 : 0;
        CDataCard::setCrc(reinterpret_cast<uint8_t*>(&sysPar), sizeof(sysPar));
        return sysPar;
    }
    ToolPar tool() const
    {
        auto toRecord = [this](int n)
        {
            const auto n16 = static_cast<int16_t>(n);
            return bCelsius ? CDataCard::fromCentigrade(n16) : CDataCard::fromFahrenheit(n16);
        };
        ToolPar t = Defaults().toolPar;
        t.nUpdateFlag = bFixed ? 0x003FC7F0 : 0x0038001B;
        t.nVarSetT100mC = toRecord(nVar);
        t.nVarStandbyT100mC = toRecord(nStandby);
        t.cVarEnergy = static_cast<uint8_t>(nVarEnergy);
        t.cFixEnabled = bFixed ? 1 : 0;
        for (int i = 0; i < 3; ++i)
        {
            t.anFixSetT100mC[i] = toRecord(anFix[i]);
            t.anFixStandbyT100mC[i] = t.nVarStandbyT100mC;
            t.acFixEnergy[i] = static_cast<uint8_t>(anFixEnergy[i]);
        }
        t.cFixCnt = static_cast<uint8_t>(nFixCnt);
        t.cFixActualIdx = nFixCnt == 3 ? 1 : 0;
        t.cStandbyTmMin = static_cast<uint8_t>(nStandbyTm);
        t.cShutdownTmMin = static_cast<uint8_t>(nStandbyTm != 0 ? nShutdownTm : 0);
        CDataCard::setCrc(reinterpret_cast<uint8_t*>(&t), sizeof(t));
        return t;
    }
    Records records() const { return recordsOf(sys(), tool()); }
};

// Something other than the default in nearly every field.
const Shown kEdited = {false, true, true, 700, 400, {350, 500, 842}, 1, {2, 1, 3}, 2, 17, 42};

// The editor's window with its controls in reach.
class CHandlerProbe : public CZoltSDFrameHandler
{
public:
    using CZoltSDFrame::m_pCheckboxKeylocked;
    using CZoltSDFrame::m_pCheckboxShutDown;
    using CZoltSDFrame::m_pCheckboxStandby;
    using CZoltSDFrame::m_pCheckboxT2;
    using CZoltSDFrame::m_pCheckboxT3;
    using CZoltSDFrame::m_pComboBoxT1Energy;
    using CZoltSDFrame::m_pComboBoxTVarEnergy;
    using CZoltSDFrame::m_pRadioBtnCelsius;
    using CZoltSDFrame::m_pRadioBtnFahrenheit;
    using CZoltSDFrame::m_pRadioBtnTempFix;
    using CZoltSDFrame::m_pRadioBtnTempVar;
    using CZoltSDFrame::m_pSpinCtrlShutdownTime;
    using CZoltSDFrame::m_pSpinCtrlStandbyTemp;
    using CZoltSDFrame::m_pSpinCtrlStandbyTime;
    using CZoltSDFrame::m_pSpinCtrlT1;
    using CZoltSDFrame::m_pSpinCtrlT2;
    using CZoltSDFrame::m_pSpinCtrlT3;
    using CZoltSDFrame::m_pSpinCtrlTVar;
    using CZoltSDFrame::m_pStaticTextAfterStandby;
    using CZoltSDFrame::m_pStaticTextShutdownTimeUnit;
    using CZoltSDFrame::m_pStaticTextStandbyTimeUnit;
    using CZoltSDFrame::m_pStaticTextT1;
    using CZoltSDFrameHandler::CZoltSDFrameHandler;
    using CZoltSDFrameHandler::m_apTempSpin;
    using CZoltSDFrameHandler::m_apUnitText;
    using CZoltSDFrameHandler::showRecords;

    // Sends the event a menu item or button raises.
    void menu(int nId, wxEventType type = wxEVT_MENU)
    {
        wxCommandEvent event(type, nId);
        event.SetEventObject(this);
        ProcessWindowEvent(event);
    }
    void button(int nId) { menu(nId, wxEVT_BUTTON); }
    // The user clicks a check box into a state, or selects a radio button.
    template <class T> void click(T* pControl, bool bChecked = true)
    {
        pControl->SetValue(bChecked);
        wxCommandEvent event(std::is_same_v<T, wxCheckBox> ? wxEVT_CHECKBOX : wxEVT_RADIOBUTTON,
                             pControl->GetId());
        event.SetEventObject(pControl);
        event.SetInt(bChecked ? 1 : 0);
        pControl->ProcessWindowEvent(event);
    }
    void show(const Shown& s) { showRecords(s.sys(), s.tool()); }
    Records records()
    {
        SysPar sysPar;
        ToolPar toolPar;
        EXPECT_TRUE(getSysPar(sysPar) && getToolPar(toolPar));
        return recordsOf(sysPar, toolPar);
    }
};

// The editor's window, shown, over a fake volume layer whose questions and
// reports go to a scripted prompter.
class CHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CHandlerProbe(m_layer);
        m_pFrame->setPrompter(&m_prompter);
        m_pFrame->Show();
        guitest::waitUntil([this] { return m_pFrame->IsShownOnScreen(); });
    }
    void TearDown() override
    {
        m_pFrame->Destroy();
        guitest::pumpEvents(20);
    }
    std::vector<wxString> snapshot() const { return guitest::snapshot(m_pFrame); }
    wxString path(const std::string& strName) const
    {
        return wxString::FromUTF8(m_dir.file(strName));
    }
    // The reports since the prompter was last cleared, as "title: text", one a line.
    wxString report() const
    {
        wxString str;
        for (const auto& r : m_prompter.getReports())
            str += (str.empty() ? "" : "\n") + r.strTitle + ": " + r.strText;
        return str;
    }

    CFakeVolumeLayer m_layer;
    CScriptedPrompter m_prompter;
    CHandlerProbe* m_pFrame = nullptr;
    CTempDir m_dir; // for the files a test saves or opens
};
