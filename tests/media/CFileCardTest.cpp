// The card choices and the reads and writes of ZOLT.CFG over a scripted
// volume layer whose drive roots are real folders with non-ASCII names.
#include "CFileCard.h"
#include "CAssertRecorder.h"
#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{
const size_t kImage = CDataCard::kImageSize;
const wxString kNoFile =
    "Can't find the file|No configuration file found!\nPlease insert a micro SD card first.";
const wxString kWrite = "Can't write the file|", kProtect = "Can't write to this volume|";
const wxString kNoMedia = kWrite + "No media found!\nPlease insert a micro SD card first.";
const wxString kProtected =
    kProtect + "The volume is write protected.\nPlease remove the write protection first.";
const wxString kAttribute = "\nPlease change this attribute first.";
using Texts = std::vector<wxString>;
using V = CVolumeLayer;

class CardTest : public ::testing::Test
{
protected:
    static std::string dir(size_t n) { return "K\xC3\xA4rte \xE2\x82\xAC" + std::to_string(n); }
    // A drive in slot nSlot whose root is a real folder, optionally holding ZOLT.CFG.
    CFakeVolumeLayer::Drive& addDrive(size_t nSlot, bool bWithFile)
    {
        EXPECT_TRUE(bWithFile ? m_dir.write(dir(nSlot) + "/ZOLT.CFG", "x")
                              : CTempDir::makeDirs(m_dir.file(dir(nSlot))));
        return m_layer.setDrive(nSlot, m_dir.file(dir(nSlot)) + "/");
    }
    wxString root(size_t nSlot) const { return wxString::FromUTF8(m_dir.file(dir(nSlot)) + "/"); }
    std::string file(const char* pszName = "ZOLT.CFG") const
    {
        return m_dir.file(dir(4)) + "/" + pszName;
    }
    std::string image() const
    {
        return std::string(reinterpret_cast<const char*>(m_card.getImage()), kImage);
    }
    // Each report as "title|text", the card file in slot 4 as "@".
    Texts reports() const
    {
        Texts astr;
        for (const CScriptedPrompter::Report& r : m_prompter.getReports())
        {
            astr.push_back(r.strTitle + "|" + r.strText);
            astr.back().Replace(wxString::FromUTF8(file()), "@");
        }
        return astr;
    }
    Texts offered(size_t nChoice) const
    {
        const wxArrayString& astr = m_prompter.getChoices().at(nChoice).astrChoices;
        return Texts(astr.begin(), astr.end());
    }
    // Both choices of m_volume, answered with nRead and nWrite; the roots chosen.
    Texts select(int nRead, int nWrite)
    {
        m_prompter.clear();
        m_prompter.answerIndex(nRead);
        m_prompter.answerIndex(nWrite);
        return {m_volume.selectReadVolume(m_prompter), m_volume.selectWriteVolume(m_prompter)};
    }
    // A read into m_card or a write of it, on the only card, that must answer
    // bOk; its reports.
    Texts use(bool bRead, bool bOk, std::function<void()> fnWhileChoosing = {})
    {
        m_prompter.clear();
        m_prompter.answerIndex(0);
        m_prompter.whileChoosing(fnWhileChoosing);
        EXPECT_EQ(bRead ? m_fileCard.read(m_card, m_prompter)
                        : m_fileCard.write(m_card, m_prompter),
                  bOk);
        return reports();
    }

    CTempDir m_dir;
    CFakeVolumeLayer m_layer;
    CZoltVolume m_volume{m_layer};
    CScriptedPrompter m_prompter;
    CAssertRecorder m_asserts;
    CDataCard m_card;
    CFileCard m_fileCard{m_layer};
};
} // namespace

