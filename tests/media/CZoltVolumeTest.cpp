// The two volume choices over a scripted volume layer whose drive roots are
// real folders.
#include "CZoltVolume.h"
#include "CAssertRecorder.h"
#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

namespace
{
const wxString kNoFile =
    "Can't find the file|No configuration file found!\nPlease insert a micro SD card first.";
const wxString kNoMedia =
    "Can't write the file|No media found!\nPlease insert a micro SD card first.";
const wxString kProtected = "Can't write to this volume|The volume is write protected.\n"
                            "Please remove the write protection first.";
const wxString kCompressed =
    "Can't write to this volume|Volume is compressed.\nPlease use an uncompressed media.";
using Texts = std::vector<wxString>;

class ZoltVolumeTest : public ::testing::Test
{
protected:
    // A drive in slot nSlot whose root is a real folder, optionally holding ZOLT.CFG.
    CFakeVolumeLayer::Drive& addDrive(size_t nSlot, bool bWithFile)
    {
        const std::string strDir = "drive" + std::to_string(nSlot);
        EXPECT_TRUE(bWithFile ? m_dir.write(strDir + "/ZOLT.CFG", "x")
                              : CTempDir::makeDirs(m_dir.file(strDir)));
        return m_layer.setDrive(nSlot, m_dir.file(strDir) + "/");
    }
    wxString root(size_t nSlot) const
    {
        return wxString::FromUTF8(m_dir.file("drive" + std::to_string(nSlot)) + "/");
    }
    // Both choices, each answered with nAnswer; the roots chosen.
    Texts select(int nAnswer = 0)
    {
        CZoltVolume volume(m_layer);
        m_prompter.answerIndex(nAnswer);
        m_prompter.answerIndex(nAnswer);
        return {volume.selectReadVolume(m_prompter), volume.selectWriteVolume(m_prompter)};
    }
    // Each report as "title|text".
    Texts reports() const
    {
        Texts astr;
        for (const CScriptedPrompter::Report& r : m_prompter.getReports())
            astr.push_back(r.strTitle + "|" + r.strText);
        return astr;
    }
    Texts offered(size_t nChoice) const
    {
        const wxArrayString& astr = m_prompter.getChoices().at(nChoice).astrChoices;
        return Texts(astr.begin(), astr.end());
    }

    CTempDir m_dir;
    CFakeVolumeLayer m_layer;
    CScriptedPrompter m_prompter;
    CAssertRecorder m_asserts;
};
} // namespace

TEST_F(ZoltVolumeTest, WithoutACardBothChoicesSaySoAndACancelChoosesNothingSilently)
{
    addDrive(2, true).bRemovable = false; // a fixed disk that holds the file
    addDrive(3, true).bInfoOk = false;    // and a reader without a card
    EXPECT_EQ(CZoltVolume(m_layer).enumVolumes(), 1u << 3);
    EXPECT_EQ(select(), Texts(2));
    EXPECT_EQ(reports(), (Texts{kNoFile, kNoMedia}));
    EXPECT_TRUE(m_prompter.getChoices().empty());
    addDrive(0, true);
    for (int nAnswer : {-1, 1}) // an answer outside the list asserts
    {
        CAssertRecorder asserts;
        m_prompter.clear();
        EXPECT_EQ(select(nAnswer), Texts(2));
        EXPECT_EQ(asserts.getAsserts().size(), nAnswer < 0 ? 0u : 2u);
        EXPECT_TRUE(reports().empty());
    }
}

TEST_F(ZoltVolumeTest, ReadingOffersCardsHoldingTheFileWritingEveryCard)
{
    addDrive(0, false);
    addDrive(1, true).info.strLabel = "K\xC3\xA4rtchen";
    addDrive(4, true).info.strLabel = "\xE4t"; // not UTF-8: shown as Latin-1
    addDrive(5, false).bInfoOk = false;
    CTempDir::makeDirs(m_dir.file("drive7/ZOLT.CFG")); // a folder is not the file
    m_layer.setDrive(7, m_dir.file("drive7") + "/");
    addDrive(31, true); // the last slot there is
    EXPECT_EQ(CZoltVolume(m_layer).enumVolumes(), 0x800000B3u);

    m_prompter.answerIndex(2);
    m_prompter.answerIndex(3);
    CZoltVolume volume(m_layer);
    EXPECT_EQ(volume.selectReadVolume(m_prompter), root(31));
    EXPECT_EQ(volume.selectWriteVolume(m_prompter), root(7));
    const wxString strLabelled = root(1) + " (name: " + wxString::FromUTF8("K\xC3\xA4rtchen") + ")";
    const wxString strLatin = root(4) + " (name: " + wxString::FromUTF8("\xC3\xA4t") + ")";
    EXPECT_EQ(offered(0), (Texts{strLabelled, strLatin, root(31)}));
    EXPECT_EQ(offered(1), (Texts{root(0), strLabelled, strLatin, root(7), root(31)}));
    for (const CScriptedPrompter::Choice& choice : m_prompter.getChoices())
        EXPECT_EQ(choice.strMessage, "Select a micro SD card drive");
    EXPECT_EQ(m_prompter.getChoices()[0].strCaption, "Read Settings");
    EXPECT_EQ(m_prompter.getChoices()[1].strCaption, "Write Settings");
    EXPECT_TRUE(reports().empty());
}

