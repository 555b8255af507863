// Showing parameter records in the main window's controls and reading them
// back: values, units and ranges, the enabling rules, the unit switch.
#include "Probe.h"

#include <gtk/gtk.h>

#include <functional>

using guitest::CAssertCounter;

namespace
{
using BindingTest = CHandlerTest;

TEST_F(BindingTest, DefaultRecordsShowTheStationDefaultsInEitherUnit)
{
    const struct
    {
        uint8_t cUnit;
        std::array<int, 5> anTemp; // T1, T2, T3, variable, standby
        int nMin, nMax, nStbMax;   // the standby temperature has a range of its own
        wxString strUnit;
    } aCases[] = {
        {1, {320, 360, 400, 360, 250}, 150, 450, 300, kDegC},
        {2, {608, 680, 752, 680, 482}, 300, 842, 575, kDegF},
    };
    CHandlerProbe* f = m_pFrame;
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.cUnit);
        Defaults d;
        d.sysPar.cUnit = c.cUnit;
        f->showRecords(d.sysPar, d.toolPar);
        for (int i = 0; i < 5; ++i)
        {
            EXPECT_EQ(wxString::Format("%d", c.anTemp[i]), text(f->m_apTempSpin[i])) << i;
            EXPECT_EQ(c.nMin, f->m_apTempSpin[i]->GetMin()) << i;
            EXPECT_EQ(i == 4 ? c.nStbMax : c.nMax, f->m_apTempSpin[i]->GetMax()) << i;
            EXPECT_EQ(c.strUnit, f->m_apTempSpin[i]->getUnit()) << i;
            EXPECT_EQ(c.strUnit, f->m_apUnitText[i]->GetLabel()) << i;
        }
        EXPECT_EQ("5", text(f->m_pSpinCtrlStandbyTime));
        EXPECT_EQ("10", text(f->m_pSpinCtrlShutdownTime));
        for (wxComboBox* p : f->combos())
            EXPECT_EQ("Energy 3", p->GetValue());
        for (wxCheckBox* p :
             {f->m_pCheckboxT2, f->m_pCheckboxT3, f->m_pCheckboxStandby, f->m_pCheckboxShutDown})
            EXPECT_TRUE(p->GetValue()) << p->GetLabel();
        EXPECT_FALSE(f->m_pCheckboxKeylocked->GetValue());
        EXPECT_TRUE(f->m_pRadioBtnTempVar->GetValue());
        EXPECT_EQ(c.cUnit == 1, f->m_pRadioBtnCelsius->GetValue());
        EXPECT_EQ(c.cUnit == 2, f->m_pRadioBtnFahrenheit->GetValue());
    }
}

TEST_F(BindingTest, ShownRecordsReadBackByteForByte)
{
    Defaults d;
    m_pFrame->showRecords(d.sysPar, d.toolPar);
    EXPECT_EQ(recordsOf(d.sysPar, d.toolPar), m_pFrame->records());

    const Shown aCases[] = {
        // Celsius, fixed mode, one temperature, no standby.
        {true, false, true, 200, 180, {150, 151, 449}, 1, {1, 2, 3}, 1, 0, 0},
        // Two fixed temperatures, standby without shutdown, key lock.
        {true, true, true, 450, 300, {450, 300, 200}, 2, {3, 1, 2}, 2, 60, 0},
        // Variable mode at the limits of every field.
        {true, false, false, 150, 150, {320, 360, 400}, 2, {3, 3, 3}, 3, 1, 240},
        // Fahrenheit, both modes, odd degrees.
        {false, false, false, 842, 575, {300, 301, 302}, 1, {2, 2, 2}, 3, 5, 10},
        {false, true, true, 555, 300, {841, 677, 333}, 3, {1, 3, 2}, 3, 59, 11},
    };
    for (const Shown& s : aCases)
    {
        SCOPED_TRACE(wxString::Format("C %d fixed %d count %d", s.bCelsius, s.bFixed, s.nFixCnt));
        EXPECT_NO_DIALOG(m_pFrame->show(s));
        EXPECT_EQ(recordsOf(s), m_pFrame->records());
    }
}

