// The main window as it opens: menus, controls with texts, tool tips, states
// and names for screen readers, icon, and a size fixed to its layout.
#include "GuiTest.h"

#include "AccessibleName.h"

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
    EXPECT_EQ(wxITEM_RADIO,
              pFrame->GetMenuBar()->FindItem(ID_MENU_SETTINGS_SPEECH_ENGLISH)->GetKind());

    // A box's controls are indented under it; the buttons of the file commands are hidden.
    str = snapshotOf(pFrame);
    str.Replace("Energy 1,Energy 2,Energy 3=Energy 3|energy level|", "E|");
    str.Replace(kDegC, "C");
    EXPECT_EQ("||es\nStation Mode||es\n  Keylocked|keylocked mode|es-\nTemperature Unit||es\n"
              "  ° Celsius|degree centigrade|esx\n  ° Fahrenheit|degree Fahrenheit|es-\n"
              "Temperature Mode||es\n  Fixed|fixed temperature mode|es-\n"
              "  T 1|first temperature|s\n  320 150..450 C|fixed temperature 1|s\n  C||s\n  E|s\n"
              "  T 2|second temperature|sx\n  360 150..450 C|fixed temperature 2|s\n  C||s\n"
              "  E|s\n  T 3|third temperature|sx\n  400 150..450 C|fixed temperature 3|s\n"
              "  C||s\n  E|s\n  ||es\n  Variable|variable temperature mode|esx\n"
              "  360 150..450 C|variable temperature|es\n  C||es\n  E|es\n"
              "Write...|write to card|es\nRead...|read from card|\nSave|save to file|\n"
              "Open...|load from file|\nDefault|reset to default values|\nSleep Mode||es\n"
              "  Standby|standby mode|esx\n  5 1..60 min|standby time|es\n  min||es\n"
              "  250 150..300 C|standby temperature|es\n  C||es\n  ||es\n"
              "  Shutdown|shutdown mode|esx\n  10 10..240 min|shutdown time|es\n  min||es\n"
              "  after standby||es\n",
              str.utf8_string());

    // A screen reader names each number and energy choice by its row.
    str.clear();
    std::function<void(wxWindow*)> names = [&](wxWindow* pParent)
    {
        for (wxWindow* p : pParent->GetChildren())
            if (dynamic_cast<wxSpinCtrl*>(p) || dynamic_cast<wxComboBox*>(p))
                str << getAccessibleName(p) << "|";
            else
                names(p);
    };
    names(pFrame);
    EXPECT_EQ("T 1 temperature|T 1 energy|T 2 temperature|T 2 energy|T 3 temperature|T 3 energy|"
              "variable temperature|variable energy|standby time|standby temperature|"
              "shutdown time|",
              str);

    EXPECT_TRUE(pFrame->GetIcons().GetIconOfExactSize(16).IsOk() &&
                pFrame->GetIcons().GetIconOfExactSize(48).IsOk());
    EXPECT_FALSE(pFrame->HasFlag(wxRESIZE_BORDER) || pFrame->HasFlag(wxMAXIMIZE_BOX));
    EXPECT_TRUE(pFrame->HasFlag(wxMINIMIZE_BOX) && pFrame->HasFlag(wxCLOSE_BOX));
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(pFrame->GetHandle())));
    EXPECT_EQ(pFrame->GetSizer()->GetMinSize(), pFrame->GetClientSize());
    pFrame->Destroy();
    pumpEvents(20);
}
