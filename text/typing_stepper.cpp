#include "text/typing_stepper.h"

#include "text/text_shot_b.h"

namespace pimoko {

TypingStepper::TypingStepper(TTextShotB& engine, Clock& clock)
    : engine_(engine)
    , clock_(clock)
{
}

TypingStepper::~TypingStepper()
{
    Cancel();
}

bool TypingStepper::Start(Callbacks callbacks)
{
    if (typing_)
        return false;
    callbacks_ = std::move(callbacks);
    lastTypeTime_ = clock_.NowMs();
    index_ = 1;
    typing_ = true;
    done_ = false;
    ScheduleNext();
    return true;
}

void TypingStepper::Cancel()
{
    if (hasPending_)
        clock_.Cancel(pending_);
    hasPending_ = false;
    typing_ = false;
}

bool TypingStepper::StopRequested() const
{
    return callbacks_.stopRequested && callbacks_.stopRequested();
}

void TypingStepper::ScheduleNext()
{
    hasPending_ = true;
    if (index_ > engine_.CharCount()) {
        // The page ends on the next turn of the event loop; a stop that came in that
        // turn is reported with it.
        pending_ = clock_.At(clock_.NowMs(), [this]() {
            hasPending_ = false;
            Finish(StopRequested());
        });
        return;
    }
    pending_ = clock_.At(lastTypeTime_ + engine_.CharDelay(index_ - 1), [this]() { Step(); });
}

void TypingStepper::Step()
{
    hasPending_ = false;
    lastTypeTime_ = clock_.NowMs();
    const int n = index_;
    const QString ch = engine_.CharAt(n);
    const bool skipped = ch == QStringLiteral(" ") && engine_.CharDelay(n - 1) <= 0;
    if (!skipped)
        engine_.DrawChar(n);
    ++index_;
    if (callbacks_.onChar)
        callbacks_.onChar(n, ch, !skipped);
    if (!typing_)
        return; // cancelled from the callback
    if (StopRequested()) {
        Finish(true);
        return;
    }
    ScheduleNext();
}

void TypingStepper::Finish(bool stopped)
{
    if (engine_.DeferredComposite())
        engine_.CompositeAll();
    typing_ = false;
    done_ = true;
    if (callbacks_.onDone) {
        // The callback may start the next page's typing, which replaces callbacks_.
        auto onDone = callbacks_.onDone;
        onDone(stopped);
    }
}

} // namespace pimoko
