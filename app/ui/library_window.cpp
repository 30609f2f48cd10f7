#include "app/ui/library_window.h"

#include "app/core/library.h"
#include "app/ui/options_window.h"
#include "platform/sjis_codec.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>

namespace pimoko {
namespace {

// The hourglass for a long action, back to normal however the action ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

constexpr int kItemHeight = 28;
const QColor kListBlue(0, 0, 255);
const QColor kNavy(0, 0, 128);

// Each entry is a band: yellow when selected, blue otherwise, the title centred on the
// list's width in yellow over a navy shadow one pixel down and right.
class BookEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(
        QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(option.rect, selected ? Qt::yellow : kListBlue);
        p->setFont(option.font);
        const QString title = SjisDisplayText(index.data(Qt::DisplayRole).toString());
        const int width = option.widget ? option.widget->width() : option.rect.width();
        const QFontMetrics metrics(option.font);
        const int x = option.rect.left() + (width - metrics.horizontalAdvance(title)) / 2;
        const int y
            = option.rect.top() + (option.rect.height() - metrics.height()) / 2 + metrics.ascent();
        p->setPen(kNavy);
        p->drawText(x + 1, y + 1, title);
        p->setPen(Qt::yellow);
        p->drawText(x, y, title);
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight);
    }
};

QPushButton* Button(QWidget* parent, const QString& caption, const QString& hint)
{
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(hint);
    return button;
}

QLabel* TitleCopy(QWidget* parent, const QColor& color)
{
    auto* label = new QLabel(QStringLiteral("絵本リスト"), parent);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(22);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->adjustSize();
    return label;
}

} // namespace

TForm6::TForm6(TLibrary& library, QWidget* parent)
    : QWidget(parent)
    , library_(library)
{
    setWindowTitle(kLibraryCaption);
    setMinimumSize(469, 296);
    resize(469, 296);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    TitleShadowLabel = TitleCopy(Panel1, QColor(128, 128, 128));
    TitleLabel = TitleCopy(Panel1, kNavy);

    BookListBox = new QListWidget(Panel1);
    BookListBox->setItemDelegate(new BookEntryDelegate(BookListBox));
    BookListBox->setUniformItemSizes(true);
    BookListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    BookListBox->setToolTip(QStringLiteral("作品を選択します。"));
    BookListBox->setContextMenuPolicy(Qt::CustomContextMenu);
    QPalette palette = BookListBox->palette();
    palette.setColor(QPalette::Base, kListBlue);
    BookListBox->setPalette(palette);
    QFont listFont(QStringLiteral("ＭＳ Ｐゴシック"));
    listFont.setPixelSize(16);
    listFont.setBold(true);
    BookListBox->setFont(listFont);
    BookListBox->installEventFilter(this);
    BookListBox->viewport()->installEventFilter(this);

    BitBtn2 = Button(Panel1, QStringLiteral("読む"), QStringLiteral("ピモコがスタートします"));
    BitBtn5 = Button(Panel1, QStringLiteral("エディタを開く"), QStringLiteral("絵本を編集します"));
    BitBtn6 = Button(
        Panel1, QStringLiteral("絵本の新規作成"), QStringLiteral("新しい絵本を作成します"));
    BitBtn1 = Button(
        Panel1, QStringLiteral("絵本を追加する"), QStringLiteral("絵本ファイルを追加します"));
    BitBtn3 = Button(Panel1, QStringLiteral("削除する"),
        QStringLiteral("リストから削除しますが元のファイルは消えません"));
    BitBtn4 = Button(Panel1, QStringLiteral("設定変更"), QStringLiteral("設定を変更します。"));

    PopupMenu1 = new QMenu(this);
    ReadMenuItem = PopupMenu1->addAction(QStringLiteral("読む"));
    EditMenuItem = PopupMenu1->addAction(QStringLiteral("編集する"));
    RemoveMenuItem = PopupMenu1->addAction(QStringLiteral("削除する"));

    connect(BitBtn2, &QPushButton::clicked, this, [this] { ReadBook(true); });
    connect(BitBtn5, &QPushButton::clicked, this, &TForm6::OpenInEditor);
    connect(BitBtn6, &QPushButton::clicked, this, &TForm6::NewBookInEditor);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm6::AddBook);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm6::RemoveBook);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm6::OpenOptions);
    connect(ReadMenuItem, &QAction::triggered, this, [this] { ReadBook(false); });
    connect(EditMenuItem, &QAction::triggered, this, &TForm6::OpenInEditor);
    connect(RemoveMenuItem, &QAction::triggered, this, &TForm6::RemoveBook);
    connect(BookListBox, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { PopupMenu1->popup(BookListBox->viewport()->mapToGlobal(at)); });

    LayOut();
}

