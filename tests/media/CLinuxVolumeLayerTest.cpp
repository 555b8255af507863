// The Linux volume layer run against /proc, /sys and /dev trees built in a
// temporary folder, with mount points that are real folders there.
#include "CLinuxVolumeLayer.h"
#include "CTempDir.h"
#include "CTimedProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace
{
const std::string kUsb = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/";
const std::string kSata = "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/";
const std::string kMmc = "platform/fe320000.mmc/mmc_host/mmc1/mmc1:aaaa/";
const std::string kEmmc = "platform/fe330000.mmc/mmc_host/mmc0/mmc0:0001/";

// Block devices in /sys, mounts in /proc, labels in /dev.
class CFakeSystem
{
public:
    explicit CFakeSystem(const CTempDir& rDir) : m_rDir(rDir) {}
    std::string root() const { return m_rDir.file("sys-root"); }

    // A disk (with pszRemovable) or a partition (without), below
    // /sys/devices, known by its name and the device number 8:nMinor.
    void device(const std::string& strDir, unsigned nMinor, const char* pszRemovable)
    {
        m_rDir.write("sys-root/sys/devices/" + strDir +
                         (pszRemovable ? "/removable" : "/partition"),
                     pszRemovable ? pszRemovable : "1");
        const std::string strName = strDir.substr(strDir.rfind('/') + 1);
        link("../../devices/" + strDir, "sys/dev/block/8:" + std::to_string(nMinor));
        link("../../devices/" + strDir, "sys/class/block/" + strName);
    }
    void link(const std::string& strTarget, const std::string& strLink) const
    {
        const std::string strPath = root() + "/" + strLink;
        CTempDir::makeDirs(strPath.substr(0, strPath.rfind('/')));
        EXPECT_EQ(symlink(strTarget.c_str(), strPath.c_str()), 0) << strPath;
    }
    void mount(unsigned nMinor, const std::string& strMountPoint, const std::string& strType,
               const std::string& strOptions = "rw")
    {
        std::string strEscaped;
        for (char c : strMountPoint)
            strEscaped += c == ' ' ? "\\040" : c == '\t' ? "\\011" : std::string(1, c);
        m_strMountInfo += "20 1 8:" + std::to_string(nMinor) + " / " + strEscaped + " " +
                          strOptions + " shared:1 - " + strType + " /dev/sdx rw\n";
    }
    void rawMount(const std::string& strLine) { m_strMountInfo += strLine + "\n"; }
    void write() const
    {
        m_rDir.write("sys-root/proc/self/mountinfo", m_strMountInfo);
        CTempDir::makeDirs(root() + "/dev");
    }

private:
    const CTempDir& m_rDir;
    std::string m_strMountInfo;
};
} // namespace

TEST(LinuxVolumeLayerDecode, MountTableAndUdevEscapes)
{
    const struct
    {
        const char* pszIn;
        const char* pszOctal;
        const char* pszHex;
    } aCases[] = {
        {"My\\040Card\\011\\134", "My Card\t\\", "My\\040Card\\011\\134"},
        {"MY\\x20CARD\\x2f", "MY\\x20CARD\\x2f", "MY CARD/"},
        {"cut\\04", "cut\\04", "cut\\04"},
        {"\\400\\x2", "\\400\\x2", "\\400\\x2"}, // not a byte, too short
    };
    for (const auto& c : aCases)
    {
        EXPECT_EQ(CLinuxVolumeLayer::decodeOctal(c.pszIn), c.pszOctal) << c.pszIn;
        EXPECT_EQ(CLinuxVolumeLayer::decodeHex(c.pszIn), c.pszHex) << c.pszIn;
    }
}

