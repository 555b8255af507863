// Records shown in the editor's controls and read back; enabling; the unit switch.
#include "GuiTest.h"

namespace
{
using Binding = CHandlerTest;

// What the controls show, and records that show so (defaults where no control is).
struct Shown
{
    bool bCelsius, bLocked, bFixed;
    int nVar, nStandby, anFix[3], nVarEnergy, anFixEnergy[3], nFixCnt, nStandbyTm, nShutdownTm;
    SysPar s{};
    ToolPar t{};

    Shown& build()
    {
        CDataCard::setDefaultPar(s, t);
        auto toRecord = [this](int n) { return CDataCard::fromDisplayUnit(int16_t(n), bCelsius); };
        s.cUnit = bCelsius ? 1 : 2, s.cLocked = bLocked;
        t.nUpdateFlag = bFixed ? 0x003FC7F0 : 0x0038001B, t.cFixEnabled = bFixed;
        t.nVarSetT100mC = toRecord(nVar), t.nVarStandbyT100mC = toRecord(nStandby);
        t.cVarEnergy = uint8_t(nVarEnergy), t.cFixCnt = uint8_t(nFixCnt),
        t.cFixActualIdx = nFixCnt == 3;
        t.cStandbyTmMin = uint8_t(nStandbyTm), t.cShutdownTmMin = uint8_t(nShutdownTm);
        for (int i = 0; i < 3; ++i)
            t.anFixSetT100mC[i] = toRecord(anFix[i]), t.anFixStandbyT100mC[i] = t.nVarStandbyT100mC,
            t.acFixEnergy[i] = uint8_t(anFixEnergy[i]);
        CDataCard::setCrc(reinterpret_cast<uint8_t*>(&s), sizeof(s));
        CDataCard::setCrc(reinterpret_cast<uint8_t*>(&t), sizeof(t));
        return *this;
    }
};
const Shown kFahrenheit = {false, false, false, 680, 482, {608, 680, 752}, 3, {3, 3, 3}, 3, 5, 10};

TEST_F(Binding, RecordsShowInTheirUnitAndReadBackByteForByte)
{
    const Shown aCases[] = {
        {true, false, true, 200, 180, {150, 151, 449}, 1, {1, 2, 3}, 1, 0, 0},
        {true, true, true, 450, 300, {450, 300, 200}, 2, {3, 1, 2}, 2, 60, 0},
        {true, false, false, 150, 150, {320, 360, 400}, 2, {3, 3, 3}, 3, 1, 240},
        {false, false, false, 842, 575, {300, 301, 302}, 1, {2, 2, 2}, 3, 5, 10},
        {false, true, true, 555, 300, {841, 677, 333}, 3, {1, 3, 2}, 3, 59, 11},
        // Read back as the nearest energy level, and without shutdown when there is no standby.
        {true, false, true, 200, 180, {150, 151, 449}, 0, {4, 255, 2}, 3, 0, 30},
    };
    for (const Shown& rCase : aCases)
    {
        SCOPED_TRACE(&rCase - aCases);
        Shown c = rCase;
        const wxAssertHandler_t fnAssert = wxSetAssertHandler(nullptr); // levels are checked
        m_pFrame->showRecords(c.build().s, c.t);
        wxSetAssertHandler(fnAssert);
        for (int i = 0; i < 5; ++i) // each temperature and its label in the unit shown
            EXPECT_EQ(c.bCelsius ? kDegC + kDegC : kDegF + kDegF,
                      m_pFrame->m_apTempSpin[i]->getUnit() + m_pFrame->m_apUnitText[i]->GetLabel());
        EXPECT_EQ(c.bCelsius ? 300 : 575, m_pFrame->m_apTempSpin[4]->GetMax());
        if (c.nVarEnergy == 0)
            c.nVarEnergy = 1, c.anFixEnergy[0] = c.anFixEnergy[1] = 3, c.nShutdownTm = 0;
        EXPECT_EQ(recordsOf(c.build().s, c.t), m_pFrame->records());
    }
}

TEST_F(Binding, EnablingAndCountsFollowModeAndBoxesWhetherClickedOrShown)
{
    CHandlerProbe* f = m_pFrame;
    // Each control's group: (a)lways on, (o)ff, fixed 1..3, (v)ariable, (s)tandby, shut(d)own.
    const std::string strGroups = "aaaaaaaa111112222333aavvvaooooaassssasddd";
    for (int nBits = 0; nBits < 32; ++nBits)
    {
        const bool bFixed = nBits & 1, bT2 = nBits & 2, bT3 = nBits & 4, bStandby = nBits & 8;
        bool bShutdown = nBits & 16;
        SCOPED_TRACE(nBits);
        auto expectAll = [&]
        {
            const std::string strOn = std::string("a") + (bFixed ? "1" : "v") +
                                      (bFixed && bT2 ? "2" : "") +
                                      (bFixed && bT2 && bT3 ? "3" : "") + (bStandby ? "s" : "") +
                                      (bStandby && bShutdown ? "d" : "");
            std::string strExpected, strShown;
            for (char c : strGroups)
                strExpected += strOn.find(c) != std::string::npos ? 'e' : '-';
            for (const wxString& str : wxSplit(snapshot().BeforeLast('\n'), '\n'))
                strShown += str.AfterLast('|').Contains("e") ? 'e' : '-';
            EXPECT_EQ(strExpected, strShown);
            ToolPar t;
            f->getToolPar(t);
            EXPECT_EQ(wxString::Format("%d %d %d", bT2 ? 2 + bT3 : 1, bStandby ? 5 : 0,
                                       bStandby && bShutdown ? 10 : 0),
                      wxString::Format("%d %d %d", t.cFixCnt, t.cStandbyTmMin, t.cShutdownTmMin));
        };
        // By clicking, each box while it is enabled: unchecking T 2 takes T 3 along.
        // clang-format off
        const std::pair<int, bool> aClicks[] = {
            {ID_RADIOBTN_TEMP_FIX, true}, {ID_CHECKBOX_STANDBY, true}, {ID_CHECKBOX_T2, true},
            {ID_CHECKBOX_T3, bT3}, {ID_CHECKBOX_T2, bT2}, {ID_CHECKBOX_SHUTDOWN, bShutdown},
            {bFixed ? ID_RADIOBTN_TEMP_FIX : ID_RADIOBTN_TEMP_VAR, true}, {ID_CHECKBOX_STANDBY, bStandby}};
        // clang-format on
        for (auto [nId, bOn] : aClicks)
            f->click(nId, bOn);
        expectAll();
        if (!bT2 && bT3) // no record; else by showing records, from the opposite state
            continue;
        f->click(bFixed ? ID_RADIOBTN_TEMP_VAR : ID_RADIOBTN_TEMP_FIX);
        f->click(ID_CHECKBOX_STANDBY, !bStandby);
        Shown s = kFahrenheit;
        s.bFixed = bFixed, s.nFixCnt = bT2 ? (bT3 ? 3 : 2) : 1;
        s.nStandbyTm = bStandby ? 5 : 0, s.nShutdownTm = bShutdown ? 10 : 0;
        f->showRecords(s.build().s, s.t);
        bShutdown = bShutdown && bStandby; // a record without standby has no shutdown
        expectAll();
    }
}

// Each whole degree survives a switch to Fahrenheit and back.
TEST_F(Binding, UnitSwitchGivesBackEveryWholeCelsiusDegree)
{
    CZoltSpinCtrl* const* ap = m_pFrame->m_apTempSpin;
    for (int n = 150; n <= 450; ++n)
    {
        for (int i = 0; i < 5; ++i)
            ap[i]->SetValue(i == 4 ? std::min(n, 300) : n);
        m_pFrame->click(ID_RADIOBTN_FAHRENHEIT);
        const wxString strF = ap[0]->GetTextValue() + " ";
        m_pFrame->click(ID_RADIOBTN_CELSIUS);
        m_pFrame->click(ID_RADIOBTN_CELSIUS); // the unit already shown converts nothing
        // The standby temperature keeps the standby range, not the set range.
        ASSERT_EQ(wxString::Format("%d %d %d..300", CDataCard::toFahrenheit(int16_t(n * 10)), n,
                                   std::min(n, 300)),
                  strF + ap[0]->GetTextValue() + " " + ap[4]->GetTextValue() +
                      wxString::Format("..%d", ap[4]->GetMax()));
    }
}
} // namespace
