#include "platform/clock.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace pimoko {

struct RealClock::Impl {
    QElapsedTimer elapsed;
    QObject context; // owns the pending timers; deleting it drops them
    QHash<TaskId, QPointer<QTimer>> timers;
    TaskId nextId = 1;
};

RealClock::RealClock()
    : impl_(std::make_unique<Impl>())
{
    impl_->elapsed.start();
}

RealClock::~RealClock() = default;

qint64 RealClock::NowMs() const
{
    return impl_->elapsed.elapsed();
}

Clock::TaskId RealClock::At(qint64 timeMs, Task task)
{
    const TaskId id = impl_->nextId++;
    auto* timer = new QTimer(&impl_->context);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, [this, id, timer, task = std::move(task)]() {
        impl_->timers.remove(id);
        timer->deleteLater();
        task();
    });
    impl_->timers.insert(id, timer);
    timer->start(static_cast<int>(qMax<qint64>(0, timeMs - NowMs())));
    return id;
}

void RealClock::Cancel(TaskId id)
{
    QPointer<QTimer> timer = impl_->timers.take(id);
    if (timer) {
        timer->stop();
        timer->deleteLater();
    }
}

Clock::TaskId ManualClock::At(qint64 timeMs, Task task)
{
    const TaskId id = nextId_++;
    tasks_.emplace(std::make_pair(qMax(timeMs, now_), id), std::move(task));
    return id;
}

void ManualClock::Cancel(TaskId id)
{
    for (auto it = tasks_.begin(); it != tasks_.end(); ++it) {
        if (it->first.second == id) {
            tasks_.erase(it);
            return;
        }
    }
}

qint64 ManualClock::NextTaskTime() const
{
    return tasks_.empty() ? now_ : tasks_.begin()->first.first;
}

bool ManualClock::RunNext()
{
    if (tasks_.empty())
        return false;
    auto it = tasks_.begin();
    now_ = qMax(now_, it->first.first);
    Task task = std::move(it->second);
    tasks_.erase(it);
    task();
    now_ += taskCost_;
    return true;
}

void ManualClock::Advance(qint64 ms)
{
    const qint64 end = now_ + ms;
    while (!tasks_.empty() && tasks_.begin()->first.first <= end)
        RunNext();
    now_ = qMax(now_, end);
}

int ManualClock::RunUntilIdle(int limit)
{
    int n = 0;
    while (n < limit && RunNext())
        ++n;
    return n;
}

} // namespace pimoko
