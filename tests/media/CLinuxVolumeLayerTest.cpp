// The Linux volume layer against /proc, /sys, /run and /dev trees of the
// test's own, with mount points that are real folders where it matters.
#include "CLinuxVolumeLayer.h"
#include "CTempDir.h"
#include "CTimedProbe.h"

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace
{
const std::string kUsb = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/";
const std::string kSata = "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/";
const std::string kEmmc = "platform/fe330000.mmc/mmc_host/mmc0/mmc0:0001/";

struct CFakeSystem : CTempDir
{
    std::string root() const { return file("r"); }
    // A disk (with pszRemovable) or a partition (without) below /sys/devices, as 8:nMinor.
    void device(const std::string& strDir, unsigned nMinor, const char* pszRemovable = nullptr)
    {
        const std::string strNum = "8:" + std::to_string(nMinor);
        write("r/sys/devices/" + strDir + (pszRemovable ? "/removable" : "/partition"),
              pszRemovable ? pszRemovable : "1");
        write("r/sys/devices/" + strDir + "/dev", strNum);
        link("../../devices/" + strDir, "sys/dev/block/" + strNum);
        link("../../devices/" + strDir, "sys/class/block/" + strDir.substr(strDir.rfind('/') + 1));
    }
    void link(const std::string& strTarget, const std::string& strLink) const
    {
        makeDirs(root() + "/" + strLink.substr(0, strLink.rfind('/')));
        EXPECT_EQ(symlink(strTarget.c_str(), (root() + "/" + strLink).c_str()), 0) << strLink;
    }
    void mount(unsigned nMinor, const std::string& strMountPoint, const std::string& strType,
               const std::string& strOptions = "rw", const std::string& strSuper = "rw")
    {
        std::string strEscaped;
        for (char c : strMountPoint)
            strEscaped += c == ' ' ? "\\040" : c == '\t' ? "\\011" : std::string(1, c);
        raw("20 1 8:" + std::to_string(nMinor) + " / " + strEscaped + " " + strOptions +
            " shared:1 - " + strType + " /dev/sdx " + strSuper);
    }
    void raw(const std::string& strLine)
    {
        write("r/proc/self/mountinfo", m_strMountInfo += strLine + "\n");
        makeDirs(root() + "/dev");
    }
    std::string m_strMountInfo;
};
} // namespace

