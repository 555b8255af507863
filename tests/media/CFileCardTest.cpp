// Reading and writing ZOLT.CFG over a scripted volume layer whose drive root
// is a real folder with a non-ASCII name: the checks, their order and their
// messages, and what reaches the folder.
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

std::string pattern(size_t nSize, unsigned nSeed)
{
    std::string str(nSize, '\0');
    for (size_t i = 0; i < nSize; ++i)
        str[i] = static_cast<char>((i * 131 + nSeed * 7 + (i >> 9)) & 0xFF);
    return str;
}

std::string image(const CDataCard& rCard)
{
    return std::string(reinterpret_cast<const char*>(rCard.getImage()), kImage);
}

class FileCardTest : public ::testing::Test
{
protected:
    FileCardTest()
    {
        CTempDir::makeDirs(m_dir.file(kCard));
        m_pDrive = &m_layer.setDrive(4, m_dir.file(kCard) + "/");
        memcpy(m_card.getImage(), pattern(kImage, 2).data(), kImage);
    }
    std::string file(const char* pszName = "ZOLT.CFG") const
    {
        return m_dir.file(kCard) + "/" + pszName;
    }
    // A write of m_card or, with pRead, a read into it, on the only card;
    // bOk is what it must answer. Its reports, each as "title|text".
    std::vector<wxString> use(bool bOk, CDataCard* pRead = nullptr)
    {
        m_prompter.clear();
        m_prompter.answerIndex(0);
        EXPECT_EQ(pRead ? m_fileCard.read(*pRead, m_prompter)
                        : m_fileCard.write(m_card, m_prompter),
                  bOk);
        std::vector<wxString> astr;
        for (const CScriptedPrompter::Report& r : m_prompter.getReports())
            astr.push_back(r.strTitle + "|" + r.strText);
        return astr;
    }
    std::vector<wxString> report(const wxString& strTitle, const char* pszWhy) const
    {
        return {strTitle + "|" + wxString::FromUTF8(file()) + pszWhy};
    }

    CTempDir m_dir;
    CFakeVolumeLayer m_layer;
    CFakeVolumeLayer::Drive* m_pDrive;
    CScriptedPrompter m_prompter;
    CAssertRecorder m_asserts;
    CDataCard m_card;
    CFileCard m_fileCard{m_layer};
};
} // namespace

TEST_F(FileCardTest, ReadAcceptsWholeSectorsOnlyAndAtMostOneMebibyte)
{
    const auto corrupted = report("File is corrupted", " read wrong\nfile size.");
    for (size_t nSize : {size_t(0), size_t(1000), size_t(4096), kImage - 1, kImage, kImage + 1})
    {
        SCOPED_TRACE(nSize);
        const std::string strFile = pattern(nSize, 3);
        ASSERT_TRUE(CTempDir::writeFile(file(), strFile));
        const bool bOk = nSize % 512 == 0 || nSize > kImage;
        CDataCard card; // with leftovers of an earlier command
        memcpy(card.getImage(), pattern(kImage, 9).data(), kImage);
        EXPECT_EQ(use(bOk, &card), bOk ? std::vector<wxString>() : corrupted);
        const size_t nUsed = std::min(nSize, kImage);
        EXPECT_TRUE(!bOk ||
                    image(card) == strFile.substr(0, nUsed) + std::string(kImage - nUsed, 0));
    }
#ifndef _WIN32
    // A file that opens but fails to read is corrupted too (Linux only: a
    // link to a file that refuses to be read).
    CTempDir::removeAll(file());
    ASSERT_EQ(symlink("/proc/self/mem", file().c_str()), 0);
    EXPECT_EQ(use(false, &m_card), corrupted);
#endif

    // A cancelled choice leaves the image alone.
    const std::string strBefore = image(m_card);
    m_prompter.clear();
    EXPECT_FALSE(m_fileCard.read(m_card, m_prompter));
    EXPECT_TRUE(m_prompter.getReports().empty());
    EXPECT_EQ(image(m_card), strBefore);
}

TEST_F(FileCardTest, ChecksComeInOrderAndStopTheWrite)
{
    const std::string strOld = pattern(kImage, 1);
    ASSERT_TRUE(CTempDir::writeFile(file(), strOld));
    m_layer.setAttributes(file(), CVolumeLayer::eAttrReadOnly);

    m_pDrive->info.bReadOnly = true; // the volume's state comes first
    EXPECT_EQ(use(false).at(0).BeforeFirst('|'), "Can't write to this volume");
    m_pDrive->info.bReadOnly = false;

    // Then room for a whole new image beside the old one; a failed query
    // counts as no room, after an assertion.
    const std::vector<wxString> astrNoRoom = {"Can't write the file|not enough volume space\n"};
    m_pDrive->nFreeBytes = kImage - 1;
    EXPECT_EQ(use(false), astrNoRoom);
    m_pDrive->bFreeOk = false;
    EXPECT_EQ(use(false), astrNoRoom);
    EXPECT_EQ(m_asserts.getAsserts(), std::vector<wxString>{"false"});
    EXPECT_EQ(m_layer.getAttributeQueries(), 0);

    m_pDrive->bFreeOk = true;
    m_pDrive->nFreeBytes = kImage; // just enough to get to the attributes
    EXPECT_EQ(use(false), report("Can't write the file",
                                 " is write protected\nPlease remove the protection first."));
    EXPECT_EQ(m_layer.getAttributeQueries(), 1);
    EXPECT_EQ(m_layer.getReplaceCalls(), 0);
    EXPECT_EQ(CTempDir::readFile(file()), strOld);
}

