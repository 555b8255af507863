// The files zoltcfg reads and writes: settings documents (read as the
// editor's Open command reads them) and card images (read as its Card read
// command reads ZOLT.CFG). Every output is written the safe way: the old
// file stays whole until the new one is complete.
#pragma once

#include "ZoltPar.h"

#include <wx/string.h>

class CDataCard;
class CReporter;

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
    // no control characters.
    static EKind detectKind(const wxString& strPath);
    static const char* kindName(EKind eKind);

    // Defaults, then the document, then (when bCheck) the validation.
    static bool readSettings(CReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                             ToolPar& rToolPar, bool bCheck);
    // The first 1 MiB of the file into the image; a size that is not a whole
    // number of sectors is refused.
    static bool readCardImage(CReporter& rReporter, const wxString& strPath, CDataCard& rDataCard);
    // The image, then the records of its sector 0, as they are.
    static bool readCard(CReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                         ToolPar& rToolPar);
    // Either kind; bCheck applies to settings documents only.
    static bool readAny(CReporter& rReporter, const wxString& strPath, SysPar& rSysPar,
                        ToolPar& rToolPar, bool bCheck, EKind& rKind);

    static bool writeSettings(CReporter& rReporter, const wxString& strPath, const SysPar& rSysPar,
                              const ToolPar& rToolPar);
    static bool writeCardImage(CReporter& rReporter, const wxString& strPath, const SysPar& rSysPar,
                               const ToolPar& rToolPar);

private:
    // Reports a path that names nothing at all.
    static bool exists(CReporter& rReporter, const wxString& strPath);
};
