// The Linux volume layer run against /proc, /sys and /dev trees built in a
// temporary folder, with mount points that are real folders there.
#include "CLinuxVolumeLayer.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char* const kUsbHost = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
const char* const kSataHost = "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
const char* const kMmcHost = "platform/fe320000.mmc/mmc_host/mmc1/mmc1:aaaa";
const char* const kEmmcHost = "platform/fe330000.mmc/mmc_host/mmc0/mmc0:0001";

std::string escape(const std::string& str)
{
    std::string strOut;
    for (char c : str)
    {
        if (c == ' ')
            strOut += "\\040";
        else if (c == '\t')
            strOut += "\\011";
        else if (c == '\\')
            strOut += "\\134";
        else
            strOut += c;
    }
    return strOut;
}

// Builds the system tree: disks and partitions in /sys, mounts and swaps
// in /proc, labels in /dev.
class CFakeSystem
{
public:
    explicit CFakeSystem(const CTempDir& rDir) : m_rDir(rDir) {}

    std::string root() const { return m_rDir.file("sys-root"); }
    // A real folder to mount on.
    std::string mountPoint(const std::string& strName) const
    {
        const std::string strPath = m_rDir.file("media/" + strName);
        CTempDir::makeDirs(strPath);
        return strPath;
    }

    // strDir is below /sys/devices, ending in the disk's name.
    void addDisk(const std::string& strDir, unsigned nMajor, unsigned nMinor,
                 const char* pszRemovable)
    {
        const std::string strName = strDir.substr(strDir.rfind('/') + 1);
        m_rDir.write("sys-root/sys/devices/" + strDir + "/removable",
                     std::string(pszRemovable) + "\n");
        m_rDir.write("sys-root/sys/devices/" + strDir + "/ro", "0\n");
        // As in sysfs, "device" leads from .../HOST/block/NAME up to HOST.
        EXPECT_EQ(
            symlink("../..", m_rDir.file("sys-root/sys/devices/" + strDir + "/device").c_str()), 0);
        link(strDir, strName, nMajor, nMinor);
    }
    void addPartition(const std::string& strDiskDir, const std::string& strName, unsigned nMajor,
                      unsigned nMinor)
    {
        const std::string strDir = strDiskDir + "/" + strName;
        m_rDir.write("sys-root/sys/devices/" + strDir + "/partition", "1\n");
        m_rDir.write("sys-root/sys/devices/" + strDir + "/ro", "0\n");
        link(strDir, strName, nMajor, nMinor);
    }
    void setFile(const std::string& strSysPath, const std::string& strContent)
    {
        m_rDir.write("sys-root/sys/" + strSysPath, strContent + "\n");
    }
    void mount(unsigned nMajor, unsigned nMinor, const std::string& strMountPoint,
               const std::string& strType, const std::string& strSource,
               const std::string& strOptions = "rw,relatime", const std::string& strSuper = "rw",
               const std::string& strRoot = "/")
    {
        m_strMountInfo += std::to_string(++m_nMountId) + " 1 " + std::to_string(nMajor) + ":" +
                          std::to_string(nMinor) + " " + escape(strRoot) + " " +
                          escape(strMountPoint) + " " + strOptions + " shared:1 - " + strType +
                          " " + escape(strSource) + " " + strSuper + "\n";
    }
    void addSwap(const std::string& strPath) { m_astrSwaps.push_back(strPath); }
    void addDevLink(const std::string& strLink, const std::string& strTarget)
    {
        const std::string strPath = m_rDir.file("sys-root/dev/" + strLink);
        CTempDir::makeDirs(strPath.substr(0, strPath.rfind('/')));
        EXPECT_EQ(symlink(strTarget.c_str(), strPath.c_str()), 0);
    }
    void setLabel(const std::string& strEscapedLabel, const std::string& strDevice)
    {
        addDevLink("disk/by-label/" + strEscapedLabel, "../../" + strDevice);
    }
    void write() const
    {
        m_rDir.write("sys-root/proc/self/mountinfo", m_strMountInfo);
        std::string strSwaps = "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n";
        for (const std::string& str : m_astrSwaps)
            strSwaps += escape(str) + "\t\t\t\tpartition\t8388604\t\t0\t\t-2\n";
        m_rDir.write("sys-root/proc/swaps", strSwaps);
        CTempDir::makeDirs(root() + "/dev");
    }

private:
    void link(const std::string& strDir, const std::string& strName, unsigned nMajor,
              unsigned nMinor)
    {
        const std::string strSys = m_rDir.file("sys-root/sys");
        CTempDir::makeDirs(strSys + "/dev/block");
        CTempDir::makeDirs(strSys + "/class/block");
        const std::string strTarget = "../../devices/" + strDir;
        EXPECT_EQ(symlink(strTarget.c_str(), (strSys + "/dev/block/" + std::to_string(nMajor) +
                                              ":" + std::to_string(nMinor))
                                                 .c_str()),
                  0);
        EXPECT_EQ(symlink(strTarget.c_str(), (strSys + "/class/block/" + strName).c_str()), 0);
    }