TEST_F(FileCardTest, FirstBlockingAttributeOrAFailedReplaceIsReportedElseTheFileIsWritten)
{
    using V = CVolumeLayer;
    const char* const kCompressed = " is compressed\nPlease change this attribute first.";
    const char* const kEncrypted = " is encrypted\nPlease change this attribute first.";
    const struct
    {
        uint32_t nAttributes;
        const char* pszReason;
    } aCases[] = {
        {V::eAttrCompressed | V::eAttrEncrypted | V::eAttrHidden | V::eAttrReadOnly |
             V::eAttrSystem,
         kCompressed},
        {V::eAttrCompressed | V::eAttrReadOnly, kCompressed},
        {V::eAttrEncrypted | V::eAttrHidden, kEncrypted},
        {V::eAttrHidden | V::eAttrReadOnly, " is hidden\nPlease change this attribute first."},
        {V::eAttrReadOnly | V::eAttrSystem,
         " is write protected\nPlease remove the protection first."},
        {V::eAttrSystem, " is a system file\nPlease change this attribute first."},
        {0x20 | 0x80, " is not writable\nreason is unknown."}, // the replace fails
    };
    const std::string strOld = pattern(kImage, 1);
    ASSERT_TRUE(CTempDir::writeFile(file(), strOld));
    m_layer.setWriteFails(true);
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.nAttributes);
        m_layer.setAttributes(file(), c.nAttributes | 0x20); // and the archive bit
        EXPECT_EQ(use(false), report("Can't write the file", c.pszReason));
    }
    EXPECT_EQ(m_layer.getReplaceCalls(), 1);
    EXPECT_FALSE(m_fileCard.getLastError().empty());
    EXPECT_EQ(CTempDir::readFile(file()), strOld);
    m_layer.setWriteFails(false); // bits outside the five do not block
    EXPECT_TRUE(use(true).empty());
    EXPECT_EQ(m_fileCard.getPath(), wxString::FromUTF8(file()));
    EXPECT_EQ(CTempDir::readFile(file()), image(m_card));
    EXPECT_FALSE(CTempDir::exists(file(CFileCard::kTempFileName)));
}

TEST_F(FileCardTest, ACardThatStopsAnsweringCountsAsNoCard)
{
    const wxString kNoFile =
        "Can't find the file|No configuration file found!\nPlease insert a micro SD card first.";
    const wxString kNoMedia =
        "Can't write the file|No media found!\nPlease insert a micro SD card first.";
    const struct
    {
        bool bRead;
        int nProbesAnswering; // before the card falls silent
        uint32_t nAttributes;
        wxString strReport;
    } aCases[] = {
        {true, 0, 0, kNoFile}, // while the choice is made
        {true, 1, 0, kNoFile}, // while the file is read
        {false, -1, CVolumeLayer::eAttrNoAnswer, kNoMedia},
    };
    const std::string strOld = pattern(kImage, 1);
    ASSERT_TRUE(CTempDir::writeFile(file(), strOld));
    for (const auto& c : aCases)
    {
        SCOPED_TRACE(c.nProbesAnswering);
        const std::string strBefore = image(m_card);
        m_layer.setProbesAnswering(c.nProbesAnswering);
        m_layer.setAttributes(file(), c.nAttributes);
        EXPECT_EQ(use(false, c.bRead ? &m_card : nullptr), std::vector<wxString>{c.strReport});
        EXPECT_EQ(image(m_card), strBefore);
        EXPECT_FALSE(m_fileCard.canEject());
    }
    EXPECT_EQ(m_layer.getReplaceCalls(), 0);
    EXPECT_EQ(CTempDir::readFile(file()), strOld);
}

TEST_F(FileCardTest, EjectIsForTheCardLastUsedAndSaysWhyItFailed)
{
    EXPECT_FALSE(m_fileCard.eject(m_prompter)); // no card used yet
    EXPECT_TRUE(m_prompter.getReports().empty());
    ASSERT_TRUE(use(true).empty());
    EXPECT_TRUE(m_fileCard.canEject());
    m_layer.setEjectError("in use");
    m_prompter.clear();
    EXPECT_FALSE(m_fileCard.eject(m_prompter));
    ASSERT_EQ(m_prompter.getReports().size(), 1u);
    EXPECT_EQ(m_prompter.getReports()[0].strTitle + "|" + m_prompter.getReports()[0].strText,
              "Can't eject the card|in use");
    EXPECT_TRUE(m_fileCard.canEject());
    m_layer.setEjectError("");
    EXPECT_TRUE(m_fileCard.eject(m_prompter));
    EXPECT_FALSE(m_fileCard.canEject());
    EXPECT_FALSE(m_layer.isMounted(m_dir.file(kCard) + "/"));

    // A failed write does not make its card the one to eject.
    m_pDrive = &m_layer.setDrive(4, m_dir.file(kCard) + "/");
    m_layer.setWriteFails(true);
    use(false);
    EXPECT_FALSE(m_fileCard.canEject());
}
