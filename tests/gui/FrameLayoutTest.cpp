// The main window as it opens: menus, controls, their texts and states, the two radio
// groups, the fitted fixed-size frame and its place on the screen.
#include "GuiTest.h"

#include "AppName.h"
#include "CZoltSDFrameHandler.h"
#include "CZoltSpinCtrl.h"
#include "FrameProbe.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include <gtk/gtk.h>

#include <memory>
#include <vector>

using guitest::pumpEvents;
using guitest::waitUntil;

namespace
{
const wxString kDegC = wxString::FromUTF8("\xC2\xB0"
                                          "C");

class FrameLayout : public ::testing::Test
{
protected:
    void SetUp() override { m_pFrame = new CFrameProbe(); }
    void TearDown() override
    {
        m_pFrame->Destroy();
        pumpEvents(20);
    }

    CFrameProbe* m_pFrame = nullptr;
};

// One menu entry as the user sees it; a null label stands for a separator.
struct MenuEntry
{
    int nId;
    const char* pcLabel;
    wxItemKind kind;
};

void expectMenu(wxMenu* pMenu, const std::vector<MenuEntry>& aEntries)
{
    const wxMenuItemList& rItems = pMenu->GetMenuItems();
    ASSERT_EQ(aEntries.size(), rItems.size());
    size_t n = 0;
    for (const wxMenuItem* pItem : rItems)
    {
        const MenuEntry& rEntry = aEntries[n++];
        SCOPED_TRACE(rEntry.pcLabel ? rEntry.pcLabel : "separator");
        if (!rEntry.pcLabel)
        {
            EXPECT_TRUE(pItem->IsSeparator());
            continue;
        }
        EXPECT_EQ(rEntry.pcLabel, pItem->GetItemLabel());
        EXPECT_EQ(rEntry.kind, pItem->GetKind());
        EXPECT_TRUE(pItem->GetHelp().empty());
        std::unique_ptr<wxAcceleratorEntry> pAccel(pItem->GetAccel());
        EXPECT_EQ(nullptr, pAccel.get());
        if (rEntry.nId != wxID_ANY)
        {
            EXPECT_EQ(rEntry.nId, pItem->GetId());
        }
        EXPECT_EQ(rEntry.nId == ID_MENU_HELP_DOCUMENTATION ? false : true, pItem->IsEnabled());
    }
}
} // namespace

TEST_F(FrameLayout, MenusHoldTheirItemsInOrder)
{
    wxMenuBar* pBar = m_pFrame->GetMenuBar();
    ASSERT_EQ(m_pFrame->m_pMenuBar, pBar);
    ASSERT_EQ(4u, pBar->GetMenuCount());
    const char* apcTitles[] = {"&File", "&Card", "&Settings", "&Help"};
    for (size_t n = 0; n < 4; ++n)
        EXPECT_EQ(apcTitles[n], pBar->GetMenuLabel(n));

    expectMenu(pBar->GetMenu(0), {{ID_MENU_FILE_NEW, "&New", wxITEM_NORMAL},
                                  {ID_MENU_FILE_OPEN, "&Open...", wxITEM_NORMAL},
                                  {ID_MENU_FILE_SAVE, "&Save", wxITEM_NORMAL},
                                  {ID_MENU_FILE_SAVE_AS, "Save &As...", wxITEM_NORMAL},
                                  {wxID_SEPARATOR, nullptr, wxITEM_SEPARATOR},
                                  {ID_MENU_FILE_EXIT, "E&xit", wxITEM_NORMAL}});
    expectMenu(pBar->GetMenu(1), {{ID_MENU_CARD_READ, "&Read...", wxITEM_NORMAL},
                                  {ID_MENU_CARD_WRITE, "&Write...", wxITEM_NORMAL}});
    expectMenu(pBar->GetMenu(2), {{wxID_ANY, "&Language", wxITEM_NORMAL},
                                  {ID_MENU_SETTINGS_DEFAULT, "&Default", wxITEM_NORMAL}});
    expectMenu(pBar->GetMenu(3), {{ID_MENU_HELP_DOCUMENTATION, "&Documentation", wxITEM_NORMAL},
                                  {ID_MENU_HELP_ABOUT, "&About...", wxITEM_NORMAL}});

    wxMenu* pLanguage = pBar->GetMenu(2)->FindItemByPosition(0)->GetSubMenu();
    ASSERT_NE(nullptr, pLanguage);
    expectMenu(pLanguage, {{ID_MENU_SETTINGS_SPEECH_ENGLISH, "&English", wxITEM_RADIO}});
    EXPECT_TRUE(pBar->IsChecked(ID_MENU_SETTINGS_SPEECH_ENGLISH));
    EXPECT_FALSE(pBar->IsEnabled(ID_MENU_HELP_DOCUMENTATION));
}