    const CTempDir& m_rDir;
    std::string m_strMountInfo;
    std::vector<std::string> m_astrSwaps;
    int m_nMountId = 20;
};

class LinuxVolumeLayerTest : public ::testing::Test
{
protected:
    LinuxVolumeLayerTest() : m_sys(m_dir) {}

    CLinuxVolumeLayer::Mount find(const std::vector<CLinuxVolumeLayer::Mount>& aMounts,
                                  const std::string& strMountPoint)
    {
        for (const CLinuxVolumeLayer::Mount& mount : aMounts)
            if (mount.strMountPoint == strMountPoint)
                return mount;
        ADD_FAILURE() << strMountPoint << " not in the scan";
        return CLinuxVolumeLayer::Mount();
    }
    // The usual system disk: / and /boot on a SATA disk.
    void addSystemDisk()
    {
        const std::string strDisk = std::string(kSataHost) + "/block/sda";
        m_sys.addDisk(strDisk, 8, 0, "0");
        m_sys.addPartition(strDisk, "sda1", 8, 1);
        m_sys.addPartition(strDisk, "sda2", 8, 2);
        m_sys.mount(8, 2, "/", "ext4", "/dev/sda2");
        m_sys.mount(8, 1, "/boot/efi", "vfat", "/dev/sda1");
    }

    CTempDir m_dir;
    CFakeSystem m_sys;
};
} // namespace

TEST(LinuxVolumeLayerDecode, MountTableAndUdevEscapes)
{
    struct Case
    {
        const char* pszIn;
        const char* pszOctal;
        const char* pszHex;
    };
    const Case aCases[] = {
        {"/media/My\\040Card", "/media/My Card", "/media/My\\040Card"},
        {"a\\011b\\012c\\134d", "a\tb\nc\\d", "a\\011b\\012c\\134d"},
        {"MY\\x20CARD\\x2f", "MY\\x20CARD\\x2f", "MY CARD/"},
        {"trailing\\04", "trailing\\04", "trailing\\04"},
        {"bad\\x2", "bad\\x2", "bad\\x2"},
        {"\\400", "\\400", "\\400"}, // not a byte
    };
    for (const Case& c : aCases)
    {
        EXPECT_EQ(CLinuxVolumeLayer::decodeOctal(c.pszIn), c.pszOctal) << c.pszIn;
        EXPECT_EQ(CLinuxVolumeLayer::decodeHex(c.pszIn), c.pszHex) << c.pszIn;
    }
}

TEST_F(LinuxVolumeLayerTest, CardReadersAreOfferedInMountPointOrder)
{
    addSystemDisk();
    // A USB reader that says its media is not removable: USB is enough.
    const std::string strUsb = std::string(kUsbHost) + "/block/sdb";
    m_sys.addDisk(strUsb, 8, 16, "0");
    m_sys.addPartition(strUsb, "sdb1", 8, 17);
    // An SD card in a built-in slot, which reports removable 0.
    const std::string strMmc = std::string(kMmcHost) + "/block/mmcblk1";
    m_sys.addDisk(strMmc, 179, 256, "0");
    m_sys.setFile("devices/" + std::string(kMmcHost) + "/type", "SD");
    m_sys.addPartition(strMmc, "mmcblk1p1", 179, 257);
    // A reader on a SATA bridge that marks its media removable.
    const std::string strSata = "pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0/block/sdc";
    m_sys.addDisk(strSata, 8, 32, "1");

    const std::string strB = m_sys.mountPoint("b"), strA = m_sys.mountPoint("a"),
                      strC = m_sys.mountPoint("c");
    m_sys.mount(8, 17, strB, "vfat", "/dev/sdb1");
    m_sys.mount(179, 257, strC, "exfat", "/dev/mmcblk1p1");
    m_sys.mount(8, 32, strA, "ext4", "/dev/sdc"); // a card without partitions
    m_sys.setLabel("CARD", "sdb1");
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    const std::vector<std::string> astrDrives = layer.drives();
    EXPECT_EQ(astrDrives, (std::vector<std::string>{strA + "/", strB + "/", strC + "/"}));
    for (const std::string& strRoot : astrDrives)
    {
        EXPECT_TRUE(layer.isRemovable(strRoot));
        int nType = 0;
        EXPECT_EQ(layer.mediaType(strRoot, nType), CVolumeLayer::eMediaNoQuery);
    }
    CVolumeLayer::VolumeInfo info;
    ASSERT_TRUE(layer.volumeInfo(strB + "/", info));
    EXPECT_EQ(info.strLabel, "CARD");
    EXPECT_FALSE(info.bReadOnly);
    EXPECT_FALSE(info.bCompressed);
    EXPECT_FALSE(layer.isRemovable("/boot/efi/"));
    EXPECT_FALSE(layer.volumeInfo("/boot/efi/", info));
}

