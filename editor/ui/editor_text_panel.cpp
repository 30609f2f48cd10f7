#include "editor/ui/editor_window.h"
#include "editor/ui/editor_window_parts.h"
#include "editor/ui/memo_text.h"
#include "platform/busy_state.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pimoko {

void TForm2::BuildTextControls()
{
    Label2 = new QLabel(QStringLiteral("ページ見出し"));
    Edit4 = new QLineEdit;
    Edit4->setToolTip(QStringLiteral("このページの見出しを入力します。"));
    QPalette navy = Edit4->palette();
    navy.setColor(QPalette::Text, QColor(0, 0, 128));
    Edit4->setPalette(navy);

    Memo1 = new QPlainTextEdit;
    Memo1->setToolTip(QStringLiteral("文章を変更すると速度はリセットされます"));
    Memo1->setFont(EditorFont(14));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setTabChangesFocus(true);

    SetTextBitBtn = MakeButton(QStringLiteral("テキスト設定"),
        QStringLiteral("文字の書体、色、位置、速度を設定します。"), EditorGlyph::TextSettings,
        nullptr);
    WriteAllCheckBox = new QCheckBox(QStringLiteral("文章を一度に表示する"));
    WriteAllCheckBox->setToolTip(
        QStringLiteral("文字を一文字ずつ書かずに、全文を一度に表示します。"));
    PeriodCheckBox = new QCheckBox(QStringLiteral("このページで止まる"));
    PeriodCheckBox->setToolTip(QStringLiteral("読む人がボタンを押すまで次のページへ進みません。"));

    connect(Edit4, &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.Edit4 = text;
        editor_.Edit4Modified = true;
    });
    connect(
        Edit4, &QLineEdit::returnPressed, this, [this] { Act([&] { editor_.Edit4KeyDown(13); }); });
    Edit4->installEventFilter(this);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm2::Memo1Changed);
    connect(SetTextBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.SetTextBitBtnClick(); }); });
}

void TForm2::BuildPanel4()
{
    BuildTextControls();
    BuildSoundPanel();
    BuildEffectsPanel();

    Panel4 = new QFrame(Panel1);
    auto* column = new QVBoxLayout(Panel4);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    auto* heading = new QHBoxLayout;
    heading->addWidget(Label2);
    heading->addWidget(Edit4, 1);
    column->addLayout(heading);
    column->addWidget(Memo1, 1);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(SetTextBitBtn);
    textRow->addSpacing(8);
    textRow->addWidget(WriteAllCheckBox);
    textRow->addWidget(PeriodCheckBox);
    textRow->addStretch(1);
    column->addLayout(textRow);
    column->addWidget(PicturePanel);
    column->addWidget(SoundPanel);
    column->addWidget(EffectsPanel);

    for (QCheckBox* box :
        { WriteAllCheckBox, PeriodCheckBox, RepeatSoundCheckBox, StopSoundCheckBox }) {
        box->installEventFilter(this);
        connect(box, &QCheckBox::clicked, this,
            [this, box](bool checked) { CheckBoxClicked(box, checked); });
    }
}

void TForm2::ShowText()
{
    if (Edit4->text() != editor_.Edit4) {
        const QSignalBlocker block(Edit4);
        Edit4->setText(editor_.Edit4);
    }
    // The memo is filled again only when the page editor's lines are not the ones it last
    // showed or handed in, so typing keeps its cursor and its input method state.
    if (editor_.Memo1 != memoLines_) {
        memoLines_ = editor_.Memo1;
        memoStored_ = MemoStoredForms(memoLines_);
        memoText_ = MemoDisplayText(memoLines_);
        if (Memo1->toPlainText() != memoText_) {
            const QSignalBlocker block(Memo1);
            Memo1->setPlainText(memoText_);
        }
    }
    const QSignalBlocker blockWriteAll(WriteAllCheckBox);
    const QSignalBlocker blockPeriod(PeriodCheckBox);
    WriteAllCheckBox->setChecked(editor_.WriteAllCheckBox);
    PeriodCheckBox->setChecked(editor_.PeriodCheckBox);
}

// Only a change of the text counts: an input method's preedit also reports a change,
// but the memo's text stays the same until the author commits.
void TForm2::Memo1Changed()
{
    const QString text = Memo1->toPlainText();
    if (text == memoText_)
        return;
    memoText_ = text;
    memoLines_ = MemoStoredLines(text, memoStored_);
    Act([&] { editor_.Memo1Edited(memoLines_); });
}

// The check boxes act when the mouse goes down on them (or the space bar, which flips
// them as well), before they change; while the busy flag is set they do not change.
bool TForm2::CheckBoxPressed(QCheckBox* box)
{
    if (Busy())
        return true;
    Act([&] {
        if (box == PeriodCheckBox)
            editor_.PeriodCheckBoxMouseDown();
        else if (box == WriteAllCheckBox)
            editor_.CheckBoxMouseDown(EditorCheckBox::WriteAll);
        else if (box == RepeatSoundCheckBox)
            editor_.CheckBoxMouseDown(EditorCheckBox::RepeatSound);
        else if (box == StopSoundCheckBox)
            editor_.CheckBoxMouseDown(EditorCheckBox::StopSound);
    });
    return false;
}

void TForm2::CheckBoxClicked(QCheckBox* box, bool checked)
{
    if (box == PeriodCheckBox)
        editor_.PeriodCheckBox = checked;
    else if (box == WriteAllCheckBox)
        editor_.WriteAllCheckBox = checked;
    else if (box == RepeatSoundCheckBox)
        editor_.RepeatSoundCheckBox = checked;
    else if (box == StopSoundCheckBox)
        editor_.StopSoundCheckBox = checked;
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit4) {
        if (event->type() == QEvent::FocusIn)
            Act([&] { editor_.Edit4Enter(); });
        else if (event->type() == QEvent::FocusOut)
            Act([&] { editor_.Edit4Exit(); });
        return QWidget::eventFilter(watched, event);
    }
    if (auto* box = qobject_cast<QCheckBox*>(watched)) {
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            return CheckBoxPressed(box);
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Space && !key->isAutoRepeat())
                return CheckBoxPressed(box);
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pimoko
