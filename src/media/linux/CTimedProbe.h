// Runs a call that may hang in the kernel (a card whose FUSE server or USB
// bridge stopped answering) with a time limit. A call that runs out cannot be
// cancelled: its thread is left behind, detached, holding only what the call
// itself owns, and nobody ever waits for it.
#pragma once

#include <chrono>
#include <functional>

class CTimedProbe
{
public:
    // True when fnCall finished within nLimit. fnNotice, when set, hears
    // true before a wait longer than a moment and false after it.
    static bool run(std::function<void()> fnCall, std::chrono::milliseconds nLimit,
                    const std::function<void(bool)>& fnNotice);
};
