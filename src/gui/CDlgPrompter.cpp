#include "CDlgPrompter.h"

#include "CDlgMessage.h"

#include <wx/choicdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

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
    if (eKind != eFileSave)
        return dlg.GetPath();
    return completeSavePath(dlg.GetPath(), strMessage, strWildcard);
}

wxString CDlgPrompter::completeSavePath(const wxString& strPath, const wxString& strCaption,
                                        const wxString& strWildcard)
{
    // GTK's save dialog keeps a name typed without extension as it is, and
    // the open dialog's filter would then hide the file; the filter's
    // extension is added, as other platforms' dialogs do. The dialog has
    // only asked about the name as typed, so a file that exists under the
    // completed name is asked about here.
    wxFileName fn(strPath);
    const wxString strExt = strWildcard.AfterLast('|').AfterLast('.');
    if (strPath.empty() || !fn.HasName() || fn.HasExt() || strExt.empty() ||
        strExt.find_first_of("*?;") != wxString::npos)
        return strPath;
    fn.SetExt(strExt);
    if (fn.Exists())
    {
        wxMessageDialog dlgAsk(
            m_pParent,
            wxString::Format("A file named \"%s\" already exists. Do you want to replace it?",
                             fn.GetFullName()),
            strCaption, wxYES_NO | wxNO_DEFAULT | wxICON_WARNING);
        if (dlgAsk.ShowModal() != wxID_YES)
            return wxString();
    }
    return fn.GetFullPath();
}

int CDlgPrompter::chooseIndex(const wxString& strMessage, const wxString& strCaption,
                              const wxArrayString& astrChoices)
{
    // Centred on the parent, 200 by 150, first entry preselected.
    return wxGetSingleChoiceIndex(strMessage, strCaption, astrChoices, m_pParent, -1, -1, true, 200,
                                  150, 0);
}
