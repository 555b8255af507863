#include "CCliApp.h"

#include "CConsoleReporter.h"
#include "CStdOut.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#ifndef ZOLTCFG_VERSION
#define ZOLTCFG_VERSION "unknown"
#endif

namespace
{
void printError(const wxString& str)
{
    fputs(str.mb_str(*wxConvFileName), stderr);
    fflush(stderr);
}
} // namespace

void CCliApp::add(std::unique_ptr<CCliCommand> pCommand)
{
    m_apCommands.push_back(std::move(pCommand));
}

CCliCommand* CCliApp::find(const wxString& strName) const
{
    for (const auto& pCommand : m_apCommands)
        if (strName == pCommand->name())
            return pCommand.get();
    return nullptr;
}

wxString CCliApp::usage() const
{
    wxString str = "Usage: zoltcfg COMMAND [OPTIONS] ARGUMENTS\n"
                   "       zoltcfg --help | --version\n"
                   "\n"
                   "Reads and writes the settings of a Zolt station: settings documents (.zlx)\n"
                   "and card images (ZOLT.CFG, 1 MiB).\n"
                   "\n"
                   "Commands:\n";
    for (const auto& pCommand : m_apCommands)
        str += wxString::Format("  %-10s %s\n", pCommand->name(), pCommand->summary());
    str += "\nRun 'zoltcfg COMMAND --help' for the arguments of a command.\n"
           "'-' for a file means standard input or standard output.\n"
           "Exit status: 0 success, 1 failure, 2 usage error; diff: 0 same, 1 different,\n"
           "2 trouble.\n";
    return str;
}

int CCliApp::run(int nArgc, char** ppArgv)
{
    std::vector<wxString> astrArgs;
    for (int i = 1; i < nArgc; ++i)
        astrArgs.emplace_back(ppArgv[i], *wxConvFileName);
    return run(astrArgs);
}

int CCliApp::run(const std::vector<wxString>& astrArgs)
{
    int nCode = dispatch(astrArgs);
    if (!CStdOut::flush() && !CStdOut::isReported())
    {
        CConsoleReporter().report("Can't write the file",
                                  "standard output: " + CStdOut::getLastError());
        nCode = std::max(nCode, m_nTroubleCode);
    }
    return nCode;
}

int CCliApp::dispatch(const std::vector<wxString>& astrArgs)
{
    if (astrArgs.empty())
    {
        printError(usage());
        return CCliCommand::kExitUsage;
    }
    const wxString& strFirst = astrArgs[0];
    const bool bHelpAlone = astrArgs.size() == 1 || astrArgs[1] == "--help" || astrArgs[1] == "-h";
    if (strFirst == "--help" || strFirst == "-h" || (strFirst == "help" && bHelpAlone))
    {
        CStdOut::print(usage());
        return CCliCommand::kExitOk;
    }
    if (strFirst == "--version" || strFirst == "-V")
    {
        CStdOut::print("zoltcfg " ZOLTCFG_VERSION "\n");
        return CCliCommand::kExitOk;
    }
    const bool bHelp = strFirst == "help";
    const wxString& strName = bHelp ? astrArgs[1] : strFirst;
    CCliCommand* pCommand = find(strName);
    if (pCommand == nullptr || (bHelp && astrArgs.size() > 2))
    {
        printError((pCommand != nullptr ? "zoltcfg: help takes one command, not '" + astrArgs[2]
                    : strName.StartsWith("-") ? "zoltcfg: unknown option '" + strName
                                              : "zoltcfg: unknown command '" + strName) +
                   "'\n" + usage());
        return CCliCommand::kExitUsage;
    }
    if (bHelp)
        return runCommand(*pCommand, {strName, "--help"});
    m_nTroubleCode = pCommand->troubleCode();
    return runCommand(*pCommand, astrArgs);
}

int CCliApp::runCommand(CCliCommand& rCommand, const std::vector<wxString>& astrArgs)
{
    // The parser gets the arguments as decoded above: left to itself, it
    // would decode them as text of the locale. It names the program after
    // its first argument in the usage.
    std::vector<std::wstring> astrArgv{(wxString("zoltcfg ") + rCommand.name()).ToStdWstring()};
    for (size_t i = 1; i < astrArgs.size(); ++i)
        astrArgv.push_back(astrArgs[i].ToStdWstring());
    std::vector<wxChar*> apArgv;
    for (std::wstring& str : astrArgv)
        apArgv.push_back(&str[0]);
    apArgv.push_back(nullptr);
    wxCmdLineParser parser(static_cast<int>(astrArgv.size()), apArgv.data());
    parser.SetSwitchChars("-");
    parser.SetLogo(wxString(rCommand.summary()) + ".");
    parser.AddSwitch("h", "help", "show this help", wxCMD_LINE_OPTION_HELP);
    rCommand.describe(parser);
    const int nParsed = parser.Parse(false);
    if (nParsed == -1)
    {
        CStdOut::print(parser.GetUsageString());
        return CCliCommand::kExitOk;
    }
    if (nParsed != 0)
    {
        printError(parser.GetUsageString());
        return CCliCommand::kExitUsage;
    }
    CConsoleReporter reporter;
    return rCommand.run(parser, reporter);
}
