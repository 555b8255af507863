// Replacing files safely on Windows: whole content or none, the file's marks
// kept, the same refusals and reasons as elsewhere, no leftovers.
#include "CSafeFileWriter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace
{
size_t entries(const std::string& strDir)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(strDir), {}));
}

DWORD attributesOf(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str());
}
} // namespace

TEST(SafeFileWriterWin, ReplacesWholeAndKeepsTheMarks)
{
    CTempDir dir;
    const std::string strNew = dir.file("new.CFG"), strHidden = dir.file("ZOLT.CFG");
    const std::string strBig(3 << 20, 'x');
    ASSERT_TRUE(CSafeFileWriter::write(strNew, strBig.data(), strBig.size()))
        << CSafeFileWriter::getLastError();
    EXPECT_EQ(CTempDir::readFile(strNew), strBig);

    ASSERT_TRUE(CTempDir::writeFile(strHidden, "old content, longer than the new"));
    ASSERT_TRUE(
        SetFileAttributesA(strHidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(CSafeFileWriter::write(strHidden, "new", 3)) << CSafeFileWriter::getLastError();
    EXPECT_EQ(CTempDir::readFile(strHidden), "new");
    EXPECT_EQ(attributesOf(strHidden) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(entries(dir.path()), 2u);

    // A device takes the content as it comes.
    EXPECT_TRUE(CSafeFileWriter::write("NUL", "x", 1)) << CSafeFileWriter::getLastError();
}

TEST(SafeFileWriterWin, RefusesAndKeepsTheOldFile)
{
    CTempDir dir;
    const std::string strLocked = dir.file("locked.zlx"), strOld = dir.file("old.zlx");
    ASSERT_TRUE(CTempDir::writeFile(strLocked, "kept"));
    ASSERT_TRUE(CTempDir::writeFile(strOld, "kept"));
    ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CTempDir::makeDirs(dir.file("folder.zlx")));
    const CSafeFileWriter::FnProducer fnBreaksOff = [](const CSafeFileWriter::FnSink& fnSink)
    { return fnSink("half", 4) && false; };
    const CSafeFileWriter::FnProducer fnWhole = [](const CSafeFileWriter::FnSink& fnSink)
    { return fnSink("new", 3); };
    const struct
    {
        std::string strPath;
        const CSafeFileWriter::FnProducer& fnProduce;
        std::string strError;
    } aCases[] = {
        {strLocked, fnWhole, strLocked + ": Permission denied"},
        {dir.file("folder.zlx"), fnWhole, dir.file("folder.zlx") + ": Is a directory"},
        {dir.file("nowhere/new.zlx"), fnWhole,
         dir.file("nowhere/new.zlx") + ": No such file or directory"},
        {dir.file("folder.zlx/"), fnWhole, dir.file("folder.zlx/") + ": Is a directory"},
        {strOld, fnBreaksOff, strOld},
    };
    for (const auto& c : aCases)
    {
        EXPECT_FALSE(CSafeFileWriter::write(c.strPath, c.fnProduce)) << c.strPath;
        EXPECT_EQ(CSafeFileWriter::getLastError(), c.strError);
    }
    EXPECT_EQ(CTempDir::readFile(strLocked), "kept");
    EXPECT_EQ(CTempDir::readFile(strOld), "kept");
    EXPECT_EQ(entries(dir.path()), 3u);
    EXPECT_EQ(entries(dir.file("folder.zlx")), 0u);
    SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_NORMAL);
}
