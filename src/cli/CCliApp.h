// The dispatcher of zoltcfg: picks the subcommand named by the first
// argument, parses the rest with the toolkit's command-line parser, and
// handles --help, --version and usage errors.
#pragma once

#include "CCliCommand.h"

#include <memory>
#include <vector>

class CCliApp
{
public:
    void add(std::unique_ptr<CCliCommand> pCommand);
    int run(int nArgc, char** ppArgv);

private:
    CCliCommand* find(const wxString& strName) const;
    wxString usage() const;
    int runCommand(CCliCommand& rCommand, int nArgc, char** ppArgv);

    std::vector<std::unique_ptr<CCliCommand>> m_apCommands;
};

// Adds every subcommand to the dispatcher (CliCommands.cpp).
void registerCommands(CCliApp& rApp);
