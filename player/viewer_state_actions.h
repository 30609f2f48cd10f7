#pragma once

#include "player/playback.h"

#include <QString>

namespace pimoko {

// Key codes the viewer acts on, as the window hands them in (see VirtualKeyOf).
constexpr int kVkReturn = 13;
constexpr int kVkEscape = 27;
constexpr int kVkSpace = 32;
constexpr int kVkLeft = 37;
constexpr int kVkUp = 38;
constexpr int kVkRight = 39;
constexpr int kVkDown = 40;
constexpr int kVkL = 76;
constexpr int kVkF1 = 112;

// A Qt key (Qt::Key) as one of the codes above; 0 for a key the viewer ignores.
int VirtualKeyOf(int qtKey);

// The reader's input in the viewer turned into the player's operations. While the busy
// flag is set only the stop actions act; everything else waits for the player to stop.
class TViewerActions {
public:
    explicit TViewerActions(TPlayback& playback);

    // The reader goes on: the next page, or the slider's page when the reader moved it.
    void ReaderAdvance();
    // Plays the link page of the selected link area; nothing when none is selected or the
    // reader moved the slider.
    void FollowSelectedLink();

    // Bitbtn1, and Enter or Space: follow the selected link when there are link areas,
    // else go on.
    void GoOnButtonClick();
    // A mouse button on the picture; only the left button alone acts.
    void PictureMouseDown(int x, int y, bool leftButtonAlone);
    // A mouse button on the black frame around the picture (acts in full screen only).
    void FrameMouseDown(bool leftButtonAlone);
    // The pointer over the picture selects the link area under it and frames it.
    void PictureMouseMove(int x, int y);
    // A key (one of the kVk codes).
    void KeyDown(int key);

    // The stop button and the "停止" menu item (only while a page plays).
    void StopButtonClick();
    bool StopMenuEnabled() const;
    // The list button (and "L" or F1): the page title list in player mode.
    void ListButtonClick();

    // What the popup menu's items read as it opens. In full screen a visible title list
    // is hidden first, since it would lie under the viewer.
    struct MenuItems {
        QString fullScreen; // N1
        QString titleList; // N2
        bool stopEnabled = false; // N3
    };
    MenuItems MenuOpening();
    // N1: the other screen mode becomes the wanted one and the viewer takes it.
    void FullScreenMenuClick();
    // N2: the title list shown in player mode when hidden, hidden when shown.
    void TitleListMenuClick();

    // The hidden page buttons: the nearest page before (forward false) or after the one
    // on screen that has a picture or fill of its own becomes current and plays. A page
    // that plays is given up first.
    void StepToPage(bool forward);

    // The viewer stopped being the active window.
    void Deactivated(bool minimised);
    // The viewer is asked to close: false (and the stop request set) while busy.
    bool CloseRequested();
    // The viewer was hidden: sounds stop and the editor comes back.
    void Hidden();
    // The viewer takes the screen mode the value holder asks for.
    void ApplyScreenMode();

private:
    void PlayLink(int page);
    bool LinksActive() const;

    TPlayback& playback_;
    const PlaybackParts& parts_;
};

} // namespace pimoko
