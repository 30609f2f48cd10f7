#pragma once

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace pimoko {

// Time for typing, fades and the splash. Steppers read NowMs() and schedule their next
// step with At(); they never wait in a loop. Between steps the event loop runs, so the
// reader's stop actions are seen.
class Clock {
public:
    using Task = std::function<void()>;
    using TaskId = std::uint64_t;

    virtual ~Clock() = default;

    // Milliseconds since an arbitrary start, never going back.
    virtual qint64 NowMs() const = 0;

    // The 32-bit millisecond tick counter, which wraps: differences are taken modulo 2^32.
    quint32 TickCount() const { return static_cast<quint32>(NowMs()); }

    // Runs task once the clock reads at least timeMs, from the event loop (never inside
    // this call, even when timeMs has passed). Returns an id for Cancel().
    virtual TaskId At(qint64 timeMs, Task task) = 0;
    TaskId After(qint64 delayMs, Task task) { return At(NowMs() + delayMs, std::move(task)); }

    // Forgets a task that has not run yet; harmless for one that ran.
    virtual void Cancel(TaskId id) = 0;
};

// The real clock: a steady timer and precise Qt timers on the current thread's event loop.
class RealClock : public Clock {
public:
    RealClock();
    ~RealClock() override;
    qint64 NowMs() const override;
    TaskId At(qint64 timeMs, Task task) override;
    void Cancel(TaskId id) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A clock for tests and the headless player: time moves only when told, and the
// scheduled tasks run in time order (tasks at the same time in the order scheduled).
class ManualClock : public Clock {
public:
    qint64 NowMs() const override { return now_; }
    TaskId At(qint64 timeMs, Task task) override;
    void Cancel(TaskId id) override;

    // Moves time by ms, running every task that falls due on the way, each at its time.
    void Advance(qint64 ms);
    // Runs the earliest task, moving time to it. False when none is scheduled.
    bool RunNext();
    // Runs tasks until none is left or limit tasks have run; returns how many ran.
    int RunUntilIdle(int limit = 1000000);
    bool HasPending() const { return !tasks_.empty(); }
    qint64 NextTaskTime() const;
    // Time added to the clock by the work of every task (a simulated slow machine).
    void SetTaskCost(qint64 ms) { taskCost_ = ms; }

private:
    qint64 now_ = 0;
    qint64 taskCost_ = 0;
    TaskId nextId_ = 1;
    // Ordered by (time, id): ids grow, so equal times keep their scheduling order.
    std::map<std::pair<qint64, TaskId>, Task> tasks_;
};

} // namespace pimoko
