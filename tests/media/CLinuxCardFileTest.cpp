// The careful replace of the card file, for real: on a plain folder, on
// tmpfs and on loop-mounted ext4 and FAT images when the test may mount
// (root, and a kernel and container that allow it), including a volume
// that fills up part-way and one mounted read-only.
#include "CLinuxCardFile.h"
#include "CFakeVolumeLayer.h"
#include "CFileCard.h"
#include "CLinuxVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const size_t kImage = CDataCard::kImageSize;

std::string pattern(size_t nSize, unsigned nSeed)
{
    std::string str(nSize, '\0');
    uint32_t nState = nSeed * 2654435761u + 1;
    for (size_t i = 0; i < nSize; ++i)
    {
        nState = nState * 1103515245u + 12345u;
        str[i] = static_cast<char>(nState >> 16);
    }
    return str;
}

bool run(const std::string& strCommand)
{
    return system((strCommand + " >/dev/null 2>&1").c_str()) == 0;
}

// A file system mounted at a fresh folder for one test.
class CScratchMount
{
public:
    // strKind: "tmpfs" (strOptions are its mount options), "ext4" or "vfat"
    // (an image of nMiB MiB on a loop device). Empty path() when it could
    // not be mounted; strWhyNot then says why.
    CScratchMount(const std::string& strKind, const std::string& strOptions, int nMiB,
                  std::string& strWhyNot)
    {
        if (geteuid() != 0)
        {
            strWhyNot = "mounting needs root";
            return;
        }
        const std::string strDir = m_dir.file("mnt");
        CTempDir::makeDirs(strDir);
        if (strKind == "tmpfs")
        {
            if (mount("tmpfs", strDir.c_str(), "tmpfs", 0, strOptions.c_str()) != 0)
            {
                strWhyNot = std::string("cannot mount tmpfs: ") + strerror(errno);
                return;
            }
        }
        else
        {
            const std::string strImage = m_dir.file("card.img");
            const std::string strMkfs =
                strKind == "vfat" ? "mkfs.vfat -n ZOLTCARD" : "mkfs.ext4 -q -F";
            if (!run("truncate -s " + std::to_string(nMiB) + "M " + strImage) ||
                !run(strMkfs + " " + strImage))
            {
                strWhyNot = "cannot make a " + strKind + " image (is " +
                            strMkfs.substr(0, strMkfs.find(' ')) + " installed?)";
                return;
            }
            if (!run("mount -t " + strKind + " -o loop" +
                     (strOptions.empty() ? "" : "," + strOptions) + " " + strImage + " " + strDir))
            {
                strWhyNot = "cannot loop-mount a " + strKind + " image here";
                return;
            }
        }
        m_strPath = strDir;
    }
    ~CScratchMount()
    {
        if (!m_strPath.empty() && umount2(m_strPath.c_str(), 0) != 0)
            umount2(m_strPath.c_str(), MNT_DETACH);
    }
    CScratchMount(const CScratchMount&) = delete;
    CScratchMount& operator=(const CScratchMount&) = delete;

