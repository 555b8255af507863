// A main window layout whose controls the tests can reach, and the table of its
// routed events.
#pragma once

#include "CZoltSDFrame.h"

#include <wx/event.h>

#include <vector>

class CFrameProbe : public CZoltSDFrame
{
public:
    explicit CFrameProbe(const wxString& strTitle = "probe")
        : CZoltSDFrame(nullptr, wxID_ANY, strTitle, wxPoint(10, 10))
    {
    }

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
    using CZoltSDFrame::m_pMenuBar;
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
    using CZoltSDFrame::m_pStaticBoxSleepMode;
    using CZoltSDFrame::m_pStaticBoxStationMode;
    using CZoltSDFrame::m_pStaticBoxTempMode;
    using CZoltSDFrame::m_pStaticBoxTempUnit;
    using CZoltSDFrame::m_pStaticLineSleepMode;
    using CZoltSDFrame::m_pStaticLineTempMode;
    using CZoltSDFrame::m_pStaticLineTop;
    using CZoltSDFrame::m_pStaticTextAfterStandby;
    using CZoltSDFrame::m_pStaticTextShutdownTimeUnit;
    using CZoltSDFrame::m_pStaticTextStandbyTempUnit;
    using CZoltSDFrame::m_pStaticTextStandbyTimeUnit;
    using CZoltSDFrame::m_pStaticTextT1;
    using CZoltSDFrame::m_pStaticTextT1Unit;
    using CZoltSDFrame::m_pStaticTextT2Unit;
    using CZoltSDFrame::m_pStaticTextT3Unit;
    using CZoltSDFrame::m_pStaticTextTVarUnit;
};

// One routed event: its type, the identifier it carries and the handler it must reach.
struct FrameRoute
{
    wxEventType type;
    int nId;
    const char* pcHandler;
};

inline const std::vector<FrameRoute>& frameRoutes()
{
    static const std::vector<FrameRoute> s_aRoutes = {
        {wxEVT_MENU, ID_MENU_FILE_NEW, "onEvMenuFileNew"},
        {wxEVT_MENU, ID_MENU_FILE_OPEN, "onEvMenuFileOpen"},
        {wxEVT_MENU, ID_MENU_FILE_SAVE, "onEvMenuFileSave"},
        {wxEVT_MENU, ID_MENU_FILE_SAVE_AS, "onEvMenuFileSaveAs"},
        {wxEVT_MENU, ID_MENU_FILE_EXIT, "onEvMenuFileExit"},
        {wxEVT_MENU, ID_MENU_CARD_READ, "onEvMenuCardRead"},
        {wxEVT_MENU, ID_MENU_CARD_WRITE, "onEvMenuCardWrite"},
        {wxEVT_MENU, ID_MENU_SETTINGS_SPEECH_ENGLISH, "onEvMenuSettingsSpeechEnglish"},
        {wxEVT_MENU, ID_MENU_SETTINGS_DEFAULT, "onEvMenuSettingsDefault"},
        {wxEVT_MENU, ID_MENU_HELP_DOCUMENTATION, "onEvMenuHelpDocumentation"},
        {wxEVT_MENU, ID_MENU_HELP_ABOUT, "onEvMenuHelpAbout"},
        {wxEVT_CHECKBOX, ID_CHECKBOX_KEYLOCKED, "onEvCheckboxKeylocked"},
        {wxEVT_RADIOBUTTON, ID_RADIOBTN_CELSIUS, "onEvRadioBtnCelsius"},
        {wxEVT_RADIOBUTTON, ID_RADIOBTN_FAHRENHEIT, "onEvRadioBtnFahrenheit"},
        {wxEVT_RADIOBUTTON, ID_RADIOBTN_TEMP_FIX, "onEvRadioBtnTempFix"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_T1, "onEvSpinCtrlT1"},
        {wxEVT_COMBOBOX, ID_COMBOBOX_T1_ENERGY, "onEvComboBoxT1Energy"},
        {wxEVT_CHECKBOX, ID_CHECKBOX_T2, "onEvCheckboxT2"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_T2, "onEvSpinCtrlT2"},
        {wxEVT_COMBOBOX, ID_COMBOBOX_T2_ENERGY, "onEvComboBoxT2Energy"},
        {wxEVT_CHECKBOX, ID_CHECKBOX_T3, "onEvCheckboxT3"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_T3, "onEvSpinCtrlT3"},
        {wxEVT_COMBOBOX, ID_COMBOBOX_T3_ENERGY, "onEvComboBoxT3Energy"},
        {wxEVT_RADIOBUTTON, ID_RADIOBTN_TEMP_VAR, "onEvRadioBtnTempVar"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_TVAR, "onEvSpinCtrlTVar"},
        {wxEVT_COMBOBOX, ID_COMBOBOX_TVAR_ENERGY, "onEvComboBoxTVarEnergy"},
        {wxEVT_BUTTON, ID_BUTTON_WRITE, "onEvButtonWrite"},
        {wxEVT_BUTTON, ID_BUTTON_READ, "onEvButtonRead"},
        {wxEVT_BUTTON, ID_BUTTON_SAVE, "onEvButtonSave"},
        {wxEVT_BUTTON, ID_BUTTON_LOAD, "onEvButtonLoad"},
        {wxEVT_BUTTON, ID_BUTTON_DEFAULT, "onEvButtonDefault"},
        {wxEVT_CHECKBOX, ID_CHECKBOX_STANDBY, "onEvCheckboxStandby"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_STANDBY_TIME, "onEvSpinCtrlStandbyTime"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_STANDBY_TEMP, "onEvSpinCtrlStandbyTemp"},
        {wxEVT_CHECKBOX, ID_CHECKBOX_SHUTDOWN, "onEvCheckboxShutDown"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_SHUTDOWN_TIME, "onEvSpinCtrlShutdownTime"},
    };
    return s_aRoutes;
}