TEST(LinuxVolumeLayer, MountTableAndUdevEscapes)
{
    const char* const aCases[][3] = {
        // in, octal decoded, hex decoded
        {"My\\040Card\\011\\134\\101", "My Card\t\\A", "My\\040Card\\011\\134\\101"},
        {"MY\\x20CARD\\x2f", "MY\\x20CARD\\x2f", "MY CARD/"},
        {"cut\\04", "cut\\04", "cut\\04"},
        {"\\400\\x2\\08\\080", "\\400\\x2\\08\\080", "\\400\\x2\\08\\080"}, // not bytes
    };
    for (const auto& c : aCases)
    {
        EXPECT_EQ(CLinuxVolumeLayer::decodeOctal(c[0]), c[1]) << c[0];
        EXPECT_EQ(CLinuxVolumeLayer::decodeHex(c[0]), c[2]) << c[0];
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
        {"platform/fe320000.mmc/mmc_host/mmc1/mmc1:aaaa/block/mmcblk1", "0", "SD", true,
         "rw,errors=remount-ro", ""},
        {kSata + "block/sdc", "1", nullptr, false, "nosuid,ro", "ro"},
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
    CFakeSystem sys;
    std::vector<std::string> astrMountPoints, astrOffered;
    // Mounted last first: the order comes from the mount points.
    for (size_t i = std::size(aCases); i-- > 0;)
    {
        const auto& c = aCases[i];
        const unsigned nMinor = c.strDisk.empty() ? 0 : 16 * static_cast<unsigned>(i);
        const std::string strName = c.strDisk.substr(c.strDisk.rfind('/') + 1);
        if (!c.strDisk.empty())
            sys.device(c.strDisk, nMinor, c.pszRemovable);
        if (c.pszMmcType)
            sys.write("r/sys/devices/" + c.strDisk + "/device/type", c.pszMmcType);
        if (c.bPartition && !c.strDisk.empty())
            sys.device(c.strDisk + "/" + strName + "p1", nMinor + 1);
        const std::string strMp = sys.file("media/" + std::to_string(i) + " My\tCard");
        CTempDir::makeDirs(strMp);
        sys.mount(nMinor + c.bPartition, strMp, "vfat", c.pszOptions);
        astrMountPoints.insert(astrMountPoints.begin(), strMp);
        if (std::string(c.pszVerdict).size() < 3)
            astrOffered.insert(astrOffered.begin(), strMp + "/");
    }
    // The running system on the last stick, and places that are judged by
    // their type alone, never looked at.
    sys.device(aCases[10].strDisk + "/sdep2", 16 * 10 + 2);
    sys.mount(16 * 10 + 2, "/", "ext4");
    sys.mount(200, "/net/server/export", "nfs4");
    sys.mount(201, "/home/u/remote", "fuse.sshfs");
    sys.mount(203, "/run/user/1000", "nfs4"); // stacked: only the mount on top counts
    sys.mount(202, "/run/user/1000", "tmpfs");
    const char* const aUtf8[][2] = {{"/m/\xC3\xA4\xE2\x82\xAC", "no block device"},
                                    {"/m/\xF0\x9F\x92\xBE", "no block device"},
                                    {"/m/\xE0\xA4\x85", "no block device"},
                                    {"/m/\xC0\x80", "UTF-8"},
                                    {"/m/\xE2\x82", "UTF-8"},
                                    {"/m/\xF5\x80\x80\x80", "UTF-8"},
                                    {"/m/\x80", "UTF-8"},
                                    {"/m/\xE2\x82\x41", "UTF-8"}};
    for (const auto& c : aUtf8)
        sys.mount(204, c[0], "exfat");
    sys.raw("30 1 0:56 / /m/loop rw - fuseblk /dev/loopy rw"); // a link that points at itself
    sys.link("loopy", "dev/loopy");
    sys.link("../../sdbp1", "dev/disk/by-label/MY\\x20CARD");
    sys.link("../../sdcp1", "dev/disk/by-label/A_OTHER");

    CLinuxVolumeLayer layer(sys.root() + "//");
    EXPECT_EQ(layer.drives(), astrOffered);
    const std::vector<CLinuxVolumeLayer::Mount> aMounts = layer.scan();
    ASSERT_EQ(aMounts.size(), std::size(aCases) + 13);
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
        EXPECT_EQ(layer.isRemovable(it->strMountPoint + "/"), bOffered);
        EXPECT_EQ(layer.volumeInfo(it->strMountPoint + "/", info), bOffered);
        EXPECT_TRUE(!bOffered || info.bReadOnly == (strVerdict == "ro"));
        EXPECT_FALSE(info.bCompressed);
        EXPECT_TRUE(bOffered ? it->strReason.empty()
                             : it->strReason.find(strVerdict) != std::string::npos);
    }
    ASSERT_TRUE(layer.volumeInfo(astrOffered[0], info));
    EXPECT_EQ(info.strLabel, "MY CARD");

    std::map<std::string, std::string> mapWhy = {{"/", ""},
                                                 {"/net/server/export", "network"},
                                                 {"/home/u/remote", "network"},
                                                 {"/run/user/1000", "not found on cards"}};
    for (const auto& c : aUtf8)
        mapWhy[c[0]] = c[1];
    mapWhy["/m/loop"] = "no block device";
    for (const CVolumeLayer::NotOffered& n : layer.notOffered())
    {
        const bool bCardFs = n.strPlace.find("/run/") != 0 && mapWhy[n.strPlace] != "network";
        EXPECT_EQ(n.bCardFileSystem, bCardFs) << n.strPlace;
        EXPECT_NE(n.strReason.find(mapWhy[n.strPlace]), std::string::npos)
            << n.strPlace << ": " << n.strReason;
    }
}

