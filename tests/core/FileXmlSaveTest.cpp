// Loading and saving settings files: the file dialogs, the directory they
// open in, the remembered file name, and saves that fail without harming the
// file they were to replace.
#include "CDataCard.h"
#include "CFileXml.h"
#include "RecordingReporter.h"

#include <wx/filename.h>
#include <wx/init.h>
#include <wx/stdpaths.h>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace xmltest;

namespace
{
const char* const kWildcard = "Zolt xml (*.zlx)|*.zlx";

class FileXmlSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CDataCard::setDefaultPar(m_sys, m_tool);
        m_file.buildSettings(m_sys, m_tool);
        m_strSaved = m_dir.file("saved.zlx");
        ASSERT_TRUE(m_file.saveFile(m_reporter, m_strSaved));
        m_strDocument = readBytes(m_strSaved);
        ASSERT_FALSE(m_strDocument.empty());
    }

    void expectSaveFailure(const std::vector<CRecordingReporter::Report>& aReports)
    {
        ASSERT_EQ(aReports.size(), 1u);
        EXPECT_EQ(aReports[0].strTitle, "Can't save the file");
        EXPECT_EQ(aReports[0].strText, "failed to save the file.");
    }

    CScratchDir m_dir;
    SysPar m_sys;
    ToolPar m_tool;
    CFileXml m_file;
    CRecordingReporter m_reporter;
    wxString m_strSaved;
    std::string m_strDocument;
};
} // namespace

TEST_F(FileXmlSave, DialogsAskWithTheirTextsAndFollowTheLastAcceptedFile)
{
    CScriptedPrompter prompter;
    CFileXml file;

    // Cancelled open: nothing changes but the seeded directory.
    EXPECT_FALSE(file.loadFile(prompter));
    ASSERT_EQ(prompter.m_aQuestions.size(), 1u);
    const CScriptedPrompter::FileQuestion rOpen = prompter.m_aQuestions[0];
    EXPECT_EQ(rOpen.eKind, CPrompter::eFileOpen);
    EXPECT_EQ(rOpen.strMessage, "Load Settings");
    EXPECT_EQ(rOpen.strDefaultFile, "*.zlx");
    EXPECT_EQ(rOpen.strWildcard, kWildcard);
    EXPECT_FALSE(rOpen.strDir.empty());
    EXPECT_TRUE(wxFileName::DirExists(rOpen.strDir)) << rOpen.strDir;
    EXPECT_TRUE(file.getFileName().empty());
    EXPECT_TRUE(prompter.m_aReports.empty());

    // Accepted open of a good file.
    prompter.m_astrAnswers.push_back(m_strSaved);
    EXPECT_TRUE(file.loadFile(prompter));
    EXPECT_EQ(prompter.m_aQuestions[1].strDir, rOpen.strDir);
    EXPECT_EQ(file.getFileName(), m_strSaved);
    EXPECT_EQ(file.getDir(), m_dir.path().string());
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    sys.cUnit = 2;
    tool.nVarSetT100mC = 1;
    EXPECT_TRUE(file.readSettings(prompter, sys, tool));
    EXPECT_EQ(sys.cUnit, 1);
    EXPECT_EQ(tool.nVarSetT100mC, 3600);

    // Save as offers the name part of the default and opens where the last
    // dialog was accepted; cancelling writes nothing.
    EXPECT_FALSE(file.saveFileAs(prompter, "/no/such/place/zolt7.zlx"));
    const CScriptedPrompter::FileQuestion rSave = prompter.m_aQuestions[2];
    EXPECT_EQ(rSave.eKind, CPrompter::eFileSave);
    EXPECT_EQ(rSave.strMessage, "Save Settings");
    EXPECT_EQ(rSave.strDir, m_dir.path().string());
    EXPECT_EQ(rSave.strDefaultFile, "zolt7.zlx");
    EXPECT_EQ(rSave.strWildcard, kWildcard);
    EXPECT_EQ(file.getFileName(), m_strSaved);
    EXPECT_TRUE(prompter.m_aReports.empty());

    // Accepted save into another directory: written, and remembered.
    std::filesystem::create_directory(m_dir.path() / "sub");
    const wxString strOther = m_dir.file("sub/other.zlx");
    prompter.m_astrAnswers.push_back(strOther);
    EXPECT_TRUE(file.saveFileAs(prompter, "zolt1.zlx"));
    EXPECT_EQ(prompter.m_aQuestions[3].strDefaultFile, "zolt1.zlx");
    EXPECT_EQ(readBytes(strOther), m_strDocument);
    EXPECT_EQ(file.getFileName(), strOther);
    EXPECT_EQ(file.getDir(), (m_dir.path() / "sub").string());

    // A plain save touches neither.
    EXPECT_TRUE(file.saveFile(prompter, m_dir.file("third.zlx")));
    EXPECT_EQ(file.getFileName(), strOther);
    EXPECT_EQ(file.getDir(), (m_dir.path() / "sub").string());

    // A failed open still remembers the chosen file.
    prompter.m_astrAnswers.push_back(m_dir.file("missing.zlx"));
    EXPECT_FALSE(file.loadFile(prompter));
    EXPECT_EQ(prompter.m_aQuestions[4].strDir, (m_dir.path() / "sub").string());
    EXPECT_EQ(file.getFileName(), m_dir.file("missing.zlx"));
    EXPECT_EQ(file.getDir(), m_dir.path().string());
    ASSERT_EQ(prompter.m_aReports.size(), 1u);
    EXPECT_EQ(prompter.m_aReports[0].strTitle, "Can't read the file");
}