TEST_F(BindingTest, CountAndTimesFollowTheT2T3StandbyAndShutdownBoxes)
{
    CHandlerProbe* f = m_pFrame;
    // T 3 counts only with T 2.
    f->m_pCheckboxT2->SetValue(false);
    ToolPar toolPar;
    f->getToolPar(toolPar);
    EXPECT_EQ(1, toolPar.cFixCnt);
    EXPECT_EQ(0, toolPar.cFixActualIdx);

    // A zero time clears its box; the field keeps its last number.
    const struct
    {
        int nStandbyIn, nShutdownIn;
        const char* pcStandby;
        const char* pcShutdown;
        int nStandbyOut, nShutdownOut;
    } aTimes[] = {
        {0, 30, "5", "10", 0, 0},
        {7, 0, "7", "10", 7, 0},
        {60, 240, "60", "240", 60, 240},
    };
    for (const auto& c : aTimes)
    {
        SCOPED_TRACE(wxString::Format("%d/%d", c.nStandbyIn, c.nShutdownIn));
        Defaults d;
        d.toolPar.cStandbyTmMin = static_cast<uint8_t>(c.nStandbyIn);
        d.toolPar.cShutdownTmMin = static_cast<uint8_t>(c.nShutdownIn);
        f->showRecords(d.sysPar, d.toolPar);
        EXPECT_EQ(c.nStandbyIn != 0, f->m_pCheckboxStandby->GetValue());
        EXPECT_EQ(c.nStandbyOut && c.nShutdownOut, f->m_pCheckboxShutDown->GetValue());
        EXPECT_EQ(c.pcStandby, text(f->m_pSpinCtrlStandbyTime));
        EXPECT_EQ(c.pcShutdown, text(f->m_pSpinCtrlShutdownTime));
        ToolPar back;
        f->getToolPar(back);
        EXPECT_EQ(c.nStandbyOut, back.cStandbyTmMin);
        EXPECT_EQ(c.nShutdownOut, back.cShutdownTmMin);
    }
    // Unchecking standby by hand takes the shutdown time along.
    f->click(f->m_pCheckboxStandby, false);
    ToolPar back;
    f->getToolPar(back);
    EXPECT_EQ(0, back.cStandbyTmMin);
    EXPECT_EQ(0, back.cShutdownTmMin);
    EXPECT_EQ("60", text(f->m_pSpinCtrlStandbyTime));
}

TEST_F(BindingTest, EnablingRulesFollowModeAndBoxes)
{
    CHandlerProbe* f = m_pFrame;
    const struct
    {
        const char* pcGroup;
        std::vector<wxWindow*> apWin;
    } aGroups[] = {
        {"T1",
         {f->m_pStaticTextT1, f->m_pSpinCtrlT1, f->m_pStaticTextT1Unit, f->m_pComboBoxT1Energy,
          f->m_pCheckboxT2}},
        {"T2",
         {f->m_pSpinCtrlT2, f->m_pStaticTextT2Unit, f->m_pComboBoxT2Energy, f->m_pCheckboxT3}},
        {"T3", {f->m_pSpinCtrlT3, f->m_pStaticTextT3Unit, f->m_pComboBoxT3Energy}},
        {"variable", {f->m_pSpinCtrlTVar, f->m_pStaticTextTVarUnit, f->m_pComboBoxTVarEnergy}},
        {"standby",
         {f->m_pSpinCtrlStandbyTime, f->m_pStaticTextStandbyTimeUnit, f->m_pSpinCtrlStandbyTemp,
          f->m_pStaticTextStandbyTempUnit, f->m_pCheckboxShutDown}},
        {"shutdown",
         {f->m_pSpinCtrlShutdownTime, f->m_pStaticTextShutdownTimeUnit,
          f->m_pStaticTextAfterStandby}},
        {"always",
         {f->m_pRadioBtnCelsius, f->m_pRadioBtnFahrenheit, f->m_pRadioBtnTempFix,
          f->m_pRadioBtnTempVar, f->m_pCheckboxKeylocked, f->m_pCheckboxStandby}},
    };
    for (int nBits = 0; nBits < 32; ++nBits)
    {
        const bool bFixed = nBits & 1, bT2 = nBits & 2, bT3 = nBits & 4, bStandby = nBits & 8;
        bool bShutdown = nBits & 16;
        SCOPED_TRACE(wxString::Format("fixed %d T2 %d T3 %d standby %d shutdown %d", bFixed, bT2,
                                      bT3, bStandby, bShutdown));
        auto expectAll = [&]
        {
            const bool abOn[] = {bFixed,  bFixed && bT2, bFixed && bT2 && bT3,
                                 !bFixed, bStandby,      bStandby && bShutdown,
                                 true};
            for (size_t n = 0; n < std::size(aGroups); ++n)
                for (wxWindow* p : aGroups[n].apWin)
                    EXPECT_EQ(abOn[n], p->IsEnabled())
                        << aGroups[n].pcGroup << " " << p->GetLabel();
        };
        // By the user's clicks.
        f->m_pCheckboxT2->SetValue(bT2);
        f->m_pCheckboxT3->SetValue(bT3);
        f->m_pCheckboxShutDown->SetValue(bShutdown);
        f->click(bFixed ? f->m_pRadioBtnTempFix : f->m_pRadioBtnTempVar);
        f->click(f->m_pCheckboxStandby, bStandby);
        expectAll();
        // By showing records, from the opposite state; T 3 without T 2 is no record.
        if (!bT2 && bT3)
            continue;
        f->click(bFixed ? f->m_pRadioBtnTempVar : f->m_pRadioBtnTempFix);
        f->click(f->m_pCheckboxStandby, !bStandby);
        const int nCnt = bT2 ? (bT3 ? 3 : 2) : 1;
        Shown s = {true, false, bFixed, 360, 250, {320, 360, 400}, 3, {3, 3, 3}, nCnt, 0, 0};
        s.nStandbyTm = bStandby ? 5 : 0;
        s.nShutdownTm = bShutdown ? 10 : 0;
        f->show(s);
        bShutdown = bShutdown && bStandby; // a record without standby has no shutdown
        expectAll();
    }
}

