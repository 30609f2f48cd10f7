#pragma once

#include "platform/canvas.h"
#include "platform/cursor_ids.h"
#include "player/link_areas.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace pimoko {

// The two pictures of the go-on button.
enum class GoOnGlyph { Advance, Link };

// What the viewer window shows, without the window: the page picture and its canvas, the
// link areas with their selection and highlight, the cursor, the go-on button and the
// screen mode. The window draws this state; the player and the reader's input change it.
class TViewerState {
public:
    static constexpr int kPictureX = 7; // the picture's place in its frame, in a window
    static constexpr int kPictureY = 7;
    static constexpr int kWindowWidth = 655; // client size in a window
    static constexpr int kWindowHeight = 535;
    static constexpr int kFrameWidth = 655;
    static constexpr int kFrameHeight = 495;

    TViewerState();
    TViewerState(const TViewerState&) = delete;
    TViewerState& operator=(const TViewerState&) = delete;

    // The 640 x 480 page picture (24 bits, blue-green-red). Its QImage object stays the
    // same for the viewer's life; only its pixels change.
    QImage& Picture() { return picture_; }
    const QImage& Picture() const { return picture_; }
    Canvas& PictureCanvas() { return canvas_; }

    LinkAreaTable& Links() { return links_; }
    const LinkAreaTable& Links() const { return links_; }

    int cursor = kCursorDefault;
    GoOnGlyph glyph = GoOnGlyph::Advance;
    bool goOnVisible = true; // Bitbtn1
    bool visible = false; // the viewer window is shown
    bool fullScreen = false; // the full-screen state the viewer is in
    QString caption = QStringLiteral("ピモコビューワ");

    enum class ScreenChange { None, ToFullScreen, ToWindow };
    // The mode the value holder asks for becomes the viewer's; says what the window must
    // do (nothing when the viewer is already in that mode).
    ScreenChange ApplyScreenMode(bool wantFullScreen);

    // Where the picture goes in a full-screen window of that size.
    static QPoint FullScreenPictureOrigin(const QSize& window);

private:
    QImage picture_;
    Canvas canvas_;
    LinkAreaTable links_;
};

} // namespace pimoko
