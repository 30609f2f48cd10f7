#include "editor/ui/insertion_windows.h"

#include "book/book_list.h"
#include "editor/page_editor.h"
#include "editor/ui/editor_window.h"
#include "platform/busy_state.h"
#include "platform/prompt_port.h"
#include "player/compositor_pages.h"
#include "player/thumbnail_cache.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace pimoko {

namespace {

constexpr int kRowHeight = 130;
constexpr int kShownLines = 6;

// Centres the window over the editor window.
void CentreOver(QWidget* window, const QWidget* editorWindow)
{
    if (!editorWindow)
        return;
    const QRect e = editorWindow->frameGeometry();
    const QSize s = window->frameGeometry().size();
    window->move(e.left() + (e.width() - s.width()) / 2, e.top() + (e.height() - s.height()) / 2);
}

} // namespace

// The thumbnail rows: the page's picture, its number and title, a band for a page that
// waits for the reader, and its first six text lines.
class InsertionRowDelegate : public QStyledItemDelegate {
public:
    explicit InsertionRowDelegate(TForm12* form)
        : QStyledItemDelegate(form)
        , form_(form)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        (void)index;
        return QSize(option.rect.width(), kRowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        const int n = index.data(Qt::UserRole).toInt();
        const TPageCopyList& list = form_->list_;
        if (n < 1 || n > kMaxPages)
            return;
        const TNovelPage& page = list.Page(n);
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(r, selected ? option.palette.highlight() : QBrush(Qt::white));

        QImage picture;
        const int set = form_->ThumbnailSet();
        ThumbnailCache* cache = form_->thumbnails_;
        if (!cache || !cache->LoadThumbnail(n, set, picture)) {
            const PageSource pages = [&list](int k) -> const TNovelPage& { return list.Page(k); };
            ComposePage(pages, n, picture, ResolverForFolder(list.Folder()));
            if (cache)
                cache->SaveThumbnail(n, set, picture);
        }
        painter->drawImage(QRect(QPoint(r.left() + 10, r.top() + 20),
                               QPoint(r.left() + 138 - 1, r.top() + 106 - 1)),
            picture);

        const QColor ink = selected ? option.palette.highlightedText().color() : Qt::black;
        painter->setPen(ink);
        const QFontMetrics metrics(option.font);
        painter->drawText(r.left(), r.top() + metrics.ascent(),
            QString::number(n) + QLatin1Char(':') + page.Title);
        if (page.Period)
            painter->fillRect(QRect(r.left(), r.bottom() - 3, r.width(), 4),
                option.palette.color(QPalette::WindowText));
        int y = r.top() + 25;
        for (int i = 0; i < page.TextLines.size() && i < kShownLines; ++i) {
            painter->drawText(r.left() + 164, y + metrics.ascent(), page.TextLines[i]);
            y += metrics.height();
        }
        painter->restore();
    }

private:
    TForm12* form_;
};

// ---- TForm12 ----------------------------------------------------------------------------

TForm12::TForm12(TPageEditor& editor, const TBusyState& busy, PromptPort& prompt,
    ThumbnailCache* thumbnails, const QString& startupFolder, QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , editor_(editor)
    , busy_(busy)
    , prompt_(prompt)
    , thumbnails_(thumbnails)
    , startupFolder_(startupFolder)
{
    setObjectName(QStringLiteral("TForm12"));
    setWindowTitle(QStringLiteral("ページ挿入"));
    setMinimumSize(270, 230);
    resize(520, 420);

    Panel1 = new QFrame(this);
    BookComboBox = new QComboBox(Panel1);
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(BookComboBox, 1);

    PageListBox = new QListWidget(this);
    PageListBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    CheckBox1 = new QCheckBox(QStringLiteral("サムネイルを表示する。"), this);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    ClearLinkButton = new QPushButton(QStringLiteral("リンクなし"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox1);
    buttons->addStretch(1);
    buttons->addWidget(ClearLinkButton);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(PageListBox, 1);
    layout->addLayout(buttons);

    connect(BookComboBox, QOverload<int>::of(&QComboBox::activated), this,
        &TForm12::BookComboBoxChange);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm12::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm12::Button2Click);
    connect(ClearLinkButton, &QPushButton::clicked, this, &TForm12::ClearLinkButtonClick);
    connect(PageListBox, &QListWidget::itemDoubleClicked, this, &TForm12::PageListBoxDblClick);
}

int TForm12::ThumbnailSet() const
{
    return mode_ == Mode::Insertion && list_.IsOtherBook() ? 1 : 0;
}

void TForm12::OpenForInsertion(bool before)
{
    ++openings_;
    mode_ = Mode::Insertion;
    before_ = before;
    setWindowTitle(QStringLiteral("ページ挿入"));
    Panel1->show();
    ClearLinkButton->hide();
    PageListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);

    choices_ = ReadInsertionBookChoices(startupFolder_);
    BookComboBox->clear();
    for (const InsertionBookChoice& choice : choices_)
        BookComboBox->addItem(choice.Title);
    BookComboBox->setCurrentIndex(0);
    BookComboBoxChange(0);
    CentreOver(this, editorWindow_);
    show();
    raise();
    activateWindow();
}

