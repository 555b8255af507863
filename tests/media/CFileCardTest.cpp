// Reading and writing ZOLT.CFG over a scripted volume layer whose drive root
// is a real folder: the checks, their order and their messages, and what
// reaches the folder.
#include "CFileCard.h"
#include "CAssertRecorder.h"
#include "CFakeVolumeLayer.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
const size_t kImage = CDataCard::kImageSize;

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
    FileCardTest()
    {
        CTempDir::makeDirs(m_dir.file("card"));
        m_drive = &m_layer.setDrive(4, m_dir.file("card") + "/");
        m_drive->info.strLabel = "CARD";
    }

    std::string cardPath() const { return m_dir.file("card/ZOLT.CFG"); }
    std::string tempPath() const { return m_dir.file("card/") + CFileCard::kTempFileName; }
    wxString cardPathText() const { return wxString::FromUTF8(cardPath()); }
    void fillImage(CDataCard& rCard, unsigned nSeed)
    {
        const std::string str = pattern(kImage, nSeed);
        memcpy(rCard.getImage(), str.data(), kImage);
    }
    std::string image(const CDataCard& rCard) const
    {
        return std::string(reinterpret_cast<const char*>(rCard.getImage()), kImage);
    }
    void expectOneReport(const wxString& strTitle, const wxString& strText) const
    {
        ASSERT_EQ(m_prompter.getReports().size(), 1u);
        EXPECT_EQ(m_prompter.getReports()[0].strTitle, strTitle);
        EXPECT_EQ(m_prompter.getReports()[0].strText, strText);
    }

    CTempDir m_dir;
    CFakeVolumeLayer m_layer;
    CFakeVolumeLayer::Drive* m_drive;
    CScriptedPrompter m_prompter;
    CAssertRecorder m_asserts;
    CDataCard m_card;
};
} // namespace

TEST_F(FileCardTest, ReadAcceptsWholeSectorsOnlyAndAtMostOneMebibyte)
{
    struct Case
    {
        size_t nFileSize;
        bool bOk;
    };
    const Case aCases[] = {{0, true},           {512, true},    {1000, false},
                           {kImage - 1, false}, {kImage, true}, {kImage + 1, true},
                           {kImage + 512, true}};
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(c.nFileSize);
        const std::string strFile = pattern(c.nFileSize, 3);
        ASSERT_TRUE(CTempDir::writeFile(cardPath(), strFile));
        fillImage(m_card, 9); // leftovers of an earlier command
        m_prompter.clear();
        m_prompter.answerIndex(0);
        CFileCard fileCard(m_layer);
        EXPECT_EQ(fileCard.read(m_card, m_prompter), c.bOk);
        if (!c.bOk)
        {
            expectOneReport("File is corrupted", cardPathText() + " read wrong\nfile size.");
            continue;
        }
        EXPECT_TRUE(m_prompter.getReports().empty());
        const size_t nUsed = std::min(c.nFileSize, kImage);
        const std::string strImage = image(m_card);
        EXPECT_EQ(strImage.substr(0, nUsed), strFile.substr(0, nUsed));
        EXPECT_EQ(strImage.substr(nUsed), std::string(kImage - nUsed, '\0'));
    }
}

TEST_F(FileCardTest, ReadErrorCountsAsCorruptedFile)
{
    // A file that cannot be read is no better than one of a wrong size. A
    // folder put in the file's place stands in for a failing card: it opens,
    // but every read fails.
    CFileCard fileCard(m_layer);
    ASSERT_TRUE(CTempDir::writeFile(cardPath(), std::string(512, 'a')));
    m_prompter.answerIndex(0);
    ASSERT_TRUE(fileCard.read(m_card, m_prompter));

    // Swap the file for a folder once the choice has seen it.
    struct CSwapPrompter : CScriptedPrompter
    {
        std::string strPath;
        int chooseIndex(const wxString& strMessage, const wxString& strCaption,
                        const wxArrayString& astrChoices) override
        {
            CTempDir::removeAll(strPath);
            CTempDir::makeDirs(strPath);
            return CScriptedPrompter::chooseIndex(strMessage, strCaption, astrChoices);
        }
    } swap;
    swap.strPath = cardPath();
    swap.answerIndex(0);
    EXPECT_FALSE(fileCard.read(m_card, swap));
    ASSERT_EQ(swap.getReports().size(), 1u);
    EXPECT_EQ(swap.getReports()[0].strTitle, "File is corrupted");
    EXPECT_EQ(swap.getReports()[0].strText, cardPathText() + " read wrong\nfile size.");
}

