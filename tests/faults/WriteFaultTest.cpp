// The settings save and the card write with each system call failing in turn:
// a failure is reported and leaves the old file and no temporary file.
#include "CFileXml.h"
#include "CLinuxCardFile.h"
#include "CSafeFileWriter.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <unistd.h>

#define REAL(name) reinterpret_cast<decltype(&::name)>(dlsym(RTLD_NEXT, #name))
// A call that fails when hit and is passed on otherwise.
#define SHIM(name, hit, params, ...)                                                               \
    int name params                                                                                \
    {                                                                                              \
        return hit ? g.failed() : REAL(name)(__VA_ARGS__);                                         \
    }

namespace
{
// The call fails with the error; a write takes half of what it is given, or
// nothing and gives no reason; a read returns a byte that is not in the file.
constexpr int eFail = 0, eShort = 1, eZero = 2, eGarble = 3;

// While armed, the calls on files below strDir are traced, one letter each
// (open, write, reserve, truncate, flush, close, rename, read: "owRTfcrd");
// the one at nFailAt gets the fault.
struct SShim
{
    bool bArmed = false;
    std::string strDir, strTrace;
    size_t nFailAt = SIZE_MAX;
    int eEffect = eFail, nErrno = 0;
    std::map<int, bool> mapReadOnly; // the descriptors traced
    bool bReadOnlyClose = false;     // the fault hit a descriptor only read from

    bool below(const char* sz) { return bArmed && sz && std::string(sz).rfind(strDir, 0) == 0; }
    bool hit(bool bTraced, char c) { return bTraced && (strTrace += c).size() - 1 == nFailAt; }
    bool hitFd(int nFd, char c) { return hit(bArmed && mapReadOnly.count(nFd), c); }
    int failed() { return errno = nErrno, -1; }
    int opened(const char* sz, int nFd, bool bRead)
    {
        if (below(sz) && nFd >= 0)
            mapReadOnly[nFd] = bRead;
        return nFd;
    }
} g;
} // namespace

extern "C"
{
    int open(const char* szPath, int nFlags, ...)
    {
        va_list args;
        va_start(args, nFlags);
        const mode_t nMode = (nFlags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
        va_end(args);
        return g.hit(g.below(szPath), 'o') ? g.failed()
                                           : g.opened(szPath, REAL(open)(szPath, nFlags, nMode),
                                                      (nFlags & O_ACCMODE) == O_RDONLY);
    }
    int mkostemp(char* sz, int nFlags)
    {
        return g.hit(g.below(sz), 'o') ? g.failed()
                                       : g.opened(sz, REAL(mkostemp)(sz, nFlags), false);
    }
    ssize_t write(int nFd, const void* p, size_t n)
    {
        // A write of nothing leaves errno alone: here as an earlier
        // interrupted call left it, which must not count as one more.
        return !g.hitFd(nFd, 'w')    ? REAL(write)(nFd, p, n)
               : g.eEffect == eShort ? REAL(write)(nFd, p, (n + 1) / 2)
               : g.eEffect == eZero  ? (errno = EINTR, 0)
                                     : g.failed();
    }
    ssize_t read(int nFd, void* p, size_t n)
    {
        const bool bHit = g.hitFd(nFd, 'd');
        if (bHit && g.eEffect != eGarble)
            return g.failed();
        const ssize_t nRead = REAL(read)(nFd, p, n);
        if (bHit)
            static_cast<char*>(p)[0] ^= 0x5A;
        return !bHit || nRead > 0 ? nRead : (errno = EIO, -1);
    }
    int posix_fallocate(int nFd, off_t nOffset, off_t n)
    {
        return g.hitFd(nFd, 'R') ? g.nErrno : REAL(posix_fallocate)(nFd, nOffset, n);
    }
    int close(int nFd)
    {
        // The descriptor is gone either way, as on Linux.
        const bool bFail = g.hitFd(nFd, 'c');
        g.bReadOnlyClose |= bFail && g.mapReadOnly[nFd];
        g.mapReadOnly.erase(nFd);
        const int nResult = REAL(close)(nFd);
        return bFail ? g.failed() : nResult;
    }
    SHIM(ftruncate, g.hitFd(nFd, 'T'), (int nFd, off_t n), nFd, n)
    SHIM(fsync, g.hitFd(nFd, 'f'), (int nFd), nFd)
    SHIM(rename, g.hit(g.below(szOld), 'r'), (const char* szOld, const char* szNew), szOld, szNew)
}

namespace
{
// Writer 0 saves settings over a file, 1 through a link to a file yet to be
// made (in place), 2 writes a card image; in a fresh folder, the call at
// nFailAt failing. Gives the report, the target's content and the other files.
std::array<std::string, 3> run(int nWriter, size_t nFailAt, int eEffect, int nErrno)
{
    CTempDir dir;
    const std::string strTarget = dir.file(nWriter < 2 ? "s.zlx" : "ZOLT.CFG");
    if (nWriter == 1)
        symlink(strTarget.c_str(), dir.file("link").c_str());
    else
        CTempDir::writeFile(strTarget, nWriter == 0 ? "old" : std::string(1 << 20, '1'));
    std::array<std::string, 3> r;
    CFileXml file;
    CScriptedPrompter prompter;
    file.loadData(prompter, "<zolt-settings/>", 16);
    g = SShim{true, dir.path(), "", nFailAt, eEffect, nErrno, {}, false};
    if (nWriter == 2)
        CLinuxCardFile::replace(strTarget, dir.file("ZOLTCFG.TMP"),
                                std::string(1 << 20, '2').data(), 1 << 20, r[0]);
    else if (!file.saveFile(prompter, dir.file(nWriter == 0 ? "s.zlx" : "link")))
        r[0] = (prompter.getReports().at(0).strText + " " + CSafeFileWriter::getLastError())
                   .ToStdString();
    g.bArmed = false;
    r[1] = CTempDir::exists(strTarget) ? CTempDir::readFile(strTarget) : "";
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path() != strTarget)
            r[2] += entry.path().filename().string() + " ";
    return r;
}
} // namespace

