// Binding of the parameter records to the controls, the enabling rules and
// the display-unit switch.
#include "CZoltSDFrameHandler.h"

#include "CZoltSpinCtrl.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/log.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include <algorithm>
#include <cstring>

namespace
{
const wxString kUnitC = wxString::FromUTF8("\xC2\xB0"
                                           "C");
const wxString kUnitF = wxString::FromUTF8("\xC2\xB0"
                                           "F");
const wxString kUnitMin = "min";

constexpr int kEnergyLevels = 3;
constexpr uint8_t kStandbyTimeOff = 5;   // shown while standby is off
constexpr uint8_t kShutdownTimeOff = 10; // shown while shutdown is off

const wxString& unitText(bool bCentigrade)
{
    return bCentigrade ? kUnitC : kUnitF;
}

int toDisplayUnit(int16_t n100mC, bool bCentigrade)
{
    return bCentigrade ? CDataCard::toCentigrade(n100mC) : CDataCard::toFahrenheit(n100mC);
}

int16_t fromSpin(const CZoltSpinCtrl* pSpin, bool bCentigrade)
{
    return CDataCard::fromDisplayUnit(static_cast<int16_t>(pSpin->GetValue()), bCentigrade);
}

// The limits of the set and standby temperatures in the display unit.
struct Ranges
{
    int nSetMin, nSetMax, nStbMin, nStbMax;
    explicit Ranges(bool bCentigrade)
    {
        const int nRow = bCentigrade ? 0 : 1;
        nSetMin = toDisplayUnit(CDataCard::getSetTMin(nRow), bCentigrade);
        nSetMax = toDisplayUnit(CDataCard::getSetTMax(nRow), bCentigrade);
        nStbMin = toDisplayUnit(CDataCard::getStandbyTMin(nRow), bCentigrade);
        nStbMax = toDisplayUnit(CDataCard::getStandbyTMax(nRow), bCentigrade);
    }
};

// A value the range does not admit is put into the entry as text, so that the
// next read clamps it and says so; the toolkit's own SetValue would clamp it
// without a word. The text is also what the user sees, so it is checked
// after SetValue too: the toolkit may skip a value it believes is shown.
void showSpinValue(CZoltSpinCtrl* pSpin, int nValue)
{
    const wxString strValue = wxString::Format("%d", nValue);
    if (nValue >= pSpin->GetMin() && nValue <= pSpin->GetMax())
    {
        pSpin->SetValue(nValue);
        if (pSpin->GetTextValue() == strValue)
            return;
    }
#ifdef __WXGTK__
    gtk_entry_set_text(GTK_ENTRY(pSpin->GetHandle()), strValue.utf8_str());
#else
    pSpin->SetValue(strValue);
#endif
}

// Levels outside 1 ... 3 (possible in a card record) show as the nearest
// level, so that reading back never yields one the station does not know.
void selectEnergy(wxComboBox* pCombo, int nLevel)
{
    if (nLevel < 1)
        nLevel = 1;
    if (nLevel > kEnergyLevels)
        nLevel = kEnergyLevels;
    pCombo->SetSelection(nLevel - 1);
}

uint8_t readEnergy(const wxComboBox* pCombo)
{
    const int nSel = pCombo->GetSelection();
    if (nSel < 0)
        return 1;
    return static_cast<uint8_t>(nSel >= kEnergyLevels ? kEnergyLevels : nSel + 1);
}

bool isSysParHeader(const SysPar& rSysPar)
{
    return rSysPar.cType == CDataCard::kTypeSysPar && rSysPar.cLength >= sizeof(SysPar) &&
           rSysPar.cVersion >= 1;
}

bool isToolParHeader(const ToolPar& rToolPar)
{
    return rToolPar.cType == CDataCard::kTypeToolPar && rToolPar.cLength >= sizeof(ToolPar) &&
           rToolPar.cVersion >= 1;
}
} // namespace

#define ZOLT_NOT_IMPLEMENTED(rEvent)                                                               \
    do                                                                                             \
    {                                                                                              \
        (rEvent).Skip();                                                                           \
        wxLogDebug("Event handler (CZoltSDFrameHandler::%s) not implemented yet", __func__);       \
    } while (false)

