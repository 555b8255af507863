// Reading and writing ZOLT.CFG over a scripted volume layer whose drive root
// is a real folder with a non-ASCII name.
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
const char* const kCard = "K\xC3\xA4rtchen \xE2\x82\xAC";
const wxString kNoFile =
    "Can't find the file|No configuration file found!\nPlease insert a micro SD card first.";
const wxString kAttribute = "\nPlease change this attribute first.";
using V = CVolumeLayer;

std::string pattern(size_t nSize, unsigned nSeed)
{
    std::string str(nSize, '\0');
    for (size_t i = 0; i < nSize; ++i)
        str[i] = static_cast<char>((i * 131 + nSeed * 7 + (i >> 9)) & 0xFF);
    return str;
}

class FileCardTest : public ::testing::Test
{
protected:
    FileCardTest() { memcpy(m_card.getImage(), pattern(kImage, 2).data(), kImage); }
    std::string file(const char* pszName = "ZOLT.CFG") const
    {
        return m_dir.file(kCard) + "/" + pszName;
    }
    std::string image() const
    {
        return std::string(reinterpret_cast<const char*>(m_card.getImage()), kImage);
    }
    // A write of m_card or a read into it, on the only card; bOk is what it
    // must answer; its reports.
    wxString use(bool bOk, bool bRead = false, std::function<void()> fnWhileChoosing = {})
    {
        m_prompter.clear();
        m_prompter.answerIndex(0);
        m_prompter.whileChoosing(fnWhileChoosing);
        EXPECT_EQ(bRead ? m_fileCard.read(m_card, m_prompter)
                        : m_fileCard.write(m_card, m_prompter),
                  bOk);
        return reports();
    }
    // The reports as "title|text", the file's path as "@".
    wxString reports() const
    {
        wxString str;
        for (const CScriptedPrompter::Report& r : m_prompter.getReports())
            str += r.strTitle + "|" + r.strText;
        str.Replace(wxString::FromUTF8(file()), "@");
        return str;
    }

    CTempDir m_dir;
    CFakeVolumeLayer m_layer;
    CFakeVolumeLayer::Drive* m_pDrive =
        (CTempDir::makeDirs(m_dir.file(kCard)), &m_layer.setDrive(4, m_dir.file(kCard) + "/"));
    CScriptedPrompter m_prompter;
    CAssertRecorder m_asserts;
    CDataCard m_card;
    CFileCard m_fileCard{m_layer};
};
} // namespace

TEST_F(FileCardTest, ReadAcceptsWholeSectorsOnlyAndAtMostOneMebibyte)
{
    const wxString kCorrupted = "File is corrupted|@ read wrong\nfile size.";
    for (size_t nSize : {size_t(0), size_t(1000), size_t(4096), kImage - 1, kImage, kImage + 1})
    {
        const std::string strFile = pattern(nSize, 3);
        ASSERT_TRUE(CTempDir::writeFile(file(), strFile));
        const bool bOk = nSize % 512 == 0 || nSize > kImage;
        memcpy(m_card.getImage(), pattern(kImage, 9).data(), kImage); // leftovers
        EXPECT_EQ(use(bOk, true), bOk ? "" : kCorrupted) << nSize;
        const size_t nUsed = std::min(nSize, kImage);
        EXPECT_TRUE(!bOk || image() == strFile.substr(0, nUsed) + std::string(kImage - nUsed, 0));
        EXPECT_EQ(m_fileCard.getPath(), wxString::FromUTF8(file()));
    }
#ifndef _WIN32
    // A file that opens but fails to read is corrupted too.
    CTempDir::removeAll(file());
    ASSERT_EQ(symlink("/proc/self/mem", file().c_str()), 0);
    EXPECT_EQ(use(false, true), kCorrupted);
#endif
    // A cancelled choice leaves the image alone.
    const std::string strBefore = image();
    m_prompter.clear();
    EXPECT_FALSE(m_fileCard.read(m_card, m_prompter));
    EXPECT_EQ(reports(), "");
    EXPECT_EQ(image(), strBefore);
    EXPECT_TRUE(m_fileCard.getPath().empty());
    EXPECT_EQ(use(false, true, [this] { CTempDir::removeAll(file()); }),
              "Can't read the file|@ access is possibly\nlocked by another process.");
}