void TForm12::OpenGotoPicker(GotoPageTarget& target, int current)
{
    gotoTarget_ = &target;
    gotoCurrent_ = current;
    OpenPicker(Mode::GotoPicker, current);
}

LinkPickerPort::Result TForm12::RunLinkPicker(int current, int* page)
{
    if (linkLoop_)
        return Cancelled;
    linkResult_ = Cancelled;
    linkPage_ = 0;
    OpenPicker(Mode::LinkPicker, current);
    QEventLoop loop;
    linkLoop_ = &loop;
    if (isVisible())
        loop.exec();
    linkLoop_ = nullptr;
    if (page)
        *page = linkPage_;
    return linkResult_;
}

void TForm12::OpenPicker(Mode mode, int current)
{
    ++openings_;
    mode_ = mode;
    setWindowTitle(QStringLiteral("リンクページ指定"));
    Panel1->hide();
    ClearLinkButton->show();
    PageListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    choices_ = ReadInsertionBookChoices(startupFolder_);
    BookComboBox->clear();
    for (const InsertionBookChoice& choice : choices_)
        BookComboBox->addItem(choice.Title);
    BookComboBox->setCurrentIndex(0);
    BookComboBoxChange(0);
    const int row = static_cast<int>(list_.RowPages().indexOf(current));
    if (row >= 0)
        PageListBox->setCurrentRow(row);
    if (QWidget* opener = QApplication::activeWindow(); opener && opener != this)
        move(opener->frameGeometry().topLeft());
    show();
    raise();
    activateWindow();
}

void TForm12::GotoChosen(int page)
{
    GotoPageTarget* target = gotoTarget_;
    gotoTarget_ = nullptr;
    Finish();
    if (target)
        target->SetGotoPage(page);
}

void TForm12::ClearLinkButtonClick()
{
    if (mode_ == Mode::LinkPicker) {
        // The text settings window shows its own message for a cleared link.
        linkResult_ = Cleared;
        Finish();
        return;
    }
    if (mode_ != Mode::GotoPicker)
        return;
    prompt_.ShowMessage(MessageKind::Information, QStringLiteral("ピモコエディタ"),
        QStringLiteral("「リンクなし」に設定されました"));
    editor_.MarkModified();
    GotoChosen(0);
}

void TForm12::PageListBoxDblClick()
{
    if (mode_ != Mode::Insertion)
        Button1Click();
}

void TForm12::BookComboBoxChange(int index)
{
    if (index < 0 || index >= choices_.size())
        return;
    const InsertionBookChoice& choice = choices_[index];
    if (choice.EditedBook) {
        list_.ListEditedBook(editor_.Book());
    } else {
        if (thumbnails_)
            thumbnails_->ClearThumbnails(1);
        if (!list_.ListBookFile(ResolveBookPath(startupFolder_, choice.FileName)))
            return;
    }
    FillList();
}

void TForm12::FillList()
{
    PageListBox->clear();
    const QStringList texts = list_.RowTexts();
    const QVector<int>& pages = list_.RowPages();
    for (int r = 0; r < texts.size(); ++r) {
        auto* item = new QListWidgetItem(texts[r], PageListBox);
        item->setData(Qt::UserRole, pages[r]);
    }
    CheckBox1Click();
}

