// Replacing files safely: the content arrives whole or not at all, and the
// directory holds no leftovers either way.
#include "CSafeFileWriter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// While set, fchmod fails as on a file system without Unix permissions.
std::atomic<bool> g_bRefuseModes{false};
} // namespace

// Stands in for the C library's fchmod in this test program.
extern "C" int fchmod(int nFd, mode_t nMode) noexcept
{
    if (g_bRefuseModes)
    {
        errno = EPERM;
        return -1;
    }
    return static_cast<int>(syscall(SYS_fchmod, nFd, nMode));
}

namespace
{
std::string pattern(size_t nLength, unsigned nSeed)
{
    std::string str(nLength, '\0');
    for (size_t i = 0; i < nLength; ++i)
        str[i] = static_cast<char>((i * 131u + nSeed) >> 3);
    return str;
}

size_t entries(const std::string& strDir)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(strDir), {}));
}

mode_t modeOf(const std::string& strPath)
{
    struct stat st;
    return stat(strPath.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Runs fn as an ordinary user (root ignores permission bits) in a child
// process and returns its exit status, or -1 when that is not possible.
template <class Fn> int runAsUser(Fn fn)
{
    const pid_t nPid = fork();
    if (nPid == 0)
    {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        _exit(fn() ? 0 : 1);
    }
    int nStatus = 0;
    if (nPid < 0 || waitpid(nPid, &nStatus, 0) != nPid || !WIFEXITED(nStatus) ||
        WEXITSTATUS(nStatus) == 99)
        return -1;
    return WEXITSTATUS(nStatus);
}
} // namespace

TEST(SafeFileWriter, ContentArrivesWholeOrNotAtAll)
{
    CTempDir dir;
    const std::string strA = pattern(70000, 1), strB = pattern(5, 2), strC = pattern(1 << 20, 3);
    const std::string strPath = dir.file("ZOLT.CFG");
    ASSERT_TRUE(CSafeFileWriter::write(strPath,
                                       [&](const CSafeFileWriter::FnSink& fnSink)
                                       {
                                           return fnSink(strA.data(), strA.size()) &&
                                                  fnSink(strB.data(), strB.size()) &&
                                                  fnSink(strC.data(), strC.size());
                                       }));
    EXPECT_EQ(CTempDir::readFile(strPath), strA + strB + strC);
    EXPECT_TRUE(CSafeFileWriter::getLastError().empty());
    // Less content leaves nothing of the longer old one.
    ASSERT_TRUE(CSafeFileWriter::write(strPath, strB.data(), strB.size()));
    EXPECT_EQ(CTempDir::readFile(strPath), strB);

    // A producer that gives up keeps the old file.
    EXPECT_FALSE(CSafeFileWriter::write(strPath, [&](const CSafeFileWriter::FnSink& fnSink)
                                        { return fnSink(strC.data(), strC.size()) && false; }));
    EXPECT_FALSE(CSafeFileWriter::getLastError().empty());
    EXPECT_EQ(CTempDir::readFile(strPath), strB);
    ASSERT_TRUE(CSafeFileWriter::write(strPath, nullptr, 0));
    EXPECT_EQ(CTempDir::readFile(strPath), "");

    // Names as long as the file system allows, in one- and two-byte characters.
    std::string strMulti = "x";
    while (strMulti.size() < 251)
        strMulti += "\xc3\xa4";
    for (const std::string& strName : {std::string(251, 'x') + ".zlx", strMulti + ".zlx"})
    {
        ASSERT_EQ(strName.size(), 255u);
        EXPECT_TRUE(CSafeFileWriter::write(wxString::FromUTF8(dir.file(strName)), "long", 4))
            << CSafeFileWriter::getLastError();
        EXPECT_EQ(CTempDir::readFile(dir.file(strName)), "long");
    }
    EXPECT_EQ(entries(dir.path()), 3u);
}

TEST(SafeFileWriter, PermissionsLinksAndWriteProtection)
{
    CTempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const std::string strOld = dir.file("old.zlx"), strLink = dir.file("link.zlx");
    ASSERT_TRUE(CTempDir::writeFile(strOld, "old"));
    ASSERT_EQ(chmod(strOld.c_str(), 0640), 0);
    ASSERT_EQ(symlink(strOld.c_str(), strLink.c_str()), 0);
    // The link survives, the file it points to is replaced and keeps its mode.
    ASSERT_TRUE(CSafeFileWriter::write(strLink, "new", 3));
    EXPECT_TRUE(std::filesystem::is_symlink(strLink));
    EXPECT_EQ(CTempDir::readFile(strOld), "new");
    EXPECT_EQ(modeOf(strOld), 0640u);
    // A new file gets the mode of an ordinary create.
    const mode_t nMask = umask(022);
    const bool bNew = CSafeFileWriter::write(dir.file("new.zlx"), "new", 3);
    umask(nMask);
    ASSERT_TRUE(bNew);
    EXPECT_EQ(modeOf(dir.file("new.zlx")), 0644u);
    // A file system that refuses modes still takes a new file.
    g_bRefuseModes = true;
    const bool bRefused = CSafeFileWriter::write(dir.file("fat.zlx"), "fat", 3);
    g_bRefuseModes = false;
    EXPECT_TRUE(bRefused);
    EXPECT_EQ(CTempDir::readFile(dir.file("fat.zlx")), "fat");

    // As an ordinary user: a write-protected file is refused; a writable one
    // is replaced, in place when its folder is not writable, where a new
    // file cannot be made.
    const std::string strProtected = dir.file("protected.CFG"), strOpen = dir.file("open.CFG");
    const std::string strShared = dir.file("shared/open.CFG");
    ASSERT_TRUE(CTempDir::writeFile(strProtected, "old") && CTempDir::writeFile(strOpen, "old") &&
                dir.write("shared/open.CFG", "old content"));
    ASSERT_EQ(chmod(strProtected.c_str(), 0444) | chmod(strOpen.c_str(), 0666) |
                  chmod(strShared.c_str(), 0666) | chmod(dir.file("shared").c_str(), 0555),
              0);
    const std::pair<std::string, bool> aCases[] = {
        {strProtected, false}, {strOpen, true}, {strShared, true}, {dir.file("shared/new"), false}};
    for (const auto& c : aCases)
    {
        const int nResult = runAsUser([&] { return CSafeFileWriter::write(c.first, "x", 1); });
        if (nResult < 0)
            GTEST_SKIP() << "cannot run as an ordinary user here";
        EXPECT_EQ(nResult, c.second ? 0 : 1) << c.first;
        EXPECT_EQ(CTempDir::readFile(c.first), c.second ? "x" : CTempDir::readFile(c.first));
    }
    EXPECT_EQ(CTempDir::readFile(strProtected), "old");
    EXPECT_EQ(modeOf(strOpen), 0666u);
    EXPECT_EQ(modeOf(strShared), 0666u);
    EXPECT_EQ(entries(dir.path()), 7u);
    EXPECT_EQ(entries(dir.file("shared")), 1u);
}

TEST(SafeFileWriter, TargetsThatAreNotPlainFiles)
{
    CTempDir dir;
    const std::string strNew = dir.file("new.zlx");
    ASSERT_TRUE(CTempDir::makeDirs(dir.file("folder")));
    // A pipe reached through a link that names no file, as /dev/stdout is.
    int anPipe[2];
    ASSERT_EQ(pipe(anPipe), 0);
    ASSERT_EQ(symlink(strNew.c_str(), dir.file("dangling").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("nowhere/new.zlx").c_str(), dir.file("lost").c_str()), 0);
    const std::pair<std::string, const char*> aCases[] = {
        {dir.file("folder"), "Is a directory"},
        {"/dev/full", "No space left on device"},
        {dir.file("lost"), "No such file or directory"},
        {"/dev/null", nullptr},
        {"/proc/self/fd/" + std::to_string(anPipe[1]), nullptr},
        {dir.file("dangling"), nullptr}};
    for (const auto& c : aCases)
    {
        const bool bOk = CSafeFileWriter::write(c.first, "data", 4);
        EXPECT_EQ(bOk, c.second == nullptr) << c.first;
        EXPECT_EQ(CSafeFileWriter::getLastError(),
                  c.second ? wxString(c.first) + ": " + c.second : wxString());
    }
    char acRead[8] = {};
    close(anPipe[1]);
    EXPECT_EQ(read(anPipe[0], acRead, sizeof(acRead)), 4);
    EXPECT_STREQ(acRead, "data");
    close(anPipe[0]);
    // The link now points to the file it named.
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling")));
    EXPECT_EQ(CTempDir::readFile(strNew), "data");
    EXPECT_EQ(entries(dir.path()), 4u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
}
