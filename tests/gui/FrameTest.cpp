// The main window as it opens: menus, controls, names for screen readers, icon and size.
#include "GuiTest.h"

#include <wx/menu.h>
#include <wx/sizer.h>

TEST(Layout, MenusControlsAndWindowStartAsDesigned)
{
    auto* pFrame = new CZoltSDFrameHandler();
    pFrame->Show();
    ASSERT_TRUE(waitUntil([pFrame] { return pFrame->IsShownOnScreen(); }));
    pumpEvents(50);
    // Each item as "identifier label", (off) when greyed, (x) when checked.
    wxString str;
    std::function<void(wxMenu*)> collect = [&](wxMenu* pMenu)
    {
        for (wxMenuItem* p : pMenu->GetMenuItems())
        {
            str << (p->IsSeparator()
                        ? "-"
                        : wxString::Format("%d ", std::max(p->GetId(), 0)) + p->GetItemLabel())
                << (p->IsEnabled() ? "" : " (off)")
                << (p->IsCheckable() && p->IsChecked() ? " (x)" : "") << "|";
            if (p->GetSubMenu())
                collect(p->GetSubMenu());
        }
    };
    for (size_t n = 0; n < pFrame->GetMenuBar()->GetMenuCount(); ++n)
        collect((str << "\n"
                     << pFrame->GetMenuBar()->GetMenuLabel(n) << ": ",
                 pFrame->GetMenuBar()->GetMenu(n)));
    EXPECT_EQ("\n&File: 1000 &New\tCtrl+N|1001 &Open...\tCtrl+O|1002 &Save\tCtrl+S|"
              "1003 Save &As...\tCtrl+Shift+S|-|1004 E&xit\tCtrl+Q|"
              "\n&Card: 1005 &Read...\tCtrl+R|1006 &Write...\tCtrl+W|-|1045 Eject card|"
              "\n&Settings: 0 &Language|1008 &English (x)|1017 &Default|"
              "\n&Help: 1018 &Documentation (off)|1019 &About...|",
              str);

    // A box's controls are indented under it; the buttons of the file commands are hidden.
    str = snapshotOf(pFrame);
    str.Replace("Energy 1,Energy 2,Energy 3=Energy 3 '", "E '");
    str.Replace(kDegC, "C");
    EXPECT_EQ(
        "||es\nStation Mode||es\n  Keylocked|keylocked mode|es-\nTemperature Unit||es\n"
        "  ° Celsius|degree centigrade|esx\n  ° Fahrenheit|degree Fahrenheit|es-\n"
        "Temperature Mode||es\n  Fixed|fixed temperature mode|es-\n"
        "  T 1|first temperature|s\n  320 150..450 C 'T 1 temperature'|fixed temperature 1|s\n"
        "  C||s\n  E 'T 1 energy'|energy level|s\n  T 2|second temperature|sx\n"
        "  360 150..450 C 'T 2 temperature'|fixed temperature 2|s\n  C||s\n"
        "  E 'T 2 energy'|energy level|s\n  T 3|third temperature|sx\n"
        "  400 150..450 C 'T 3 temperature'|fixed temperature 3|s\n  C||s\n"
        "  E 'T 3 energy'|energy level|s\n  ||es\n  Variable|variable temperature mode|esx\n"
        "  360 150..450 C 'variable temperature'|variable temperature|es\n  C||es\n"
        "  E 'variable energy'|energy level|es\nWrite...|write to card|es\n"
        "Read...|read from card|\nSave|save to file|\nOpen...|load from file|\n"
        "Default|reset to default values|\nSleep Mode||es\n  Standby|standby mode|esx\n"
        "  5 1..60 min 'standby time'|standby time|es\n  min||es\n"
        "  250 150..300 C 'standby temperature'|standby temperature|es\n  C||es\n  ||es\n"
        "  Shutdown|shutdown mode|esx\n  10 10..240 min 'shutdown time'|shutdown time|es\n"
        "  min||es\n  after standby||es\n",
        str.utf8_string());

    EXPECT_TRUE(pFrame->GetIcons().GetIconOfExactSize(16).IsOk() &&
                pFrame->GetIcons().GetIconOfExactSize(48).IsOk());
    EXPECT_EQ(wxMINIMIZE_BOX | wxCLOSE_BOX,
              pFrame->GetWindowStyle() &
                  (wxRESIZE_BORDER | wxMAXIMIZE_BOX | wxMINIMIZE_BOX | wxCLOSE_BOX));
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(pFrame->GetHandle())));
    EXPECT_EQ(pFrame->GetSizer()->GetMinSize(), pFrame->GetClientSize());
    pFrame->Destroy();
}