void TForm6::FormCreate()
{
    library_.Create();
    ShowEntries();
}

void TForm6::SetPlayerMode(bool on)
{
    playerMode_ = on;
    if (isVisible())
        ApplyPlayerMode();
}

void TForm6::ApplyPlayerMode()
{
    for (QPushButton* b : { BitBtn1, BitBtn3, BitBtn5, BitBtn6 })
        b->setVisible(!playerMode_);
    EditMenuItem->setEnabled(!playerMode_);
    RemoveMenuItem->setEnabled(!playerMode_);
    LayOut();
}

void TForm6::ShowEntries()
{
    const int selected = Selected();
    BookListBox->clear();
    for (const BookListEntry& entry : library_.Entries())
        BookListBox->addItem(entry.Title);
    if (selected >= 0 && selected < BookListBox->count())
        Select(selected);
}

void TForm6::RefreshTitles()
{
    if (library_.RefreshTitles())
        ShowEntries();
}

int TForm6::Selected() const
{
    const QList<QListWidgetItem*> items = BookListBox->selectedItems();
    return items.isEmpty() ? -1 : BookListBox->row(items.first());
}

void TForm6::Select(int index)
{
    if (index < 0 || index >= BookListBox->count()) {
        BookListBox->clearSelection();
        return;
    }
    BookListBox->setCurrentRow(index);
    BookListBox->item(index)->setSelected(true);
}

void TForm6::ReadBook(bool fromButtonOrKey)
{
    int selected = Selected();
    library_.ReadBook(&selected, fromButtonOrKey);
    if (selected != Selected() && selected >= 0 && selected < BookListBox->count())
        Select(selected);
}

void TForm6::OpenInEditor()
{
    int selected = Selected();
    {
        WaitCursor wait;
        library_.OpenInEditor(&selected);
    }
    if (selected < 0)
        BookListBox->clearSelection();
}

void TForm6::NewBookInEditor()
{
    WaitCursor wait;
    library_.NewBookInEditor();
}

void TForm6::AddBook()
{
    library_.AddBook();
    ShowEntries();
}

void TForm6::RemoveBook()
{
    library_.RemoveBook(Selected());
    ShowEntries();
}

void TForm6::OpenOptions()
{
    if (library_.IsBusy() || !options_)
        return;
    options_->OpenAt(frameGeometry().topLeft());
}

void TForm6::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ApplyPlayerMode();
    if (firstShow_) {
        firstShow_ = false;
        if (QScreen* s = screen())
            move(LibraryFirstPosition(s->availableGeometry(), frameGeometry().size()));
    }
}

void TForm6::closeEvent(QCloseEvent* event)
{
    if (!library_.CanClose()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}

void TForm6::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
    BookListBox->viewport()->update();
}

void TForm6::LayOut()
{
    const int margin = 6;
    Panel1->setGeometry(margin, margin, width() - 2 * margin, height() - 2 * margin);
    const int panelW = Panel1->width();
    const int panelH = Panel1->height();
    const int buttonW = 132;
    const int buttonH = 34;
    const int listLeft = 10;
    const int listTop = 14 + TitleLabel->height();
    const int buttonLeft = panelW - buttonW - 10;
    TitleLabel->move((buttonLeft - TitleLabel->width()) / 2, 8);
    TitleShadowLabel->move(TitleLabel->x() + 3, TitleLabel->y() + 3);
    BookListBox->setGeometry(listLeft, listTop, buttonLeft - listLeft - 10, panelH - listTop - 10);

    int y = 10;
    for (QPushButton* b : { BitBtn2, BitBtn5, BitBtn6, BitBtn1, BitBtn3, BitBtn4 }) {
        if (b->isHidden() && b != BitBtn4 && b != BitBtn2)
            continue;
        // The settings button keeps its place at the bottom.
        const int top = b == BitBtn4 ? panelH - buttonH - 10 : y;
        b->setGeometry(buttonLeft, top, buttonW, buttonH);
        y += buttonH + 8;
    }
}

bool TForm6::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == BookListBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ReadBook(true);
            return true;
        }
        if (key == Qt::Key_Delete) {
            if (!playerMode_)
                RemoveBook();
            return true;
        }
    }
    if (watched == BookListBox->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            ReadBook(false);
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            // A right press chooses the entry under it, so the menu acts on that one.
            if (mouse->button() == Qt::RightButton) {
                const int row = BookListBox->indexAt(mouse->position().toPoint()).row();
                if (row >= 0)
                    Select(row);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pimoko
