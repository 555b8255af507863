#include "CCmdEject.h"

#include "CCliPrompter.h"
#include "CConsoleReporter.h"
#include "CStdOut.h"
#include "CZoltVolume.h"

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
    CStdOut::print(strRoot + " ejected: the card can be removed\n");
    return kExitOk;
}
