// zoltcfg write: writes a settings document to the card as ZOLT.CFG, with
// the editor's checks, messages and careful write.
#pragma once

#include "CCliCommand.h"

class CCmdCardWrite : public CCliCommand
{
public:
    const char* name() const override { return "write"; }
    const char* summary() const override
    {
        return "Write a settings document to the card (the only one, or ROOT)";
    }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
