// Any bytes opened as the editor's Open does it and saved through the same
// document object must open again. The first save may drop what the records
// held beyond the update flags; from then on open and save change nothing.
#include "CDataCard.h"
#include "CFileXml.h"
#include "CScriptedPrompter.h"
#include "FuzzSupport.h"

#include <cstring>

using zoltfuzz::require;

namespace
{
// Defaults, then the document, then clamping; a failure of either step must
// have been reported once, with its title.
bool open(CFileXml& rFile, const std::string& strPath, SysPar& rSys, ToolPar& rTool)
{
    CScriptedPrompter reporter;
    CDataCard::setDefaultPar(rSys, rTool);
    const bool bLoaded = rFile.loadPath(reporter, strPath);
    const bool bOk = bLoaded && rFile.readSettings(reporter, rSys, rTool);
    const auto& aReports = reporter.getReports();
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
    static zoltfuzz::SInputFile s_input("document.zlx"), s_saved("saved.zlx");
    CFileXml file;
    SysPar asys[2];
    ToolPar atool[2];
    if (!open(file, s_input.write(pData, nSize), asys[0], atool[0]))
        return 0;
    for (int i = 0; i < 2; ++i)
    {
        CScriptedPrompter reporter;
        file.buildSettings(asys[0], atool[0]);
        require(file.saveFile(reporter, s_saved.strPath), "the records could not be saved");
        require(open(file, s_saved.strPath, asys[i], atool[i]), "a saved document does not open");
    }
    require(!std::memcmp(&asys[0], &asys[1], sizeof(SysPar)) &&
                !std::memcmp(&atool[0], &atool[1], sizeof(ToolPar)),
            "a document saved twice reads back different settings");
    return 0;
}
