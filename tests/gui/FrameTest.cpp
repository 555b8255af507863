// The main window as it opens: its menus, its controls with their texts, tool
// tips and start states, and a frame that keeps the size of its layout.
#include "GuiTest.h"

#include <wx/menu.h>
#include <wx/sizer.h>

namespace
{
TEST(Layout, MenusAndControlsStartAsDesigned)
{
    auto* pFrame = new CZoltSDFrame(nullptr, wxID_ANY, "probe");
    wxMenuBar* pBar = pFrame->GetMenuBar();
    std::vector<std::pair<int, wxString>> aItems; // -1: no identifier of its own, -2: a menu
    std::function<void(wxMenu*)> collect = [&](wxMenu* pMenu)
    {
        for (wxMenuItem* p : pMenu->GetMenuItems())
        {
            aItems.push_back({p->GetId() < 0 ? -1 : p->GetId(),
                              (p->IsSeparator() ? "-" : p->GetItemLabel()) +
                                  (p->IsEnabled() ? "" : " (off)") +
                                  (p->IsCheckable() && p->IsChecked() ? " (x)" : "")});
            if (p->GetSubMenu())
                collect(p->GetSubMenu());
        }
    };
    for (size_t n = 0; n < pBar->GetMenuCount(); ++n)
    {
        aItems.push_back({-2, pBar->GetMenuLabel(n)});
        collect(pBar->GetMenu(n));
    }
    const std::vector<std::pair<int, wxString>> aExpected = {
        {-2, "&File"},
        {ID_MENU_FILE_NEW, "&New\tCtrl+N"},
        {ID_MENU_FILE_OPEN, "&Open...\tCtrl+O"},
        {ID_MENU_FILE_SAVE, "&Save\tCtrl+S"},
        {ID_MENU_FILE_SAVE_AS, "Save &As...\tCtrl+Shift+S"},
        {-1, "-"},
        {ID_MENU_FILE_EXIT, "E&xit\tCtrl+Q"},
        {-2, "&Card"},
        {ID_MENU_CARD_READ, "&Read...\tCtrl+R"},
        {ID_MENU_CARD_WRITE, "&Write...\tCtrl+W"},
        {-1, "-"},
        {ID_MENU_CARD_EJECT, "Eject card"},
        {-2, "&Settings"},
        {-1, "&Language"},
        {ID_MENU_SETTINGS_SPEECH_ENGLISH, "&English (x)"},
        {ID_MENU_SETTINGS_DEFAULT, "&Default"},
        {-2, "&Help"},
        {ID_MENU_HELP_DOCUMENTATION, "&Documentation (off)"},
        {ID_MENU_HELP_ABOUT, "&About..."}};
    EXPECT_EQ(aExpected, aItems);
    EXPECT_EQ(wxITEM_RADIO, pBar->FindItem(ID_MENU_SETTINGS_SPEECH_ENGLISH)->GetKind());

    // Each control as "text|tool tip|state", a box's controls indented under it;
    // the buttons of the file commands are hidden.
    const char* const apcExpected[] = {
        "||es",
        "Station Mode||es",
        "  Keylocked|keylocked mode|es-",
        "Temperature Unit||es",
        "  ° Celsius|degree centigrade|esx",
        "  ° Fahrenheit|degree Fahrenheit|es-",
        "Temperature Mode||es",
        "  Fixed|fixed temperature mode|es-",
        "  T 1|first temperature|s",
        "  320 150..450 |fixed temperature 1|s",
        "  °C||s",
        "  Energy 1,Energy 2,Energy 3=Energy 3|energy level|s",
        "  T 2|second temperature|sx",
        "  360 150..450 |fixed temperature 2|s",
        "  °C||s",
        "  Energy 1,Energy 2,Energy 3=Energy 3|energy level|s",
        "  T 3|third temperature|sx",
        "  400 150..450 |fixed temperature 3|s",
        "  °C||s",
        "  Energy 1,Energy 2,Energy 3=Energy 3|energy level|s",
        "  ||es",
        "  Variable|variable temperature mode|esx",
        "  360 150..450 |variable temperature|es",
        "  °C||es",
        "  Energy 1,Energy 2,Energy 3=Energy 3|energy level|es",
        "Write...|write to card|es",
        "Read...|read from card|",
        "Save|save to file|",
        "Open...|load from file|",
        "Default|reset to default values|",
        "Sleep Mode||es",
        "  Standby|standby mode|esx",
        "  5 1..60 |standby time|es",
        "  min||es",
        "  250 150..300 |standby temperature|es",
        "  °C||es",
        "  ||es",
        "  Shutdown|shutdown mode|esx",
        "  10 10..240 |shutdown time|es",
        "  min||es",
        "  after standby||es",
    };
    std::vector<wxString> astrExpected;
    for (const char* pc : apcExpected)
        astrExpected.push_back(wxString::FromUTF8(pc));
    EXPECT_EQ(astrExpected, guitest::snapshot(pFrame));
    // Unit and mode are radio groups of their own.
    auto radio = [pFrame](int nId) { return static_cast<wxRadioButton*>(pFrame->FindWindow(nId)); };
    radio(ID_RADIOBTN_FAHRENHEIT)->SetValue(true);
    radio(ID_RADIOBTN_TEMP_FIX)->SetValue(true);
    EXPECT_TRUE(radio(ID_RADIOBTN_FAHRENHEIT)->GetValue() &&
                !radio(ID_RADIOBTN_CELSIUS)->GetValue());
    pFrame->Destroy();
}

TEST(Layout, WindowFitsItsLayoutAndCannotBeResized)
{
    auto* pFrame = new CZoltSDFrameHandler();
    pFrame->Show();
    ASSERT_TRUE(guitest::waitUntil([pFrame] { return pFrame->IsShownOnScreen(); }));
    guitest::pumpEvents(50);
    EXPECT_FALSE(pFrame->HasFlag(wxRESIZE_BORDER) || pFrame->HasFlag(wxMAXIMIZE_BOX));
    EXPECT_TRUE(pFrame->HasFlag(wxMINIMIZE_BOX) && pFrame->HasFlag(wxCLOSE_BOX));
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(pFrame->GetHandle())));
    EXPECT_EQ(pFrame->GetSizer()->GetMinSize(), pFrame->GetClientSize());
    pFrame->Destroy();
    guitest::pumpEvents(20);
}
} // namespace
