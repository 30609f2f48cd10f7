#pragma once

#include "editor/editor_ports.h"
#include "editor/page_editor.h"

#include <QHash>
#include <QWidget>

#include <functional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pimoko {

class EditorPreview;
class PromptPort;
class TBusyState;

// What the editor window asks of the program around it beyond the page editor: the
// player, the windows that have not landed yet, and the settings file.
class EditorWindowPeers {
public:
    virtual ~EditorWindowPeers() = default;
    // "再生": the title list's slider rebuilt, the viewer's cursor and go-on glyph reset,
    // the sounds stopped, and playback started at the current page (which stores the page
    // being edited first).
    virtual void PlayFromCurrentPage() { }
    // The insertion question (before = insert before the current page). False when there
    // is no such window: the editor then inserts an empty page itself.
    virtual bool OpenInsertion(bool before)
    {
        (void)before;
        return false;
    }
    // "配布ファイル作成" on a book that has been saved: the distribution confirmation window.
    virtual void OpenDistribution() { }
    // The editor closes for good: the settings file keeps the book defaults.
    virtual void WriteSettings() { }
};

// "ピモコエディタ": one page of the open book at a time, its preview, and the way to the
// other editing windows. The window keeps no state of its own: it shows the page
// editor's fields, writes what the author edits back into them and calls the matching
// action; the page editor guards its actions with the busy flag, and the window guards
// the few that belong to the book and the player.
class TForm2 : public QWidget, public EditorViewPort {
    Q_OBJECT
public:
    static constexpr int kInitialWidth = 716;
    static constexpr int kInitialHeight = 554;

    // ports: the session's ports for the other windows; the window adds itself as the
    // view and hands them to the editor.
    TForm2(TPageEditor& editor, const TBusyState& busy, PromptPort& prompt,
        EditorWindowPeers& peers, EditorPorts ports = EditorPorts(), QWidget* parent = nullptr);
    ~TForm2() override;

    TPageEditor& Editor() { return editor_; }
    // The other windows' ports as they come (they are made after this window); the window
    // stays the view.
    void SetPorts(const EditorPorts& ports);

    // Every control shows the page editor's fields again.
    void ShowState();

    // EditorViewPort
    void SetCursor(int id) override;
    void ControlsChanged() override { ShowState(); }
    void PreviewChanged() override;
    void ShowEditorWindow() override;
    void RepaintEditor() override { update(); }
    bool IsMinimised() const override { return isMinimized(); }

    // Handlers of the book-wide buttons, as the controls and tests call them.
    void ReadBitBtnClick();
    void SaveBitBtnClick();
    void SaveAsBitBtnClick();
    void OpenBitBtnClick();
    void WriteBitBtnClick();
    void WebBitBtnClick();
    void PrevNewPageBitBtnClick();
    void NextNewPageBitBtnClick();

    // Top bar: the book's title and the book-wide actions.
    QFrame* Panel2 = nullptr;
    QLabel* Label1 = nullptr; // "作品名"
    QLineEdit* BookTitleEdit = nullptr;
    QPushButton* ReadBitBtn = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* OptionButton = nullptr;
    // Bottom bar: the file actions.
    QFrame* Panel5 = nullptr;
    QPushButton* OpenBitBtn = nullptr;
    QPushButton* SaveBitBtn = nullptr;
    QPushButton* SaveAsBitBtn = nullptr;
    QPushButton* WriteBitBtn = nullptr;
    QPushButton* WebBitBtn = nullptr; // "Web用に書き出す…"

    // The middle, laid out by FormResize: Panel3 the preview, Panel4 the settings.
    QFrame* Panel1 = nullptr;
    QFrame* Panel3 = nullptr;
    QFrame* Panel4 = nullptr;
    QFrame* Bevel6 = nullptr;
    EditorPreview* Image1 = nullptr;
    QLabel* ImageInfoLabel = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* BitBtn2 = nullptr; // previous page
    QLabel* PageLabel = nullptr;
    QLabel* PageCaptionLabel = nullptr;
    QPushButton* BitBtn3 = nullptr; // next page
    QPushButton* PrevNewPageBitBtn = nullptr;
    QPushButton* NextNewPageBitBtn = nullptr;
    QPushButton* DeleteBitBtn = nullptr;

    // The page's heading and text.
    QLabel* Label2 = nullptr; // "ページ見出し"
    QLineEdit* Edit4 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* SetTextBitBtn = nullptr;
    QCheckBox* WriteAllCheckBox = nullptr;
    QCheckBox* PeriodCheckBox = nullptr;

    // "画像設定"
    QGroupBox* PicturePanel = nullptr;
    QPushButton* LoadPicBitBtn = nullptr;
    QPushButton* FillPaintBitBtn = nullptr;
    QPushButton* ClipBitBtn = nullptr;
    QPushButton* Button10 = nullptr;

    // "開始サウンド"
    QGroupBox* SoundPanel = nullptr;
    QPushButton* LoadSoundBitBtn = nullptr;
    QPushButton* Button13 = nullptr;
    QPushButton* Button12 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* SoundPathLabel = nullptr;
    QCheckBox* RepeatSoundCheckBox = nullptr;
    QCheckBox* StopSoundCheckBox = nullptr;

    // "このページの特殊効果、設定"
    QGroupBox* EffectsPanel = nullptr;
    QLabel* DrawModeImage = nullptr;
    QLabel* DrawModeLabel = nullptr;
    QLabel* EffectInfoLabel = nullptr;
    QLabel* AutoNextLabel = nullptr;
    QPushButton* BitBtn6 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildBars();
    void BuildPicturePanel(); // Panel3 and "画像設定"
    void BuildTextControls();
    void BuildSoundPanel();
    void BuildEffectsPanel();
    void BuildPanel4();
    void FormResize();
    void PlacePreviewControls();
    void FormShow();

    // Runs a page editor action and shows the state afterwards, even when it stopped at
    // a conversion error.
    void Act(const std::function<void()>& action);

    void ShowBookTitle();
    void ShowText();
    void ShowPictureState();
    void ShowSoundState();
    void ShowSummary();
    void Memo1Changed();
    bool CheckBoxPressed(QCheckBox* box);
    void CheckBoxClicked(QCheckBox* box, bool checked);
    bool Busy() const;

    TPageEditor& editor_;
    const TBusyState& busy_;
    PromptPort& prompt_;
    EditorWindowPeers& peers_;
    EditorPorts ports_;
    bool firstShow_ = true;
    bool waitCursor_ = false;
    // The memo's text and the page editor's lines as last shown or handed in, and the
    // stored lines behind the lines as shown (a line the author leaves alone keeps its
    // bytes).
    QString memoText_;
    QStringList memoLines_;
    QHash<QString, QString> memoStored_;
};

} // namespace pimoko
