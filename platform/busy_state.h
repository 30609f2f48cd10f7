#pragma once

namespace pimoko {

// The program-wide busy flag and the reader's stop request, with one owner (the reading
// session). The flag is set while the book list is read, while a book plays or fades and
// while the library titles are refreshed; every action except the stop actions tests it
// first. The stop actions set the request; typing and fades end at their next step.
class TBusyState {
public:
    bool IsBusy() const { return busy_; }
    // Takes the flag; false (nothing changes) when it was already taken.
    bool TryTake()
    {
        if (busy_)
            return false;
        busy_ = true;
        return true;
    }
    void Release() { busy_ = false; }

    void RequestStop() { stop_ = true; }
    void ClearStop() { stop_ = false; }
    bool StopRequested() const { return stop_; }

    // Holds the flag for a scope; holds nothing when it was already taken.
    class Hold {
    public:
        explicit Hold(TBusyState& state)
            : state_(state)
            , held_(state.TryTake())
        {
        }
        ~Hold()
        {
            if (held_)
                state_.Release();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        bool Held() const { return held_; }

    private:
        TBusyState& state_;
        bool held_;
    };

private:
    bool busy_ = false;
    bool stop_ = false;
};

} // namespace pimoko
