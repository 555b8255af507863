// The editor's main window with its controls and binding state in reach of
// the tests, over a scripted volume layer and a scripted prompter, and the
// few ways a test plays the user's part on it.
#pragma once

#include "GuiTest.h"

#include "CDataCard.h"
#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CZoltSDFrameHandler.h"
#include "CZoltSpinCtrl.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/log.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace handlertest
{
// What the controls show, in the display unit; the records a test builds
// from it are those that reading the controls must give back.
struct Shown
{
    bool bCelsius;
    bool bLocked;
    bool bFixed;
    int nVar;
    int nStandby;
    std::array<int, 3> anFix;
    int nVarEnergy;
    std::array<int, 3> anFixEnergy;
    int nFixCnt;
    int nStandbyTm;
    int nShutdownTm;
};

inline int16_t toRecord(int nShown, bool bCelsius)
{
    const auto n = static_cast<int16_t>(nShown);
    return bCelsius ? CDataCard::fromCentigrade(n) : CDataCard::fromFahrenheit(n);
}

inline SysPar makeSys(const Shown& s)
{
    SysPar sysPar;
    std::memset(&sysPar, 0, sizeof(sysPar));
    sysPar.cType = 0x61;
    sysPar.cLength = 45;
    sysPar.cVersion = 1;
    sysPar.nUpdateFlag = 0x00000003;
    sysPar.cUnit = s.bCelsius ? 1 : 2;
    sysPar.cLocked = s.bLocked ? 1 : 0;
    sysPar.nEntityNo = 1;
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&sysPar), sizeof(sysPar));
    return sysPar;
}

inline ToolPar makeTool(const Shown& s)
{
    ToolPar toolPar;
    std::memset(&toolPar, 0, sizeof(toolPar));
    toolPar.cType = 0x62;
    toolPar.cLength = 43;
    toolPar.cVersion = 1;
    toolPar.nUpdateFlag = s.bFixed ? 0x003FC7F0 : 0x0038001B;
    toolPar.nVarSetT100mC = toRecord(s.nVar, s.bCelsius);
    toolPar.nVarStandbyT100mC = toRecord(s.nStandby, s.bCelsius);
    toolPar.cVarEnergy = static_cast<uint8_t>(s.nVarEnergy);
    toolPar.cFixEnabled = s.bFixed ? 1 : 0;
    for (int i = 0; i < 3; ++i)
    {
        toolPar.anFixSetT100mC[i] = toRecord(s.anFix[i], s.bCelsius);
        toolPar.anFixStandbyT100mC[i] = toolPar.nVarStandbyT100mC;
        toolPar.acFixEnergy[i] = static_cast<uint8_t>(s.anFixEnergy[i]);
    }
    toolPar.cFixCnt = static_cast<uint8_t>(s.nFixCnt);
    toolPar.cFixActualIdx = s.nFixCnt == 3 ? 1 : 0;
    toolPar.cWakeup = 1;
    toolPar.cStandbyTmMin = static_cast<uint8_t>(s.nStandbyTm);
    toolPar.cShutdownTmMin = static_cast<uint8_t>(s.nStandbyTm != 0 ? s.nShutdownTm : 0);
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&toolPar), sizeof(toolPar));
    return toolPar;
}

} // namespace handlertest

class CHandlerProbe : public CZoltSDFrameHandler
{
public:
    explicit CHandlerProbe(CVolumeLayer& rLayer) : CZoltSDFrameHandler(rLayer) {}

    using CZoltSDFrameHandler::m_apTempSpin;
    using CZoltSDFrameHandler::m_apUnitText;
    using CZoltSDFrameHandler::m_bUpdating;
    using CZoltSDFrameHandler::onEvMenuSettingsSpeechGerman;
    using CZoltSDFrameHandler::showRecords;

    using CZoltSDFrame::m_pCheckboxKeylocked;
    using CZoltSDFrame::m_pCheckboxShutDown;
    using CZoltSDFrame::m_pCheckboxStandby;
    using CZoltSDFrame::m_pCheckboxT2;
    using CZoltSDFrame::m_pCheckboxT3;
    using CZoltSDFrame::m_pComboBoxT1Energy;
    using CZoltSDFrame::m_pComboBoxT2Energy;
    using CZoltSDFrame::m_pComboBoxT3Energy;
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
    using CZoltSDFrame::m_pStaticTextStandbyTempUnit;
    using CZoltSDFrame::m_pStaticTextStandbyTimeUnit;
    using CZoltSDFrame::m_pStaticTextT1;
    using CZoltSDFrame::m_pStaticTextT1Unit;
    using CZoltSDFrame::m_pStaticTextT2Unit;
    using CZoltSDFrame::m_pStaticTextT3Unit;
    using CZoltSDFrame::m_pStaticTextTVarUnit;

