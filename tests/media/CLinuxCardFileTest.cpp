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
#include <sys/stat.h>
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

// A fresh folder, bare or with a file system mounted on it: "tmpfs" of the
// given size, or "ext4" on a 16 MiB image. Empty path() when that fails.
class CScratch
{
public:
    explicit CScratch(const std::string& strKind, const std::string& strSize = "8m")
    {
        const std::string strDir = m_dir.file("mnt"), strImage = m_dir.file("card.img");
        CTempDir::makeDirs(strDir);
        m_bMounted =
            strKind != "folder" && geteuid() == 0 &&
            run(strKind == "tmpfs" ? "mount -t tmpfs -o size=" + strSize + " tmpfs " + strDir
                                   : "truncate -s 16M " + strImage + " && mkfs.ext4 -q -F " +
                                         strImage + " && mount -o loop " + strImage + " " + strDir);
        if (m_bMounted || strKind == "folder")
            m_strPath = strDir;
    }
    ~CScratch()
    {
        if (m_bMounted && umount2(m_strPath.c_str(), 0) != 0)
            umount2(m_strPath.c_str(), MNT_DETACH);
    }
    const std::string& path() const { return m_strPath; }
    bool isMounted() const { return m_bMounted; }

private:
    CTempDir m_dir;
    std::string m_strPath;
    bool m_bMounted;
};

class SafeCardWriteTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        if (m_scratch.path().empty())
            GTEST_SKIP() << "cannot mount " << GetParam() << " here (needs root)";
    }
    bool replace(const std::string& strData)
    {
        return m_layer.replaceFile(m_strFile, m_strTemp, strData.data(), strData.size(),
                                   m_strError);
    }

    CScratch m_scratch{GetParam()};
    const std::string m_strFile = m_scratch.path() + "/ZOLT.CFG";
    const std::string m_strTemp = m_scratch.path() + "/" + CFileCard::kTempFileName;
    CLinuxVolumeLayer m_layer;
    std::string m_strError;
};
} // namespace

TEST_P(SafeCardWriteTest, RoundTripReplacesTheFileAndLeavesNoTemporaryFile)
{
    ASSERT_TRUE(replace(pattern(kImage, 1))) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), pattern(kImage, 1));
    ASSERT_TRUE(CTempDir::writeFile(m_strTemp, "stale"));
    const std::string strNew = pattern(kImage, 2);
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

    // A file nobody may write to is write protected; write-only is not.
    EXPECT_EQ(m_layer.fileAttributes(m_strFile), 0u);
    for (mode_t nMode : {0444, 0200})
    {
        ASSERT_EQ(chmod(m_strFile.c_str(), nMode), 0);
        EXPECT_EQ(m_layer.fileAttributes(m_strFile),
                  nMode == 0444 ? CVolumeLayer::eAttrReadOnly : 0u);
    }
    uint64_t nFree = 0;
    EXPECT_TRUE(m_layer.freeSpace(m_scratch.path() + "/", nFree));
    EXPECT_GT(nFree, 0u);
}

TEST_P(SafeCardWriteTest, FoldersInTheWayAndReadOnlyMountsKeepWhatIsThere)
{
    ASSERT_TRUE(CTempDir::makeDirs(m_strFile));
    ASSERT_TRUE(CTempDir::writeFile(m_strFile + "/KEEP.TXT", "keep"));
    EXPECT_FALSE(replace(pattern(kImage, 3)));
    EXPECT_FALSE(m_strError.empty());
    EXPECT_EQ(CTempDir::readFile(m_strFile + "/KEEP.TXT"), "keep");
    EXPECT_FALSE(CTempDir::exists(m_strTemp));

    CTempDir::removeAll(m_strFile);
    const std::string strOld = pattern(4096, 4);
    ASSERT_TRUE(CTempDir::writeFile(m_strFile, strOld));
    ASSERT_TRUE(CTempDir::makeDirs(m_strTemp));
    EXPECT_FALSE(replace(pattern(kImage, 3)));
    EXPECT_EQ(m_strError.find("cannot remove the old " + m_strTemp), 0u) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), strOld);

    CTempDir::removeAll(m_strTemp);
    if (!m_scratch.isMounted())
        return;
    ASSERT_TRUE(run("mount -o remount,ro " + m_scratch.path()));
    EXPECT_FALSE(replace(pattern(kImage, 3)));
    EXPECT_NE(m_strError.find("Read-only"), std::string::npos) << m_strError;
    EXPECT_EQ(CTempDir::readFile(m_strFile), strOld);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, SafeCardWriteTest,
                         ::testing::Values("folder", "tmpfs", "ext4"));

TEST(SafeCardWriteLimits, VolumeFullPartWayKeepsTheOldFile)
{
    const CScratch card("tmpfs", "1200k");
    if (card.path().empty())
        GTEST_SKIP() << "cannot mount tmpfs here (needs root)";
    const std::string strFile = card.path() + "/ZOLT.CFG";
    const std::string strTemp = card.path() + "/" + CFileCard::kTempFileName;
    const std::string strOld = pattern(400 * 1024, 5);
    ASSERT_TRUE(CTempDir::writeFile(strFile, strOld));

    CLinuxVolumeLayer layer;
    const std::string strNew = pattern(kImage, 6);
    std::string strError;
    EXPECT_FALSE(layer.replaceFile(strFile, strTemp, strNew.data(), kImage, strError));
    EXPECT_NE(strError.find("No space"), std::string::npos) << strError;
    EXPECT_EQ(CTempDir::readFile(strFile), strOld);
    EXPECT_FALSE(CTempDir::exists(strTemp));
}
