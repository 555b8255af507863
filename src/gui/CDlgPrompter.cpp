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

wxString CDlgPrompter::anyCaseWildcard(const wxString& strWildcard)
{
#ifdef __WXGTK__
    // GTK matches a filter's patterns case-sensitively and would hide "BAR.ZLX";
    // each letter of a pattern (every second field) becomes a class of both cases.
    wxString strOut;
    bool bPattern = false;
    for (const wxUniChar c : strWildcard)
    {
        if (c == '|')
            bPattern = !bPattern;
        if (bPattern && wxIsalpha(c) && wxTolower(c) != wxToupper(c))
            strOut << '[' << wxString(wxUniChar(wxTolower(c))) << wxString(wxUniChar(wxToupper(c)))
                   << ']';
        else
            strOut << c;
    }
    return strOut;
#else
    return strWildcard;
#endif
}

wxString CDlgPrompter::chooseFile(EFileDialog eKind, const wxString& strMessage,
                                  const wxString& strDir, const wxString& strDefaultFile,
                                  const wxString& strWildcard)
{
    // Opening checks the file itself and reports a missing one in its own
    // words, so the dialog does not insist that it exists.
    const long nStyle = eKind == eFileSave ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN;
    wxString strInDir = strDir, strName = strDefaultFile;
    for (;;)
    {
        const wxString strTyped =
            showFileDialog(nStyle, strMessage, strInDir, strName, anyCaseWildcard(strWildcard));
        if (strTyped.empty() || eKind != eFileSave)
            return strTyped;
        const wxString strPath = completeSavePath(strTyped, strMessage, strWildcard);
        if (!strPath.empty())
            return strPath;
        // "No" to replacing the completed name: the user picks another name.
        const wxFileName fnTyped(strTyped);
        strInDir = fnTyped.GetPath();
        strName = fnTyped.GetFullName();
    }
}

wxString CDlgPrompter::showFileDialog(long nStyle, const wxString& strMessage,
                                      const wxString& strDir, const wxString& strName,
                                      const wxString& strWildcard)
{
    wxFileDialog dlg(m_pParent, strMessage, strDir, strName, strWildcard, nStyle);
    return dlg.ShowModal() == wxID_OK ? dlg.GetPath() : wxString();
}

wxString CDlgPrompter::completeSavePath(const wxString& strPath, const wxString& strCaption,
                                        const wxString& strWildcard)
{
    // GTK's save dialog keeps a name as typed, and the open dialog's filter
    // would then hide a file without the filter's extension; so a name that
    // does not end in it, in any case, gets it added, as other platforms'
    // dialogs do. The dialog has only asked about the name as typed, so a
    // file that exists under the completed name is asked about here.
    wxFileName fn(strPath);
    const wxString strExt = strWildcard.AfterLast('|').AfterLast('.');
    if (strPath.empty() || !fn.HasName() || strExt.empty() ||
        strExt.find_first_of("*?;") != wxString::npos || fn.GetExt().IsSameAs(strExt, false))
        return strPath;
    fn.SetFullName(fn.GetFullName() + "." + strExt);
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
