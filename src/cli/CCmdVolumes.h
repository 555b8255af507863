// zoltcfg volumes: the cards the editor's write choice would offer, and why
// every other mounted volume is not offered.
#pragma once

#include "CCliCommand.h"

class CCmdVolumes : public CCliCommand
{
public:
    const char* name() const override { return "volumes"; }
    const char* summary() const override
    {
        return "List the card volumes offered for reading and writing, and why others are not";
    }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
