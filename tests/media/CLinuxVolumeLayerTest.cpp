// The Linux volume layer run against /proc, /sys and /dev trees built in a
// temporary folder, with mount points that are real folders there.
#include "CLinuxVolumeLayer.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        {"virtual/block/loop0", "0", nullptr, false, "rw", "virtual device"},
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
    sys.device(aCases[8].strDisk + "/sdep2", 16 * 8 + 2, nullptr);
    sys.mount(16 * 8 + 2, "/", "ext4");
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