    // Sends the event a menu item or button raises; true when a handler
    // consumed it (did not skip it).
    bool command(wxEventType type, int nId)
    {
        wxCommandEvent event(type, nId);
        event.SetEventObject(this);
        return ProcessWindowEvent(event);
    }
    bool menu(int nId) { return command(wxEVT_MENU, nId); }
    bool button(int nId) { return command(wxEVT_BUTTON, nId); }

    // The user clicks a check box into the given state.
    void click(wxCheckBox* pBox, bool bChecked)
    {
        pBox->SetValue(bChecked);
        wxCommandEvent event(wxEVT_CHECKBOX, pBox->GetId());
        event.SetEventObject(pBox);
        event.SetInt(bChecked ? 1 : 0);
        pBox->ProcessWindowEvent(event);
    }
    // The user selects a radio button (the other of its group is cleared).
    void click(wxRadioButton* pButton)
    {
        pButton->SetValue(true);
        wxCommandEvent event(wxEVT_RADIOBUTTON, pButton->GetId());
        event.SetEventObject(pButton);
        event.SetInt(1);
        pButton->ProcessWindowEvent(event);
    }

    // Both records as the controls give them.
    std::vector<uint8_t> sysBytes()
    {
        SysPar sysPar;
        EXPECT_TRUE(getSysPar(sysPar));
        return bytes(sysPar);
    }
    std::vector<uint8_t> toolBytes()
    {
        ToolPar toolPar;
        EXPECT_TRUE(getToolPar(toolPar));
        return bytes(toolPar);
    }

    template <typename T> static std::vector<uint8_t> bytes(const T& rRecord)
    {
        const auto* p = reinterpret_cast<const uint8_t*>(&rRecord);
        return std::vector<uint8_t>(p, p + sizeof(T));
    }
};

// Collects the log records instead of showing them, debug level included,
// for as long as it lives.
class CLogCollector : public wxLog
{
public:
    CLogCollector() : m_pPrevious(wxLog::SetActiveTarget(this)), m_nLevel(wxLog::GetLogLevel())
    {
        wxLog::SetLogLevel(wxLOG_Debug);
    }
    ~CLogCollector() override
    {
        wxLog::SetActiveTarget(m_pPrevious);
        wxLog::SetLogLevel(m_nLevel);
    }
    std::vector<wxString> m_astrMessages;

protected:
    void DoLogRecord(wxLogLevel, const wxString& strMsg, const wxLogRecordInfo&) override
    {
        m_astrMessages.push_back(strMsg);
    }

private:
    wxLog* m_pPrevious;
    wxLogLevel m_nLevel;
};

// A shown main window over a fake volume layer whose questions and reports
// go to a scripted prompter.
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
        CHandlerProbe* pFrame = m_pFrame;
        if (!isAlive(pFrame))
            return;
        pFrame->Destroy();
        guitest::waitUntil([pFrame] { return !isAlive(pFrame); });
    }
    static bool isAlive(wxWindow* pFrame) { return wxTopLevelWindows.Find(pFrame) != nullptr; }

    // Every control whose state the binding may touch, as text.
    std::vector<wxString> snapshot() const
    {
        CHandlerProbe* f = m_pFrame;
        std::vector<wxString> astr;
        for (CZoltSpinCtrl* p :
             {f->m_pSpinCtrlT1, f->m_pSpinCtrlT2, f->m_pSpinCtrlT3, f->m_pSpinCtrlTVar,
              f->m_pSpinCtrlStandbyTemp, f->m_pSpinCtrlStandbyTime, f->m_pSpinCtrlShutdownTime})
            astr.push_back(wxString::Format("%s %d..%d %s", p->GetTextValue(), p->GetMin(),
                                            p->GetMax(), p->getUnit()));
        for (wxComboBox* p : {f->m_pComboBoxT1Energy, f->m_pComboBoxT2Energy,
                              f->m_pComboBoxT3Energy, f->m_pComboBoxTVarEnergy})
            astr.push_back(wxString::Format("%d", p->GetSelection()));
        for (wxCheckBox* p : {f->m_pCheckboxKeylocked, f->m_pCheckboxT2, f->m_pCheckboxT3,
                              f->m_pCheckboxStandby, f->m_pCheckboxShutDown})
            astr.push_back(p->GetValue() ? "x" : "-");
        for (wxRadioButton* p : {f->m_pRadioBtnCelsius, f->m_pRadioBtnFahrenheit,
                                 f->m_pRadioBtnTempFix, f->m_pRadioBtnTempVar})
            astr.push_back(p->GetValue() ? "o" : "-");
        for (wxStaticText* p : f->m_apUnitText)
            astr.push_back(p->GetLabel());
        for (wxWindow* p : f->GetChildren())
            astr.push_back(p->IsEnabled() ? "e" : "d");
        return astr;
    }

    static int energy(const wxComboBox* pCombo) { return pCombo->GetSelection() + 1; }
    static wxString text(const CZoltSpinCtrl* pSpin) { return pSpin->GetTextValue(); }

    CFakeVolumeLayer m_layer;
    CScriptedPrompter m_prompter;
    CHandlerProbe* m_pFrame = nullptr;
};