TEST_F(FileCardTest, ChecksComeInOrderAndTheFirstThatFailsStopsTheWrite)
{
    const struct
    {
        bool bReadOnly, bFreeOk;
        uint64_t nFree;
        uint32_t nAttributes; // besides the archive bit
        wxString strReport;
    } aCases[] = {
        {true, false, 0, V::eAttrReadOnly,
         "Can't write to this volume|The volume is write protected.\nPlease remove the write "
         "protection first."},
        {false, true, kImage - 1, V::eAttrReadOnly,
         "Can't write the file|not enough volume space\n"},
        {false, false, kImage, V::eAttrReadOnly, "Can't write the file|not enough volume space\n"},
        {false, true, kImage, 0x1F | 0x4800, "Can't write the file|@ is compressed" + kAttribute},
        {false, true, kImage, V::eAttrEncrypted | 7,
         "Can't write the file|@ is encrypted" + kAttribute},
        {false, true, kImage, 6, "Can't write the file|@ is hidden" + kAttribute},
        {false, true, kImage, 5,
         "Can't write the file|@ is write protected\nPlease remove the protection first."},
        {false, true, kImage, V::eAttrSystem,
         "Can't write the file|@ is a system file" + kAttribute},
        {false, true, kImage, V::eAttrNoAnswer,
         "Can't write the file|No media found!\nPlease insert a micro SD card first."},
        {false, true, kImage, 0x80, "Can't write the file|@ is not writable\nreason is unknown."},
    };
    const std::string strOld = pattern(kImage, 1);
    ASSERT_TRUE(CTempDir::writeFile(file(), strOld));
    m_layer.setWriteFails(true);
    for (const auto& c : aCases)
    {
        m_pDrive->info.bReadOnly = c.bReadOnly;
        m_pDrive->bFreeOk = c.bFreeOk;
        m_pDrive->nFreeBytes = c.nFree;
        m_layer.setAttributes(file(), c.nAttributes | 0x20);
        EXPECT_EQ(use(false), c.strReport);
        EXPECT_EQ(CTempDir::readFile(file()), strOld);
        EXPECT_FALSE(m_fileCard.canEject());
    }
    // A failed free space query counts as no room, after an assertion.
    EXPECT_EQ(m_asserts.getAsserts(), std::vector<wxString>{"false"});
    EXPECT_FALSE(m_fileCard.getLastError().empty());
    m_layer.setAttributes(file(), 0x80 | 0x20); // bits outside the five do not block
    m_layer.setWriteFails(false);
    EXPECT_EQ(use(true), "");
    EXPECT_EQ(m_fileCard.getPath(), wxString::FromUTF8(file()));
    EXPECT_EQ(CTempDir::readFile(file()), image());
    EXPECT_FALSE(CTempDir::exists(file(CFileCard::kTempFileName)));
}

TEST_F(FileCardTest, ACardThatStopsAnsweringOrWhoseProbeDiesCountsAsNoCard)
{
    ASSERT_TRUE(CTempDir::writeFile(file(), pattern(kImage, 1)));
    const std::string strBefore = image();
    for (int nAnswering : {0, 1, 2})
    {
        m_layer.setProbesAnswering(std::min(nAnswering, 1), nAnswering == 2);
        EXPECT_EQ(use(false, true), kNoFile) << nAnswering;
        EXPECT_EQ(image(), strBefore);
        EXPECT_FALSE(m_fileCard.canEject());
    }
}

TEST_F(FileCardTest, EjectIsForTheCardLastUsedAndSaysWhyItFailed)
{
    EXPECT_FALSE(m_fileCard.eject(m_prompter)); // no card used yet
    EXPECT_EQ(reports(), "");
    ASSERT_EQ(use(true), "");
    m_layer.setEjectError("in use");
    for (bool bOk : {false, true})
    {
        m_prompter.clear();
        EXPECT_EQ(m_fileCard.eject(m_prompter), bOk);
        EXPECT_EQ(reports(), bOk ? "" : "Can't eject the card|in use");
        EXPECT_EQ(m_fileCard.canEject(), !bOk);
        m_layer.setEjectError("");
    }
    EXPECT_FALSE(m_layer.isMounted(m_dir.file(kCard) + "/"));
}
