// Moves the 1 MiB card image between memory and ZOLT.CFG in the root of the
// card the user chooses. Every failure is told to the user here; the caller
// only learns true or false.
#pragma once

#include "CDataCard.h"
#include "CPrompter.h"
#include "CZoltVolume.h"

#include <string>

class CFileCard
{
public:
    // The new image goes here first, in the card's root, and replaces
    // ZOLT.CFG only once it is known to be on the card whole. A short name
    // suits every FAT flavour.
    static const char* const kTempFileName; // "ZOLTCFG.TMP"

    // On the platform's own volume layer.
    CFileCard();
    explicit CFileCard(CVolumeLayer& rLayer);
    virtual ~CFileCard();

    // True: the image now holds the file. False: nothing usable was read and
    // the user has been told why, or cancelled.
    bool read(CDataCard& rDataCard, CPrompter& rPrompter);
    // True: the whole image is on the card. Otherwise the old ZOLT.CFG is as
    // it was, and the user has been told why or cancelled.
    bool write(const CDataCard& rDataCard, CPrompter& rPrompter);

    // Whether the card last read from or written to is still mounted.
    bool canEject();
    // Unmounts that card and powers it off; false when the user has been
    // told why not, or there is no such card.
    bool eject(CPrompter& rPrompter);
    // Root of the card last read from or written to, or empty.
    const wxString& getCardRoot() const { return m_strCardRoot; }

    CZoltVolume& getVolume() { return m_volume; }
    // ZOLT.CFG on the card chosen last, or empty when none was chosen.
    const wxString& getPath() const { return m_strPath; }
    // Why the last write to the card failed, in plain words; empty when the
    // failure was one of the checks or there was none.
    const std::string& getLastError() const { return m_strLastError; }

private:
    CZoltVolume m_volume;
    wxString m_strPath;
    wxString m_strCardRoot;
    std::string m_strLastError;
};