bool CZoltSDFrameHandler::setSysPar(const SysPar& rSysPar)
{
    if (!isSysParHeader(rSysPar))
        return false;
    wxASSERT((rSysPar.nUpdateFlag & eSysParUpdateUnit) != 0);

    const bool bCentigrade = rSysPar.cUnit == 1;
    if (bCentigrade)
    {
        m_pRadioBtnCelsius->SetValue(true);
        m_pRadioBtnFahrenheit->SetValue(false);
    }
    else
    {
        wxASSERT(rSysPar.cUnit == 2);
        m_pRadioBtnCelsius->SetValue(false);
        m_pRadioBtnFahrenheit->SetValue(true);
    }
    for (wxStaticText* pText : m_apUnitText)
        pText->SetLabel(unitText(bCentigrade));

    wxASSERT((rSysPar.nUpdateFlag & eSysParUpdateLocked) != 0);
    m_pCheckboxKeylocked->SetValue(rSysPar.cLocked != 0);

    wxASSERT((rSysPar.nUpdateFlag & eSysParUpdatePassword) == 0);
    wxASSERT((rSysPar.nUpdateFlag & eSysParUpdateSerialNumber) == 0);
    wxASSERT((rSysPar.nUpdateFlag & eSysParUpdateEntityNo) == 0);
    return true;
}

bool CZoltSDFrameHandler::setToolPar(const ToolPar& rToolPar, bool bCentigrade)
{
    if (!isToolParHeader(rToolPar))
        return false;

    const Ranges r(bCentigrade);
    const wxString& strUnit = unitText(bCentigrade);

    if (rToolPar.cFixEnabled != 0)
    {
        wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixStandbyT0) != 0);
        wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixStandbyT1) != 0);
        wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixStandbyT2) != 0);
    }
    else
    {
        wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateVarSetT) != 0);
        wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateVarStandbyT) != 0);
        wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateVarEnergy) != 0);
    }

    m_pSpinCtrlTVar->setRangeUnit(r.nSetMin, r.nSetMax, strUnit);
    showSpinValue(m_pSpinCtrlTVar, toDisplayUnit(rToolPar.nVarSetT100mC, bCentigrade));
    // The station takes no standby temperature above its standby maximum, so
    // the field never offers the set range.
    m_pSpinCtrlStandbyTemp->setRangeUnit(r.nStbMin, r.nStbMax, strUnit);
    showSpinValue(m_pSpinCtrlStandbyTemp, toDisplayUnit(rToolPar.nVarStandbyT100mC, bCentigrade));

    wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateVarCalT) == 0);
    wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixCalT0) == 0);
    wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixCalT1) == 0);
    wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixCalT2) == 0);
    for (int i = 0; i < 3; ++i)
    {
        wxASSERT(rToolPar.anFixCalT100mK[i] == rToolPar.nVarCalT100mK);
    }
    wxASSERT(rToolPar.cVarEnergy >= 1 && rToolPar.cVarEnergy <= 3);
    selectEnergy(m_pComboBoxTVarEnergy, rToolPar.cVarEnergy);

    wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateFixT) != 0);
    m_pRadioBtnTempFix->SetValue(rToolPar.cFixEnabled != 0);
    m_pRadioBtnTempVar->SetValue(rToolPar.cFixEnabled == 0);

    CZoltSpinCtrl* const apFixSpin[3] = {m_pSpinCtrlT1, m_pSpinCtrlT2, m_pSpinCtrlT3};
    wxComboBox* const apFixEnergy[3] = {m_pComboBoxT1Energy, m_pComboBoxT2Energy,
                                        m_pComboBoxT3Energy};
    for (int i = 0; i < 3; ++i)
    {
        apFixSpin[i]->setRangeUnit(r.nSetMin, r.nSetMax, strUnit);
        showSpinValue(apFixSpin[i], toDisplayUnit(rToolPar.anFixSetT100mC[i], bCentigrade));
    }
    for (int i = 0; i < 3; ++i)
    {
        wxASSERT(rToolPar.anFixStandbyT100mC[i] == rToolPar.nVarStandbyT100mC);
    }
    for (int i = 0; i < 3; ++i)
    {
        const int nValue = rToolPar.acFixEnergy[i];
        wxASSERT(nValue >= 1 && nValue <= 3);
        selectEnergy(apFixEnergy[i], nValue);
    }

    wxASSERT(rToolPar.cFixCnt >= 1 && rToolPar.cFixCnt <= 3);
    switch (rToolPar.cFixCnt)
    {
    case 1:
        m_pCheckboxT2->SetValue(false);
        m_pCheckboxT3->SetValue(false);
        break;
    case 2:
        m_pCheckboxT2->SetValue(true);
        m_pCheckboxT3->SetValue(false);
        break;
    case 3:
        m_pCheckboxT2->SetValue(true);
        m_pCheckboxT3->SetValue(true);
        break;
    default:
        break;
    }

    wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateStandbyTm) != 0);
    wxASSERT((rToolPar.nUpdateFlag & eToolParUpdateShutdownTm) != 0);
    wxASSERT(rToolPar.cStandbyTmMin <= 60);
    wxASSERT(rToolPar.cShutdownTmMin <= 240);
    const bool bStandby = rToolPar.cStandbyTmMin != 0;
    const bool bShutdown = bStandby && rToolPar.cShutdownTmMin != 0;
    m_pCheckboxStandby->SetValue(bStandby);
    showSpinValue(m_pSpinCtrlStandbyTime, bStandby ? rToolPar.cStandbyTmMin : kStandbyTimeOff);
    m_pCheckboxShutDown->SetValue(bShutdown);
    showSpinValue(m_pSpinCtrlShutdownTime, bShutdown ? rToolPar.cShutdownTmMin : kShutdownTimeOff);
    return true;
}

