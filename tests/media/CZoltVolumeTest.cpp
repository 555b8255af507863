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
const wxString kNoFileTitle = "Can't find the file";
const wxString kNoFileText = "No configuration file found!\nPlease insert a micro SD card first.";
const wxString kNoMediaTitle = "Can't write the file";
const wxString kNoMediaText = "No media found!\nPlease insert a micro SD card first.";
const wxString kRefusedTitle = "Can't write to this volume";
const wxString kProtectedText =
    "The volume is write protected.\nPlease remove the write protection first.";
const wxString kCompressedText = "Volume is compressed.\nPlease use an uncompressed media.";

class ZoltVolumeTest : public ::testing::Test
{
protected:
    // A drive in slot nSlot whose root is a real folder, optionally holding ZOLT.CFG.
    CFakeVolumeLayer::Drive& addDrive(size_t nSlot, bool bWithFile)
    {
        const std::string strDir = m_dir.file("drive" + std::to_string(nSlot));
        CTempDir::makeDirs(strDir);
        if (bWithFile)
            CTempDir::writeFile(strDir + "/ZOLT.CFG", std::string(512, 'x'));
        return m_layer.setDrive(nSlot, strDir + "/");
    }
    wxString root(size_t nSlot) const
    {
        return wxString::FromUTF8(m_dir.file("drive" + std::to_string(nSlot)) + "/");
    }
    void expectOneReport(const wxString& strTitle, const wxString& strText) const
    {
        ASSERT_EQ(m_prompter.getReports().size(), 1u);
        EXPECT_EQ(m_prompter.getReports()[0].strTitle, strTitle);
        EXPECT_EQ(m_prompter.getReports()[0].strText, strText);
    }

    CTempDir m_dir;
    CFakeVolumeLayer m_layer;
    CScriptedPrompter m_prompter;
    CAssertRecorder m_asserts;
};
} // namespace

TEST_F(ZoltVolumeTest, NoRemovableDriveIsReportedByBothChoices)
{
    addDrive(2, true).bRemovable = false; // a fixed disk that happens to hold the file
    CZoltVolume volume(m_layer);
    EXPECT_EQ(volume.enumVolumes(), 0u);

    EXPECT_TRUE(volume.selectReadVolume(m_prompter).empty());
    expectOneReport(kNoFileTitle, kNoFileText);
    m_prompter.clear();
    EXPECT_TRUE(volume.selectWriteVolume(m_prompter).empty());
    expectOneReport(kNoMediaTitle, kNoMediaText);
    EXPECT_TRUE(m_prompter.getChoices().empty());
}

TEST_F(ZoltVolumeTest, ReaderWithoutCardIsListedByNeither)
{
    addDrive(3, false).bInfoOk = false; // empty reader
    addDrive(5, true).info.strLabel = "CARD";
    CZoltVolume volume(m_layer);
    EXPECT_EQ(volume.enumVolumes(), (1u << 3) | (1u << 5));

    m_prompter.answerIndex(0);
    m_prompter.answerIndex(0);
    EXPECT_EQ(volume.selectReadVolume(m_prompter), root(5));
    EXPECT_EQ(volume.selectWriteVolume(m_prompter), root(5));
    ASSERT_EQ(m_prompter.getChoices().size(), 2u);
    for (const CScriptedPrompter::Choice& choice : m_prompter.getChoices())
    {
        ASSERT_EQ(choice.astrChoices.size(), 1u);
        EXPECT_EQ(choice.astrChoices[0], root(5) + " (name: CARD)");
        EXPECT_EQ(choice.strMessage, "Select a micro SD card drive");
    }
    EXPECT_EQ(m_prompter.getChoices()[0].strCaption, "Read Settings");
    EXPECT_EQ(m_prompter.getChoices()[1].strCaption, "Write Settings");
    EXPECT_TRUE(m_prompter.getReports().empty());
}

TEST_F(ZoltVolumeTest, OnlyCardsHoldingTheFileAreOfferedForReading)
{
    addDrive(0, false);
    addDrive(1, true);
    addDrive(4, true);
    // A folder of that name is not the file.
    const std::string strDir = m_dir.file("drive7");
    CTempDir::makeDirs(strDir + "/ZOLT.CFG");
    m_layer.setDrive(7, strDir + "/");
    CZoltVolume volume(m_layer);

    m_prompter.answerIndex(1);
    EXPECT_EQ(volume.selectReadVolume(m_prompter), root(4));
    ASSERT_EQ(m_prompter.getChoices().size(), 1u);
    const wxArrayString& astr = m_prompter.getChoices()[0].astrChoices;
    ASSERT_EQ(astr.size(), 2u);
    EXPECT_EQ(astr[0], root(1));
    EXPECT_EQ(astr[1], root(4));

    // The write choice does not look for the file: every drive in slot order.
    m_prompter.clear();
    EXPECT_TRUE(volume.selectWriteVolume(m_prompter).empty()); // cancelled
    ASSERT_EQ(m_prompter.getChoices().size(), 1u);
    const wxArrayString& astrWrite = m_prompter.getChoices()[0].astrChoices;
    ASSERT_EQ(astrWrite.size(), 4u);
    EXPECT_EQ(astrWrite[0], root(0));
    EXPECT_EQ(astrWrite[3], root(7));
    EXPECT_TRUE(m_prompter.getReports().empty());
}

