// The toolkit started once and kept quiet (assertions are silent, as in the
// editor, so a fault shows as a crash or a failed check), and checks.
#pragma once

#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>

namespace zoltfuzz
{
inline void require(bool b, const char* szWhat)
{
    if (!b)
        std::fprintf(stderr, "fuzz check failed: %s\n", szWhat), std::abort();
}

inline void init()
{
    static const wxInitializer s_init;
    static const bool s_bQuiet = (wxSetAssertHandler(nullptr), wxLog::EnableLogging(false), true);
    require(s_init.IsOk() && s_bQuiet, "the toolkit did not start");
}
} // namespace zoltfuzz
