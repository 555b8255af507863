// One input of zoltcfg, read whole into memory: a file by its path, or
// standard input for "-". Pipes, FIFOs and devices are read as files are;
// what cannot be read is reported with the system's reason.
#pragma once

#include "CDataCard.h"

#include <wx/string.h>

#include <cstdint>
#include <vector>

class CReporter;

class CInputFile
{
public:
    // Neither kind is larger: a card image counts its first 1 MiB only, and
    // a settings document is far smaller.
    static constexpr size_t kMaxSize = CDataCard::kImageSize;

    // "-" is standard input.
    static bool isStdStream(const wxString& strPath) { return strPath == "-"; }
    // The input as messages name it.
    static wxString nameOf(const wxString& strPath);

    bool read(CReporter& rReporter, const wxString& strPath);

    const wxString& getPath() const { return m_strPath; }
    wxString getName() const { return nameOf(m_strPath); }
    const std::vector<uint8_t>& getData() const { return m_acData; }

private:
    wxString m_strPath;
    std::vector<uint8_t> m_acData;
};
