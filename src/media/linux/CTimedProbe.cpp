#include "CTimedProbe.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace
{
struct State
{
    std::mutex mutex;
    std::condition_variable done;
    bool bDone = false;
};

// Shorter waits pass without a busy cursor flashing.
const std::chrono::milliseconds kMoment(100);
} // namespace

bool CTimedProbe::run(std::function<void()> fnCall, std::chrono::milliseconds nLimit,
                      const std::function<void(bool)>& fnNotice)
{
    auto pState = std::make_shared<State>();
    try
    {
        std::thread(
            [pState, fnCall = std::move(fnCall)]()
            {
                fnCall();
                std::lock_guard<std::mutex> lock(pState->mutex);
                pState->bDone = true;
                pState->done.notify_all();
            })
            .detach();
    }
    catch (const std::system_error&)
    {
        return false; // no thread to spare: not worth the risk of hanging
    }
    std::unique_lock<std::mutex> lock(pState->mutex);
    const auto isDone = [&pState] { return pState->bDone; };
    if (pState->done.wait_for(lock, std::min(kMoment, nLimit), isDone))
        return true;
    if (fnNotice)
        fnNotice(true);
    const bool bDone = pState->done.wait_for(lock, nLimit - std::min(kMoment, nLimit), isDone);
    if (fnNotice)
        fnNotice(false);
    return bDone;
}
