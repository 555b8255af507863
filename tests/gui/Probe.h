// The main window, plain layout or with its editing logic, with its controls
// in reach of the tests; records built from what the controls show; and a
// fixture with the editor's window over a fake card and a scripted prompter.
#pragma once

#include "GuiTest.h"

#include "CDataCard.h"
#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CZoltSDFrameHandler.h"
#include "CZoltSpinCtrl.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <array>
#include <functional>
#include <cstring>
#include <vector>

template <class TFrame> class CProbe : public TFrame
{
public:
    using TFrame::TFrame;

    using TFrame::m_pButtonDefault;
    using TFrame::m_pButtonLoad;
    using TFrame::m_pButtonRead;
    using TFrame::m_pButtonSave;
    using TFrame::m_pButtonWrite;
    using TFrame::m_pCheckboxKeylocked;
    using TFrame::m_pCheckboxShutDown;
    using TFrame::m_pCheckboxStandby;
    using TFrame::m_pCheckboxT2;
    using TFrame::m_pCheckboxT3;
    using TFrame::m_pComboBoxT1Energy;
    using TFrame::m_pComboBoxT2Energy;
    using TFrame::m_pComboBoxT3Energy;
    using TFrame::m_pComboBoxTVarEnergy;
    using TFrame::m_pRadioBtnCelsius;
    using TFrame::m_pRadioBtnFahrenheit;
    using TFrame::m_pRadioBtnTempFix;
    using TFrame::m_pRadioBtnTempVar;
    using TFrame::m_pSpinCtrlShutdownTime;
    using TFrame::m_pSpinCtrlStandbyTemp;
    using TFrame::m_pSpinCtrlStandbyTime;
    using TFrame::m_pSpinCtrlT1;
    using TFrame::m_pSpinCtrlT2;
    using TFrame::m_pSpinCtrlT3;
    using TFrame::m_pSpinCtrlTVar;
    using TFrame::m_pStaticBoxSleepMode;
    using TFrame::m_pStaticBoxStationMode;
    using TFrame::m_pStaticBoxTempMode;
    using TFrame::m_pStaticBoxTempUnit;
    using TFrame::m_pStaticTextAfterStandby;
    using TFrame::m_pStaticTextShutdownTimeUnit;
    using TFrame::m_pStaticTextStandbyTempUnit;
    using TFrame::m_pStaticTextStandbyTimeUnit;
    using TFrame::m_pStaticTextT1;
    using TFrame::m_pStaticTextT1Unit;
    using TFrame::m_pStaticTextT2Unit;
    using TFrame::m_pStaticTextT3Unit;
    using TFrame::m_pStaticTextTVarUnit;

    std::vector<CZoltSpinCtrl*> spins() const
    {
        return {m_pSpinCtrlT1,          m_pSpinCtrlT2,          m_pSpinCtrlT3,
                m_pSpinCtrlTVar,        m_pSpinCtrlStandbyTime, m_pSpinCtrlStandbyTemp,
                m_pSpinCtrlShutdownTime};
    }
    std::vector<wxComboBox*> combos() const
    {
        return {m_pComboBoxT1Energy, m_pComboBoxT2Energy, m_pComboBoxT3Energy,
                m_pComboBoxTVarEnergy};
    }
};

using CFrameProbe = CProbe<CZoltSDFrame>;

// What the controls show, in the display unit; the records built from it are
// those that reading the controls must give back.
struct Shown
{
    bool bCelsius, bLocked, bFixed;
    int nVar, nStandby;
    std::array<int, 3> anFix;
    int nVarEnergy;
    std::array<int, 3> anFixEnergy;
    int nFixCnt, nStandbyTm, nShutdownTm;
};

// Something other than the default in nearly every field.
inline Shown edited()
{
    return {false, true, true, 700, 400, {350, 500, 842}, 1, {2, 1, 3}, 2, 17, 42};
}

template <typename T> std::vector<uint8_t> bytes(const T& rRecord)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&rRecord);
    return std::vector<uint8_t>(p, p + sizeof(T));
}

// The station's default records.
struct Defaults
{
    SysPar sysPar;
    ToolPar toolPar;
    Defaults() { CDataCard::setDefaultPar(sysPar, toolPar); }
};

// The records the controls give for s: the station defaults in every field
// that has no control.
inline SysPar makeSys(const Shown& s)
{
    SysPar sysPar = Defaults().sysPar;
    sysPar.cUnit = s.bCelsius ? 1 : 2;
    sysPar.cLocked = s.bLocked ? 1 : 0;
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&sysPar), sizeof(sysPar));
    return sysPar;
}