void TForm12::CheckBox1Click()
{
    if (CheckBox1->isChecked()) {
        if (!dynamic_cast<InsertionRowDelegate*>(PageListBox->itemDelegate()))
            PageListBox->setItemDelegate(new InsertionRowDelegate(this));
        PageListBox->setUniformItemSizes(true);
    } else if (dynamic_cast<InsertionRowDelegate*>(PageListBox->itemDelegate())) {
        QAbstractItemDelegate* owner = PageListBox->itemDelegate();
        PageListBox->setItemDelegate(new QStyledItemDelegate(PageListBox));
        owner->deleteLater();
    }
    PageListBox->doItemsLayout();
    PageListBox->viewport()->update();
}

void TForm12::Button1Click()
{
    if (busy_.IsBusy()) {
        Finish();
        return;
    }
    if (mode_ == Mode::GotoPicker) {
        if (const QListWidgetItem* row = PageListBox->currentItem())
            GotoChosen(row->data(Qt::UserRole).toInt());
        return;
    }
    if (mode_ == Mode::LinkPicker) {
        if (const QListWidgetItem* row = PageListBox->currentItem()) {
            linkResult_ = Chosen;
            linkPage_ = row->data(Qt::UserRole).toInt();
            Finish();
        }
        return;
    }
    if (mode_ != Mode::Insertion)
        return;
    QVector<int> rows;
    for (const QModelIndex& index : PageListBox->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty())
        return;
    if (!list_.InsertCopies(editor_, rows, before_, prompt_)) {
        // Too few free pages keep the window open; a refused insertion point does not.
        if (!editor_.CountFreeTail(static_cast<int>(rows.size())))
            return;
    }
    if (editorWindow_)
        editorWindow_->ShowState();
    Finish();
}

void TForm12::Button2Click()
{
    // The goto picker's cancel brings the effects window up again with its page as it was.
    if (mode_ == Mode::GotoPicker)
        GotoChosen(gotoCurrent_);
    else
        Finish();
}

void TForm12::Finish()
{
    mode_ = Mode::Insertion;
    gotoTarget_ = nullptr;
    hide();
    if (linkLoop_)
        linkLoop_->quit();
}

bool TForm12::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowDeactivate && isVisible()) {
        // Leaving the window cancels; its own message boxes are looked at once they close.
        // A window opened again since then is not put away by the old deactivation.
        QTimer::singleShot(0, this, [this, opening = openings_] {
            if (opening == openings_ && isVisible() && !isActiveWindow()
                && !QApplication::activeModalWidget())
                Finish();
        });
    }
    return handled;
}

// ---- TForm9 -----------------------------------------------------------------------------

TForm9::TForm9(TPageEditor& editor, const TBusyState& busy, QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , editor_(editor)
    , busy_(busy)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("ページ挿入の確認"));
    BitBtn1 = new QPushButton(QStringLiteral("新しいページ"), this);
    BitBtn1->setToolTip(QStringLiteral("新規ページを挿入します。"));
    BitBtn3 = new QPushButton(QStringLiteral("他のページをコピーして挿入する"), this);
    BitBtn3->setToolTip(QStringLiteral("現在の作品、又は他の作品のページをコピーして挿入します。"));
    Button1 = new QPushButton(QStringLiteral("キャンセル"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BitBtn1);
    layout->addWidget(BitBtn3);
    layout->addWidget(Button1);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm9::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm9::BitBtn3Click);
    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
}

void TForm9::OpenInsertion(bool before)
{
    before_ = before;
    adjustSize();
    CentreOver(this, editorWindow_);
    show();
    raise();
    activateWindow();
}

void TForm9::BitBtn1Click()
{
    hide();
    if (busy_.IsBusy())
        return;
    if (before_)
        editor_.InsertBeforeCurrent();
    else
        editor_.InsertAfterCurrent();
    if (editorWindow_)
        editorWindow_->ShowState();
}

void TForm9::BitBtn3Click()
{
    hide();
    if (busy_.IsBusy() || !form12_)
        return;
    form12_->OpenForInsertion(before_);
}

void TForm9::Button1Click()
{
    hide();
}

bool TForm9::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        hide();
    return handled;
}

} // namespace pimoko
