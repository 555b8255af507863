// The command-line tool's answers to the volume choice.
#include "CCliPrompter.h"

#include <gtest/gtest.h>

namespace
{
// A root given on the command line, and the entry it picks (-1: refused).
using RootCase = std::pair<const char*, int>;
#ifdef _WIN32
const wxString kChoices[] = {"R:\\ (name: CARD)", "S:\\", "T:\\ [write protected]",
                             "U:\\ (name: A) [compressed]"};
const RootCase kRoots[] = {
    {"R:", 0},   {"r:\\", 0}, {"R:/", 0},      {"S:\\", 1},        {"t:", 2},
    {"U:\\", 3}, {"V:", -1},  {"R:\\sub", -1}, {"S:\\sub\\..", 1}, {"R:\\ (name: CARD)", -1},
};
#else
const wxString kChoices[] = {
    "/media/u/CARD/ (name: CARD)",       "/media/u/CARD2/",
    "/media/u/RO/ [write protected]",    "/media/u/X/ (name: A) [compressed]",
    "/dev/sdb1 (name: B) (not mounted)", "/dev/sdc1 (not mounted)"};
const RootCase kRoots[] = {
    {"/media/u/CARD", 0},      {"/media/u/CARD/", 0},       {"/media/u/RO/", 2},
    {"/media/u/X", 3},         {"/media/u/../u/CARD2/", 1}, {"/media/u/CAR", -1},
    {"/media/u/CARD/sub", -1}, {"/media/u/card", -1},       {"/media/u", -1},
    {"/dev/sdb1", 4},          {"/dev/sdc1/", 5},           {"/media/u/CARD (name: CARD)", -1},
};
#endif
} // namespace

TEST(CliPrompter, GivenRootPicksItsEntryWhateverLabelOrMarker)
{
    const wxArrayString astrChoices(std::size(kChoices), kChoices);
    CConsoleReporter reporter;
    for (const auto& [pszRoot, nIndex] : kRoots)
    {
        CCliPrompter prompter(reporter, pszRoot);
        EXPECT_EQ(prompter.chooseIndex("m", "c", astrChoices), nIndex) << pszRoot;
        // A refusal lists what is offered.
        EXPECT_EQ(prompter.getDeclined().find(kChoices[1]) != wxString::npos, nIndex < 0)
            << pszRoot;
    }
}
