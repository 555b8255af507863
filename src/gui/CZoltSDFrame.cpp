#include "CZoltSDFrame.h"

#include "AccessibleName.h"
#include "AppName.h"
#include "CZoltSpinCtrl.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include <utility>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace
{
// No resize border and no maximize box: the window keeps the size of its layout.
constexpr long kFrameStyle = wxCAPTION | wxCLIP_CHILDREN | wxSYSTEM_MENU | wxMINIMIZE_BOX |
                             wxCLOSE_BOX | wxICONIZE | wxFULL_REPAINT_ON_RESIZE;

const wxString kUnitCelsius = wxString::FromUTF8("\xC2\xB0"
                                                 "C");
} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CZoltSDFrame, wxFrame)
    EVT_MENU(ID_MENU_FILE_NEW, CZoltSDFrame::onEvMenuFileNew)
    EVT_MENU(ID_MENU_FILE_OPEN, CZoltSDFrame::onEvMenuFileOpen)
    EVT_MENU(ID_MENU_FILE_SAVE, CZoltSDFrame::onEvMenuFileSave)
    EVT_MENU(ID_MENU_FILE_SAVE_AS, CZoltSDFrame::onEvMenuFileSaveAs)
    EVT_MENU(ID_MENU_FILE_EXIT, CZoltSDFrame::onEvMenuFileExit)
    EVT_MENU(ID_MENU_CARD_READ, CZoltSDFrame::onEvMenuCardRead)
    EVT_MENU(ID_MENU_CARD_WRITE, CZoltSDFrame::onEvMenuCardWrite)
    EVT_MENU(ID_MENU_SETTINGS_SPEECH_ENGLISH, CZoltSDFrame::onEvMenuSettingsSpeechEnglish)
    EVT_MENU(ID_MENU_SETTINGS_DEFAULT, CZoltSDFrame::onEvMenuSettingsDefault)
    EVT_MENU(ID_MENU_HELP_DOCUMENTATION, CZoltSDFrame::onEvMenuHelpDocumentation)
    EVT_MENU(ID_MENU_HELP_ABOUT, CZoltSDFrame::onEvMenuHelpAbout)
    EVT_CHECKBOX(ID_CHECKBOX_KEYLOCKED, CZoltSDFrame::onEvCheckboxKeylocked)
    EVT_RADIOBUTTON(ID_RADIOBTN_CELSIUS, CZoltSDFrame::onEvRadioBtnCelsius)
    EVT_RADIOBUTTON(ID_RADIOBTN_FAHRENHEIT, CZoltSDFrame::onEvRadioBtnFahrenheit)
    EVT_RADIOBUTTON(ID_RADIOBTN_TEMP_FIX, CZoltSDFrame::onEvRadioBtnTempFix)
    EVT_SPINCTRL(ID_SPINCTRL_T1, CZoltSDFrame::onEvSpinCtrlT1)
    EVT_COMBOBOX(ID_COMBOBOX_T1_ENERGY, CZoltSDFrame::onEvComboBoxT1Energy)
    EVT_CHECKBOX(ID_CHECKBOX_T2, CZoltSDFrame::onEvCheckboxT2)
    EVT_SPINCTRL(ID_SPINCTRL_T2, CZoltSDFrame::onEvSpinCtrlT2)
    EVT_COMBOBOX(ID_COMBOBOX_T2_ENERGY, CZoltSDFrame::onEvComboBoxT2Energy)
    EVT_CHECKBOX(ID_CHECKBOX_T3, CZoltSDFrame::onEvCheckboxT3)
    EVT_SPINCTRL(ID_SPINCTRL_T3, CZoltSDFrame::onEvSpinCtrlT3)
    EVT_COMBOBOX(ID_COMBOBOX_T3_ENERGY, CZoltSDFrame::onEvComboBoxT3Energy)
    EVT_RADIOBUTTON(ID_RADIOBTN_TEMP_VAR, CZoltSDFrame::onEvRadioBtnTempVar)
    EVT_SPINCTRL(ID_SPINCTRL_TVAR, CZoltSDFrame::onEvSpinCtrlTVar)
    EVT_COMBOBOX(ID_COMBOBOX_TVAR_ENERGY, CZoltSDFrame::onEvComboBoxTVarEnergy)
    EVT_BUTTON(ID_BUTTON_WRITE, CZoltSDFrame::onEvButtonWrite)
    EVT_BUTTON(ID_BUTTON_READ, CZoltSDFrame::onEvButtonRead)
    EVT_BUTTON(ID_BUTTON_SAVE, CZoltSDFrame::onEvButtonSave)
    EVT_BUTTON(ID_BUTTON_LOAD, CZoltSDFrame::onEvButtonLoad)
    EVT_BUTTON(ID_BUTTON_DEFAULT, CZoltSDFrame::onEvButtonDefault)
    EVT_CHECKBOX(ID_CHECKBOX_STANDBY, CZoltSDFrame::onEvCheckboxStandby)
    EVT_SPINCTRL(ID_SPINCTRL_STANDBY_TIME, CZoltSDFrame::onEvSpinCtrlStandbyTime)
    EVT_SPINCTRL(ID_SPINCTRL_STANDBY_TEMP, CZoltSDFrame::onEvSpinCtrlStandbyTemp)
    EVT_CHECKBOX(ID_CHECKBOX_SHUTDOWN, CZoltSDFrame::onEvCheckboxShutDown)
    EVT_SPINCTRL(ID_SPINCTRL_SHUTDOWN_TIME, CZoltSDFrame::onEvSpinCtrlShutdownTime)
    EVT_MENU(ID_MENU_CARD_EJECT, CZoltSDFrame::onEvMenuCardEject)
    EVT_UPDATE_UI(ID_MENU_CARD_EJECT, CZoltSDFrame::onEvUpdateMenuCardEject)
