#include "player/ui/title_list_window.h"

#include "book/open_book.h"
#include "platform/bitmap.h"
#include "platform/sjis_codec.h"
#include "player/thumbnail_cache.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace pimoko {
namespace {

constexpr int kThumbRowHeight = 130;
constexpr int kPageRole = Qt::UserRole + 1;

// Draws a thumbnail row: the page stretched into 128 x 86, its entry text, the bar of a
// page that waits, and the first lines of its text at the right. Only rows on screen are
// painted, so only their pages are composed.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    ThumbnailDelegate(TForm8* window, const TOpenBook& book)
        : QStyledItemDelegate(window)
        , window_(window)
        , book_(book)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), kThumbRowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        const int page = index.data(kPageRole).toInt();
        const QImage picture = window_->ThumbnailOf(page);
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        painter->drawImage(QRect(r.left() + 10, r.top() + 20, 128, 86), picture);
        const QFontMetrics fm(option.font);
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect textRect(r.left(), r.top(), fm.horizontalAdvance(text), fm.height());
        painter->fillRect(textRect, Qt::white);
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, text);
        const TNovelPage& p = book_.Page(qBound(1, page, TOpenBook::kPageCount));
        if (p.Period)
            painter->fillRect(
                QRect(r.left(), r.bottom() - 3, r.width(), 4), option.palette.windowText());
        painter->setPen(
            selected ? option.palette.highlightedText().color() : option.palette.text().color());
        const int lineHeight
            = qAbs(option.font.pixelSize() > 0 ? option.font.pixelSize() : fm.height());
        for (int i = 0; i < qMin<int>(6, p.TextLines.size()); ++i)
            painter->drawText(r.left() + 164, r.top() + 25 + i * lineHeight + fm.ascent(),
                SjisDisplayText(p.TextLines[i]));
    }

private:
    TForm8* window_;
    const TOpenBook& book_;
};

} // namespace

TForm8::TForm8(const TOpenBook& book, ThumbnailCache* cache, TitleListHooks* hooks, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , book_(book)
    , cache_(cache)
    , hooks_(hooks)
    , titles_(book)
{
    setWindowTitle(QStringLiteral("ページ見出し"));
    resize(391, 579);
    setMinimumSize(260, 200);
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setPixelSize(12);
    setFont(f);

    Panel1 = new QWidget(this);
    Panel1->setFixedHeight(29);
    CheckBox1 = new QCheckBox(QStringLiteral("サムネイルを表示する。"), Panel1);
    CashButton = new QPushButton(QStringLiteral("Test"), Panel1);
    CashButton->hide();
    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(6, 0, 6, 0);
    top->addWidget(CheckBox1);
    top->addStretch();
    top->addWidget(CashButton);

    ListBox1 = new QListWidget(this);
    ListBox1->setUniformItemSizes(true);
    ListBox1->installEventFilter(this);

    PageSliderPanel = new QWidget(this);
    PageSliderPanel->setFixedHeight(79);
    Label1 = new QLabel(QStringLiteral("始め"), PageSliderPanel);
    Label2 = new QLabel(QStringLiteral("終り"), PageSliderPanel);
    Label3 = new QLabel(PageSliderPanel);
    Label3->hide();
    PageTrackBar = new QSlider(Qt::Horizontal, PageSliderPanel);
    PageTrackBar->setTickPosition(QSlider::TicksAbove);
    PageTrackBar->setToolTip(QStringLiteral("再生するページを変更できます。"));
    PageTrackBar->setMinimum(0);
    PageTrackBar->setMaximum(0);
    auto* slider = new QVBoxLayout(PageSliderPanel);
    slider->setContentsMargins(5, 4, 5, 4);
    auto* ends = new QHBoxLayout;
    ends->addWidget(Label1);
    ends->addStretch();
    ends->addWidget(Label3);
    ends->addStretch();
    ends->addWidget(Label2);
    slider->addLayout(ends);
    slider->addWidget(PageTrackBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(ListBox1, 1);
    layout->addWidget(PageSliderPanel);

    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(CashButton, &QPushButton::clicked, this, [this] { CashButtonClick(); });
    connect(ListBox1, &QListWidget::itemPressed, this, [this] { ChooseSelectedEntry(); });
    connect(PageTrackBar, &QSlider::valueChanged, this, [this](int v) { PageTrackBarChange(v); });

    thumbnailDelegate_ = new ThumbnailDelegate(this, book_);
    lineDelegate_ = new QStyledItemDelegate(this);
    composer_ = std::make_unique<PageComposer>(PagesOf(book_),
        [this](const QString& name) { return ResolverForFolder(book_.BookFolder)(name); });
    SetStayOnTop(true);
    titles_.mode = TTitleList::PlayerMode;
}

TForm8::~TForm8() = default;

void TForm8::SetStayOnTop(bool onTop)
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible)
        show();
}

void TForm8::ShowInPlayerMode()
{
    SetStayOnTop(true);
    BuildPlayerList();
    showNormal();
}

