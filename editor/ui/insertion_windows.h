#pragma once

#include "editor/effects_settings.h"
#include "editor/page_copy.h"
#include "editor/ui/link_picker_port.h"

#include <QVector>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QEventLoop;
class QFrame;
class QListWidget;
class QPushButton;

namespace pimoko {

class PromptPort;
class TBusyState;
class TPageEditor;
class ThumbnailCache;
class TForm2;
class TForm12;

// "ページ挿入": lists the pages of the book being edited or of a listed book and inserts
// copies of the selected ones before or after the current page. As "リンクページ指定" it
// picks the text settings window's link page and the effects window's goto page from the
// book being edited.
class TForm12 : public QWidget, public GotoPickerPort, public LinkPickerPort {
    Q_OBJECT
public:
    enum class Mode { Insertion, LinkPicker, GotoPicker };

    TForm12(TPageEditor& editor, const TBusyState& busy, PromptPort& prompt,
        ThumbnailCache* thumbnails, const QString& startupFolder, QWidget* parent = nullptr);

    void SetEditorWindow(TForm2* editorWindow) { editorWindow_ = editorWindow; }

    // Insertion mode: the book choice, several rows at once, no "リンクなし".
    void OpenForInsertion(bool before);

    // GotoPickerPort: one row at a time, "リンクなし" shown, the current goto page selected.
    void OpenGotoPicker(GotoPageTarget& target, int current) override;

    // LinkPickerPort: the same look; runs until a choice, a cancel or another window.
    Result RunLinkPicker(int current, int* page) override;

    Mode CurrentMode() const { return mode_; }
    bool InsertsBefore() const { return before_; }
    const TPageCopyList& List() const { return list_; }
    // The set the thumbnails come from: 1 for another book in insertion mode, else 0.
    int ThumbnailSet() const;

    void BookComboBoxChange(int index);
    void CheckBox1Click();
    void Button1Click(); // "OK"
    void Button2Click(); // "キャンセル"
    void ClearLinkButtonClick(); // "リンクなし"
    void PageListBoxDblClick();

    QFrame* Panel1 = nullptr;
    QComboBox* BookComboBox = nullptr;
    QListWidget* PageListBox = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* ClearLinkButton = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    void FillList();
    void Finish();
    void OpenPicker(Mode mode, int current);
    void GotoChosen(int page);

    TPageEditor& editor_;
    const TBusyState& busy_;
    PromptPort& prompt_;
    ThumbnailCache* thumbnails_;
    QString startupFolder_;
    TForm2* editorWindow_ = nullptr;
    Mode mode_ = Mode::Insertion;
    bool before_ = false;
    GotoPageTarget* gotoTarget_ = nullptr;
    int gotoCurrent_ = 0;
    int openings_ = 0; // counts the window's openings
    // The running link picker's answer and its loop.
    Result linkResult_ = Cancelled;
    int linkPage_ = 0;
    QEventLoop* linkLoop_ = nullptr;
    QVector<InsertionBookChoice> choices_;
    TPageCopyList list_;
    friend class InsertionRowDelegate;
};

// "ページ挿入の確認": a new empty page, or copies of other pages, before or after the
// current page.
class TForm9 : public QWidget {
    Q_OBJECT
public:
    TForm9(TPageEditor& editor, const TBusyState& busy, QWidget* parent = nullptr);

    void SetEditorWindow(TForm2* editorWindow) { editorWindow_ = editorWindow; }
    void SetInsertionWindow(TForm12* form12) { form12_ = form12; }

    // before: the editor's "手前に挿入" (1) or "後に挿入" (0). Centred over the editor.
    void OpenInsertion(bool before);
    bool InsertsBefore() const { return before_; }

    void BitBtn1Click(); // "新しいページ"
    void BitBtn3Click(); // "他のページをコピーして挿入する"
    void Button1Click(); // "キャンセル"

    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    TPageEditor& editor_;
    const TBusyState& busy_;
    TForm2* editorWindow_ = nullptr;
    TForm12* form12_ = nullptr;
    bool before_ = false;
};

} // namespace pimoko