TEST_F(LinuxVolumeLayerTest, BuiltInAndVirtualDevicesAreNotOffered)
{
    addSystemDisk();
    struct Case
    {
        std::string strDisk; // below /sys/devices
        const char* pszRemovable;
        const char* pszMmcType; // for MMC hosts
        std::string strPartition;
        const char* pszReason;
    };
    const std::vector<Case> aCases = {
        {std::string(kEmmcHost) + "/block/mmcblk0", "0", "MMC", "mmcblk0p1", "built-in MMC"},
        {std::string(kEmmcHost) + "/block/mmcblk0boot0", "0", nullptr, "", "boot or RPMB"},
        {std::string(kEmmcHost) + "/block/mmcblk0rpmb", "0", nullptr, "", "boot or RPMB"},
        {"virtual/block/loop0", "0", nullptr, "", "virtual device"},
        {"platform/loopback/block/loop7", "1", nullptr, "", "loop device"},
        {"virtual/block/dm-0", "0", nullptr, "", "virtual device"},
        {std::string(kUsbHost) + "/block/sr0", "1", nullptr, "", "optical drive"},
        {"platform/brd/block/ram0", "0", nullptr, "", "RAM disk"},
        {std::string(kSataHost) + "/block/sdd", "0", nullptr, "sdd1", "not removable"},
    };
    unsigned nMinor = 0;
    for (const Case& c : aCases)
    {
        const std::string strName = c.strDisk.substr(c.strDisk.rfind('/') + 1);
        m_sys.addDisk(c.strDisk, 100, ++nMinor, c.pszRemovable);
        if (c.pszMmcType)
            m_sys.setFile("devices/" + c.strDisk.substr(0, c.strDisk.find("/block/")) + "/type",
                          c.pszMmcType);
        unsigned nMountMinor = nMinor;
        if (!c.strPartition.empty())
            m_sys.addPartition(c.strDisk, c.strPartition, 100, nMountMinor = ++nMinor);
        m_sys.mount(100, nMountMinor, m_sys.mountPoint(strName), "vfat", "/dev/" + strName);
    }
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    const std::vector<CLinuxVolumeLayer::Mount> aMounts = layer.scan();
    EXPECT_TRUE(layer.drives().empty());
    for (const Case& c : aCases)
    {
        const std::string strName = c.strDisk.substr(c.strDisk.rfind('/') + 1);
        const CLinuxVolumeLayer::Mount mount = find(aMounts, m_sys.mountPoint(strName));
        EXPECT_FALSE(mount.bOffered) << strName;
        EXPECT_NE(mount.strReason.find(c.pszReason), std::string::npos)
            << strName << ": " << mount.strReason;
    }
    // Every mount looked at has its reason.
    const std::vector<CVolumeLayer::NotOffered> aNot = layer.notOffered();
    EXPECT_EQ(aNot.size(), aMounts.size());
    for (const CVolumeLayer::NotOffered& n : aNot)
        EXPECT_TRUE(n.bCardFileSystem) << n.strPlace; // vfat and ext4
}

