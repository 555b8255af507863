#include "CLinuxVolumeLayer.h"

#include "CLinuxCardFile.h"
#include "CTimedProbe.h"
#include "CUdisksClient.h"

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
#include <map>
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
    const std::string strDiskDir = exists(strDir + "/partition") ? parentDir(strDir) : strDir;
    const std::string strDisk = baseName(strDiskDir);
    // Loop, RAM, mapped and RAID devices all live among the virtual ones;
    // their own kind says more.
    const std::string strKind = deviceKind(strDisk);
    if (!strKind.empty())
        return strDisk + " is " + strKind;
    if (startsWith(strDir, m_strSystemRoot + "/sys/devices/virtual/"))
        return baseName(strDir) + " is a virtual device";
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
    std::vector<RawMount> aRaw = readMountInfo();
    // A file system mounted over another hides it: only the last mount on a
    // mount point, as the kernel lists them, is what the path shows.
    std::vector<RawMount> aVisible;
    for (size_t i = 0; i < aRaw.size(); ++i)
        if (std::none_of(aRaw.begin() + static_cast<std::ptrdiff_t>(i) + 1, aRaw.end(),
                         [&](const RawMount& r)
                         { return r.strMountPoint == aRaw[i].strMountPoint; }))
            aVisible.push_back(aRaw[i]);
    aRaw.swap(aVisible);
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

std::string CLinuxVolumeLayer::labelByName(const std::string& strDevice) const
{
    const std::string strDir = m_strSystemRoot + "/dev/disk/by-label";
    for (const std::string& strEntry : listDir(strDir))
        if (baseName(readLink(strDir + "/" + strEntry)) == strDevice)
            return decodeHex(strEntry);
    return std::string();
}

bool CLinuxVolumeLayer::probe(const std::function<std::string()>& fnProbe, std::string& rstrAnswer)
{
    return CTimedProbe::run(fnProbe, std::chrono::milliseconds(m_nProbeLimitMs), m_fnWaitNotice,
                            rstrAnswer);
}

bool CLinuxVolumeLayer::volumeInfo(const std::string& strRoot, VolumeInfo& rInfo)
{
    const Mount* pMount = findOffered(strRoot);
    if (pMount == nullptr)
        return false;
    const std::string strMountPoint = pMount->strMountPoint;
    std::string strLabel = labelByName(pMount->strDevice);
    const bool bAskLabel = strLabel.empty();
    // A card pulled without unmounting no longer answers, or never again.
    // The answer: "r" or "w", then the label when it was asked for.
    std::string strAnswer;
    const bool bInTime = probe(
        [&strMountPoint, bAskLabel]()
        {
            struct statvfs st;
            if (statvfs(strMountPoint.c_str(), &st) != 0)
                return std::string();
            std::string str = (st.f_flag & ST_RDONLY) != 0 ? "r" : "w";
            const int nFd =
                bAskLabel ? open(strMountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
            if (nFd >= 0)
            {
                char acLabel[FSLABEL_MAX + 1] = {};
                if (ioctl(nFd, FS_IOC_GETFSLABEL, acLabel) == 0)
                    str.append(acLabel, strnlen(acLabel, FSLABEL_MAX));
                close(nFd);
            }
            return str;
        },
        strAnswer);
    if (!bInTime || strAnswer.empty())
        return false;
    if (bAskLabel)
        strLabel = strAnswer.substr(1);
    while (!strLabel.empty() && strLabel.back() == ' ')
        strLabel.pop_back();
    rInfo.strLabel = strLabel;
    rInfo.bReadOnly = pMount->bReadOnly || strAnswer[0] == 'r';
    rInfo.bCompressed = false;
    return true;
}

CVolumeLayer::EMediaQuery CLinuxVolumeLayer::mediaType(const std::string&, int&)
{
    return eMediaNoQuery;
}

uint32_t CLinuxVolumeLayer::fileAttributes(const std::string& strPath)
{
    std::string strAnswer;
    const bool bInTime = probe(
        [&strPath]()
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
            return std::to_string(nAttr);
        },
        strAnswer);
    return bInTime ? static_cast<uint32_t>(strtoul(strAnswer.c_str(), nullptr, 10))
                   : uint32_t(eAttrNoAnswer);
}

bool CLinuxVolumeLayer::freeSpace(const std::string& strRoot, uint64_t& rnBytes)
{
    std::string strAnswer;
    const bool bInTime = probe(
        [&strRoot]()
        {
            struct statvfs st;
            if (statvfs(strRoot.c_str(), &st) != 0)
                return std::string();
            return std::to_string(static_cast<uint64_t>(st.f_bavail) * st.f_frsize);
        },
        strAnswer);
    if (!bInTime || strAnswer.empty())
        return false;
    rnBytes = strtoull(strAnswer.c_str(), nullptr, 10);
    return true;
}

bool CLinuxVolumeLayer::replaceFile(const std::string& strPath, const std::string& strTempPath,
                                    const void* pData, size_t nSize, std::string& strError)
{
    return CLinuxCardFile::replace(strPath, strTempPath, pData, nSize, strError);
}

