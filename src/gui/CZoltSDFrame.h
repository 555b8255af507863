#pragma once

#include <wx/frame.h>
#include <wx/spinctrl.h>

class wxButton;
class wxCheckBox;
class wxComboBox;
class wxMenuBar;
class wxRadioButton;
class wxSizer;
class wxStaticBox;
class wxStaticLine;
class wxStaticText;
class CZoltSpinCtrl;

// Identifiers of the main window's menu items and controls. The gaps (1007, 1009 to 1016)
// belong to no item and must stay free.
enum
{
    ID_MENU_FILE_NEW = 1000,
    ID_MENU_FILE_OPEN = 1001,
    ID_MENU_FILE_SAVE = 1002,
    ID_MENU_FILE_SAVE_AS = 1003,
    ID_MENU_FILE_EXIT = 1004,
    ID_MENU_CARD_READ = 1005,
    ID_MENU_CARD_WRITE = 1006,
    ID_MENU_SETTINGS_SPEECH_ENGLISH = 1008,
    ID_MENU_SETTINGS_DEFAULT = 1017,
    ID_MENU_HELP_DOCUMENTATION = 1018,
    ID_MENU_HELP_ABOUT = 1019,
    ID_CHECKBOX_KEYLOCKED = 1020,
    ID_RADIOBTN_CELSIUS = 1021,
    ID_RADIOBTN_FAHRENHEIT = 1022,
    ID_RADIOBTN_TEMP_FIX = 1023,
    ID_SPINCTRL_T1 = 1024,
    ID_COMBOBOX_T1_ENERGY = 1025,
    ID_CHECKBOX_T2 = 1026,
    ID_SPINCTRL_T2 = 1027,
    ID_COMBOBOX_T2_ENERGY = 1028,
    ID_CHECKBOX_T3 = 1029,
    ID_SPINCTRL_T3 = 1030,
    ID_COMBOBOX_T3_ENERGY = 1031,
    ID_RADIOBTN_TEMP_VAR = 1032,
    ID_SPINCTRL_TVAR = 1033,
    ID_COMBOBOX_TVAR_ENERGY = 1034,
    ID_BUTTON_WRITE = 1035,
    ID_BUTTON_READ = 1036,
    ID_BUTTON_SAVE = 1037,
    ID_BUTTON_LOAD = 1038,
    ID_BUTTON_DEFAULT = 1039,
    ID_CHECKBOX_STANDBY = 1040,
    ID_SPINCTRL_STANDBY_TIME = 1041,
    ID_SPINCTRL_STANDBY_TEMP = 1042,
    ID_CHECKBOX_SHUTDOWN = 1043,
    ID_SPINCTRL_SHUTDOWN_TIME = 1044,
    ID_MENU_CARD_EJECT = 1045
};

// Layout of the main window: menus, controls, sizers and the event table. It holds no
// editing logic; every handler only lets its event pass on, and the derived window
// overrides them.
class CZoltSDFrame : public wxFrame
{
public:
    CZoltSDFrame(wxWindow* pParent, wxWindowID id, const wxString& strTitle,
                 const wxPoint& pos = wxDefaultPosition);

protected:
    void setProperties();
    void doLayout();

    virtual void onEvMenuFileNew(wxCommandEvent& rEvent);
    virtual void onEvMenuFileOpen(wxCommandEvent& rEvent);
    virtual void onEvMenuFileSave(wxCommandEvent& rEvent);
    virtual void onEvMenuFileSaveAs(wxCommandEvent& rEvent);
    virtual void onEvMenuFileExit(wxCommandEvent& rEvent);
    virtual void onEvMenuCardRead(wxCommandEvent& rEvent);
    virtual void onEvMenuCardWrite(wxCommandEvent& rEvent);
    virtual void onEvMenuCardEject(wxCommandEvent& rEvent);
    virtual void onEvUpdateMenuCardEject(wxUpdateUIEvent& rEvent);
    virtual void onEvMenuSettingsSpeechEnglish(wxCommandEvent& rEvent);
    virtual void onEvMenuSettingsDefault(wxCommandEvent& rEvent);
    virtual void onEvMenuHelpDocumentation(wxCommandEvent& rEvent);
    virtual void onEvMenuHelpAbout(wxCommandEvent& rEvent);
    virtual void onEvCheckboxKeylocked(wxCommandEvent& rEvent);
    virtual void onEvRadioBtnCelsius(wxCommandEvent& rEvent);
    virtual void onEvRadioBtnFahrenheit(wxCommandEvent& rEvent);
    virtual void onEvRadioBtnTempFix(wxCommandEvent& rEvent);
    virtual void onEvSpinCtrlT1(wxSpinEvent& rEvent);
    virtual void onEvComboBoxT1Energy(wxCommandEvent& rEvent);
    virtual void onEvCheckboxT2(wxCommandEvent& rEvent);
    virtual void onEvSpinCtrlT2(wxSpinEvent& rEvent);
    virtual void onEvComboBoxT2Energy(wxCommandEvent& rEvent);
    virtual void onEvCheckboxT3(wxCommandEvent& rEvent);
    virtual void onEvSpinCtrlT3(wxSpinEvent& rEvent);
    virtual void onEvComboBoxT3Energy(wxCommandEvent& rEvent);
    virtual void onEvRadioBtnTempVar(wxCommandEvent& rEvent);
    virtual void onEvSpinCtrlTVar(wxSpinEvent& rEvent);
    virtual void onEvComboBoxTVarEnergy(wxCommandEvent& rEvent);
    virtual void onEvButtonWrite(wxCommandEvent& rEvent);
    virtual void onEvButtonRead(wxCommandEvent& rEvent);
    virtual void onEvButtonSave(wxCommandEvent& rEvent);
    virtual void onEvButtonLoad(wxCommandEvent& rEvent);
    virtual void onEvButtonDefault(wxCommandEvent& rEvent);
    virtual void onEvCheckboxStandby(wxCommandEvent& rEvent);
    virtual void onEvSpinCtrlStandbyTime(wxSpinEvent& rEvent);
    virtual void onEvSpinCtrlStandbyTemp(wxSpinEvent& rEvent);
    virtual void onEvCheckboxShutDown(wxCommandEvent& rEvent);
    virtual void onEvSpinCtrlShutdownTime(wxSpinEvent& rEvent);

