// Finds the volumes that may hold the station's card, describes each for the
// user and runs the two choices: one to read ZOLT.CFG from (only volumes that
// hold it) and one to write it to (write-protected and compressed volumes are
// refused). Both answer the chosen volume's root, or empty when there is
// nothing to do: the user cancelled or has been told why.
#pragma once

#include "CPrompter.h"
#include "CVolumeLayer.h"

#include <wx/string.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CZoltVolume
{
public:
    static const char* const kConfigFileName; // "ZOLT.CFG"

    // One line of a choice, with the root it stands for and the state that
    // decides whether it may be written to.
    struct Entry
    {
        wxString strEntry;
        wxString strRoot;
        bool bWriteProtected;
        bool bCompressed;
        std::string strDevice; // a card that is not mounted yet; strRoot is then empty
    };

    // On the platform's own volume layer.
    CZoltVolume();
    explicit CZoltVolume(CVolumeLayer& rLayer);
    virtual ~CZoltVolume();
    CZoltVolume(const CZoltVolume&) = delete;
    CZoltVolume& operator=(const CZoltVolume&) = delete;

    // Bit i set: drive slot i may hold a card.
    uint32_t enumVolumes();
    wxString selectReadVolume(CPrompter& rPrompter);
    wxString selectWriteVolume(CPrompter& rPrompter);

    // What a choice offers, in drive order: the volumes whose information
    // can be read, with bNeedFile only those that hold ZOLT.CFG; then the
    // cards that are not mounted, which may hold it.
    std::vector<Entry> listVolumes(bool bNeedFile);
    // Whether ZOLT.CFG is in the root, asked within the layer's time limit.
    bool holdsConfigFile(const wxString& strRoot);
    // Whether the volume at strRoot is still offered and answers.
    bool isAvailable(const wxString& strRoot);
    static wxString makeEntry(const wxString& strRoot, const CVolumeLayer::VolumeInfo& rInfo);

    CVolumeLayer& getLayer() { return m_rLayer; }

    static wxString fromLayer(const std::string& str);
    static std::string toLayer(const wxString& str);

private:
    uint32_t enumVolumes(std::vector<std::string>& rastrRoots);
    int choose(CPrompter& rPrompter, const wxString& strCaption,
               const std::vector<Entry>& aEntries);
    // Mounts the chosen card that is not mounted; rEntry then describes it
    // as mounted. False when the user has been told why not.
    bool mountChosen(CPrompter& rPrompter, bool bNeedFile, Entry& rEntry);

    std::unique_ptr<CVolumeLayer> m_pOwnLayer;
    CVolumeLayer& m_rLayer;
    uint32_t m_nExcludedDrives;
    bool m_bMediaChecked;
};
