#include "editor/ui/goto_page_picker.h"

#include "book/open_book.h"
#include "editor/ui/editor_window_parts.h"
#include "platform/sjis_codec.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pimoko {

TGotoPagePicker::TGotoPagePicker(const TOpenBook& book, QWidget* parent)
    : QWidget(parent, Qt::Dialog)
    , book_(book)
{
    setWindowTitle(QStringLiteral("進むページの設定"));
    setFont(EditorFont(12));
    resize(320, 360);
    PageListBox = new QListWidget(this);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setDefault(true);
    ClearLinkButton = new QPushButton(QStringLiteral("リンクなし"), this);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ClearLinkButton);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* column = new QVBoxLayout(this);
    column->addWidget(PageListBox, 1);
    column->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TGotoPagePicker::Button1Click);
    connect(ClearLinkButton, &QPushButton::clicked, this, &TGotoPagePicker::ClearLinkButtonClick);
    connect(Button2, &QPushButton::clicked, this, &TGotoPagePicker::Button2Click);
    connect(PageListBox, &QListWidget::itemDoubleClicked, this, &TGotoPagePicker::Button1Click);
}

void TGotoPagePicker::OpenGotoPicker(GotoPageTarget& target, int current)
{
    target_ = &target;
    current_ = current;
    PageListBox->clear();
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        const TNovelPage& page = book_.Page(n);
        if (!page.InUse)
            continue;
        auto* row = new QListWidgetItem(
            QStringLiteral("%1:%2").arg(n, 3).arg(SjisDisplayText(page.Title)), PageListBox);
        row->setData(Qt::UserRole, n);
        if (n == current)
            PageListBox->setCurrentItem(row);
    }
    if (const QWidget* opener = QApplication::activeWindow())
        move(opener->frameGeometry().topLeft());
    show();
    raise();
    activateWindow();
}

int TGotoPagePicker::SelectedPage() const
{
    const QListWidgetItem* row = PageListBox->currentItem();
    return row ? row->data(Qt::UserRole).toInt() : 0;
}

void TGotoPagePicker::Choose(int page)
{
    GotoPageTarget* target = target_;
    target_ = nullptr;
    hide();
    if (target)
        target->SetGotoPage(page);
}

void TGotoPagePicker::Button1Click()
{
    if (SelectedPage() >= 1)
        Choose(SelectedPage());
}

void TGotoPagePicker::ClearLinkButtonClick()
{
    Choose(0);
}

void TGotoPagePicker::Button2Click()
{
    Choose(current_);
}

bool TGotoPagePicker::event(QEvent* event)
{
    // Put away when the author works elsewhere; the effects window stays down then.
    if (event->type() == QEvent::WindowDeactivate && isVisible() && target_) {
        target_ = nullptr;
        hide();
    }
    return QWidget::event(event);
}

} // namespace pimoko
