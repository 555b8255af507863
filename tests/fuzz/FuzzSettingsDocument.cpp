// A settings document opened as the editor's Open command does it, from
// whatever bytes the fuzzer puts in the file, then saved by Save through the
// same document object. The saved file must open again. A document keeps an
// item only under its update flag, so the first save may drop what the
// records held beyond that; from then on opening and saving must change
// nothing.
#include "CDataCard.h"
#include "CFileXml.h"
#include "FuzzSupport.h"

#include <cstring>

using zoltfuzz::CRecordingReporter;
using zoltfuzz::require;

namespace
{
// Open: defaults, then the document, then clamping; false when either step
// failed, which must then have been reported once.
bool openDocument(CFileXml& rFileXml, const std::string& strPath, SysPar& rSysPar,
                  ToolPar& rToolPar)
{
    CRecordingReporter reporter;
    CDataCard::setDefaultPar(rSysPar, rToolPar);
    if (!rFileXml.loadPath(reporter, strPath))
    {
        require(reporter.m_nCount == 1 && reporter.m_strTitle == "Can't read the file",
                "a failed load was not reported as such");
        return false;
    }
    if (!rFileXml.readSettings(reporter, rSysPar, rToolPar))
    {
        require(reporter.m_nCount == 1 && reporter.m_strTitle == "File is corrupted",
                "a corrupt document was not reported as such");
        return false;
    }
    require(reporter.m_nCount == 0, "a document that was read was reported");
    CDataCard::checkPar(rSysPar, rToolPar);
    return true;
}

void save(CFileXml& rFileXml, const std::string& strPath, const SysPar& rSysPar,
          const ToolPar& rToolPar)
{
    CRecordingReporter reporter;
    rFileXml.buildSettings(rSysPar, rToolPar);
    require(rFileXml.saveFile(reporter, strPath), "the records could not be saved");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    zoltfuzz::init();
    static zoltfuzz::CInputFile s_input("document.zlx");
    static zoltfuzz::CInputFile s_saved("saved.zlx");

    CFileXml fileXml;
    SysPar sysPar;
    ToolPar toolPar;
    if (!openDocument(fileXml, s_input.write(pData, nSize), sysPar, toolPar))
        return 0;
    save(fileXml, s_saved.path(), sysPar, toolPar);

    CFileXml fileXmlAgain;
    require(openDocument(fileXmlAgain, s_saved.path(), sysPar, toolPar),
            "a saved document does not open");
    save(fileXmlAgain, s_saved.path(), sysPar, toolPar);
    SysPar sysParAgain;
    ToolPar toolParAgain;
    require(openDocument(fileXmlAgain, s_saved.path(), sysParAgain, toolParAgain),
            "a document saved twice does not open");
    require(std::memcmp(&sysPar, &sysParAgain, sizeof(SysPar)) == 0 &&
                std::memcmp(&toolPar, &toolParAgain, sizeof(ToolPar)) == 0,
            "a saved document reads back different settings");
    return 0;
}
