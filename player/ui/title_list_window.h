#pragma once

#include "player/compositor_pages.h"
#include "player/playback_ports.h"
#include "player/title_list.h"

#include <QListWidget>
#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QStyledItemDelegate;

namespace pimoko {

class TOpenBook;
class ThumbnailCache;

// What the page title list asks of the windows around it.
class TitleListHooks {
public:
    virtual ~TitleListHooks() = default;
    // The program-wide busy flag.
    virtual bool Busy() const = 0;
    // The reader or the author chose an entry: the editor stores its page and makes
    // `page` current; in player mode playback then starts there.
    virtual void ChoosePage(int page, bool playerMode) = 0;
    // The viewer's key handler, given the key first (Enter starts playback from there).
    virtual void ViewerKeyPress(int key) = 0;
    // The list was hidden: the viewer takes the focus when it is visible.
    virtual void FocusViewer() = 0;
};

// "ページ見出し": the titled pages and the page slider for the reader, every page in
// use (as a line or a thumbnail) for the author.
class TForm8 : public QWidget, public PageSliderPort {
    Q_OBJECT
public:
    TForm8(const TOpenBook& book, ThumbnailCache* cache, TitleListHooks* hooks,
        QWidget* parent = nullptr);
    ~TForm8() override;

    void ShowInPlayerMode();
    void ShowInEditorMode();
    void BuildPlayerList();
    void BuildEditorList();
    void RefreshList();
    void RebuildSlider();
    // The page slider as the player moves and reads it.
    void SelectSliderPage(int n) override;
    void EnableSlider(bool enabled) override;
    bool SliderMoved() const override { return titles_.sliderMoved; }
    void ClearSliderMoved() override { titles_.sliderMoved = false; }
    // The page the reader moved the slider to, or 0; clears the moved flag.
    int TakeSliderJump() override;
    // Another book is open: back to the top with no selection, every picture composed
    // afresh.
    void ResetPageTitleList();

    TTitleList& Titles() { return titles_; }
    // How many pages were composed for thumbnails since the list was built.
    int ComposedPages() const { return composed_; }

    QWidget* Panel1;
    QCheckBox* CheckBox1;
    QPushButton* CashButton;
    QListWidget* ListBox1;
    QWidget* PageSliderPanel;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QSlider* PageTrackBar;

    // The picture of page n for its thumbnail row, composed on first use.
    QImage ThumbnailOf(int n);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowEntries(const QVector<TitleListEntry>& entries);
    void ApplyListStyle();
    void ApplySlider();
    void ChooseSelectedEntry();
    void CheckBox1Click();
    void CashButtonClick();
    void PageTrackBarChange(int value);
    void SetStayOnTop(bool onTop);

    const TOpenBook& book_;
    ThumbnailCache* cache_;
    TitleListHooks* hooks_;
    TTitleList titles_;
    std::unique_ptr<PageComposer> composer_;
    QStyledItemDelegate* thumbnailDelegate_ = nullptr; // children of the window
    QStyledItemDelegate* lineDelegate_ = nullptr;
    QImage work_;
    int composed_ = 0;
    int savedTop_ = 0;
    bool settingSlider_ = false;
};

} // namespace pimoko