TEST_F(LinuxVolumeLayerTest, DisksOfTheRunningSystemAreNeverOffered)
{
    // Booted from a USB stick: / on sdb2, a FAT partition beside it.
    const std::string strBoot = std::string(kUsbHost) + "/block/sdb";
    m_sys.addDisk(strBoot, 8, 16, "1");
    m_sys.addPartition(strBoot, "sdb1", 8, 17);
    m_sys.addPartition(strBoot, "sdb2", 8, 18);
    m_sys.mount(8, 18, "/", "ext4", "/dev/sdb2");
    // Swap on a partition of another stick.
    const std::string strSwap =
        "pci0000:00/0000:00:14.0/usb3/3-2/3-2:1.0/host7/target7:0:0/7:0:0:0/block/sdc";
    m_sys.addDisk(strSwap, 8, 32, "1");
    m_sys.addPartition(strSwap, "sdc1", 8, 33);
    m_sys.addPartition(strSwap, "sdc2", 8, 34);
    m_sys.addSwap("/dev/sdc2");
    // /home on an encrypted partition of a third, through device mapper.
    const std::string strHome =
        "pci0000:00/0000:00:14.0/usb3/3-3/3-3:1.0/host8/target8:0:0/8:0:0:0/block/sdd";
    m_sys.addDisk(strHome, 8, 48, "1");
    m_sys.addPartition(strHome, "sdd1", 8, 49);
    m_sys.addPartition(strHome, "sdd2", 8, 50);
    m_sys.addDisk("virtual/block/dm-0", 254, 0, "0");
    m_sys.setFile("devices/virtual/block/dm-0/slaves/sdd2", "");
    m_sys.mount(254, 0, "/home", "btrfs", "/dev/mapper/home");
    // And a card that may be offered.
    const std::string strCard =
        "pci0000:00/0000:00:14.0/usb3/3-4/3-4:1.0/host9/target9:0:0/9:0:0:0/block/sde";
    m_sys.addDisk(strCard, 8, 64, "1");
    m_sys.addPartition(strCard, "sde1", 8, 65);

    const std::string strOnBoot = m_sys.mountPoint("boot-fat");
    const std::string strOnSwap = m_sys.mountPoint("swap-fat");
    const std::string strOnHome = m_sys.mountPoint("home-fat");
    const std::string strCardMp = m_sys.mountPoint("card");
    m_sys.mount(8, 17, strOnBoot, "vfat", "/dev/sdb1");
    m_sys.mount(8, 33, strOnSwap, "vfat", "/dev/sdc1");
    m_sys.mount(8, 49, strOnHome, "vfat", "/dev/sdd1");
    m_sys.mount(8, 65, strCardMp, "vfat", "/dev/sde1");
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    const std::vector<CLinuxVolumeLayer::Mount> aMounts = layer.scan();
    for (const std::string& strMp : {strOnBoot, strOnSwap, strOnHome})
    {
        const CLinuxVolumeLayer::Mount mount = find(aMounts, strMp);
        EXPECT_FALSE(mount.bOffered) << strMp;
        EXPECT_NE(mount.strReason.find("running system"), std::string::npos) << mount.strReason;
    }
    EXPECT_EQ(layer.drives(), std::vector<std::string>{strCardMp + "/"});
}

TEST_F(LinuxVolumeLayerTest, SwapFileMarksTheDiskThatHoldsIt)
{
    const std::string strDisk = std::string(kUsbHost) + "/block/sdb";
    m_sys.addDisk(strDisk, 8, 16, "1");
    m_sys.addPartition(strDisk, "sdb1", 8, 17);
    m_sys.addPartition(strDisk, "sdb2", 8, 18);
    const std::string strData = m_sys.mountPoint("data");
    const std::string strFat = m_sys.mountPoint("fat");
    m_sys.mount(8, 18, strData, "ext4", "/dev/sdb2");
    m_sys.mount(8, 17, strFat, "vfat", "/dev/sdb1");
    m_sys.addSwap(strData + "/swapfile");
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    EXPECT_TRUE(layer.drives().empty());
}

TEST_F(LinuxVolumeLayerTest, EscapedMountPointsAndLabelsAreDecoded)
{
    const std::string strDisk = std::string(kUsbHost) + "/block/sdb";
    m_sys.addDisk(strDisk, 8, 16, "1");
    m_sys.addPartition(strDisk, "sdb1", 8, 17);
    const std::string strMp = m_sys.mountPoint("My Card\tTwo");
    m_sys.mount(8, 17, strMp, "vfat", "/dev/sdb1");
    m_sys.setLabel("OTHER", "sdc1");
    m_sys.setLabel("MY\\x20CARD", "sdb1");
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    ASSERT_EQ(layer.drives(), std::vector<std::string>{strMp + "/"});
    CVolumeLayer::VolumeInfo info;
    ASSERT_TRUE(layer.volumeInfo(strMp + "/", info));
    EXPECT_EQ(info.strLabel, "MY CARD");
}

