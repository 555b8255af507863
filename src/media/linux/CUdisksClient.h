// The few requests made to udisks2, the desktop's disk service, over the
// system bus: mount a card's file system as the file manager would (udisks2
// asks polkit, so no root is needed), and unmount it and power its drive off
// so that it can be pulled safely. Devices are named by their /dev path.
#pragma once

#include <string>

class CUdisksClient
{
public:
    enum EResult
    {
        eOk,
        eNotRunning,    // no system bus, or no udisks2 on it
        eUnknownDevice, // udisks2 does not know the device, or it has no file system
        eNotAuthorized, // polkit said no
        eBusy,          // a program still uses the file system
        eFailed,
    };

    // rstrMountPoint: where it was mounted. rstrMessage: udisks2's own words
    // on failure.
    static EResult mount(const std::string& strDevice, std::string& rstrMountPoint,
                         std::string& rstrMessage);
    // Unmounts the file system on strDevice, then powers its drive off where
    // the drive allows it; a drive that cannot be powered off is still safe to
    // pull once unmounted.
    static EResult eject(const std::string& strDevice, std::string& rstrMessage);
};
