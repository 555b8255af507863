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
    // Arguments are decoded as file names are, so that a name given here
    // opens the same file whatever the locale. Standard output is checked
    // at the end: output that did not arrive is a failure.
    int run(int nArgc, char** ppArgv);
    // The arguments after the program's name, already decoded (Windows
    // passes them as UTF-16, whatever the code page).
    int run(const std::vector<wxString>& astrArgs);

private:
    CCliCommand* find(const wxString& strName) const;
    wxString usage() const;
    int dispatch(const std::vector<wxString>& astrArgs);
    // astrArgs: the command's name, then its arguments.
    int runCommand(CCliCommand& rCommand, const std::vector<wxString>& astrArgs);

    std::vector<std::unique_ptr<CCliCommand>> m_apCommands;
    int m_nTroubleCode = CCliCommand::kExitFailure;
};

// Adds every subcommand to the dispatcher (CliCommands.cpp).
void registerCommands(CCliApp& rApp);