TEST_F(FileCardTest, ReadWithoutAnyFileOrWhenCancelled)
{
    CFileCard fileCard(m_layer);
    EXPECT_FALSE(fileCard.read(m_card, m_prompter));
    expectOneReport("Can't find the file",
                    "No configuration file found!\nPlease insert a micro SD card first.");

    ASSERT_TRUE(CTempDir::writeFile(cardPath(), std::string(512, 'a')));
    fillImage(m_card, 1);
    const std::string strBefore = image(m_card);
    m_prompter.clear();
    EXPECT_FALSE(fileCard.read(m_card, m_prompter)); // no answer: cancelled
    EXPECT_TRUE(m_prompter.getReports().empty());
    EXPECT_EQ(image(m_card), strBefore);
}

TEST_F(FileCardTest, WriteCreatesTheFileWithTheWholeImage)
{
    fillImage(m_card, 5);
    m_prompter.answerIndex(0);
    CFileCard fileCard(m_layer);
    EXPECT_TRUE(fileCard.write(m_card, m_prompter));
    EXPECT_TRUE(m_prompter.getReports().empty());
    EXPECT_EQ(CTempDir::readFile(cardPath()), image(m_card));
    EXPECT_FALSE(CTempDir::exists(tempPath()));

    // And reads it back.
    CDataCard card;
    m_prompter.answerIndex(0);
    EXPECT_TRUE(fileCard.read(card, m_prompter));
    EXPECT_EQ(image(card), image(m_card));
}

TEST_F(FileCardTest, WriteReplacesTheOldFileAndRemovesAStaleTemporaryFile)
{
    ASSERT_TRUE(CTempDir::writeFile(cardPath(), pattern(kImage, 1)));
    ASSERT_TRUE(CTempDir::writeFile(tempPath(), "left over"));
    fillImage(m_card, 2);
    m_prompter.answerIndex(0);
    CFileCard fileCard(m_layer);
    EXPECT_TRUE(fileCard.write(m_card, m_prompter));
    EXPECT_EQ(CTempDir::readFile(cardPath()), image(m_card));
    EXPECT_FALSE(CTempDir::exists(tempPath()));
}

TEST_F(FileCardTest, FreeSpaceIsCheckedBeforeAttributes)
{
    const std::string strOld = pattern(kImage, 1);
    ASSERT_TRUE(CTempDir::writeFile(cardPath(), strOld));
    m_layer.setAttributes(cardPath(), CVolumeLayer::eAttrReadOnly);
    fillImage(m_card, 2);
    CFileCard fileCard(m_layer);

    m_drive->nFreeBytes = kImage - 1; // even though the old file would make room
    m_prompter.answerIndex(0);
    EXPECT_FALSE(fileCard.write(m_card, m_prompter));
    expectOneReport("Can't write the file", "not enough volume space\n");
    EXPECT_EQ(m_layer.getAttributeQueries(), 0);
    EXPECT_EQ(m_layer.getReplaceCalls(), 0);

    // A failed query counts as no space, after an assertion.
    m_drive->bFreeOk = false;
    m_prompter.clear();
    m_prompter.answerIndex(0);
    EXPECT_FALSE(fileCard.write(m_card, m_prompter));
    expectOneReport("Can't write the file", "not enough volume space\n");
    ASSERT_EQ(m_asserts.getAsserts().size(), 1u);
    EXPECT_EQ(m_asserts.getAsserts()[0], "false");

    // Exactly 1 MiB is enough to get to the attributes.
    m_drive->bFreeOk = true;
    m_drive->nFreeBytes = kImage;
    m_prompter.clear();
    m_prompter.answerIndex(0);
    EXPECT_FALSE(fileCard.write(m_card, m_prompter));
    EXPECT_EQ(m_layer.getAttributeQueries(), 1);
    EXPECT_EQ(m_prompter.getReports().at(0).strText,
              cardPathText() + " is write protected\nPlease remove the protection first.");
    EXPECT_EQ(CTempDir::readFile(cardPath()), strOld);
}