bool CZoltSDFrameHandler::getSysPar(SysPar& rSysPar)
{
    const bool bCentigrade = m_pRadioBtnCelsius->GetValue();
    const bool bLocked = m_pCheckboxKeylocked->GetValue();

    std::memset(&rSysPar, 0, sizeof(rSysPar));
    rSysPar.cType = CDataCard::kTypeSysPar;
    rSysPar.cLength = sizeof(SysPar);
    rSysPar.cVersion = 1;
    rSysPar.nUpdateFlag = kSysParUpdateMask;
    rSysPar.cUnit = bCentigrade ? 1 : 2;
    rSysPar.cLocked = bLocked ? 1 : 0;
    rSysPar.nEntityNo = 1;
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&rSysPar), sizeof(SysPar));
    return true;
}

// The order of the reads is what the user sees: each out-of-range entry
// brings up its own message, one after the other.
bool CZoltSDFrameHandler::getToolPar(ToolPar& rToolPar)
{
    const bool bCentigrade = m_pRadioBtnCelsius->GetValue();

    std::memset(&rToolPar, 0, sizeof(rToolPar));
    rToolPar.cType = CDataCard::kTypeToolPar;
    rToolPar.cLength = sizeof(ToolPar);
    rToolPar.cVersion = 1;

    rToolPar.nVarSetT100mC = fromSpin(m_pSpinCtrlTVar, bCentigrade);
    const int16_t nStandbyT = fromSpin(m_pSpinCtrlStandbyTemp, bCentigrade);
    rToolPar.nVarStandbyT100mC = nStandbyT;
    rToolPar.nVarCalT100mK = 0;
    for (int i = 0; i < 3; ++i)
        rToolPar.anFixStandbyT100mC[i] = nStandbyT;
    rToolPar.cVarEnergy = readEnergy(m_pComboBoxTVarEnergy);

    const bool bFixed = m_pRadioBtnTempFix->GetValue();
    rToolPar.cFixEnabled = bFixed ? 1 : 0;
    rToolPar.nUpdateFlag = bFixed ? kToolParFixMask : kToolParVarMask;

    rToolPar.anFixSetT100mC[0] = fromSpin(m_pSpinCtrlT1, bCentigrade);
    rToolPar.anFixSetT100mC[1] = fromSpin(m_pSpinCtrlT2, bCentigrade);
    rToolPar.anFixSetT100mC[2] = fromSpin(m_pSpinCtrlT3, bCentigrade);
    for (int i = 0; i < 3; ++i)
        rToolPar.anFixCalT100mK[i] = 0;
    rToolPar.acFixEnergy[0] = readEnergy(m_pComboBoxT1Energy);
    rToolPar.acFixEnergy[1] = readEnergy(m_pComboBoxT2Energy);
    rToolPar.acFixEnergy[2] = readEnergy(m_pComboBoxT3Energy);

    // T 3 counts only while T 2 is in use.
    if (m_pCheckboxT2->GetValue())
    {
        const uint8_t cT3 = m_pCheckboxT3->GetValue() ? 1 : 0;
        rToolPar.cFixCnt = 2 + cT3;
        rToolPar.cFixActualIdx = cT3;
    }
    else
    {
        rToolPar.cFixCnt = 1;
        rToolPar.cFixActualIdx = 0;
    }
    rToolPar.cWakeup = 1;

    if (m_pCheckboxStandby->GetValue())
    {
        rToolPar.cStandbyTmMin = static_cast<uint8_t>(m_pSpinCtrlStandbyTime->GetValue());
        rToolPar.cShutdownTmMin = m_pCheckboxShutDown->GetValue()
                                      ? static_cast<uint8_t>(m_pSpinCtrlShutdownTime->GetValue())
                                      : 0;
    }
    else
    {
        rToolPar.cStandbyTmMin = 0;
        rToolPar.cShutdownTmMin = 0;
    }
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&rToolPar), sizeof(ToolPar));
    return true;
}