TEST_F(FrameLayout, FreeIdentifiersBelongToNothing)
{
    for (int nId : {1007, 1009, 1010, 1011, 1012, 1013, 1014, 1015, 1016})
    {
        SCOPED_TRACE(nId);
        EXPECT_EQ(nullptr, m_pFrame->GetMenuBar()->FindItem(nId));
        EXPECT_EQ(nullptr, m_pFrame->FindWindow(nId));
    }
}

TEST_F(FrameLayout, ControlsCarryTheirTextsToolTipsAndStates)
{
    enum EState
    {
        eOn = 1,       // enabled
        eShown = 2,    // visible
        eChecked = 4,  // check box or radio button set
        eUnchecked = 8 // check box or radio button clear
    };
    struct Control
    {
        wxWindow* pWin;
        int nId;
        wxString strLabel;
        const char* pcToolTip;
        int nState;
    };
    CFrameProbe* p = m_pFrame;
    const wxString strDeg = wxString::FromUTF8("\xC2\xB0");
    const Control aControls[] = {
        {p->m_pCheckboxKeylocked, ID_CHECKBOX_KEYLOCKED, "Keylocked", "keylocked mode",
         eOn | eShown | eUnchecked},
        {p->m_pRadioBtnCelsius, ID_RADIOBTN_CELSIUS, strDeg + " Celsius", "degree centigrade",
         eOn | eShown | eChecked},
        {p->m_pRadioBtnFahrenheit, ID_RADIOBTN_FAHRENHEIT, strDeg + " Fahrenheit",
         "degree Fahrenheit", eOn | eShown | eUnchecked},
        {p->m_pRadioBtnTempFix, ID_RADIOBTN_TEMP_FIX, "Fixed", "fixed temperature mode",
         eOn | eShown | eUnchecked},
        {p->m_pStaticTextT1, wxID_ANY, "T 1", "first temperature", eShown},
        {p->m_pStaticTextT1Unit, wxID_ANY, kDegC, "", eShown},
        {p->m_pCheckboxT2, ID_CHECKBOX_T2, "T 2", "second temperature", eShown | eChecked},
        {p->m_pStaticTextT2Unit, wxID_ANY, kDegC, "", eShown},
        {p->m_pCheckboxT3, ID_CHECKBOX_T3, "T 3", "third temperature", eShown | eChecked},
        {p->m_pStaticTextT3Unit, wxID_ANY, kDegC, "", eShown},
        {p->m_pRadioBtnTempVar, ID_RADIOBTN_TEMP_VAR, "Variable", "variable temperature mode",
         eOn | eShown | eChecked},
        {p->m_pStaticTextTVarUnit, wxID_ANY, kDegC, "", eOn | eShown},
        {p->m_pButtonWrite, ID_BUTTON_WRITE, "Write...", "write to card", eOn | eShown},
        {p->m_pButtonRead, ID_BUTTON_READ, "Read...", "read from card", 0},
        {p->m_pButtonSave, ID_BUTTON_SAVE, "Save", "save to file", 0},
        {p->m_pButtonLoad, ID_BUTTON_LOAD, "Open...", "load from file", 0},
        {p->m_pButtonDefault, ID_BUTTON_DEFAULT, "Default", "reset to default values", 0},
        {p->m_pCheckboxStandby, ID_CHECKBOX_STANDBY, "Standby", "standby mode",
         eOn | eShown | eChecked},
        {p->m_pStaticTextStandbyTimeUnit, wxID_ANY, "min", "", eOn | eShown},
        {p->m_pStaticTextStandbyTempUnit, wxID_ANY, kDegC, "", eOn | eShown},
        {p->m_pCheckboxShutDown, ID_CHECKBOX_SHUTDOWN, "Shutdown", "shutdown mode",
         eOn | eShown | eChecked},
        {p->m_pStaticTextShutdownTimeUnit, wxID_ANY, "min", "", eOn | eShown},
        {p->m_pStaticTextAfterStandby, wxID_ANY, "after standby", "", eOn | eShown},
        {p->m_pStaticBoxStationMode, wxID_ANY, "Station Mode", "", eOn | eShown},
        {p->m_pStaticBoxTempUnit, wxID_ANY, "Temperature Unit", "", eOn | eShown},
        {p->m_pStaticBoxTempMode, wxID_ANY, "Temperature Mode", "", eOn | eShown},
        {p->m_pStaticBoxSleepMode, wxID_ANY, "Sleep Mode", "", eOn | eShown},
    };
    for (const Control& rControl : aControls)
    {
        SCOPED_TRACE(rControl.strLabel + " / " + rControl.pcToolTip);
        ASSERT_NE(nullptr, rControl.pWin);
        EXPECT_EQ(m_pFrame, rControl.pWin->GetParent());
        if (rControl.nId == wxID_ANY)
        {
            EXPECT_LT(rControl.pWin->GetId(), 0); // an automatic identifier, routed nowhere
        }
        else
        {
            EXPECT_EQ(rControl.nId, rControl.pWin->GetId());
        }
        EXPECT_EQ(rControl.strLabel, rControl.pWin->GetLabel());
        EXPECT_EQ(rControl.pcToolTip, rControl.pWin->GetToolTipText());
        EXPECT_EQ((rControl.nState & eOn) != 0, rControl.pWin->IsThisEnabled());
        EXPECT_EQ((rControl.nState & eShown) != 0, rControl.pWin->IsShown());
        if (rControl.nState & (eChecked | eUnchecked))
        {
            const bool bChecked = (rControl.nState & eChecked) != 0;
            if (auto* pCheck = wxDynamicCast(rControl.pWin, wxCheckBox))
            {
                EXPECT_EQ(bChecked, pCheck->GetValue());
            }
            else if (auto* pRadio = wxDynamicCast(rControl.pWin, wxRadioButton))
            {
                EXPECT_EQ(bChecked, pRadio->GetValue());
            }
            else
            {
                ADD_FAILURE() << "neither a check box nor a radio button";
            }
        }
    }
    // The unit labels of the sleep box are centred in their cells.
    for (wxStaticText* pUnit : {p->m_pStaticTextStandbyTimeUnit, p->m_pStaticTextStandbyTempUnit,
                                p->m_pStaticTextShutdownTimeUnit})
        EXPECT_TRUE(pUnit->HasFlag(wxALIGN_CENTRE_HORIZONTAL));
    EXPECT_TRUE(p->m_pStaticLineTop->IsVertical() == false);
    EXPECT_TRUE(p->m_pStaticLineTempMode->IsVertical() == false);
    EXPECT_TRUE(p->m_pStaticLineSleepMode->IsVertical());
}

