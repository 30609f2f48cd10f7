#include "editor/ui/book_options_window.h"

#include "editor/effects_settings.h"
#include "editor/ui/editor_window_parts.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace pimoko {

TForm11::TForm11(TPageEditor& editor, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , settings_(editor)
{
    setWindowTitle(QStringLiteral("絵本オプション"));
    setFixedSize(552, 218);
    setFont(EditorFont(12));

    FileHeading = new QLabel(QStringLiteral("現在編集中のファイル名"), this);
    FileHeading->setGeometry(16, 12, 520, 20);
    CurrentFilePathLabel = new QLineEdit(settings_.CurrentFilePathLabel, this);
    CurrentFilePathLabel->setGeometry(28, 36, 508, 22);
    CurrentFilePathLabel->setReadOnly(true);
    CurrentFilePathLabel->setFrame(false);
    CurrentFilePathLabel->setFocusPolicy(Qt::ClickFocus);

    WaitHeading = new QLabel(QStringLiteral("画面切り替えの標準速度設定"), this);
    WaitHeading->setGeometry(16, 76, 520, 20);
    DefaultEffectWaitEdit = new QLineEdit(settings_.DefaultEffectWaitEdit, this);
    DefaultEffectWaitEdit->setGeometry(28, 100, 100, 24);
    DefaultEffectWaitEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    DefaultEffectWaitEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(this);
    for (int item = 0; item < kFadeSpeedPresetCount; ++item) {
        QAction* action = PopupMenu1->addAction(FadeSpeedPresetCaption(item));
        connect(action, &QAction::triggered, this, [this, item] {
            settings_.SpeedPreset(item);
            ShowState();
        });
    }
    connect(DefaultEffectWaitEdit, &QLineEdit::customContextMenuRequested, this,
        [this](const QPoint& at) { PopupMenu1->popup(DefaultEffectWaitEdit->mapToGlobal(at)); });
    connect(DefaultEffectWaitEdit, &QLineEdit::textEdited, this,
        [this](const QString& text) { settings_.DefaultEffectWaitEdit = text; });

    // Only loading a book or starting a new one changes the escapement; the panel stays
    // hidden, and only an edit by hand would reach the book.
    EscPanel = new QFrame(this);
    EscPanel->setGeometry(16, 132, 300, 56);
    auto* escHeading = new QLabel(QStringLiteral("縦書き時の回転文字追加"), EscPanel);
    escHeading->setGeometry(0, 0, 300, 20);
    EscEdit = new QLineEdit(EscPanel);
    EscEdit->setGeometry(12, 24, 280, 24);
    connect(EscEdit, &QLineEdit::textEdited, this,
        [this](const QString& text) { settings_.EscEditChange(text); });
    EscPanel->hide();

    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setGeometry(352, 176, 88, 28);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelButton->setGeometry(448, 176, 88, 28);
    connect(OkButton, &QPushButton::clicked, this, &TForm11::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TForm11::CancelButtonClick);
}

void TForm11::ShowState()
{
    CurrentFilePathLabel->setText(settings_.CurrentFilePathLabel);
    CurrentFilePathLabel->setCursorPosition(0);
    if (DefaultEffectWaitEdit->text() != settings_.DefaultEffectWaitEdit)
        DefaultEffectWaitEdit->setText(settings_.DefaultEffectWaitEdit);
    if (EscEdit->text() != settings_.EscEdit)
        EscEdit->setText(settings_.EscEdit);
}

void TForm11::OpenBookOptions(const BookOptionsRequest& request)
{
    settings_.Open(request);
    ShowState();
    if (editorWindow_)
        move(editorWindow_->frameGeometry().topLeft());
    show();
    raise();
    activateWindow();
}

void TForm11::OkButtonClick()
{
    // A text that is no number stops here with the conversion error; the window stays.
    settings_.Ok();
    ShowState();
    hide();
}

void TForm11::CancelButtonClick()
{
    hide();
}

bool TForm11::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        hide();
    return QWidget::event(event);
}

} // namespace pimoko
