#include "CVolumesJson.h"

#include <nlohmann/json.hpp>

std::string CVolumesJson::build(CZoltVolume& rVolume,
                                const std::vector<CZoltVolume::Entry>& aEntries, bool bAll)
{
    nlohmann::json offered = nlohmann::json::array();
    for (const CZoltVolume::Entry& entry : aEntries)
    {
        const bool bMounted = entry.strDevice.empty();
        offered.push_back({
            {"entry", CZoltVolume::toLayer(entry.strEntry)},
            {"root", bMounted ? nlohmann::json(CZoltVolume::toLayer(entry.strRoot)) : nullptr},
            {"device", bMounted ? nullptr : nlohmann::json(entry.strDevice)},
            {"mounted", bMounted},
            {"writeProtected", entry.bWriteProtected},
            {"compressed", entry.bCompressed},
            {"holdsConfigFile", bMounted && rVolume.holdsConfigFile(entry.strRoot)},
        });
    }
    nlohmann::json notOffered = nlohmann::json::array();
    for (const CVolumeLayer::NotOffered& n : rVolume.getLayer().notOffered())
        if (bAll || n.bCardFileSystem)
            notOffered.push_back({{"place", n.strPlace},
                                  {"reason", n.strReason},
                                  {"cardFileSystem", n.bCardFileSystem}});
    // Mount points need not be valid UTF-8; such bytes are replaced.
    return nlohmann::json{{"offered", offered}, {"notOffered", notOffered}}.dump(
               2, ' ', false, nlohmann::json::error_handler_t::replace) +
           "\n";
}
