#include "CTimedProbe.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{
// Shorter waits pass without a busy cursor flashing.
const std::chrono::milliseconds kMoment(100);

// Probes that ran out; whichever has ended since is reaped by the next probe.
std::vector<pid_t>& leftBehind()
{
    static std::vector<pid_t> s_anPids;
    return s_anPids;
}

void reapLeftBehind()
{
    std::vector<pid_t>& rPids = leftBehind();
    rPids.erase(std::remove_if(rPids.begin(), rPids.end(),
                               [](pid_t n) { return waitpid(n, nullptr, WNOHANG) != 0; }),
                rPids.end());
}

[[noreturn]] void runProbe(const std::function<std::string()>& fnCall, int nFd)
{
    // Nothing of the program stays open in here: not its terminal, not a
    // pipe a shell waits on, not a display connection.
    if (nFd > 0)
        close_range(0, static_cast<unsigned>(nFd) - 1, 0);
    close_range(static_cast<unsigned>(nFd) + 1, ~0U, 0);
    const std::string strAnswer = fnCall();
    for (size_t nDone = 0; nDone < strAnswer.size();)
    {
        const ssize_t n = write(nFd, strAnswer.data() + nDone, strAnswer.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        nDone += static_cast<size_t>(n);
    }
    _exit(0);
}
} // namespace

bool CTimedProbe::run(const std::function<std::string()>& fnCall, std::chrono::milliseconds nLimit,
                      const std::function<void(bool)>& fnNotice, std::string& rstrAnswer)
{
    int anFd[2];
    if (pipe2(anFd, O_CLOEXEC) != 0)
        return false;
    reapLeftBehind();
    const pid_t nChild = fork();
    if (nChild == 0)
        runProbe(fnCall, anFd[1]);
    close(anFd[1]);
    if (nChild < 0)
    {
        close(anFd[0]);
        return false;
    }

    using Clock = std::chrono::steady_clock;
    const Clock::time_point tEnd = Clock::now() + nLimit;
    const Clock::time_point tNotice = Clock::now() + kMoment;
    bool bNoticed = false, bEnd = false;
    std::string strAnswer;
    while (!bEnd)
    {
        const Clock::time_point tNow = Clock::now();
        if (tNow >= tEnd)
            break;
        if (!bNoticed && tNow >= tNotice && fnNotice)
        {
            fnNotice(true);
            bNoticed = true;
        }
        const auto nWait = std::chrono::duration_cast<std::chrono::milliseconds>(
            (bNoticed || !fnNotice ? tEnd : std::min(tEnd, tNotice)) - tNow);
        pollfd fd = {anFd[0], POLLIN, 0};
        const int nReady = poll(&fd, 1, static_cast<int>(nWait.count()) + 1);
        if (nReady < 0 && errno != EINTR)
            break;
        if (nReady <= 0)
            continue;
        char ac[65536];
        const ssize_t n = read(anFd[0], ac, sizeof(ac));
        if (n > 0)
            strAnswer.append(ac, static_cast<size_t>(n));
        else if (n == 0)
            bEnd = true;
        else if (errno != EINTR)
            break;
    }
    close(anFd[0]);
    if (bEnd)
        while (waitpid(nChild, nullptr, 0) < 0 && errno == EINTR)
        {
        }
    else
        leftBehind().push_back(nChild);
    if (bNoticed)
        fnNotice(false);
    if (bEnd)
        rstrAnswer.swap(strAnswer);
    return bEnd;
}
