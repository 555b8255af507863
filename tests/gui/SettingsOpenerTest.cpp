// Settings files that reach the editor without its file dialog: the file named
// on the command line and a file dropped onto the window open as "Open..."
// opens them once chosen.
#include "GuiTest.h"

#include "CSettingsDropTarget.h"
#include "CSettingsOpener.h"

#include <wx/filename.h>

TEST(SettingsOpener, TheFileArgumentIsTheFirstThatIsNoOption)
{
    const std::pair<std::vector<const char*>, wxString> aCases[] = {
        {{"q417sd"}, ""},
        {{"q417sd", "--help", "-x", "-", "a.zlx", "b.zlx"}, "a.zlx"},
        {{"q417sd", "--", "-n.zlx", "b.zlx"}, "-n.zlx"},
        {{"q417sd", "--no-such-option", "--"}, ""}};
    for (const auto& [apcArgs, strFile] : aCases)
    {
        wxArrayString astrArgs;
        for (const char* pc : apcArgs)
            astrArgs.push_back(pc);
        EXPECT_EQ(strFile, CSettingsOpener::fileArgument(astrArgs)) << astrArgs.size();
    }
}

class SettingsOpening : public CHandlerTest
{
protected:
    void expectOpened(const wxString& strPath)
    {
        EXPECT_EQ("", report());
        EXPECT_TRUE(m_prompter.getFileRequests().empty());
        EXPECT_EQ(kEdited.records(), m_pFrame->records());
        EXPECT_EQ(" Q417 [" + wxFileName(strPath).GetFullName() + "]|" + strPath,
                  m_pFrame->GetTitle() + "|" + m_pFrame->getCurrentFile());
        EXPECT_EQ(&m_prompter, &m_pFrame->getPrompter());
    }
};

TEST_F(SettingsOpening, ARelativePathOrADroppedFileOpensAsIfChosen)
{
    // A file that cannot be read leaves the start-up state.
    ASSERT_TRUE(m_dir.write("wrong-root.zlx", "<?xml version=\"1.0\"?><settings/>"));
    const std::vector<wxString> astrStart = snapshot();
    EXPECT_FALSE(CSettingsOpener::open(*m_pFrame, path("wrong-root.zlx")));
    EXPECT_EQ("File is corrupted: failed to read the settings.", report());
    EXPECT_EQ(astrStart, snapshot());
    EXPECT_EQ("Q417 SD|", m_pFrame->GetTitle() + "|" + m_pFrame->getCurrentFile());
    m_prompter.clear();

    CFileXml xml;
    xml.buildSettings(kEdited.sys(), kEdited.tool());
    ASSERT_TRUE(xml.saveFile(m_prompter, path("named.zlx")));
    const wxString strCwd = wxGetCwd();
    ASSERT_TRUE(wxSetWorkingDirectory(wxString::FromUTF8(m_dir.path())));
    const bool bOk = CSettingsOpener::open(*m_pFrame, "named.zlx");
    wxSetWorkingDirectory(strCwd);
    EXPECT_TRUE(bOk);
    expectOpened(path("named.zlx"));
    // The next dialog starts where the file was.
    m_pFrame->menu(ID_MENU_FILE_OPEN);
    ASSERT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(wxString::FromUTF8(m_dir.path()), m_prompter.getFileRequests()[0].strDir);

    // The first dropped file opens once the drop is over.
    m_pFrame->menu(ID_MENU_FILE_NEW);
    ASSERT_TRUE(xml.saveFile(m_prompter, path("first.zlx")));
    auto* pTarget = dynamic_cast<CSettingsDropTarget*>(m_pFrame->GetDropTarget());
    ASSERT_NE(nullptr, pTarget);
    EXPECT_FALSE(pTarget->OnDropFiles(0, 0, wxArrayString()));
    wxArrayString astrFiles;
    astrFiles.push_back(path("first.zlx"));
    astrFiles.push_back(path("missing.zlx"));
    m_prompter.clear();
    EXPECT_TRUE(pTarget->OnDropFiles(5, 5, astrFiles));
    EXPECT_EQ(" Q417", m_pFrame->GetTitle());
    guitest::pumpEvents(20);
    expectOpened(path("first.zlx"));
}
