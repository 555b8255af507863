#include "CConsoleReporter.h"

#include <wx/tokenzr.h>

#include <cstdio>

wxString CConsoleReporter::format(const wxString& strContext, const wxString& strTitle,
                                  const wxString& strText)
{
    wxString strOut = "zoltcfg: ";
    // A text that begins with the path names the file already.
    if (!strContext.empty() && !strText.StartsWith(strContext))
        strOut += strContext + ": ";
    strOut += strTitle;
    wxString strTrimmed = strText;
    strTrimmed.Trim(true);
    bool bFirst = true;
    wxStringTokenizer lines(strTrimmed, "\n", wxTOKEN_RET_EMPTY_ALL);
    while (lines.HasMoreTokens())
    {
        strOut += (bFirst ? ": " : "\n  ") + lines.GetNextToken();
        bFirst = false;
    }
    return strOut;
}

namespace
{
void printError(const wxString& str)
{
    // Names print as the bytes they are, whatever their encoding.
    fputs(str.mb_str(*wxConvFileName), stderr);
    fflush(stderr);
}
} // namespace

void CConsoleReporter::report(const wxString& strTitle, const wxString& strText)
{
    fflush(stdout);
    printError(format(m_strContext, strTitle, strText) + "\n");
}

void CConsoleReporter::reason(const wxString& strReason)
{
    if (!strReason.empty())
        printError("  " + strReason + "\n");
}
