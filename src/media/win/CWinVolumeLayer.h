// Drives on Windows: the logical drive letters, their drive types, volume
// information and media types, straight from the system's volume and device
// services. Slot i is drive letter 'A' + i.
#pragma once

#include "CVolumeLayer.h"

class CWinVolumeLayer : public CVolumeLayer
{
public:
    std::vector<std::string> drives() override;
    bool isRemovable(const std::string& strRoot) override;
    bool volumeInfo(const std::string& strRoot, VolumeInfo& rInfo) override;
    EMediaQuery mediaType(const std::string& strRoot, int& rnType) override;
    uint32_t fileAttributes(const std::string& strPath) override;
    bool freeSpace(const std::string& strRoot, uint64_t& rnBytes) override;
    bool replaceFile(const std::string& strPath, const std::string& strTempPath, const void* pData,
                     size_t nSize, std::string& strError) override;
    std::vector<NotOffered> notOffered() override;
};