TEST(LinuxVolumeLayer, OnlyTheLastMountOnAMountPointAndAtMost32CardsCount)
{
    CFakeSystem sys;
    sys.device(kUsb + "block/sdb", 16, "1");
    sys.device(kSata + "block/sdc", 100, "1");
    sys.mount(16, "/card", "vfat");
    sys.mount(100, "/card", "exfat", "rw", "rw,ro"); // write protected by its super block
    sys.mount(100, "/hidden", "vfat");
    sys.mount(300, "/hidden", "tmpfs");
    sys.device(kSata + "block/sdd", 200, "1"); // a swap file makes it the system's
    sys.mount(200, "/a-swap", "vfat");
    sys.write("r/proc/swaps", "Filename Type Size Used Priority\n/a-swap/s file 8 0 -2\n");
    for (unsigned i = 0; i < 32; ++i)
    {
        sys.device(kUsb + "block/sdb/sdb" + std::to_string(i + 1), 17 + i);
        sys.mount(17 + i, "/m" + std::to_string(100 + i), "vfat");
    }
    CLinuxVolumeLayer layer(sys.root());
    const std::vector<std::string> astrDrives = layer.drives();
    ASSERT_EQ(astrDrives.size(), 32u);
    EXPECT_EQ(astrDrives[0], "/card/");
    const std::vector<CLinuxVolumeLayer::Mount> aMounts = layer.scan();
    ASSERT_EQ(aMounts.size(), 35u);
    EXPECT_EQ(aMounts[0].strReason, "sdd holds the running system");
    EXPECT_EQ(aMounts[1].strDevice, "sdc");
    EXPECT_TRUE(aMounts[1].bReadOnly);
    EXPECT_EQ(aMounts[2].strFsType, "tmpfs");
    EXPECT_EQ(aMounts[2].bOffered, false);
    CVolumeLayer::VolumeInfo info;
    EXPECT_FALSE(layer.volumeInfo("/card/", info)); // a mount point that does not answer
    EXPECT_EQ(aMounts.back().strReason, "more than 32 drives");
    EXPECT_TRUE(layer.isMounted("/hidden/"));
    EXPECT_FALSE(layer.isMounted("/hid/"));
}

