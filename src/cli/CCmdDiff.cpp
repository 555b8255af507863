#include "CCmdDiff.h"

#include "CConsoleReporter.h"
#include "CParFields.h"
#include "CParFile.h"
#include "CStdOut.h"

void CCmdDiff::describe(wxCmdLineParser& rParser) const
{
    rParser.SetLogo("Prints one line per differing field; exits with 0 when the records are "
                    "equal, 1 when they differ, 2 when a file cannot be read.");
    rParser.AddParam("A");
    rParser.AddParam("B");
}

int CCmdDiff::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    if (rParser.GetParam(0) == "-" && rParser.GetParam(1) == "-")
    {
        rReporter.report("Can't read the file", "standard input can be compared only once.");
        return kExitTrouble;
    }
    SysPar aSysPar[2];
    ToolPar aToolPar[2];
    for (int i = 0; i < 2; ++i)
    {
        const wxString strPath = rParser.GetParam(i);
        CParFile::EKind eKind;
        // Two files are read: the messages name the one they are about.
        rReporter.setContext(strPath);
        if (!CParFile::readAny(rReporter, strPath, aSysPar[i], aToolPar[i], true, eKind))
            return kExitTrouble;
    }
    rReporter.setContext(wxString());
    const auto aDifferences = CParFields::compare(aSysPar[0], aToolPar[0], aSysPar[1], aToolPar[1]);
    for (const CParFields::Difference& rDiff : aDifferences)
        CStdOut::print(rDiff.strName + ": " + rDiff.strFirst + " -> " + rDiff.strSecond + "\n");
    return aDifferences.empty() ? kExitOk : kExitDifferent;
}
