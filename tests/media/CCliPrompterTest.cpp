// The command-line tool's answers to the volume choice, and a card write and
// read driven by them over a scripted volume layer.
#include "CCliPrompter.h"
#include "CFakeVolumeLayer.h"
#include "CFileCard.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{
wxArrayString choices(std::initializer_list<const char*> list)
{
    wxArrayString astr;
    for (const char* psz : list)
        astr.Add(psz);
    return astr;
}
} // namespace

TEST(CliPrompter, GivenRootPicksItsEntryWhateverLabelOrMarker)
{
    const wxArrayString astr =
        choices({"/media/u/CARD/ (name: CARD)", "/media/u/CARD2/", "/media/u/RO/ [write protected]",
                 "/media/u/X/ (name: A) [compressed]"});
    struct Case
    {
        const char* pszRoot;
        int nIndex;
    };
    const Case aCases[] = {
        {"/media/u/CARD", 0}, {"/media/u/CARD/", 0},     {"/media/u/CARD2", 1},
        {"/media/u/RO/", 2},  {"/media/u/X", 3},         {"/media/u/../u/CARD2/", 1},
        {"/media/u/CAR", -1}, {"/media/u/CARD/sub", -1}, {"/media/u", -1},
    };
    for (const Case& c : aCases)
    {
        CConsoleReporter reporter;
        CCliPrompter prompter(reporter, c.pszRoot);
        EXPECT_EQ(prompter.chooseIndex("m", "c", astr), c.nIndex) << c.pszRoot;
        EXPECT_EQ(prompter.getDeclined().empty(), c.nIndex >= 0) << c.pszRoot;
        if (c.nIndex < 0)
        {
            // The message lists what is offered.
            EXPECT_NE(prompter.getDeclined().find("/media/u/CARD2/"), wxString::npos);
        }
    }
}

TEST(CliPrompter, WithoutRootOnlyASingleEntryIsTaken)
{
    CConsoleReporter reporter;
    CCliPrompter prompter(reporter, wxString());
    EXPECT_EQ(prompter.chooseIndex("m", "c", choices({"/media/u/CARD/"})), 0);
    EXPECT_TRUE(prompter.getDeclined().empty());
    EXPECT_EQ(prompter.chooseIndex("m", "c", choices({"/media/u/A/", "/media/u/B/"})), -1);
    EXPECT_NE(prompter.getDeclined().find("several"), wxString::npos);
    EXPECT_TRUE(prompter.chooseFile(CPrompter::eFileOpen, "m", "", "", "").empty());
}

TEST(CliPrompter, RelativeRootIsTakenFromTheWorkingDirectory)
{
    CTempDir dir;
    char acOld[4096];
    ASSERT_NE(getcwd(acOld, sizeof(acOld)), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const wxString strRoot = CCliPrompter::normaliseRoot("card");
    ASSERT_EQ(chdir(acOld), 0);
    EXPECT_EQ(strRoot, wxString::FromUTF8(dir.path() + "/card/"));
}

TEST(CliPrompter, DrivesTheCardFileLikeTheEditorsChoice)
{
    CTempDir dir;
    CFakeVolumeLayer layer;
    for (size_t i = 0; i < 2; ++i)
    {
        const std::string strRoot = dir.file("card" + std::to_string(i));
        CTempDir::makeDirs(strRoot);
        layer.setDrive(i, strRoot + "/");
    }
    CDataCard card;
    for (size_t i = 0; i < CDataCard::kImageSize; ++i)
        card.getImage()[i] = static_cast<uint8_t>(i * 7 + (i >> 12));
    CFileCard fileCard(layer);
    CConsoleReporter reporter;

    CCliPrompter none(reporter, wxString());
    EXPECT_FALSE(fileCard.write(card, none)); // two cards, none named
    EXPECT_FALSE(none.getDeclined().empty());
    EXPECT_TRUE(fileCard.getPath().empty());
    EXPECT_FALSE(CTempDir::exists(dir.file("card0/ZOLT.CFG")));

    CCliPrompter second(reporter, wxString::FromUTF8(dir.file("card1")));
    EXPECT_TRUE(fileCard.write(card, second));
    EXPECT_EQ(fileCard.getPath(), wxString::FromUTF8(dir.file("card1/ZOLT.CFG")));
    EXPECT_FALSE(CTempDir::exists(dir.file("card0/ZOLT.CFG")));
    EXPECT_EQ(CTempDir::readFile(dir.file("card1/ZOLT.CFG")),
              std::string(reinterpret_cast<const char*>(card.getImage()), CDataCard::kImageSize));

    // Only the second card holds the file, so reading needs no name.
    CDataCard back;
    EXPECT_TRUE(fileCard.read(back, none));
    EXPECT_EQ(memcmp(back.getImage(), card.getImage(), CDataCard::kImageSize), 0);
}