    const std::string& path() const { return m_strPath; }
    bool remountReadOnly()
    {
        return mount(nullptr, m_strPath.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0 ||
               run("mount -o remount,ro " + m_strPath);
    }

private:
    CTempDir m_dir;
    std::string m_strPath;
};

#define MOUNT_OR_SKIP(name, kind, options, mib)                                                    \
    std::string strWhyNot_##name;                                                                  \
    CScratchMount name(kind, options, mib, strWhyNot_##name);                                      \
    if (name.path().empty())                                                                       \
    GTEST_SKIP() << strWhyNot_##name

class SafeCardWriteTest : public ::testing::TestWithParam<const char*>
{
protected:
    // Replaces ZOLT.CFG in strDir and checks the result on the way.
    bool replace(const std::string& strDir, const std::string& strData, std::string& rstrError)
    {
        return m_layer.replaceFile(strDir + "/ZOLT.CFG", strDir + "/" + CFileCard::kTempFileName,
                                   strData.data(), strData.size(), rstrError);
    }

    CLinuxVolumeLayer m_layer;
};

// Runs a test body on a plain folder (no mount needed) or a fresh mount.
struct CTarget
{
    std::unique_ptr<CTempDir> pDir;
    std::unique_ptr<CScratchMount> pMount;
    std::string strWhyNot;
    std::string path() const { return pMount ? pMount->path() : pDir->path(); }
    bool ok() const { return pMount ? !pMount->path().empty() : true; }
};

CTarget target(const std::string& strKind)
{
    CTarget t;
    if (strKind == "folder")
        t.pDir = std::make_unique<CTempDir>();
    else
        t.pMount = std::make_unique<CScratchMount>(strKind, strKind == "tmpfs" ? "size=8m" : "", 16,
                                                   t.strWhyNot);
    return t;
}
} // namespace

TEST_P(SafeCardWriteTest, RoundTripReplacesTheFileAndLeavesNoTemporaryFile)
{
    const CTarget t = target(GetParam());
    if (!t.ok())
        GTEST_SKIP() << t.strWhyNot;
    const std::string strFile = t.path() + "/ZOLT.CFG";
    const std::string strTemp = t.path() + "/" + CFileCard::kTempFileName;
    std::string strError;

    const std::string strFirst = pattern(kImage, 1);
    ASSERT_TRUE(replace(t.path(), strFirst, strError)) << strError;
    EXPECT_EQ(CTempDir::readFile(strFile), strFirst);
    EXPECT_FALSE(CTempDir::exists(strTemp));

    // Over the old file, with a stale temporary file in the way.
    ASSERT_TRUE(CTempDir::writeFile(strTemp, "stale"));
    const std::string strSecond = pattern(kImage, 2);
    ASSERT_TRUE(replace(t.path(), strSecond, strError)) << strError;
    EXPECT_EQ(CTempDir::readFile(strFile), strSecond);
    EXPECT_FALSE(CTempDir::exists(strTemp));
    EXPECT_TRUE(strError.empty());

    // The read-back check tells a file that differs by one byte.
    std::string strOther = strSecond;
    strOther[kImage / 2] ^= 0x01;
    EXPECT_TRUE(CLinuxCardFile::verify(strFile, strSecond.data(), kImage, strError)) << strError;
    EXPECT_FALSE(CLinuxCardFile::verify(strFile, strOther.data(), kImage, strError));
    EXPECT_FALSE(CLinuxCardFile::verify(strFile, strSecond.data(), kImage - 512, strError));
    EXPECT_FALSE(CLinuxCardFile::verify(strFile, (strSecond + "x").data(), kImage + 1, strError));
}

TEST_P(SafeCardWriteTest, FolderInThePlaceOfTheFileOrTheTemporaryFileIsLeftAlone)
{
    const CTarget t = target(GetParam());
    if (!t.ok())
        GTEST_SKIP() << t.strWhyNot;
    const std::string strFile = t.path() + "/ZOLT.CFG";
    const std::string strTemp = t.path() + "/" + CFileCard::kTempFileName;
    std::string strError;

    ASSERT_TRUE(CTempDir::makeDirs(strFile));
    ASSERT_TRUE(CTempDir::writeFile(strFile + "/KEEP.TXT", "keep"));
    EXPECT_FALSE(replace(t.path(), pattern(kImage, 3), strError));
    EXPECT_FALSE(strError.empty());
    EXPECT_EQ(CTempDir::readFile(strFile + "/KEEP.TXT"), "keep");
    EXPECT_FALSE(CTempDir::exists(strTemp));
    CTempDir::removeAll(strFile);

    const std::string strOld = pattern(4096, 4);
    ASSERT_TRUE(CTempDir::writeFile(strFile, strOld));
    ASSERT_TRUE(CTempDir::makeDirs(strTemp));
    EXPECT_FALSE(replace(t.path(), pattern(kImage, 3), strError));
    EXPECT_EQ(CTempDir::readFile(strFile), strOld);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, SafeCardWriteTest,
                         ::testing::Values("folder", "tmpfs", "ext4", "vfat"));

TEST(SafeCardWriteLimits, VolumeFullPartWayKeepsTheOldFile)
{
    MOUNT_OR_SKIP(card, "tmpfs", "size=1200k", 0);
    const std::string strFile = card.path() + "/ZOLT.CFG";
    const std::string strTemp = card.path() + "/" + CFileCard::kTempFileName;
    const std::string strOld = pattern(400 * 1024, 5);
    ASSERT_TRUE(CTempDir::writeFile(strFile, strOld));

    // Straight through the layer: the write runs out of room half-way.
    CLinuxVolumeLayer layer;
    const std::string strNew = pattern(kImage, 6);
    std::string strError;
    EXPECT_FALSE(layer.replaceFile(strFile, strTemp, strNew.data(), kImage, strError));
    EXPECT_NE(strError.find("No space"), std::string::npos) << strError;
    EXPECT_EQ(CTempDir::readFile(strFile), strOld);
    EXPECT_FALSE(CTempDir::exists(strTemp));

    // Through the card file, with the space check satisfied by a volume that
    // claims more room than it has.
    CFakeVolumeLayer fake;
    fake.setDrive(0, card.path() + "/").nFreeBytes = 2 * kImage;
    CScriptedPrompter prompter;
    prompter.answerIndex(0);
    CDataCard dataCard;
    memcpy(dataCard.getImage(), strNew.data(), kImage);
    CFileCard fileCard(fake);
    EXPECT_FALSE(fileCard.write(dataCard, prompter));
    ASSERT_EQ(prompter.getReports().size(), 1u);
    EXPECT_EQ(prompter.getReports()[0].strText,
              wxString::FromUTF8(strFile) + " is not writable\nreason is unknown.");
    EXPECT_EQ(CTempDir::readFile(strFile), strOld);
    EXPECT_FALSE(CTempDir::exists(strTemp));

    // The volume's own free space refuses the write before it starts.
    uint64_t nFree = 0;
    ASSERT_TRUE(layer.freeSpace(card.path() + "/", nFree));
    EXPECT_LT(nFree, kImage);
}

TEST(SafeCardWriteLimits, ReadOnlyMountKeepsTheOldFile)
{
    MOUNT_OR_SKIP(card, "tmpfs", "size=4m", 0);
    const std::string strFile = card.path() + "/ZOLT.CFG";
    const std::string strOld = pattern(kImage, 7);
    ASSERT_TRUE(CTempDir::writeFile(strFile, strOld));
    if (!card.remountReadOnly())
        GTEST_SKIP() << "cannot remount read-only here";

    CFakeVolumeLayer fake;
    fake.setDrive(0, card.path() + "/");
    CScriptedPrompter prompter;
    prompter.answerIndex(0);
    CDataCard dataCard;
    CFileCard fileCard(fake);
    EXPECT_FALSE(fileCard.write(dataCard, prompter));
    ASSERT_EQ(prompter.getReports().size(), 1u);
    EXPECT_EQ(prompter.getReports()[0].strTitle, "Can't write the file");
    EXPECT_EQ(prompter.getReports()[0].strText,
              wxString::FromUTF8(strFile) + " is not writable\nreason is unknown.");
    EXPECT_NE(fileCard.getLastError().find("Read-only"), std::string::npos)
        << fileCard.getLastError();
    EXPECT_EQ(CTempDir::readFile(strFile), strOld);
}
