// zoltcfg defaults: writes the default records as a settings document or a card image.
#pragma once

#include "CCliCommand.h"

class CCmdDefaults : public CCliCommand
{
public:
    const char* name() const override { return "defaults"; }
    const char* summary() const override
    {
        return "Write the default records (.zlx or --format zlx: settings, else card image)";
    }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