    wxStaticBox* m_pStaticBoxSleepMode;
    wxStaticBox* m_pStaticBoxTempMode;
    wxStaticBox* m_pStaticBoxTempUnit;
    wxStaticBox* m_pStaticBoxStationMode;
    wxMenuBar* m_pMenuBar;
    wxStaticLine* m_pStaticLineTop;
    wxCheckBox* m_pCheckboxKeylocked;
    wxRadioButton* m_pRadioBtnCelsius;
    wxRadioButton* m_pRadioBtnFahrenheit;
    wxRadioButton* m_pRadioBtnTempFix;
    wxStaticText* m_pStaticTextT1;
    CZoltSpinCtrl* m_pSpinCtrlT1;
    wxStaticText* m_pStaticTextT1Unit;
    wxComboBox* m_pComboBoxT1Energy;
    wxCheckBox* m_pCheckboxT2;
    CZoltSpinCtrl* m_pSpinCtrlT2;
    wxStaticText* m_pStaticTextT2Unit;
    wxComboBox* m_pComboBoxT2Energy;
    wxCheckBox* m_pCheckboxT3;
    CZoltSpinCtrl* m_pSpinCtrlT3;
    wxStaticText* m_pStaticTextT3Unit;
    wxComboBox* m_pComboBoxT3Energy;
    wxStaticLine* m_pStaticLineTempMode;
    wxRadioButton* m_pRadioBtnTempVar;
    CZoltSpinCtrl* m_pSpinCtrlTVar;
    wxStaticText* m_pStaticTextTVarUnit;
    wxComboBox* m_pComboBoxTVarEnergy;
    wxButton* m_pButtonWrite;
    wxButton* m_pButtonRead;
    wxButton* m_pButtonSave;
    wxButton* m_pButtonLoad;
    wxButton* m_pButtonDefault;
    wxCheckBox* m_pCheckboxStandby;
    CZoltSpinCtrl* m_pSpinCtrlStandbyTime;
    wxStaticText* m_pStaticTextStandbyTimeUnit;
    CZoltSpinCtrl* m_pSpinCtrlStandbyTemp;
    wxStaticText* m_pStaticTextStandbyTempUnit;
    wxStaticLine* m_pStaticLineSleepMode;
    wxCheckBox* m_pCheckboxShutDown;
    CZoltSpinCtrl* m_pSpinCtrlShutdownTime;
    wxStaticText* m_pStaticTextShutdownTimeUnit;
    wxStaticText* m_pStaticTextAfterStandby;

private:
    void createMenus();
    void createModeControls();
    void createTempControls();
    void createButtons();
    void createSleepControls();
    CZoltSpinCtrl* createSpinCtrl(wxWindow* pParent, wxWindowID id, const wxString& strValue,
                                  int nMin, int nMax);
    wxComboBox* createEnergyComboBox(wxWindow* pParent, wxWindowID id);
    wxStaticText* createUnitText(wxWindow* pParent, long nStyle = 0);
    void setAccessibleNames();
    // Where the text of a check box begins, from its left edge.
    static int textIndent(wxCheckBox* pCheckbox);

    wxSizer* layoutUnitBoxes();
    wxSizer* layoutTempMode();
    wxSizer* layoutButtons();
    wxSizer* layoutSleepMode();

    wxDECLARE_EVENT_TABLE();
};