wxEND_EVENT_TABLE()
    // clang-format on

    CZoltSDFrame::CZoltSDFrame(wxWindow* pParent, wxWindowID id, const wxString& strTitle,
                               const wxPoint& pos)
    : wxFrame(pParent, id, strTitle, pos, wxSize(425, 400), kFrameStyle, wxFrameNameStr)
{
    createMenus();

    // The keyboard's tab order follows this creation order. A control that sits in a box
    // is the box's child (GTK shows no tool tip for a frame's child drawn over a sibling
    // box), so each box is created just before its controls, where the tab order reaches it.
    createModeControls();
    createTempControls();
    createButtons();
    createSleepControls();

    setProperties();
    doLayout();
    // Nothing reads the names before the window is up; their objects cost start-up time.
    CallAfter(&CZoltSDFrame::setAccessibleNames);
}

void CZoltSDFrame::createMenus()
{
    m_pMenuBar = new wxMenuBar();

    wxMenu* pMenuFile = new wxMenu(0L);
    pMenuFile->Append(ID_MENU_FILE_NEW, "&New\tCtrl+N");
    pMenuFile->Append(ID_MENU_FILE_OPEN, "&Open...\tCtrl+O");
    pMenuFile->Append(ID_MENU_FILE_SAVE, "&Save\tCtrl+S");
    pMenuFile->Append(ID_MENU_FILE_SAVE_AS, "Save &As...\tCtrl+Shift+S");
    pMenuFile->AppendSeparator();
    pMenuFile->Append(ID_MENU_FILE_EXIT, "E&xit\tCtrl+Q");
    m_pMenuBar->Append(pMenuFile, "&File");

    wxMenu* pMenuCard = new wxMenu(0L);
    pMenuCard->Append(ID_MENU_CARD_READ, "&Read...\tCtrl+R");
    pMenuCard->Append(ID_MENU_CARD_WRITE, "&Write...\tCtrl+W");
    pMenuCard->AppendSeparator();
    pMenuCard->Append(ID_MENU_CARD_EJECT, "Eject card");
    m_pMenuBar->Append(pMenuCard, "&Card");

    wxMenu* pMenuSettings = new wxMenu(0L);
    wxMenu* pMenuLanguage = new wxMenu(0L);
    pMenuLanguage->Append(ID_MENU_SETTINGS_SPEECH_ENGLISH, "&English", wxEmptyString, wxITEM_RADIO);
    pMenuSettings->Append(wxID_ANY, "&Language", pMenuLanguage);
    pMenuSettings->Append(ID_MENU_SETTINGS_DEFAULT, "&Default");
    m_pMenuBar->Append(pMenuSettings, "&Settings");

    wxMenu* pMenuHelp = new wxMenu(0L);
    pMenuHelp->Append(ID_MENU_HELP_DOCUMENTATION, "&Documentation");
    pMenuHelp->Enable(ID_MENU_HELP_DOCUMENTATION, false);
    pMenuHelp->Append(ID_MENU_HELP_ABOUT, "&About...");
    m_pMenuBar->Append(pMenuHelp, "&Help");

    SetMenuBar(m_pMenuBar);
}

