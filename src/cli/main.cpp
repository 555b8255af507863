// zoltcfg: the settings of a Zolt station from the command line.
#include "CCliApp.h"

#include <wx/init.h>
#include <wx/log.h>
#include <wx/msgout.h>
#include <wx/tokenzr.h>

#include <cstdio>

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
            fputs(("zoltcfg: " + lines.GetNextToken() + "\n").utf8_str(), stderr);
        fflush(stderr);
    }
};
} // namespace

int main(int argc, char** argv)
{
    // As in the editor: internal checks stay silent at run time.
    wxSetAssertHandler(nullptr);
    wxInitializer initializer(argc, argv);
    if (!initializer.IsOk())
    {
        fputs("zoltcfg: the toolkit could not be initialised\n", stderr);
        return 1;
    }
    wxLog::SetLogLevel(wxLOG_Info);
    wxLog::DisableTimestamp();
    delete wxMessageOutput::Set(new CStderrOutput);

    CCliApp app;
    registerCommands(app);
    return app.run(argc, argv);
}
