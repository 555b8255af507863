// Any bytes opened as the editor's Open does it and saved through the same
// document object must open again. The first save may drop what the records
// held beyond the update flags; from then on open and save change nothing.
#include "CDataCard.h"
#include "CFileXml.h"
#include "CScriptedPrompter.h"
#include "FuzzSupport.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

using zoltfuzz::require;

namespace
{
// Defaults, then the loaded document, then clamping; a failure of either
// step must have been reported once, with its title.
bool read(CFileXml& rFile, CScriptedPrompter& rReporter, bool bLoaded, SysPar& rSys, ToolPar& rTool)
{
    CDataCard::setDefaultPar(rSys, rTool);
    const bool bOk = bLoaded && rFile.readSettings(rReporter, rSys, rTool);
    const auto& aReports = rReporter.getReports();
    require(aReports.size() == !bOk &&
                (bOk ||
                 aReports[0].strTitle == (bLoaded ? "File is corrupted" : "Can't read the file")),
            "a failure was not reported as such");
    CDataCard::checkPar(rSys, rTool);
    return bOk;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    // In memory-backed storage, removed at exit.
    static const std::string s_strSaved = "/dev/shm/zolt-fuzz-" + std::to_string(getpid()) + ".zlx";
    static const int s_nAtExit = std::atexit([] { std::remove(s_strSaved.c_str()); });
    CFileXml file;
    CScriptedPrompter reporter;
    SysPar asys[2];
    ToolPar atool[2];
    require(s_nAtExit == 0, "no removal at exit");
    if (!read(file, reporter, file.loadData(reporter, pData, nSize), asys[0], atool[0]))
        return 0;
    for (int i = 0; i < 2; ++i)
    {
        CScriptedPrompter again;
        file.buildSettings(asys[0], atool[0]);
        require(file.saveFile(again, s_strSaved), "the records could not be saved");
        require(read(file, again, file.loadPath(again, s_strSaved), asys[i], atool[i]),
                "a saved document does not open");
    }
    require(!std::memcmp(&asys[0], &asys[1], sizeof(SysPar)) &&
                !std::memcmp(&atool[0], &atool[1], sizeof(ToolPar)),
            "a document saved twice reads back different settings");
    return 0;
}
