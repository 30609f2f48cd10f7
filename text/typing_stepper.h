#pragma once

#include "platform/clock.h"

#include <QString>

#include <functional>

namespace pimoko {

class TTextShotB;

// Types a page's text through a TTextShotB, one character per step of the event loop,
// each after its delay counted from the start of the previous character (or of the
// typing, for the first). Between characters control goes back to the event loop, so
// the reader's stop actions are seen; the stop request is tested right after each
// character, never before one: a stop that comes while a character's delay runs (or
// before the typing started) ends the page once that character is drawn. A half-width
// space whose delay is 0 or less is skipped without drawing. At the end (also when
// stopped) a deferred page is blended into its target once, then the done callback runs.
class TypingStepper {
public:
    struct Callbacks {
        // After character n was typed (drawn) or skipped.
        std::function<void(int n, const QString& ch, bool drawn)> onChar;
        // Tested after each character; true ends the typing.
        std::function<bool()> stopRequested;
        // When typing ended: stopped is true when the stop request ended it.
        std::function<void(bool stopped)> onDone;
    };

    TypingStepper(TTextShotB& engine, Clock& clock);
    ~TypingStepper();
    TypingStepper(const TypingStepper&) = delete;
    TypingStepper& operator=(const TypingStepper&) = delete;

    // Starts typing the engine's text from character 1. Does nothing and returns false
    // while typing is under way.
    bool Start(Callbacks callbacks);
    // Forgets the pending step without finishing: no composite, no done callback (for
    // tearing the viewer down).
    void Cancel();

    bool IsTyping() const { return typing_; }
    bool IsDone() const { return done_; }
    // The next character to type (1-based).
    int TypingIndex() const { return index_; }
    qint64 LastTypeTime() const { return lastTypeTime_; }

private:
    void ScheduleNext();
    void Step();
    void Finish(bool stopped);
    bool StopRequested() const;

    TTextShotB& engine_;
    Clock& clock_;
    Callbacks callbacks_;
    Clock::TaskId pending_ = 0;
    bool hasPending_ = false;
    bool typing_ = false;
    bool done_ = false;
    int index_ = 1;
    qint64 lastTypeTime_ = 0;
};

} // namespace pimoko
