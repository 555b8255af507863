#include "CZoltVolume.h"

#include <wx/debug.h>
#include <wx/filename.h>
#include <wx/log.h>

const char* const CZoltVolume::kConfigFileName = "ZOLT.CFG";

CZoltVolume::CZoltVolume()
    : m_pOwnLayer(CVolumeLayer::createPlatform()), m_rLayer(*m_pOwnLayer), m_nExcludedDrives(0),
      m_bMediaChecked(false)
{
}

CZoltVolume::CZoltVolume(CVolumeLayer& rLayer)
    : m_rLayer(rLayer), m_nExcludedDrives(0), m_bMediaChecked(false)
{
}

CZoltVolume::~CZoltVolume() = default;

wxString CZoltVolume::fromLayer(const std::string& str)
{
    wxString strOut = wxString::FromUTF8(str.c_str(), str.size());
    // A label in a legacy code page is still shown rather than dropped.
    if (strOut.empty() && !str.empty())
        strOut = wxString(str.c_str(), wxConvISO8859_1, str.size());
    return strOut;
}

std::string CZoltVolume::toLayer(const wxString& str)
{
    const wxScopedCharBuffer utf8 = str.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

uint32_t CZoltVolume::enumVolumes()
{
    std::vector<std::string> astrRoots;
    return enumVolumes(astrRoots);
}

uint32_t CZoltVolume::enumVolumes(std::vector<std::string>& rastrRoots)
{
    rastrRoots = m_rLayer.drives();
    wxASSERT_MSG(rastrRoots.size() <= CVolumeLayer::kMaxDrives,
                 "rastrRoots.size() <= CVolumeLayer::kMaxDrives");
    if (rastrRoots.size() > CVolumeLayer::kMaxDrives)
        rastrRoots.resize(CVolumeLayer::kMaxDrives);

    uint32_t nMask = 0;
    for (size_t i = 0; i < rastrRoots.size(); ++i)
        if (!rastrRoots[i].empty() && m_rLayer.isRemovable(rastrRoots[i]))
            nMask |= uint32_t(1) << i;

    // Asking a device for its media is slow and its answer does not change
    // while the reader is attached, so it is asked once.
    if (!m_bMediaChecked)
    {
        for (size_t i = 0; i < rastrRoots.size(); ++i)
        {
            if ((nMask & (uint32_t(1) << i)) == 0)
                continue;
            int nType = 0;
            if (m_rLayer.mediaType(rastrRoots[i], nType) == CVolumeLayer::eMediaReported &&
                nType != CVolumeLayer::kRemovableMedia)
            {
                wxLogDebug("%d", nType);
                m_nExcludedDrives |= uint32_t(1) << i;
            }
        }
        m_bMediaChecked = true;
    }
    return nMask & ~m_nExcludedDrives;
}

wxString CZoltVolume::makeEntry(const wxString& strRoot, const CVolumeLayer::VolumeInfo& rInfo)
{
    wxString strEntry = strRoot;
    if (!rInfo.strLabel.empty())
        strEntry += " (name: " + fromLayer(rInfo.strLabel) + ")";
    if (rInfo.bReadOnly)
        strEntry += " [write protected]";
    else if (rInfo.bCompressed)
        strEntry += " [compressed]";
    return strEntry;
}

std::vector<CZoltVolume::Entry> CZoltVolume::listVolumes(bool bNeedFile)
{
    std::vector<std::string> astrRoots;
    const uint32_t nMask = enumVolumes(astrRoots);
    std::vector<Entry> aEntries;
    for (size_t i = 0; i < astrRoots.size(); ++i)
    {
        if ((nMask & (uint32_t(1) << i)) == 0)
            continue;
        CVolumeLayer::VolumeInfo info;
        if (!m_rLayer.volumeInfo(astrRoots[i], info))
            continue; // a reader without a card
        const wxString strRoot = fromLayer(astrRoots[i]);
        if (bNeedFile && !holdsConfigFile(strRoot))
            continue;
        aEntries.push_back({makeEntry(strRoot, info), strRoot, info.bReadOnly,
                            !info.bReadOnly && info.bCompressed, std::string()});
    }
    for (const CVolumeLayer::UnmountedCard& card : m_rLayer.unmountedCards())
    {
        wxString strEntry = fromLayer(card.strDevice);
        if (!card.strLabel.empty())
            strEntry += " (name: " + fromLayer(card.strLabel) + ")";
        aEntries.push_back({strEntry + " (not mounted)", wxString(), false, false, card.strDevice});
    }
    return aEntries;
}

bool CZoltVolume::holdsConfigFile(const wxString& strRoot)
{
    const wxString strPath = strRoot + kConfigFileName;
    std::string strAnswer;
    return m_rLayer.probe([&strPath]()
                          { return std::string(wxFileName::FileExists(strPath) ? "1" : "0"); },
                          strAnswer) &&
           strAnswer == "1";
}

bool CZoltVolume::mountChosen(CPrompter& rPrompter, bool bNeedFile, Entry& rEntry)
{
    const wxString strTitle = bNeedFile ? "Can't read the file" : "Can't write the file";
    std::string strRoot, strError;
    if (!m_rLayer.mountCard(rEntry.strDevice, strRoot, strError))
    {
        rPrompter.report(strTitle, fromLayer(strError));
        return false;
    }
    for (const Entry& entry : listVolumes(bNeedFile))
    {
        if (entry.strDevice.empty() && entry.strRoot == fromLayer(strRoot))
        {
            rEntry = entry;
            return true;
        }
    }
    if (bNeedFile)
        rPrompter.report("Can't find the file",
                         "No configuration file found!\nPlease insert a micro SD card first.");
    else
        rPrompter.report("Can't write the file",
                         "No media found!\nPlease insert a micro SD card first.");
    return false;
}

int CZoltVolume::choose(CPrompter& rPrompter, const wxString& strCaption,
                        const std::vector<Entry>& aEntries)
{
    wxArrayString astrChoices;
    for (const Entry& entry : aEntries)
        astrChoices.Add(entry.strEntry);
    const int nChoice =
        rPrompter.chooseIndex("Select a micro SD card drive", strCaption, astrChoices);
    wxCHECK_MSG(nChoice < static_cast<int>(aEntries.size()), -1,
                "nChoice < static_cast<int>(aEntries.size())");
    return nChoice;
}

bool CZoltVolume::isAvailable(const wxString& strRoot)
{
    std::vector<std::string> astrRoots;
    const uint32_t nMask = enumVolumes(astrRoots);
    const std::string strWanted = toLayer(strRoot);
    for (size_t i = 0; i < astrRoots.size(); ++i)
    {
        CVolumeLayer::VolumeInfo info;
        if ((nMask & (uint32_t(1) << i)) != 0 && astrRoots[i] == strWanted)
            return m_rLayer.volumeInfo(astrRoots[i], info);
    }
    return false;
}

wxString CZoltVolume::selectReadVolume(CPrompter& rPrompter)
{
    const std::vector<Entry> aEntries = listVolumes(true);
    if (aEntries.empty())
    {
        rPrompter.report("Can't find the file",
                         "No configuration file found!\nPlease insert a micro SD card first.");
        return wxString();
    }
    const int nChoice = choose(rPrompter, "Read Settings", aEntries);
    if (nChoice < 0)
        return wxString();
    Entry entry = aEntries[nChoice];
    if (!entry.strDevice.empty() && !mountChosen(rPrompter, true, entry))
        return wxString();
    return entry.strRoot;
}

wxString CZoltVolume::selectWriteVolume(CPrompter& rPrompter)
{
    const std::vector<Entry> aEntries = listVolumes(false);
    if (aEntries.empty())
    {
        rPrompter.report("Can't write the file",
                         "No media found!\nPlease insert a micro SD card first.");
        return wxString();
    }
    const int nChoice = choose(rPrompter, "Write Settings", aEntries);
    if (nChoice < 0)
        return wxString();
    Entry entry = aEntries[nChoice];
    if (!entry.strDevice.empty() && !mountChosen(rPrompter, false, entry))
        return wxString();
    if (entry.bWriteProtected)
    {
        rPrompter.report(
            "Can't write to this volume",
            "The volume is write protected.\nPlease remove the write protection first.");
        return wxString();
    }
    if (entry.bCompressed)
    {
        rPrompter.report("Can't write to this volume",
                         "Volume is compressed.\nPlease use an uncompressed media.");
        return wxString();
    }
    // The card may have been taken out while the choice was open; the
    // folder it was mounted on must not receive the file instead.
    if (!isAvailable(entry.strRoot))
    {
        rPrompter.report("Can't write the file",
                         "No media found!\nPlease insert a micro SD card first.");
        return wxString();
    }
    return entry.strRoot;
}
