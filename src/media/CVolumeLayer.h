// The operating system's side of card access: which drives exist, what their
// volumes are like, the attributes of a file on them and the one write that
// must never leave a damaged file. CZoltVolume and CFileCard are written once
// over this interface; each platform brings its own implementation, tests a
// scripted one. Paths are UTF-8; no toolkit header may be included here, so
// that the Windows implementation builds on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CVolumeLayer
{
public:
    // A drive slot i stands for bit i of a drive mask (drive letter 'A' + i on
    // Windows), so there are at most 32 slots.
    static constexpr size_t kMaxDrives = 32;

    // File attribute bits, with the values Windows gives them.
    enum EFileAttribute : uint32_t
    {
        eAttrReadOnly = 0x0001,
        eAttrHidden = 0x0002,
        eAttrSystem = 0x0004,
        eAttrCompressed = 0x0800,
        eAttrEncrypted = 0x4000,
        // Not a file attribute: the volume did not answer in time.
        eAttrNoAnswer = 0x80000000,
    };

    enum EMediaQuery
    {
        eMediaNoQuery,  // the platform cannot ask a device for its media
        eMediaFailed,   // the device could not be opened or did not answer
        eMediaReported, // the first media type is in rnType
    };

    // Media type a card reader reports for a removable medium.
    static constexpr int kRemovableMedia = 11;

    struct VolumeInfo
    {
        std::string strLabel; // empty when the volume has none
        bool bReadOnly = false;
        bool bCompressed = false;
    };

    // A place that was looked at but is not offered as a drive, and why.
    struct NotOffered
    {
        std::string strPlace;
        std::string strReason;
        bool bCardFileSystem; // false: a network, pseudo or system file system
    };

    // A card in a reader that carries a file system but is not mounted.
    struct UnmountedCard
    {
        std::string strDevice; // e.g. /dev/sdb1
        std::string strLabel;  // empty when the volume has none
    };

    virtual ~CVolumeLayer() = default;

    // The platform's own implementation.
    static std::unique_ptr<CVolumeLayer> createPlatform();

    // Slot i holds the root of drive i (ending in the path separator), or is
    // empty when there is no drive i. At most kMaxDrives slots.
    virtual std::vector<std::string> drives() = 0;
    virtual bool isRemovable(const std::string& strRoot) = 0;
    // False when the volume cannot be asked, as for a reader without a card;
    // never shows a system dialog.
    virtual bool volumeInfo(const std::string& strRoot, VolumeInfo& rInfo) = 0;
    virtual EMediaQuery mediaType(const std::string& strRoot, int& rnType) = 0;
    // The EFileAttribute bits of the file; 0 when the query fails.
    virtual uint32_t fileAttributes(const std::string& strPath) = 0;
    virtual bool freeSpace(const std::string& strRoot, uint64_t& rnBytes) = 0;

    // Puts the data into strPath through strTempPath (same directory): any
    // stale strTempPath is removed, the data is written there, flushed to the
    // device, read back and compared, and only then moved over strPath. False
    // leaves strPath as it was and strTempPath gone; strError then says why.
    virtual bool replaceFile(const std::string& strPath, const std::string& strTempPath,
                             const void* pData, size_t nSize, std::string& strError) = 0;

    // What drives() passed over, and why (for diagnostics).
    virtual std::vector<NotOffered> notOffered() { return {}; }

    // Runs fnProbe, which touches a volume, and answers whether it finished
    // in time; rstrAnswer is then what it returned. Where a dead volume can
    // hang a call for good, the probe runs apart from the program and is
    // left behind when time runs out, so its answer is all it can give back.
    virtual bool probe(const std::function<std::string()>& fnProbe, std::string& rstrAnswer)
    {
        rstrAnswer = fnProbe();
        return true;
    }
    // Told true before waiting for a probe that takes long, false after.
    void setWaitNotice(std::function<void(bool)> fnNotice) { m_fnWaitNotice = std::move(fnNotice); }

    virtual std::vector<UnmountedCard> unmountedCards() { return {}; }
    // Mounts the card as the desktop's file manager would; rstrRoot is then
    // its root. False: rstrError tells the user why, or how to do it by hand.
    virtual bool mountCard(const std::string& strDevice, std::string& rstrRoot,
                           std::string& rstrError)
    {
        rstrRoot.clear();
        rstrError = strDevice + " is not mounted.\nPlease mount it first.";
        return false;
    }
    // Unmounts the volume at strRoot and powers its device off, so that the
    // card can be pulled. False: rstrError tells the user why.
    virtual bool ejectCard(const std::string& strRoot, std::string& rstrError)
    {
        rstrError = strRoot + " cannot be ejected here.\nPlease use the system's own tools.";
        return false;
    }
    // Whether a volume is mounted at strRoot; cheap, and never touches it.
    virtual bool isMounted(const std::string&) { return false; }

protected:
    std::function<void(bool)> m_fnWaitNotice;
};
