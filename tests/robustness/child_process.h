#pragma once

#include <QByteArray>

#include <functional>

namespace pimoko::test {

// What a forked child did: how it ended, what it wrote back, and how much its resident
// memory grew while it ran the work (the child inherits the test's memory, so only the
// growth says what the work itself needed).
struct ChildOutcome {
    bool exited = false; // ended by _exit (not by a signal)
    int exitCode = -1;
    bool killed = false; // ended by SIGKILL
    int signal = 0; // the signal that ended it, if any
    long peakGrowthKb = 0; // ru_maxrss at the end minus ru_maxrss at the start
    QByteArray reply; // what the work returned
};

// Runs work in a forked child and waits for it. The child never returns into the test:
// it leaves with _exit, so no test teardown runs twice.
ChildOutcome RunInChild(const std::function<QByteArray()>& work);

// Starts work in a forked child, waits delayMicros after letting it go, then kills it
// with SIGKILL (unless it has finished already) and reaps it.
ChildOutcome KillDuring(const std::function<void()>& work, long delayMicros);

} // namespace pimoko::test