TEST_F(CardTest, ReadingOffersCardsHoldingTheFileWritingEveryCard)
{
    addDrive(2, true).bRemovable = false; // a fixed disk that holds the file
    CFakeVolumeLayer::Drive& rEmpty = addDrive(3, true);
    rEmpty.bInfoOk = false; // a reader without a card, that says it takes removable media
    rEmpty.eMedia = CVolumeLayer::eMediaReported;
    CFakeVolumeLayer::Drive& rFloppy = addDrive(8, true);
    rFloppy.eMedia = CVolumeLayer::eMediaReported;
    rFloppy.nMediaType = 5; // a floppy format: never offered
    EXPECT_EQ(select(0, 0), Texts(2));
    EXPECT_EQ(reports(), (Texts{kNoFile, kNoMedia}));
    EXPECT_TRUE(m_prompter.getChoices().empty());

    addDrive(0, false);
    addDrive(1, true).info = {"K\xC3\xA4rtchen", true, false};
    addDrive(4, true).info = {"\xE4t", false, true}; // not UTF-8: shown as Latin-1
    addDrive(5, true).info = {"", true, true};
    CFakeVolumeLayer::Drive& rLate = addDrive(6, true); // media are asked about once: not here
    rLate.eMedia = CVolumeLayer::eMediaReported;
    rLate.nMediaType = 5;
    CTempDir::makeDirs(m_dir.file(dir(7) + "/ZOLT.CFG")); // a folder is not the file
    m_layer.setDrive(7, m_dir.file(dir(7)) + "/");
    addDrive(31, true); // the last slot there is
    EXPECT_EQ(m_volume.enumVolumes(), 0x800000FBu);
    EXPECT_EQ(CZoltVolume(m_layer).enumVolumes(), 0x800000BBu);
    const wxString kCompressed =
        kProtect + "Volume is compressed.\nPlease use an uncompressed media.";
    const std::tuple<int, int, Texts, Texts> aCases[] = {
        // answers, roots chosen, reports
        {4, 5, {root(31), root(7)}, {}},
        {0, 1, {root(1), ""}, {kProtected}},
        {1, 2, {root(4), ""}, {kCompressed}},
        {2, 3, {root(5), ""}, {kProtected}},
        {-1, 7, {"", ""}, {}}, // a cancel is silent, an answer off the list asserts
    };
    for (const auto& [nRead, nWrite, astrChosen, astrReports] : aCases)
    {
        EXPECT_EQ(select(nRead, nWrite), astrChosen) << nRead;
        EXPECT_EQ(reports(), astrReports);
    }
    EXPECT_EQ(m_asserts.getAsserts().size(), 1u);
    const wxString strLabelled =
        root(1) + " (name: " + wxString::FromUTF8("K\xC3\xA4rtchen") + ") [write protected]";
    const wxString strLatin =
        root(4) + " (name: " + wxString::FromUTF8("\xC3\xA4t") + ") [compressed]";
    const wxString strBoth = root(5) + " [write protected]"; // write protection wins
    EXPECT_EQ(offered(0), (Texts{strLabelled, strLatin, strBoth, root(6), root(31)}));
    EXPECT_EQ(offered(1),
              (Texts{root(0), strLabelled, strLatin, strBoth, root(6), root(7), root(31)}));
}

TEST_F(CardTest, ReadAcceptsWholeSectorsOnlyAndAtMostOneMebibyte)
{
    addDrive(4, false);
    const Texts kCorrupted = {"File is corrupted|@ read wrong\nfile size."};
    for (size_t nSize : {size_t(0), size_t(1000), size_t(4096), kImage - 1, kImage, kImage + 1})
    {
        std::string strFile(nSize, 'r');
        ASSERT_TRUE(CTempDir::writeFile(file(), strFile));
        const bool bOk = nSize % 512 == 0 || nSize > kImage;
        memset(m_card.getImage(), 'x', kImage); // leftovers
        EXPECT_EQ(use(true, bOk), bOk ? Texts() : kCorrupted) << nSize;
        strFile.resize(kImage);
        EXPECT_TRUE(!bOk || image() == strFile);
        EXPECT_EQ(m_fileCard.getPath(), wxString::FromUTF8(file()));
    }
    // A card that stops answering, a probe that dies, a cancelled choice and
    // a file gone meanwhile all leave the image alone.
    const std::string strBefore = image();
    for (int nAnswering : {0, 1, 2})
    {
        m_layer.setProbesAnswering(std::min(nAnswering, 1), nAnswering == 2);
        EXPECT_EQ(use(true, false), Texts{kNoFile}) << nAnswering;
    }
    m_layer.setProbesAnswering(-1);
    m_prompter.clear();
    EXPECT_FALSE(m_fileCard.read(m_card, m_prompter));
    EXPECT_TRUE(reports().empty() && m_fileCard.getPath().empty());
    EXPECT_EQ(use(true, false, [this] { CTempDir::removeAll(file()); }),
              Texts{"Can't read the file|@ access is possibly\nlocked by another process."});
    EXPECT_EQ(image(), strBefore);
#ifndef _WIN32
    // A file that opens but fails to read is corrupted too.
    ASSERT_EQ(symlink("/proc/self/mem", file().c_str()), 0);
    EXPECT_EQ(use(true, false), kCorrupted);
#endif
}

