// zoltcfg eject: unmounts a card and powers its reader off, so that the card
// can be pulled safely.
#pragma once

#include "CCliCommand.h"

class CCmdEject : public CCliCommand
{
public:
    const char* name() const override { return "eject"; }
    const char* summary() const override
    {
        return "Unmount the card mounted at ROOT and power it off for safe removal";
    }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