TEST_F(FrameLayout, SpinControlsStartWithTheirValuesAndRanges)
{
    struct Spin
    {
        CZoltSpinCtrl* pSpin;
        int nId;
        int nValue;
        int nMin;
        int nMax;
        const char* pcToolTip;
        bool bEnabled;
    };
    CFrameProbe* p = m_pFrame;
    const Spin aSpins[] = {
        {p->m_pSpinCtrlT1, ID_SPINCTRL_T1, 320, 150, 450, "fixed temperature 1", false},
        {p->m_pSpinCtrlT2, ID_SPINCTRL_T2, 360, 150, 450, "fixed temperature 2", false},
        {p->m_pSpinCtrlT3, ID_SPINCTRL_T3, 400, 150, 450, "fixed temperature 3", false},
        {p->m_pSpinCtrlTVar, ID_SPINCTRL_TVAR, 360, 150, 450, "variable temperature", true},
        {p->m_pSpinCtrlStandbyTime, ID_SPINCTRL_STANDBY_TIME, 5, 1, 60, "standby time", true},
        {p->m_pSpinCtrlStandbyTemp, ID_SPINCTRL_STANDBY_TEMP, 250, 150, 450, "standby temperature",
         true},
        {p->m_pSpinCtrlShutdownTime, ID_SPINCTRL_SHUTDOWN_TIME, 10, 10, 240, "shutdown time", true},
    };
    for (const Spin& rSpin : aSpins)
    {
        SCOPED_TRACE(rSpin.pcToolTip);
        ASSERT_NE(nullptr, rSpin.pSpin);
        EXPECT_EQ(rSpin.nId, rSpin.pSpin->GetId());
        EXPECT_EQ(rSpin.nMin, rSpin.pSpin->GetMin());
        EXPECT_EQ(rSpin.nMax, rSpin.pSpin->GetMax());
        EXPECT_NO_DIALOG(EXPECT_EQ(rSpin.nValue, rSpin.pSpin->GetValue()));
        EXPECT_EQ(wxString::Format("%d", rSpin.nValue), rSpin.pSpin->GetTextValue());
        EXPECT_TRUE(rSpin.pSpin->HasFlag(wxSP_ARROW_KEYS));
        EXPECT_EQ("wxSpinCtrl", rSpin.pSpin->GetName());
        EXPECT_EQ(rSpin.pcToolTip, rSpin.pSpin->GetToolTipText());
        EXPECT_EQ(rSpin.bEnabled, rSpin.pSpin->IsThisEnabled());
        EXPECT_TRUE(rSpin.pSpin->IsShown());
    }
}