TEST_F(FileCardTest, FirstBlockingAttributeIsReported)
{
    using V = CVolumeLayer;
    const wxString kCompressed = " is compressed\nPlease change this attribute first.";
    const wxString kEncrypted = " is encrypted\nPlease change this attribute first.";
    const wxString kHidden = " is hidden\nPlease change this attribute first.";
    const wxString kProtected = " is write protected\nPlease remove the protection first.";
    const wxString kSystem = " is a system file\nPlease change this attribute first.";
    struct Case
    {
        uint32_t nAttributes;
        const wxString& rReason;
    };
    const Case aCases[] = {
        {V::eAttrCompressed | V::eAttrEncrypted | V::eAttrHidden | V::eAttrReadOnly |
             V::eAttrSystem,
         kCompressed},
        {V::eAttrCompressed | V::eAttrReadOnly, kCompressed},
        {V::eAttrEncrypted | V::eAttrHidden, kEncrypted},
        {V::eAttrHidden | V::eAttrReadOnly, kHidden},
        {V::eAttrReadOnly | V::eAttrSystem, kProtected},
        {V::eAttrSystem, kSystem},
        {V::eAttrEncrypted, kEncrypted},
    };
    const std::string strOld = pattern(kImage, 1);
    ASSERT_TRUE(CTempDir::writeFile(cardPath(), strOld));
    fillImage(m_card, 2);
    CFileCard fileCard(m_layer);
    for (const Case& c : aCases)
    {
        SCOPED_TRACE(c.nAttributes);
        m_layer.setAttributes(cardPath(), c.nAttributes | 0x20); // and the archive bit
        m_prompter.clear();
        m_prompter.answerIndex(0);
        EXPECT_FALSE(fileCard.write(m_card, m_prompter));
        expectOneReport("Can't write the file", cardPathText() + c.rReason);
    }
    EXPECT_EQ(m_layer.getReplaceCalls(), 0);
    EXPECT_EQ(CTempDir::readFile(cardPath()), strOld);

    // Bits outside the five do not block.
    m_layer.setAttributes(cardPath(), 0x20 | 0x80);
    m_prompter.clear();
    m_prompter.answerIndex(0);
    EXPECT_TRUE(fileCard.write(m_card, m_prompter));
    EXPECT_EQ(CTempDir::readFile(cardPath()), image(m_card));
}

TEST_F(FileCardTest, FailedWriteIsReportedAndKeepsTheOldFile)
{
    const std::string strOld = pattern(kImage, 1);
    ASSERT_TRUE(CTempDir::writeFile(cardPath(), strOld));
    fillImage(m_card, 2);
    m_layer.setWriteFails(true);
    m_prompter.answerIndex(0);
    CFileCard fileCard(m_layer);
    EXPECT_FALSE(fileCard.write(m_card, m_prompter));
    expectOneReport("Can't write the file",
                    cardPathText() + " is not writable\nreason is unknown.");
    EXPECT_FALSE(fileCard.getLastError().empty());
    EXPECT_EQ(CTempDir::readFile(cardPath()), strOld);
}

TEST_F(FileCardTest, FolderNamedLikeTheFileIsNotReplaced)
{
    ASSERT_TRUE(CTempDir::makeDirs(cardPath()));
    ASSERT_TRUE(CTempDir::writeFile(cardPath() + "/keep", "data"));
    fillImage(m_card, 2);
    m_prompter.answerIndex(0);
    CFileCard fileCard(m_layer);
    EXPECT_FALSE(fileCard.write(m_card, m_prompter));
    expectOneReport("Can't write the file",
                    cardPathText() + " is not writable\nreason is unknown.");
    EXPECT_EQ(CTempDir::readFile(cardPath() + "/keep"), "data");
    EXPECT_FALSE(CTempDir::exists(tempPath()));
}

TEST_F(FileCardTest, RefusedVolumeEndsTheWriteBeforeAnyCheck)
{
    m_drive->info.bReadOnly = true;
    m_prompter.answerIndex(0);
    CFileCard fileCard(m_layer);
    EXPECT_FALSE(fileCard.write(m_card, m_prompter));
    expectOneReport("Can't write to this volume",
                    "The volume is write protected.\nPlease remove the write protection first.");
    EXPECT_EQ(m_layer.getAttributeQueries(), 0);
    EXPECT_FALSE(CTempDir::exists(cardPath()));
}

TEST_F(FileCardTest, RootWithNonAsciiNameIsReadAndWritten)
{
    const std::string strDir = m_dir.file("K\xC3\xA4rtchen \xE2\x82\xAC");
    ASSERT_TRUE(CTempDir::makeDirs(strDir));
    m_layer.setDrive(4, strDir + "/");
    fillImage(m_card, 8);
    CFileCard fileCard(m_layer);
    m_prompter.answerIndex(0);
    ASSERT_TRUE(fileCard.write(m_card, m_prompter)) << fileCard.getLastError();
    EXPECT_EQ(CTempDir::readFile(strDir + "/ZOLT.CFG"), image(m_card));

    CDataCard card;
    m_prompter.answerIndex(0);
    EXPECT_TRUE(fileCard.read(card, m_prompter));
    EXPECT_EQ(image(card), image(m_card));
    EXPECT_TRUE(m_prompter.getReports().empty());
}
