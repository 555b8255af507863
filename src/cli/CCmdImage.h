// zoltcfg image: builds the card image ZOLT.CFG from a settings document.
#pragma once

#include "CCliCommand.h"

class CCmdImage : public CCliCommand
{
public:
    const char* name() const override { return "image"; }
    const char* summary() const override { return "Build a card image from a settings document"; }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
