// Showing parameter records in the main window's controls and reading them
// back: values, units and ranges, the enabling rules, the unit switch, and
// what happens to values the controls cannot hold.
#include "HandlerProbe.h"

#include "CDataCard.h"

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include <array>
#include <functional>

#include <wx/uiaction.h>

using guitest::CAssertCounter;
using namespace handlertest;

namespace
{
const wxString kDegC = wxString::FromUTF8("\xC2\xB0"
                                          "C");
const wxString kDegF = wxString::FromUTF8("\xC2\xB0"
                                          "F");

void defaults(SysPar& rSysPar, ToolPar& rToolPar)
{
    CDataCard::setDefaultPar(rSysPar, rToolPar);
}

#ifdef __WXGTK__
// What the user leaves in a field: any text, in range or not.
void typeText(CZoltSpinCtrl* pSpin, const char* pcText)
{
    gtk_entry_set_text(GTK_ENTRY(pSpin->GetHandle()), pcText);
}
#endif

using BindingTest = CHandlerTest;

TEST_F(BindingTest, DefaultRecordsShowTheStationDefaultsInEitherUnit)
{
    struct Case
    {
        uint8_t cUnit;
        std::array<int, 5> anTemp; // T1, T2, T3, variable, standby
        int nMin, nMax;
        wxString strUnit;
    };
    const Case aCases[] = {
        {1, {320, 360, 400, 360, 250}, 150, 450, kDegC},
        {2, {608, 680, 752, 680, 482}, 300, 842, kDegF},
    };
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(c.cUnit);
        SysPar sysPar;
        ToolPar toolPar;
        defaults(sysPar, toolPar);
        sysPar.cUnit = c.cUnit;
        m_pFrame->showRecords(sysPar, toolPar);

        CHandlerProbe* f = m_pFrame;
        for (int i = 0; i < 5; ++i)
        {
            EXPECT_EQ(wxString::Format("%d", c.anTemp[i]), text(f->m_apTempSpin[i])) << i;
            EXPECT_EQ(c.nMin, f->m_apTempSpin[i]->GetMin()) << i;
            EXPECT_EQ(c.nMax, f->m_apTempSpin[i]->GetMax()) << i;
            EXPECT_EQ(c.strUnit, f->m_apTempSpin[i]->getUnit()) << i;
            EXPECT_EQ(c.strUnit, f->m_apUnitText[i]->GetLabel()) << i;
        }
        EXPECT_EQ("5", text(f->m_pSpinCtrlStandbyTime));
        EXPECT_EQ("10", text(f->m_pSpinCtrlShutdownTime));
        for (wxComboBox* p : {f->m_pComboBoxT1Energy, f->m_pComboBoxT2Energy,
                              f->m_pComboBoxT3Energy, f->m_pComboBoxTVarEnergy})
            EXPECT_EQ("Energy 3", p->GetValue());
        EXPECT_TRUE(f->m_pCheckboxT2->GetValue());
        EXPECT_TRUE(f->m_pCheckboxT3->GetValue());
        EXPECT_TRUE(f->m_pRadioBtnTempVar->GetValue());
        EXPECT_FALSE(f->m_pRadioBtnTempFix->GetValue());
        EXPECT_TRUE(f->m_pCheckboxStandby->GetValue());
        EXPECT_TRUE(f->m_pCheckboxShutDown->GetValue());
        EXPECT_FALSE(f->m_pCheckboxKeylocked->GetValue());
        EXPECT_EQ(c.cUnit == 1, f->m_pRadioBtnCelsius->GetValue());
        EXPECT_EQ(c.cUnit == 2, f->m_pRadioBtnFahrenheit->GetValue());
        EXPECT_FALSE(f->m_bUpdating);
    }
}

