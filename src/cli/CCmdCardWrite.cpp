#include "CCmdCardWrite.h"

#include "CCliPrompter.h"
#include "CConsoleReporter.h"
#include "CDataCard.h"
#include "CFileCard.h"
#include "CParFile.h"
#include "CStdOut.h"

#include <memory>

void CCmdCardWrite::describe(wxCmdLineParser& rParser) const
{
    rParser.AddParam("SETTINGS.zlx");
    rParser.AddParam("ROOT", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

int CCmdCardWrite::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    // As the editor opens a settings file: defaults, the document, clamped.
    SysPar sysPar;
    ToolPar toolPar;
    if (!CParFile::readSettings(rReporter, rParser.GetParam(0), sysPar, toolPar, true))
        return kExitFailure;
    auto pDataCard = std::make_unique<CDataCard>();
    pDataCard->buildWrite(sysPar, toolPar);

    const wxString strRoot = rParser.GetParamCount() > 1 ? rParser.GetParam(1) : wxString();
    CCliPrompter prompter(rReporter, strRoot);
    CFileCard fileCard;
    // The card that will be written: the one named, or the only one offered.
    wxString strTarget = strRoot.empty() ? wxString() : CCliPrompter::normaliseRoot(strRoot);
    if (strTarget.empty())
    {
        const auto aEntries = fileCard.getVolume().listVolumes(false);
        if (aEntries.size() == 1)
            strTarget = aEntries[0].strRoot;
    }
    if (!strTarget.empty() &&
        CParFile::refuseSameFile(rReporter, rParser.GetParam(0),
                                 strTarget + CZoltVolume::kConfigFileName, "Can't write the file"))
        return kExitFailure;
    if (!fileCard.write(*pDataCard, prompter))
    {
        if (!prompter.getDeclined().empty())
            rReporter.report("Can't write the file", prompter.getDeclined());
        else
            rReporter.reason(CZoltVolume::fromLayer(fileCard.getLastError()));
        return kExitFailure;
    }
    CStdOut::print(fileCard.getPath() + " written and verified\n");
    return kExitOk;
}
