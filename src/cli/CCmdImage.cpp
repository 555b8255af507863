#include "CCmdImage.h"

#include "CConsoleReporter.h"
#include "CParFile.h"

void CCmdImage::describe(wxCmdLineParser& rParser) const
{
    rParser.AddParam("SETTINGS");
    rParser.AddParam("OUT");
}

int CCmdImage::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    SysPar sysPar;
    ToolPar toolPar;
    if (CParFile::refuseSameFile(rReporter, rParser.GetParam(0), rParser.GetParam(1),
                                 "Can't write the file") ||
        !CParFile::readSettings(rReporter, rParser.GetParam(0), sysPar, toolPar, true) ||
        !CParFile::writeCardImage(rReporter, rParser.GetParam(1), sysPar, toolPar))
        return kExitFailure;
    return kExitOk;
}