TEST_F(BindingTest, ShownRecordsReadBackByteForByte)
{
    SysPar defSys;
    ToolPar defTool;
    defaults(defSys, defTool);
    m_pFrame->showRecords(defSys, defTool);
    EXPECT_EQ(CHandlerProbe::bytes(defSys), m_pFrame->sysBytes());
    EXPECT_EQ(CHandlerProbe::bytes(defTool), m_pFrame->toolBytes());

    const Shown aCases[] = {
        // Celsius, fixed mode, one temperature, no standby.
        {true, false, true, 200, 180, {150, 151, 449}, 1, {1, 2, 3}, 1, 0, 0},
        // Two fixed temperatures, standby without shutdown, key lock.
        {true, true, true, 450, 450, {450, 300, 200}, 2, {3, 1, 2}, 2, 60, 0},
        // Variable mode at the limits of every field.
        {true, false, false, 150, 150, {320, 360, 400}, 2, {3, 3, 3}, 3, 1, 240},
        // Fahrenheit, variable mode.
        {false, false, false, 842, 575, {300, 301, 302}, 1, {2, 2, 2}, 3, 5, 10},
        // Fahrenheit, fixed mode, odd degrees.
        {false, true, true, 555, 300, {841, 677, 333}, 3, {1, 3, 2}, 3, 59, 11},
    };
    for (const Shown& s : aCases)
    {
        SCOPED_TRACE(
            wxString::Format("unit %d fixed %d count %d", s.bCelsius, s.bFixed, s.nFixCnt));
        const SysPar sysPar = makeSys(s);
        const ToolPar toolPar = makeTool(s);
        EXPECT_NO_DIALOG(m_pFrame->showRecords(sysPar, toolPar));
        EXPECT_EQ(CHandlerProbe::bytes(sysPar), m_pFrame->sysBytes());
        EXPECT_EQ(CHandlerProbe::bytes(toolPar), m_pFrame->toolBytes());
        EXPECT_EQ(wxString::Format("%d", s.nVar), text(m_pFrame->m_pSpinCtrlTVar));
        EXPECT_EQ(wxString::Format("%d", s.anFix[2]), text(m_pFrame->m_pSpinCtrlT3));
    }
}

TEST_F(BindingTest, FixedCountAndIndexComeFromTheT2AndT3Boxes)
{
    struct Case
    {
        bool bT2, bT3;
        int nCnt, nIdx;
    };
    const Case aCases[] = {
        {true, true, 3, 1}, {true, false, 2, 0}, {false, true, 1, 0}, {false, false, 1, 0}};
    for (const Case& c : aCases)
    {
        m_pFrame->m_pCheckboxT2->SetValue(c.bT2);
        m_pFrame->m_pCheckboxT3->SetValue(c.bT3);
        ToolPar toolPar;
        m_pFrame->getToolPar(toolPar);
        EXPECT_EQ(c.nCnt, toolPar.cFixCnt) << c.bT2 << c.bT3;
        EXPECT_EQ(c.nIdx, toolPar.cFixActualIdx) << c.bT2 << c.bT3;
    }
}

TEST_F(BindingTest, StandbyAndShutdownTimesFollowTheirBoxes)
{
    struct Case
    {
        int nStandbyIn, nShutdownIn;
        bool bStandby;
        const char* pcStandby;
        bool bShutdown;
        const char* pcShutdown;
        int nStandbyOut, nShutdownOut;
    };
    const Case aCases[] = {
        {0, 30, false, "5", false, "10", 0, 0},      {0, 0, false, "5", false, "10", 0, 0},
        {7, 0, true, "7", false, "10", 7, 0},        {7, 33, true, "7", true, "33", 7, 33},
        {60, 240, true, "60", true, "240", 60, 240}, {1, 10, true, "1", true, "10", 1, 10},
    };
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(wxString::Format("%d/%d", c.nStandbyIn, c.nShutdownIn));
        SysPar sysPar;
        ToolPar toolPar;
        defaults(sysPar, toolPar);
        toolPar.cStandbyTmMin = static_cast<uint8_t>(c.nStandbyIn);
        toolPar.cShutdownTmMin = static_cast<uint8_t>(c.nShutdownIn);
        m_pFrame->showRecords(sysPar, toolPar);
        EXPECT_EQ(c.bStandby, m_pFrame->m_pCheckboxStandby->GetValue());
        EXPECT_EQ(c.pcStandby, text(m_pFrame->m_pSpinCtrlStandbyTime));
        EXPECT_EQ(c.bShutdown, m_pFrame->m_pCheckboxShutDown->GetValue());
        EXPECT_EQ(c.pcShutdown, text(m_pFrame->m_pSpinCtrlShutdownTime));
        ToolPar back;
        m_pFrame->getToolPar(back);
        EXPECT_EQ(c.nStandbyOut, back.cStandbyTmMin);
        EXPECT_EQ(c.nShutdownOut, back.cShutdownTmMin);
    }

    // Unchecking by hand: the time fields keep their numbers but count as 0.
    m_pFrame->click(m_pFrame->m_pCheckboxShutDown, false);
    ToolPar back;
    m_pFrame->getToolPar(back);
    EXPECT_EQ(1, back.cStandbyTmMin);
    EXPECT_EQ(0, back.cShutdownTmMin);
    m_pFrame->click(m_pFrame->m_pCheckboxShutDown, true);
    m_pFrame->click(m_pFrame->m_pCheckboxStandby, false);
    m_pFrame->getToolPar(back);
    EXPECT_EQ(0, back.cStandbyTmMin);
    EXPECT_EQ(0, back.cShutdownTmMin);
    EXPECT_EQ("1", text(m_pFrame->m_pSpinCtrlStandbyTime));
}