TEST_F(CardTest, WriteChecksComeInOrderAndTheFirstThatFailsStopsIt)
{
    // Volume write protected, free space query answers, free space, file attributes.
    const std::tuple<bool, bool, uint64_t, uint32_t, wxString> aCases[] = {
        {true, false, 0, V::eAttrReadOnly, kProtected},
        {false, true, kImage - 1, V::eAttrReadOnly, kWrite + "not enough volume space\n"},
        {false, false, kImage, V::eAttrReadOnly, kWrite + "not enough volume space\n"},
        {false, true, kImage, 0x1F | 0x4800, kWrite + "@ is compressed" + kAttribute},
        {false, true, kImage, V::eAttrEncrypted | 7, kWrite + "@ is encrypted" + kAttribute},
        {false, true, kImage, 6, kWrite + "@ is hidden" + kAttribute},
        {false, true, kImage, 5,
         kWrite + "@ is write protected\nPlease remove the protection first."},
        {false, true, kImage, V::eAttrSystem, kWrite + "@ is a system file" + kAttribute},
        {false, true, kImage, V::eAttrNoAnswer, kNoMedia},
        {false, true, kImage, 0x80, kWrite + "@ is not writable\nreason is unknown."},
    };
    CFakeVolumeLayer::Drive& drive = addDrive(4, true);
    EXPECT_FALSE(m_fileCard.eject(m_prompter));                      // no card used yet
    ASSERT_TRUE(CTempDir::makeDirs(file(CFileCard::kTempFileName))); // the write itself fails
    for (const auto& [bReadOnly, bFreeOk, nFree, nAttributes, strReport] : aCases)
    {
        drive.info.bReadOnly = bReadOnly;
        drive.bFreeOk = bFreeOk;
        drive.nFreeBytes = nFree;
        m_layer.setAttributes(file(), nAttributes | 0x20); // the archive bit never blocks
        EXPECT_EQ(use(false, false), Texts{strReport});
        EXPECT_EQ(CTempDir::readFile(file()), "x");
    }
    // A failed free space query counts as no room, after an assertion.
    EXPECT_EQ(m_asserts.getAsserts(), std::vector<wxString>{"false"});
    EXPECT_FALSE(m_fileCard.getLastError().empty());
    // A card taken out while the choice is open is not written to, nor its folder.
    EXPECT_EQ(use(false, false, [&] { drive.bInfoOk = false; }), Texts{kNoMedia});
    drive.bInfoOk = true;
    CTempDir::removeAll(file(CFileCard::kTempFileName)); // bits outside the five do not block
    EXPECT_EQ(use(false, true), Texts());
    EXPECT_EQ(CTempDir::readFile(file()), image());
    m_layer.setEjectError("in use"); // eject is for the card last used, and says why it failed
    EXPECT_FALSE(m_fileCard.eject(m_prompter));
    EXPECT_EQ(reports(), Texts{"Can't eject the card|in use"});
    m_layer.setEjectError("");
    EXPECT_TRUE(m_fileCard.eject(m_prompter) && !m_fileCard.canEject());
    EXPECT_FALSE(m_layer.isMounted(m_dir.file(dir(4)) + "/"));
}