TEST_F(ZoltVolumeTest, VolumeStatesGiveMarkersAndRefuseOnlyTheWrite)
{
    const struct
    {
        bool bReadOnly, bCompressed;
        const char* pszMarker;
        Texts astrReports;
    } aCases[] = {
        {false, false, "", {}},
        {true, false, " [write protected]", {kProtected}},
        {false, true, " [compressed]", {kCompressed}},
        {true, true, " [write protected]", {kProtected}}, // write protection wins
    };
    for (const auto& c : aCases)
    {
        CFakeVolumeLayer::Drive& drive = addDrive(1, true);
        drive.info.bReadOnly = c.bReadOnly;
        drive.info.bCompressed = c.bCompressed;
        m_prompter.clear();
        EXPECT_EQ(select(), (Texts{root(1), c.astrReports.empty() ? root(1) : ""}));
        EXPECT_EQ(offered(0), offered(1));
        EXPECT_EQ(offered(0), Texts{root(1) + c.pszMarker});
        EXPECT_EQ(reports(), c.astrReports);
    }
}

TEST_F(ZoltVolumeTest, MediaCheckIsMadeOnceAndItsVerdictKept)
{
    CFakeVolumeLayer::Drive& floppy = addDrive(0, true);
    floppy.eMedia = CVolumeLayer::eMediaReported;
    floppy.nMediaType = 5;                                    // a floppy format
    addDrive(2, false).eMedia = CVolumeLayer::eMediaReported; // removable media
    addDrive(3, false).eMedia = CVolumeLayer::eMediaFailed;
    addDrive(4, false).bRemovable = false;
    CZoltVolume volume(m_layer);
    EXPECT_EQ(volume.enumVolumes(), (1u << 2) | (1u << 3));
    // Media that change later are not asked about again.
    floppy.nMediaType = CVolumeLayer::kRemovableMedia;
    CFakeVolumeLayer::Drive& late = addDrive(6, true);
    late.eMedia = CVolumeLayer::eMediaReported;
    late.nMediaType = 5;
    EXPECT_EQ(volume.enumVolumes(), (1u << 2) | (1u << 3) | (1u << 6));
    m_prompter.answerIndex(0);
    EXPECT_EQ(volume.selectReadVolume(m_prompter), root(6));
    EXPECT_EQ(CZoltVolume(m_layer).enumVolumes(), (1u << 0) | (1u << 2) | (1u << 3));
}

TEST_F(ZoltVolumeTest, CardTakenOutDuringTheWriteChoiceIsNotWrittenTo)
{
    const std::string strRoot = m_dir.file("drive3/");
    const std::function<void()> afnPull[] = {
        [&] { m_layer.setDrive(3, ""); },                      // unmounted, its folder left behind
        [&] { m_layer.setDrive(3, strRoot).bInfoOk = false; }, // medium gone
        [&] { m_layer.setDrive(3, strRoot).bRemovable = false; },
        [] {},
    };
    for (const auto& fnPull : afnPull)
    {
        addDrive(3, false);
        m_prompter.clear();
        m_prompter.whileChoosing(fnPull);
        m_prompter.answerIndex(0);
        const bool bStays = &fnPull == &afnPull[3];
        EXPECT_EQ(CZoltVolume(m_layer).selectWriteVolume(m_prompter), bStays ? root(3) : "");
        EXPECT_EQ(reports(), bStays ? Texts() : Texts{kNoMedia});
    }
}

TEST_F(ZoltVolumeTest, ACardThatIsNotMountedIsOfferedAndMountedWhenChosen)
{
    const struct
    {
        bool bRead, bMounts, bWithFile;
        Texts astrReports; // none: the card's new root is the answer
    } aCases[] = {
        {false, true, false, {}},
        {true, true, true, {}},
        {true, true, false, {kNoFile}},
        {false, false, false, {"Can't write the file|refused"}},
        {true, false, true, {"Can't read the file|refused"}},
    };
    for (size_t i = 0; i < std::size(aCases); ++i)
    {
        const auto& c = aCases[i];
        CFakeVolumeLayer layer;
        // A mounted card comes first, and is never read from.
        CTempDir::makeDirs(m_dir.file("mounted"));
        layer.setDrive(0, m_dir.file("mounted") + "/");
        const std::string strCard = "card" + std::to_string(i);
        const std::string strRoot = m_dir.file(strCard) + "/";
        ASSERT_TRUE(c.bWithFile ? m_dir.write(strCard + "/ZOLT.CFG", "x")
                                : CTempDir::makeDirs(strRoot));
        const std::string strDevice = "/dev/sdz" + std::to_string(i);
        layer.addUnmounted(strDevice, "CARD", c.bMounts ? strRoot : "");
        CZoltVolume volume(layer);
        m_prompter.clear();
        m_prompter.answerIndex(c.bRead ? 0 : 1);
        const wxString strChosen =
            c.bRead ? volume.selectReadVolume(m_prompter) : volume.selectWriteVolume(m_prompter);
        EXPECT_EQ(offered(0).back(), strDevice + " (name: CARD) (not mounted)");
        EXPECT_EQ(offered(0).size(), c.bRead ? 1u : 2u);
        EXPECT_EQ(reports(), c.astrReports) << i;
        EXPECT_EQ(strChosen, c.astrReports.empty() ? wxString::FromUTF8(strRoot) : wxString());
        EXPECT_EQ(layer.isMounted(strRoot), c.bMounts);
    }
}