void CZoltSDFrameHandler::enableFixT1(bool bEnable)
{
    m_pStaticTextT1->Enable(bEnable);
    m_pSpinCtrlT1->Enable(bEnable);
    m_pStaticTextT1Unit->Enable(bEnable);
    m_pComboBoxT1Energy->Enable(bEnable);
    m_pCheckboxT2->Enable(bEnable);
}

void CZoltSDFrameHandler::enableFixT2(bool bEnable)
{
    m_pSpinCtrlT2->Enable(bEnable);
    m_pStaticTextT2Unit->Enable(bEnable);
    m_pComboBoxT2Energy->Enable(bEnable);
    m_pCheckboxT3->Enable(bEnable);
}

void CZoltSDFrameHandler::enableFixT3(bool bEnable)
{
    m_pSpinCtrlT3->Enable(bEnable);
    m_pStaticTextT3Unit->Enable(bEnable);
    m_pComboBoxT3Energy->Enable(bEnable);
}

void CZoltSDFrameHandler::enableTempMode(bool bFixed)
{
    if (bFixed)
    {
        enableFixT1(true);
        if (m_pCheckboxT2->GetValue())
        {
            enableFixT2(true);
            enableFixT3(m_pCheckboxT3->GetValue());
        }
        else
        {
            enableFixT2(false);
            enableFixT3(false);
        }
    }
    else
    {
        enableFixT1(false);
        enableFixT2(false);
        enableFixT3(false);
    }
    m_pSpinCtrlTVar->Enable(!bFixed);
    m_pStaticTextTVarUnit->Enable(!bFixed);
    m_pComboBoxTVarEnergy->Enable(!bFixed);
}

void CZoltSDFrameHandler::enableStandby(bool bOn)
{
    m_pSpinCtrlStandbyTime->Enable(bOn);
    m_pStaticTextStandbyTimeUnit->Enable(bOn);
    m_pSpinCtrlStandbyTemp->Enable(bOn);
    m_pStaticTextStandbyTempUnit->Enable(bOn);
    m_pCheckboxShutDown->Enable(bOn);
    const bool bShutdown = bOn && m_pCheckboxShutDown->GetValue();
    m_pSpinCtrlShutdownTime->Enable(bShutdown);
    m_pStaticTextShutdownTimeUnit->Enable(bShutdown);
    m_pStaticTextAfterStandby->Enable(bShutdown);
}

