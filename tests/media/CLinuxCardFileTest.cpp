// The careful replace of the card file, for real: on a plain folder, and as
// root on tmpfs (roomy, or filling up part way) and a loop-mounted ext4 image.
#include "CLinuxCardFile.h"
#include "CFileCard.h"
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

class SafeCardWriteTest : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        const std::string strImage = m_dir.file("card.img");
        CTempDir::makeDirs(m_strDir);
        m_bMounted = GetParam() != "folder" && geteuid() == 0 &&
                     run(GetParam() == "ext4"
                             ? "truncate -s 16M " + strImage + " && mkfs.ext4 -q -F " + strImage +
                                   " && mount -o loop " + strImage + " " + m_strDir
                             : std::string("mount -t tmpfs -o size=") +
                                   (GetParam() == "tmpfs" ? "8m" : "1200k") + " tmpfs " + m_strDir);
        if (!m_bMounted && GetParam() != "folder")
            GTEST_SKIP() << "cannot mount " << GetParam() << " here (needs root)";
    }
    void TearDown() override
    {
        if (m_bMounted)
            umount2(m_strDir.c_str(), MNT_DETACH);
    }
    bool replace(const std::string& strData)
    {
        return CLinuxCardFile::replace(m_strFile, m_strTemp, strData.data(), strData.size(),
                                       m_strError);
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
    const std::string strOld = pattern(400 * 1024, 4), strNew = pattern(kImage, 2);
    ASSERT_TRUE(CTempDir::writeFile(m_strFile, strOld));
    const bool bFillsUp = GetParam() == "tmpfs-small";
    // A folder where the stale temporary file would be stops the write.
    ASSERT_TRUE(CTempDir::makeDirs(m_strTemp));
    EXPECT_FALSE(replace(strNew));
    EXPECT_EQ(m_strError.find("cannot remove the old " + m_strTemp), 0u) << m_strError;
    CTempDir::removeAll(m_strTemp);
    ASSERT_TRUE(CTempDir::writeFile(m_strTemp, "stale"));
    EXPECT_EQ(replace(strNew), !bFillsUp) << m_strError;
    EXPECT_EQ(m_strError.find("No space") != std::string::npos, bFillsUp) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), bFillsUp ? strOld : strNew);
    EXPECT_FALSE(CTempDir::exists(m_strTemp));
    if (bFillsUp)
        return;
    // The read-back check tells a file that differs by one byte or in length.
    std::string strOther = strNew;
    strOther[kImage / 2] ^= 0x01;
    EXPECT_TRUE(CLinuxCardFile::verify(m_strFile, strNew.data(), kImage, m_strError));
    EXPECT_FALSE(CLinuxCardFile::verify(m_strFile, strOther.data(), kImage, m_strError));
    EXPECT_FALSE(CLinuxCardFile::verify(m_strFile, strNew.data(), kImage - 512, m_strError));
    EXPECT_FALSE(CLinuxCardFile::verify(m_strFile, (strNew + "x").data(), kImage + 1, m_strError));
    if (!m_bMounted)
        return;
    ASSERT_TRUE(run("mount -o remount,ro " + m_strDir));
    EXPECT_FALSE(replace(strOld));
    EXPECT_NE(m_strError.find("Read-only"), std::string::npos) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), strNew);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, SafeCardWriteTest,
                         ::testing::Values("folder", "tmpfs", "ext4", "tmpfs-small"));