TEST_F(FileXmlSave, FirstDialogOpensInTheDocumentsDirectory)
{
    // Without an application object first, then with one: the same place.
    CScriptedPrompter prompter;
    CFileXml file;
    EXPECT_FALSE(file.saveFileAs(prompter, "zolt1.zlx"));
    wxInitializer init;
    ASSERT_TRUE(init.IsOk());
    CFileXml file2;
    EXPECT_FALSE(file2.loadFile(prompter));
    ASSERT_EQ(prompter.m_aQuestions.size(), 2u);
    const wxString strDocuments = wxStandardPaths::Get().GetDocumentsDir();
    EXPECT_FALSE(strDocuments.empty());
    EXPECT_EQ(prompter.m_aQuestions[0].strDir, strDocuments);
    EXPECT_EQ(prompter.m_aQuestions[1].strDir, strDocuments);
    EXPECT_EQ(file.getDir(), strDocuments);
}

TEST_F(FileXmlSave, SaveKeepsPermissionsAndFollowsLinks)
{
    ASSERT_EQ(chmod(m_strSaved.fn_str(), 0640), 0);
    const std::filesystem::path link = m_dir.path() / "link.zlx";
    std::filesystem::create_symlink(m_dir.path() / "saved.zlx", link);

    m_sys.cUnit = 2;
    m_file.buildSettings(m_sys, m_tool);
    ASSERT_TRUE(m_file.saveFile(m_reporter, link.string()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    const std::string strNew = readBytes(m_strSaved);
    EXPECT_NE(strNew, m_strDocument);
    EXPECT_NE(strNew.find("fahrenheit"), std::string::npos);

    struct stat st;
    ASSERT_EQ(stat(m_strSaved.fn_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // Nothing but the file and the link is left in the directory.
    EXPECT_EQ(m_dir.entries().size(), 2u);
    EXPECT_TRUE(m_reporter.m_aReports.empty());
}

TEST_F(FileXmlSave, NewFilesGetTheUsualPermissions)
{
    const mode_t nMask = umask(022);
    ASSERT_TRUE(m_file.saveFile(m_reporter, m_dir.file("new.zlx")));
    umask(nMask);
    struct stat st;
    ASSERT_EQ(stat(m_dir.file("new.zlx").fn_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(FileXmlSave, FailedSavesReportAndLeaveNoTrace)
{
    std::filesystem::create_directory(m_dir.path() / "folder.zlx");
    const wxString astrTargets[] = {
        m_dir.file("folder.zlx"),          // a directory in the file's place
        m_dir.file("nowhere/saved.zlx"),   // no such directory
        m_dir.file("saved.zlx/below.zlx"), // a file in the directory's place
        m_dir.file("folder.zlx/"),         // no file name at all
        "",
    };
    for (const wxString& strTarget : astrTargets)
    {
        SCOPED_TRACE(strTarget);
        CRecordingReporter reporter;
        EXPECT_FALSE(m_file.saveFile(reporter, strTarget));
        expectSaveFailure(reporter.m_aReports);
    }
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.path() / "folder.zlx"));
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.path() / "folder.zlx"));
    EXPECT_EQ(readBytes(m_strSaved), m_strDocument);
    EXPECT_EQ(m_dir.entries().size(), 2u);
}

TEST_F(FileXmlSave, DialogSaveThatFailsKeepsTheOldFile)
{
    CScriptedPrompter prompter;
    prompter.m_astrAnswers.push_back(m_strSaved);
    CFileXml empty; // nothing built: there is no document to write
    EXPECT_FALSE(empty.saveFileAs(prompter, "zolt1.zlx"));
    expectSaveFailure(prompter.m_aReports);
    EXPECT_EQ(readBytes(m_strSaved), m_strDocument);
    // The accepted dialog is remembered even though the save failed.
    EXPECT_EQ(empty.getFileName(), m_strSaved);
}

TEST_F(FileXmlSave, WriteErrorHalfwayKeepsTheOldFile)
{
    // A file size limit makes the write itself fail part-way, even for root.
    m_sys.cUnit = 2;
    m_file.buildSettings(m_sys, m_tool);
    const auto pPrevious = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limitOld;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limitOld), 0);
    struct rlimit limitNew = limitOld;
    limitNew.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limitNew), 0);
    const bool bSaved = m_file.saveFile(m_reporter, m_strSaved);
    setrlimit(RLIMIT_FSIZE, &limitOld);
    signal(SIGXFSZ, pPrevious);

    EXPECT_FALSE(bSaved);
    expectSaveFailure(m_reporter.m_aReports);
    EXPECT_EQ(readBytes(m_strSaved), m_strDocument);
    EXPECT_EQ(m_dir.entries(), std::vector<std::string>{"saved.zlx"});
}