void CZoltSDFrameHandler::switchUnit(bool bCentigrade)
{
    const wxString& strUnit = unitText(bCentigrade);
    for (wxStaticText* pText : m_apUnitText)
        pText->SetLabel(strUnit);

    const Ranges r(bCentigrade);

    // The shown values are in the unit selected before.
    auto convert = [bCentigrade](int nOld) -> int
    {
        const int16_t nValue = static_cast<int16_t>(nOld);
        return bCentigrade ? CDataCard::toCentigrade(CDataCard::fromFahrenheit(nValue))
                           : CDataCard::toFahrenheit(CDataCard::fromCentigrade(nValue));
    };
    // Rounding can take a limit of one unit just outside the other's (300 °F is
    // 149 °C): the user did not type that value, so it is clamped without a word.
    auto switchSpin = [&](CZoltSpinCtrl* pSpin, int nMin, int nMax)
    {
        const int nNew = std::clamp(convert(pSpin->GetValue()), nMin, nMax);
        pSpin->setRangeUnit(nMin, nMax, strUnit);
        showSpinValue(pSpin, nNew);
    };
    switchSpin(m_pSpinCtrlTVar, r.nSetMin, r.nSetMax);
    switchSpin(m_pSpinCtrlT3, r.nSetMin, r.nSetMax);
    switchSpin(m_pSpinCtrlT2, r.nSetMin, r.nSetMax);
    switchSpin(m_pSpinCtrlT1, r.nSetMin, r.nSetMax);
    switchSpin(m_pSpinCtrlStandbyTemp, r.nStbMin, r.nStbMax);
}

void CZoltSDFrameHandler::initSpinCtrls()
{
    m_pSpinCtrlT1->setNameUnit("fixed temperature 1", kUnitC);
    m_pSpinCtrlT2->setNameUnit("fixed temperature 2", kUnitC);
    m_pSpinCtrlT3->setNameUnit("fixed temperature 3", kUnitC);
    m_pSpinCtrlTVar->setNameUnit("variable temperature", kUnitC);
    m_pSpinCtrlStandbyTime->setNameUnit("standby time", kUnitMin);
    m_pSpinCtrlStandbyTemp->setNameUnit("standby temperature", kUnitC);
    m_pSpinCtrlShutdownTime->setNameUnit("shutdown time", kUnitMin);
}

// Both records must be showable: the unit of the one decides how the other's
// temperatures are read, so a pair with a foreign header changes nothing.
void CZoltSDFrameHandler::showRecords(const SysPar& rSysPar, const ToolPar& rToolPar)
{
    if (!isSysParHeader(rSysPar) || !isToolParHeader(rToolPar))
        return;
    m_bUpdating = true;
    setSysPar(rSysPar);
    setToolPar(rToolPar, rSysPar.cUnit == 1);
    enableTempMode(rToolPar.cFixEnabled != 0);
    enableStandby(rToolPar.cStandbyTmMin != 0);
    m_bUpdating = false;
}

void CZoltSDFrameHandler::readControls(SysPar& rSysPar, ToolPar& rToolPar)
{
    getSysPar(rSysPar);
    getToolPar(rToolPar);
}

void CZoltSDFrameHandler::onEvCheckboxKeylocked(wxCommandEvent& rEvent)
{
    ZOLT_NOT_IMPLEMENTED(rEvent);
}

// The shown values are converted only when the unit really changes: a second
// event for the selected button must not convert them twice.
void CZoltSDFrameHandler::onEvRadioBtnCelsius(wxCommandEvent&)
{
    if (m_apUnitText[0]->GetLabel() != unitText(true))
        switchUnit(true);
}

void CZoltSDFrameHandler::onEvRadioBtnFahrenheit(wxCommandEvent&)
{
    if (m_apUnitText[0]->GetLabel() != unitText(false))
        switchUnit(false);
}

void CZoltSDFrameHandler::onEvRadioBtnTempFix(wxCommandEvent&)
{
    enableTempMode(true);
}

