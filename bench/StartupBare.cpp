// Baseline for the editor's start-up: the toolkit's bare frame, shown.
#include <wx/app.h>
#include <wx/frame.h>

class CBareApp : public wxApp
{
public:
    bool OnInit() override
    {
        auto* pFrame = new wxFrame(nullptr, wxID_ANY, "bare frame", wxPoint(10, 10));
        pFrame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(CBareApp);
