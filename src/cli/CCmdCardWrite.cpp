#include "CCmdCardWrite.h"

#include "CCliPrompter.h"
#include "CConsoleReporter.h"
#include "CDataCard.h"
#include "CFileCard.h"
#include "CParFile.h"

#include <iostream>
#include <memory>

void CCmdCardWrite::describe(wxCmdLineParser& rParser) const
{
    rParser.AddParam("SETTINGS.zlx");
    rParser.AddParam("ROOT", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
    rParser.AddLongSwitch("eject", "eject the card once it is written and verified");
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

    CCliPrompter prompter(rReporter,
                          rParser.GetParamCount() > 1 ? rParser.GetParam(1) : wxString());
    CFileCard fileCard;
    if (!fileCard.write(*pDataCard, prompter))
    {
        if (!prompter.getDeclined().empty())
            rReporter.report("Can't write the file", prompter.getDeclined());
        else if (!fileCard.getLastError().empty())
            rReporter.report("Reason", CZoltVolume::fromLayer(fileCard.getLastError()));
        return kExitFailure;
    }
    std::cout << (fileCard.getPath() + " written and verified\n").utf8_str();
    std::cout.flush();
    if (rParser.Found("eject"))
    {
        if (!fileCard.eject(prompter))
            return kExitFailure;
        std::cout << (fileCard.getPath() + " ejected: the card can be removed\n").utf8_str();
        std::cout.flush();
    }
    return kExitOk;
}
