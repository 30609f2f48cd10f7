#pragma once

#include <QtGlobal>

namespace pimoko {

// The splash stays up at least this long from its start, counting the time the windows
// take to be made, so a slow machine does not wait twice.
constexpr quint32 kSplashHoldMs = 1000;

// Milliseconds still to wait. The tick counter wraps at 2^32, so the elapsed time is the
// unsigned 32-bit difference: the wait is the same whatever the counter read at start.
constexpr quint32 SplashRemainingMs(
    quint32 startTick, quint32 nowTick, quint32 holdMs = kSplashHoldMs)
{
    const quint32 elapsed = nowTick - startTick;
    return elapsed >= holdMs ? 0 : holdMs - elapsed;
}

} // namespace pimoko
