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
    // As diff and cmp do: 0 same, 1 different, 2 trouble.
    int troubleCode() const override { return kExitTrouble; }

    static constexpr int kExitDifferent = 1;
    static constexpr int kExitTrouble = 2;
};