TEST_F(FrameLayout, EnergyBoxesOfferThreeLevelsAndStartAtTheHighest)
{
    CFrameProbe* p = m_pFrame;
    const struct
    {
        wxComboBox* pCombo;
        int nId;
        bool bEnabled;
    } aCombos[] = {
        {p->m_pComboBoxT1Energy, ID_COMBOBOX_T1_ENERGY, false},
        {p->m_pComboBoxT2Energy, ID_COMBOBOX_T2_ENERGY, false},
        {p->m_pComboBoxT3Energy, ID_COMBOBOX_T3_ENERGY, false},
        {p->m_pComboBoxTVarEnergy, ID_COMBOBOX_TVAR_ENERGY, true},
    };
    for (const auto& rCombo : aCombos)
    {
        SCOPED_TRACE(rCombo.nId);
        EXPECT_EQ(rCombo.nId, rCombo.pCombo->GetId());
        ASSERT_EQ(3u, rCombo.pCombo->GetCount());
        for (unsigned n = 0; n < 3; ++n)
            EXPECT_EQ(wxString::Format("Energy %u", n + 1), rCombo.pCombo->GetString(n));
        EXPECT_EQ(2, rCombo.pCombo->GetSelection());
        EXPECT_EQ("Energy 3", rCombo.pCombo->GetValue());
        EXPECT_TRUE(rCombo.pCombo->HasFlag(wxCB_READONLY));
        EXPECT_EQ("energy level", rCombo.pCombo->GetToolTipText());
        EXPECT_EQ(rCombo.bEnabled, rCombo.pCombo->IsThisEnabled());
    }
}

TEST_F(FrameLayout, TwoRadioGroupsWorkApart)
{
    CFrameProbe* p = m_pFrame;
    EXPECT_EQ(p->m_pRadioBtnCelsius, p->m_pRadioBtnFahrenheit->GetFirstInGroup());
    EXPECT_EQ(p->m_pRadioBtnFahrenheit, p->m_pRadioBtnCelsius->GetLastInGroup());
    EXPECT_EQ(p->m_pRadioBtnTempFix, p->m_pRadioBtnTempVar->GetFirstInGroup());
    EXPECT_EQ(p->m_pRadioBtnTempVar, p->m_pRadioBtnTempFix->GetLastInGroup());

    p->m_pRadioBtnFahrenheit->SetValue(true);
    EXPECT_FALSE(p->m_pRadioBtnCelsius->GetValue());
    EXPECT_TRUE(p->m_pRadioBtnTempVar->GetValue());
    EXPECT_FALSE(p->m_pRadioBtnTempFix->GetValue());

    p->m_pRadioBtnTempFix->SetValue(true);
    EXPECT_FALSE(p->m_pRadioBtnTempVar->GetValue());
    EXPECT_TRUE(p->m_pRadioBtnFahrenheit->GetValue());
    EXPECT_FALSE(p->m_pRadioBtnCelsius->GetValue());

    p->m_pRadioBtnCelsius->SetValue(true);
    EXPECT_FALSE(p->m_pRadioBtnFahrenheit->GetValue());
    EXPECT_TRUE(p->m_pRadioBtnTempFix->GetValue());
}

