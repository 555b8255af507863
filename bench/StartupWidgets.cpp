// Second baseline for the editor's start-up: a frame holding the editor's kinds
// and numbers of menus and controls in the states it opens with (the three
// fixed-temperature rows disabled: GTK draws their step buttons from other
// icons), laid out by sizers, with no logic.
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

class CWidgetsApp : public wxApp
{
public:
    bool OnInit() override
    {
        auto* pFrame = new wxFrame(nullptr, wxID_ANY, "widgets frame", wxPoint(10, 10));
        auto* pBar = new wxMenuBar();
        for (const char* pcMenu : {"&File", "&Card", "&Settings", "&Help"})
        {
            auto* pMenu = new wxMenu();
            for (int n = 0; n < 3; ++n)
                pMenu->Append(wxID_ANY, wxString::Format("Item &%d\tCtrl+%d", n, n));
            pBar->Append(pMenu, pcMenu);
        }
        pFrame->SetMenuBar(pBar);

        auto* pTop = new wxBoxSizer(wxVERTICAL);
        pTop->Add(new wxStaticLine(pFrame), 0, wxEXPAND);
        auto* pRow = new wxBoxSizer(wxHORIZONTAL);
        auto* pStation = new wxStaticBoxSizer(wxHORIZONTAL, pFrame, "Station Mode");
        pStation->Add(new wxCheckBox(pStation->GetStaticBox(), wxID_ANY, "Keylocked"));
        pRow->Add(pStation, 1, wxEXPAND);
        auto* pUnit = new wxStaticBoxSizer(wxVERTICAL, pFrame, "Temperature Unit");
        pUnit->Add(new wxRadioButton(pUnit->GetStaticBox(), wxID_ANY, "Celsius", wxDefaultPosition,
                                     wxDefaultSize, wxRB_GROUP));
        pUnit->Add(new wxRadioButton(pUnit->GetStaticBox(), wxID_ANY, "Fahrenheit"));
        pRow->Add(pUnit, 1, wxEXPAND);
        pTop->Add(pRow, 0, wxEXPAND);

        const wxString astrEnergy[] = {"Energy 1", "Energy 2", "Energy 3"};
        auto* pMode = new wxStaticBoxSizer(wxVERTICAL, pFrame, "Temperature Mode");
        wxWindow* pBox = pMode->GetStaticBox();
        for (int n = 0; n < 4; ++n)
        {
            auto* pLine = new wxBoxSizer(wxHORIZONTAL);
            if (n == 0 || n == 3)
                pLine->Add(new wxRadioButton(pBox, wxID_ANY, n ? "Variable" : "Fixed",
                                             wxDefaultPosition, wxDefaultSize, n ? 0 : wxRB_GROUP));
            else
            {
                // Checked, as the editor shows them: a checked box draws its mark
                // from the theme's icons.
                auto* pCheck = new wxCheckBox(pBox, wxID_ANY, wxString::Format("T %d", n + 1));
                pCheck->SetValue(true);
                pLine->Add(pCheck);
            }
            pLine->Add(new wxSpinCtrl(pBox, wxID_ANY, "320", wxDefaultPosition, wxDefaultSize,
                                      wxSP_ARROW_KEYS, 150, 450));
            pLine->Add(new wxStaticText(pBox, wxID_ANY, "C"));
            pLine->Add(new wxComboBox(pBox, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, 3,
                                      astrEnergy, wxCB_DROPDOWN | wxCB_READONLY));
            for (wxSizerItem* pItem : pLine->GetChildren())
                pItem->GetWindow()->Enable(n == 3 || pItem == pLine->GetItem(size_t(0)));
            pMode->Add(pLine);
        }
        // The editor starts in variable mode.
        static_cast<wxRadioButton*>(static_cast<wxSizer*>(pMode->GetItem(size_t(3))->GetSizer())
                                        ->GetItem(size_t(0))
                                        ->GetWindow())
            ->SetValue(true);
        pTop->Add(pMode, 0, wxEXPAND);

        auto* pButtons = new wxBoxSizer(wxHORIZONTAL);
        for (const char* pcButton : {"Write...", "Read...", "Save", "Open...", "Default"})
        {
            auto* pButton = new wxButton(pFrame, wxID_ANY, pcButton);
            pButton->Show(pButtons->IsEmpty());
            pButtons->Add(pButton);
        }
        pTop->Add(pButtons);

        auto* pSleep = new wxStaticBoxSizer(wxHORIZONTAL, pFrame, "Sleep Mode");
        pBox = pSleep->GetStaticBox();
        for (const char* pcCheck : {"Standby", "Shutdown"})
        {
            auto* pCheck = new wxCheckBox(pBox, wxID_ANY, pcCheck);
            pCheck->SetValue(true);
            pSleep->Add(pCheck);
            pSleep->Add(new wxSpinCtrl(pBox, wxID_ANY, "10", wxDefaultPosition, wxDefaultSize,
                                       wxSP_ARROW_KEYS, 1, 240));
            pSleep->Add(new wxStaticText(pBox, wxID_ANY, "min"));
        }
        pSleep->Add(new wxSpinCtrl(pBox, wxID_ANY, "250", wxDefaultPosition, wxDefaultSize,
                                   wxSP_ARROW_KEYS, 150, 300));
        pTop->Add(pSleep, 0, wxEXPAND);

        pFrame->SetSizerAndFit(pTop);
        pFrame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(CWidgetsApp);
