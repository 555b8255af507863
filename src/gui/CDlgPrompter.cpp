#include "CDlgPrompter.h"

#include "CDlgMessage.h"

#include <wx/choicdlg.h>
#include <wx/filedlg.h>

void CDlgPrompter::report(const wxString& strTitle, const wxString& strText)
{
    CDlgMessage dlg(m_pParent, wxID_ANY, strTitle, strText);
    dlg.CentreOnParent(wxBOTH);
    dlg.ShowModal();
}

wxString CDlgPrompter::chooseFile(EFileDialog eKind, const wxString& strMessage,
                                  const wxString& strDir, const wxString& strDefaultFile,
                                  const wxString& strWildcard)
{
    // Opening checks the file itself and reports a missing one in its own
    // words, so the dialog does not insist that it exists.
    const long nStyle = eKind == eFileSave ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN;
    wxFileDialog dlg(m_pParent, strMessage, strDir, strDefaultFile, strWildcard, nStyle);
    if (dlg.ShowModal() != wxID_OK)
        return wxString();
    return dlg.GetPath();
}

int CDlgPrompter::chooseIndex(const wxString& strMessage, const wxString& strCaption,
                              const wxArrayString& astrChoices)
{
    // Centred on the parent, 200 by 150, first entry preselected.
    return wxGetSingleChoiceIndex(strMessage, strCaption, astrChoices, m_pParent, -1, -1, true, 200,
                                  150, 0);
}