TEST_F(FrameLayout, TabOrderFollowsTheRowsOfTheWindow)
{
    CFrameProbe* p = m_pFrame;
    const std::vector<wxWindow*> apExpected = {
        p->m_pStaticBoxTempUnit,
        p->m_pStaticBoxTempMode,
        p->m_pStaticBoxSleepMode,
        p->m_pStaticBoxStationMode,
        p->m_pStaticLineTop,
        p->m_pCheckboxKeylocked,
        p->m_pRadioBtnCelsius,
        p->m_pRadioBtnFahrenheit,
        p->m_pRadioBtnTempFix,
        p->m_pStaticTextT1,
        p->m_pSpinCtrlT1,
        p->m_pStaticTextT1Unit,
        p->m_pComboBoxT1Energy,
        p->m_pCheckboxT2,
        p->m_pSpinCtrlT2,
        p->m_pStaticTextT2Unit,
        p->m_pComboBoxT2Energy,
        p->m_pCheckboxT3,
        p->m_pSpinCtrlT3,
        p->m_pStaticTextT3Unit,
        p->m_pComboBoxT3Energy,
        p->m_pStaticLineTempMode,
        p->m_pRadioBtnTempVar,
        p->m_pSpinCtrlTVar,
        p->m_pStaticTextTVarUnit,
        p->m_pComboBoxTVarEnergy,
        p->m_pButtonWrite,
        p->m_pButtonRead,
        p->m_pButtonSave,
        p->m_pButtonLoad,
        p->m_pButtonDefault,
        p->m_pCheckboxStandby,
        p->m_pSpinCtrlStandbyTime,
        p->m_pStaticTextStandbyTimeUnit,
        p->m_pSpinCtrlStandbyTemp,
        p->m_pStaticTextStandbyTempUnit,
        p->m_pStaticLineSleepMode,
        p->m_pCheckboxShutDown,
        p->m_pSpinCtrlShutdownTime,
        p->m_pStaticTextShutdownTimeUnit,
        p->m_pStaticTextAfterStandby,
    };
    std::vector<wxWindow*> apChildren;
    for (wxWindow* pChild : m_pFrame->GetChildren())
    {
        if (std::find(apExpected.begin(), apExpected.end(), pChild) != apExpected.end())
            apChildren.push_back(pChild);
    }
    EXPECT_EQ(apExpected, apChildren);
}

TEST_F(FrameLayout, HiddenButtonsKeepNoSpace)
{
    CFrameProbe* p = m_pFrame;
    wxSizer* pColumn = p->m_pButtonWrite->GetContainingSizer();
    ASSERT_NE(nullptr, pColumn);
    const wxSizerItem* pWrite = pColumn->GetItem(p->m_pButtonWrite);
    ASSERT_NE(nullptr, pWrite);
    for (wxButton* pButton :
         {p->m_pButtonRead, p->m_pButtonSave, p->m_pButtonLoad, p->m_pButtonDefault})
    {
        EXPECT_EQ(pColumn, pButton->GetContainingSizer());
        EXPECT_FALSE(pColumn->GetItem(pButton)->IsShown());
    }
    EXPECT_EQ(pWrite->GetMinSizeWithBorder().y, pColumn->CalcMin().y);
}

