// Runs a call that may hang in the kernel (a card whose FUSE server or USB
// bridge stopped answering) with a time limit. The call runs in a process of
// its own that holds no file descriptor but the one its answer goes back on:
// a thread stuck in such a wait cannot be killed, and would keep the whole
// program from ever ending, while a stuck process is simply left behind and
// never waited for. Not for use by several threads at once.
#pragma once

#include <chrono>
#include <functional>
#include <string>

class CTimedProbe
{
public:
    // True when fnCall finished within nLimit; rstrAnswer is then what it
    // returned. fnNotice, when set, hears true before a wait longer than a
    // moment and false after it.
    static bool run(const std::function<std::string()>& fnCall, std::chrono::milliseconds nLimit,
                    const std::function<void(bool)>& fnNotice, std::string& rstrAnswer);
};
