#pragma once

#include "editor/editor_ports.h"
#include "platform/cursor_ids.h"
#include "platform/numbers.h"

#include <QString>

#include <cstdlib>

namespace pimoko {

// Captions of the picture label.
inline const QString kFillCaption = QStringLiteral("背景塗りつぶし");
inline const QString kClipCaption = QStringLiteral("クリップ画像");

// The point size of a font height in pixels on a 96 dpi screen, without sign.
inline int PointSizeOfPixels(int pixels)
{
    return static_cast<int>(RoundHalfEven(std::abs(static_cast<long double>(pixels)) * 72 / 96));
}

// The wait cursor for the length of a long action, the default one after it, also when the
// action stops at an error.
class WaitCursor {
public:
    explicit WaitCursor(EditorViewPort& view)
        : view_(view)
    {
        view_.SetCursor(kCursorWait);
    }
    ~WaitCursor() { view_.SetCursor(kCursorDefault); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    EditorViewPort& view_;
};

} // namespace pimoko
