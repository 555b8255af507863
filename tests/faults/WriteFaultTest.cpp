// The settings save and the card write under failing system calls: each
// call of a write fails in turn, and every failure must be reported, leave
// the old file byte for byte and leave no temporary file.
#include "CDataCard.h"
#include "CFileXml.h"
#include "CLinuxCardFile.h"
#include "CSafeFileWriter.h"
#include "CScriptedPrompter.h"
#include "CTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace
{
enum EKind
{
    eOpen,
    eWrite,
    eReserve,
    eTruncate,
    eFsync,
    eClose,
    eRename,
    eRead
};
const char* const kKinds = "owRTfcrd";
enum EEffect
{
    eFail,  // the call fails with the error
    eShort, // a write takes half of what it is given
    eZero,  // a write takes nothing and gives no reason
    eGarble // a read returns a byte that is not in the file
};
struct SFault
{
    EKind eKind;
    EEffect eEffect;
    int nErrno;
};

// While armed, the calls on files below strDir are counted; the one at
// nFailAt gets the fault.
struct SShim
{
    bool bArmed = false;
    std::string strDir;
    std::map<int, bool> mapFdReadOnly;
    std::vector<EKind> aeTrace;
    size_t nFailAt = SIZE_MAX;
    SFault fault{};
    bool bReadOnlyClose = false; // the fault hit a descriptor only read from
} g_shim;

template <class Fn> Fn real(const char* szName)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, szName));
}

bool below(const char* szPath)
{
    return g_shim.bArmed && szPath != nullptr && std::string(szPath).rfind(g_shim.strDir, 0) == 0;
}

bool tracked(int nFd)
{
    return g_shim.bArmed && g_shim.mapFdReadOnly.count(nFd) != 0;
}

// Counts the call; true when it is the one to fail.
bool hit(bool bTracked, EKind eKind)
{
    if (!bTracked)
        return false;
    g_shim.aeTrace.push_back(eKind);
    return g_shim.aeTrace.size() - 1 == g_shim.nFailAt;
}

int failWith(int nErrno)
{
    errno = nErrno;
    return -1;
}

int opened(const char* szPath, int nFd, int nFlags)
{
    if (nFd >= 0 && below(szPath))
        g_shim.mapFdReadOnly[nFd] = (nFlags & O_ACCMODE) == O_RDONLY;
    return nFd;
}
} // namespace

