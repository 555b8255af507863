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

TEST(SafeCardWrite, ReplaceWritesAllOrKeepsWhatIsThere)
{
    const auto run = [](const std::string& str)
    { return system(("(" + str + ") >/dev/null 2>&1").c_str()) == 0; };
    std::string strNew(CDataCard::kImageSize, '\0'), strError;
    for (size_t i = 0; i < strNew.size(); ++i)
        strNew[i] = static_cast<char>(i * 7 + (i >> 12));
    for (const std::string strFs : {"folder", "tmpfs", "ext4"})
    {
        SCOPED_TRACE(strFs);
        CTempDir dir;
        const std::string strDir = dir.file("mnt"), strFile = strDir + "/ZOLT.CFG",
                          strTemp = strDir + "/" + CFileCard::kTempFileName, strImg = dir.file("i");
        CTempDir::makeDirs(strDir);
        const bool bMounted =
            strFs != "folder" && geteuid() == 0 &&
            run(strFs == "tmpfs" ? "mount -t tmpfs -o size=8m tmpfs " + strDir
                                 : "truncate -s 16M " + strImg + " && mkfs.ext4 -q -F " + strImg +
                                       " && mount -o loop " + strImg + " " + strDir);
        if (!bMounted && strFs != "folder")
            continue; // mounting needs root
        const auto replace = [&](const std::string& str)
        { return CLinuxCardFile::replace(strFile, strTemp, str.data(), str.size(), strError); };
        EXPECT_TRUE(CTempDir::writeFile(strFile, "old"));
        EXPECT_TRUE(CTempDir::writeFile(strTemp, "stale")); // left by a write cut short
        EXPECT_TRUE(replace(strNew)) << strError;
        EXPECT_EQ(CTempDir::readFile(strFile), strNew);
        EXPECT_FALSE(CTempDir::exists(strTemp));
        // The read-back check tells a file that differs by one byte or in length.
        std::string strOther = strNew;
        strOther[strNew.size() / 2] ^= 0x01;
        EXPECT_TRUE(CLinuxCardFile::verify(strFile, strNew.data(), strNew.size(), strError));
        EXPECT_FALSE(CLinuxCardFile::verify(strFile, strOther.data(), strNew.size(), strError));
        EXPECT_FALSE(
            CLinuxCardFile::verify(strFile, (strNew + "x").data(), strNew.size() + 1, strError));
        if (!bMounted)
            continue;
        EXPECT_TRUE(run("mount -o remount,ro " + strDir));
        EXPECT_FALSE(replace(strOther));
        EXPECT_NE(strError.find("Read-only"), std::string::npos) << strError;
        EXPECT_EQ(CTempDir::readFile(strFile), strNew);
        umount2(strDir.c_str(), MNT_DETACH);
    }
}
