// Replacing files safely on Windows: whole content or none, the file's marks
// kept, the same refusals and reasons as elsewhere, no leftovers.
#include "CSafeFileWriter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

TEST(SafeFileWriterWin, ReplacesWholeKeepsTheMarksOrRefuses)
{
    CTempDir dir;
    const std::string strHidden = dir.file("ZOLT.CFG"), strLocked = dir.file("locked.zlx");
    const std::string strBig(3 << 20, 'x');
    const DWORD nMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(CSafeFileWriter::write(strHidden, strBig.data(), strBig.size()));
    EXPECT_EQ(CTempDir::readFile(strHidden), strBig);
    ASSERT_TRUE(SetFileAttributesA(strHidden.c_str(), nMarks));
    ASSERT_TRUE(CSafeFileWriter::write(strHidden, "new", 3)) << CSafeFileWriter::getLastError();
    EXPECT_EQ(CTempDir::readFile(strHidden), "new");
    EXPECT_EQ(GetFileAttributesA(strHidden.c_str()) & nMarks, nMarks);
    EXPECT_TRUE(CSafeFileWriter::write("NUL", "x", 1)) << CSafeFileWriter::getLastError();

    ASSERT_TRUE(CTempDir::writeFile(strLocked, "kept"));
    ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CTempDir::makeDirs(dir.file("folder.zlx")));
    const std::pair<std::string, const char*> aCases[] = {
        {strLocked, "Permission denied"},
        {dir.file("folder.zlx"), "Is a directory"},
        {dir.file("nowhere/new.zlx"), "No such file or directory"},
        {dir.file("folder.zlx/"), "Is a directory"},
        {strHidden, nullptr}}; // the content breaks off
    for (const auto& c : aCases)
    {
        const char* szReason = c.second;
        EXPECT_FALSE(CSafeFileWriter::write(c.first,
                                            [szReason](const CSafeFileWriter::FnSink& fnSink)
                                            { return fnSink("half", 4) && szReason; }));
        EXPECT_EQ(CSafeFileWriter::getLastError(), szReason ? c.first + ": " + szReason : c.first);
    }
    EXPECT_EQ(CTempDir::readFile(strLocked) + CTempDir::readFile(strHidden), "keptnew");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder.zlx")));
    SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_NORMAL);
}
