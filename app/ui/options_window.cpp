#include "app/ui/options_window.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace pimoko {

TForm4::TForm4(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("オプション"));
    setFixedSize(436, 149);

    RadioGroup1 = new QGroupBox(QStringLiteral("画面モードの設定"), this);
    RadioGroup1->setGeometry(16, 12, 404, 80);
    WindowRadio = new QRadioButton(QStringLiteral("ウインドウ表示"), RadioGroup1);
    WindowRadio->setGeometry(24, 24, 160, 22);
    FullScreenRadio = new QRadioButton(QStringLiteral("全画面表示"), RadioGroup1);
    FullScreenRadio->setGeometry(24, 48, 160, 22);
    group_ = new QButtonGroup(this);
    group_->addButton(WindowRadio, WindowMode);
    group_->addButton(FullScreenRadio, FullScreenMode);
    WindowRadio->setChecked(true);

    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setGeometry(240, 106, 84, 28);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelButton->setGeometry(336, 106, 84, 28);
    connect(OkButton, &QPushButton::clicked, this, &TForm4::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TForm4::CancelButtonClick);
}

void TForm4::OpenAt(const QPoint& topLeft)
{
    move(topLeft);
    remembered_ = ItemIndex() == FullScreenMode;
    show();
    raise();
    activateWindow();
}

int TForm4::ItemIndex() const
{
    return group_->checkedId();
}

void TForm4::SetItemIndex(int index)
{
    (index == FullScreenMode ? FullScreenRadio : WindowRadio)->setChecked(true);
}

void TForm4::OkButtonClick()
{
    if (SetFullScreen)
        SetFullScreen(ItemIndex() == FullScreenMode);
    hide();
}

void TForm4::CancelButtonClick()
{
    hide();
    SetItemIndex(remembered_ ? FullScreenMode : WindowMode);
}

bool TForm4::event(QEvent* event)
{
    // A small tool window: clicking elsewhere puts it away, with nothing changed.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        hide();
    return QWidget::event(event);
}

} // namespace pimoko