TEST_F(BindingTest, FieldsWithoutControlsComeBackCanonical)
{
    SysPar sysPar;
    ToolPar toolPar;
    defaults(sysPar, toolPar);
    std::memset(sysPar.acPassword, 'p', sizeof(sysPar.acPassword));
    std::memset(sysPar.acSerialNumber, 's', sizeof(sysPar.acSerialNumber));
    sysPar.nEntityNo = 77;
    toolPar.cWakeup = 0;
    toolPar.nVarCalT100mK = 12;
    for (int i = 0; i < 3; ++i)
        toolPar.anFixCalT100mK[i] = 12;
    toolPar.cFixActualIdx = 2;
    toolPar.anFixStandbyT100mC[1] = 2900; // differs from the variable standby
    {
        CAssertCounter asserts;
        m_pFrame->showRecords(sysPar, toolPar);
        EXPECT_EQ(1, asserts.count());
        EXPECT_EQ("rToolPar.anFixStandbyT100mC[i] == rToolPar.nVarStandbyT100mC",
                  asserts.lastMessage());
    }
    SysPar defSys;
    ToolPar defTool;
    defaults(defSys, defTool);
    EXPECT_EQ(CHandlerProbe::bytes(defSys), m_pFrame->sysBytes());
    EXPECT_EQ(CHandlerProbe::bytes(defTool), m_pFrame->toolBytes());
}

TEST_F(BindingTest, UpdateFlagsFollowTheTemperatureMode)
{
    m_pFrame->click(m_pFrame->m_pRadioBtnTempFix);
    EXPECT_FALSE(m_pFrame->m_pRadioBtnTempVar->GetValue());
    ToolPar toolPar;
    m_pFrame->getToolPar(toolPar);
    EXPECT_EQ(0x003FC7F0u, toolPar.nUpdateFlag);
    EXPECT_EQ(1, toolPar.cFixEnabled);

    m_pFrame->click(m_pFrame->m_pRadioBtnTempVar);
    m_pFrame->getToolPar(toolPar);
    EXPECT_EQ(0x0038001Bu, toolPar.nUpdateFlag);
    EXPECT_EQ(0, toolPar.cFixEnabled);

    for (bool bLocked : {false, true})
    {
        m_pFrame->m_pCheckboxKeylocked->SetValue(bLocked);
        SysPar sysPar;
        m_pFrame->getSysPar(sysPar);
        EXPECT_EQ(3u, sysPar.nUpdateFlag);
        EXPECT_EQ(bLocked ? 1 : 0, sysPar.cLocked);
    }
}

TEST_F(BindingTest, AnyUnitButCentigradeShowsFahrenheit)
{
    for (uint8_t cUnit : {0, 3, 2, 255})
    {
        SysPar sysPar;
        ToolPar toolPar;
        defaults(sysPar, toolPar);
        sysPar.cUnit = 1;
        m_pFrame->showRecords(sysPar, toolPar);
        sysPar.cUnit = cUnit;
        {
            CAssertCounter asserts; // a unit other than 2 is not expected
            m_pFrame->showRecords(sysPar, toolPar);
            EXPECT_EQ(cUnit == 2 ? 0 : 1, asserts.count()) << int(cUnit);
        }
        EXPECT_TRUE(m_pFrame->m_pRadioBtnFahrenheit->GetValue());
        EXPECT_FALSE(m_pFrame->m_pRadioBtnCelsius->GetValue());
        EXPECT_EQ(kDegF, m_pFrame->m_pStaticTextTVarUnit->GetLabel());
        EXPECT_EQ("680", text(m_pFrame->m_pSpinCtrlTVar));
        SysPar back;
        m_pFrame->getSysPar(back);
        EXPECT_EQ(2, back.cUnit);
    }
}

TEST_F(BindingTest, RecordsWithAForeignHeaderChangeNothing)
{
    SysPar sysPar;
    ToolPar toolPar;
    defaults(sysPar, toolPar);
    sysPar.cUnit = 2;
    toolPar.nVarSetT100mC = 4000;
    const std::vector<wxString> astrBefore = snapshot();

    // A SysPar where a ToolPar belongs and the other way round.
    ToolPar wrongTool = toolPar;
    wrongTool.cType = 0x61;
    SysPar wrongSys = sysPar;
    wrongSys.cType = 0x62;
    EXPECT_FALSE(m_pFrame->setToolPar(wrongTool, true));
    EXPECT_FALSE(m_pFrame->setSysPar(wrongSys));
    EXPECT_EQ(astrBefore, snapshot());

    struct Case
    {
        const char* pcWhat;
        uint8_t cSysLength, cSysVersion, cToolLength, cToolVersion;
    };
    const Case aCases[] = {
        {"short SysPar", 44, 1, 43, 1},
        {"SysPar version 0", 45, 0, 43, 1},
        {"short ToolPar", 45, 1, 42, 1},
        {"ToolPar version 0", 45, 1, 43, 0},
    };
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(c.pcWhat);
        SysPar s = sysPar;
        ToolPar t = toolPar;
        s.cLength = c.cSysLength;
        s.cVersion = c.cSysVersion;
        t.cLength = c.cToolLength;
        t.cVersion = c.cToolVersion;
        m_pFrame->showRecords(s, t);
        EXPECT_EQ(astrBefore, snapshot());
    }

    // Longer and newer records are shown.
    sysPar.cLength = 46;
    toolPar.cVersion = 2;
    m_pFrame->showRecords(sysPar, toolPar);
    EXPECT_EQ("752", text(m_pFrame->m_pSpinCtrlTVar));
}

