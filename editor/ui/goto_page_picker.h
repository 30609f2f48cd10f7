#pragma once

#include "editor/effects_settings.h"

#include <QWidget>

class QListWidget;
class QPushButton;

namespace pimoko {

class TOpenBook;

// A small list of the book's pages for the effects window's goto page: OK or a
// double-click takes the selected page, "リンクなし" takes none, cancel keeps the page the
// window held. Every choice brings the effects window up again.
class TGotoPagePicker : public QWidget, public GotoPickerPort {
    Q_OBJECT
public:
    explicit TGotoPagePicker(const TOpenBook& book, QWidget* parent = nullptr);

    // GotoPickerPort
    void OpenGotoPicker(GotoPageTarget& target, int current) override;

    // The page of the selected row, or 0.
    int SelectedPage() const;

    void Button1Click(); // "OK"
    void ClearLinkButtonClick(); // "リンクなし"
    void Button2Click(); // "キャンセル"

    QListWidget* PageListBox = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* ClearLinkButton = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    void Choose(int page);

    const TOpenBook& book_;
    GotoPageTarget* target_ = nullptr;
    int current_ = 0;
};

} // namespace pimoko
