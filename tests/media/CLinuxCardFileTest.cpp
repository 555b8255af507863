// The careful replace of the card file, for real: on a plain folder, and on
// tmpfs and a loop-mounted ext4 image when the test may mount (root, and a
// kernel and container that allow it).
#include "CLinuxCardFile.h"
#include "CFileCard.h"
#include "CLinuxVolumeLayer.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/mount.h>
#include <unistd.h>

namespace
{
const size_t kImage = CDataCard::kImageSize;

std::string pattern(size_t nSize, unsigned nSeed)
{
    std::string str(nSize, '\0');
    uint32_t nState = nSeed * 2654435761u + 1;
    for (char& c : str)
        c = static_cast<char>((nState = nState * 1103515245u + 12345u) >> 16);
    return str;
}

bool run(const std::string& strCommand)
{
    return system(("(" + strCommand + ") >/dev/null 2>&1").c_str()) == 0;
}

// A fresh folder "mnt", bare or with "tmpfs" (of 8 MiB, or "tmpfs-small" of
// 1200 KiB) or "ext4" on a 16 MiB image mounted on it.
class SafeCardWriteTest : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        const std::string strImage = m_dir.file("card.img"), strKind = GetParam();
        CTempDir::makeDirs(m_strDir);
        m_bMounted =
            geteuid() == 0 &&
            run(strKind == "ext4" ? "truncate -s 16M " + strImage + " && mkfs.ext4 -q -F " +
                                        strImage + " && mount -o loop " + strImage + " " + m_strDir
                : strKind != "folder"
                    ? "mount -t tmpfs -o size=" +
                          std::string(strKind == "tmpfs" ? "8m " : "1200k ") + "tmpfs " + m_strDir
                    : "false");
        if (!m_bMounted && strKind != "folder")
            GTEST_SKIP() << "cannot mount " << strKind << " here (needs root)";
    }
    void TearDown() override
    {
        if (m_bMounted)
            umount2(m_strDir.c_str(), MNT_DETACH);
    }
    bool replace(const std::string& strData)
    {
        return m_layer.replaceFile(m_strFile, m_strTemp, strData.data(), strData.size(),
                                   m_strError);
    }

    CTempDir m_dir;
    const std::string m_strDir = m_dir.file("mnt"), m_strFile = m_strDir + "/ZOLT.CFG",
                      m_strTemp = m_strDir + "/" + CFileCard::kTempFileName;
    bool m_bMounted = false;
    CLinuxVolumeLayer m_layer;
    std::string m_strError;
};
} // namespace

TEST_P(SafeCardWriteTest, ReplaceWritesAllOrKeepsWhatIsThere)
{
    const std::string strOld = pattern(400 * 1024, 4), strNew = pattern(kImage, 2);
    if (GetParam() == "tmpfs-small") // the volume fills up part way
    {
        ASSERT_TRUE(CTempDir::writeFile(m_strFile, strOld));
        EXPECT_FALSE(replace(strNew));
        EXPECT_NE(m_strError.find("No space"), std::string::npos) << m_strError;
        EXPECT_EQ(CTempDir::readFile(m_strFile), strOld);
        EXPECT_FALSE(CTempDir::exists(m_strTemp));
        return;
    }
    ASSERT_TRUE(CTempDir::makeDirs(m_strFile));
    ASSERT_TRUE(CTempDir::writeFile(m_strFile + "/KEEP.TXT", "keep"));
    EXPECT_FALSE(replace(strNew));
    EXPECT_FALSE(m_strError.empty());
    EXPECT_EQ(CTempDir::readFile(m_strFile + "/KEEP.TXT"), "keep");
    EXPECT_FALSE(CTempDir::exists(m_strTemp));
    CTempDir::removeAll(m_strFile);

    ASSERT_TRUE(replace(pattern(kImage, 1))) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), pattern(kImage, 1));
    ASSERT_TRUE(CTempDir::writeFile(m_strTemp, "stale"));
    ASSERT_TRUE(replace(strNew)) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), strNew);
    EXPECT_FALSE(CTempDir::exists(m_strTemp));

    // The read-back check tells a file that differs by one byte or in length.
    std::string strOther = strNew;
    strOther[kImage / 2] ^= 0x01;
    EXPECT_TRUE(CLinuxCardFile::verify(m_strFile, strNew.data(), kImage, m_strError));
    EXPECT_FALSE(CLinuxCardFile::verify(m_strFile, strOther.data(), kImage, m_strError));
    EXPECT_FALSE(CLinuxCardFile::verify(m_strFile, strNew.data(), kImage - 512, m_strError));
    EXPECT_FALSE(CLinuxCardFile::verify(m_strFile, (strNew + "x").data(), kImage + 1, m_strError));

    ASSERT_TRUE(CTempDir::writeFile(m_strFile, strOld));
    ASSERT_TRUE(CTempDir::makeDirs(m_strTemp));
    EXPECT_FALSE(replace(strNew));
    EXPECT_EQ(m_strError.find("cannot remove the old " + m_strTemp), 0u) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), strOld);
    CTempDir::removeAll(m_strTemp);
    if (!m_bMounted)
        return;
    ASSERT_TRUE(run("mount -o remount,ro " + m_strDir));
    EXPECT_FALSE(replace(strNew));
    EXPECT_NE(m_strError.find("Read-only"), std::string::npos) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), strOld);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, SafeCardWriteTest,
                         ::testing::Values("folder", "tmpfs", "ext4", "tmpfs-small"));