void CZoltSDFrameHandler::onEvRadioBtnTempVar(wxCommandEvent&)
{
    enableTempMode(false);
}

void CZoltSDFrameHandler::onEvCheckboxT2(wxCommandEvent&)
{
    if (m_pCheckboxT2->GetValue())
    {
        enableFixT2(true);
        if (m_pCheckboxT3->GetValue())
            enableFixT3(true);
    }
    else
    {
        enableFixT2(false);
        enableFixT3(false);
    }
}

void CZoltSDFrameHandler::onEvCheckboxT3(wxCommandEvent&)
{
    enableFixT3(m_pCheckboxT3->GetValue());
}

void CZoltSDFrameHandler::onEvCheckboxStandby(wxCommandEvent&)
{
    enableStandby(m_pCheckboxStandby->GetValue());
}

void CZoltSDFrameHandler::onEvCheckboxShutDown(wxCommandEvent&)
{
    const bool bOn = m_pCheckboxShutDown->GetValue();
    m_pSpinCtrlShutdownTime->Enable(bOn);
    m_pStaticTextShutdownTimeUnit->Enable(bOn);
    m_pStaticTextAfterStandby->Enable(bOn);
}

void CZoltSDFrameHandler::onEvComboBoxT1Energy(wxCommandEvent& rEvent)
{
    ZOLT_NOT_IMPLEMENTED(rEvent);
}

void CZoltSDFrameHandler::onEvComboBoxT2Energy(wxCommandEvent& rEvent)
{
    ZOLT_NOT_IMPLEMENTED(rEvent);
}

void CZoltSDFrameHandler::onEvComboBoxT3Energy(wxCommandEvent& rEvent)
{
    ZOLT_NOT_IMPLEMENTED(rEvent);
}

void CZoltSDFrameHandler::onEvComboBoxTVarEnergy(wxCommandEvent& rEvent)
{
    ZOLT_NOT_IMPLEMENTED(rEvent);
}

// Spin events raised while records are being shown are consumed here.
#define ZOLT_SPIN_HANDLER(rEvent)                                                                  \
    do                                                                                             \
    {                                                                                              \
        if (m_bUpdating)                                                                           \
            return;                                                                                \
        ZOLT_NOT_IMPLEMENTED(rEvent);                                                              \
    } while (false)

void CZoltSDFrameHandler::onEvSpinCtrlT1(wxSpinEvent& rEvent)
{
    ZOLT_SPIN_HANDLER(rEvent);
}

void CZoltSDFrameHandler::onEvSpinCtrlT2(wxSpinEvent& rEvent)
{
    ZOLT_SPIN_HANDLER(rEvent);
}

void CZoltSDFrameHandler::onEvSpinCtrlT3(wxSpinEvent& rEvent)
{
    ZOLT_SPIN_HANDLER(rEvent);
}

void CZoltSDFrameHandler::onEvSpinCtrlTVar(wxSpinEvent& rEvent)
{
    ZOLT_SPIN_HANDLER(rEvent);
}

void CZoltSDFrameHandler::onEvSpinCtrlStandbyTime(wxSpinEvent& rEvent)
{
    ZOLT_SPIN_HANDLER(rEvent);
}

void CZoltSDFrameHandler::onEvSpinCtrlStandbyTemp(wxSpinEvent& rEvent)
{
    ZOLT_SPIN_HANDLER(rEvent);
}

void CZoltSDFrameHandler::onEvSpinCtrlShutdownTime(wxSpinEvent& rEvent)
{
    ZOLT_SPIN_HANDLER(rEvent);
}

void CZoltSDFrameHandler::onEvMenuSettingsSpeechEnglish(wxCommandEvent& rEvent)
{
    ZOLT_NOT_IMPLEMENTED(rEvent);
}

void CZoltSDFrameHandler::onEvMenuSettingsSpeechGerman(wxCommandEvent& rEvent)
{
    ZOLT_NOT_IMPLEMENTED(rEvent);
}

void CZoltSDFrameHandler::onEvMenuHelpDocumentation(wxCommandEvent& rEvent)
{
    ZOLT_NOT_IMPLEMENTED(rEvent);
}
