#include "CCliApp.h"

#include "CConsoleReporter.h"

#include <cstdio>
#include <string>
#include <vector>

#ifndef ZOLTCFG_VERSION
#define ZOLTCFG_VERSION "unknown"
#endif

namespace
{
void print(FILE* pStream, const wxString& str)
{
    fputs(str.utf8_str(), pStream);
    fflush(pStream);
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
           "Exit status: 0 success, 1 failure (or records that differ), 2 usage error.\n";
    return str;
}

int CCliApp::run(int nArgc, char** ppArgv)
{
    if (nArgc < 2)
    {
        print(stderr, usage());
        return CCliCommand::kExitUsage;
    }
    const wxString strFirst = wxString::FromUTF8(ppArgv[1]);
    if (strFirst == "--help" || strFirst == "-h" || strFirst == "help")
    {
        CCliCommand* pCommand = nArgc > 2 && strFirst == "help" ? find(ppArgv[2]) : nullptr;
        if (pCommand != nullptr)
        {
            char* apArgv[] = {ppArgv[2], const_cast<char*>("--help"), nullptr};
            return runCommand(*pCommand, 2, apArgv);
        }
        print(stdout, usage());
        return CCliCommand::kExitOk;
    }
    if (strFirst == "--version" || strFirst == "-V")
    {
        print(stdout, "zoltcfg " ZOLTCFG_VERSION "\n");
        return CCliCommand::kExitOk;
    }
    CCliCommand* pCommand = find(strFirst);
    if (pCommand == nullptr)
    {
        print(stderr, (strFirst.StartsWith("-") ? "zoltcfg: unknown option '"
                                                : "zoltcfg: unknown command '") +
                          strFirst + "'\n" + usage());
        return CCliCommand::kExitUsage;
    }
    return runCommand(*pCommand, nArgc - 1, ppArgv + 1);
}

int CCliApp::runCommand(CCliCommand& rCommand, int nArgc, char** ppArgv)
{
    // The parser names the program after its first argument in the usage.
    std::string strProgram = std::string("zoltcfg ") + rCommand.name();
    std::vector<char*> apArgv(ppArgv, ppArgv + nArgc);
    apArgv[0] = &strProgram[0];
    wxCmdLineParser parser(nArgc, apArgv.data());
    parser.SetSwitchChars("-");
    parser.SetLogo(wxString(rCommand.summary()) + ".");
    parser.AddSwitch("h", "help", "show this help", wxCMD_LINE_OPTION_HELP);
    rCommand.describe(parser);
    const int nParsed = parser.Parse(false);
    if (nParsed == -1)
    {
        print(stdout, parser.GetUsageString());
        return CCliCommand::kExitOk;
    }
    if (nParsed != 0)
    {
        print(stderr, parser.GetUsageString());
        return CCliCommand::kExitUsage;
    }
    CConsoleReporter reporter;
    return rCommand.run(parser, reporter);
}
