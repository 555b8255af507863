#include "CDlgMessage.h"

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "warning48.xpm"

int CDlgMessage::getMinWidthForTitle(wxWindow* pWin, const wxString& strTitle)
{
    // Title bars draw their text bold, beside an icon or menu button and the
    // close box, each about a title bar high.
    const wxFont fontBold = pWin->GetFont().Bold();
    int nWidth = 0, nHeight = 0;
    pWin->GetTextExtent(strTitle, &nWidth, &nHeight, nullptr, nullptr, &fontBold);
    return nWidth + pWin->FromDIP(kCaptionButtonsWidth);
}

CDlgMessage::CDlgMessage(wxWindow* pParent, wxWindowID id, const wxString& strTitle,
                         const wxString& strMessage, const wxPoint& pos, const wxSize& size)
    : wxDialog(pParent, id, strTitle, pos, size, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX,
               wxDialogNameStr)
{
    m_pStaticBitmapWarning = new wxStaticBitmap(this, wxID_ANY, wxBitmap(s_axpmWarning),
                                                wxDefaultPosition, wxDefaultSize, 0);
    m_pStaticTextMessage =
        new wxStaticText(this, wxID_ANY, strMessage, wxDefaultPosition, wxDefaultSize, 0);
    m_pButtonOk = new wxButton(this, wxID_OK, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                               wxDefaultValidator);
    m_pButtonOk->SetDefault();

    auto* pSizerRow = new wxBoxSizer(wxHORIZONTAL);
    pSizerRow->Add(m_pStaticBitmapWarning, 0, wxALL, 5);
    pSizerRow->Add(m_pStaticTextMessage, 1, wxALL | wxALIGN_CENTER, 5);

    auto* pSizerTop = new wxBoxSizer(wxVERTICAL);
    pSizerTop->Add(pSizerRow, 1, wxEXPAND, 0);
    pSizerTop->Add(m_pButtonOk, 0, wxALL | wxALIGN_CENTER, 5);

    // A short text would give a dialog narrower than its title, and the window
    // manager would cut the title; the text still sets the size otherwise.
    pSizerTop->SetMinSize(wxSize(getMinWidthForTitle(this, strTitle), -1));
    SetSizer(pSizerTop);
    pSizerTop->Fit(this);
    Layout();
}