void TForm8::ShowInEditorMode()
{
    SetStayOnTop(false);
    Panel1->show();
    PageSliderPanel->hide();
    titles_.mode = TTitleList::EditorMode;
    titles_.thumbnails = CheckBox1->isChecked();
    RefreshList();
    show();
}

void TForm8::ApplyListStyle()
{
    // The two delegates live as long as the window; the list only switches between them.
    ListBox1->setItemDelegate(titles_.thumbnails ? thumbnailDelegate_ : lineDelegate_);
    // A thumbnail row is drawn across the list's width, so it never needs scrolling
    // sideways; a line of text may be longer than the list.
    ListBox1->setHorizontalScrollBarPolicy(
        titles_.thumbnails ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void TForm8::ResetPageTitleList()
{
    composer_->Reset();
    composed_ = 0;
    ListBox1->clearSelection();
    ListBox1->setCurrentRow(-1);
    ListBox1->verticalScrollBar()->setValue(0);
    if (isVisible())
        RefreshList();
    else
        ListBox1->clear();
}

void TForm8::ShowEntries(const QVector<TitleListEntry>& entries)
{
    ListBox1->clear();
    for (const TitleListEntry& e : entries) {
        auto* item = new QListWidgetItem(SjisDisplayText(e.text), ListBox1);
        item->setData(kPageRole, e.page());
    }
}

void TForm8::ApplySlider()
{
    settingSlider_ = true;
    PageTrackBar->setMaximum(titles_.SliderMaximum());
    PageTrackBar->setValue(titles_.sliderPosition);
    PageTrackBar->setEnabled(titles_.sliderEnabled);
    settingSlider_ = false;
}

void TForm8::BuildPlayerList()
{
    const auto entries = titles_.BuildPlayerList();
    ApplyListStyle();
    Panel1->hide();
    PageSliderPanel->show();
    ShowEntries(entries);
    ApplySlider();
}

void TForm8::BuildEditorList()
{
    const int top = ListBox1->verticalScrollBar()->value();
    const int selected = ListBox1->currentRow();
    const auto entries = titles_.BuildEditorList();
    composer_->Reset();
    composed_ = 0;
    ShowEntries(entries);
    ApplySlider();
    if (selected >= 0 && selected < ListBox1->count())
        ListBox1->setCurrentRow(selected);
    ListBox1->verticalScrollBar()->setValue(top);
    ListBox1->viewport()->update();
}

void TForm8::RefreshList()
{
    ApplyListStyle();
    if (titles_.mode == TTitleList::EditorMode)
        BuildEditorList();
    else
        BuildPlayerList();
}

void TForm8::CheckBox1Click()
{
    titles_.thumbnails = CheckBox1->isChecked();
    RefreshList();
}

void TForm8::RebuildSlider()
{
    titles_.RebuildSlider();
    ApplySlider();
}

void TForm8::SelectSliderPage(int n)
{
    titles_.SelectSliderPage(n);
    ApplySlider();
}

void TForm8::EnableSlider(bool enabled)
{
    titles_.sliderEnabled = enabled;
    PageTrackBar->setEnabled(enabled);
}

int TForm8::TakeSliderJump()
{
    return titles_.TakeSliderJump();
}

void TForm8::PageTrackBarChange(int value)
{
    if (settingSlider_)
        return;
    titles_.ReaderMovedSlider(value);
    Label3->setText(QString::number(titles_.SliderPage(value)));
}

QImage TForm8::ThumbnailOf(int n)
{
    if (n < 1 || n > TOpenBook::kPageCount)
        return NewBitmap24();
    QImage cached;
    if (cache_ && cache_->LoadThumbnail(n, 0, cached))
        return cached;
    if (work_.isNull())
        work_ = NewBitmap24();
    composer_->ComposePage(n, work_);
    ++composed_;
    if (cache_)
        cache_->SaveThumbnail(n, 0, work_);
    return work_;
}

void TForm8::ChooseSelectedEntry()
{
    QListWidgetItem* item = ListBox1->currentItem();
    if (!item || hooks_->Busy())
        return;
    hooks_->ChoosePage(item->data(kPageRole).toInt(), titles_.mode == TTitleList::PlayerMode);
}

void TForm8::CashButtonClick()
{
    QImage scratch = NewBitmap24();
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        if (!book_.Page(n).InUse)
            continue;
        composer_->ComposePage(n, scratch);
        if (cache_)
            cache_->SaveThumbnail(n, 0, scratch);
        CashButton->setText(QString::number(n));
    }
    CashButton->setText(QStringLiteral("test"));
}

bool TForm8::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            hide();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Key preview: the viewer sees Enter first; when it starts playback the
            // busy flag keeps the list from acting on the same key.
            hooks_->ViewerKeyPress(Qt::Key_Return);
            ChooseSelectedEntry();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm8::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        hooks_->ViewerKeyPress(Qt::Key_Return);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm8::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    hooks_->FocusViewer();
}

} // namespace pimoko