TEST_F(ZoltVolumeTest, WriteProtectedCardIsReadButNotWritten)
{
    CFakeVolumeLayer::Drive& drive = addDrive(5, true);
    drive.info.strLabel = "CARD";
    drive.info.bReadOnly = true;
    CZoltVolume volume(m_layer);

    m_prompter.answerIndex(0);
    EXPECT_EQ(volume.selectReadVolume(m_prompter), root(5));
    EXPECT_TRUE(m_prompter.getReports().empty());

    m_prompter.answerIndex(0);
    EXPECT_TRUE(volume.selectWriteVolume(m_prompter).empty());
    ASSERT_EQ(m_prompter.getChoices().size(), 2u);
    EXPECT_EQ(m_prompter.getChoices()[1].astrChoices[0],
              root(5) + " (name: CARD) [write protected]");
    expectOneReport(kRefusedTitle, kProtectedText);
}

TEST_F(ZoltVolumeTest, VolumeStatesGiveMarkersAndRefusals)
{
    struct Case
    {
        bool bReadOnly;
        bool bCompressed;
        const char* pszMarker;
        const wxString* pRefusal; // null: accepted
    };
    const Case aCases[] = {
        {false, false, "", nullptr},
        {true, false, " [write protected]", &kProtectedText},
        {false, true, " [compressed]", &kCompressedText},
        {true, true, " [write protected]", &kProtectedText}, // write protection wins
    };
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(c.pszMarker);
        CFakeVolumeLayer::Drive& drive = addDrive(1, false);
        drive.info.bReadOnly = c.bReadOnly;
        drive.info.bCompressed = c.bCompressed;
        CZoltVolume volume(m_layer);
        m_prompter.clear();
        m_prompter.answerIndex(0);
        const wxString strResult = volume.selectWriteVolume(m_prompter);
        ASSERT_EQ(m_prompter.getChoices().size(), 1u);
        EXPECT_EQ(m_prompter.getChoices()[0].astrChoices[0], root(1) + c.pszMarker);
        if (c.pRefusal == nullptr)
        {
            EXPECT_EQ(strResult, root(1));
            EXPECT_TRUE(m_prompter.getReports().empty());
        }
        else
        {
            EXPECT_TRUE(strResult.empty());
            expectOneReport(kRefusedTitle, *c.pRefusal);
        }
    }
}

TEST_F(ZoltVolumeTest, CancelledChoicesReturnNothingAndSayNothing)
{
    addDrive(0, true);
    CZoltVolume volume(m_layer);
    m_prompter.answerIndex(-1);
    m_prompter.answerIndex(-1);
    EXPECT_TRUE(volume.selectReadVolume(m_prompter).empty());
    EXPECT_TRUE(volume.selectWriteVolume(m_prompter).empty());
    EXPECT_EQ(m_prompter.getChoices().size(), 2u);
    EXPECT_TRUE(m_prompter.getReports().empty());
}

TEST_F(ZoltVolumeTest, AnswerOutsideTheListIsACancel)
{
    addDrive(0, true);
    CZoltVolume volume(m_layer);
    m_prompter.answerIndex(1);
    EXPECT_TRUE(volume.selectReadVolume(m_prompter).empty());
    EXPECT_EQ(m_asserts.getAsserts().size(), 1u);
}

TEST_F(ZoltVolumeTest, MediaCheckIsMadeOnceAndItsVerdictKept)
{
    CFakeVolumeLayer::Drive& floppy = addDrive(0, true);
    floppy.eMedia = CVolumeLayer::eMediaReported;
    floppy.nMediaType = 5; // a floppy format
    CFakeVolumeLayer::Drive& reader = addDrive(2, false);
    reader.eMedia = CVolumeLayer::eMediaReported; // reports removable media
    addDrive(3, false).eMedia = CVolumeLayer::eMediaFailed;
    addDrive(4, false).bRemovable = false; // never asked
    CZoltVolume volume(m_layer);

    EXPECT_EQ(volume.enumVolumes(), (1u << 2) | (1u << 3));
    EXPECT_EQ(m_layer.getMediaQueries(), 3);

    // A card appears in another reader; the floppy drive stays excluded and
    // no device is asked again.
    addDrive(6, true).eMedia = CVolumeLayer::eMediaReported;
    m_layer.getDrive(6).nMediaType = 5;
    EXPECT_EQ(volume.enumVolumes(), (1u << 2) | (1u << 3) | (1u << 6));
    m_prompter.answerIndex(0);
    EXPECT_EQ(volume.selectReadVolume(m_prompter), root(6));
    EXPECT_EQ(m_prompter.getChoices()[0].astrChoices.size(), 1u);
    EXPECT_EQ(m_layer.getMediaQueries(), 3);

    // A new object checks again.
    CZoltVolume other(m_layer);
    EXPECT_EQ(other.enumVolumes(), (1u << 2) | (1u << 3));
    EXPECT_EQ(m_layer.getMediaQueries(), 3 + 4);
}

TEST_F(ZoltVolumeTest, EntriesCarryTheLabel)
{
    CVolumeLayer::VolumeInfo info;
    EXPECT_EQ(CZoltVolume::makeEntry("F:\\", info), "F:\\");
    info.strLabel = "CARD";
    EXPECT_EQ(CZoltVolume::makeEntry("F:\\", info), "F:\\ (name: CARD)");
    info.strLabel = "Kärtchen";
    EXPECT_EQ(CZoltVolume::makeEntry("/media/u/K/", info),
              wxString("/media/u/K/ (name: ") + wxString::FromUTF8("Kärtchen") + ")");
}

TEST_F(ZoltVolumeTest, AllThirtyTwoSlotsAreUsable)
{
    for (size_t i = 0; i < CVolumeLayer::kMaxDrives; ++i)
        addDrive(i, i == 31);
    CZoltVolume volume(m_layer);
    EXPECT_EQ(volume.enumVolumes(), 0xFFFFFFFFu);
    m_prompter.answerIndex(0);
    EXPECT_EQ(volume.selectReadVolume(m_prompter), root(31));
}
