#include <wx/app.h>
#include <wx/debug.h>
#include <wx/log.h>

int main(int argc, char** argv)
{
    // Failed checks fall back silently to their early return, and debug messages are dropped.
    wxSetAssertHandler(nullptr);
    wxLog::SetLogLevel(wxLOG_Info);
    return wxEntry(argc, argv);
}
