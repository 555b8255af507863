// Settings files that reach the editor without its file dialog: the file named
// on the command line and a file dropped onto the window open as "Open..."
// opens them once chosen.
#include "GuiTest.h"

#include "CSettingsDropTarget.h"
#include "CSettingsOpener.h"

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

using SettingsOpening = CHandlerTest;

TEST_F(SettingsOpening, ARelativePathOrADroppedFileOpensAsIfChosen)
{
    // A file that cannot be read leaves the start-up state.
    ASSERT_TRUE(m_dir.write("wrong-root.zlx", "<?xml version=\"1.0\"?><settings/>"));
    const wxString strStart = snapshot();
    EXPECT_FALSE(CSettingsOpener::open(*m_pFrame, path("wrong-root.zlx")));
    EXPECT_EQ("File is corrupted: failed to read the settings.", report());
    EXPECT_EQ(strStart, snapshot());
    EXPECT_EQ("Q417 SD|", file());
    m_prompter.clear();

    m_pFrame->at<wxCheckBox>(ID_CHECKBOX_KEYLOCKED)->SetValue(true);
    const Records edited = m_pFrame->records();
    CFileXml xml;
    SysPar sysPar;
    ToolPar toolPar;
    m_pFrame->getSysPar(sysPar);
    m_pFrame->getToolPar(toolPar);
    xml.buildSettings(sysPar, toolPar);
    ASSERT_TRUE(xml.saveFile(m_prompter, path("named.zlx")) &&
                xml.saveFile(m_prompter, path("first.zlx")));
    m_pFrame->menu(ID_MENU_FILE_NEW);
    const wxString strCwd = wxGetCwd();
    ASSERT_TRUE(wxSetWorkingDirectory(wxString::FromUTF8(m_dir.path())));
    EXPECT_TRUE(CSettingsOpener::open(*m_pFrame, "named.zlx"));
    wxSetWorkingDirectory(strCwd);
    EXPECT_EQ(" Q417 [named.zlx]|" + path("named.zlx"), file());
    EXPECT_EQ(edited, m_pFrame->records());
    // The next dialog starts where the file was.
    m_pFrame->menu(ID_MENU_FILE_OPEN);
    ASSERT_EQ(1u, m_prompter.getFileRequests().size());
    EXPECT_EQ(wxString::FromUTF8(m_dir.path()), m_prompter.getFileRequests()[0].strDir);

    // The first dropped file opens once the drop is over.
    m_pFrame->menu(ID_MENU_FILE_NEW);
    auto* pTarget = dynamic_cast<CSettingsDropTarget*>(m_pFrame->GetDropTarget());
    ASSERT_NE(nullptr, pTarget);
    EXPECT_FALSE(pTarget->OnDropFiles(0, 0, wxArrayString()));
    wxArrayString astrFiles;
    astrFiles.push_back(path("first.zlx"));
    astrFiles.push_back(path("missing.zlx"));
    m_prompter.clear();
    EXPECT_TRUE(pTarget->OnDropFiles(5, 5, astrFiles));
    EXPECT_EQ(" Q417", m_pFrame->GetTitle());
    pumpEvents(20);
    EXPECT_EQ(" Q417 [first.zlx]|" + path("first.zlx"), file());
    EXPECT_EQ(edited, m_pFrame->records());
    EXPECT_EQ("", report());
    EXPECT_TRUE(m_prompter.getFileRequests().empty());
    EXPECT_EQ(&m_prompter, &m_pFrame->getPrompter());
}
