// Replacing files safely: the content arrives whole or not at all, and the
// directory holds no leftovers either way.
#include "CSafeFileWriter.h"
#include "RecordingReporter.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xmltest;

namespace
{
std::string pattern(size_t nLength, unsigned nSeed)
{
    std::string str(nLength, '\0');
    for (size_t i = 0; i < nLength; ++i)
        str[i] = static_cast<char>((i * 131u + nSeed) >> 3);
    return str;
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

TEST(SafeFileWriter, ProducerChunksArriveInOrder)
{
    CScratchDir dir;
    const std::string strA = pattern(70000, 1), strB = pattern(5, 2), strC = pattern(1 << 20, 3);
    const wxString strPath = dir.file("ZOLT.CFG");
    ASSERT_TRUE(CSafeFileWriter::write(strPath,
                                       [&](const CSafeFileWriter::FnSink& fnSink)
                                       {
                                           return fnSink(strA.data(), strA.size()) &&
                                                  fnSink(strB.data(), strB.size()) &&
                                                  fnSink(strC.data(), strC.size());
                                       }));
    EXPECT_EQ(readBytes(strPath), strA + strB + strC);
    EXPECT_TRUE(CSafeFileWriter::getLastError().empty());

    // Replacing with less content leaves nothing of the longer old one.
    ASSERT_TRUE(CSafeFileWriter::write(strPath, strB.data(), strB.size()));
    EXPECT_EQ(readBytes(strPath), strB);
    ASSERT_TRUE(CSafeFileWriter::write(strPath, nullptr, 0));
    EXPECT_EQ(readBytes(strPath), "");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"ZOLT.CFG"});
}

TEST(SafeFileWriter, AbortedProducerKeepsTheOldFile)
{
    CScratchDir dir;
    const wxString strPath = dir.file("ZOLT.CFG");
    const std::string strOld = pattern(1000, 7);
    writeBytes(strPath, strOld);
    const std::string strNew = pattern(4096, 9);
    EXPECT_FALSE(CSafeFileWriter::write(strPath, [&](const CSafeFileWriter::FnSink& fnSink)
                                        { return fnSink(strNew.data(), strNew.size()) && false; }));
    EXPECT_FALSE(CSafeFileWriter::getLastError().empty());
    EXPECT_EQ(readBytes(strPath), strOld);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"ZOLT.CFG"});
}

TEST(SafeFileWriter, RefusesToReplaceWhatIsNotAFile)
{
    CScratchDir dir;
    std::filesystem::create_directory(dir.path() / "ZOLT.CFG");
    const std::string str = pattern(10, 1);
    EXPECT_FALSE(CSafeFileWriter::write(dir.file("ZOLT.CFG"), str.data(), str.size()));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "ZOLT.CFG"));
    EXPECT_FALSE(CSafeFileWriter::write("/dev/null", str.data(), str.size()));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(dir.entries().size(), 1u);
}

TEST(SafeFileWriter, FullMediumKeepsTheOldFile)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    CScratchDir dir;
    const std::filesystem::path mount = dir.path() / "card";
    std::filesystem::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no right to mount a file system here";
    const wxString strPath = (mount / "ZOLT.CFG").string();
    const std::string strOld = pattern(100000, 4);
    writeBytes(strPath, strOld);
    const std::string strImage = pattern(1 << 20, 5);
    const bool bWritten = CSafeFileWriter::write(strPath, strImage.data(), strImage.size());
    const wxString strError = CSafeFileWriter::getLastError();
    const std::string strAfter = readBytes(strPath);
    size_t nEntries = 0;
    for (const auto& rEntry : std::filesystem::directory_iterator(mount))
        nEntries += rEntry.is_regular_file() ? 1 : 0;
    umount2(mount.c_str(), MNT_DETACH);

    EXPECT_FALSE(bWritten);
    EXPECT_NE(strError.find("space"), wxString::npos) << strError;
    EXPECT_EQ(strAfter, strOld);
    EXPECT_EQ(nEntries, 1u);
}

TEST(SafeFileWriter, WriteProtectionIsRespected)
{
    CScratchDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const wxString strProtected = dir.file("protected.CFG");
    const wxString strOpen = dir.file("open.CFG");
    writeBytes(strProtected, "old");
    writeBytes(strOpen, "old");
    ASSERT_EQ(chmod(strProtected.fn_str(), 0444), 0);
    ASSERT_EQ(chmod(strOpen.fn_str(), 0666), 0);
    const std::string strNew = pattern(3000, 1);

    const int nProtected = runAsUser(
        [&] { return CSafeFileWriter::write(strProtected, strNew.data(), strNew.size()); });
    const int nOpen =
        runAsUser([&] { return CSafeFileWriter::write(strOpen, strNew.data(), strNew.size()); });
    if (nProtected < 0 || nOpen < 0)
        GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(nProtected, 1);
    EXPECT_EQ(readBytes(strProtected), "old");
    EXPECT_EQ(nOpen, 0);
    EXPECT_EQ(readBytes(strOpen), strNew);
    struct stat st;
    ASSERT_EQ(stat(strOpen.fn_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    EXPECT_EQ(dir.entries().size(), 2u);
}
