// The careful replace of the card file on real file systems: a plain folder,
// and as root tmpfs (no direct reads) and a loop-mounted ext4 image. Each
// failing call in turn is tried by the fault tests.
#include "CLinuxCardFile.h"
#include "CFileCard.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/mount.h>
#include <unistd.h>

namespace
{
bool run(const std::string& strCommand)
{
    return system(("(" + strCommand + ") >/dev/null 2>&1").c_str()) == 0;
}

class SafeCardWriteTest : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        const std::string strImage = m_dir.file("card.img");
        const std::string strMount =
            GetParam() == "tmpfs" ? "mount -t tmpfs -o size=8m tmpfs " + m_strDir
                                  : "truncate -s 16M " + strImage + " && mkfs.ext4 -q -F " +
                                        strImage + " && mount -o loop " + strImage + " " + m_strDir;
        CTempDir::makeDirs(m_strDir);
        m_bMounted = GetParam() != "folder" && geteuid() == 0 && run(strMount);
        if (!m_bMounted && GetParam() != "folder")
            GTEST_SKIP() << "cannot mount " << GetParam() << " here (needs root)";
    }
    void TearDown() override
    {
        if (m_bMounted)
            umount2(m_strDir.c_str(), MNT_DETACH);
    }
    bool replace(const std::string& str)
    {
        return CLinuxCardFile::replace(m_strFile, m_strTemp, str.data(), str.size(), m_strError);
    }

    CTempDir m_dir;
    const std::string m_strDir = m_dir.file("mnt"), m_strFile = m_strDir + "/ZOLT.CFG",
                      m_strTemp = m_strDir + "/" + CFileCard::kTempFileName;
    bool m_bMounted = false;
    std::string m_strError;
};
} // namespace

TEST_P(SafeCardWriteTest, ReplaceWritesAllOrKeepsWhatIsThere)
{
    std::string strOld(400 * 1024, 'o'), strNew(CDataCard::kImageSize, '\0');
    for (size_t i = 0; i < strNew.size(); ++i)
        strNew[i] = static_cast<char>(i * 7 + (i >> 12));
    ASSERT_TRUE(CTempDir::writeFile(m_strFile, strOld));
    // A folder where a stale temporary file would be stops the write.
    ASSERT_TRUE(CTempDir::makeDirs(m_strTemp));
    EXPECT_FALSE(replace(strNew));
    EXPECT_EQ(m_strError.find("cannot remove the old " + m_strTemp), 0u) << m_strError;
    CTempDir::removeAll(m_strTemp);
    ASSERT_TRUE(CTempDir::writeFile(m_strTemp, "stale"));
    ASSERT_TRUE(replace(strNew)) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), strNew);
    EXPECT_FALSE(CTempDir::exists(m_strTemp));
    // The read-back check tells a file that differs by one byte or in length.
    const size_t nSize = strNew.size();
    EXPECT_TRUE(CLinuxCardFile::verify(m_strFile, strNew.data(), nSize, m_strError));
    EXPECT_FALSE(CLinuxCardFile::verify(m_strFile, (strNew + "x").data(), nSize + 1, m_strError));
    strOld = strNew;
    strOld[nSize / 2] ^= 0x01;
    EXPECT_FALSE(CLinuxCardFile::verify(m_strFile, strOld.data(), nSize, m_strError));
    if (!m_bMounted)
        return;
    ASSERT_TRUE(run("mount -o remount,ro " + m_strDir));
    EXPECT_FALSE(replace(strOld));
    EXPECT_NE(m_strError.find("Read-only"), std::string::npos) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), strNew);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, SafeCardWriteTest,
                         ::testing::Values("folder", "tmpfs", "ext4"));