TEST_F(LinuxVolumeLayerTest, NetworkAndPseudoFileSystemsAreJudgedByTypeAlone)
{
    // Mount points that do not exist here: anything that tried to look at
    // them would find nothing, and the verdict must not depend on them.
    m_sys.mount(0, 50, "/net/server/export", "nfs4", "server:/export");
    m_sys.mount(0, 51, "/net/share", "cifs", "//server/share");
    m_sys.mount(0, 52, "/run/user/1000", "tmpfs", "tmpfs");
    m_sys.mount(0, 53, "/proc", "proc", "proc");
    m_sys.mount(0, 54, "/home/u/remote", "fuse.sshfs", "u@host:");
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    EXPECT_TRUE(layer.drives().empty());
    const std::vector<CVolumeLayer::NotOffered> aNot = layer.notOffered();
    ASSERT_EQ(aNot.size(), 5u);
    for (const CVolumeLayer::NotOffered& n : aNot)
    {
        const bool bNetwork =
            n.strPlace.compare(0, 5, "/net/") == 0 || n.strPlace == "/home/u/remote";
        EXPECT_NE(n.strReason.find(bNetwork ? "network" : "not found on cards"), std::string::npos)
            << n.strPlace << ": " << n.strReason;
        EXPECT_FALSE(n.bCardFileSystem);
    }
}

TEST_F(LinuxVolumeLayerTest, ReadOnlyComesFromMountOptionsOrTheDevice)
{
    struct Case
    {
        const char* pszName;
        const char* pszOptions;
        const char* pszSuper;
        bool bDeviceRo;
        bool bReadOnly;
    };
    const Case aCases[] = {
        {"rw", "rw,nosuid", "rw,fmask=0022", false, false},
        {"mount-ro", "ro,nosuid", "rw", false, true},
        {"super-ro", "rw", "ro,fmask=0022", false, true},
        {"device-ro", "rw", "rw", true, true},
        {"rolike", "rw,errors=remount-ro", "rw,rodir", false, false},
    };
    unsigned nDisk = 0;
    for (const Case& c : aCases)
    {
        const std::string strDisk = std::string(kUsbHost) + "/block/sd" + char('b' + nDisk);
        const std::string strPart = std::string("sd") + char('b' + nDisk) + "1";
        m_sys.addDisk(strDisk, 8, nDisk * 16, "1");
        m_sys.addPartition(strDisk, strPart, 8, nDisk * 16 + 1);
        if (c.bDeviceRo)
            m_sys.setFile("devices/" + strDisk + "/" + strPart + "/ro", "1");
        m_sys.mount(8, nDisk * 16 + 1, m_sys.mountPoint(c.pszName), "vfat", "/dev/" + strPart,
                    c.pszOptions, c.pszSuper);
        ++nDisk;
    }
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    EXPECT_EQ(layer.drives().size(), std::size(aCases));
    for (const Case& c : aCases)
    {
        CVolumeLayer::VolumeInfo info;
        ASSERT_TRUE(layer.volumeInfo(m_sys.mountPoint(c.pszName) + "/", info)) << c.pszName;
        EXPECT_EQ(info.bReadOnly, c.bReadOnly) << c.pszName;
    }
}

