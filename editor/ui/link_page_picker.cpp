#include "editor/ui/link_page_picker.h"

#include "book/open_book.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pimoko {

TLinkPagePicker::TLinkPagePicker(const TOpenBook& book, int current, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("リンクページ指定"));
    resize(270, 320);
    PageListBox = new QListWidget(this);
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        const TNovelPage& page = book.Page(n);
        if (!page.InUse)
            continue;
        auto* row
            = new QListWidgetItem(QStringLiteral("%1  %2").arg(n).arg(page.Title), PageListBox);
        row->setData(Qt::UserRole, n);
        if (n == current)
            PageListBox->setCurrentItem(row);
    }
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setDefault(true);
    ClearLinkButton = new QPushButton(QStringLiteral("リンクなし"), this);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(ClearLinkButton);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageListBox, 1);
    layout->addLayout(buttons);

    const auto choose = [this] {
        if (SelectedPage() < 1)
            return;
        result_ = Chosen;
        accept();
    };
    connect(Button1, &QPushButton::clicked, this, choose);
    connect(PageListBox, &QListWidget::itemDoubleClicked, this, choose);
    connect(ClearLinkButton, &QPushButton::clicked, this, [this] {
        result_ = Cleared;
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TLinkPagePicker::Result TLinkPagePicker::Run()
{
    result_ = Cancelled;
    exec();
    return result_;
}

int TLinkPagePicker::SelectedPage() const
{
    const QListWidgetItem* row = PageListBox->currentItem();
    return row ? row->data(Qt::UserRole).toInt() : 0;
}

} // namespace pimoko
