#include "CCmdShow.h"

#include "CConsoleReporter.h"
#include "CInputFile.h"
#include "CParFields.h"
#include "CParFile.h"
#include "CStdOut.h"

void CCmdShow::describe(wxCmdLineParser& rParser) const
{
    rParser.AddLongSwitch("json", "print one JSON object {\"SysPar\": {...}, \"ToolPar\": {...}}");
    rParser.AddLongSwitch("unchecked",
                          "show a settings document as read, without clamping it into range");
    rParser.AddParam("FILE");
}

int CCmdShow::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    const wxString strPath = rParser.GetParam(0);
    SysPar sysPar;
    ToolPar toolPar;
    CParFile::EKind eKind;
    if (!CParFile::readAny(rReporter, strPath, sysPar, toolPar, !rParser.Found("unchecked"), eKind))
        return kExitFailure;
    if (rParser.Found("json"))
        CStdOut::print(wxString::FromUTF8(CParFields::toJson(sysPar, toolPar).dump(2)) + "\n");
    else
        CStdOut::print(CInputFile::nameOf(strPath) + ": " + CParFile::kindName(eKind) + "\n" +
                       CParFields::toText(sysPar, toolPar));
    return kExitOk;
}