std::map<std::string, std::string>
CLinuxVolumeLayer::udevProperties(const std::string& strDevNum) const
{
    std::map<std::string, std::string> mapProperties;
    std::ifstream in(m_strSystemRoot + "/run/udev/data/b" + strDevNum);
    std::string strLine;
    while (std::getline(in, strLine))
    {
        const size_t n = strLine.find('=');
        if (startsWith(strLine, "E:") && n != std::string::npos)
            mapProperties[strLine.substr(2, n - 2)] = strLine.substr(n + 1);
    }
    return mapProperties;
}

std::vector<CVolumeLayer::UnmountedCard> CLinuxVolumeLayer::unmountedCards()
{
    const std::vector<RawMount> aRaw = readMountInfo();
    std::set<std::string> setMounted;
    for (const RawMount& raw : aRaw)
        setMounted.insert(deviceDir(raw));
    std::set<std::string> setSystemDisks;
    bool bSystemKnown = false;

    std::vector<UnmountedCard> aCards;
    const std::string strClass = m_strSystemRoot + "/sys/class/block/";
    for (const std::string& strName : listDir(strClass))
    {
        const std::string strDir = canonical(strClass + strName);
        const std::string strDevNum = readFirstLine(strDir + "/dev");
        // udev's database says what the medium carries, without opening it;
        // a reader without a card has no medium and so no file system.
        std::map<std::string, std::string> mapUdev = udevProperties(strDevNum);
        if (strDir.empty() || setMounted.count(strDir) != 0 ||
            mapUdev["ID_FS_USAGE"] != "filesystem" ||
            !isOneOf(mapUdev["ID_FS_TYPE"], kCardFsTypes) || readFirstLine(strDir + "/size") == "0")
            continue;
        if (!bSystemKnown)
        {
            setSystemDisks = systemDisks(aRaw);
            bSystemKnown = true;
        }
        RawMount raw;
        raw.strSource = "/dev/" + strName;
        if (!judge(raw, strDir, setSystemDisks).empty())
            continue;
        const std::string strLabel = mapUdev.count("ID_FS_LABEL_ENC") != 0
                                         ? decodeHex(mapUdev["ID_FS_LABEL_ENC"])
                                         : mapUdev["ID_FS_LABEL"];
        aCards.push_back({raw.strSource, strLabel});
    }
    return aCards;
}

bool CLinuxVolumeLayer::mountCard(const std::string& strDevice, std::string& rstrRoot,
                                  std::string& rstrError)
{
    rstrRoot.clear();
    std::string strMountPoint, strMessage;
    switch (CUdisksClient::mount(strDevice, strMountPoint, strMessage))
    {
    case CUdisksClient::eOk:
        if (strMountPoint.empty() || strMountPoint.back() != '/')
            strMountPoint += "/";
        rstrRoot = strMountPoint;
        return true;
    case CUdisksClient::eNotRunning:
        rstrError = strDevice + " is not mounted, and no disk service runs to mount it.\n" +
                    "Please mount it by hand, for example with\nudisksctl mount -b " + strDevice;
        break;
    case CUdisksClient::eNotAuthorized:
        rstrError = "Mounting " + strDevice + " was not allowed.\n" + strMessage;
        break;
    case CUdisksClient::eUnknownDevice:
        rstrError = strDevice + " holds no file system that can be mounted.";
        break;
    default:
        rstrError = strDevice + " could not be mounted.\n" + strMessage;
        break;
    }
    return false;
}

bool CLinuxVolumeLayer::ejectCard(const std::string& strRoot, std::string& rstrError)
{
    const Mount* pMount = findOffered(strRoot);
    if (pMount == nullptr)
    {
        rstrError = strRoot + " is not a card that is mounted.";
        return false;
    }
    const std::string strDevice = "/dev/" + pMount->strDevice;
    const std::string strMountPoint = pMount->strMountPoint;
    std::string strMessage;
    switch (CUdisksClient::eject(strDevice, strMessage))
    {
    case CUdisksClient::eOk:
        return true;
    case CUdisksClient::eBusy:
        rstrError = strMountPoint + " is busy: a program still uses the card.\n" +
                    "Please close the files on it first.";
        break;
    case CUdisksClient::eNotRunning:
        rstrError = "No disk service runs to eject the card.\nPlease unmount it by hand, " +
                    std::string("for example with\numount ") + strMountPoint;
        break;
    case CUdisksClient::eNotAuthorized:
        rstrError = "Ejecting " + strDevice + " was not allowed.\n" + strMessage;
        break;
    default:
        rstrError = strDevice + " could not be ejected.\n" + strMessage;
        break;
    }
    return false;
}

bool CLinuxVolumeLayer::isMounted(const std::string& strRoot)
{
    for (const RawMount& raw : readMountInfo())
        if (raw.strMountPoint + (raw.strMountPoint == "/" ? "" : "/") == strRoot)
            return true;
    return false;
}

std::unique_ptr<CVolumeLayer> CVolumeLayer::createPlatform()
{
    // The system tests put a /proc, /sys, /dev and /run of their own here.
    const char* pszRoot = getenv("ZOLT_SYSTEM_ROOT");
    return std::make_unique<CLinuxVolumeLayer>(pszRoot ? pszRoot : "");
}