void CZoltSDFrame::createModeControls()
{
    m_pStaticLineTop =
        new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    m_pStaticBoxStationMode = new wxStaticBox(this, wxID_ANY, "Station Mode");
    m_pCheckboxKeylocked =
        new wxCheckBox(m_pStaticBoxStationMode, ID_CHECKBOX_KEYLOCKED, "Keylocked");
    m_pStaticBoxTempUnit = new wxStaticBox(this, wxID_ANY, "Temperature Unit");
    m_pRadioBtnCelsius = new wxRadioButton(m_pStaticBoxTempUnit, ID_RADIOBTN_CELSIUS,
                                           wxString::FromUTF8("\xC2\xB0 Celsius"),
                                           wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pRadioBtnFahrenheit = new wxRadioButton(m_pStaticBoxTempUnit, ID_RADIOBTN_FAHRENHEIT,
                                              wxString::FromUTF8("\xC2\xB0 Fahrenheit"));
}

void CZoltSDFrame::createTempControls()
{
    m_pStaticBoxTempMode = new wxStaticBox(this, wxID_ANY, "Temperature Mode");
    wxWindow* pBox = m_pStaticBoxTempMode;
    m_pRadioBtnTempFix = new wxRadioButton(pBox, ID_RADIOBTN_TEMP_FIX, "Fixed", wxDefaultPosition,
                                           wxDefaultSize, wxRB_GROUP);
    m_pStaticTextT1 = new wxStaticText(pBox, wxID_ANY, "T 1");
    m_pSpinCtrlT1 = createSpinCtrl(pBox, ID_SPINCTRL_T1, "320", 150, 450);
    m_pStaticTextT1Unit = createUnitText(pBox);
    m_pComboBoxT1Energy = createEnergyComboBox(pBox, ID_COMBOBOX_T1_ENERGY);

    m_pCheckboxT2 = new wxCheckBox(pBox, ID_CHECKBOX_T2, "T 2");
    m_pSpinCtrlT2 = createSpinCtrl(pBox, ID_SPINCTRL_T2, "360", 150, 450);
    m_pStaticTextT2Unit = createUnitText(pBox);
    m_pComboBoxT2Energy = createEnergyComboBox(pBox, ID_COMBOBOX_T2_ENERGY);

    m_pCheckboxT3 = new wxCheckBox(pBox, ID_CHECKBOX_T3, "T 3");
    m_pSpinCtrlT3 = createSpinCtrl(pBox, ID_SPINCTRL_T3, "400", 150, 450);
    m_pStaticTextT3Unit = createUnitText(pBox);
    m_pComboBoxT3Energy = createEnergyComboBox(pBox, ID_COMBOBOX_T3_ENERGY);

    m_pStaticLineTempMode =
        new wxStaticLine(pBox, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    m_pRadioBtnTempVar = new wxRadioButton(pBox, ID_RADIOBTN_TEMP_VAR, "Variable");
    m_pSpinCtrlTVar = createSpinCtrl(pBox, ID_SPINCTRL_TVAR, "360", 150, 450);
    m_pStaticTextTVarUnit = createUnitText(pBox);
    m_pComboBoxTVarEnergy = createEnergyComboBox(pBox, ID_COMBOBOX_TVAR_ENERGY);
}

void CZoltSDFrame::createButtons()
{
    m_pButtonWrite = new wxButton(this, ID_BUTTON_WRITE, "Write...");
    m_pButtonRead = new wxButton(this, ID_BUTTON_READ, "Read...");
    m_pButtonSave = new wxButton(this, ID_BUTTON_SAVE, "Save");
    m_pButtonLoad = new wxButton(this, ID_BUTTON_LOAD, "Open...");
    m_pButtonDefault = new wxButton(this, ID_BUTTON_DEFAULT, "Default");
}

void CZoltSDFrame::createSleepControls()
{
    m_pStaticBoxSleepMode = new wxStaticBox(this, wxID_ANY, "Sleep Mode");
    wxWindow* pBox = m_pStaticBoxSleepMode;
    m_pCheckboxStandby = new wxCheckBox(pBox, ID_CHECKBOX_STANDBY, "Standby");
    m_pSpinCtrlStandbyTime = createSpinCtrl(pBox, ID_SPINCTRL_STANDBY_TIME, "5", 1, 60);
    m_pStaticTextStandbyTimeUnit =
        new wxStaticText(pBox, wxID_ANY, "min", wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE);
    m_pSpinCtrlStandbyTemp = createSpinCtrl(pBox, ID_SPINCTRL_STANDBY_TEMP, "250", 150, 300);
    m_pStaticTextStandbyTempUnit = createUnitText(pBox, wxALIGN_CENTRE);
    m_pStaticLineSleepMode =
        new wxStaticLine(pBox, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_VERTICAL);
    m_pCheckboxShutDown = new wxCheckBox(pBox, ID_CHECKBOX_SHUTDOWN, "Shutdown");
    m_pSpinCtrlShutdownTime = createSpinCtrl(pBox, ID_SPINCTRL_SHUTDOWN_TIME, "10", 10, 240);
    m_pStaticTextShutdownTimeUnit =
        new wxStaticText(pBox, wxID_ANY, "min", wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE);
    m_pStaticTextAfterStandby = new wxStaticText(pBox, wxID_ANY, "after standby");
}

CZoltSpinCtrl* CZoltSDFrame::createSpinCtrl(wxWindow* pParent, wxWindowID id,
                                            const wxString& strValue, int nMin, int nMax)
{
    return new CZoltSpinCtrl(pParent, id, strValue, wxDefaultPosition, wxDefaultSize,
                             wxSP_ARROW_KEYS, nMin, nMax, 0, "wxSpinCtrl");
}

wxComboBox* CZoltSDFrame::createEnergyComboBox(wxWindow* pParent, wxWindowID id)
{
    // Selection index 0 to 2 stands for energy level 1 to 3.
    const wxString astrChoices[] = {"Energy 1", "Energy 2", "Energy 3"};
    return new wxComboBox(pParent, id, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          WXSIZEOF(astrChoices), astrChoices, wxCB_DROPDOWN | wxCB_READONLY);
}

wxStaticText* CZoltSDFrame::createUnitText(wxWindow* pParent, long nStyle)
{
    return new wxStaticText(pParent, wxID_ANY, kUnitCelsius, wxDefaultPosition, wxDefaultSize,
                            nStyle);
}

void CZoltSDFrame::setProperties()
{
    SetTitle(g_strAppName);
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_MENU));

    const wxSize sizeTemp(80, 20);
    const wxSize sizeSleepCheck(70, 20);
    const wxSize sizeSleepSpin(50, 20);
    const wxSize sizeSleepUnit(30, 20);

    m_pCheckboxKeylocked->SetToolTip("keylocked mode");
    m_pRadioBtnCelsius->SetToolTip("degree centigrade");
    m_pRadioBtnCelsius->SetValue(true);
    m_pRadioBtnFahrenheit->SetToolTip("degree Fahrenheit");
    m_pRadioBtnTempFix->SetToolTip("fixed temperature mode");

    m_pStaticTextT1->SetToolTip("first temperature");
    m_pStaticTextT1->Enable(false);
    m_pSpinCtrlT1->SetMinSize(sizeTemp);
    m_pSpinCtrlT1->SetToolTip("fixed temperature 1");
    m_pSpinCtrlT1->Enable(false);
    m_pStaticTextT1Unit->Enable(false);
    m_pComboBoxT1Energy->SetToolTip("energy level");
    m_pComboBoxT1Energy->Enable(false);
    m_pComboBoxT1Energy->SetSelection(2);

    m_pCheckboxT2->SetToolTip("second temperature");
    m_pCheckboxT2->Enable(false);
    m_pCheckboxT2->SetValue(true);
    m_pSpinCtrlT2->SetMinSize(sizeTemp);
    m_pSpinCtrlT2->SetToolTip("fixed temperature 2");
    m_pSpinCtrlT2->Enable(false);
    m_pStaticTextT2Unit->Enable(false);
    m_pComboBoxT2Energy->SetToolTip("energy level");
    m_pComboBoxT2Energy->Enable(false);
    m_pComboBoxT2Energy->SetSelection(2);

    m_pCheckboxT3->SetToolTip("third temperature");
    m_pCheckboxT3->Enable(false);
    m_pCheckboxT3->SetValue(true);
    m_pSpinCtrlT3->SetMinSize(sizeTemp);
    m_pSpinCtrlT3->SetToolTip("fixed temperature 3");
    m_pSpinCtrlT3->Enable(false);
    m_pStaticTextT3Unit->Enable(false);
    m_pComboBoxT3Energy->SetToolTip("energy level");
    m_pComboBoxT3Energy->Enable(false);
    m_pComboBoxT3Energy->SetSelection(2);

    // Selecting "Variable" clears "Fixed", the head of its group.
    m_pRadioBtnTempVar->SetToolTip("variable temperature mode");
    m_pRadioBtnTempVar->SetValue(true);
    m_pSpinCtrlTVar->SetMinSize(sizeTemp);
    m_pSpinCtrlTVar->SetToolTip("variable temperature");
    m_pComboBoxTVarEnergy->SetToolTip("energy level");
    m_pComboBoxTVarEnergy->SetSelection(2);

    // Only "Write..." is offered as a button; the other commands live in the menus.
    m_pButtonWrite->SetToolTip("write to card");
    m_pButtonRead->SetToolTip("read from card");
    m_pButtonRead->Enable(false);
    m_pButtonRead->Hide();
    m_pButtonSave->SetToolTip("save to file");
    m_pButtonSave->Enable(false);
    m_pButtonSave->Hide();
    m_pButtonLoad->SetToolTip("load from file");
    m_pButtonLoad->Enable(false);
    m_pButtonLoad->Hide();
    m_pButtonDefault->SetToolTip("reset to default values");
    m_pButtonDefault->Enable(false);
    m_pButtonDefault->Hide();

    m_pCheckboxStandby->SetMinSize(sizeSleepCheck);
    m_pCheckboxStandby->SetToolTip("standby mode");
    m_pCheckboxStandby->SetValue(true);
    m_pSpinCtrlStandbyTime->SetMinSize(sizeSleepSpin);
    m_pSpinCtrlStandbyTime->SetToolTip("standby time");
    m_pStaticTextStandbyTimeUnit->SetMinSize(sizeSleepUnit);
    m_pSpinCtrlStandbyTemp->SetMinSize(sizeSleepSpin);
    m_pSpinCtrlStandbyTemp->SetToolTip("standby temperature");
    m_pStaticTextStandbyTempUnit->SetMinSize(sizeSleepUnit);
    m_pCheckboxShutDown->SetMinSize(sizeSleepCheck);
    m_pCheckboxShutDown->SetToolTip("shutdown mode");
    m_pCheckboxShutDown->SetValue(true);
    m_pSpinCtrlShutdownTime->SetMinSize(sizeSleepSpin);
    m_pSpinCtrlShutdownTime->SetToolTip("shutdown time");
    m_pStaticTextShutdownTimeUnit->SetMinSize(sizeSleepUnit);
}

