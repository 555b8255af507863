#include "CCmdDefaults.h"

#include "CConsoleReporter.h"
#include "CDataCard.h"
#include "CParFile.h"

#include <wx/filename.h>

void CCmdDefaults::describe(wxCmdLineParser& rParser) const
{
    rParser.AddParam("OUT");
}

int CCmdDefaults::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    const wxString strPath = rParser.GetParam(0);
    SysPar sysPar;
    ToolPar toolPar;
    CDataCard::setDefaultPar(sysPar, toolPar);
    const bool bSettings = wxFileName(strPath).GetExt().Lower() == "zlx";
    const bool bOk = bSettings ? CParFile::writeSettings(rReporter, strPath, sysPar, toolPar)
                               : CParFile::writeCardImage(rReporter, strPath, sysPar, toolPar);
    return bOk ? kExitOk : kExitFailure;
}
