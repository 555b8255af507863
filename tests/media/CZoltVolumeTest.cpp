// The two volume choices over a scripted volume layer whose drive roots are
// real folders.
#include "CZoltVolume.h"
#include "CAssertRecorder.h"
#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
const wxString kProtected = "Can't write to this volume|The volume is write protected.\n"
                            "Please remove the write protection first.";
const wxString kCompressed =
    "Can't write to this volume|Volume is compressed.\nPlease use an uncompressed media.";

class ZoltVolumeTest : public ::testing::Test
{
protected:
    // A drive in slot nSlot whose root is a real folder, optionally holding ZOLT.CFG.
    CFakeVolumeLayer::Drive& addDrive(size_t nSlot, bool bWithFile)
    {
        const std::string strDir = m_dir.file("drive" + std::to_string(nSlot));
        EXPECT_TRUE(bWithFile ? m_dir.write("drive" + std::to_string(nSlot) + "/ZOLT.CFG", "x")
                              : CTempDir::makeDirs(strDir));
        return m_layer.setDrive(nSlot, strDir + "/");
    }
    wxString root(size_t nSlot) const
    {
        return wxString::FromUTF8(m_dir.file("drive" + std::to_string(nSlot)) + "/");
    }
    // Each report as "title|text".
    std::vector<wxString> reports() const
    {
        std::vector<wxString> astr;
        for (const CScriptedPrompter::Report& r : m_prompter.getReports())
            astr.push_back(r.strTitle + "|" + r.strText);
        return astr;
    }
    std::vector<wxString> offered(size_t nChoice) const
    {
        const wxArrayString& astr = m_prompter.getChoices().at(nChoice).astrChoices;
        return std::vector<wxString>(astr.begin(), astr.end());
    }

    CTempDir m_dir;
    CFakeVolumeLayer m_layer;
    CScriptedPrompter m_prompter;
    CAssertRecorder m_asserts;
};
} // namespace

TEST_F(ZoltVolumeTest, WithoutACardBothChoicesSaySoAndAskNothing)
{
    addDrive(2, true).bRemovable = false; // a fixed disk that holds the file
    for (uint32_t nMask : {0u, 1u << 3})
    {
        if (nMask != 0)
            addDrive(3, true).bInfoOk = false; // and a reader without a card
        CZoltVolume volume(m_layer);
        m_prompter.clear();
        EXPECT_EQ(volume.enumVolumes(), nMask);
        EXPECT_TRUE(volume.selectReadVolume(m_prompter).empty());
        EXPECT_TRUE(volume.selectWriteVolume(m_prompter).empty());
        EXPECT_EQ(reports(), (std::vector<wxString>{
                                 "Can't find the file|No configuration file found!\n"
                                 "Please insert a micro SD card first.",
                                 "Can't write the file|No media found!\nPlease insert a micro SD "
                                 "card first."}));
        EXPECT_TRUE(m_prompter.getChoices().empty());
    }
}

TEST_F(ZoltVolumeTest, ReadingOffersCardsHoldingTheFileWritingEveryCard)
{
    addDrive(0, false);
    addDrive(1, true).info.strLabel = "K\xC3\xA4rtchen";
    addDrive(4, true);
    addDrive(5, false).bInfoOk = false;
    CTempDir::makeDirs(m_dir.file("drive7/ZOLT.CFG")); // a folder is not the file
    m_layer.setDrive(7, m_dir.file("drive7") + "/");
    addDrive(31, true); // the last slot there is
    CZoltVolume volume(m_layer);
    EXPECT_EQ(volume.enumVolumes(), 0x800000B3u); // slots 0, 1, 4, 5, 7 and 31

    m_prompter.answerIndex(2);
    m_prompter.answerIndex(3);
    EXPECT_EQ(volume.selectReadVolume(m_prompter), root(31));
    EXPECT_EQ(volume.selectWriteVolume(m_prompter), root(7));
    const wxString strLabelled = root(1) + " (name: " + wxString::FromUTF8("K\xC3\xA4rtchen") + ")";
    EXPECT_EQ(offered(0), (std::vector<wxString>{strLabelled, root(4), root(31)}));
    EXPECT_EQ(offered(1),
              (std::vector<wxString>{root(0), strLabelled, root(4), root(7), root(31)}));
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
        bool bReadOnly;
        bool bCompressed;
        const char* pszMarker;
        std::vector<wxString> astrReports;
    } aCases[] = {
        {false, false, "", {}},
        {true, false, " [write protected]", {kProtected}},
        {false, true, " [compressed]", {kCompressed}},
        {true, true, " [write protected]", {kProtected}}, // write protection wins
    };
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.pszMarker);
        CFakeVolumeLayer::Drive& drive = addDrive(1, true);
        drive.info.bReadOnly = c.bReadOnly;
        drive.info.bCompressed = c.bCompressed;
        CZoltVolume volume(m_layer);
        m_prompter.clear();
        m_prompter.answerIndex(0);
        m_prompter.answerIndex(0);
        EXPECT_EQ(volume.selectReadVolume(m_prompter), root(1));
        EXPECT_EQ(volume.selectWriteVolume(m_prompter), c.astrReports.empty() ? root(1) : "");
        EXPECT_EQ(offered(0)[0], root(1) + c.pszMarker);
        EXPECT_EQ(offered(1)[0], root(1) + c.pszMarker);
        EXPECT_EQ(reports(), c.astrReports);
    }
}

