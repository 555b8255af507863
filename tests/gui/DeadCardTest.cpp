// The editor's own volume layer with the silent card of tests/media/fuse-card-check.sh.
#include "GuiTest.h"

#include <chrono>

TEST(DeadCardEditor, WriteAndReadGiveUpWithinSecondsAndSaySoAsForNoCard)
{
    if (getenv("ZOLT_DEAD_CARD") == nullptr)
        GTEST_SKIP() << "needs the dead card of tests/media/fuse-card-check.sh";
    auto* pFrame = new CHandlerProbe(); // the editor's own volume layer
    CScriptedPrompter prompter;
    pFrame->setPrompter(&prompter);
    pFrame->Show();
    for (const auto& [nCommand, pcReport] :
         {std::pair{+ID_MENU_CARD_WRITE, "Can't write the file|No media found!"},
          {+ID_MENU_CARD_READ, "Can't find the file|No configuration file found!"}})
    {
        prompter.clear();
        prompter.answerIndex(0);
        const auto tStart = std::chrono::steady_clock::now();
        pFrame->menu(nCommand);
        EXPECT_LT(std::chrono::steady_clock::now() - tStart, std::chrono::seconds(8));
        const auto& a = prompter.getReports(); // one report
        EXPECT_EQ(wxString(pcReport) + "\nPlease insert a micro SD card first.",
                  a.size() == 1 ? a[0].strTitle + "|" + a[0].strText : "");
    }
    pFrame->Destroy();
}
