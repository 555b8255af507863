// The editor's answers to the core's questions: its modal dialogs, parented
// on the main window.
#pragma once

#include "CPrompter.h"

class wxWindow;

class CDlgPrompter : public CPrompter
{
public:
    explicit CDlgPrompter(wxWindow* pParent) : m_pParent(pParent) {}
    virtual ~CDlgPrompter() = default;

    // CDlgMessage centred on the parent; the answer does not matter.
    void report(const wxString& strTitle, const wxString& strText) override;
    wxString chooseFile(EFileDialog eKind, const wxString& strMessage, const wxString& strDir,
                        const wxString& strDefaultFile, const wxString& strWildcard) override;
    int chooseIndex(const wxString& strMessage, const wxString& strCaption,
                    const wxArrayString& astrChoices) override;

    // The path a save dialog answered, with the wildcard's extension added
    // to a name that does not end in it in any case; empty when the completed
    // name exists and the user does not want it replaced.
    wxString completeSavePath(const wxString& strPath, const wxString& strCaption,
                              const wxString& strWildcard);
    // strWildcard with patterns that match names in any case.
    static wxString anyCaseWildcard(const wxString& strWildcard);

protected:
    // The file dialog itself: the path the user accepted, empty when cancelled.
    virtual wxString showFileDialog(long nStyle, const wxString& strMessage, const wxString& strDir,
                                    const wxString& strName, const wxString& strWildcard);

private:
    wxWindow* m_pParent;
};