TEST_F(BindingTest, EnergyOutsideOneToThreeShowsTheNearestLevel)
{
    struct Case
    {
        uint8_t cLevel;
        int nShown;
    };
    const Case aCases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {255, 3}};
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(int(c.cLevel));
        SysPar sysPar;
        ToolPar toolPar;
        defaults(sysPar, toolPar);
        toolPar.cVarEnergy = c.cLevel;
        toolPar.acFixEnergy[0] = c.cLevel;
        toolPar.acFixEnergy[2] = c.cLevel;
        const bool bValid = c.cLevel >= 1 && c.cLevel <= 3;
        {
            CAssertCounter asserts;
            m_pFrame->showRecords(sysPar, toolPar);
            EXPECT_EQ(bValid ? 0 : 3, asserts.count());
            if (!bValid)
            {
                EXPECT_EQ("nValue >= 1 && nValue <= 3", asserts.lastMessage());
            }
        }
        EXPECT_EQ(c.nShown, energy(m_pFrame->m_pComboBoxTVarEnergy));
        EXPECT_EQ(c.nShown, energy(m_pFrame->m_pComboBoxT1Energy));
        EXPECT_EQ(3, energy(m_pFrame->m_pComboBoxT2Energy));
        EXPECT_EQ(c.nShown, energy(m_pFrame->m_pComboBoxT3Energy));
        ToolPar back;
        m_pFrame->getToolPar(back);
        EXPECT_EQ(c.nShown, back.cVarEnergy);
        EXPECT_EQ(c.nShown, back.acFixEnergy[0]);
        EXPECT_EQ(c.nShown, back.acFixEnergy[2]);
    }
}

TEST_F(BindingTest, ValuesBeyondTheRangesAreClampedAndToldOnTheNextRead)
{
    // As a card may hold them: nothing has validated these.
    SysPar sysPar;
    ToolPar toolPar;
    defaults(sysPar, toolPar);
    toolPar.nVarSetT100mC = 4600;
    toolPar.anFixSetT100mC[1] = 1000;
    toolPar.cStandbyTmMin = 90;
    toolPar.cShutdownTmMin = 250;
    {
        CAssertCounter asserts;
        EXPECT_NO_DIALOG(m_pFrame->showRecords(sysPar, toolPar));
        EXPECT_EQ(2, asserts.count());
    }
    EXPECT_EQ("460", text(m_pFrame->m_pSpinCtrlTVar));
    EXPECT_EQ("100", text(m_pFrame->m_pSpinCtrlT2));
    EXPECT_EQ("90", text(m_pFrame->m_pSpinCtrlStandbyTime));
    EXPECT_EQ("250", text(m_pFrame->m_pSpinCtrlShutdownTime));

    // One message per field, in the order the fields are read.
    ToolPar back;
    wxTEST_DIALOG(
        m_pFrame->getToolPar(back),
        CExpectMessage("validation failed",
                       "variable temperature is not in range\nwill be set to maximum of 450 " +
                           kDegC),
        CExpectMessage("validation failed",
                       "fixed temperature 2 is not in range\nwill be set to mimimum of 150 " +
                           kDegC),
        CExpectMessage("validation failed",
                       "standby time is not in range\nwill be set to maximum of 60 min"),
        CExpectMessage("validation failed",
                       "shutdown time is not in range\nwill be set to maximum of 240 min"));
    EXPECT_EQ(4500, back.nVarSetT100mC);
    EXPECT_EQ(1500, back.anFixSetT100mC[1]);
    EXPECT_EQ(60, back.cStandbyTmMin);
    EXPECT_EQ(240, back.cShutdownTmMin);

    // Records shown next replace every such text, whatever value the field
    // held underneath.
    for (int nPass = 0; nPass < 2; ++nPass)
    {
        {
            CAssertCounter asserts;
            m_pFrame->showRecords(sysPar, toolPar);
        }
        SysPar defSys;
        ToolPar defTool;
        defaults(defSys, defTool);
        if (nPass == 1)
        {
            defTool.nVarSetT100mC = 4500;
            defTool.anFixSetT100mC[1] = 1500;
            defTool.cStandbyTmMin = 60;
            defTool.cShutdownTmMin = 240;
            CDataCard::setCrc(reinterpret_cast<uint8_t*>(&defTool), sizeof(defTool));
        }
        EXPECT_NO_DIALOG(m_pFrame->showRecords(defSys, defTool));
        EXPECT_EQ(CHandlerProbe::bytes(defTool), m_pFrame->toolBytes()) << nPass;
    }
}

