#include "editor/ui/clip_window.h"

#include "editor/editor_layout.h"
#include "editor/ui/editor_window_parts.h"
#include "platform/bitmap.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

namespace pimoko {

namespace {

constexpr int kMargin = 8;
constexpr int kBarHeight = 44;

} // namespace

ClipView::ClipView(const TClipSettings& settings, QWidget* parent)
    : QWidget(parent)
    , settings_(settings)
{
    setFixedSize(kPageWidth, kPageHeight);
    setCursor(Qt::CrossCursor);
}

void ClipView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, settings_.View());
}

void ClipView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit Pressed(at.x(), at.y());
}

TForm7::TForm7(TPageEditor& editor, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , settings_(editor)
{
    setWindowTitle(QStringLiteral("クリップ設定"));
    setFont(EditorFont(12));
    setFixedSize(kPageWidth + 2 * kMargin, kPageHeight + 2 * kMargin + kBarHeight);

    Image1 = new ClipView(settings_, this);
    Image1->move(kMargin, kMargin);
    const int bar = kMargin + kPageHeight + 10;
    CheckBox1 = new QCheckBox(QStringLiteral("背景を透過にする。"), this);
    CheckBox1->setToolTip(QStringLiteral("背景の透過処理を変更します。"));
    CheckBox1->setGeometry(kMargin, bar, 170, 26);
    Label1 = new QLabel(QStringLiteral("画面をクリックして位置を指定してください。"), this);
    Label1->setGeometry(kMargin + 180, bar, 280, 26);
    Button1 = new QPushButton(QStringLiteral("決定"), this);
    Button1->setGeometry(width() - kMargin - 184, bar - 1, 88, 28);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button2->setGeometry(width() - kMargin - 88, bar - 1, 88, 28);

    connect(Image1, &ClipView::Pressed, this, &TForm7::Image1MouseDown);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm7::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
}

void TForm7::OpenClipSettings(const ClipRequest& request)
{
    settings_.Open(request);
    {
        const QSignalBlocker block(CheckBox1);
        CheckBox1->setChecked(settings_.Transparent());
    }
    Image1->update();
    show();
    raise();
    activateWindow();
}

void TForm7::Image1MouseDown(int x, int y)
{
    settings_.Click(x, y);
    Image1->update();
}

void TForm7::CheckBox1Click()
{
    settings_.SetTransparent(CheckBox1->isChecked());
    Image1->update();
}

void TForm7::Button1Click()
{
    settings_.Decide();
    hide();
}

void TForm7::Button2Click()
{
    hide();
}

void TForm7::FormShow()
{
    const QScreen* s = screen();
    if (s)
        move(FirstShowPlace(s->availableGeometry(), frameGeometry().size()));
}

void TForm7::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && settings_.TakeFirstShow())
        FormShow();
}

bool TForm7::event(QEvent* event)
{
    // Clicking elsewhere puts the window away; the page keeps its clip settings.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        hide();
    return QWidget::event(event);
}

} // namespace pimoko