TEST(LinuxVolumeLayer, OffersMountedRemovableMediaOnlyInMountPointOrder)
{
    // The verdict: "" offered, "ro" offered write protected, else part of
    // the reason it is not.
    const struct
    {
        std::string strDisk; // below /sys/devices
        const char* pszRemovable;
        const char* pszMmcType;
        bool bPartition; // else the file system fills the disk
        const char* pszOptions;
        const char* pszVerdict;
    } aCases[] = {
        {kUsb + "block/sdb", "0", nullptr, true, "rw", ""}, // a USB reader says 0
        {kMmc + "block/mmcblk1", "0", "SD", true, "rw,errors=remount-ro", ""},
        {kSata + "block/sdc", "1", nullptr, false, "ro,nosuid", "ro"},
        {kEmmc + "block/mmcblk0", "0", "MMC", true, "rw", "built-in MMC"},
        {kEmmc + "block/mmcblk0boot0", "0", nullptr, false, "rw", "boot or RPMB"},
        {"virtual/block/loop0", "0", nullptr, false, "rw", "loop0 is a loop device"},
        {"virtual/block/zram0", "0", nullptr, false, "rw", "a RAM disk"},
        {"virtual/block/nbd0", "0", nullptr, false, "rw", "nbd0 is a virtual device"},
        {"platform/block/loop7", "1", nullptr, false, "rw", "loop device"},
        {kSata + "block/sdd", "0", nullptr, true, "rw", "not removable"},
        {kUsb + "block/sde", "1", nullptr, true, "rw", "running system"},
        {"", "", nullptr, true, "rw", "same volume is mounted at"}, // the first one again
    };
    CTempDir dir;
    CFakeSystem sys(dir);
    std::vector<std::string> astrMountPoints, astrOffered;
    // Mounted last first: the order comes from the mount points.
    for (size_t i = std::size(aCases); i-- > 0;)
    {
        const auto& c = aCases[i];
        const unsigned nMinor = c.strDisk.empty() ? 0 : 16 * static_cast<unsigned>(i);
        if (!c.strDisk.empty())
            sys.device(c.strDisk, nMinor, c.pszRemovable);
        if (c.pszMmcType)
            dir.write("sys-root/sys/devices/" + c.strDisk + "/device/type", c.pszMmcType);
        if (c.bPartition && !c.strDisk.empty())
            sys.device(c.strDisk + "/" + c.strDisk.substr(c.strDisk.rfind('/') + 1) + "p1",
                       nMinor + 1, nullptr);
        const std::string strMp = dir.file("media/" + std::to_string(i) + " My\tCard");
        CTempDir::makeDirs(strMp);
        sys.mount(nMinor + c.bPartition, strMp, "vfat", c.pszOptions);
        astrMountPoints.insert(astrMountPoints.begin(), strMp);
        if (std::string(c.pszVerdict).size() < 3)
            astrOffered.insert(astrOffered.begin(), strMp + "/");
    }
    // The running system on the last stick, and places that are judged by
    // their type alone, never looked at.
    sys.device(aCases[10].strDisk + "/sdep2", 16 * 10 + 2, nullptr);
    sys.mount(16 * 10 + 2, "/", "ext4");
    sys.mount(200, "/net/server/export", "nfs4");
    sys.mount(201, "/home/u/remote", "fuse.sshfs");
    // Stacked: only the mount on top counts.
    sys.mount(203, "/run/user/1000", "nfs4");
    sys.mount(202, "/run/user/1000", "tmpfs");
    sys.link("../../sdbp1", "dev/disk/by-label/MY\\x20CARD");
    sys.link("../../sdcp1", "dev/disk/by-label/A_OTHER");
    sys.write();

    CLinuxVolumeLayer layer(sys.root());
    EXPECT_EQ(layer.drives(), astrOffered);
    const std::vector<CLinuxVolumeLayer::Mount> aMounts = layer.scan();
    ASSERT_EQ(aMounts.size(), std::size(aCases) + 4);
    CVolumeLayer::VolumeInfo info;
    for (size_t i = 0; i < std::size(aCases); ++i)
    {
        const std::string strVerdict = aCases[i].pszVerdict;
        const auto it =
            std::find_if(aMounts.begin(), aMounts.end(),
                         [&](const auto& r) { return r.strMountPoint == astrMountPoints[i]; });
        ASSERT_NE(it, aMounts.end()) << astrMountPoints[i];
        SCOPED_TRACE(it->strMountPoint + ": " + it->strReason);
        const bool bOffered = strVerdict.size() < 3;
        EXPECT_EQ(it->bOffered, bOffered);
        EXPECT_EQ(layer.volumeInfo(it->strMountPoint + "/", info), bOffered);
        if (bOffered)
            EXPECT_EQ(info.bReadOnly, strVerdict == "ro");
        else
            EXPECT_NE(it->strReason.find(strVerdict), std::string::npos);
    }
    ASSERT_TRUE(layer.volumeInfo(astrOffered[0], info));
    EXPECT_EQ(info.strLabel, "MY CARD");

    for (const CVolumeLayer::NotOffered& n : layer.notOffered())
    {
        const bool bCardFs = n.strPlace == "/" || n.strPlace.find("Card") != std::string::npos;
        EXPECT_EQ(n.bCardFileSystem, bCardFs) << n.strPlace;
        const char* pszWhy = bCardFs ? "" : n.strPlace[1] == 'r' ? "not found on cards" : "network";
        EXPECT_NE(n.strReason.find(pszWhy), std::string::npos) << n.strPlace << ": " << n.strReason;
    }
}

