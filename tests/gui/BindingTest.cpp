// Showing records in the editor's controls and reading them back: values,
// units and ranges, the enabling rules, the unit switch, bad records.
#include "GuiTest.h"

namespace
{
using Binding = CHandlerTest;

TEST_F(Binding, RecordsShowInTheirUnitAndReadBackByteForByte)
{
    CHandlerProbe* f = m_pFrame;
    // T 1..3, variable and standby temperature: value, range, unit and its label.
    const std::pair<uint8_t, const char*> aDefaults[] = {
        {1, "320 150..450 C C|360 150..450 C C|400 150..450 C C|360 150..450 C C|"
            "250 150..300 C C|"},
        {2, "608 300..842 F F|680 300..842 F F|752 300..842 F F|680 300..842 F F|"
            "482 300..575 F F|"}};
    for (const auto& [cUnit, pcShown] : aDefaults)
    {
        Defaults d;
        d.sysPar.cUnit = cUnit;
        f->showRecords(d.sysPar, d.toolPar);
        wxString str;
        for (int i = 0; i < 5; ++i)
            str += wxString::Format("%s %d..%d %s %s|", f->m_apTempSpin[i]->GetTextValue(),
                                    f->m_apTempSpin[i]->GetMin(), f->m_apTempSpin[i]->GetMax(),
                                    f->m_apTempSpin[i]->getUnit(), f->m_apUnitText[i]->GetLabel());
        str.Replace(kDegC, "C");
        str.Replace(kDegF, "F");
        EXPECT_EQ(pcShown, str);
    }

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
        EXPECT_NO_DIALOG(f->show(s));
        EXPECT_EQ(s.records(), f->records());
    }
}

TEST_F(Binding, CountAndTimesFollowTheT2T3StandbyAndShutdownBoxes)
{
    CHandlerProbe* f = m_pFrame;
    f->m_pCheckboxT2->SetValue(false); // T 3 counts only with T 2
    ToolPar t;
    f->getToolPar(t);
    EXPECT_EQ(1, t.cFixCnt);
    EXPECT_EQ(0, t.cFixActualIdx);
    // A zero time clears its box; the field keeps its last number.
    const struct
    {
        int nStandbyIn, nShutdownIn;
        const char* pcShown; // standby box, shutdown box, times shown
        int nStandbyOut, nShutdownOut;
    } aTimes[] = {
        {0, 30, "-- 5 10", 0, 0}, {7, 0, "x- 7 10", 7, 0}, {60, 240, "xx 60 240", 60, 240}};
    for (const auto& c : aTimes)
    {
        Defaults d;
        d.toolPar.cStandbyTmMin = static_cast<uint8_t>(c.nStandbyIn);
        d.toolPar.cShutdownTmMin = static_cast<uint8_t>(c.nShutdownIn);
        f->showRecords(d.sysPar, d.toolPar);
        EXPECT_EQ(c.pcShown, wxString(f->m_pCheckboxStandby->GetValue() ? "x" : "-") +
                                 (f->m_pCheckboxShutDown->GetValue() ? "x " : "- ") +
                                 f->m_pSpinCtrlStandbyTime->GetTextValue() + " " +
                                 f->m_pSpinCtrlShutdownTime->GetTextValue());
        f->getToolPar(t);
        EXPECT_EQ(c.nStandbyOut, t.cStandbyTmMin) << c.pcShown;
        EXPECT_EQ(c.nShutdownOut, t.cShutdownTmMin) << c.pcShown;
    }
    // Unchecking standby by hand takes the shutdown time along.
    f->click(f->m_pCheckboxStandby, false);
    f->getToolPar(t);
    EXPECT_EQ(0, t.cStandbyTmMin + t.cShutdownTmMin);
    EXPECT_EQ("60", f->m_pSpinCtrlStandbyTime->GetTextValue());
}

