// The volumes listing as one JSON object, for scripts.
#pragma once

#include "CZoltVolume.h"

#include <string>
#include <vector>

class CVolumesJson
{
public:
    // {"offered": [...], "notOffered": [...]}; bAll: also the network,
    // pseudo and system file systems among those not offered.
    static std::string build(CZoltVolume& rVolume, const std::vector<CZoltVolume::Entry>& aEntries,
                             bool bAll);
};