TEST(LinuxVolumeLayer, OnlyTheLastMountOnAMountPointCounts)
{
    CTempDir dir;
    CFakeSystem sys(dir);
    sys.device(kUsb + "block/sdb", 16, "1");
    sys.device(kSata + "block/sdc", 32, "1");
    const std::string strCard = dir.file("card"), strHidden = dir.file("hidden");
    CTempDir::makeDirs(strCard);
    CTempDir::makeDirs(strHidden);
    sys.mount(16, strCard, "vfat");
    sys.mount(32, strCard, "exfat", "ro");
    sys.mount(32, strHidden, "vfat");
    sys.mount(300, strHidden, "tmpfs");
    sys.write();

    CLinuxVolumeLayer layer(sys.root());
    EXPECT_EQ(layer.drives(), std::vector<std::string>{strCard + "/"});
    const std::vector<CLinuxVolumeLayer::Mount> aMounts = layer.scan();
    ASSERT_EQ(aMounts.size(), 2u);
    EXPECT_EQ(aMounts[0].strDevice, "sdc");
    EXPECT_EQ(aMounts[0].strFsType, "exfat");
    EXPECT_TRUE(aMounts[0].bReadOnly);
    EXPECT_EQ(aMounts[1].strFsType, "tmpfs");
    EXPECT_FALSE(aMounts[1].bOffered);
}

