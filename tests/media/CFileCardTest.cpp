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
const wxString kNoMedia =
    "Can't write the file|No media found!\nPlease insert a micro SD card first.";
const wxString kProtected = "Can't write to this volume|The volume is write protected.\n"
                            "Please remove the write protection first.";
const wxString kAttribute = "\nPlease change this attribute first.";
using Texts = std::vector<wxString>;
using V = CVolumeLayer;

std::string pattern(size_t nSize, unsigned nSeed)
{
    std::string str(nSize, '\0');
    for (size_t i = 0; i < nSize; ++i)
        str[i] = static_cast<char>((i * 131 + nSeed * 7 + (i >> 9)) & 0xFF);
    return str;
}

class CardTest : public ::testing::Test
{
protected:
    static std::string dir(size_t nSlot)
    {
        return "K\xC3\xA4rte \xE2\x82\xAC" + std::to_string(nSlot);
    }
    // A drive in slot nSlot whose root is a real folder, optionally holding ZOLT.CFG.
    CFakeVolumeLayer::Drive& addDrive(size_t nSlot, bool bWithFile)
    {
        EXPECT_TRUE(bWithFile ? m_dir.write(dir(nSlot) + "/ZOLT.CFG", "x")
                              : CTempDir::makeDirs(m_dir.file(dir(nSlot))));
        return m_layer.setDrive(nSlot, m_dir.file(dir(nSlot)) + "/");
    }
    wxString root(size_t nSlot) const { return wxString::FromUTF8(m_dir.file(dir(nSlot)) + "/"); }
    // Both choices, answered with nRead and nWrite; the roots chosen.
    Texts select(int nRead, int nWrite)
    {
        CZoltVolume volume(m_layer);
        m_prompter.answerIndex(nRead);
        m_prompter.answerIndex(nWrite);
        return {volume.selectReadVolume(m_prompter), volume.selectWriteVolume(m_prompter)};
    }
    // Each report as "title|text", the card file in slot 4 as "@".
    Texts reports() const
    {
        Texts astr;
        for (const CScriptedPrompter::Report& r : m_prompter.getReports())
            astr.push_back(r.strTitle + "|" + r.strText);
        for (wxString& str : astr)
            str.Replace(root(4) + "ZOLT.CFG", "@");
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

class FileCardTest : public CardTest
{
protected:
    FileCardTest() { memcpy(m_card.getImage(), pattern(kImage, 2).data(), kImage); }
    std::string file(const char* pszName = "ZOLT.CFG") const
    {
        return m_dir.file(dir(4)) + "/" + pszName;
    }
    std::string image() const
    {
        return std::string(reinterpret_cast<const char*>(m_card.getImage()), kImage);
    }
    // A write of m_card or a read into it, on the only card; bOk is what it
    // must answer; its reports.
    Texts use(bool bOk, bool bRead = false, std::function<void()> fnWhileChoosing = {})
    {
        m_prompter.clear();
        m_prompter.answerIndex(0);
        m_prompter.whileChoosing(fnWhileChoosing);
        EXPECT_EQ(bRead ? m_fileCard.read(m_card, m_prompter)
                        : m_fileCard.write(m_card, m_prompter),
                  bOk);
        return reports();
    }

    CFakeVolumeLayer::Drive* m_pDrive = &addDrive(4, false);
    CDataCard m_card;
    CFileCard m_fileCard{m_layer};
};
} // namespace

TEST_F(CardTest, ReadingOffersCardsHoldingTheFileWritingEveryCard)
{
    addDrive(2, true).bRemovable = false; // a fixed disk that holds the file
    addDrive(3, true).bInfoOk = false;    // and a reader without a card
    EXPECT_EQ(CZoltVolume(m_layer).enumVolumes(), 1u << 3);
    EXPECT_EQ(select(0, 0), Texts(2));
    EXPECT_EQ(reports(), (Texts{kNoFile, kNoMedia}));
    EXPECT_TRUE(m_prompter.getChoices().empty());

    addDrive(0, false);
    addDrive(1, true).info = {"K\xC3\xA4rtchen", true, false};
    addDrive(4, true).info = {"\xE4t", false, true}; // not UTF-8: shown as Latin-1
    addDrive(5, true).info = {"", true, true};
    CTempDir::makeDirs(m_dir.file(dir(7) + "/ZOLT.CFG")); // a folder is not the file
    m_layer.setDrive(7, m_dir.file(dir(7)) + "/");
    addDrive(31, true); // the last slot there is
    EXPECT_EQ(CZoltVolume(m_layer).enumVolumes(), 0x800000BBu);
    const wxString kCompressed =
        "Can't write to this volume|Volume is compressed.\nPlease use an uncompressed media.";
    const struct
    {
        int nRead, nWrite;
        Texts astrChosen, astrReports;
        size_t nAsserts;
    } aCases[] = {
        {3, 4, {root(31), root(7)}, {}, 0},
        {0, 1, {root(1), ""}, {kProtected}, 0},
        {1, 2, {root(4), ""}, {kCompressed}, 0},
        {2, 3, {root(5), ""}, {kProtected}, 0}, // write protection wins
        {-1, 6, {"", ""}, {}, 1}, // a cancel is silent, an answer off the list asserts
    };
    for (const auto& c : aCases)
    {
        CAssertRecorder asserts;
        m_prompter.clear();
        EXPECT_EQ(select(c.nRead, c.nWrite), c.astrChosen) << c.nRead;
        EXPECT_EQ(reports(), c.astrReports);
        EXPECT_EQ(asserts.getAsserts().size(), c.nAsserts);
    }
    const wxString strLabelled =
        root(1) + " (name: " + wxString::FromUTF8("K\xC3\xA4rtchen") + ") [write protected]";
    const wxString strLatin =
        root(4) + " (name: " + wxString::FromUTF8("\xC3\xA4t") + ") [compressed]";
    const wxString strBoth = root(5) + " [write protected]";
    EXPECT_EQ(offered(0), (Texts{strLabelled, strLatin, strBoth, root(31)}));
    EXPECT_EQ(offered(1), (Texts{root(0), strLabelled, strLatin, strBoth, root(7), root(31)}));
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(m_prompter.getChoices()[i].strMessage + "|" +
                      m_prompter.getChoices()[i].strCaption,
                  wxString("Select a micro SD card drive|") + (i ? "Write" : "Read") + " Settings");
}

TEST_F(CardTest, MediaCheckIsMadeOnceAndItsVerdictKept)
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

TEST_F(CardTest, CardTakenOutDuringTheWriteChoiceIsNotWrittenTo)
{
    const std::string strRoot = m_dir.file(dir(3)) + "/";
    const std::function<void()> afnPull[] = {
        [] {}, [&] { m_layer.setDrive(3, ""); },               // unmounted, its folder left behind
        [&] { m_layer.setDrive(3, strRoot).bInfoOk = false; }, // medium gone
    };
    for (const auto& fnPull : afnPull)
    {
        addDrive(3, false);
        m_prompter.clear();
        m_prompter.whileChoosing(fnPull);
        m_prompter.answerIndex(0);
        const bool bStays = &fnPull == &afnPull[0];
        EXPECT_EQ(CZoltVolume(m_layer).selectWriteVolume(m_prompter), bStays ? root(3) : "");
        EXPECT_EQ(reports(), bStays ? Texts() : Texts{kNoMedia});
    }
}

TEST_F(FileCardTest, ReadAcceptsWholeSectorsOnlyAndAtMostOneMebibyte)
{
    const Texts kCorrupted = {"File is corrupted|@ read wrong\nfile size."};
    for (size_t nSize : {size_t(0), size_t(1000), size_t(4096), kImage - 1, kImage, kImage + 1})
    {
        const std::string strFile = pattern(nSize, 3);
        ASSERT_TRUE(CTempDir::writeFile(file(), strFile));
        const bool bOk = nSize % 512 == 0 || nSize > kImage;
        memcpy(m_card.getImage(), pattern(kImage, 9).data(), kImage); // leftovers
        EXPECT_EQ(use(bOk, true), bOk ? Texts() : kCorrupted) << nSize;
        const size_t nUsed = std::min(nSize, kImage);
        EXPECT_TRUE(!bOk || image() == strFile.substr(0, nUsed) + std::string(kImage - nUsed, 0));
        EXPECT_EQ(m_fileCard.getPath(), wxString::FromUTF8(file()));
    }
    // A card that stops answering, a probe that dies, a file gone meanwhile
    // and a cancelled choice all leave the image alone.
    const std::string strBefore = image();
    for (int nAnswering : {0, 1, 2})
    {
        m_layer.setProbesAnswering(std::min(nAnswering, 1), nAnswering == 2);
        EXPECT_EQ(use(false, true), Texts{kNoFile}) << nAnswering;
    }
    m_layer.setProbesAnswering(-1);
    m_prompter.clear();
    EXPECT_FALSE(m_fileCard.read(m_card, m_prompter));
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(m_fileCard.getPath().empty());
    EXPECT_EQ(use(false, true, [this] { CTempDir::removeAll(file()); }),
              Texts{"Can't read the file|@ access is possibly\nlocked by another process."});
    EXPECT_EQ(image(), strBefore);
#ifndef _WIN32
    // A file that opens but fails to read is corrupted too.
    ASSERT_EQ(symlink("/proc/self/mem", file().c_str()), 0);
    EXPECT_EQ(use(false, true), kCorrupted);
#endif
}

TEST_F(FileCardTest, WriteChecksComeInOrderAndTheFirstThatFailsStopsIt)
{
    const wxString kWrite = "Can't write the file|";
    const struct
    {
        bool bReadOnly, bFreeOk;
        uint64_t nFree;
        uint32_t nAttributes; // besides the archive bit
        wxString strReport;
    } aCases[] = {
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
    EXPECT_FALSE(m_fileCard.eject(m_prompter)); // no card used yet
    const std::string strOld = pattern(kImage, 1);
    ASSERT_TRUE(CTempDir::writeFile(file(), strOld));
    m_layer.setWriteFails(true);
    for (const auto& c : aCases)
    {
        m_pDrive->info.bReadOnly = c.bReadOnly;
        m_pDrive->bFreeOk = c.bFreeOk;
        m_pDrive->nFreeBytes = c.nFree;
        m_layer.setAttributes(file(), c.nAttributes | 0x20);
        EXPECT_EQ(use(false), Texts{c.strReport});
        EXPECT_EQ(CTempDir::readFile(file()), strOld);
        EXPECT_FALSE(m_fileCard.canEject());
    }
    // A failed free space query counts as no room, after an assertion.
    EXPECT_EQ(m_asserts.getAsserts(), std::vector<wxString>{"false"});
    EXPECT_FALSE(m_fileCard.getLastError().empty());
    m_layer.setAttributes(file(), 0x80 | 0x20); // bits outside the five do not block
    m_layer.setWriteFails(false);
    EXPECT_EQ(use(true), Texts());
    EXPECT_EQ(m_fileCard.getPath(), wxString::FromUTF8(file()));
    EXPECT_EQ(CTempDir::readFile(file()), image());
    EXPECT_FALSE(CTempDir::exists(file(CFileCard::kTempFileName)));
    // Eject is for the card last used, and says why it failed.
    m_layer.setEjectError("in use");
    for (const char* psz : {"Can't eject the card|in use", ""})
    {
        m_prompter.clear();
        EXPECT_EQ(m_fileCard.eject(m_prompter), !*psz);
        EXPECT_EQ(reports(), *psz ? Texts{psz} : Texts());
        EXPECT_EQ(m_fileCard.canEject(), !!*psz);
        m_layer.setEjectError("");
    }
    EXPECT_FALSE(m_layer.isMounted(m_dir.file(dir(4)) + "/"));
}
