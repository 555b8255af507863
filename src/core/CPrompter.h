// The questions the core asks the user: which file, which entry of a list.
// The editor answers them with the toolkit's modal dialogs, parented on its
// main window; the command-line tool and the tests answer them in their own
// way. An empty path or an index of -1 means the user cancelled.
#pragma once

#include "CReporter.h"

#include <wx/arrstr.h>

class CPrompter : public CReporter
{
public:
    enum EFileDialog
    {
        eFileOpen,
        eFileSave, // asks before overwriting an existing file
    };

    // Returns the full path of the chosen file, or empty on cancel.
    virtual wxString chooseFile(EFileDialog eKind, const wxString& strMessage,
                                const wxString& strDir, const wxString& strDefaultFile,
                                const wxString& strWildcard) = 0;

    // Single-choice list with the first entry preselected; returns the
    // chosen index, or -1 on cancel.
    virtual int chooseIndex(const wxString& strMessage, const wxString& strCaption,
                            const wxArrayString& astrChoices) = 0;
};
