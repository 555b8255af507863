// zoltcfg settings: writes the records of a card image as a settings document.
#pragma once

#include "CCliCommand.h"

class CCmdSettings : public CCliCommand
{
public:
    const char* name() const override { return "settings"; }
    const char* summary() const override
    {
        return "Write the records of a card image as a settings document";
    }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