TEST(LinuxVolumeLayer, FindsCardsThatAreNotMountedFromUdevsDatabase)
{
    const struct
    {
        std::string strDisk; // below /sys/devices
        const char* pszRemovable;
        const char* pszUdev; // what udev found on the partition
        const char* pszSize;
        bool bFound;
    } aCases[] = {
        {kUsb + "block/sdb", "0",
         "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat\n"
         "E:ID_FS_LABEL=MY_CARD\nE:ID_FS_LABEL_ENC=MY\\x20CARD",
         "62333952", true},
        {kSata + "block/sdc", "1", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=exfat", "8", true},
        {kSata + "block/sdd", "0", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat", "8", false},
        {kUsb + "block/sde", "1", "E:ID_FS_USAGE=other\nE:ID_FS_TYPE=swap", "8", false},
        {kUsb + "block/sdf", "1", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat", "0", false},
        {kUsb + "block/sdg", "1", "", "8", false},
        {kUsb + "block/sdh", "1", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=ntfs", "8", false},
        {kUsb + "block/sdi", "1", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat", "8", false},
    };
    CTempDir dir;
    CFakeSystem sys(dir);
    std::vector<CVolumeLayer::UnmountedCard> aWanted;
    for (size_t i = 0; i < std::size(aCases); ++i)
    {
        const auto& c = aCases[i];
        const unsigned nMinor = 16 * static_cast<unsigned>(i + 1);
        const std::string strName = c.strDisk.substr(c.strDisk.rfind('/') + 1) + "1";
        const std::string strPart = "sys-root/sys/devices/" + c.strDisk + "/" + strName;
        sys.device(c.strDisk, nMinor, c.pszRemovable);
        sys.device(c.strDisk + "/" + strName, nMinor + 1, nullptr);
        dir.write(strPart + "/dev", "8:" + std::to_string(nMinor + 1));
        dir.write(strPart + "/size", c.pszSize);
        if (*c.pszUdev)
            dir.write("sys-root/run/udev/data/b8:" + std::to_string(nMinor + 1), c.pszUdev);
        if (c.bFound)
            aWanted.push_back({"/dev/" + strName, i == 0 ? "MY CARD" : ""});
    }
    // sdh1 is mounted through FUSE, which shows no device number; sdi1 as usual.
    sys.rawMount("30 1 0:55 / /media/ntfs rw - fuseblk /dev/sdh1 rw");
    sys.mount(16 * 8 + 1, "/media/sdi1", "vfat");
    sys.write();

    CLinuxVolumeLayer layer(sys.root());
    const std::vector<CVolumeLayer::UnmountedCard> aFound = layer.unmountedCards();
    ASSERT_EQ(aFound.size(), aWanted.size());
    for (size_t i = 0; i < aFound.size(); ++i)
    {
        EXPECT_EQ(aFound[i].strDevice, aWanted[i].strDevice);
        EXPECT_EQ(aFound[i].strLabel, aWanted[i].strLabel);
    }
    EXPECT_TRUE(layer.isMounted("/media/ntfs/"));
    EXPECT_FALSE(layer.isMounted("/media/"));
}

TEST(LinuxVolumeLayer, ProbesGiveWhatTheSystemSays)
{
    CTempDir dir;
    ASSERT_TRUE(dir.write("ro", "x") && dir.write("rw", "x"));
    ASSERT_EQ(chmod(dir.file("ro").c_str(), 0444), 0);
    CLinuxVolumeLayer layer;
    struct statvfs st;
    ASSERT_EQ(statvfs(dir.path().c_str(), &st), 0);
    uint64_t nFree = 0;
    ASSERT_TRUE(layer.freeSpace(dir.path() + "/", nFree));
    // Others may write meanwhile; a 10 % band still tells a misread number.
    const double dWanted = static_cast<double>(st.f_bavail) * st.f_frsize;
    EXPECT_NEAR(static_cast<double>(nFree), dWanted, dWanted / 10 + 1e6);
    EXPECT_FALSE(layer.freeSpace(dir.file("none/"), nFree));
    EXPECT_EQ(layer.fileAttributes(dir.file("ro")), uint32_t(CVolumeLayer::eAttrReadOnly));
    EXPECT_EQ(layer.fileAttributes(dir.file("rw")), 0u);
    EXPECT_EQ(layer.fileAttributes(dir.file("none")), 0u);
}

TEST(TimedProbe, ACallThatRunsOutIsLeftBehind)
{
    using namespace std::chrono;
    const struct
    {
        int nCallMs;
        int nLimitMs;
        bool bInTime;
        std::vector<bool> abNotices; // a short call waits without a notice
    } aCases[] = {
        {0, 1000, true, {}},
        {400, 2000, true, {true, false}},
        {60000, 300, false, {true, false}},
    };
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.nCallMs);
        std::vector<bool> abNotices;
        std::string strAnswer = "before";
        const auto tStart = steady_clock::now();
        EXPECT_EQ(CTimedProbe::run(
                      [c]()
                      {
                          std::this_thread::sleep_for(milliseconds(c.nCallMs));
                          return std::string(70000, 'x') + "done";
                      },
                      milliseconds(c.nLimitMs), [&](bool b) { abNotices.push_back(b); }, strAnswer),
                  c.bInTime);
        const auto nTook = duration_cast<milliseconds>(steady_clock::now() - tStart).count();
        EXPECT_LT(nTook, std::min(c.nLimitMs, c.nCallMs) + 500);
        EXPECT_EQ(strAnswer, c.bInTime ? std::string(70000, 'x') + "done" : "before");
        EXPECT_EQ(abNotices, c.abNotices);
    }
}
