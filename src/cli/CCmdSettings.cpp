#include "CCmdSettings.h"

#include "CConsoleReporter.h"
#include "CParFile.h"

void CCmdSettings::describe(wxCmdLineParser& rParser) const
{
    rParser.AddParam("IN.CFG");
    rParser.AddParam("OUT.zlx");
}

int CCmdSettings::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    // Records from a card are taken as they are, as the editor shows them.
    SysPar sysPar;
    ToolPar toolPar;
    if (CParFile::refuseSameFile(rReporter, rParser.GetParam(0), rParser.GetParam(1),
                                 "Can't save the file") ||
        !CParFile::readCard(rReporter, rParser.GetParam(0), sysPar, toolPar) ||
        !CParFile::writeSettings(rReporter, rParser.GetParam(1), sysPar, toolPar))
        return kExitFailure;
    return kExitOk;
}
