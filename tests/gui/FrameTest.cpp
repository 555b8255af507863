// The main window's layout as it opens, and the routing of its events: every
// identifier reaches its own handler, and the layout's handlers pass it on.
#include "Probe.h"

#include <wx/menu.h>
#include <wx/sizer.h>

#include <gtk/gtk.h>

#include <functional>

using guitest::pumpEvents;
using guitest::waitUntil;

namespace
{
class FrameLayout : public ::testing::Test
{
protected:
    void TearDown() override
    {
        m_pFrame->Destroy();
        pumpEvents(20);
    }
    CFrameProbe* m_pFrame = new CFrameProbe(nullptr, wxID_ANY, "probe");
};

TEST_F(FrameLayout, MenusHoldTheirItemsInOrder)
{
    wxMenuBar* pBar = m_pFrame->GetMenuBar();
    wxString strTitles;
    std::vector<std::pair<int, wxString>> aItems; // submenus follow their item
    std::function<void(wxMenu*)> collect = [&](wxMenu* pMenu)
    {
        for (wxMenuItem* pItem : pMenu->GetMenuItems())
        {
            aItems.push_back({pItem->GetId(), pItem->IsSeparator() ? "-" : pItem->GetItemLabel()});
            EXPECT_EQ(pItem->GetId() != ID_MENU_HELP_DOCUMENTATION, pItem->IsEnabled());
            if (pItem->GetSubMenu())
                collect(pItem->GetSubMenu());
        }
    };
    for (size_t n = 0; n < pBar->GetMenuCount(); ++n)
    {
        strTitles += pBar->GetMenuLabel(n) + "|";
        collect(pBar->GetMenu(n));
    }
    EXPECT_EQ("&File|&Card|&Settings|&Help|", strTitles);
    const int nAny = aItems.size() > 10 ? aItems[10].first : wxID_ANY; // the submenu's own item
    const std::vector<std::pair<int, wxString>> aExpected = {
        {ID_MENU_FILE_NEW, "&New\tCtrl+N"},
        {ID_MENU_FILE_OPEN, "&Open...\tCtrl+O"},
        {ID_MENU_FILE_SAVE, "&Save\tCtrl+S"},
        {ID_MENU_FILE_SAVE_AS, "Save &As...\tCtrl+Shift+S"},
        {wxID_SEPARATOR, "-"},
        {ID_MENU_FILE_EXIT, "E&xit\tCtrl+Q"},
        {ID_MENU_CARD_READ, "&Read...\tCtrl+R"},
        {ID_MENU_CARD_WRITE, "&Write...\tCtrl+W"},
        {wxID_SEPARATOR, "-"},
        {ID_MENU_CARD_EJECT, "Eject card"},
        {nAny, "&Language"},
        {ID_MENU_SETTINGS_SPEECH_ENGLISH, "&English"},
        {ID_MENU_SETTINGS_DEFAULT, "&Default"},
        {ID_MENU_HELP_DOCUMENTATION, "&Documentation"},
        {ID_MENU_HELP_ABOUT, "&About..."}};
    EXPECT_EQ(aExpected, aItems);
    EXPECT_EQ(wxITEM_RADIO, pBar->FindItem(ID_MENU_SETTINGS_SPEECH_ENGLISH)->GetKind());
    EXPECT_TRUE(pBar->IsChecked(ID_MENU_SETTINGS_SPEECH_ENGLISH));
}

TEST_F(FrameLayout, ControlsCarryTheirTextsAndStartStates)
{
    CFrameProbe* p = m_pFrame;
    const wxString strDeg = wxString::FromUTF8("\u00B0");
    const struct
    {
        wxWindow* pWin;
        int nId;
        wxString strLabel;
        const char* pcToolTip;
        const char* pcState; // enabled, shown, checked (x) or not (-)
    } aControls[] = {
        {p->m_pCheckboxKeylocked, ID_CHECKBOX_KEYLOCKED, "Keylocked", "keylocked mode", "es-"},
        {p->m_pRadioBtnCelsius, ID_RADIOBTN_CELSIUS, strDeg + " Celsius", "degree centigrade",
         "esx"},
        {p->m_pRadioBtnFahrenheit, ID_RADIOBTN_FAHRENHEIT, strDeg + " Fahrenheit",
         "degree Fahrenheit", "es-"},
        {p->m_pRadioBtnTempFix, ID_RADIOBTN_TEMP_FIX, "Fixed", "fixed temperature mode", "es-"},
        {p->m_pStaticTextT1, wxID_ANY, "T 1", "first temperature", "s"},
        {p->m_pStaticTextT1Unit, wxID_ANY, kDegC, "", "s"},
        {p->m_pCheckboxT2, ID_CHECKBOX_T2, "T 2", "second temperature", "sx"},
        {p->m_pStaticTextT2Unit, wxID_ANY, kDegC, "", "s"},
        {p->m_pCheckboxT3, ID_CHECKBOX_T3, "T 3", "third temperature", "sx"},
        {p->m_pStaticTextT3Unit, wxID_ANY, kDegC, "", "s"},
        {p->m_pRadioBtnTempVar, ID_RADIOBTN_TEMP_VAR, "Variable", "variable temperature mode",
         "esx"},
        {p->m_pStaticTextTVarUnit, wxID_ANY, kDegC, "", "es"},
        {p->m_pButtonWrite, ID_BUTTON_WRITE, "Write...", "write to card", "es"},
        {p->m_pButtonRead, ID_BUTTON_READ, "Read...", "read from card", ""},
        {p->m_pButtonSave, ID_BUTTON_SAVE, "Save", "save to file", ""},
        {p->m_pButtonLoad, ID_BUTTON_LOAD, "Open...", "load from file", ""},
        {p->m_pButtonDefault, ID_BUTTON_DEFAULT, "Default", "reset to default values", ""},
        {p->m_pCheckboxStandby, ID_CHECKBOX_STANDBY, "Standby", "standby mode", "esx"},
        {p->m_pStaticTextStandbyTimeUnit, wxID_ANY, "min", "", "es"},
        {p->m_pStaticTextStandbyTempUnit, wxID_ANY, kDegC, "", "es"},
        {p->m_pCheckboxShutDown, ID_CHECKBOX_SHUTDOWN, "Shutdown", "shutdown mode", "esx"},
        {p->m_pStaticTextShutdownTimeUnit, wxID_ANY, "min", "", "es"},
        {p->m_pStaticTextAfterStandby, wxID_ANY, "after standby", "", "es"},
        {p->m_pStaticBoxStationMode, wxID_ANY, "Station Mode", "", "es"},
        {p->m_pStaticBoxTempUnit, wxID_ANY, "Temperature Unit", "", "es"},
        {p->m_pStaticBoxTempMode, wxID_ANY, "Temperature Mode", "", "es"},
        {p->m_pStaticBoxSleepMode, wxID_ANY, "Sleep Mode", "", "es"},
        {p->m_pSpinCtrlT1, ID_SPINCTRL_T1, "", "fixed temperature 1", "s"},
        {p->m_pSpinCtrlT2, ID_SPINCTRL_T2, "", "fixed temperature 2", "s"},
        {p->m_pSpinCtrlT3, ID_SPINCTRL_T3, "", "fixed temperature 3", "s"},
        {p->m_pSpinCtrlTVar, ID_SPINCTRL_TVAR, "", "variable temperature", "es"},
        {p->m_pSpinCtrlStandbyTime, ID_SPINCTRL_STANDBY_TIME, "", "standby time", "es"},
        {p->m_pSpinCtrlStandbyTemp, ID_SPINCTRL_STANDBY_TEMP, "", "standby temperature", "es"},
        {p->m_pSpinCtrlShutdownTime, ID_SPINCTRL_SHUTDOWN_TIME, "", "shutdown time", "es"},
        {p->m_pComboBoxT1Energy, ID_COMBOBOX_T1_ENERGY, "", "energy level", "s"},
        {p->m_pComboBoxT2Energy, ID_COMBOBOX_T2_ENERGY, "", "energy level", "s"},
        {p->m_pComboBoxT3Energy, ID_COMBOBOX_T3_ENERGY, "", "energy level", "s"},
        {p->m_pComboBoxTVarEnergy, ID_COMBOBOX_TVAR_ENERGY, "", "energy level", "es"},
    };
    // A control that sits in a box is the box's child: GTK shows the tool tip of
    // a frame's child drawn over a sibling box only after a click.
    auto expectedParent = [p](wxWindow* pWin) -> wxWindow*
    {
        for (wxStaticBox* pBox : {p->m_pStaticBoxStationMode, p->m_pStaticBoxTempUnit,
                                  p->m_pStaticBoxTempMode, p->m_pStaticBoxSleepMode})
            if (pBox->GetContainingSizer() && pBox->GetContainingSizer()->GetItem(pWin, true))
                return pBox;
        return p;
    };
    for (const auto& c : aControls)
    {
        SCOPED_TRACE(c.strLabel + " / " + c.pcToolTip);
        EXPECT_EQ(expectedParent(c.pWin), c.pWin->GetParent());
        // Controls without an identifier of their own get an automatic one, routed nowhere.
        EXPECT_EQ(c.nId == wxID_ANY ? -1 : c.nId, c.pWin->GetId() < 0 ? -1 : c.pWin->GetId());
        EXPECT_EQ(c.strLabel, c.pWin->GetLabel());
        EXPECT_EQ(c.pcToolTip, c.pWin->GetToolTipText());
        const wxString strState = c.pcState;
        EXPECT_EQ(strState.Contains("e"), c.pWin->IsThisEnabled());
        EXPECT_EQ(strState.Contains("s"), c.pWin->IsShown());
        // wxDynamicCast static_casts down before it checks, which is undefined for the wrong type.
        auto* pCheck = dynamic_cast<wxCheckBox*>(c.pWin);
        auto* pRadio = dynamic_cast<wxRadioButton*>(c.pWin);
        if (pCheck || pRadio)
        {
            EXPECT_EQ(strState.Contains("x"), pCheck ? pCheck->GetValue() : pRadio->GetValue());
        }
    }

    std::vector<wxString> astrSpins;
    for (CZoltSpinCtrl* pSpin : p->spins())
    {
        EXPECT_NO_DIALOG(astrSpins.push_back(wxString::Format("%d %s %d..%d", pSpin->GetValue(),
                                                              pSpin->GetTextValue(),
                                                              pSpin->GetMin(), pSpin->GetMax())));
    }
    const std::vector<wxString> astrExpected = {
        "320 320 150..450", "360 360 150..450", "400 400 150..450", "360 360 150..450",
        "5 5 1..60",        "250 250 150..300", "10 10 10..240"};
    EXPECT_EQ(astrExpected, astrSpins);
    for (wxComboBox* pCombo : p->combos())
    {
        EXPECT_EQ("Energy 1,Energy 2,Energy 3", wxJoin(pCombo->GetStrings(), ','));
        EXPECT_EQ("Energy 3", pCombo->GetValue());
        EXPECT_TRUE(pCombo->HasFlag(wxCB_READONLY));
    }
}

// GTK's tool tip window, once it is on the screen.
bool isToolTipShown()
{
    bool bShown = false;
    GList* pList = gtk_window_list_toplevels();
    for (GList* p = pList; p; p = p->next)
        bShown |= gtk_window_get_type_hint(GTK_WINDOW(p->data)) == GDK_WINDOW_TYPE_HINT_TOOLTIP &&
                  gtk_widget_get_mapped(GTK_WIDGET(p->data));
    g_list_free(pList);
    return bShown;
}

// Where a label's text begins in the window it draws in.
int textLeft(GtkWidget* pWidget)
{
    if (GTK_IS_BIN(pWidget))
        pWidget = gtk_bin_get_child(GTK_BIN(pWidget));
    int nX = 0, nY = 0;
    gtk_label_get_layout_offsets(GTK_LABEL(pWidget), &nX, &nY);
    return nX;
}

TEST_F(FrameLayout, ToolTipsShowOnHover)
{
    CFrameProbe* p = m_pFrame;
    p->Show();
    ASSERT_TRUE(waitUntil([p] { return p->IsShownOnScreen(); }));
    pumpEvents(100);
    // The rows of the temperature box do not touch, nor do they touch its right edge.
    const std::vector<wxWindow*> apRows[] = {
        {p->m_pSpinCtrlT1, p->m_pSpinCtrlT2, p->m_pSpinCtrlT3},
        {p->m_pComboBoxT1Energy, p->m_pComboBoxT2Energy, p->m_pComboBoxT3Energy}};
    for (const auto& apColumn : apRows)
        for (size_t n = 1; n < apColumn.size(); ++n)
            EXPECT_GE(apColumn[n]->GetRect().GetTop() - apColumn[n - 1]->GetRect().GetBottom(), 3)
                << n;
    EXPECT_GE(p->m_pStaticBoxTempMode->GetClientSize().x -
                  p->m_pComboBoxTVarEnergy->GetRect().GetRight(),
              5);
    // "T 1" lines up with the texts of the check boxes below it.
    EXPECT_EQ(textLeft(p->m_pCheckboxT2->GetHandle()), textLeft(p->m_pStaticTextT1->GetHandle()));
    wxUIActionSimulator sim;
    for (wxWindow* pWin : std::initializer_list<wxWindow*>{
             p->m_pCheckboxKeylocked, p->m_pRadioBtnFahrenheit, p->m_pStaticTextT1,
             p->m_pCheckboxT3, p->m_pRadioBtnTempVar, p->m_pCheckboxShutDown})
    {
        SCOPED_TRACE(pWin->GetToolTipText());
        sim.MouseMove(p->GetScreenRect().GetBottomRight() + wxPoint(50, 50));
        EXPECT_TRUE(waitUntil([] { return !isToolTipShown(); }, 3000));
        const wxRect rc = pWin->GetScreenRect();
        sim.MouseMove(rc.GetLeft() + rc.GetHeight() / 2, rc.GetTop() + rc.GetHeight() / 2);
        pumpEvents(20);
        sim.MouseMove(rc.GetLeft() + rc.GetHeight() / 2 + 2, rc.GetTop() + rc.GetHeight() / 2);
        EXPECT_TRUE(waitUntil(isToolTipShown, 3000));
    }
}

TEST_F(FrameLayout, TwoRadioGroupsWorkApart)
{
    CFrameProbe* p = m_pFrame;
    p->m_pRadioBtnFahrenheit->SetValue(true);
    EXPECT_FALSE(p->m_pRadioBtnCelsius->GetValue());
    EXPECT_TRUE(p->m_pRadioBtnTempVar->GetValue());
    p->m_pRadioBtnTempFix->SetValue(true);
    EXPECT_FALSE(p->m_pRadioBtnTempVar->GetValue());
    EXPECT_TRUE(p->m_pRadioBtnFahrenheit->GetValue());
    p->m_pRadioBtnCelsius->SetValue(true);
    EXPECT_FALSE(p->m_pRadioBtnFahrenheit->GetValue());
    EXPECT_TRUE(p->m_pRadioBtnTempFix->GetValue());
}

// The editor's own window, as the program opens it.
TEST_F(FrameLayout, WindowFitsItsSizerCannotBeResizedAndOpensAtTenTen)
{
    auto* pFrame = new CZoltSDFrameHandler();
    pFrame->Show();
    ASSERT_TRUE(waitUntil([pFrame] { return pFrame->IsShownOnScreen(); }));
    pumpEvents(50);
    for (long nFlag : {wxRESIZE_BORDER, wxMAXIMIZE_BOX})
        EXPECT_FALSE(pFrame->HasFlag(nFlag)) << nFlag;
    for (long nFlag : {wxCAPTION, wxSYSTEM_MENU, wxMINIMIZE_BOX, wxCLOSE_BOX})
        EXPECT_TRUE(pFrame->HasFlag(nFlag)) << nFlag;
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(pFrame->GetHandle())));
    ASSERT_NE(nullptr, pFrame->GetSizer());
    EXPECT_EQ(pFrame->GetSizer()->GetMinSize(), pFrame->GetClientSize());
    EXPECT_EQ(wxPoint(10, 10), pFrame->GetPosition());
    EXPECT_EQ("Q417 SD", pFrame->GetTitle());
    EXPECT_EQ("Q417 SD", m_pFrame->GetTitle()); // whatever title the layout was given
    pFrame->Destroy();
    pumpEvents(20);
}

