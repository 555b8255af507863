// The Linux volume layer against /proc, /sys, /run and /dev trees of the
// test's own, with mount points that are real folders where it matters.
#include "CLinuxVolumeLayer.h"
#include "CTempDir.h"
#include "CTimedProbe.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
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
    // strFlags: the mount's options, then the super block's.
    void mount(unsigned nMinor, const std::string& strMp, const std::string& strType,
               const std::string& strFlags = "rw rw")
    {
        std::string strLine = "20 1 8:" + std::to_string(nMinor) + " / ";
        for (char c : strMp)
            strLine += c == ' ' ? std::string("\\040") : std::string(1, c);
        const size_t n = strFlags.find(' ');
        raw(strLine + " " + strFlags.substr(0, n) + " shared:1 - " + strType + " /dev/sdx" +
            strFlags.substr(n));
    }
    void raw(const std::string& strLine)
    {
        write("r/proc/self/mountinfo", m_strMountInfo += strLine + "\n");
    }
    std::string m_strMountInfo;
};
} // namespace

TEST(LinuxVolumeLayer, OffersMountedRemovableMediaOnlyInMountPointOrder)
{
    // The verdict: "" offered, "ro" offered write protected, else part of the reason it is not.
    const struct
    {
        std::string strDisk; // below /sys/devices; empty: the first one again
        const char *pszRemovable, *pszMmcType;
        bool bPartition; // else the file system fills the disk
        const char *pszFlags, *pszVerdict;
    } aCases[] = {
        {kUsb + "block/sdb", "0", nullptr, true, "rw rw", ""}, // a USB reader says 0
        {"platform/fe320000.mmc/mmc_host/mmc1/mmc1:aaaa/block/mmcblk1", "0", "SD", true,
         "rw,errors=remount-ro rw", ""},
        {kSata + "block/sdc", "1", nullptr, false, "nosuid,ro rw", "ro"},
        {kSata + "block/sdf", "1", nullptr, true, "rw rw,ro", "ro"},
        {kEmmc + "block/mmcblk0", "0", "MMC", true, "rw rw", "built-in MMC"},
        {kEmmc + "block/mmcblk0boot0", "0", nullptr, false, "rw rw", "boot or RPMB"},
        {"virtual/block/loop0", "0", nullptr, false, "rw rw", "loop0 is a loop device"},
        {"virtual/block/zram0", "0", nullptr, false, "rw rw", "a RAM disk"},
        {"virtual/block/nbd0", "0", nullptr, false, "rw rw", "nbd0 is a virtual device"},
        {"platform/block/loop7", "1", nullptr, false, "rw rw", "loop device"},
        {kSata + "block/sdd", "0", nullptr, true, "rw rw", "not removable"},
        {kUsb + "block/sde", "1", nullptr, true, "rw rw", "sde holds the running system"},
        {kUsb + "block/sdg", "1", nullptr, true, "rw rw", "sdg holds the running system"},
        {"", "", nullptr, true, "rw rw", "same volume is mounted at"},
    };
    CFakeSystem sys;
    std::map<std::string, std::string> mapWhy;
    std::vector<std::string> astrOffered;
    for (size_t i = std::size(aCases); i-- > 0;) // the order comes from the mount points
    {
        const auto& c = aCases[i];
        const unsigned nMinor = 16 * static_cast<unsigned>(i);
        if (!c.strDisk.empty())
            sys.device(c.strDisk, nMinor, c.pszRemovable);
        if (c.pszMmcType)
            sys.write("r/sys/devices/" + c.strDisk + "/device/type", c.pszMmcType);
        if (c.bPartition && !c.strDisk.empty())
            sys.device(c.strDisk + c.strDisk.substr(c.strDisk.rfind('/')) + "p1", nMinor + 1);
        const std::string strMp = sys.file(std::string("media/") + char('a' + i) + " card");
        CTempDir::makeDirs(strMp);
        sys.mount(c.strDisk.empty() ? 1 : nMinor + c.bPartition, strMp, "vfat", c.pszFlags);
        mapWhy[strMp] = c.pszVerdict;
        if (std::string(c.pszVerdict).size() < 3)
            astrOffered.insert(astrOffered.begin(), strMp + "/");
    }
    // The running system on one stick, a swap file on another, and a stack of mounts.
    sys.device(aCases[11].strDisk + "/sdep2", 16 * 11 + 2);
    sys.mount(16 * 11 + 2, "/", "ext4");
    sys.write("r/proc/swaps", "Filename\n" + sys.file("media/m") + "\\040card/s\n");
    sys.mount(203, "/run/user/1000", "nfs4"); // stacked: only the mount on top counts
    sys.mount(202, "/run/user/1000", "tmpfs");
    sys.raw("30 1 0:56 / /m/loop rw - fuseblk /dev/loopy rw"); // a link that points at itself
    sys.link("loopy", "dev/loopy");
    mapWhy.insert({{"/", "sde holds"}, {"/run/user/1000", "on cards"}, {"/m/loop", "no block"}});
    // Mount points as the mount table escapes them, decoded, and why they are not offered.
    const char* const aPlaces[][3] = {
        {"/m/\xC3\xA4\xE2\x82\xAC", "/m/\xC3\xA4\xE2\x82\xAC", "no block device"},
        {"/m/\xF0\x9F\x92\xBE", "/m/\xF0\x9F\x92\xBE", "no block device"},
        {"/m/\xE0\xA4\x85", "/m/\xE0\xA4\x85", "no block device"},
        {"/m/a\\134\\101\\047", "/m/a\\A'", "no block device"},
        {"/m/\\400\\08\\080", "/m/\\400\\08\\080", "no block device"}, // not escapes
        {"/m/cut\\04", "/m/cut\\04", "no block device"},
        {"/m/\xC0\x80", "/m/\xC0\x80", "UTF-8"},
        {"/m/\xE2\x82", "/m/\xE2\x82", "UTF-8"},
        {"/m/\xF5\x80\x80\x80", "/m/\xF5\x80\x80\x80", "UTF-8"},
        {"/m/\x80", "/m/\x80", "UTF-8"},
        {"/m/\xE2\x82\x41", "/m/\xE2\x82\x41", "UTF-8"}};
    for (const auto& a : aPlaces)
    {
        sys.mount(204, a[0], "exfat");
        mapWhy[a[1]] = a[2];
    }
    sys.link("../../sdbp1", "dev/disk/by-label/MY\\x20CARD");
    sys.link("../../sdcp1", "dev/disk/by-label/A_OTHER");

    CLinuxVolumeLayer layer(sys.root() + "//");
    EXPECT_EQ(layer.drives(), astrOffered);
    const std::vector<CLinuxVolumeLayer::Mount> aMounts = layer.scan();
    EXPECT_EQ(aMounts.size(), mapWhy.size());
    for (const CLinuxVolumeLayer::Mount& m : aMounts)
    {
        SCOPED_TRACE(m.strMountPoint + ": " + m.strReason);
        ASSERT_EQ(mapWhy.count(m.strMountPoint), 1u);
        const std::string& strWhy = mapWhy[m.strMountPoint];
        const bool bOffered = strWhy.size() < 3;
        EXPECT_EQ(m.bOffered, bOffered);
        EXPECT_EQ(m.bReadOnly, strWhy == "ro");
        EXPECT_TRUE(bOffered ? m.strReason.empty() : m.strReason.find(strWhy) != std::string::npos);
        EXPECT_EQ(layer.isRemovable(m.strMountPoint + "/"), bOffered);
    }

    // What the mounted card says: its label, write protection, room, attributes.
    CVolumeLayer::VolumeInfo info;
    ASSERT_TRUE(layer.volumeInfo(astrOffered[0], info));
    EXPECT_EQ(info.strLabel + (info.bReadOnly ? " ro" : ""), "MY CARD");
    uint64_t nFree = 0;
    EXPECT_TRUE(layer.freeSpace(astrOffered[0], nFree) && nFree > 0);
    ASSERT_TRUE(sys.write("media/a card/ro", "x") &&
                chmod((astrOffered[0] + "ro").c_str(), 0444) == 0);
    EXPECT_EQ(layer.fileAttributes(astrOffered[0] + "ro"), uint32_t(CVolumeLayer::eAttrReadOnly));
    EXPECT_EQ(layer.fileAttributes(astrOffered[0] + "none"), 0u);
    CTempDir::removeAll(astrOffered[1]); // a mount point that does not answer
    EXPECT_FALSE(layer.volumeInfo(astrOffered[1], info));
    EXPECT_FALSE(layer.freeSpace(astrOffered[1], nFree));
    EXPECT_TRUE(layer.isMounted(astrOffered[1]));
}