TEST(WriteFaults, EveryCallOfEachWriterFailsInTurn)
{
    // The fault for each kind of call; the old content of each writer's target.
    const std::tuple<char, int, int> aFaults[] = {
        {'o', eFail, EIO}, {'o', eFail, ENOSPC}, {'w', eFail, ENOSPC}, {'w', eShort, 0},
        {'w', eZero, 0},   {'R', eFail, ENOSPC}, {'T', eFail, EIO},    {'f', eFail, EIO},
        {'c', eFail, EIO}, {'r', eFail, EXDEV},  {'d', eFail, EIO},    {'d', eGarble, 0}};
    const std::string astrOld[] = {"old", "", std::string(1 << 20, '1')};
    for (int nWriter = 0; nWriter < 3; ++nWriter)
    {
        const auto clean = run(nWriter, SIZE_MAX, eFail, 0);
        const std::string strCalls = g.strTrace;
        const char* const aszCalls[] = {"owfcr", "oRwTf", "owfco"}; // how the calls begin
        ASSERT_EQ(clean[0] + strCalls.substr(0, 5), aszCalls[nWriter]);
        for (size_t nAt = 0; nAt < strCalls.size(); ++nAt)
            for (const auto& [cKind, eEffect, nErrno] : aFaults)
            {
                if (strCalls[nAt] != cKind)
                    continue;
                const auto [strReport, strTarget, strLeft] = run(nWriter, nAt, eEffect, nErrno);
                SCOPED_TRACE(strCalls + ": call " + std::to_string(nAt) + " effect " +
                             std::to_string(eEffect) + " " + strerror(nErrno) + ": " + strReport);
                // A short write is no failure: the writer goes on with the
                // rest. Nor is closing what was only read from.
                const bool bOk = eEffect == eShort || g.bReadOnlyClose;
                EXPECT_EQ(strReport.empty(), bOk);
                EXPECT_TRUE(bOk || eEffect == eGarble ||
                            strReport.find(strerror(eEffect == eZero ? ENOSPC : nErrno)) !=
                                std::string::npos);
                // Once the new file has its name, only the flush of its folder
                // is left to fail.
                const bool bRenamed = strCalls.substr(0, nAt).find('r') != std::string::npos;
                EXPECT_EQ(strTarget, bOk || bRenamed ? clean[1] : astrOld[nWriter]);
                EXPECT_EQ(strLeft, nWriter == 1 ? "link " : "");
            }
    }
}
