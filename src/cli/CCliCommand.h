// One subcommand of zoltcfg. The dispatcher builds a parser from describe(),
// parses the arguments after the command's name and calls run() with it.
#pragma once

#include <wx/cmdline.h>

class CConsoleReporter;

class CCliCommand
{
public:
    // Exit codes of the tool.
    static constexpr int kExitOk = 0;
    static constexpr int kExitFailure = 1; // reported on standard error
    static constexpr int kExitUsage = 2;

    virtual ~CCliCommand() = default;

    virtual const char* name() const = 0;
    // One line for the list of commands.
    virtual const char* summary() const = 0;
    // Adds the command's switches, options and parameters.
    virtual void describe(wxCmdLineParser& rParser) const = 0;
    // Runs the command with the parsed arguments and returns the exit code.
    virtual int run(const wxCmdLineParser& rParser, CConsoleReporter& rReporter) = 0;
    // The exit code when the command could not do its work (its output
    // could not be written, for one).
    virtual int troubleCode() const { return kExitFailure; }
};