// Every routed event: its kind, identifier, handler and the handler's event class.
#define ZOLT_ROUTES(X)                                                                             \
    X(MENU, ID_MENU_FILE_NEW, onEvMenuFileNew, wxCommandEvent)                                     \
    X(MENU, ID_MENU_FILE_OPEN, onEvMenuFileOpen, wxCommandEvent)                                   \
    X(MENU, ID_MENU_FILE_SAVE, onEvMenuFileSave, wxCommandEvent)                                   \
    X(MENU, ID_MENU_FILE_SAVE_AS, onEvMenuFileSaveAs, wxCommandEvent)                              \
    X(MENU, ID_MENU_FILE_EXIT, onEvMenuFileExit, wxCommandEvent)                                   \
    X(MENU, ID_MENU_CARD_READ, onEvMenuCardRead, wxCommandEvent)                                   \
    X(MENU, ID_MENU_CARD_WRITE, onEvMenuCardWrite, wxCommandEvent)                                 \
    X(MENU, ID_MENU_SETTINGS_SPEECH_ENGLISH, onEvMenuSettingsSpeechEnglish, wxCommandEvent)        \
    X(MENU, ID_MENU_SETTINGS_DEFAULT, onEvMenuSettingsDefault, wxCommandEvent)                     \
    X(MENU, ID_MENU_HELP_DOCUMENTATION, onEvMenuHelpDocumentation, wxCommandEvent)                 \
    X(MENU, ID_MENU_HELP_ABOUT, onEvMenuHelpAbout, wxCommandEvent)                                 \
    X(CHECKBOX, ID_CHECKBOX_KEYLOCKED, onEvCheckboxKeylocked, wxCommandEvent)                      \
    X(RADIOBUTTON, ID_RADIOBTN_CELSIUS, onEvRadioBtnCelsius, wxCommandEvent)                       \
    X(RADIOBUTTON, ID_RADIOBTN_FAHRENHEIT, onEvRadioBtnFahrenheit, wxCommandEvent)                 \
    X(RADIOBUTTON, ID_RADIOBTN_TEMP_FIX, onEvRadioBtnTempFix, wxCommandEvent)                      \
    X(SPINCTRL, ID_SPINCTRL_T1, onEvSpinCtrlT1, wxSpinEvent)                                       \
    X(COMBOBOX, ID_COMBOBOX_T1_ENERGY, onEvComboBoxT1Energy, wxCommandEvent)                       \
    X(CHECKBOX, ID_CHECKBOX_T2, onEvCheckboxT2, wxCommandEvent)                                    \
    X(SPINCTRL, ID_SPINCTRL_T2, onEvSpinCtrlT2, wxSpinEvent)                                       \
    X(COMBOBOX, ID_COMBOBOX_T2_ENERGY, onEvComboBoxT2Energy, wxCommandEvent)                       \
    X(CHECKBOX, ID_CHECKBOX_T3, onEvCheckboxT3, wxCommandEvent)                                    \
    X(SPINCTRL, ID_SPINCTRL_T3, onEvSpinCtrlT3, wxSpinEvent)                                       \
    X(COMBOBOX, ID_COMBOBOX_T3_ENERGY, onEvComboBoxT3Energy, wxCommandEvent)                       \
    X(RADIOBUTTON, ID_RADIOBTN_TEMP_VAR, onEvRadioBtnTempVar, wxCommandEvent)                      \
    X(SPINCTRL, ID_SPINCTRL_TVAR, onEvSpinCtrlTVar, wxSpinEvent)                                   \
    X(COMBOBOX, ID_COMBOBOX_TVAR_ENERGY, onEvComboBoxTVarEnergy, wxCommandEvent)                   \
    X(BUTTON, ID_BUTTON_WRITE, onEvButtonWrite, wxCommandEvent)                                    \
    X(BUTTON, ID_BUTTON_READ, onEvButtonRead, wxCommandEvent)                                      \
    X(BUTTON, ID_BUTTON_SAVE, onEvButtonSave, wxCommandEvent)                                      \
    X(BUTTON, ID_BUTTON_LOAD, onEvButtonLoad, wxCommandEvent)                                      \
    X(BUTTON, ID_BUTTON_DEFAULT, onEvButtonDefault, wxCommandEvent)                                \
    X(CHECKBOX, ID_CHECKBOX_STANDBY, onEvCheckboxStandby, wxCommandEvent)                          \
    X(SPINCTRL, ID_SPINCTRL_STANDBY_TIME, onEvSpinCtrlStandbyTime, wxSpinEvent)                    \
    X(SPINCTRL, ID_SPINCTRL_STANDBY_TEMP, onEvSpinCtrlStandbyTemp, wxSpinEvent)                    \
    X(CHECKBOX, ID_CHECKBOX_SHUTDOWN, onEvCheckboxShutDown, wxCommandEvent)                        \
    X(SPINCTRL, ID_SPINCTRL_SHUTDOWN_TIME, onEvSpinCtrlShutdownTime, wxSpinEvent)