// Screen readers name a field by its row, as a sighted user reads it; GTK gives a
// spin control or a combo box no name of its own.
void CZoltSDFrame::setAccessibleNames()
{
    const std::pair<wxWindow*, const char*> aNames[] = {
        {m_pSpinCtrlT1, "T 1 temperature"},         {m_pComboBoxT1Energy, "T 1 energy"},
        {m_pSpinCtrlT2, "T 2 temperature"},         {m_pComboBoxT2Energy, "T 2 energy"},
        {m_pSpinCtrlT3, "T 3 temperature"},         {m_pComboBoxT3Energy, "T 3 energy"},
        {m_pSpinCtrlTVar, "variable temperature"},  {m_pComboBoxTVarEnergy, "variable energy"},
        {m_pSpinCtrlStandbyTime, "standby time"},   {m_pSpinCtrlStandbyTemp, "standby temperature"},
        {m_pSpinCtrlShutdownTime, "shutdown time"},
    };
    for (const auto& [pWin, pcName] : aNames)
        setAccessibleName(pWin, pcName);
}

void CZoltSDFrame::doLayout()
{
    wxBoxSizer* pSizerTop = new wxBoxSizer(wxVERTICAL);
    pSizerTop->Add(m_pStaticLineTop, 0, wxLEFT | wxRIGHT | wxEXPAND | wxFIXED_MINSIZE, 5);

    wxBoxSizer* pSizerRow = new wxBoxSizer(wxHORIZONTAL);
    wxBoxSizer* pSizerColumn = new wxBoxSizer(wxVERTICAL);
    pSizerColumn->Add(layoutUnitBoxes(), 2, wxEXPAND, 0);
    pSizerColumn->Add(layoutTempMode(), 4, wxEXPAND, 0);
    pSizerRow->Add(pSizerColumn, 1, wxEXPAND, 0);
    // A horizontal box places its items along its own direction: the button column
    // needs no alignment flag of its own there.
    pSizerRow->Add(layoutButtons(), 0, wxLEFT, 5);
    pSizerTop->Add(pSizerRow, 1, wxLEFT | wxRIGHT | wxTOP | wxEXPAND, 5);

    pSizerTop->Add(layoutSleepMode(), 0, wxALL | wxEXPAND, 5);

    SetSizer(pSizerTop);
    pSizerTop->Fit(this);
    Layout();
}

