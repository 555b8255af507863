// What every fuzz target shares: the toolkit started once and kept quiet
// (assertions of the code under test are silent, as in the editor, so a fault
// shows as a crash or a failed check), checks, and the input as a file.
#pragma once

#include <wx/file.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace zoltfuzz
{
inline void require(bool b, const char* szWhat)
{
    if (!b)
        std::fprintf(stderr, "fuzz check failed: %s\n", szWhat), std::abort();
}

inline void init()
{
    static wxInitializer s_init;
    static const bool s_bDone = (wxSetAssertHandler(nullptr), wxLog::EnableLogging(false), true);
    require(s_init.IsOk() && s_bDone, "the toolkit did not start");
}

// A file in memory-backed storage that holds one input; removed at exit.
struct SInputFile
{
    std::string strPath;
    explicit SInputFile(const char* szName)
        : strPath("/dev/shm/zolt-fuzz-" + std::to_string(getpid()) + "-" + szName)
    {
    }
    ~SInputFile() { std::remove(strPath.c_str()); }
    const std::string& write(const uint8_t* pData, size_t nSize)
    {
        require(wxFile(strPath, wxFile::write).Write(pData, nSize) == nSize, "no input file");
        return strPath;
    }
};
} // namespace zoltfuzz
