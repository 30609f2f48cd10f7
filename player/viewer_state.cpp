#include "player/viewer_state.h"

#include "platform/bitmap.h"

namespace pimoko {

TViewerState::TViewerState()
    : picture_(NewBitmap24(kPageWidth, kPageHeight))
    , canvas_(&picture_)
{
    // The picture's own font until a page sets one: the frame's face at 30 pixels, yellow.
    CanvasFont font;
    font.name = QStringLiteral("ＭＳ 明朝");
    font.height = 30;
    font.color = MakeColorRef(255, 255, 0);
    canvas_.SetFont(font);
    links_.ClearLinkAreas();
}

TViewerState::ScreenChange TViewerState::ApplyScreenMode(bool wantFullScreen)
{
    if (wantFullScreen && !fullScreen) {
        fullScreen = true;
        visible = true;
        return ScreenChange::ToFullScreen;
    }
    if (!wantFullScreen && fullScreen) {
        fullScreen = false;
        visible = true;
        return ScreenChange::ToWindow;
    }
    return ScreenChange::None;
}

QPoint TViewerState::FullScreenPictureOrigin(const QSize& window)
{
    // Truncating like the window's own integer division, also for a window narrower than
    // the picture.
    return QPoint((window.width() - kPageWidth) / 2, (window.height() - kPageHeight) / 2);
}

} // namespace pimoko
