#include "CCmdDefaults.h"

#include "CConsoleReporter.h"
#include "CDataCard.h"
#include "CInputFile.h"
#include "CParFile.h"

#include <wx/filename.h>

#include <cstdio>

namespace
{
int usageError(const wxCmdLineParser& rParser, const wxString& strWhy)
{
    fputs(
        ("zoltcfg: defaults: " + strWhy + "\n" + rParser.GetUsageString()).mb_str(*wxConvFileName),
        stderr);
    return CCliCommand::kExitUsage;
}
} // namespace

void CCmdDefaults::describe(wxCmdLineParser& rParser) const
{
    rParser.AddLongOption("format",
                          "zlx (settings document) or cfg (card image); needed when OUT is -");
    rParser.AddParam("OUT");
}

int CCmdDefaults::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    const wxString strPath = rParser.GetParam(0);
    wxString strFormat;
    if (!rParser.Found("format", &strFormat))
    {
        if (CInputFile::isStdStream(strPath))
        {
            return usageError(rParser, "standard output needs --format zlx or --format cfg");
        }
        // The kind follows the name.
        strFormat = wxFileName(strPath).GetExt().Lower() == "zlx" ? "zlx" : "cfg";
    }
    if (strFormat != "zlx" && strFormat != "cfg")
    {
        return usageError(rParser, "--format is zlx or cfg");
    }
    SysPar sysPar;
    ToolPar toolPar;
    CDataCard::setDefaultPar(sysPar, toolPar);
    const bool bOk = strFormat == "zlx"
                         ? CParFile::writeSettings(rReporter, strPath, sysPar, toolPar)
                         : CParFile::writeCardImage(rReporter, strPath, sysPar, toolPar);
    return bOk ? kExitOk : kExitFailure;
}