wxSizer* CZoltSDFrame::layoutUnitBoxes()
{
    wxBoxSizer* pSizer = new wxBoxSizer(wxHORIZONTAL);

    wxStaticBoxSizer* pSizerStation = new wxStaticBoxSizer(m_pStaticBoxStationMode, wxHORIZONTAL);
    pSizerStation->Add(m_pCheckboxKeylocked, 0, wxALL | wxFIXED_MINSIZE, 5);
    pSizer->Add(pSizerStation, 1, wxRIGHT | wxBOTTOM | wxEXPAND, 5);

    wxStaticBoxSizer* pSizerUnit = new wxStaticBoxSizer(m_pStaticBoxTempUnit, wxHORIZONTAL);
    wxBoxSizer* pSizerUnitButtons = new wxBoxSizer(wxVERTICAL);
    pSizerUnitButtons->Add(m_pRadioBtnCelsius, 0, wxALL | wxFIXED_MINSIZE, 5);
    pSizerUnitButtons->Add(m_pRadioBtnFahrenheit, 0, wxLEFT | wxFIXED_MINSIZE, 5);
    pSizerUnit->Add(pSizerUnitButtons, 1, wxEXPAND, 0);
    pSizer->Add(pSizerUnit, 1, wxBOTTOM | wxEXPAND, 5);

    return pSizer;
}

