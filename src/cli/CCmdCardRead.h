// zoltcfg read: reads ZOLT.CFG from the card at ROOT, with the editor's
// checks and messages, and saves its records as a settings document.
#pragma once

#include "CCliCommand.h"

class CCmdCardRead : public CCliCommand
{
public:
    const char* name() const override { return "read"; }
    const char* summary() const override
    {
        return "Read ZOLT.CFG from the card at ROOT into a settings document";
    }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