TEST_F(BindingTest, UnitSwitchGivesBackEveryWholeCelsiusDegree)
{
    CHandlerProbe* f = m_pFrame;
    for (int n = 150; n <= 450; ++n)
    {
        const int nStandby = n <= 300 ? n : 300;
        for (CZoltSpinCtrl* p :
             {f->m_pSpinCtrlT1, f->m_pSpinCtrlT2, f->m_pSpinCtrlT3, f->m_pSpinCtrlTVar})
            p->SetValue(n);
        f->m_pSpinCtrlStandbyTemp->SetValue(nStandby);

        EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnFahrenheit));
        const int nF = CDataCard::toFahrenheit(static_cast<int16_t>(n * 10));
        ASSERT_EQ(wxString::Format("%d", nF), text(f->m_pSpinCtrlT1)) << n;
        ASSERT_EQ(wxString::Format("%d", nF), text(f->m_pSpinCtrlTVar)) << n;
        EXPECT_EQ(kDegF, f->m_pStaticTextT3Unit->GetLabel());

        EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnCelsius));
        for (CZoltSpinCtrl* p :
             {f->m_pSpinCtrlT1, f->m_pSpinCtrlT2, f->m_pSpinCtrlT3, f->m_pSpinCtrlTVar})
            ASSERT_EQ(wxString::Format("%d", n), text(p)) << n;
        ASSERT_EQ(wxString::Format("%d", nStandby), text(f->m_pSpinCtrlStandbyTemp)) << n;
    }
    f->m_pSpinCtrlT1->SetValue(320);
    f->click(f->m_pRadioBtnFahrenheit);
    EXPECT_EQ("608", text(f->m_pSpinCtrlT1));

    // Another event for the selected unit converts nothing.
    f->click(f->m_pRadioBtnFahrenheit);
    EXPECT_EQ("608", text(f->m_pSpinCtrlT1));
    f->click(f->m_pRadioBtnCelsius);
    f->click(f->m_pRadioBtnCelsius);
    EXPECT_EQ("320", text(f->m_pSpinCtrlT1));
}

TEST_F(BindingTest, UnitSwitchSetsRangesAndUnitsOfTheTemperatureFields)
{
    CHandlerProbe* f = m_pFrame;
    struct Case
    {
        bool bCelsius;
        int nSetMin, nSetMax, nStbMin, nStbMax;
        wxString strUnit;
    };
    const Case aCases[] = {{false, 300, 842, 300, 575, kDegF}, {true, 150, 450, 150, 300, kDegC}};
    for (const Case& c : aCases)
    {
        f->click(c.bCelsius ? f->m_pRadioBtnCelsius : f->m_pRadioBtnFahrenheit);
        for (int i = 0; i < 5; ++i)
        {
            const bool bStandby = f->m_apTempSpin[i] == f->m_pSpinCtrlStandbyTemp;
            EXPECT_EQ(bStandby ? c.nStbMin : c.nSetMin, f->m_apTempSpin[i]->GetMin()) << i;
            EXPECT_EQ(bStandby ? c.nStbMax : c.nSetMax, f->m_apTempSpin[i]->GetMax()) << i;
            EXPECT_EQ(c.strUnit, f->m_apTempSpin[i]->getUnit()) << i;
            EXPECT_EQ(c.strUnit, f->m_apUnitText[i]->GetLabel()) << i;
        }
        EXPECT_EQ("min", f->m_pSpinCtrlStandbyTime->getUnit());
        EXPECT_EQ("min", f->m_pSpinCtrlShutdownTime->getUnit());
        EXPECT_EQ(1, f->m_pSpinCtrlStandbyTime->GetMin());
        EXPECT_EQ(240, f->m_pSpinCtrlShutdownTime->GetMax());
    }
}

