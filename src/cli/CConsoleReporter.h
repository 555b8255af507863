// Prints reports on standard error as "zoltcfg: Title: text". A text of
// several lines keeps its line breaks; the following lines are indented so
// that they read as part of the same message.
#pragma once

#include "CReporter.h"

class CConsoleReporter : public CReporter
{
public:
    void report(const wxString& strTitle, const wxString& strText) override;
    // The system's reason for the failure just reported, on an indented line
    // below it; nothing when it is empty.
    void reason(const wxString& strReason);

    // Names the file a report is about, for commands that read several.
    void setContext(const wxString& strContext) { m_strContext = strContext; }

    // The text a report prints, without the final line break.
    static wxString format(const wxString& strContext, const wxString& strTitle,
                           const wxString& strText);

private:
    wxString m_strContext;
};
