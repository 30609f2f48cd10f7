#pragma once

#include <QIcon>
#include <QImage>

namespace pimoko {

// The pictures on the editor window's buttons, drawn in code (16 x 16, transparent
// around the drawing).
enum class EditorGlyph {
    PreviousPage,
    NextPage,
    InsertBefore,
    InsertAfter,
    DeletePage,
    LoadPicture,
    Fill,
    ClearPicture,
    Clip,
    LoadSound,
    NoSound,
    Audition,
    StopAudition,
    TextSettings,
    Effects,
    Options,
    TitleList,
    OpenBook,
    Save,
    SaveAs,
    Play,
    Distribute,
    WebPage,
};
constexpr int kEditorGlyphCount = static_cast<int>(EditorGlyph::WebPage) + 1;

QImage EditorGlyphImage(EditorGlyph glyph);
QIcon EditorGlyphIcon(EditorGlyph glyph);

// The 16 x 16 pictures of the three draw modes (1 straight onto the screen, 2 into the
// sketch, 3 the sketch shown), as the effects window's mode buttons show them, and the
// same doubled without smoothing for the editor's summary. Other modes give mode 1.
QImage DrawModeGlyph(int mode);
QImage DrawModePicture(int mode);

} // namespace pimoko
