#include "CCmdCardRead.h"

#include "CCliPrompter.h"
#include "CConsoleReporter.h"
#include "CDataCard.h"
#include "CFileCard.h"
#include "CParFile.h"

#include <memory>

void CCmdCardRead::describe(wxCmdLineParser& rParser) const
{
    rParser.AddParam("ROOT");
    rParser.AddParam("OUT.zlx");
}

int CCmdCardRead::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    CCliPrompter prompter(rReporter, rParser.GetParam(0));
    auto pDataCard = std::make_unique<CDataCard>();
    CFileCard fileCard;
    if (!fileCard.read(*pDataCard, prompter))
    {
        if (!prompter.getDeclined().empty())
            rReporter.report("Can't read the file", prompter.getDeclined());
        return kExitFailure;
    }
    // Records from a card are taken as they are, as the editor shows them.
    SysPar sysPar;
    ToolPar toolPar;
    if (!pDataCard->readPar(sysPar, toolPar, 0))
    {
        rReporter.report("File is corrupted", fileCard.getPath() + " holds no parameter records.");
        return kExitFailure;
    }
    if (CParFile::refuseSameFile(rReporter, fileCard.getPath(), rParser.GetParam(1),
                                 "Can't save the file") ||
        !CParFile::writeSettings(rReporter, rParser.GetParam(1), sysPar, toolPar))
        return kExitFailure;
    return kExitOk;
}