// What a user sees: every shown control whole and inside the window, none over another,
// and the controls of each box inside its frame.
TEST_F(FrameLayout, ShownControlsAreWholeApartAndInsideTheirBoxes)
{
    m_pFrame->Show();
    ASSERT_TRUE(waitUntil([this] { return m_pFrame->IsShownOnScreen(); }));
    pumpEvents(50);
    CFrameProbe* p = m_pFrame;
    const wxRect rectClient(wxPoint(0, 0), m_pFrame->GetClientSize());

    std::vector<wxWindow*> apShown;
    for (wxWindow* pChild : m_pFrame->GetChildren())
    {
        if (!pChild->IsShown() || pChild->IsTopLevel() || pChild == p->m_pMenuBar)
            continue;
        EXPECT_TRUE(rectClient.Contains(pChild->GetRect()))
            << pChild->GetLabel() << " at " << pChild->GetRect().x << "," << pChild->GetRect().y;
        if (!wxDynamicCast(pChild, wxStaticBox))
            apShown.push_back(pChild);
        // Nothing is cut: every control gets at least the size its content needs. A combo
        // box learns its themed width only once it is realized, a few pixels more than the
        // width the layout froze; GTK itself keeps that margin.
        EXPECT_GE(pChild->GetSize().x, pChild->GetMinSize().x) << pChild->GetLabel();
        EXPECT_GE(pChild->GetSize().y, pChild->GetMinSize().y) << pChild->GetLabel();
        if (!wxDynamicCast(pChild, wxComboBox))
        {
            const wxSize sizeBest = pChild->GetBestSize();
            EXPECT_GE(pChild->GetSize().x, sizeBest.x) << pChild->GetLabel();
            EXPECT_GE(pChild->GetSize().y, sizeBest.y) << pChild->GetLabel();
        }
    }
    for (size_t i = 0; i < apShown.size(); ++i)
    {
        for (size_t j = i + 1; j < apShown.size(); ++j)
        {
            EXPECT_FALSE(apShown[i]->GetRect().Intersects(apShown[j]->GetRect()))
                << "\"" << apShown[i]->GetLabel() << "\" overlaps \"" << apShown[j]->GetLabel()
                << "\"";
        }
    }

    const struct
    {
        wxStaticBox* pBox;
        std::vector<wxWindow*> apInside;
    } aBoxes[] = {
        {p->m_pStaticBoxStationMode, {p->m_pCheckboxKeylocked}},
        {p->m_pStaticBoxTempUnit, {p->m_pRadioBtnCelsius, p->m_pRadioBtnFahrenheit}},
        {p->m_pStaticBoxTempMode,
         {p->m_pRadioBtnTempFix, p->m_pStaticTextT1, p->m_pSpinCtrlT1, p->m_pComboBoxT1Energy,
          p->m_pCheckboxT2, p->m_pComboBoxT3Energy, p->m_pStaticLineTempMode, p->m_pRadioBtnTempVar,
          p->m_pSpinCtrlTVar, p->m_pComboBoxTVarEnergy}},
        {p->m_pStaticBoxSleepMode,
         {p->m_pCheckboxStandby, p->m_pSpinCtrlStandbyTime, p->m_pSpinCtrlStandbyTemp,
          p->m_pStaticLineSleepMode, p->m_pCheckboxShutDown, p->m_pSpinCtrlShutdownTime,
          p->m_pStaticTextAfterStandby}},
    };
    for (const auto& rBox : aBoxes)
    {
        for (wxWindow* pInside : rBox.apInside)
        {
            EXPECT_TRUE(rBox.pBox->GetRect().Contains(pInside->GetRect()))
                << pInside->GetLabel() << " outside " << rBox.pBox->GetLabel();
        }
    }
    // The button column stands right of the temperature boxes.
    EXPECT_GE(p->m_pButtonWrite->GetRect().GetLeft(),
              p->m_pStaticBoxTempMode->GetRect().GetRight());
}

TEST_F(FrameLayout, FrameFitsItsLayoutAndCannotBeResized)
{
    for (long nFlag : {wxRESIZE_BORDER, wxMAXIMIZE_BOX})
        EXPECT_FALSE(m_pFrame->HasFlag(nFlag)) << nFlag;
    for (long nFlag : {wxCAPTION, wxSYSTEM_MENU, wxMINIMIZE_BOX, wxCLOSE_BOX, wxCLIP_CHILDREN})
        EXPECT_TRUE(m_pFrame->HasFlag(nFlag)) << nFlag;

    ASSERT_NE(nullptr, m_pFrame->GetSizer());
    EXPECT_EQ(m_pFrame->GetSizer()->GetMinSize(), m_pFrame->GetClientSize());

    m_pFrame->Show();
    ASSERT_TRUE(waitUntil([this] { return m_pFrame->IsShownOnScreen(); }));
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(m_pFrame->GetHandle())));
    EXPECT_EQ(m_pFrame->GetSizer()->GetMinSize(), m_pFrame->GetClientSize());
}

TEST_F(FrameLayout, TitleIsTheApplicationNameWhateverTheCallerPassed)
{
    EXPECT_EQ("Q417 SD", g_strAppName);
    EXPECT_EQ(g_strAppName, m_pFrame->GetTitle());
    EXPECT_EQ("Q417 SD", m_pFrame->GetTitle()); // the probe was constructed as "probe"
}

TEST(MainWindow, OpensAtTenTenWithTheApplicationName)
{
    CZoltSDFrameHandler* pFrame = new CZoltSDFrameHandler();
    pFrame->Show();
    EXPECT_TRUE(waitUntil([pFrame] { return pFrame->IsShownOnScreen(); }));
    pumpEvents(50);
    EXPECT_EQ(wxPoint(10, 10), pFrame->GetPosition());
    EXPECT_EQ("Q417 SD", pFrame->GetTitle());
    EXPECT_FALSE(pFrame->IsIconized());
    EXPECT_FALSE(pFrame->IsMaximized());
    ASSERT_NE(nullptr, pFrame->GetSizer());
    EXPECT_EQ(pFrame->GetSizer()->GetMinSize(), pFrame->GetClientSize());
    pFrame->Destroy();
    pumpEvents(20);
}
