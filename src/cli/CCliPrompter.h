// Answers the card commands' questions without asking anyone: the volume
// choice takes the card root given on the command line, or the only card
// offered. Reports go to the console reporter.
#pragma once

#include "CConsoleReporter.h"
#include "CPrompter.h"

class CCliPrompter : public CPrompter
{
public:
    // strRoot empty: the only entry offered, if there is just one.
    CCliPrompter(CConsoleReporter& rReporter, const wxString& strRoot);

    void report(const wxString& strTitle, const wxString& strText) override;
    // No file dialogs on the command line: always cancelled.
    wxString chooseFile(EFileDialog eKind, const wxString& strMessage, const wxString& strDir,
                        const wxString& strDefaultFile, const wxString& strWildcard) override;
    int chooseIndex(const wxString& strMessage, const wxString& strCaption,
                    const wxArrayString& astrChoices) override;

    // Why the last choice was declined, or empty.
    const wxString& getDeclined() const { return m_strDeclined; }

    // An absolute path with one trailing separator, as volume roots are given.
    static wxString normaliseRoot(const wxString& strRoot);
    // The index of the entry for strRoot, or -1.
    static int findEntry(const wxArrayString& astrChoices, const wxString& strRoot);

private:
    CConsoleReporter& m_rReporter;
    wxString m_strRoot;
    wxString m_strDeclined;
};