TEST_F(LinuxVolumeLayerTest, FuseAndMappedNamesAreResolvedThroughTheSource)
{
    const std::string strDisk = std::string(kUsbHost) + "/block/sdb";
    m_sys.addDisk(strDisk, 8, 16, "0");
    m_sys.addPartition(strDisk, "sdb1", 8, 17);
    m_sys.addPartition(strDisk, "sdb2", 8, 18);
    m_sys.addDevLink("disk/by-uuid/1234-ABCD", "../../sdb2");
    const std::string strExfat = m_sys.mountPoint("exfat");
    const std::string strNtfs = m_sys.mountPoint("ntfs");
    m_sys.mount(0, 61, strExfat, "fuseblk", "/dev/sdb1", "rw", "rw,user_id=0");
    m_sys.mount(0, 62, strNtfs, "fuseblk", "/dev/disk/by-uuid/1234-ABCD");
    m_sys.mount(0, 63, m_sys.mountPoint("lost"), "fuseblk", "/dev/sdz9");
    m_sys.setLabel("NTFSCARD", "sdb2");
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    EXPECT_EQ(layer.drives(), (std::vector<std::string>{strExfat + "/", strNtfs + "/"}));
    CVolumeLayer::VolumeInfo info;
    ASSERT_TRUE(layer.volumeInfo(strNtfs + "/", info));
    EXPECT_EQ(info.strLabel, "NTFSCARD");
    const CLinuxVolumeLayer::Mount lost = find(layer.scan(), m_sys.mountPoint("lost"));
    EXPECT_NE(lost.strReason.find("no block device"), std::string::npos) << lost.strReason;
}

TEST_F(LinuxVolumeLayerTest, EachVolumeIsOfferedOnceAndOnlyAtItsRoot)
{
    const std::string strDisk = std::string(kUsbHost) + "/block/sdb";
    m_sys.addDisk(strDisk, 8, 16, "1");
    m_sys.addPartition(strDisk, "sdb1", 8, 17);
    const std::string strFirst = m_sys.mountPoint("a-first");
    const std::string strAgain = m_sys.mountPoint("b-again");
    const std::string strFolder = m_sys.mountPoint("c-folder");
    m_sys.mount(8, 17, strAgain, "vfat", "/dev/sdb1");
    m_sys.mount(8, 17, strFolder, "vfat", "/dev/sdb1", "rw", "rw", "/DCIM");
    m_sys.mount(8, 17, strFirst, "vfat", "/dev/sdb1");
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    const std::vector<CLinuxVolumeLayer::Mount> aMounts = layer.scan();
    EXPECT_EQ(layer.drives(), std::vector<std::string>{strFirst + "/"});
    EXPECT_NE(find(aMounts, strAgain).strReason.find(strFirst), std::string::npos);
    EXPECT_NE(find(aMounts, strFolder).strReason.find("/DCIM"), std::string::npos);
}

TEST_F(LinuxVolumeLayerTest, AtMostThirtyTwoDrivesInMountPointOrder)
{
    const std::string strDisk = std::string(kUsbHost) + "/block/sdb";
    m_sys.addDisk(strDisk, 8, 16, "1");
    std::vector<std::string> astrExpected;
    for (unsigned i = 0; i < 40; ++i)
    {
        char acName[8];
        snprintf(acName, sizeof(acName), "p%02u", 39 - i); // mounted in reverse order
        m_sys.addPartition(strDisk, "sdb" + std::to_string(i + 1), 259, i);
        m_sys.mount(259, i, m_sys.mountPoint(acName), "vfat", "/dev/sdb" + std::to_string(i + 1));
    }
    for (unsigned i = 0; i < 32; ++i)
    {
        char acName[8];
        snprintf(acName, sizeof(acName), "p%02u", i);
        astrExpected.push_back(m_sys.mountPoint(acName) + "/");
    }
    m_sys.write();

    CLinuxVolumeLayer layer(m_sys.root());
    EXPECT_EQ(layer.drives(), astrExpected);
}

TEST(LinuxFileAttributes, PermissionsAndFailedQueries)
{
    CTempDir dir;
    CLinuxVolumeLayer layer;
    const std::string strFile = dir.file("ZOLT.CFG");
    ASSERT_TRUE(CTempDir::writeFile(strFile, "x"));
    EXPECT_EQ(layer.fileAttributes(strFile) & CVolumeLayer::eAttrReadOnly, 0u);
    ASSERT_EQ(chmod(strFile.c_str(), 0444), 0);
    EXPECT_EQ(layer.fileAttributes(strFile), uint32_t(CVolumeLayer::eAttrReadOnly));
    ASSERT_EQ(chmod(strFile.c_str(), 0200), 0); // write only: still writable
    EXPECT_EQ(layer.fileAttributes(strFile), 0u);
    EXPECT_EQ(layer.fileAttributes(dir.file("missing")), 0u);

    uint64_t nFree = 0;
    EXPECT_TRUE(layer.freeSpace(dir.path() + "/", nFree));
    EXPECT_GT(nFree, 0u);
    EXPECT_FALSE(layer.freeSpace(dir.file("missing/"), nFree));
}