TEST(TimedProbe, AnswersWhereChildrenAreReapedUnasked)
{
    // A parent may hand SIGCHLD down ignored: the probe's end must still end the wait.
    const pid_t nChild = fork();
    if (nChild == 0)
    {
        signal(SIGCHLD, SIG_IGN);
        alarm(10);
        std::string str;
        const bool bOk =
            CTimedProbe::run([] { return std::string("done"); }, std::chrono::seconds(5), {}, str);
        _exit(bOk && str == "done" ? 0 : 1);
    }
    int nStatus = -1;
    ASSERT_EQ(waitpid(nChild, &nStatus, 0), nChild);
    EXPECT_EQ(nStatus, 0);
}

TEST(LinuxVolumeLayer, OffersAtMost32Drives)
{
    CFakeSystem sys;
    sys.device(kUsb + "block/sdb", 16, "1");
    for (unsigned i = 0; i < 33; ++i)
    {
        sys.device(kUsb + "block/sdb/sdb" + std::to_string(i + 1), 17 + i);
        sys.mount(17 + i, "/m" + std::to_string(100 + i), "vfat");
    }
    CLinuxVolumeLayer layer(sys.root());
    EXPECT_EQ(layer.drives().size(), 32u);
    EXPECT_EQ(layer.scan().back().strReason, "more than 32 drives");
}