int CZoltSDFrame::textIndent(wxCheckBox* pCheckbox)
{
#ifdef __WXGTK__
    // What GTK itself gives the label, which can be wider than the toolkit's text extent.
    if (GtkWidget* pLabel = gtk_bin_get_child(GTK_BIN(pCheckbox->GetHandle())))
    {
        int nMin = 0, nNatural = 0;
        gtk_widget_get_preferred_width(pLabel, &nMin, &nNatural);
        return pCheckbox->GetBestSize().x - nNatural;
    }
#endif
    return pCheckbox->GetBestSize().x - pCheckbox->GetTextExtent(pCheckbox->GetLabel()).x;
}

wxSizer* CZoltSDFrame::layoutTempMode()
{
    // GTK's spin controls and combo boxes are much taller than a line of text, so every
    // other item of a temperature row is centred on the row instead of being expanded
    // over it from its top edge; a horizontal row places the spin controls itself.
    const int nCentred = wxALIGN_CENTER_VERTICAL | wxFIXED_MINSIZE;
    // Rows of those tall controls would touch each other without a small gap.
    const int nRowGap = 3;
    wxStaticBoxSizer* pSizerBox = new wxStaticBoxSizer(m_pStaticBoxTempMode, wxHORIZONTAL);
    wxBoxSizer* pSizerRows = new wxBoxSizer(wxVERTICAL);

    // "T 1" lines up with the texts of the check boxes "T 2" and "T 3" below it: its
    // indent is the width of a check box's indicator and gap, whatever the theme draws.
    const int nIndent = textIndent(m_pCheckboxT2);
    wxBoxSizer* pSizerT1 = new wxBoxSizer(wxHORIZONTAL);
    pSizerT1->Add(m_pRadioBtnTempFix, 1, wxLEFT | nCentred, 5);
    pSizerT1->Add(m_pStaticTextT1, 1, wxLEFT | nCentred, nIndent);
    pSizerT1->Add(m_pSpinCtrlT1, 1, wxFIXED_MINSIZE, 0);
    pSizerT1->Add(m_pStaticTextT1Unit, 1, wxLEFT | nCentred, 5);
    pSizerT1->Add(m_pComboBoxT1Energy, 1, nCentred, 0);
    pSizerRows->Add(pSizerT1, 1, wxEXPAND, 0);

    struct Row
    {
        wxCheckBox* pCheckbox;
        CZoltSpinCtrl* pSpinCtrl;
        wxStaticText* pUnit;
        wxComboBox* pEnergy;
    };
    const Row aRows[] = {
        {m_pCheckboxT2, m_pSpinCtrlT2, m_pStaticTextT2Unit, m_pComboBoxT2Energy},
        {m_pCheckboxT3, m_pSpinCtrlT3, m_pStaticTextT3Unit, m_pComboBoxT3Energy},
    };
    for (const Row& rRow : aRows)
    {
        wxBoxSizer* pSizerRow = new wxBoxSizer(wxHORIZONTAL);
        pSizerRow->Add(20, 20, 1, wxFIXED_MINSIZE, 0);
        pSizerRow->Add(rRow.pCheckbox, 1, nCentred, 0);
        pSizerRow->Add(rRow.pSpinCtrl, 1, wxFIXED_MINSIZE, 0);
        pSizerRow->Add(rRow.pUnit, 1, wxLEFT | nCentred, 5);
        pSizerRow->Add(rRow.pEnergy, 1, nCentred, 0);
        pSizerRows->Add(pSizerRow, 1, wxTOP | wxEXPAND, nRowGap);
    }

    pSizerRows->Add(m_pStaticLineTempMode, 0, wxTOP | wxBOTTOM | wxEXPAND | wxFIXED_MINSIZE, 5);

    wxBoxSizer* pSizerVar = new wxBoxSizer(wxHORIZONTAL);
    pSizerVar->Add(m_pRadioBtnTempVar, 1, wxLEFT | nCentred, 5);
    pSizerVar->Add(20, 20, 1, wxFIXED_MINSIZE, 0);
    pSizerVar->Add(m_pSpinCtrlTVar, 1, wxFIXED_MINSIZE, 0);
    pSizerVar->Add(m_pStaticTextTVarUnit, 1, wxLEFT | nCentred, 5);
    pSizerVar->Add(m_pComboBoxTVarEnergy, 1, nCentred, 0);
    pSizerRows->Add(pSizerVar, 1, wxBOTTOM | wxEXPAND, nRowGap);

    // The energy boxes keep off the box's right edge as the other controls do off its left.
    pSizerBox->Add(pSizerRows, 5, wxRIGHT | wxEXPAND, 5);
    return pSizerBox;
}

