#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace pimoko {

class TOpenBook;

// "リンクページ指定": the book's pages in a list for the text settings window's link page.
// OK or a double-click takes the selected page, "リンクなし" takes none, cancel keeps the
// link as it was.
class TLinkPagePicker : public QDialog {
    Q_OBJECT
public:
    enum Result { Cancelled, Chosen, Cleared };

    // current: the link page shown selected (0 = none).
    TLinkPagePicker(const TOpenBook& book, int current, QWidget* parent = nullptr);

    // Shows the list until one of the buttons ends it.
    Result Run();
    // The page of the selected row, or 0.
    int SelectedPage() const;

    QListWidget* PageListBox = nullptr;
    QPushButton* Button1 = nullptr; // "OK"
    QPushButton* ClearLinkButton = nullptr; // "リンクなし"
    QPushButton* Button2 = nullptr; // "キャンセル"

private:
    Result result_ = Cancelled;
};

} // namespace pimoko
