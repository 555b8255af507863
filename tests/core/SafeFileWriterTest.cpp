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
#include <unistd.h>

namespace
{
// While set, fchmod fails as on a file system without Unix permissions.
std::atomic<bool> g_bRefuseModes{false};

bool mode0640(const std::string& strPath)
{
    return std::filesystem::status(strPath).permissions() == std::filesystem::perms(0640);
}
} // namespace

// Stands in for the C library's fchmod in this test program.
extern "C" int fchmod(int nFd, mode_t nMode) noexcept
{
    return g_bRefuseModes ? (errno = EPERM, -1) : int(syscall(SYS_fchmod, nFd, nMode));
}

TEST(SafeFileWriter, ContentArrivesWholeOrNotAtAll)
{
    CTempDir dir;
    const std::string strA(70000, 'a'), strPath = dir.file("ZOLT.CFG");
    ASSERT_TRUE(
        CSafeFileWriter::write(strPath, [&](const CSafeFileWriter::FnSink& fnSink)
                               { return fnSink(strA.data(), strA.size()) && fnSink("bb", 2); }));
    EXPECT_EQ(CTempDir::readFile(strPath), strA + "bb");
    EXPECT_TRUE(CSafeFileWriter::getLastError().empty());
    ASSERT_EQ(chmod(strPath.c_str(), 0640) | symlink(strPath.c_str(), dir.file("link").c_str()), 0);
    // Through a link, less content leaves nothing of the longer old one; the
    // link survives and the file keeps its mode.
    ASSERT_TRUE(CSafeFileWriter::write(dir.file("link"), "bb", 2));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")) && mode0640(strPath));
    // A producer that gives up keeps the old file.
    EXPECT_FALSE(CSafeFileWriter::write(strPath, [&](const CSafeFileWriter::FnSink& fnSink)
                                        { return fnSink(strA.data(), strA.size()) && false; }));
    EXPECT_EQ(CSafeFileWriter::getLastError() + CTempDir::readFile(strPath), strPath + "bb");
    // A new file gets the mode of an ordinary create, also where modes are refused.
    const mode_t nMask = umask(027);
    EXPECT_TRUE(CSafeFileWriter::write(dir.file("new.zlx"), nullptr, 0));
    g_bRefuseModes = true;
    EXPECT_TRUE(CSafeFileWriter::write(dir.file("fat.zlx"), "fat", 3));
    g_bRefuseModes = false;
    umask(nMask);
    EXPECT_TRUE(mode0640(dir.file("new.zlx")));
    EXPECT_EQ(CTempDir::readFile(dir.file("new.zlx")) + CTempDir::readFile(dir.file("fat.zlx")),
              "fat");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
}

TEST(SafeFileWriter, TargetsThatAreNotPlainFiles)
{
    CTempDir dir;
    // A pipe reached through a link that names no file, as /dev/stdout is;
    // devices of the test's own (mknod needs root), so that a writer that
    // went wrong does not replace the system's /dev/full or /dev/null.
    int anPipe[2];
    ASSERT_EQ(pipe(anPipe) | symlink(dir.file("nowhere/new.zlx").c_str(), dir.file("lost").c_str()),
              0);
    ASSERT_TRUE(CTempDir::makeDirs(dir.file("folder")));
    const std::string strFull = dir.device("full", 1, 7), strNull = dir.device("null", 1, 3);
    if (strFull.empty())
        GTEST_SKIP() << "needs root for devices";
    const std::pair<std::string, const char*> aCases[] = {
        {dir.file("folder"), "Is a directory"},
        {strFull, "No space left on device"},
        {dir.file("lost"), "No such file or directory"},
        {dir.file("folder/"), "Is a directory"},
        {strNull, nullptr},
        {"/proc/self/fd/" + std::to_string(anPipe[1]), nullptr}};
    for (const auto& c : aCases)
    {
        EXPECT_EQ(CSafeFileWriter::write(c.first, "data", 4), c.second == nullptr) << c.first;
        EXPECT_EQ(CSafeFileWriter::getLastError(),
                  c.second ? wxString(c.first) + ": " + c.second : wxString());
    }
    char acRead[8] = {};
    close(anPipe[1]);
    EXPECT_EQ(std::string(acRead, read(anPipe[0], acRead, sizeof(acRead))), "data");
    close(anPipe[0]);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
}