TEST_F(Binding, EnablingFollowsModeAndBoxesWhetherClickedOrShown)
{
    CHandlerProbe* f = m_pFrame;
    wxStaticText* const* u = f->m_apUnitText; // T 1..3, variable, standby temperature
    const std::vector<wxWindow*> aGroups[] = {
        {f->m_pStaticTextT1, f->m_pSpinCtrlT1, u[0], f->m_pComboBoxT1Energy, f->m_pCheckboxT2},
        {f->m_pSpinCtrlT2, u[1], f->FindWindow(ID_COMBOBOX_T2_ENERGY), f->m_pCheckboxT3},
        {f->m_pSpinCtrlT3, u[2], f->FindWindow(ID_COMBOBOX_T3_ENERGY)},
        {f->m_pSpinCtrlTVar, u[3], f->m_pComboBoxTVarEnergy},
        {f->m_pSpinCtrlStandbyTime, f->m_pStaticTextStandbyTimeUnit, f->m_pSpinCtrlStandbyTemp,
         u[4], f->m_pCheckboxShutDown},
        {f->m_pSpinCtrlShutdownTime, f->m_pStaticTextShutdownTimeUnit,
         f->m_pStaticTextAfterStandby},
        {f->m_pRadioBtnCelsius, f->m_pRadioBtnFahrenheit, f->m_pRadioBtnTempFix,
         f->m_pRadioBtnTempVar, f->m_pCheckboxKeylocked, f->m_pCheckboxStandby},
    };
    for (int nBits = 0; nBits < 32; ++nBits)
    {
        const bool bFixed = nBits & 1, bT2 = nBits & 2, bT3 = nBits & 4, bStandby = nBits & 8;
        bool bShutdown = nBits & 16;
        SCOPED_TRACE(nBits);
        auto expectAll = [&]
        {
            const bool abOn[] = {bFixed,  bFixed && bT2, bFixed && bT2 && bT3,
                                 !bFixed, bStandby,      bStandby && bShutdown,
                                 true};
            for (size_t n = 0; n < std::size(aGroups); ++n)
                for (wxWindow* p : aGroups[n])
                    EXPECT_EQ(abOn[n], p->IsEnabled()) << n << " " << p->GetLabel();
        };
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
        Shown s = {true, false, bFixed, 360, 250, {320, 360, 400}, 3, {3, 3, 3}, 1, 0, 0};
        s.nFixCnt = bT2 ? (bT3 ? 3 : 2) : 1;
        s.nStandbyTm = bStandby ? 5 : 0;
        s.nShutdownTm = bShutdown ? 10 : 0;
        f->show(s);
        bShutdown = bShutdown && bStandby; // a record without standby has no shutdown
        expectAll();
    }
    // From all on: unchecking T 2 by hand takes T 3 along, checking it brings T 3 back.
    wxString strOn;
    for (auto [pBox, bOn] : {std::pair{f->m_pCheckboxT2, false},
                             {f->m_pCheckboxT2, true},
                             {f->m_pCheckboxT3, false},
                             {f->m_pCheckboxT3, true}})
    {
        f->click(pBox, bOn);
        strOn << f->m_pSpinCtrlT2->IsEnabled() << f->m_pSpinCtrlT3->IsEnabled() << " ";
    }
    EXPECT_EQ("00 11 10 11 ", strOn);
}

TEST_F(Binding, UnitSwitchGivesBackEveryWholeCelsiusDegree)
{
    CHandlerProbe* f = m_pFrame;
    for (int n = 150; n <= 450; ++n)
    {
        for (int i = 0; i < 5; ++i)
            f->m_apTempSpin[i]->SetValue(i == 4 ? std::min(n, 300) : n);
        EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnFahrenheit));
        const int nF = CDataCard::toFahrenheit(static_cast<int16_t>(n * 10));
        ASSERT_EQ(wxString::Format("%d", nF), f->m_pSpinCtrlT1->GetTextValue()) << n;
        EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnCelsius));
        for (int i = 0; i < 5; ++i)
            ASSERT_EQ(wxString::Format("%d", i == 4 ? std::min(n, 300) : n),
                      f->m_apTempSpin[i]->GetTextValue())
                << n;
    }
    f->click(f->m_pRadioBtnCelsius); // the unit already shown converts nothing
    EXPECT_EQ("450", f->m_pSpinCtrlT1->GetTextValue());
    wxSpinEvent step(wxEVT_SPINCTRL, ID_SPINCTRL_T1); // a step passes on to the field
    step.SetEventObject(f->m_pSpinCtrlT1);
    f->m_pSpinCtrlT1->ProcessWindowEvent(step);
    EXPECT_TRUE(step.GetSkipped());

    // A converted value just outside the new range was not typed: it is clamped silently.
    Defaults d;
    d.sysPar.cUnit = 2;
    f->showRecords(d.sysPar, d.toolPar);
    f->m_pSpinCtrlT1->SetValue(300);
    f->m_pSpinCtrlT2->SetValue(842);
    f->m_pSpinCtrlTVar->SetValue(301);
    f->m_pSpinCtrlStandbyTemp->SetValue(575);
    EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnCelsius));
    EXPECT_EQ("150 450 150 300", f->m_pSpinCtrlT1->GetTextValue() + " " +
                                     f->m_pSpinCtrlT2->GetTextValue() + " " +
                                     f->m_pSpinCtrlTVar->GetTextValue() + " " +
                                     f->m_pSpinCtrlStandbyTemp->GetTextValue());
    ToolPar t;
    EXPECT_NO_DIALOG(f->getToolPar(t));
    EXPECT_EQ(1500, int{t.anFixSetT100mC[0]});
    EXPECT_EQ(3000, int{t.nVarStandbyT100mC});
}

