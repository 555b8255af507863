// Any bytes opened as the editor does it and saved through the same document
// must open again, whatever encoding they declared. The first save may drop
// what the records held beyond the flags; then open and save change nothing.
#include "CDataCard.h"
#include "CFileXml.h"
#include "CScriptedPrompter.h"
#include "FuzzSupport.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

using zoltfuzz::require;

// Defaults, then the loaded document, then clamping; a failure must have
// been reported once.
static bool read(CFileXml& rFile, bool bLoaded, CScriptedPrompter& rReporter, SysPar& rSys,
                 ToolPar& rTool)
{
    CDataCard::setDefaultPar(rSys, rTool);
    const bool bOk = bLoaded && rFile.readSettings(rReporter, rSys, rTool);
    require(rReporter.getReports().size() == !bOk, "a failure was not reported as such");
    CDataCard::checkPar(rSys, rTool);
    return bOk;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    // In memory-backed storage, removed at exit.
    static const std::string s_strSaved = "/dev/shm/zolt-fuzz-" + std::to_string(getpid()) + ".zlx";
    static const int s_nAtExit = std::atexit([] { std::remove(s_strSaved.c_str()); });
    require(s_nAtExit == 0, "no removal at exit");
    CFileXml file;
    CScriptedPrompter reporter;
    SysPar asys[2];
    ToolPar atool[2];
    if (!read(file, file.loadData(reporter, pData, nSize), reporter, asys[0], atool[0]))
        return 0;
    for (int i = 0; i < 2; ++i)
    {
        CScriptedPrompter again;
        file.buildSettings(asys[0], atool[0]);
        require(file.saveFile(again, s_strSaved), "the records could not be saved");
        require(read(file, file.loadPath(again, s_strSaved), again, asys[i], atool[i]),
                "a saved document does not open");
    }
    require(!std::memcmp(&asys[0], &asys[1], sizeof(SysPar)) &&
                !std::memcmp(&atool[0], &atool[1], sizeof(ToolPar)),
            "a document saved twice reads back different settings");
    return 0;
}
