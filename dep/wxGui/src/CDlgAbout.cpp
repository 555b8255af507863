#include "CDlgAbout.h"

#include <wx/collpane.h>
#include <wx/display.h>
#include <wx/hyperlink.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>

namespace
{
// The licence and contributor texts wrap at a third of the display width,
// worked out once per process.
int wrapWidth()
{
    static const int s_nWidth = wxGetDisplaySize().GetWidth() / 3;
    return s_nWidth;
}
} // namespace

CDlgAbout::CDlgAbout(wxWindow* pParent, const wxAboutDialogInfo& info)
{
    Create(pParent, info);
}

bool CDlgAbout::Create(wxWindow* pParent, const wxAboutDialogInfo& info)
{
    if (!wxDialog::Create(pParent, wxID_ANY, "About " + info.GetName(), wxDefaultPosition,
                          wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER,
                          wxDialogNameStr))
        return false;

    m_pSizerText = new wxBoxSizer(wxVERTICAL);

    wxString strHeading = info.GetName();
    if (info.HasVersion())
        strHeading << ' ' << info.GetVersion();
    auto* pHeading =
        new wxStaticText(this, wxID_ANY, strHeading, wxDefaultPosition, wxDefaultSize, 0);
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    font.SetPointSize(font.GetPointSize() + 2);
    font.SetWeight(wxFONTWEIGHT_BOLD);
    pHeading->SetFont(font);
    m_pSizerText->Add(pHeading, wxSizerFlags(0).Centre().Border(wxALL));
    m_pSizerText->AddSpacer(5);

    // The copyright line is shown as given: no "(C)" replacement.
    addText(info.GetCopyright());
    addText(info.GetDescription());

    if (info.HasWebSite())
    {
        addControl(new wxHyperlinkCtrl(this, wxID_ANY, info.GetWebSiteDescription(),
                                       info.GetWebSiteURL(), wxDefaultPosition, wxDefaultSize,
                                       wxHL_CONTEXTMENU | wxHL_ALIGN_CENTRE | wxNO_BORDER,
                                       wxHyperlinkCtrlNameStr));
    }

    auto* pSizerIconText = new wxBoxSizer(wxHORIZONTAL);
    // Without an icon of its own the info answers with the main window's.
    const wxIcon icon = info.GetIcon();
    if (icon.IsOk())
    {
        auto* pBitmap =
            new wxStaticBitmap(this, wxID_ANY, icon, wxDefaultPosition,
                               wxSize(icon.GetWidth() + 4, icon.GetHeight() + 4), wxBORDER_RAISED);
        pSizerIconText->Add(pBitmap, wxSizerFlags(0).Border(wxTOP | wxRIGHT));
    }
    pSizerIconText->Add(m_pSizerText, wxSizerFlags(1).Expand());

    m_pSizerTop = new wxBoxSizer(wxVERTICAL);
    m_pSizerTop->Add(pSizerIconText, wxSizerFlags(1).Expand().Border(wxALL));

    if (info.HasLicence())
        addCollapsiblePane("License", info.GetLicence());
    if (info.HasDevelopers())
        addCollapsiblePane("Developers", allAsString(info.GetDevelopers()));
    if (info.HasDocWriters())
        addCollapsiblePane("Documentation writers", allAsString(info.GetDocWriters()));
    if (info.HasArtists())
        addCollapsiblePane("Artists", allAsString(info.GetArtists()));
    if (info.HasTranslators())
        addCollapsiblePane("Translators", allAsString(info.GetTranslators()));

    doAddCustomControls();

    if (wxSizer* pSizerButtons = CreateButtonSizer(wxOK))
        m_pSizerTop->Add(pSizerButtons, wxSizerFlags(0).Expand().Border(wxALL));

    SetSizerAndFit(m_pSizerTop);
    CentreOnParent(wxBOTH);
    return true;
}

void CDlgAbout::addControl(wxWindow* pWin)
{
    wxCHECK_RET(m_pSizerText, "can only be called after Create()");
    wxCHECK_RET(pWin, "can't add NULL window to about dialog");
    m_pSizerText->Add(pWin, wxSizerFlags(0).Border(wxDOWN).Centre());
}

void CDlgAbout::addText(const wxString& strText)
{
    if (strText.empty())
        return;
    addControl(new wxStaticText(this, wxID_ANY, strText, wxDefaultPosition, wxDefaultSize, 0));
}

void CDlgAbout::addCollapsiblePane(const wxString& strTitle, const wxString& strText)
{
    wxCHECK_RET(m_pSizerTop, "can only be called after Create()");
    // The native pane where the platform has one: the toolkit of this
    // platform carries no separately drawn pane.
    auto* pPane =
        new wxCollapsiblePane(this, wxID_ANY, strTitle, wxDefaultPosition, wxDefaultSize,
                              wxCP_DEFAULT_STYLE, wxDefaultValidator, wxCollapsiblePaneNameStr);
    wxWindow* pWin = pPane->GetPane();
    auto* pText =
        new wxStaticText(pWin, wxID_ANY, strText, wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE);
    pText->Wrap(wrapWidth());
    m_pSizerTop->Add(pPane, wxSizerFlags(0).Expand().Border(wxBOTTOM));
}

wxString CDlgAbout::allAsString(const wxArrayString& astr)
{
    wxString str;
    const size_t nCount = astr.size();
    str.reserve(20 * nCount);
    for (size_t n = 0; n < nCount; ++n)
        str << astr[n] << (n + 1 < nCount ? ", " : "\n");
    return str;
}