wxSizer* CZoltSDFrame::layoutButtons()
{
    // Hidden buttons keep no space in the column.
    wxBoxSizer* pSizer = new wxBoxSizer(wxVERTICAL);
    pSizer->Add(m_pButtonWrite, 0, wxTOP | wxALIGN_RIGHT | wxFIXED_MINSIZE, 5);
    pSizer->Add(m_pButtonRead, 0, wxTOP | wxALIGN_RIGHT | wxFIXED_MINSIZE, 10);
    pSizer->Add(m_pButtonSave, 0, wxTOP | wxALIGN_RIGHT | wxFIXED_MINSIZE, 25);
    pSizer->Add(m_pButtonLoad, 0, wxTOP | wxALIGN_RIGHT | wxFIXED_MINSIZE, 10);
    pSizer->Add(m_pButtonDefault, 0, wxTOP | wxFIXED_MINSIZE, 25);
    return pSizer;
}

namespace
{
// A time or temperature of the sleep box: its spin control, then its unit.
wxSizer* spinWithUnit(wxWindow* pSpin, wxWindow* pUnit)
{
    wxBoxSizer* pSizer = new wxBoxSizer(wxHORIZONTAL);
    pSizer->Add(pSpin, 0, wxFIXED_MINSIZE, 0);
    pSizer->Add(pUnit, 0, wxLEFT | wxALIGN_CENTER_VERTICAL | wxFIXED_MINSIZE, 5);
    return pSizer;
}
} // namespace

