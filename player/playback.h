#pragma once

#include "platform/busy_state.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "player/playback_ports.h"
#include "player/sound_player.h"
#include "text/typing_stepper.h"

#include <QString>

#include <memory>

namespace pimoko {

class Compositor;
class TNovelPage;
class TOpenBook;
class TTextShotB;
class TViewerState;

// Everything the player works with. The player owns none of it.
struct PlaybackParts {
    TOpenBook& book;
    Compositor& compositor; // the viewer's picture must be handed to it
    TTextShotB& text;
    TViewerState& viewer;
    Clock& clock;
    SoundPort& sounds;
    PageSliderPort& slider;
    PlaybackEditing& editing;
    PlaybackScreen& screen;
    TBusyState& busy; // the program-wide busy flag and the stop request
};

// Plays a book page by page: a page's sound, background, clip and transition, then its
// text typed character by character; when the typing ends, the page decides whether the
// next page follows at once or the player waits for the reader. Fades and typing run on
// the clock from the event loop, so calls return at once and the reader's stop actions
// are seen between steps. A page starts the next one only after its own typing has
// ended, so playing never nests deeper than one page.
class TPlayback {
public:
    explicit TPlayback(const PlaybackParts& parts);
    ~TPlayback();
    TPlayback(const TPlayback&) = delete;
    TPlayback& operator=(const TPlayback&) = delete;

    void SetObserver(PlaybackObserver* observer) { observer_ = observer ? observer : &noObserver_; }

    // Plays from the book's CurrentPage; nothing while the busy flag is set.
    void StartPlaying();
    // Plays page n and starts its typing; false (and the player stops) when the page is
    // not in use.
    bool PlayPage(int n);
    // The end of a page's typing: present where the page asks, choose the next page, and
    // play it or wait.
    void PageDone();
    void PresentBackBuffer();
    // Black viewer picture, back buffer and fade source, and no link areas (before a book
    // is opened for reading or editing).
    void BlankViewer();

    // The viewer's sound operations; a bare name is taken from the book's folder.
    void PlaySound(const QString& file, bool looped);
    void StopSounds();

    // The stop actions set the request; PlayPage clears it. A fade ends at once, on its
    // target; typing ends once the character being typed is drawn.
    void RequestStop();
    bool StopRequest() const { return parts_.busy.StopRequested(); }

    int PlayingPage() const { return playingPage_; }
    int NextPageGoto() const { return nextPageGoto_; }
    bool NextPagePeriod() const { return nextPagePeriod_; }
    bool IsTyping() const { return stepper_.IsTyping(); }
    // Between PlayPage and the end of its typing (fade and typing included), or while
    // PageDone fades.
    bool PagePlaying() const { return pagePending_; }

    // A page's link page as the link areas follow it: -1 for none or one outside the book.
    int LinkPageOf(int page) const;

    const PlaybackParts& Parts() const { return parts_; }

    // Gives up the page that is playing without finishing it: its typing is dropped and
    // its fade ends at once on its target picture; nothing of either runs later.
    void Abandon();

private:
    void ShowBackBuffer(const TNovelPage& page, bool fade, void (TPlayback::*then)());
    void ContinuePlayPage();
    void SetUpText(const TNovelPage& page);
    void StartTyping();
    void ContinuePageDone();
    void ApplyEndOfBookCursor();
    void Wait();
    void CopyViewerToBackBuffer();

    PlaybackParts parts_;
    PlaybackObserver noObserver_;
    PlaybackObserver* observer_ = &noObserver_;
    TypingStepper stepper_;
    Canvas backCanvas_;
    int playingPage_ = 0;
    int nextPageGoto_ = 0;
    bool nextPagePeriod_ = false;
    bool pagePending_ = false;
    int fadeSerial_ = 0;
    // Fade reports arriving after the player is gone find this expired.
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

} // namespace pimoko
