// The main window with its editing logic: shows parameter records in the
// layout's controls and reads them back, keeps the controls' enabled states
// and display unit consistent, and runs the file, card and settings commands.
// The controls are the only store of the edited values between commands.
#pragma once

#include "CDataCard.h"
#include "CDlgPrompter.h"
#include "CFileCard.h"
#include "CFileXml.h"
#include "CZoltSDFrame.h"
#include "ZoltPar.h"

class CPrompter;
class CVolumeLayer;
class CZoltSpinCtrl;
class wxStaticText;

class CZoltSDFrameHandler : public CZoltSDFrame
{
public:
    // The card is reached through the platform's own volume layer.
    CZoltSDFrameHandler();
    // The card is reached through rLayer, which must outlive the window.
    explicit CZoltSDFrameHandler(CVolumeLayer& rLayer);
    ~CZoltSDFrameHandler() override;

    // Shows a record; false, with no control changed, when its header is not
    // that of the record.
    bool setSysPar(const SysPar& rSysPar);
    bool setToolPar(const ToolPar& rToolPar, bool bCentigrade);
    // Build complete records, CRC included, from the controls.
    bool getSysPar(SysPar& rSysPar);
    bool getToolPar(ToolPar& rToolPar);

    void enableFixT1(bool bEnable);
    void enableFixT2(bool bEnable);
    void enableFixT3(bool bEnable);
    void enableTempMode(bool bFixed);
    void enableStandby(bool bOn);
    // Converts the shown temperatures from the unit shown so far.
    void switchUnit(bool bCentigrade);
    void initSpinCtrls();

    // The commands of the menus and buttons.
    bool setDefault();
    bool openSettings();
    bool saveSettings();
    bool saveSettingsAs();
    bool readCard();
    bool writeCard();
    void showAbout();
    void setCurrentFile(const wxString& strPath);
    const wxString& getCurrentFile() const { return m_strCurrentFile; }

    // Who answers the window's questions (file dialogs, volume choice) and hears its
    // failures; null restores the window's own dialogs.
    void setPrompter(CPrompter* pPrompter);
    CPrompter& getPrompter() { return *m_pPrompter; }

protected:
    void onEvMenuFileNew(wxCommandEvent& rEvent) override;
    void onEvMenuFileOpen(wxCommandEvent& rEvent) override;
    void onEvMenuFileSave(wxCommandEvent& rEvent) override;
    void onEvMenuFileSaveAs(wxCommandEvent& rEvent) override;
    void onEvMenuFileExit(wxCommandEvent& rEvent) override;
    void onEvMenuCardRead(wxCommandEvent& rEvent) override;
    void onEvMenuCardWrite(wxCommandEvent& rEvent) override;
    void onEvMenuCardEject(wxCommandEvent& rEvent) override;
    void onEvUpdateMenuCardEject(wxUpdateUIEvent& rEvent) override;
    void onEvMenuSettingsSpeechEnglish(wxCommandEvent& rEvent) override;
    void onEvMenuSettingsDefault(wxCommandEvent& rEvent) override;
    void onEvMenuHelpDocumentation(wxCommandEvent& rEvent) override;
    void onEvMenuHelpAbout(wxCommandEvent& rEvent) override;
    void onEvCheckboxKeylocked(wxCommandEvent& rEvent) override;
    void onEvRadioBtnCelsius(wxCommandEvent& rEvent) override;
    void onEvRadioBtnFahrenheit(wxCommandEvent& rEvent) override;
    void onEvRadioBtnTempFix(wxCommandEvent& rEvent) override;
    void onEvSpinCtrlT1(wxSpinEvent& rEvent) override;
    void onEvComboBoxT1Energy(wxCommandEvent& rEvent) override;
    void onEvCheckboxT2(wxCommandEvent& rEvent) override;
    void onEvSpinCtrlT2(wxSpinEvent& rEvent) override;
    void onEvComboBoxT2Energy(wxCommandEvent& rEvent) override;
    void onEvCheckboxT3(wxCommandEvent& rEvent) override;
    void onEvSpinCtrlT3(wxSpinEvent& rEvent) override;
    void onEvComboBoxT3Energy(wxCommandEvent& rEvent) override;
    void onEvRadioBtnTempVar(wxCommandEvent& rEvent) override;
    void onEvSpinCtrlTVar(wxSpinEvent& rEvent) override;
    void onEvComboBoxTVarEnergy(wxCommandEvent& rEvent) override;
    void onEvButtonWrite(wxCommandEvent& rEvent) override;
    void onEvButtonRead(wxCommandEvent& rEvent) override;
    void onEvButtonSave(wxCommandEvent& rEvent) override;
    void onEvButtonLoad(wxCommandEvent& rEvent) override;
    void onEvButtonDefault(wxCommandEvent& rEvent) override;
    void onEvCheckboxStandby(wxCommandEvent& rEvent) override;
    void onEvSpinCtrlStandbyTime(wxSpinEvent& rEvent) override;
    void onEvSpinCtrlStandbyTemp(wxSpinEvent& rEvent) override;
    void onEvCheckboxShutDown(wxCommandEvent& rEvent) override;
    void onEvSpinCtrlShutdownTime(wxSpinEvent& rEvent) override;
    // Reached by no menu item or event entry.
    virtual void onEvMenuSettingsSpeechGerman(wxCommandEvent& rEvent);

    // The sequence every command that obtains records uses to show them.
    void showRecords(const SysPar& rSysPar, const ToolPar& rToolPar);
    void readControls(SysPar& rSysPar, ToolPar& rToolPar);

    CDataCard m_dataCard;
    CFileCard m_fileCard;
    CFileXml m_fileXml;
    wxString m_strCurrentFile;

    static constexpr int kTempCount = 5;
    // T1, T2, T3, variable, standby temperature.
    wxStaticText* m_apUnitText[kTempCount];
    CZoltSpinCtrl* m_apTempSpin[kTempCount];
    bool m_bUpdating = false;

private:
    void init();

    CDlgPrompter m_dlgPrompter;
    CPrompter* m_pPrompter;
};
