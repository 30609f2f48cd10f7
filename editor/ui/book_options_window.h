#pragma once

#include "editor/book_options.h"
#include "editor/editor_ports.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace pimoko {

class TPageEditor;

// "絵本オプション": the path of the book being edited and its default fade wait. The
// escapement field sits on a panel that is never shown. A binding over TBookOptions; it
// hides when it loses the focus, with nothing copied back.
class TForm11 : public QWidget, public BookOptionsPort {
    Q_OBJECT
public:
    explicit TForm11(TPageEditor& editor, QWidget* parent = nullptr);

    // The editor window it places itself at.
    void SetEditorWindow(QWidget* editorWindow) { editorWindow_ = editorWindow; }
    TBookOptions& Settings() { return settings_; }

    // BookOptionsPort
    void OpenBookOptions(const BookOptionsRequest& request) override;

    void ShowState();
    void OkButtonClick();
    void CancelButtonClick();

    QLabel* FileHeading = nullptr; // "現在編集中のファイル名"
    QLineEdit* CurrentFilePathLabel = nullptr;
    QLabel* WaitHeading = nullptr; // "画面切り替えの標準速度設定"
    QLineEdit* DefaultEffectWaitEdit = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QFrame* EscPanel = nullptr; // never shown
    QLineEdit* EscEdit = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    TBookOptions settings_;
    QWidget* editorWindow_ = nullptr;
};

} // namespace pimoko