// The station takes no standby temperature above its standby maximum: however
// the window came to show its values, a higher entry is clamped and reported.
TEST_F(Binding, StandbyTemperatureHasTheStandbyRangeEverywhere)
{
    CHandlerProbe* f = m_pFrame;
    Defaults dF;
    dF.sysPar.cUnit = 2;
    // Each way to Celsius starts from Fahrenheit records (0); -1: as the window opens.
    for (int nWay :
         {-1, 0, +ID_RADIOBTN_CELSIUS, 0, +ID_MENU_SETTINGS_DEFAULT, 0, +ID_MENU_FILE_NEW})
    {
        SCOPED_TRACE(nWay);
        if (nWay == 0)
            f->showRecords(dF.sysPar, dF.toolPar);
        else if (nWay == ID_RADIOBTN_CELSIUS)
            f->click(f->m_pRadioBtnCelsius);
        else if (nWay > 0)
            f->menu(nWay);
        const bool bF = nWay == 0;
        const int nMin = bF ? 300 : 150, nMax = bF ? 575 : 300;
        const wxString strUnit = bF ? kDegF : kDegC;
        EXPECT_EQ(nMin, f->m_pSpinCtrlStandbyTemp->GetMin());
        const wxString strTyped = wxString::Format("%d", nMax + 100);
        gtk_entry_set_text(GTK_ENTRY(f->m_pSpinCtrlStandbyTemp->GetHandle()), strTyped.utf8_str());
        ToolPar t;
        const wxString strMsg = "standby temperature is not in range\nwill be set to maximum of ";
        wxTEST_DIALOG(
            f->getToolPar(t),
            expectMessage("validation failed", strMsg + wxString::Format("%d ", nMax) + strUnit));
        EXPECT_EQ(CDataCard::fromDisplayUnit(static_cast<int16_t>(nMax), strUnit == kDegC),
                  int{t.nVarStandbyT100mC});
        f->m_pSpinCtrlStandbyTemp->SetValue(nMin); // the next way starts from a good entry
    }
}

TEST_F(Binding, EnergyOutsideOneToThreeShowsTheNearestLevel)
{
    for (const auto& [cLevel, nShown] : {std::pair<uint8_t, int>{0, 1}, {2, 2}, {4, 3}, {255, 3}})
    {
        SCOPED_TRACE(int(cLevel));
        Defaults d;
        d.toolPar.cVarEnergy = d.toolPar.acFixEnergy[0] = cLevel;
        const wxAssertHandler_t fnAssert = wxSetAssertHandler(nullptr); // the level is checked
        m_pFrame->showRecords(d.sysPar, d.toolPar);
        wxSetAssertHandler(fnAssert);
        EXPECT_EQ(nShown, m_pFrame->m_pComboBoxTVarEnergy->GetSelection() + 1);
        EXPECT_EQ(nShown, m_pFrame->m_pComboBoxT1Energy->GetSelection() + 1);
        ToolPar t;
        m_pFrame->getToolPar(t);
        EXPECT_EQ(nShown * 100 + nShown * 10 + 3,
                  t.cVarEnergy * 100 + t.acFixEnergy[0] * 10 + t.acFixEnergy[1]);
    }
}

TEST_F(Binding, RecordsWithAForeignHeaderChangeNothing)
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
    EXPECT_EQ("680", m_pFrame->m_pSpinCtrlTVar->GetTextValue());
}
} // namespace