#ifdef __WXGTK__
TEST_F(BindingTest, FahrenheitValuesMayMoveByADegreeThroughCelsius)
{
    CHandlerProbe* f = m_pFrame;
    SysPar sysPar;
    ToolPar toolPar;
    defaults(sysPar, toolPar);
    sysPar.cUnit = 2;
    f->showRecords(sysPar, toolPar);

    f->m_pSpinCtrlT1->SetValue(301);
    f->m_pSpinCtrlT2->SetValue(300);
    EXPECT_NO_DIALOG(f->click(f->m_pRadioBtnCelsius));
    EXPECT_EQ("150", text(f->m_pSpinCtrlT1));
    EXPECT_EQ("149", text(f->m_pSpinCtrlT2)); // one below the minimum, left for the next read
    // The switch back reads the 149 first: clamped, and told.
    wxTEST_DIALOG(f->click(f->m_pRadioBtnFahrenheit),
                  CExpectMessage("validation failed", "fixed temperature 2 is not in range\n"
                                                      "will be set to mimimum of 150 " +
                                                          kDegC));
    EXPECT_EQ("302", text(f->m_pSpinCtrlT1));
    EXPECT_EQ("302", text(f->m_pSpinCtrlT2));
}

TEST_F(BindingTest, StandbyTemperatureNarrowsToItsRangeOnlyAfterASwitch)
{
    CHandlerProbe* f = m_pFrame;
    f->setDefault();
    typeText(f->m_pSpinCtrlStandbyTemp, "400");
    ToolPar toolPar;
    EXPECT_NO_DIALOG(f->getToolPar(toolPar));
    EXPECT_EQ(4000, toolPar.nVarStandbyT100mC);

    typeText(f->m_pSpinCtrlStandbyTemp, "250");
    f->click(f->m_pRadioBtnFahrenheit);
    f->click(f->m_pRadioBtnCelsius);
    typeText(f->m_pSpinCtrlStandbyTemp, "400");
    wxTEST_DIALOG(f->getToolPar(toolPar),
                  CExpectMessage("validation failed", "standby temperature is not in range\n"
                                                      "will be set to maximum of 300 " +
                                                          kDegC));
    EXPECT_EQ(3000, toolPar.nVarStandbyT100mC);

    // Showing records gives it the set range again.
    f->setDefault();
    typeText(f->m_pSpinCtrlStandbyTemp, "400");
    EXPECT_NO_DIALOG(f->getToolPar(toolPar));
    EXPECT_EQ(4000, toolPar.nVarStandbyT100mC);
}
#endif

TEST_F(BindingTest, EnablingRulesFollowModeAndBoxes)
{
    CHandlerProbe* f = m_pFrame;
    const std::vector<wxWindow*> apT1 = {f->m_pStaticTextT1, f->m_pSpinCtrlT1,
                                         f->m_pStaticTextT1Unit, f->m_pComboBoxT1Energy,
                                         f->m_pCheckboxT2};
    const std::vector<wxWindow*> apT2 = {f->m_pSpinCtrlT2, f->m_pStaticTextT2Unit,
                                         f->m_pComboBoxT2Energy, f->m_pCheckboxT3};
    const std::vector<wxWindow*> apT3 = {f->m_pSpinCtrlT3, f->m_pStaticTextT3Unit,
                                         f->m_pComboBoxT3Energy};
    const std::vector<wxWindow*> apVar = {f->m_pSpinCtrlTVar, f->m_pStaticTextTVarUnit,
                                          f->m_pComboBoxTVarEnergy};
    const std::vector<wxWindow*> apStandby = {
        f->m_pSpinCtrlStandbyTime, f->m_pStaticTextStandbyTimeUnit, f->m_pSpinCtrlStandbyTemp,
        f->m_pStaticTextStandbyTempUnit, f->m_pCheckboxShutDown};
    const std::vector<wxWindow*> apShutdown = {
        f->m_pSpinCtrlShutdownTime, f->m_pStaticTextShutdownTimeUnit, f->m_pStaticTextAfterStandby};
    const std::vector<wxWindow*> apUntouched = {f->m_pRadioBtnCelsius,   f->m_pRadioBtnFahrenheit,
                                                f->m_pRadioBtnTempFix,   f->m_pRadioBtnTempVar,
                                                f->m_pCheckboxKeylocked, f->m_pCheckboxStandby};
    auto expectGroup = [](const std::vector<wxWindow*>& ap, bool bEnabled, const char* pcGroup)
    {
        for (wxWindow* p : ap)
            EXPECT_EQ(bEnabled, p->IsEnabled()) << pcGroup << " " << p->GetLabel();
    };

    for (int nBits = 0; nBits < 32; ++nBits)
    {
        const bool bFixed = nBits & 1, bT2 = nBits & 2, bT3 = nBits & 4, bStandby = nBits & 8;
        bool bShutdown = nBits & 16;
        SCOPED_TRACE(wxString::Format("fixed %d T2 %d T3 %d standby %d shutdown %d", bFixed, bT2,
                                      bT3, bStandby, bShutdown));
        auto expectAll = [&]
        {
            expectGroup(apT1, bFixed, "T1");
            expectGroup(apT2, bFixed && bT2, "T2");
            expectGroup(apT3, bFixed && bT2 && bT3, "T3");
            expectGroup(apVar, !bFixed, "variable");
            expectGroup(apStandby, bStandby, "standby");
            expectGroup(apShutdown, bStandby && bShutdown, "shutdown");
            expectGroup(apUntouched, true, "untouched");
        };

        // By the user's clicks.
        f->m_pCheckboxT2->SetValue(bT2);
        f->m_pCheckboxT3->SetValue(bT3);
        f->m_pCheckboxShutDown->SetValue(bShutdown);
        f->click(bFixed ? f->m_pRadioBtnTempFix : f->m_pRadioBtnTempVar);
        f->click(f->m_pCheckboxStandby, bStandby);
        expectAll();

        // By showing records; T 3 without T 2 cannot come from a record.
        if (!bT2 && bT3)
            continue;
        Shown s = {true,
                   false,
                   bFixed,
                   360,
                   250,
                   {320, 360, 400},
                   3,
                   {3, 3, 3},
                   bT2 ? (bT3 ? 3 : 2) : 1,
                   bStandby ? 5 : 0,
                   bShutdown ? 10 : 0};
        f->click(bFixed ? f->m_pRadioBtnTempVar : f->m_pRadioBtnTempFix);
        f->click(f->m_pCheckboxStandby, !bStandby);
        f->showRecords(makeSys(s), makeTool(s));
        if (!bStandby) // a record without standby has no shutdown either
            bShutdown = false;
        expectAll();
    }
}

