// Drives on Linux: the mounted file systems a card can carry, on block devices
// of removable media (a disk marked removable, an SD card in an MMC slot, or
// anything on USB), never a disk the running system lives on. Everything is
// decided from /proc, /sys and /dev, which sit under an injectable root so
// that tests can run this code against a tree of their own. Network and
// pseudo file systems are judged from the mount table's text alone and never
// touched, so listing cannot hang on an unreachable server.
#pragma once

#include "CVolumeLayer.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class CLinuxVolumeLayer : public CVolumeLayer
{
public:
    struct Mount
    {
        std::string strMountPoint;
        std::string strFsType;
        std::string strSource;
        std::string strDevice; // kernel name of the block device, e.g. sdb1
        bool bReadOnly = false;
        bool bOffered = false;
        std::string strReason; // why it is not offered
    };

    // strSystemRoot is put in front of /proc, /sys and /dev; empty for the
    // running system.
    explicit CLinuxVolumeLayer(std::string strSystemRoot = std::string());

    // Every mount, ordered by mount point, with its verdict.
    std::vector<Mount> scan();

    std::vector<std::string> drives() override;
    bool isRemovable(const std::string& strRoot) override;
    bool volumeInfo(const std::string& strRoot, VolumeInfo& rInfo) override;
    EMediaQuery mediaType(const std::string& strRoot, int& rnType) override;
    uint32_t fileAttributes(const std::string& strPath) override;
    bool freeSpace(const std::string& strRoot, uint64_t& rnBytes) override;
    bool replaceFile(const std::string& strPath, const std::string& strTempPath, const void* pData,
                     size_t nSize, std::string& strError) override;
    std::vector<NotOffered> notOffered() override;
    // Each with the time limit, in a process of its own.
    bool probe(const std::function<std::string()>& fnProbe, std::string& rstrAnswer) override;
    // Partitions and disks of removable media that udev found a card's file
    // system on, none of them mounted.
    std::vector<UnmountedCard> unmountedCards() override;
    // Through udisks2 on the system bus.
    bool mountCard(const std::string& strDevice, std::string& rstrRoot,
                   std::string& rstrError) override;
    bool ejectCard(const std::string& strRoot, std::string& rstrError) override;
    bool isMounted(const std::string& strRoot) override;

    void setProbeLimit(unsigned nMilliseconds) { m_nProbeLimitMs = nMilliseconds; }

    // "\040"-style octal escapes of the kernel's mount tables.
    static std::string decodeOctal(const std::string& str);
    // "\x20"-style escapes of udev's link names.
    static std::string decodeHex(const std::string& str);

private:
    struct RawMount
    {
        std::string strRoot; // folder of the file system that is mounted
        std::string strMountPoint;
        std::string strOptions;
        std::string strFsType;
        std::string strSource;
        std::string strSuperOptions;
        unsigned nMajor = 0;
        unsigned nMinor = 0;
    };

    std::vector<RawMount> readMountInfo() const;
    std::vector<std::string> readSwaps() const;
    // Canonical sysfs folder of the mount's block device (under the system
    // root), or empty.
    std::string deviceDir(const RawMount& rMount) const;
    std::string deviceDirByName(const std::string& strDevPath) const;
    // The whole disks under a block device, through partitions and the
    // slaves of mapped or RAID devices.
    void collectDisks(const std::string& strDir, std::set<std::string>& rDisks, int nDepth) const;
    std::set<std::string> systemDisks(const std::vector<RawMount>& aMounts) const;
    std::string judge(const RawMount& rMount, const std::string& strDir,
                      const std::set<std::string>& setSystemDisks) const;
    bool isOnUsb(const std::string& strDiskDir) const;
    // udev's E: properties of the block device "major:minor".
    std::map<std::string, std::string> udevProperties(const std::string& strDevNum) const;
    // The label udev found for a device, or empty.
    std::string labelByName(const std::string& strDevice) const;
    const Mount* findOffered(const std::string& strRoot);

    std::string m_strSystemRoot;
    std::vector<Mount> m_aMounts; // the last scan
    unsigned m_nProbeLimitMs = 2000;
};
