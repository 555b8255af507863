#include "CCmdVolumes.h"

#include "CConsoleReporter.h"
#include "CStdOut.h"
#include "CZoltVolume.h"

#include <wx/filename.h>

void CCmdVolumes::describe(wxCmdLineParser& rParser) const
{
    rParser.AddLongSwitch("all", "also list network, pseudo and system file systems");
}

int CCmdVolumes::run(const wxCmdLineParser& rParser, CConsoleReporter&)
{
    CZoltVolume volume;
    const std::vector<CZoltVolume::Entry> aEntries = volume.listVolumes(false);
    wxString strOut = "Offered:\n";
    if (aEntries.empty())
        strOut += "  none\n";
    for (const CZoltVolume::Entry& entry : aEntries)
    {
        wxString strUse;
        if (entry.bWriteProtected || entry.bCompressed)
            strUse = "refused for writing";
        const bool bHasFile = wxFileName::FileExists(entry.strRoot + CZoltVolume::kConfigFileName);
        if (bHasFile)
            strUse += wxString(strUse.empty() ? "" : ", ") + "holds ZOLT.CFG";
        strOut +=
            "  " + entry.strEntry + (strUse.empty() ? wxString() : "  (" + strUse + ")") + "\n";
    }

    size_t nHidden = 0;
    wxString strNot;
    for (const CVolumeLayer::NotOffered& n : volume.getLayer().notOffered())
    {
        if (!n.bCardFileSystem && !rParser.Found("all"))
        {
            ++nHidden;
            continue;
        }
        strNot += "  " + CZoltVolume::fromLayer(n.strPlace) + ": " +
                  CZoltVolume::fromLayer(n.strReason) + "\n";
    }
    if (!strNot.empty())
        strOut += "Not offered:\n" + strNot;
    if (nHidden > 0)
        strOut += wxString::Format("%zu network, pseudo or system file systems not shown "
                                   "(--all lists them).\n",
                                   nHidden);
    CStdOut::print(strOut);
    return kExitOk;
}
