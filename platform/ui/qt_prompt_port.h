#pragma once

#include "platform/prompt_port.h"

class QWidget;

namespace pimoko {

// Real dialogs: QMessageBox with the Japanese standard buttons, QFileDialog,
// QColorDialog and QFontDialog (FontChoiceDialog when the faces are given). Without a
// parent of its own a dialog belongs to the window the user is working in, so it stands
// over that window (one kept on top too) rather than somewhere behind it.
class QtPromptPort : public PromptPort {
public:
    explicit QtPromptPort(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    void SetParent(QWidget* parent) { parent_ = parent; }

    void ShowMessage(MessageKind kind, const QString& caption, const QString& text) override;
    Answer Ask(
        MessageKind kind, const QString& caption, const QString& text, Buttons buttons) override;
    QString OpenFileName(const FileDialogRequest& request) override;
    QString SaveFileName(const FileDialogRequest& request) override;
    QString ChooseFolder(const FileDialogRequest& request) override;
    bool ChooseColor(quint32* color) override;
    bool ChooseFont(FontChoice* font) override;

private:
    QWidget* Parent() const;
    QWidget* parent_;
};

// "説明|*.pmk|説明2|*.bmp;*.jpg" (the filter form books and dialogs are described in) as a Qt name
// filter.
QString ToQtNameFilter(const QString& filter);

} // namespace pimoko