inline ToolPar makeTool(const Shown& s)
{
    auto toRecord = [&s](int n)
    {
        const auto n16 = static_cast<int16_t>(n);
        return s.bCelsius ? CDataCard::fromCentigrade(n16) : CDataCard::fromFahrenheit(n16);
    };
    ToolPar toolPar = Defaults().toolPar;
    toolPar.nUpdateFlag = s.bFixed ? 0x003FC7F0 : 0x0038001B;
    toolPar.nVarSetT100mC = toRecord(s.nVar);
    toolPar.nVarStandbyT100mC = toRecord(s.nStandby);
    toolPar.cVarEnergy = static_cast<uint8_t>(s.nVarEnergy);
    toolPar.cFixEnabled = s.bFixed ? 1 : 0;
    for (int i = 0; i < 3; ++i)
    {
        toolPar.anFixSetT100mC[i] = toRecord(s.anFix[i]);
        toolPar.anFixStandbyT100mC[i] = toolPar.nVarStandbyT100mC;
        toolPar.acFixEnergy[i] = static_cast<uint8_t>(s.anFixEnergy[i]);
    }
    toolPar.cFixCnt = static_cast<uint8_t>(s.nFixCnt);
    toolPar.cFixActualIdx = s.nFixCnt == 3 ? 1 : 0;
    toolPar.cStandbyTmMin = static_cast<uint8_t>(s.nStandbyTm);
    toolPar.cShutdownTmMin = static_cast<uint8_t>(s.nStandbyTm != 0 ? s.nShutdownTm : 0);
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&toolPar), sizeof(toolPar));
    return toolPar;
}

// Both records as bytes, to compare them whole.
using Records = std::pair<std::vector<uint8_t>, std::vector<uint8_t>>;
inline Records recordsOf(const SysPar& rSysPar, const ToolPar& rToolPar)
{
    return {bytes(rSysPar), bytes(rToolPar)};
}
inline Records recordsOf(const Shown& s)
{
    return recordsOf(makeSys(s), makeTool(s));
}
inline Records defaultRecords()
{
    return recordsOf(Defaults().sysPar, Defaults().toolPar);
}

class CHandlerProbe : public CProbe<CZoltSDFrameHandler>
{
public:
    using CProbe::CProbe;
    using CZoltSDFrameHandler::m_apTempSpin;
    using CZoltSDFrameHandler::m_apUnitText;
    using CZoltSDFrameHandler::showRecords;

    // Sends the event a menu item or button raises.
    void menu(int nId) { command(wxEVT_MENU, nId); }
    void button(int nId) { command(wxEVT_BUTTON, nId); }
    void command(wxEventType type, int nId)
    {
        wxCommandEvent event(type, nId);
        event.SetEventObject(this);
        ProcessWindowEvent(event);
    }
    // The user clicks a check box into a state, or selects a radio button.
    void click(wxCheckBox* pBox, bool bChecked)
    {
        pBox->SetValue(bChecked);
        send(pBox, wxEVT_CHECKBOX, bChecked);
    }
    void click(wxRadioButton* pButton)
    {
        pButton->SetValue(true);
        send(pButton, wxEVT_RADIOBUTTON, true);
    }
    void show(const Shown& s) { showRecords(makeSys(s), makeTool(s)); }

    // Both records as the controls give them.
    Records records()
    {
        SysPar sysPar;
        ToolPar toolPar;
        EXPECT_TRUE(getSysPar(sysPar) && getToolPar(toolPar));
        return recordsOf(sysPar, toolPar);
    }

private:
    static void send(wxWindow* pControl, wxEventType type, bool bChecked)
    {
        wxCommandEvent event(type, pControl->GetId());
        event.SetEventObject(pControl);
        event.SetInt(bChecked ? 1 : 0);
        pControl->ProcessWindowEvent(event);
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

    // Every control state the binding may touch, as text.
    std::vector<wxString> snapshot() const
    {
        CHandlerProbe* f = m_pFrame;
        std::vector<wxString> astr;
        for (CZoltSpinCtrl* p : f->spins())
            astr.push_back(wxString::Format("%s %d..%d %s", p->GetTextValue(), p->GetMin(),
                                            p->GetMax(), p->getUnit()));
        for (wxComboBox* p : f->combos())
            astr.push_back(wxString::Format("%d", p->GetSelection()));
        // The controls of a box are the box's children.
        std::function<void(wxWindow*)> add = [&](wxWindow* pParent)
        {
            for (wxWindow* p : pParent->GetChildren())
            {
                astr.push_back(p->GetLabel() + (p->IsEnabled() ? " e" : " d"));
                if (auto* pBox = dynamic_cast<wxCheckBox*>(p))
                    astr.push_back(pBox->GetValue() ? "x" : "-");
                if (auto* pRadio = dynamic_cast<wxRadioButton*>(p))
                    astr.push_back(pRadio->GetValue() ? "o" : "-");
                if (dynamic_cast<wxStaticBox*>(p))
                    add(p);
            }
        };
        add(f);
        return astr;
    }
    // The one report since the prompter was last cleared, as "title: text".
    wxString report() const
    {
        const auto& aReports = m_prompter.getReports();
        return aReports.size() == 1 ? aReports[0].strTitle + ": " + aReports[0].strText
                                    : wxString::Format("%zu reports", aReports.size());
    }
    static wxString text(const CZoltSpinCtrl* pSpin) { return pSpin->GetTextValue(); }

    CFakeVolumeLayer m_layer;
    CScriptedPrompter m_prompter;
    CHandlerProbe* m_pFrame = nullptr;
};