TEST_F(BindingTest, UpdateFlagsFollowTheTemperatureMode)
{
    for (bool bFixed : {true, false})
    {
        m_pFrame->click(bFixed ? m_pFrame->m_pRadioBtnTempFix : m_pFrame->m_pRadioBtnTempVar);
        m_pFrame->m_pCheckboxKeylocked->SetValue(bFixed);
        ToolPar toolPar;
        SysPar sysPar;
        m_pFrame->getToolPar(toolPar);
        m_pFrame->getSysPar(sysPar);
        // Packed fields are compared as copies: EXPECT_EQ binds references.
        EXPECT_EQ(bFixed ? 0x003FC7F0u : 0x0038001Bu, uint32_t{toolPar.nUpdateFlag});
        EXPECT_EQ(bFixed ? 1 : 0, toolPar.cFixEnabled);
        EXPECT_EQ(3u, uint32_t{sysPar.nUpdateFlag});
        EXPECT_EQ(bFixed ? 1 : 0, sysPar.cLocked);
    }
}

TEST_F(BindingTest, UnitSwitchGivesBackEveryWholeCelsiusDegree)
{
    CHandlerProbe* f = m_pFrame;
    const std::vector<CZoltSpinCtrl*> apSet = {f->m_pSpinCtrlT1, f->m_pSpinCtrlT2, f->m_pSpinCtrlT3,
                                               f->m_pSpinCtrlTVar};
    for (int n = 150; n <= 450; ++n)
    {
        const int nStandby = std::min(n, 300);
        for (CZoltSpinCtrl* p : apSet)
            p->SetValue(n);
        f->m_pSpinCtrlStandbyTemp->SetValue(nStandby);
        EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnFahrenheit));
        const int nF = CDataCard::toFahrenheit(static_cast<int16_t>(n * 10));
        ASSERT_EQ(wxString::Format("%d", nF), text(f->m_pSpinCtrlT1)) << n;
        EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnCelsius));
        for (CZoltSpinCtrl* p : apSet)
            ASSERT_EQ(wxString::Format("%d", n), text(p)) << n;
        ASSERT_EQ(wxString::Format("%d", nStandby), text(f->m_pSpinCtrlStandbyTemp)) << n;
    }
    // Another event for the unit already shown converts nothing.
    f->click(f->m_pRadioBtnCelsius);
    EXPECT_EQ("450", text(f->m_pSpinCtrlT1));
}

// The station takes no standby temperature above its standby maximum: however
// the window came to show its values, a higher entry is clamped and reported.
TEST_F(BindingTest, StandbyTemperatureHasTheStandbyRangeEverywhere)
{
    CHandlerProbe* f = m_pFrame;
    auto showIn = [f](uint8_t cUnit)
    {
        Defaults d;
        d.sysPar.cUnit = cUnit;
        f->showRecords(d.sysPar, d.toolPar);
    };
    const struct
    {
        const char* pcWay;
        std::function<void()> fnWay;
        int nMin, nMax;
        wxString strUnit;
    } aWays[] = {
        {"start", [] {}, 150, 300, kDegC},
        {"records in F", [&] { showIn(2); }, 300, 575, kDegF},
        {"switch to C", [f] { f->click(f->m_pRadioBtnCelsius); }, 150, 300, kDegC},
        {"records in F again", [&] { showIn(2); }, 300, 575, kDegF},
        {"Default", [f] { f->menu(ID_MENU_SETTINGS_DEFAULT); }, 150, 300, kDegC},
        {"New", [f] { f->menu(ID_MENU_FILE_NEW); }, 150, 300, kDegC},
    };
    for (const auto& w : aWays)
    {
        SCOPED_TRACE(w.pcWay);
        w.fnWay();
        EXPECT_EQ(w.nMin, f->m_pSpinCtrlStandbyTemp->GetMin());
        EXPECT_EQ(w.nMax, f->m_pSpinCtrlStandbyTemp->GetMax());
        const wxString strTyped = wxString::Format("%d", w.nMax + 100);
        gtk_entry_set_text(GTK_ENTRY(f->m_pSpinCtrlStandbyTemp->GetHandle()), strTyped.utf8_str());
        ToolPar toolPar;
        wxTEST_DIALOG(f->getToolPar(toolPar),
                      expectMessage("validation failed",
                                    wxString::Format("standby temperature is not in range\n"
                                                     "will be set to maximum of %d ",
                                                     w.nMax) +
                                        w.strUnit));
        EXPECT_EQ(CDataCard::fromDisplayUnit(static_cast<int16_t>(w.nMax), w.strUnit == kDegC),
                  int{toolPar.nVarStandbyT100mC});
        f->m_pSpinCtrlStandbyTemp->SetValue(w.nMin); // the next way starts from a good entry
    }
}

