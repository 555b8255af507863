// Where a component that fails tells the user why: a short title and a text.
// The editor shows it in its message dialog, the command-line tool prints it,
// tests record it.
#pragma once

#include <wx/string.h>

class CReporter
{
public:
    virtual ~CReporter() = default;
    virtual void report(const wxString& strTitle, const wxString& strText) = 0;
};