extern "C"
{
    int open(const char* szPath, int nFlags, ...)
    {
        va_list args;
        va_start(args, nFlags);
        const mode_t nMode = (nFlags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
        va_end(args);
        if (hit(below(szPath), eOpen))
            return failWith(g_shim.fault.nErrno);
        return opened(szPath, real<int (*)(const char*, int, ...)>("open")(szPath, nFlags, nMode),
                      nFlags);
    }
    int mkostemp(char* szTemplate, int nFlags)
    {
        if (hit(below(szTemplate), eOpen))
            return failWith(g_shim.fault.nErrno);
        return opened(szTemplate, real<int (*)(char*, int)>("mkostemp")(szTemplate, nFlags),
                      O_RDWR);
    }
    ssize_t write(int nFd, const void* pData, size_t nSize)
    {
        static const auto fnWrite = real<ssize_t (*)(int, const void*, size_t)>("write");
        if (!hit(tracked(nFd), eWrite))
            return fnWrite(nFd, pData, nSize);
        const EEffect eEffect = g_shim.fault.eEffect;
        return eEffect == eShort  ? fnWrite(nFd, pData, (nSize + 1) / 2)
               : eEffect == eZero ? 0
                                  : failWith(g_shim.fault.nErrno);
    }
    ssize_t read(int nFd, void* pBuffer, size_t nSize)
    {
        static const auto fnRead = real<ssize_t (*)(int, void*, size_t)>("read");
        if (!hit(tracked(nFd), eRead))
            return fnRead(nFd, pBuffer, nSize);
        if (g_shim.fault.eEffect != eGarble)
            return failWith(g_shim.fault.nErrno);
        // One byte changed; at the end of the file, an error.
        const ssize_t n = fnRead(nFd, pBuffer, nSize);
        if (n <= 0)
            return failWith(EIO);
        static_cast<char*>(pBuffer)[0] ^= 0x5A;
        return n;
    }
    int posix_fallocate(int nFd, off_t nOffset, off_t nLength)
    {
        if (hit(tracked(nFd), eReserve))
            return g_shim.fault.nErrno;
        return real<int (*)(int, off_t, off_t)>("posix_fallocate")(nFd, nOffset, nLength);
    }
    int ftruncate(int nFd, off_t nLength)
    {
        if (hit(tracked(nFd), eTruncate))
            return failWith(g_shim.fault.nErrno);
        return real<int (*)(int, off_t)>("ftruncate")(nFd, nLength);
    }
    int fsync(int nFd)
    {
        if (hit(tracked(nFd), eFsync))
            return failWith(g_shim.fault.nErrno);
        return real<int (*)(int)>("fsync")(nFd);
    }
    int close(int nFd)
    {
        // The descriptor is gone either way, as on Linux.
        const bool bFail = hit(tracked(nFd), eClose);
        if (bFail)
            g_shim.bReadOnlyClose = g_shim.mapFdReadOnly[nFd];
        g_shim.mapFdReadOnly.erase(nFd);
        const int nResult = real<int (*)(int)>("close")(nFd);
        return bFail ? failWith(g_shim.fault.nErrno) : nResult;
    }
    int rename(const char* szOld, const char* szNew)
    {
        if (hit(below(szOld), eRename))
            return failWith(g_shim.fault.nErrno);
        return real<int (*)(const char*, const char*)>("rename")(szOld, szNew);
    }
}

namespace
{
using Listing = std::set<std::string>;

Listing listing(const std::string& strDir)
{
    Listing aNames;
    for (const auto& entry : std::filesystem::directory_iterator(strDir))
        aNames.insert(entry.path().filename().string());
    return aNames;
}

std::optional<std::string> content(const std::string& strPath)
{
    if (!CTempDir::exists(strPath))
        return std::nullopt;
    return CTempDir::readFile(strPath);
}

std::string image(uint8_t cSeed)
{
    std::string str(CDataCard::kImageSize, '\0');
    for (size_t i = 0; i < str.size(); ++i)
        str[i] = static_cast<char>(i * 7 + cSeed + (i >> 9));
    return str;
}

// One writer at work: prepares its folder, writes, and says what it
// reported (empty when it succeeded).
struct SWriter
{
    const char* szName;
    const char* szCalls;  // how its calls begin: one letter per kind, as in kKinds
    const char* szTarget; // the file that must be old or new afterwards
    std::function<void(const CTempDir&)> fnPrepare;
    std::function<std::string(const CTempDir&)> fnWrite;
    std::optional<std::string> strOld, strNew;
};

std::string settingsSave(const CTempDir& dir, const char* szPath)
{
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    CFileXml file;
    file.buildSettings(sys, tool);
    CScriptedPrompter prompter;
    if (file.saveFile(prompter, dir.file(szPath)))
        return "";
    return (prompter.getReports().at(0).strText + " " + CSafeFileWriter::getLastError())
        .ToStdString();
}

std::string cardWrite(const CTempDir& dir)
{
    std::string strError;
    const std::string strImage = image(2);
    CLinuxCardFile::replace(dir.file("ZOLT.CFG"), dir.file("ZOLTCFG.TMP"), strImage.data(),
                            strImage.size(), strError);
    return strError;
}

std::string defaultDocument()
{
    CTempDir dir;
    settingsSave(dir, "s.zlx");
    return CTempDir::readFile(dir.file("s.zlx"));
}

std::vector<SWriter> writers()
{
    const std::string strDocument = defaultDocument();
    return {{"settings save", "owfcrofc", "s.zlx",
             [](const CTempDir& dir) { dir.write("s.zlx", "old settings"); },
             [](const CTempDir& dir) { return settingsSave(dir, "s.zlx"); }, "old settings",
             strDocument},
            {"settings save through a link to a file yet to be made", "oRwTfc", "new.zlx",
             [](const CTempDir& dir)
             { ASSERT_EQ(symlink(dir.file("new.zlx").c_str(), dir.file("link").c_str()), 0); },
             [](const CTempDir& dir) { return settingsSave(dir, "link"); }, std::nullopt,
             strDocument},
            {"card write", "owfco", "ZOLT.CFG",
             [](const CTempDir& dir) { dir.write("ZOLT.CFG", image(1)); }, cardWrite, image(1),
             image(2)}};
}

// Runs one write, with the call at nFailAt failing, in a fresh folder.
struct SRun
{
    std::string strReport;
    std::vector<EKind> aeTrace;
    std::optional<std::string> strTarget;
    Listing before, after;
    bool bReadOnlyClose;
};

SRun run(const SWriter& w, size_t nFailAt, const SFault& fault)
{
    CTempDir dir;
    SRun r;
    w.fnPrepare(dir);
    r.before = listing(dir.path());
    g_shim = SShim{true, dir.path(), {}, {}, nFailAt, fault};
    r.strReport = w.fnWrite(dir);
    g_shim.bArmed = false;
    r.aeTrace = g_shim.aeTrace;
    r.bReadOnlyClose = g_shim.bReadOnlyClose;
    r.strTarget = content(dir.file(w.szTarget));
    r.after = listing(dir.path());
    r.after.erase(w.szTarget);
    r.before.erase(w.szTarget);
    return r;
}
} // namespace

TEST(WriteFaults, EveryCallOfBothWritersFailsInTurn)
{
    const SFault aFaults[] = {
        {eOpen, eFail, EIO},       {eOpen, eFail, ENOSPC},  {eWrite, eFail, ENOSPC},
        {eWrite, eFail, EIO},      {eWrite, eShort, 0},     {eWrite, eZero, 0},
        {eReserve, eFail, ENOSPC}, {eTruncate, eFail, EIO}, {eFsync, eFail, EIO},
        {eClose, eFail, EIO},      {eRename, eFail, EIO},   {eRename, eFail, EXDEV},
        {eRead, eFail, EIO},       {eRead, eGarble, 0}};
    size_t nRuns = 0;
    for (const SWriter& w : writers())
    {
        const SRun clean = run(w, SIZE_MAX, {});
        ASSERT_EQ(clean.strReport, "") << w.szName;
        ASSERT_TRUE(clean.strTarget == w.strNew) << w.szName;
        std::string strCalls;
        for (EKind eKind : clean.aeTrace)
            strCalls += kKinds[eKind];
        EXPECT_EQ(strCalls.substr(0, strlen(w.szCalls)), w.szCalls) << w.szName;
        for (size_t nAt = 0; nAt < clean.aeTrace.size(); ++nAt)
            for (const SFault& f : aFaults)
            {
                if (f.eKind != clean.aeTrace[nAt])
                    continue;
                const SRun r = run(w, nAt, f);
                ++nRuns;
                SCOPED_TRACE(std::string(w.szName) + ": call " + std::to_string(nAt) + " kind " +
                             std::to_string(f.eKind) + " effect " + std::to_string(f.eEffect) +
                             " " + strerror(f.nErrno));
                // A short write is no failure: the writer goes on with the
                // rest. Nor is closing what was only read from.
                const bool bOk = f.eEffect == eShort || r.bReadOnlyClose;
                EXPECT_EQ(r.strReport.empty(), bOk) << r.strReport;
                // The system's reason is passed on.
                const int nReason = f.eEffect == eZero ? ENOSPC : f.nErrno;
                if (!bOk && f.eEffect != eGarble)
                {
                    EXPECT_NE(r.strReport.find(strerror(nReason)), std::string::npos)
                        << r.strReport;
                }
                // Once the new file has its name, only the flush of its folder
                // is left to fail.
                size_t nRename = 0;
                while (nRename < nAt && r.aeTrace[nRename] != eRename)
                    ++nRename;
                EXPECT_TRUE(r.strTarget == (bOk || nRename < nAt ? w.strNew : w.strOld));
                EXPECT_EQ(r.after, r.before);
            }
    }
    // The calls of the three writes: open, write, flush, close, rename, the
    // folder's open, flush and close, and for the card the read-back.
    EXPECT_GE(nRuns, 60u);
    std::cout << nRuns << " faults injected\n";
}

// A real file system that fills up in the middle of a write and then turns
// read-only, mounted in a private namespace so that nothing shows outside.
TEST(WriteFaults, FileSystemThatFillsUpOrTurnsReadOnly)
{
    if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "needs root and a private mount namespace";
    const std::vector<SWriter> aWriters = writers();
    CTempDir dir;
    // Room for the old card image and half of a new one.
    ASSERT_EQ(mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=1536k"), 0);
    struct SUnmount
    {
        std::string strPath;
        ~SUnmount() { umount2(strPath.c_str(), MNT_DETACH); }
    } unmount{dir.path()};
    for (const SWriter& w : aWriters)
        w.fnPrepare(dir);
    const std::function<void()> afnStates[] = {
        [] {},
        [&]
        {
            // Every page taken.
            std::string strFill(1 << 20, 'f');
            CTempDir::writeFile(dir.file("filler"), strFill);
        },
        [&]
        {
            unlink(dir.file("filler").c_str());
            ASSERT_EQ(mount(nullptr, dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr),
                      0);
        }};
    for (size_t nState = 0; nState < std::size(afnStates); ++nState)
    {
        afnStates[nState]();
        // With room for half an image, only the card write runs out of it.
        for (size_t i = nState == 0 ? 2 : 0; i < aWriters.size(); ++i)
        {
            const SWriter& w = aWriters[i];
            SCOPED_TRACE(std::string(w.szName) + " in state " + std::to_string(nState));
            const Listing before = listing(dir.path());
            EXPECT_NE(w.fnWrite(dir), "");
            EXPECT_TRUE(content(dir.file(w.szTarget)) == w.strOld);
            EXPECT_EQ(listing(dir.path()), before);
        }
    }
}
