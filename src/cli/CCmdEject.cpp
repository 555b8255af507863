#include "CCmdEject.h"

#include "CCliPrompter.h"
#include "CConsoleReporter.h"
#include "CZoltVolume.h"

#include <iostream>

void CCmdEject::describe(wxCmdLineParser& rParser) const
{
    rParser.AddParam("ROOT");
}

int CCmdEject::run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter)
{
    const wxString strRoot = CCliPrompter::normaliseRoot(rParser.GetParam(0));
    CZoltVolume volume;
    std::string strError;
    if (!volume.getLayer().ejectCard(CZoltVolume::toLayer(strRoot), strError))
    {
        rReporter.report("Can't eject the card", CZoltVolume::fromLayer(strError));
        return kExitFailure;
    }
    std::cout << (strRoot + " ejected: the card can be removed\n").utf8_str();
    std::cout.flush();
    return kExitOk;
}
