#pragma once

#include "editor/editor_ports.h"

#include <QString>

namespace pimoko {

class TPageEditor;

// The state behind "絵本オプション": the path of the book being edited, the book's default
// fade wait, and its escapement string (the extra characters to turn in vertical
// writing), which the book owns and the text engines take from it.
class TBookOptions {
public:
    explicit TBookOptions(TPageEditor& editor);

    static const QString kNeverSaved; // "ファイルが保存されていない"

    // The editor's "編集オプション": the fields from the request and the book.
    void Open(const BookOptionsRequest& request);
    // A fade speed menu item (FadeSpeedPresetValue) into DefaultEffectWaitEdit.
    void SpeedPreset(int item);
    // "OK" without the hiding: the number in DefaultEffectWaitEdit, written in decimal,
    // becomes the editor's default fade wait; a changed value marks the book modified, as
    // the editor's own speed menu does. A text that is no whole number throws EConvertError
    // and changes nothing.
    void Ok();
    // EscEdit changed by the user: the book's escapement becomes its text.
    void EscEditChange(const QString& text);

    QString CurrentFilePathLabel = kNeverSaved;
    QString DefaultEffectWaitEdit = QStringLiteral("0");
    QString EscEdit;

private:
    TPageEditor& editor_;
};

} // namespace pimoko