// Records which handler each event reached, consuming it as an override would.
class CFrameRecorder : public CFrameProbe
{
public:
    CFrameRecorder() : CFrameProbe(nullptr, wxID_ANY, "recorder") {}
    std::vector<wxString> m_astrCalls; // handler and identifier

protected:
#define ZOLT_RECORD(kind, id, handler, Event)                                                      \
    void handler(Event& rEvent) override                                                           \
    {                                                                                              \
        m_astrCalls.push_back(wxString::Format(#handler " %d", rEvent.GetId()));                   \
    }
    ZOLT_ROUTES(ZOLT_RECORD)
#undef ZOLT_RECORD
};

const wxEventType s_aTypes[] = {wxEVT_MENU,        wxEVT_BUTTON,   wxEVT_CHECKBOX,
                                wxEVT_RADIOBUTTON, wxEVT_COMBOBOX, wxEVT_SPINCTRL,
                                wxEVT_SPIN,        wxEVT_TEXT,     wxEVT_TEXT_ENTER};

// Sends an event as the toolkit would; true when it was handled and not skipped.
bool send(wxWindow* pTarget, wxEventType type, int nId)
{
    const bool bSpin = type == wxEVT_SPINCTRL || type == wxEVT_SPIN;
    wxSpinEvent spinEvent(type, nId);
    wxCommandEvent commandEvent(type, nId);
    wxEvent& rEvent = bSpin ? static_cast<wxEvent&>(spinEvent) : commandEvent;
    rEvent.SetEventObject(pTarget);
    return pTarget->GetEventHandler()->ProcessEvent(rEvent) && !rEvent.GetSkipped();
}

TEST(FrameEvents, EveryIdentifierReachesItsOwnHandlerOnly)
{
    const struct
    {
        wxEventType type;
        int nId;
        const char* pcHandler;
    } aRoutes[] = {
#define ZOLT_ROUTE(kind, id, handler, Event) {wxEVT_##kind, id, #handler},
        ZOLT_ROUTES(ZOLT_ROUTE)
#undef ZOLT_ROUTE
    };
    auto* pRecorder = new CFrameRecorder;
    auto* pPlain = new CFrameProbe(nullptr, wxID_ANY, "plain");
    for (const auto& r : aRoutes)
    {
        SCOPED_TRACE(r.pcHandler);
        pRecorder->m_astrCalls.clear();
        EXPECT_TRUE(send(pRecorder, r.type, r.nId));
        // A control's event travels up from the control itself.
        if (r.type != wxEVT_MENU)
        {
            wxWindow* pControl = pRecorder->FindWindow(r.nId);
            ASSERT_NE(nullptr, pControl);
            send(pControl, r.type, r.nId);
        }
        // Events of other kinds with the same identifier reach nothing.
        for (wxEventType type : s_aTypes)
            if (type != r.type)
                send(pRecorder, type, r.nId);
        const size_t nTimes = r.type == wxEVT_MENU ? 1 : 2;
        EXPECT_EQ(std::vector<wxString>(nTimes, wxString::Format("%s %d", r.pcHandler, r.nId)),
                  pRecorder->m_astrCalls);

        // The layout's own handler lets the event pass on.
        EXPECT_FALSE(send(pPlain, r.type, r.nId));
    }
    pRecorder->m_astrCalls.clear();
    for (int nId : {999, 1007, 1009, 1012, 1016, 1045, int(wxID_ANY), int(wxID_EXIT)})
        for (wxEventType type : s_aTypes)
            send(pRecorder, type, nId);
    EXPECT_TRUE(pRecorder->m_astrCalls.empty()) << pRecorder->m_astrCalls.front();
    pRecorder->Destroy();
    pPlain->Destroy();
    pumpEvents(20);
}
// The standard keys of the menu commands reach the commands' handlers.
TEST(FrameKeys, AcceleratorsRunTheirCommands)
{
    auto* pRecorder = new CFrameRecorder;
    pRecorder->Show();
    ASSERT_TRUE(guitest::focusWindow(pRecorder->m_pButtonWrite));
    const struct
    {
        int nKey, nMods;
        const char* pcHandler;
        int nId;
    } aKeys[] = {
        {'N', wxMOD_CONTROL, "onEvMenuFileNew", ID_MENU_FILE_NEW},
        {'O', wxMOD_CONTROL, "onEvMenuFileOpen", ID_MENU_FILE_OPEN},
        {'S', wxMOD_CONTROL, "onEvMenuFileSave", ID_MENU_FILE_SAVE},
        {'S', wxMOD_CONTROL | wxMOD_SHIFT, "onEvMenuFileSaveAs", ID_MENU_FILE_SAVE_AS},
        {'Q', wxMOD_CONTROL, "onEvMenuFileExit", ID_MENU_FILE_EXIT},
        {'R', wxMOD_CONTROL, "onEvMenuCardRead", ID_MENU_CARD_READ},
        {'W', wxMOD_CONTROL, "onEvMenuCardWrite", ID_MENU_CARD_WRITE},
    };
    for (const auto& k : aKeys)
    {
        pRecorder->m_astrCalls.clear();
        guitest::pressKey(tolower(k.nKey), k.nMods);
        pumpEvents(50);
        EXPECT_EQ(std::vector<wxString>{wxString::Format("%s %d", k.pcHandler, k.nId)},
                  pRecorder->m_astrCalls);
    }
    pRecorder->Destroy();
    pumpEvents(20);
}

} // namespace
