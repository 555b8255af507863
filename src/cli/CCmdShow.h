// zoltcfg show: prints the two records of a settings document or a card image.
#pragma once

#include "CCliCommand.h"

class CCmdShow : public CCliCommand
{
public:
    const char* name() const override { return "show"; }
    const char* summary() const override
    {
        return "Print the records of a settings document or a card image";
    }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