TEST_F(ZoltVolumeTest, CancelOrAnswerOutsideTheListChoosesNothingSilently)
{
    addDrive(0, true);
    for (int nAnswer : {-1, 1})
    {
        CZoltVolume volume(m_layer);
        CAssertRecorder asserts;
        m_prompter.answerIndex(nAnswer);
        m_prompter.answerIndex(nAnswer);
        EXPECT_TRUE(volume.selectReadVolume(m_prompter).empty());
        EXPECT_TRUE(volume.selectWriteVolume(m_prompter).empty());
        EXPECT_EQ(asserts.getAsserts().size(), nAnswer < 0 ? 0u : 2u);
    }
    EXPECT_TRUE(reports().empty());
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
    // The prompter changes the drive while its choice is open.
    struct CPullingPrompter : CScriptedPrompter
    {
        std::function<void()> pull;
        int chooseIndex(const wxString& strMessage, const wxString& strCaption,
                        const wxArrayString& astrChoices) override
        {
            pull();
            return CScriptedPrompter::chooseIndex(strMessage, strCaption, astrChoices);
        }
    };
    const std::string strRoot = m_dir.file("drive3/");
    const struct
    {
        std::function<void()> pull;
        bool bStays;
    } aCases[] = {
        {[&] { m_layer.setDrive(3, ""); }, false}, // unmounted, its folder left behind
        {[&] { m_layer.setDrive(3, strRoot).bInfoOk = false; }, false}, // medium gone
        {[&] { m_layer.setDrive(3, strRoot).bRemovable = false; }, false},
        {[] {}, true},
    };
    for (const auto& c : aCases)
    {
        addDrive(3, false);
        CZoltVolume volume(m_layer);
        CPullingPrompter prompter;
        prompter.pull = c.pull;
        prompter.answerIndex(0);
        EXPECT_EQ(volume.selectWriteVolume(prompter), c.bStays ? root(3) : "");
        std::vector<wxString> astrReports;
        for (const CScriptedPrompter::Report& r : prompter.getReports())
            astrReports.push_back(r.strTitle + "|" + r.strText);
        EXPECT_EQ(astrReports, c.bStays ? std::vector<wxString>()
                                        : std::vector<wxString>{"Can't write the file|No media "
                                                                "found!\nPlease insert a micro "
                                                                "SD card first."});
    }
}

TEST_F(ZoltVolumeTest, ACardThatIsNotMountedIsOfferedAndMountedWhenChosen)
{
    const wxString kNoFile =
        "Can't find the file|No configuration file found!\nPlease insert a micro SD card first.";
    const struct
    {
        bool bRead;
        bool bMounts;
        bool bWithFile;
        std::vector<wxString> astrReports; // none: the card's new root is the answer
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
        SCOPED_TRACE(i);
        CFakeVolumeLayer layer;
        // A mounted card comes first, and is never read from.
        layer.setDrive(0, m_dir.file("mounted") + "/");
        CTempDir::makeDirs(m_dir.file("mounted"));
        const std::string strRoot = m_dir.file("card" + std::to_string(i)) + "/";
        CTempDir::makeDirs(strRoot);
        if (c.bWithFile)
            m_dir.write("card" + std::to_string(i) + "/ZOLT.CFG", "x");
        const std::string strDevice = "/dev/sdz" + std::to_string(i);
        layer.addUnmounted(strDevice, "CARD", c.bMounts ? strRoot : "");
        CZoltVolume volume(layer);
        m_prompter.clear();
        m_prompter.answerIndex(c.bRead ? 0 : 1);
        const wxString strChosen =
            c.bRead ? volume.selectReadVolume(m_prompter) : volume.selectWriteVolume(m_prompter);
        EXPECT_EQ(offered(0).back(), strDevice + " (name: CARD) (not mounted)");
        EXPECT_EQ(offered(0).size(), c.bRead ? 1u : 2u);
        EXPECT_EQ(reports(), c.astrReports);
        EXPECT_EQ(strChosen, c.astrReports.empty() ? wxString::FromUTF8(strRoot) : wxString());
        EXPECT_EQ(layer.isMounted(strRoot), c.bMounts);
    }
}
