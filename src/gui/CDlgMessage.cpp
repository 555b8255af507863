#include "CDlgMessage.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

CDlgMessage::CDlgMessage(wxWindow* pParent, wxWindowID id, const wxString& strTitle,
                         const wxString& strMessage, const wxPoint& pos, const wxSize& size)
    : wxDialog(pParent, id, strTitle, pos, size, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX,
               wxDialogNameStr)
{
    m_pStaticTextMessage = new wxStaticText(this, wxID_ANY, strMessage);
    m_pButtonOk = new wxButton(this, wxID_OK);
    auto* pSizer = new wxBoxSizer(wxVERTICAL);
    pSizer->Add(m_pStaticTextMessage, 1, wxALL, 5);
    pSizer->Add(m_pButtonOk, 0, wxALL | wxALIGN_CENTER, 5);
    SetSizerAndFit(pSizer);
}
