#pragma once

#include "platform/prompt_port.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace pimoko {

// The font dialog over a list of faces the caller gives: face, style, size in pixels, and
// the effects (strike-out, underline, colour), with a sample of the choice.
class FontChoiceDialog : public QDialog {
    Q_OBJECT
public:
    // initial.faces: the faces offered, in that order.
    explicit FontChoiceDialog(const FontChoice& initial, QWidget* parent = nullptr);

    // The choice as the controls show it (faces left empty).
    FontChoice Choice() const;

    QListWidget* FaceList = nullptr;
    QListWidget* StyleList = nullptr;
    QSpinBox* SizeBox = nullptr;
    QCheckBox* StrikeOutBox = nullptr;
    QCheckBox* UnderlineBox = nullptr;
    QComboBox* ColorBox = nullptr;
    QLabel* Sample = nullptr;

private:
    void ShowSample();
};

// Runs the dialog; false when cancelled, otherwise the font takes the choice.
bool RunFontChoiceDialog(FontChoice* font, QWidget* parent);

} // namespace pimoko