TEST_F(BindingTest, T2AndT3BoxesEnableTheirRows)
{
    CHandlerProbe* f = m_pFrame;
    f->setDefault();
    f->click(f->m_pRadioBtnTempFix);
    ASSERT_TRUE(f->m_pSpinCtrlT3->IsEnabled());

    // Unchecking T 2 takes T 3 along but keeps its tick.
    f->click(f->m_pCheckboxT2, false);
    EXPECT_FALSE(f->m_pSpinCtrlT2->IsEnabled());
    EXPECT_FALSE(f->m_pCheckboxT3->IsEnabled());
    EXPECT_FALSE(f->m_pSpinCtrlT3->IsEnabled());
    EXPECT_TRUE(f->m_pCheckboxT3->GetValue());
    f->click(f->m_pCheckboxT2, true);
    EXPECT_TRUE(f->m_pSpinCtrlT2->IsEnabled());
    EXPECT_TRUE(f->m_pComboBoxT3Energy->IsEnabled());

    f->click(f->m_pCheckboxT3, false);
    EXPECT_FALSE(f->m_pSpinCtrlT3->IsEnabled());
    EXPECT_TRUE(f->m_pCheckboxT3->IsEnabled());
    f->click(f->m_pCheckboxT2, false);
    f->click(f->m_pCheckboxT2, true);
    EXPECT_FALSE(f->m_pSpinCtrlT3->IsEnabled()); // T 3 unchecked: its row stays off
    f->click(f->m_pCheckboxT3, true);
    EXPECT_TRUE(f->m_pStaticTextT3Unit->IsEnabled());

    f->click(f->m_pCheckboxShutDown, false);
    EXPECT_FALSE(f->m_pSpinCtrlShutdownTime->IsEnabled());
    EXPECT_FALSE(f->m_pStaticTextAfterStandby->IsEnabled());
    f->click(f->m_pCheckboxShutDown, true);
    EXPECT_TRUE(f->m_pStaticTextShutdownTimeUnit->IsEnabled());
}

