#pragma once

#include "platform/canvas.h"
#include "player/compositor.h"
#include "player/viewer_state.h"

#include <QString>

namespace pimoko {

// The viewer window as the player drives it. The state it shows (picture, cursor, glyph,
// go-on button, caption) is in TViewerState; these calls say when to show it.
class PlaybackScreen {
public:
    virtual ~PlaybackScreen() = default;
    // The picture changed (a present, a fade step, a typed character, a highlight).
    virtual void RepaintPicture() { }
    // Cursor, glyph, go-on button, caption or visibility changed.
    virtual void ViewerStateChanged() { }
    // The viewer is shown (a page starts playing) or closed.
    virtual void ShowViewer() { }
    virtual void CloseViewer() { }
    // The viewer switched between window and full screen (the title list is hidden first).
    virtual void ApplyScreenLayout(TViewerState::ScreenChange change) { (void)change; }
    // The page title list: shown in player mode for the reader, or hidden.
    virtual void ShowTitleListInPlayerMode() { }
    virtual void HideTitleList() { }
    virtual bool TitleListVisible() const { return false; }
    virtual bool TitleListInPlayerMode() const { return false; }
    // The viewer's menu sets the wanted screen mode: the hidden value holder, and with it
    // the options window's choice.
    virtual void SetFullScreenWanted(bool fullScreen) { (void)fullScreen; }
};

// The title list's page slider.
class PageSliderPort {
public:
    virtual ~PageSliderPort() = default;
    virtual void EnableSlider(bool enabled) = 0;
    // Enables the slider and puts it on page n (never counted as a move by the reader).
    virtual void SelectSliderPage(int n) = 0;
    // The reader moved the slider since the player last took the move.
    virtual bool SliderMoved() const = 0;
    virtual void ClearSliderMoved() = 0;
    // When the reader moved the slider: clears the flag and returns the page there; else 0.
    virtual int TakeSliderJump() = 0;
};

// A slider nobody moves (tools, tests without a title list).
class StillSlider : public PageSliderPort {
public:
    void EnableSlider(bool enabled) override { enabled_ = enabled; }
    void SelectSliderPage(int n) override
    {
        enabled_ = true;
        page_ = n;
    }
    bool SliderMoved() const override { return moved_; }
    void ClearSliderMoved() override { moved_ = false; }
    int TakeSliderJump() override
    {
        if (!moved_)
            return 0;
        moved_ = false;
        return page_;
    }
    // The reader's move, for tests.
    void MoveTo(int page)
    {
        page_ = page;
        moved_ = true;
    }
    bool Enabled() const { return enabled_; }
    int Page() const { return page_; }

private:
    bool enabled_ = true;
    bool moved_ = false;
    int page_ = 1;
};

// The editing side: the editor window's page state and windows. CurrentPage itself lives
// in the open book.
class PlaybackEditing {
public:
    virtual ~PlaybackEditing() = default;
    // The current page's edits into the page table before playing.
    virtual void StorePage() { }
    // The editor shows page n (its working copies are loaded from it), or empties its
    // controls for a page that is not in use.
    virtual void ShowPage(int n) { (void)n; }
    virtual void ClearPage(int n) { (void)n; }
    // The editor's page number label.
    virtual void ShowPageLabel(int n) { (void)n; }
    // The text settings window and the editor go down while a page plays ...
    virtual void MinimiseEditorWindows() { }
    // ... and the editor comes back when the viewer is hidden.
    virtual void RestoreEditorWindow() { }
    // The text of the editor's title field (the viewer's caption while playing); empty
    // means the book's own title.
    virtual QString BookTitle() const { return QString(); }
    // The screen mode the hidden full-screen value holder asks for.
    virtual bool WantsFullScreen() const { return false; }
};

// What happened during playback, step by step, for the headless player, its tests and the
// benchmark. Every call comes after the step it reports.
class PlaybackObserver {
public:
    enum class PictureKind { Load, Fill, Clip, Present };

    virtual ~PlaybackObserver() = default;
    virtual void OnPage(int page, bool inUse) { (void)page, (void)inUse; }
    // Load and Clip carry the resolved file, Fill its colour, Present neither.
    virtual void OnPicture(PictureKind kind, const QString& file, ColorRef color)
    {
        (void)kind, (void)file, (void)color;
    }
    virtual void OnFadeBegin(int wait) { (void)wait; }
    virtual void OnFadeEnd(const FadeReport& report) { (void)report; }
    virtual void OnChar(int n, const QString& ch, bool drawn) { (void)n, (void)ch, (void)drawn; }
    // The page finished: next is the new CurrentPage, links the number of link areas.
    virtual void OnPageDone(int page, int next, bool period, int links)
    {
        (void)page, (void)next, (void)period, (void)links;
    }
    // The player stopped and waits for the reader (period, stop, end, a free page).
    virtual void OnWait(int current) { (void)current; }
    // The book ended (a free slot came next); OnWait follows.
    virtual void OnEnd(int current) { (void)current; }
};

} // namespace pimoko
