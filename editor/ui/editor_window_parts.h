#pragma once

#include "editor/ui/editor_glyphs.h"

#include <QApplication>
#include <QFont>
#include <QPushButton>

namespace pimoko {

// The editor's face at a pixel size.
inline QFont EditorFont(int pixels)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixels);
    return font;
}

// A button with its caption, hint and glyph.
inline QPushButton* MakeButton(
    const QString& caption, const QString& hint, EditorGlyph glyph, QWidget* parent)
{
    auto* button = new QPushButton(EditorGlyphIcon(glyph), caption, parent);
    button->setToolTip(hint);
    button->setIconSize(QSize(16, 16));
    return button;
}

// The wait cursor for a long action of the window's own, for the scope.
class WindowWaitCursor {
public:
    WindowWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WindowWaitCursor() { QApplication::restoreOverrideCursor(); }
    WindowWaitCursor(const WindowWaitCursor&) = delete;
    WindowWaitCursor& operator=(const WindowWaitCursor&) = delete;
};

} // namespace pimoko