// A converted value just outside the new unit's range was not typed by the
// user: it is clamped without a word, and reads back without one.
TEST_F(BindingTest, UnitSwitchClampsConvertedValuesSilently)
{
    CHandlerProbe* f = m_pFrame;
    Defaults d;
    d.sysPar.cUnit = 2;
    f->showRecords(d.sysPar, d.toolPar);
    f->m_pSpinCtrlT1->SetValue(300);
    f->m_pSpinCtrlT2->SetValue(842);
    f->m_pSpinCtrlTVar->SetValue(301);
    f->m_pSpinCtrlStandbyTemp->SetValue(575);
    EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnCelsius));
    const std::pair<CZoltSpinCtrl*, const char*> aShown[] = {{f->m_pSpinCtrlT1, "150"},
                                                             {f->m_pSpinCtrlT2, "450"},
                                                             {f->m_pSpinCtrlTVar, "150"},
                                                             {f->m_pSpinCtrlStandbyTemp, "300"}};
    for (const auto& [pSpin, pcText] : aShown)
        EXPECT_EQ(pcText, text(pSpin)) << pSpin->getName();
    ToolPar toolPar;
    EXPECT_NO_DIALOG(f->getToolPar(toolPar));
    EXPECT_EQ(1500, int{toolPar.anFixSetT100mC[0]});
    EXPECT_EQ(3000, int{toolPar.nVarStandbyT100mC});
}

TEST_F(BindingTest, EnergyOutsideOneToThreeShowsTheNearestLevel)
{
    for (const auto& [cLevel, nShown] : {std::pair<uint8_t, int>{0, 1}, {2, 2}, {4, 3}, {255, 3}})
    {
        SCOPED_TRACE(int(cLevel));
        Defaults d;
        d.toolPar.cVarEnergy = d.toolPar.acFixEnergy[0] = cLevel;
        {
            CAssertCounter asserts;
            m_pFrame->showRecords(d.sysPar, d.toolPar);
            EXPECT_EQ(cLevel == 2 ? 0 : 2, asserts.count());
        }
        EXPECT_EQ(nShown, m_pFrame->m_pComboBoxTVarEnergy->GetSelection() + 1);
        EXPECT_EQ(nShown, m_pFrame->m_pComboBoxT1Energy->GetSelection() + 1);
        EXPECT_EQ(3, m_pFrame->m_pComboBoxT2Energy->GetSelection() + 1);
        ToolPar back;
        m_pFrame->getToolPar(back);
        EXPECT_EQ(nShown, back.cVarEnergy);
        EXPECT_EQ(nShown, back.acFixEnergy[0]);
    }
}

TEST_F(BindingTest, RecordsWithAForeignHeaderChangeNothing)
{
    Defaults d;
    d.sysPar.cUnit = 2;
    const std::vector<wxString> astrBefore = snapshot();
    ToolPar wrongTool = d.toolPar;
    wrongTool.cType = 0x61;
    SysPar wrongSys = d.sysPar;
    wrongSys.cType = 0x62;
    EXPECT_FALSE(m_pFrame->setToolPar(wrongTool, true));
    EXPECT_FALSE(m_pFrame->setSysPar(wrongSys));
    EXPECT_EQ(astrBefore, snapshot());
    // Too short or of version 0, either record keeps both from being shown.
    for (int nCase = 0; nCase < 4; ++nCase)
    {
        SysPar s = d.sysPar;
        ToolPar t = d.toolPar;
        (nCase == 0 ? s.cLength : nCase == 1 ? s.cVersion : nCase == 2 ? t.cLength : t.cVersion)--;
        m_pFrame->showRecords(s, t);
        EXPECT_EQ(astrBefore, snapshot()) << nCase;
    }
    d.sysPar.cLength = 46; // longer and newer records are shown
    d.toolPar.cVersion = 2;
    EXPECT_TRUE(m_pFrame->setSysPar(d.sysPar) && m_pFrame->setToolPar(d.toolPar, false));
    EXPECT_EQ("680", text(m_pFrame->m_pSpinCtrlTVar));
}

} // namespace