TEST_F(BindingTest, PlaceholdersSkipTheirEventAndSaySo)
{
    struct Case
    {
        wxEventType type;
        int nId;
        const char* pcHandler;
    };
    const Case aCases[] = {
        {wxEVT_CHECKBOX, ID_CHECKBOX_KEYLOCKED, "onEvCheckboxKeylocked"},
        {wxEVT_COMBOBOX, ID_COMBOBOX_T1_ENERGY, "onEvComboBoxT1Energy"},
        {wxEVT_COMBOBOX, ID_COMBOBOX_T2_ENERGY, "onEvComboBoxT2Energy"},
        {wxEVT_COMBOBOX, ID_COMBOBOX_T3_ENERGY, "onEvComboBoxT3Energy"},
        {wxEVT_COMBOBOX, ID_COMBOBOX_TVAR_ENERGY, "onEvComboBoxTVarEnergy"},
        {wxEVT_MENU, ID_MENU_SETTINGS_SPEECH_ENGLISH, "onEvMenuSettingsSpeechEnglish"},
        {wxEVT_MENU, ID_MENU_HELP_DOCUMENTATION, "onEvMenuHelpDocumentation"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_T1, "onEvSpinCtrlT1"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_T2, "onEvSpinCtrlT2"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_T3, "onEvSpinCtrlT3"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_TVAR, "onEvSpinCtrlTVar"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_STANDBY_TIME, "onEvSpinCtrlStandbyTime"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_STANDBY_TEMP, "onEvSpinCtrlStandbyTemp"},
        {wxEVT_SPINCTRL, ID_SPINCTRL_SHUTDOWN_TIME, "onEvSpinCtrlShutdownTime"},
    };
    const std::vector<wxString> astrBefore = snapshot();
    for (const Case& c : aCases)
    {
        for (bool bUpdating : {false, true})
        {
            SCOPED_TRACE(wxString::Format("%s updating %d", c.pcHandler, bUpdating));
            const bool bSpin = c.type == wxEVT_SPINCTRL;
            CLogCollector log;
            m_pFrame->m_bUpdating = bUpdating;
            bool bSkipped;
            if (bSpin)
            {
                wxSpinEvent event(c.type, c.nId);
                m_pFrame->ProcessWindowEvent(event);
                bSkipped = event.GetSkipped();
            }
            else
            {
                wxCommandEvent event(c.type, c.nId);
                m_pFrame->ProcessWindowEvent(event);
                bSkipped = event.GetSkipped();
            }
            m_pFrame->m_bUpdating = false;
            // Spin events that arrive while records are shown are consumed.
            const bool bConsumed = bSpin && bUpdating;
            EXPECT_EQ(!bConsumed, bSkipped);
            if (bConsumed)
            {
                EXPECT_TRUE(log.m_astrMessages.empty());
            }
            else
            {
                EXPECT_EQ(std::vector<wxString>{wxString::Format(
                              "Event handler (CZoltSDFrameHandler::%s) not implemented yet",
                              c.pcHandler)},
                          log.m_astrMessages);
            }
        }
    }
    EXPECT_EQ(astrBefore, snapshot());

    CLogCollector log;
    wxCommandEvent event(wxEVT_MENU, wxID_ANY);
    m_pFrame->onEvMenuSettingsSpeechGerman(event);
    EXPECT_TRUE(event.GetSkipped());
    EXPECT_EQ(std::vector<wxString>{"Event handler (CZoltSDFrameHandler::"
                                    "onEvMenuSettingsSpeechGerman) not implemented yet"},
              log.m_astrMessages);
}

} // namespace

namespace
{
// The same rules when the user clicks the real controls.
TEST_F(BindingTest, MouseClicksRunTheRules)
{
    CHandlerProbe* f = m_pFrame;
    f->Raise();
    guitest::pumpEvents(50);
    wxUIActionSimulator sim;
    auto clickOn = [&sim](wxWindow* pControl, const std::function<bool()>& fnDone)
    {
        const wxRect rect = pControl->GetScreenRect();
        // Near the left edge: check boxes and radio buttons react on their indicator.
        sim.MouseMove(rect.GetLeft() + std::min(10, rect.GetWidth() / 2),
                      rect.GetTop() + rect.GetHeight() / 2);
        guitest::pumpEvents(20);
        sim.MouseClick();
        EXPECT_TRUE(guitest::waitUntil(fnDone)) << pControl->GetLabel();
    };
    clickOn(f->m_pRadioBtnFahrenheit, [f] { return text(f->m_pSpinCtrlT1) == "608"; });
    EXPECT_EQ("482", text(f->m_pSpinCtrlStandbyTemp));
    clickOn(f->m_pRadioBtnTempFix, [f] { return f->m_pSpinCtrlT1->IsEnabled(); });
    EXPECT_FALSE(f->m_pSpinCtrlTVar->IsEnabled());
    clickOn(f->m_pCheckboxT3, [f] { return !f->m_pSpinCtrlT3->IsEnabled(); });
    clickOn(f->m_pCheckboxStandby, [f] { return !f->m_pSpinCtrlStandbyTime->IsEnabled(); });
    EXPECT_FALSE(f->m_pStaticTextAfterStandby->IsEnabled());
    clickOn(f->m_pRadioBtnCelsius, [f] { return text(f->m_pSpinCtrlT1) == "320"; });

    ToolPar toolPar;
    EXPECT_NO_DIALOG(f->getToolPar(toolPar));
    EXPECT_EQ(2, toolPar.cFixCnt);
    EXPECT_EQ(0, toolPar.cStandbyTmMin);
    EXPECT_EQ(0x003FC7F0u, toolPar.nUpdateFlag);
}
} // namespace
