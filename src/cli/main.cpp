// zoltcfg: the settings of a Zolt station from the command line.
#include "CCliApp.h"

#include <wx/init.h>
#include <wx/log.h>
#include <wx/msgout.h>
#include <wx/tokenzr.h>

#include <cstdio>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <windows.h>
#endif

namespace
{
// The command-line parser reports its errors here: one line each, named
// after the tool.
class CStderrOutput : public wxMessageOutput
{
public:
    void Output(const wxString& str) override
    {
        wxStringTokenizer lines(str, "\n");
        while (lines.HasMoreTokens())
            fputs(("zoltcfg: " + lines.GetNextToken() + "\n").mb_str(*wxConvFileName), stderr);
        fflush(stderr);
    }
};
} // namespace

int main(int argc, char** argv)
{
    // As in the editor: internal checks stay silent at run time.
    wxSetAssertHandler(nullptr);
#ifdef _WIN32
    // Card images pass through the standard streams byte for byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // The arguments are decoded by the dispatcher; the toolkit's own copy
    // would only warn about names that are not text of the locale.
    wxInitializer initializer;
    if (!initializer.IsOk())
    {
        fputs("zoltcfg: the toolkit could not be initialised\n", stderr);
        return 1;
    }
    wxLog::SetLogLevel(wxLOG_Info);
    wxLog::DisableTimestamp();
    delete wxMessageOutput::Set(new CStderrOutput);
    // File names are bytes. They are taken as UTF-8, as the editor takes
    // them, and a byte that is not UTF-8 is carried in a private character,
    // so that every name opens the same file again whatever the locale.
#ifndef _WIN32
    static wxConvBrokenFileNames s_convFileNames("UTF-8");
    wxConvFileName = &s_convFileNames;
#endif

    CCliApp app;
    registerCommands(app);
#ifdef _WIN32
    // The narrow arguments are in the code page, which cannot name every
    // file; the wide command line can.
    (void)argc, (void)argv;
    int nArgs = 0;
    wchar_t** ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    std::vector<wxString> astrArgs;
    for (int i = 1; ppArgs != nullptr && i < nArgs; ++i)
        astrArgs.emplace_back(ppArgs[i]);
    LocalFree(ppArgs);
    return app.run(astrArgs);
#else
    return app.run(argc, argv);
#endif
}
