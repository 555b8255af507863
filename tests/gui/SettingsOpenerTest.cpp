// Settings files named on the command line or dropped on the window open as if chosen.
#include "GuiTest.h"

#include "CSettingsDropTarget.h"
#include "CSettingsOpener.h"

TEST(SettingsOpener, TheFileArgumentIsTheFirstThatIsNoOption)
{
    const std::pair<const char*, wxString> aCases[] = {{"", ""},
                                                       {"--help -x - a.zlx b.zlx", "a.zlx"},
                                                       {"-- -n.zlx b.zlx", "-n.zlx"},
                                                       {"-y --", ""}};
    for (const auto& [pcArgs, strFile] : aCases)
        EXPECT_EQ(strFile,
                  CSettingsOpener::fileArgument(wxSplit(wxString("q417sd ") + pcArgs, ' ')));
}

using SettingsOpening = CHandlerTest;

TEST_F(SettingsOpening, ARelativePathOrADroppedFileOpensAsIfChosen)
{
    m_pFrame->at<wxCheckBox>(ID_CHECKBOX_KEYLOCKED)->SetValue(true);
    const Records edited = m_pFrame->records();
    m_prompter.answerFile(path("named.zlx"));
    m_pFrame->menu(ID_MENU_FILE_SAVE_AS);
    ASSERT_TRUE(wxCopyFile(path("named.zlx"), path("first.zlx")));
    m_pFrame->menu(ID_MENU_FILE_NEW);
    m_prompter.clear();
    const wxString strCwd = wxGetCwd(); // a relative path opens as the full one
    ASSERT_TRUE(wxSetWorkingDirectory(path("")));
    EXPECT_TRUE(CSettingsOpener::open(*m_pFrame, "named.zlx"));
    wxSetWorkingDirectory(strCwd);
    EXPECT_EQ(" Q417 [named.zlx]|" + path("named.zlx"), file());
    EXPECT_EQ(edited, m_pFrame->records());
    m_pFrame->menu(ID_MENU_FILE_OPEN); // the next dialog starts where the file was
    EXPECT_EQ(wxString::FromUTF8(m_dir.path()), m_prompter.getFileRequests().at(0).strDir);

    // The first dropped file opens once the drop is over.
    m_pFrame->menu(ID_MENU_FILE_NEW);
    auto* pTarget = dynamic_cast<CSettingsDropTarget*>(m_pFrame->GetDropTarget());
    ASSERT_TRUE(pTarget && !pTarget->OnDropFiles(0, 0, wxArrayString()));
    EXPECT_TRUE(
        pTarget->OnDropFiles(5, 5, wxSplit(path("first.zlx") + "\n" + path("missing"), '\n')));
    pumpEvents(20);
    EXPECT_EQ(" Q417 [first.zlx]|" + path("first.zlx") + "|", file() + "|" + report());
    EXPECT_EQ(edited, m_pFrame->records());
    EXPECT_EQ(1u, m_prompter.getFileRequests().size());
}
