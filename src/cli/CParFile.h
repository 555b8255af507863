// The files zoltcfg reads and writes: settings documents (read as the
// editor's Open command reads them) and card images (read as its Card read
// command reads ZOLT.CFG). "-" is standard input or standard output. Every
// output to a regular file is written the safe way: the old file stays whole
// until the new one is complete.
#pragma once

#include "ZoltPar.h"

#include <wx/string.h>

#include <cstddef>

class CConsoleReporter;
class CInputFile;

class CParFile
{
public:
    enum EKind
    {
        eSettingsDocument,
        eCardImage,
    };

    // Tells the kinds apart by content: an XML document starts with "<"
    // after an optional byte-order mark and white space, and its text holds
    // no control characters. Only the first bytes are looked at.
    static EKind detectKind(const void* pData, size_t nLength);
    static EKind detectKind(const wxString& strPath);
    static const char* kindName(EKind eKind);

    // Defaults, then the document, then (when bCheck) the validation.
    static bool readSettings(CConsoleReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                             ToolPar& rToolPar, bool bCheck);
    // The records of the image's sector 0, as they are. Only the first 1 MiB
    // counts; a size that is not a whole number of sectors is refused.
    static bool readCard(CConsoleReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                         ToolPar& rToolPar);
    // Either kind; bCheck applies to settings documents only.
    static bool readAny(CConsoleReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                        ToolPar& rToolPar, bool bCheck, EKind& rKind);

    static bool writeSettings(CConsoleReporter& rReporter, const wxString& strPath,
                              const SysPar& rSysPar, const ToolPar& rToolPar);
    static bool writeCardImage(CConsoleReporter& rReporter, const wxString& strPath,
                               const SysPar& rSysPar, const ToolPar& rToolPar);

    // True when the output would overwrite the input (the same file under
    // any name); "-" is never a file. An output that does not exist yet is
    // no input.
    static bool isSameFile(const wxString& strInput, const wxString& strOutput);
    // Reports an output that is its own input, with the title of the failed
    // write, before anything is written; true when refused.
    static bool refuseSameFile(CConsoleReporter& rReporter, const wxString& strInput,
                               const wxString& strOutput, const char* szTitle);

private:
    static bool loadSettings(CConsoleReporter& rReporter, const CInputFile& rInput, SysPar& rSysPar,
                             ToolPar& rToolPar, bool bCheck);
    static bool loadCard(CConsoleReporter& rReporter, const CInputFile& rInput, SysPar& rSysPar,
                         ToolPar& rToolPar);
    // Standard output; a failure is reported with szTitle and strText, and
    // the system's reason.
    static bool writeStdOut(CConsoleReporter& rReporter, const void* pData, size_t nLength,
                            const char* szTitle, const wxString& strText);
};
