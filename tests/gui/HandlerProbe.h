// The editor's main window with its controls and binding state in reach of
// the tests, over a scripted volume layer and a scripted prompter, and the
// few ways a test plays the user's part on it.
#pragma once

#include "GuiTest.h"

#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CZoltSDFrameHandler.h"
#include "CZoltSpinCtrl.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/log.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include <cstring>
#include <memory>
#include <vector>

class CHandlerProbe : public CZoltSDFrameHandler
{
public:
    explicit CHandlerProbe(CVolumeLayer& rLayer) : CZoltSDFrameHandler(rLayer) {}

    using CZoltSDFrameHandler::m_apTempSpin;
    using CZoltSDFrameHandler::m_apUnitText;
    using CZoltSDFrameHandler::m_bUpdating;
    using CZoltSDFrameHandler::onEvMenuSettingsSpeechGerman;
    using CZoltSDFrameHandler::showRecords;

    using CZoltSDFrame::m_pButtonDefault;
    using CZoltSDFrame::m_pButtonLoad;
    using CZoltSDFrame::m_pButtonRead;
    using CZoltSDFrame::m_pButtonSave;
    using CZoltSDFrame::m_pButtonWrite;
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
        pFrame->Destroy();
        guitest::waitUntil([pFrame] { return !wxTopLevelWindows.Find(pFrame); });
    }

    static int energy(const wxComboBox* pCombo) { return pCombo->GetSelection() + 1; }
    static wxString text(const CZoltSpinCtrl* pSpin) { return pSpin->GetTextValue(); }

    CFakeVolumeLayer m_layer;
    CScriptedPrompter m_prompter;
    CHandlerProbe* m_pFrame = nullptr;
};
