// What every fuzz target shares: the toolkit started once per process and
// kept quiet, the input handed over as a file, and a reporter that records.
#pragma once

#include "CReporter.h"

#include <wx/debug.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace zoltfuzz
{
// Starts the toolkit (base and xml) once. Assertions of the code under test
// are silent, as in the editor; a fault must show as a crash or a failed
// check of the target itself.
inline void init()
{
    static wxInitializer s_initializer;
    static bool s_bDone = false;
    if (s_bDone)
        return;
    s_bDone = true;
    if (!s_initializer.IsOk())
        std::abort();
    wxSetAssertHandler(nullptr);
    wxLog::EnableLogging(false);
}

// A file in memory-backed storage that holds one input; removed at exit.
class CInputFile
{
public:
    explicit CInputFile(const char* szName)
    {
        const char* szDir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        m_str = std::string(szDir) + "/zolt-fuzz-" + std::to_string(getpid()) + "-" + szName;
    }
    ~CInputFile() { std::remove(m_str.c_str()); }

    const std::string& write(const uint8_t* pData, size_t nSize)
    {
        std::FILE* pFile = std::fopen(m_str.c_str(), "wb");
        if (!pFile || (nSize && std::fwrite(pData, 1, nSize, pFile) != nSize) ||
            std::fclose(pFile) != 0)
            std::abort();
        return m_str;
    }
    const std::string& path() const { return m_str; }

private:
    std::string m_str;
};

class CRecordingReporter : public CReporter
{
public:
    void report(const wxString& strTitle, const wxString& strText) override
    {
        ++m_nCount;
        m_strTitle = strTitle;
        m_strText = strText;
    }

    int m_nCount = 0;
    wxString m_strTitle;
    wxString m_strText;
};

// A check of the target: a failure stops the run like a crash.
inline void require(bool b, const char* szWhat)
{
    if (!b)
    {
        std::fprintf(stderr, "fuzz check failed: %s\n", szWhat);
        std::abort();
    }
}
} // namespace zoltfuzz