TEST(LinuxVolumeLayer, FindsCardsThatAreNotMountedFromUdevsDatabase)
{
    const struct
    {
        std::string strDisk; // below /sys/devices
        const char* pszRemovable;
        const char* pszUdev; // what udev found on the partition
        const char* pszSize;
        const char* pszFound; // its label, when found
    } aCases[] = {
        {kUsb + "block/sdb", "0",
         "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat\nE:ID_FS_LABEL=MY_CARD\n"
         "E:ID_FS_LABEL_ENC=MY\\x20CARD",
         "62333952", "MY CARD"},
        {kSata + "block/sdc", "1", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=exfat\nE:ID_FS_LABEL=C",
         "8", "C"},
        {kSata + "block/sdd", "0", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat", "8", nullptr},
        {kUsb + "block/sde", "1", "E:ID_FS_USAGE=other\nE:ID_FS_TYPE=swap", "8", nullptr},
        {kUsb + "block/sdf", "1", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat", "0", nullptr},
        {kUsb + "block/sdg", "1", "", "8", nullptr},
        {kUsb + "block/sdh", "1", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=ntfs", "8", nullptr},
        {kUsb + "block/sdi", "1", "E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat", "8", nullptr},
    };
    CFakeSystem sys;
    std::vector<std::string> astrWanted, astrFound;
    for (size_t i = 0; i < std::size(aCases); ++i)
    {
        const auto& c = aCases[i];
        const unsigned nMinor = 16 * static_cast<unsigned>(i + 1);
        const std::string strName = c.strDisk.substr(c.strDisk.rfind('/') + 1) + "1";
        sys.device(c.strDisk, nMinor, c.pszRemovable);
        sys.device(c.strDisk + "/" + strName, nMinor + 1);
        sys.write("r/sys/devices/" + c.strDisk + "/" + strName + "/size", c.pszSize);
        sys.write("r/run/udev/data/b8:" + std::to_string(nMinor + 1), c.pszUdev);
        if (c.pszFound)
            astrWanted.push_back("/dev/" + strName + " " + c.pszFound);
    }
    // sdh1 is mounted through FUSE, which shows no device number; sdi1 as usual.
    sys.raw("30 1 0:55 / /media/ntfs rw - fuseblk /dev/sdh1 rw");
    sys.mount(16 * 8 + 1, "/media/sdi1", "vfat");
    for (const CVolumeLayer::UnmountedCard& card : CLinuxVolumeLayer(sys.root()).unmountedCards())
        astrFound.push_back(card.strDevice + " " + card.strLabel);
    EXPECT_EQ(astrFound, astrWanted);
}

TEST(LinuxVolumeLayer, ProbesGiveWhatTheSystemSays)
{
    CTempDir dir;
    // Write protected is that nobody may write; write-only is not.
    for (const char* psz : {"0444", "0200", "0644"})
        ASSERT_TRUE(dir.write(psz, "x") && chmod(dir.file(psz).c_str(), std::stoi(psz, 0, 8)) == 0);
    CLinuxVolumeLayer layer;
    struct statvfs st;
    ASSERT_EQ(statvfs(dir.path().c_str(), &st), 0);
    uint64_t nFree = 0;
    ASSERT_TRUE(layer.freeSpace(dir.path() + "/", nFree));
    // Others may write meanwhile; a 10 % band still tells a misread number.
    const double dWanted = static_cast<double>(st.f_bavail) * st.f_frsize;
    EXPECT_NEAR(static_cast<double>(nFree), dWanted, dWanted / 10 + 1e6);
    EXPECT_FALSE(layer.freeSpace(dir.file("none/"), nFree));
    EXPECT_EQ(layer.fileAttributes(dir.file("0444")), uint32_t(CVolumeLayer::eAttrReadOnly));
    for (const char* psz : {"0200", "0644", "none"})
        EXPECT_EQ(layer.fileAttributes(dir.file(psz)), 0u) << psz;
    // This machine's own root file system is never offered as a card.
    const std::vector<std::string> astrDrives = layer.drives();
    EXPECT_EQ(std::count(astrDrives.begin(), astrDrives.end(), "/"), 0);
}

TEST(TimedProbe, ACallThatRunsOutIsLeftBehind)
{
    using namespace std::chrono;
    const struct
    {
        int nCallMs, nLimitMs;
        bool bInTime;
        std::vector<bool> abNotices; // a short call waits without a notice
    } aCases[] = {
        {0, 1000, true, {}},
        {400, 2000, true, {true, false}},
        {60000, 300, false, {true, false}},
    };
    for (const auto& c : aCases)
    {
        std::vector<bool> abNotices;
        std::string strAnswer = "before";
        const auto tStart = steady_clock::now();
        const auto fnCall = [c]()
        {
            std::this_thread::sleep_for(milliseconds(c.nCallMs));
            return std::string(70000, 'x') + "done";
        };
        EXPECT_EQ(CTimedProbe::run(
                      fnCall, milliseconds(c.nLimitMs), [&](bool b) { abNotices.push_back(b); },
                      strAnswer),
                  c.bInTime);
        const auto nTook = duration_cast<milliseconds>(steady_clock::now() - tStart).count();
        EXPECT_LT(nTook, std::min(c.nLimitMs, c.nCallMs) + 500) << c.nCallMs;
        EXPECT_EQ(strAnswer, c.bInTime ? fnCall() : "before");
        EXPECT_EQ(abNotices, c.abNotices);
    }
}
