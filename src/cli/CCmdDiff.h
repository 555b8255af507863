// zoltcfg diff: compares the records of two files of either kind, field by field.
#pragma once

#include "CCliCommand.h"

class CCmdDiff : public CCliCommand
{
public:
    const char* name() const override { return "diff"; }
    const char* summary() const override
    {
        return "Compare the records of two files, field by field";
    }
    void describe(wxCmdLineParser& rParser) const override;
    int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) override;
};
