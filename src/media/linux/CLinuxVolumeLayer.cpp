#include "CLinuxVolumeLayer.h"

#include "CLinuxCardFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <linux/fs.h>
#include <linux/msdos_fs.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace
{
// File systems found on cards and card readers.
const char* const kCardFsTypes[] = {"vfat",  "msdos", "exfat", "fuseblk", "ntfs",
                                    "ntfs3", "ext2",  "ext3",  "ext4"};
// Named as such in the reasons; like every other type that is not a card's,
// they are never touched.
const char* const kNetworkFsTypes[] = {"nfs",        "nfs4",  "cifs",   "smb3",        "smbfs",
                                       "ncpfs",      "9p",    "afs",    "ceph",        "glusterfs",
                                       "fuse.sshfs", "davfs", "lustre", "fuse.rclone", "gfs2"};
// Mount points of the running system; a disk that holds one is never offered.
const char* const kSystemMountPoints[] = {"/", "/boot", "/boot/efi", "/usr", "/var", "/home"};

template <size_t N> bool isOneOf(const std::string& str, const char* const (&astr)[N])
{
    return std::find(std::begin(astr), std::end(astr), str) != std::end(astr);
}

bool startsWith(const std::string& str, const std::string& strPrefix)
{
    return str.compare(0, strPrefix.size(), strPrefix) == 0;
}

bool hasOption(const std::string& strOptions, const char* pszOption)
{
    std::istringstream in(strOptions);
    std::string strItem;
    while (std::getline(in, strItem, ','))
        if (strItem == pszOption)
            return true;
    return false;
}

std::string readFirstLine(const std::string& strPath)
{
    std::ifstream in(strPath);
    std::string strLine;
    std::getline(in, strLine);
    while (!strLine.empty() && (strLine.back() == ' ' || strLine.back() == '\r'))
        strLine.pop_back();
    return strLine;
}

bool exists(const std::string& strPath)
{
    struct stat st;
    return lstat(strPath.c_str(), &st) == 0;
}

std::string canonical(const std::string& strPath)
{
    char acResolved[PATH_MAX];
    if (realpath(strPath.c_str(), acResolved) == nullptr)
        return std::string();
    return acResolved;
}

std::string baseName(const std::string& strPath)
{
    const size_t n = strPath.rfind('/');
    return n == std::string::npos ? strPath : strPath.substr(n + 1);
}

std::string parentDir(const std::string& strPath)
{
    const size_t n = strPath.rfind('/');
    return n == std::string::npos || n == 0 ? std::string("/") : strPath.substr(0, n);
}

std::string readLink(const std::string& strPath)
{
    char ac[PATH_MAX];
    const ssize_t n = readlink(strPath.c_str(), ac, sizeof(ac) - 1);
    return n < 0 ? std::string() : std::string(ac, static_cast<size_t>(n));
}

std::vector<std::string> listDir(const std::string& strDir)
{
    std::vector<std::string> astr;
    if (DIR* pDir = opendir(strDir.c_str()))
    {
        while (const dirent* pEntry = readdir(pDir))
        {
            const std::string strName = pEntry->d_name;
            if (strName != "." && strName != "..")
                astr.push_back(strName);
        }
        closedir(pDir);
    }
    std::sort(astr.begin(), astr.end());
    return astr;
}

bool isValidUtf8(const std::string& str)
{
    for (size_t i = 0; i < str.size();)
    {
        const unsigned char c = static_cast<unsigned char>(str[i]);
        size_t nMore = 0;
        if (c >= 0xC2 && c <= 0xDF)
            nMore = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            nMore = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            nMore = 3;
        else if (c >= 0x80)
            return false;
        if (i + nMore >= str.size())
            return false;
        for (size_t k = 1; k <= nMore; ++k)
            if ((static_cast<unsigned char>(str[i + k]) & 0xC0) != 0x80)
                return false;
        i += nMore + 1;
    }
    return true;
}

bool isDigits(const std::string& str)
{
    return !str.empty() &&
           std::all_of(str.begin(), str.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// True for names like mmcblk0boot1 and mmcblk0rpmb: the eMMC's hardware areas.
bool isEmmcArea(const std::string& strName)
{
    if (!startsWith(strName, "mmcblk"))
        return false;
    size_t i = 6;
    while (i < strName.size() && strName[i] >= '0' && strName[i] <= '9')
        ++i;
    const std::string strRest = strName.substr(i);
    return strRest == "rpmb" || (startsWith(strRest, "boot") && isDigits(strRest.substr(4)));
}

// Kinds of block device that never hold a card, by kernel name.
std::string deviceKind(const std::string& strDisk)
{
    if (startsWith(strDisk, "loop"))
        return "a loop device";
    if (startsWith(strDisk, "zram") || startsWith(strDisk, "ram"))
        return "a RAM disk";
    if (startsWith(strDisk, "dm-"))
        return "a mapped device";
    if (startsWith(strDisk, "md"))
        return "a software RAID";
    if (startsWith(strDisk, "sr"))
        return "an optical drive";
    if (isEmmcArea(strDisk))
        return "a boot or RPMB area of built-in eMMC";
    return std::string();
}
} // namespace

CLinuxVolumeLayer::CLinuxVolumeLayer(std::string strSystemRoot)
    : m_strSystemRoot(std::move(strSystemRoot))
{
    if (!m_strSystemRoot.empty())
    {
        // Device folders are compared with resolved paths.
        const std::string strResolved = canonical(m_strSystemRoot);
        if (!strResolved.empty())
            m_strSystemRoot = strResolved;
    }
    while (!m_strSystemRoot.empty() && m_strSystemRoot.back() == '/')
        m_strSystemRoot.pop_back();
}

std::string CLinuxVolumeLayer::decodeOctal(const std::string& str)
{
    std::string strOut;
    strOut.reserve(str.size());
    for (size_t i = 0; i < str.size(); ++i)
    {
        if (str[i] == '\\' && i + 3 < str.size() && str[i + 1] >= '0' && str[i + 1] <= '3' &&
            str[i + 2] >= '0' && str[i + 2] <= '7' && str[i + 3] >= '0' && str[i + 3] <= '7')
        {
            strOut += static_cast<char>((str[i + 1] - '0') * 64 + (str[i + 2] - '0') * 8 +
                                        (str[i + 3] - '0'));
            i += 3;
        }
        else
            strOut += str[i];
    }
    return strOut;
}

std::string CLinuxVolumeLayer::decodeHex(const std::string& str)
{
    std::string strOut;
    strOut.reserve(str.size());
    for (size_t i = 0; i < str.size(); ++i)
    {
        if (str[i] == '\\' && i + 3 < str.size() && str[i + 1] == 'x' &&
            isxdigit(static_cast<unsigned char>(str[i + 2])) &&
            isxdigit(static_cast<unsigned char>(str[i + 3])))
        {
            strOut += static_cast<char>(std::stoi(str.substr(i + 2, 2), nullptr, 16));
            i += 3;
        }
        else
            strOut += str[i];
    }
    return strOut;
}

std::vector<CLinuxVolumeLayer::RawMount> CLinuxVolumeLayer::readMountInfo() const
{
    std::vector<RawMount> aMounts;
    std::ifstream in(m_strSystemRoot + "/proc/self/mountinfo");
    std::string strLine;
    while (std::getline(in, strLine))
    {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        std::istringstream fields(strLine);
        std::vector<std::string> astr;
        std::string str;
        while (fields >> str)
            astr.push_back(str);
        const auto itDash = std::find(astr.begin(), astr.end(), "-");
        if (itDash == astr.end() || itDash - astr.begin() < 6 || astr.end() - itDash < 3)
            continue;
        RawMount mount;
        if (sscanf(astr[2].c_str(), "%u:%u", &mount.nMajor, &mount.nMinor) != 2)
            continue;
        mount.strRoot = decodeOctal(astr[3]);
        mount.strMountPoint = decodeOctal(astr[4]);
        mount.strOptions = astr[5];
        mount.strFsType = itDash[1];
        mount.strSource = decodeOctal(itDash[2]);
        mount.strSuperOptions = astr.end() - itDash > 3 ? itDash[3] : std::string();
        aMounts.push_back(mount);
    }
    return aMounts;
}

std::vector<std::string> CLinuxVolumeLayer::readSwaps() const
{
    std::vector<std::string> astr;
    std::ifstream in(m_strSystemRoot + "/proc/swaps");
    std::string strLine;
    std::getline(in, strLine); // the heading
    while (std::getline(in, strLine))
    {
        std::istringstream fields(strLine);
        std::string strName;
        if (fields >> strName)
            astr.push_back(decodeOctal(strName));
    }
    return astr;
}

std::string CLinuxVolumeLayer::deviceDirByName(const std::string& strDevPath) const
{
    // /dev/mapper/x, /dev/disk/by-uuid/y ... are links to the kernel's name.
    std::string strName = baseName(strDevPath);
    std::string strLink = m_strSystemRoot + strDevPath;
    for (int i = 0; i < 8; ++i)
    {
        const std::string strTarget = readLink(strLink);
        if (strTarget.empty())
            break;
        strName = baseName(strTarget);
        strLink = strTarget[0] == '/' ? m_strSystemRoot + strTarget
                                      : parentDir(strLink) + "/" + strTarget;
    }
    if (strName.empty())
        return std::string();
    return canonical(m_strSystemRoot + "/sys/class/block/" + strName);
}

std::string CLinuxVolumeLayer::deviceDir(const RawMount& rMount) const
{
    if (rMount.nMajor != 0)
    {
        const std::string strDir =
            canonical(m_strSystemRoot + "/sys/dev/block/" + std::to_string(rMount.nMajor) + ":" +
                      std::to_string(rMount.nMinor));
        if (!strDir.empty())
            return strDir;
    }
    // Btrfs and FUSE show an anonymous device number; the source names the device.
    if (startsWith(rMount.strSource, "/dev/"))
        return deviceDirByName(rMount.strSource);
    return std::string();
}

void CLinuxVolumeLayer::collectDisks(const std::string& strDir, std::set<std::string>& rDisks,
                                     int nDepth) const
{
    if (strDir.empty() || nDepth > 8)
        return;
    const std::vector<std::string> astrSlaves = listDir(strDir + "/slaves");
    if (!astrSlaves.empty())
    {
        for (const std::string& strSlave : astrSlaves)
            collectDisks(canonical(m_strSystemRoot + "/sys/class/block/" + strSlave), rDisks,
                         nDepth + 1);
        return;
    }
    rDisks.insert(exists(strDir + "/partition") ? parentDir(strDir) : strDir);
}

std::set<std::string> CLinuxVolumeLayer::systemDisks(const std::vector<RawMount>& aMounts) const
{
    std::set<std::string> setDisks;
    for (const RawMount& mount : aMounts)
        if (isOneOf(mount.strMountPoint, kSystemMountPoints))
            collectDisks(deviceDir(mount), setDisks, 0);
    for (const std::string& strSwap : readSwaps())
    {
        if (startsWith(strSwap, "/dev/"))
        {
            collectDisks(deviceDirByName(strSwap), setDisks, 0);
            continue;
        }
        // A swap file: the disk of the mount that holds it.
        const RawMount* pBest = nullptr;
        for (const RawMount& mount : aMounts)
        {
            const std::string& strMp = mount.strMountPoint;
            const bool bInside =
                strMp == "/" || (startsWith(strSwap, strMp) &&
                                 (strSwap.size() == strMp.size() || strSwap[strMp.size()] == '/'));
            if (bInside && (pBest == nullptr || strMp.size() >= pBest->strMountPoint.size()))
                pBest = &mount;
        }
        if (pBest != nullptr)
            collectDisks(deviceDir(*pBest), setDisks, 0);
    }
    return setDisks;
}

bool CLinuxVolumeLayer::isOnUsb(const std::string& strDiskDir) const
{
    const std::string strDevices = m_strSystemRoot + "/sys/devices/";
    for (std::string strDir = strDiskDir; startsWith(strDir, strDevices);
         strDir = parentDir(strDir))
    {
        if (baseName(readLink(strDir + "/subsystem")) == "usb")
            return true;
        const std::string strName = baseName(strDir);
        if (startsWith(strName, "usb") && isDigits(strName.substr(3)))
            return true; // a root hub
    }
    return false;
}

std::string CLinuxVolumeLayer::judge(const RawMount& rMount, const std::string& strDir,
                                     const std::set<std::string>& setSystemDisks) const
{
    if (strDir.empty())
        return "no block device found for " + rMount.strSource;
    if (startsWith(strDir, m_strSystemRoot + "/sys/devices/virtual/"))
        return baseName(strDir) + " is a virtual device";
    const std::string strDiskDir = exists(strDir + "/partition") ? parentDir(strDir) : strDir;
    const std::string strDisk = baseName(strDiskDir);
    const std::string strKind = deviceKind(strDisk);
    if (!strKind.empty())
        return strDisk + " is " + strKind;
    if (setSystemDisks.count(strDiskDir) != 0)
        return strDisk + " holds the running system";
    if (readFirstLine(strDiskDir + "/removable") == "1")
        return std::string();
    if (startsWith(strDisk, "mmcblk"))
    {
        // Built-in SD slots say removable 0, yet the card in them is removable.
        const std::string strType = readFirstLine(strDiskDir + "/device/type");
        if (strType == "SD" || strType == "SDcombo")
            return std::string();
        return strDisk + " is built-in " + (strType.empty() ? std::string("MMC") : strType) +
               " storage";
    }
    if (isOnUsb(strDiskDir))
        return std::string();
    return strDisk + " is not removable media";
}

std::vector<CLinuxVolumeLayer::Mount> CLinuxVolumeLayer::scan()
{
    // A mount stacked on a mount point hides the one below: only the last
    // mount of each mount point is there to be used.
    std::vector<RawMount> aRaw;
    {
        const std::vector<RawMount> aAll = readMountInfo();
        std::set<std::string> setSeen;
        for (auto it = aAll.rbegin(); it != aAll.rend(); ++it)
            if (setSeen.insert(it->strMountPoint).second)
                aRaw.push_back(*it);
    }
    std::stable_sort(aRaw.begin(), aRaw.end(),
                     [](const RawMount& a, const RawMount& b)
                     { return a.strMountPoint < b.strMountPoint; });

    // /sys is only read when there is a card file system at all.
    const bool bAnyCard =
        std::any_of(aRaw.begin(), aRaw.end(),
                    [](const RawMount& r) { return isOneOf(r.strFsType, kCardFsTypes); });
    const std::set<std::string> setSystemDisks =
        bAnyCard ? systemDisks(aRaw) : std::set<std::string>();

    std::vector<Mount> aMounts;
    // Device folder and mount point of each offered mount.
    std::vector<std::pair<std::string, std::string>> aOffered;
    for (const RawMount& raw : aRaw)
    {
        Mount mount;
        mount.strMountPoint = raw.strMountPoint;
        mount.strFsType = raw.strFsType;
        mount.strSource = raw.strSource;
        if (isOneOf(raw.strFsType, kNetworkFsTypes))
            mount.strReason = "network file system " + raw.strFsType;
        else if (!isOneOf(raw.strFsType, kCardFsTypes))
            mount.strReason = "file system " + raw.strFsType + " is not found on cards";
        else if (!isValidUtf8(raw.strMountPoint))
            mount.strReason = "mount point is not valid UTF-8";
        else if (raw.strRoot != "/")
            mount.strReason = "shows only the folder " + raw.strRoot + " of its volume";
        else
        {
            const std::string strDir = deviceDir(raw);
            mount.strDevice = baseName(strDir);
            mount.strReason = judge(raw, strDir, setSystemDisks);
            const auto it = std::find_if(aOffered.begin(), aOffered.end(),
                                         [&strDir](const std::pair<std::string, std::string>& r)
                                         { return r.first == strDir; });
            if (mount.strReason.empty())
            {
                if (it != aOffered.end())
                    mount.strReason = "the same volume is mounted at " + it->second;
                else if (aOffered.size() >= kMaxDrives)
                    mount.strReason = "more than 32 drives";
                else
                {
                    mount.bOffered = true;
                    aOffered.emplace_back(strDir, raw.strMountPoint);
                    mount.bReadOnly = hasOption(raw.strOptions, "ro") ||
                                      hasOption(raw.strSuperOptions, "ro") ||
                                      readFirstLine(strDir + "/ro") == "1" ||
                                      readFirstLine(parentDir(strDir) + "/ro") == "1";
                }
            }
        }
        aMounts.push_back(mount);
    }
    m_aMounts = aMounts;
    return aMounts;
}

std::vector<std::string> CLinuxVolumeLayer::drives()
{
    std::vector<std::string> astrRoots;
    for (const Mount& mount : scan())
        if (mount.bOffered)
            astrRoots.push_back(mount.strMountPoint + "/");
    return astrRoots;
}

std::vector<CVolumeLayer::NotOffered> CLinuxVolumeLayer::notOffered()
{
    std::vector<NotOffered> aNot;
    for (const Mount& mount : m_aMounts)
        if (!mount.bOffered)
            aNot.push_back(
                {mount.strMountPoint, mount.strReason, isOneOf(mount.strFsType, kCardFsTypes)});
    return aNot;
}

const CLinuxVolumeLayer::Mount* CLinuxVolumeLayer::findOffered(const std::string& strRoot)
{
    for (int nPass = 0; nPass < 2; ++nPass)
    {
        for (const Mount& mount : m_aMounts)
            if (mount.bOffered && mount.strMountPoint + "/" == strRoot)
                return &mount;
        if (nPass == 0)
            scan();
    }
    return nullptr;
}

bool CLinuxVolumeLayer::isRemovable(const std::string& strRoot)
{
    return findOffered(strRoot) != nullptr;
}

std::string CLinuxVolumeLayer::labelOf(const Mount& rMount) const
{
    const std::string strDir = m_strSystemRoot + "/dev/disk/by-label";
    for (const std::string& strEntry : listDir(strDir))
        if (baseName(readLink(strDir + "/" + strEntry)) == rMount.strDevice)
            return decodeHex(strEntry);

    std::string strLabel;
    const int nFd = open(rMount.strMountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFd >= 0)
    {
        char acLabel[FSLABEL_MAX + 1] = {};
        if (ioctl(nFd, FS_IOC_GETFSLABEL, acLabel) == 0)
            strLabel.assign(acLabel, strnlen(acLabel, FSLABEL_MAX));
        close(nFd);
    }
    while (!strLabel.empty() && strLabel.back() == ' ')
        strLabel.pop_back();
    return strLabel;
}

bool CLinuxVolumeLayer::volumeInfo(const std::string& strRoot, VolumeInfo& rInfo)
{
    const Mount* pMount = findOffered(strRoot);
    if (pMount == nullptr)
        return false;
    // A card pulled without unmounting no longer answers.
    struct statvfs st;
    if (statvfs(pMount->strMountPoint.c_str(), &st) != 0)
        return false;
    rInfo.strLabel = labelOf(*pMount);
    rInfo.bReadOnly = pMount->bReadOnly || (st.f_flag & ST_RDONLY) != 0;
    rInfo.bCompressed = false;
    return true;
}

CVolumeLayer::EMediaQuery CLinuxVolumeLayer::mediaType(const std::string&, int&)
{
    return eMediaNoQuery;
}

uint32_t CLinuxVolumeLayer::fileAttributes(const std::string& strPath)
{
    uint32_t nAttr = 0;
    struct statx stx;
    if (statx(AT_FDCWD, strPath.c_str(), 0, STATX_MODE, &stx) == 0)
    {
        const uint64_t nKnown = stx.stx_attributes_mask & stx.stx_attributes;
        if (nKnown & STATX_ATTR_COMPRESSED)
            nAttr |= eAttrCompressed;
        if (nKnown & STATX_ATTR_ENCRYPTED)
            nAttr |= eAttrEncrypted;
        if ((stx.stx_mask & STATX_MODE) && (stx.stx_mode & 0222) == 0)
            nAttr |= eAttrReadOnly;
    }
    // FAT keeps its own read-only, hidden and system bits.
    const int nFd = open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (nFd >= 0)
    {
        uint32_t nFat = 0;
        if (ioctl(nFd, FAT_IOCTL_GET_ATTRIBUTES, &nFat) == 0)
            nAttr |= nFat & (eAttrReadOnly | eAttrHidden | eAttrSystem);
        close(nFd);
    }
    return nAttr;
}

bool CLinuxVolumeLayer::freeSpace(const std::string& strRoot, uint64_t& rnBytes)
{
    struct statvfs st;
    if (statvfs(strRoot.c_str(), &st) != 0)
        return false;
    rnBytes = static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
    return true;
}

bool CLinuxVolumeLayer::replaceFile(const std::string& strPath, const std::string& strTempPath,
                                    const void* pData, size_t nSize, std::string& strError)
{
    return CLinuxCardFile::replace(strPath, strTempPath, pData, nSize, strError);
}

std::unique_ptr<CVolumeLayer> CVolumeLayer::createPlatform()
{
    return std::make_unique<CLinuxVolumeLayer>();
}
