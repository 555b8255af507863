// The main window as it opens: its menus, its controls with their texts, tool
// tips, states and names for screen readers, and a frame that keeps the size
// of its layout.
#include "GuiTest.h"

#include "AccessibleName.h"

#include <wx/menu.h>
#include <wx/sizer.h>

namespace
{
TEST(Layout, MenusAndControlsStartAsDesigned)
{
    auto* pFrame = new CZoltSDFrame(nullptr, wxID_ANY, "probe");
    // Each item as "identifier label", (off) when greyed, (x) when checked.
    wxString strMenus;
    std::function<void(wxMenu*)> collect = [&](wxMenu* pMenu)
    {
        for (wxMenuItem* p : pMenu->GetMenuItems())
        {
            strMenus << (p->IsSeparator()
                             ? wxString("-")
                             : wxString::Format("%d ", std::max(p->GetId(), 0)) + p->GetItemLabel())
                     << (p->IsEnabled() ? "" : " (off)")
                     << (p->IsCheckable() && p->IsChecked() ? " (x)" : "") << "|";
            if (p->GetSubMenu())
                collect(p->GetSubMenu());
        }
    };
    for (size_t n = 0; n < pFrame->GetMenuBar()->GetMenuCount(); ++n)
        collect((strMenus << "\n"
                          << pFrame->GetMenuBar()->GetMenuLabel(n) << ": ",
                 pFrame->GetMenuBar()->GetMenu(n)));
    EXPECT_EQ("\n&File: 1000 &New\tCtrl+N|1001 &Open...\tCtrl+O|1002 &Save\tCtrl+S|"
              "1003 Save &As...\tCtrl+Shift+S|-|1004 E&xit\tCtrl+Q|"
              "\n&Card: 1005 &Read...\tCtrl+R|1006 &Write...\tCtrl+W|-|1045 Eject card|"
              "\n&Settings: 0 &Language|1008 &English (x)|1017 &Default|"
              "\n&Help: 1018 &Documentation (off)|1019 &About...|",
              strMenus);
    EXPECT_EQ(wxITEM_RADIO,
              pFrame->GetMenuBar()->FindItem(ID_MENU_SETTINGS_SPEECH_ENGLISH)->GetKind());

    // A box's controls are indented under it; the buttons of the file commands are hidden.
    wxString strShown = snapshotOf(pFrame);
    strShown.Replace("Energy 1,Energy 2,Energy 3=Energy 3|energy level|", "E|");
    EXPECT_EQ(wxString::FromUTF8(
                  "||es\nStation Mode||es\n  Keylocked|keylocked mode|es-\nTemperature Unit||es\n"
                  "  ° Celsius|degree centigrade|esx\n  ° Fahrenheit|degree Fahrenheit|es-\n"
                  "Temperature Mode||es\n  Fixed|fixed temperature mode|es-\n"
                  "  T 1|first temperature|s\n  320 150..450 |fixed temperature 1|s\n  °C||s\n"
                  "  E|s\n  T 2|second temperature|sx\n  360 150..450 |fixed temperature 2|s\n"
                  "  °C||s\n  E|s\n  T 3|third temperature|sx\n"
                  "  400 150..450 |fixed temperature 3|s\n  °C||s\n  E|s\n  ||es\n"
                  "  Variable|variable temperature mode|esx\n"
                  "  360 150..450 |variable temperature|es\n  °C||es\n  E|es\n"
                  "Write...|write to card|es\nRead...|read from card|\nSave|save to file|\n"
                  "Open...|load from file|\nDefault|reset to default values|\nSleep Mode||es\n"
                  "  Standby|standby mode|esx\n  5 1..60 |standby time|es\n  min||es\n"
                  "  250 150..300 |standby temperature|es\n  °C||es\n  ||es\n"
                  "  Shutdown|shutdown mode|esx\n  10 10..240 |shutdown time|es\n  min||es\n"
                  "  after standby||es\n"),
              strShown);

    // A screen reader names each number and energy choice by its row.
    pumpEvents(20);
    wxString strNames;
    std::function<void(wxWindow*)> names = [&](wxWindow* pParent)
    {
        for (wxWindow* p : pParent->GetChildren())
            if (dynamic_cast<wxSpinCtrl*>(p) || dynamic_cast<wxComboBox*>(p))
                strNames << getAccessibleName(p) << "|";
            else
                names(p);
    };
    names(pFrame);
    EXPECT_EQ("T 1 temperature|T 1 energy|T 2 temperature|T 2 energy|T 3 temperature|T 3 energy|"
              "variable temperature|variable energy|standby time|standby temperature|"
              "shutdown time|",
              strNames);

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
    ASSERT_TRUE(waitUntil([pFrame] { return pFrame->IsShownOnScreen(); }));
    pumpEvents(50);
    EXPECT_FALSE(pFrame->HasFlag(wxRESIZE_BORDER) || pFrame->HasFlag(wxMAXIMIZE_BOX));
    EXPECT_TRUE(pFrame->HasFlag(wxMINIMIZE_BOX) && pFrame->HasFlag(wxCLOSE_BOX));
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(pFrame->GetHandle())));
    EXPECT_EQ(pFrame->GetSizer()->GetMinSize(), pFrame->GetClientSize());
    pFrame->Destroy();
    pumpEvents(20);
}
} // namespace