wxSizer* CZoltSDFrame::layoutSleepMode()
{
    wxStaticBoxSizer* pSizerBox = new wxStaticBoxSizer(m_pStaticBoxSleepMode, wxHORIZONTAL);
    pSizerBox->Add(m_pCheckboxStandby, 0, wxLEFT | wxRIGHT | wxFIXED_MINSIZE, 10);

    wxBoxSizer* pSizerStandby = new wxBoxSizer(wxVERTICAL);
    pSizerStandby->Add(spinWithUnit(m_pSpinCtrlStandbyTime, m_pStaticTextStandbyTimeUnit), 1, 0, 0);
    pSizerStandby->Add(spinWithUnit(m_pSpinCtrlStandbyTemp, m_pStaticTextStandbyTempUnit), 1, 0, 0);
    pSizerBox->Add(pSizerStandby, 1, 0, 0);

    pSizerBox->Add(m_pStaticLineSleepMode, 0, wxEXPAND | wxFIXED_MINSIZE, 0);
    pSizerBox->Add(m_pCheckboxShutDown, 0, wxLEFT | wxRIGHT | wxFIXED_MINSIZE, 10);

    wxBoxSizer* pSizerShutdown = new wxBoxSizer(wxVERTICAL);
    pSizerShutdown->Add(spinWithUnit(m_pSpinCtrlShutdownTime, m_pStaticTextShutdownTimeUnit), 1, 0,
                        0);
    // In a vertical box only the horizontal placement of an item can be chosen.
    pSizerShutdown->Add(m_pStaticTextAfterStandby, 0, wxLEFT | wxFIXED_MINSIZE, 5);
    // Like the standby column, kept at its own height: stretched, it would push the
    // shutdown unit below the middle of its spin control.
    pSizerBox->Add(pSizerShutdown, 1, 0, 0);

    return pSizerBox;
}

// Placeholders: the event goes on to the next handler, and the debug log (dropped at run
// time) names the handler that was reached.
#define ZOLT_FRAME_PLACEHOLDER(handler, EventType)                                                 \
    void CZoltSDFrame::handler(EventType& rEvent)                                                  \
    {                                                                                              \
        rEvent.Skip();                                                                             \
        wxLogDebug("Event handler (CZoltSDFrame::" #handler ") not implemented yet");              \
    }

ZOLT_FRAME_PLACEHOLDER(onEvMenuFileNew, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuFileOpen, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuFileSave, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuFileSaveAs, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuFileExit, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuCardRead, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuCardWrite, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuCardEject, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvUpdateMenuCardEject, wxUpdateUIEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuSettingsSpeechEnglish, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuSettingsDefault, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuHelpDocumentation, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvMenuHelpAbout, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvCheckboxKeylocked, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvRadioBtnCelsius, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvRadioBtnFahrenheit, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvRadioBtnTempFix, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvSpinCtrlT1, wxSpinEvent)
ZOLT_FRAME_PLACEHOLDER(onEvComboBoxT1Energy, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvCheckboxT2, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvSpinCtrlT2, wxSpinEvent)
ZOLT_FRAME_PLACEHOLDER(onEvComboBoxT2Energy, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvCheckboxT3, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvSpinCtrlT3, wxSpinEvent)
ZOLT_FRAME_PLACEHOLDER(onEvComboBoxT3Energy, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvRadioBtnTempVar, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvSpinCtrlTVar, wxSpinEvent)
ZOLT_FRAME_PLACEHOLDER(onEvComboBoxTVarEnergy, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvButtonWrite, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvButtonRead, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvButtonSave, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvButtonLoad, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvButtonDefault, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvCheckboxStandby, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvSpinCtrlStandbyTime, wxSpinEvent)
ZOLT_FRAME_PLACEHOLDER(onEvSpinCtrlStandbyTemp, wxSpinEvent)
ZOLT_FRAME_PLACEHOLDER(onEvCheckboxShutDown, wxCommandEvent)
ZOLT_FRAME_PLACEHOLDER(onEvSpinCtrlShutdownTime, wxSpinEvent)