TEST_F(FileXmlSave, ReadOnlyDirectoryOrMediumKeepsTheOldFile)
{
    const std::filesystem::path mount = m_dir.path() / "medium";
    std::filesystem::create_directory(mount);
    bool bMounted = false;
    if (geteuid() == 0)
    {
        // Root ignores permission bits: a read-only file system stops it.
        bMounted = ::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") == 0;
        if (!bMounted)
            GTEST_SKIP() << "running as root without the right to mount a file system";
    }
    const wxString strTarget = (mount / "settings.zlx").string();
    CRecordingReporter reporter;
    ASSERT_TRUE(m_file.saveFile(reporter, strTarget));
    if (bMounted)
        ASSERT_EQ(::mount(nullptr, mount.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    else
        ASSERT_EQ(chmod(mount.c_str(), 0555), 0);

    m_sys.cUnit = 2;
    m_file.buildSettings(m_sys, m_tool);
    const bool bSaved = m_file.saveFile(reporter, strTarget);
    const std::string strAfter = readBytes(strTarget);
    size_t nEntries = 0;
    for (const auto& rEntry : std::filesystem::directory_iterator(mount))
        nEntries += rEntry.is_regular_file() ? 1 : 0;
    if (bMounted)
        umount2(mount.c_str(), MNT_DETACH);
    else
        chmod(mount.c_str(), 0755);

    EXPECT_FALSE(bSaved);
    expectSaveFailure(reporter.m_aReports);
    EXPECT_EQ(strAfter, m_strDocument);
    EXPECT_EQ(nEntries, 1u);
}
