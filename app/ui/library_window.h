#pragma once

#include <QWidget>

#include <functional>

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace pimoko {

class TForm4;
class TLibrary;

// "ピモコ ver1.26", the main window: the list of the user's books and the buttons that
// read, add and remove them. It shows the library's state and hands its events to the
// library; closing it ends the program.
class TForm6 : public QWidget {
    Q_OBJECT
public:
    TForm6(TLibrary& library, QWidget* parent = nullptr);

    // The window's part of start-up: the list file and the titles read into the list.
    void FormCreate();

    // The editor's settings decide the mode; in player mode only reading is offered.
    void SetPlayerMode(bool on);
    bool PlayerMode() const { return playerMode_; }
    void SetOptionsWindow(TForm4* options) { options_ = options; }

    // The list shows the library's entries again (after an add, a remove or a save
    // elsewhere), keeping the selection where it can.
    void ShowEntries();
    void RefreshTitles();

    // The selected entry, -1 when none.
    int Selected() const;
    void Select(int index);

    // The actions, as the buttons, keys and menu call them.
    void ReadBook(bool fromButtonOrKey);
    void OpenInEditor();
    void NewBookInEditor();
    void AddBook();
    void RemoveBook();
    void OpenOptions();

    QFrame* Panel1 = nullptr;
    QLabel* TitleLabel = nullptr;
    QLabel* TitleShadowLabel = nullptr;
    QListWidget* BookListBox = nullptr;
    QPushButton* BitBtn2 = nullptr; // 読む
    QPushButton* BitBtn5 = nullptr; // エディタを開く
    QPushButton* BitBtn6 = nullptr; // 絵本の新規作成
    QPushButton* BitBtn1 = nullptr; // 絵本を追加する
    QPushButton* BitBtn3 = nullptr; // 削除する
    QPushButton* BitBtn4 = nullptr; // 設定変更
    QMenu* PopupMenu1 = nullptr;
    QAction* ReadMenuItem = nullptr;
    QAction* EditMenuItem = nullptr;
    QAction* RemoveMenuItem = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOut();
    void ApplyPlayerMode();

    TLibrary& library_;
    TForm4* options_ = nullptr;
    bool playerMode_ = false;
    bool firstShow_ = true;
};

} // namespace pimoko
