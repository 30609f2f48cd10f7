#include "editor/ui/effects_window.h"

#include "editor/ui/editor_glyphs.h"
#include "editor/ui/editor_window_parts.h"
#include "platform/busy_state.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace pimoko {

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 428;
constexpr int kPanelTop = 160;

struct DrawModeButton {
    const char* caption;
    const char* hint;
};

constexpr DrawModeButton kDrawModeButtons[3] = {
    { "このページを直接画面に書く （ふつうの表示）", "音、画像、文章の順に表示されます。" },
    { "このページをスケッチに書く", "見えない画面（スケッチ）に書き込みます。" },
    { "このページでスケッチを画面に表示する",
        "見えない画面（スケッチ）に書き込んだ画像を表示します。" },
};

// Sets a line edit's text without moving its cursor when it already shows it.
void ShowText(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

TForm10::TForm10(TPageEditor& editor, PromptPort& prompt, const TBusyState& busy, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , settings_(editor, prompt, busy)
{
    setWindowTitle(TEffectsSettings::kCaption);
    setFixedSize(kWidth, kHeight);
    setFont(EditorFont(12));

    PopupMenu1 = new QMenu(this);
    for (int item = 0; item < kFadeSpeedPresetCount; ++item) {
        QAction* action = PopupMenu1->addAction(FadeSpeedPresetCaption(item));
        connect(action, &QAction::triggered, this, [this, item] {
            settings_.SpeedPreset(item);
            ShowState();
        });
    }

    BuildModeButtons();
    Panel1 = BuildFadePanel(QStringLiteral("画像の表示方法を選択できます"), &RadioGroup1,
        &RadioGroup1At, &RadioGroup1Fade, &Label1, &Edit1);
    // The sketch's panel lies over the picture's: only one of them shows at a time.
    Panel3 = BuildFadePanel(QStringLiteral("スケッチを画面に表示する方法を選択できます"),
        &RadioGroup3, &RadioGroup3At, &RadioGroup3Fade, &Label3, &Edit3);
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& t) { settings_.Edit1 = t; });
    connect(Edit3, &QLineEdit::textEdited, this, [this](const QString& t) { settings_.Edit3 = t; });
    BuildFlow();

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(kWidth - 200, kHeight - 44, 88, 28);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button2->setGeometry(kWidth - 100, kHeight - 44, 88, 28);
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);

    SetGotoPicker(nullptr);
    ShowState();
}

void TForm10::BuildModeButtons()
{
    DrawModeCaption = new QLabel(QStringLiteral("描画の方法を選ぶ"), this);
    DrawModeCaption->setGeometry(12, 8, kWidth - 24, 20);
    modes_ = new QButtonGroup(this);
    modes_->setExclusive(true);
    QToolButton** buttons[3] = { &SpeedButton1, &SpeedButton2, &SpeedButton3 };
    for (int i = 0; i < 3; ++i) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromUtf8(kDrawModeButtons[i].caption));
        button->setToolTip(QString::fromUtf8(kDrawModeButtons[i].hint));
        button->setIcon(QIcon(QPixmap::fromImage(DrawModeGlyph(i + 1))));
        button->setIconSize(QSize(16, 16));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setCheckable(true);
        button->setGeometry(12, 30 + i * 40, kWidth - 24, 34);
        modes_->addButton(button, i + 1);
        *buttons[i] = button;
    }
    connect(modes_, &QButtonGroup::idClicked, this, &TForm10::SpeedButtonClick);
}

QFrame* TForm10::BuildFadePanel(const QString& caption, QGroupBox** group, QRadioButton** at,
    QRadioButton** fade, QLabel** label, QLineEdit** edit)
{
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(12, kPanelTop, kWidth - 24, 112);
    *group = new QGroupBox(caption, panel);
    (*group)->setGeometry(8, 6, 290, 98);
    *at = new QRadioButton(QStringLiteral("すぐに切り替わる"), *group);
    (*at)->setGeometry(16, 28, 240, 24);
    *fade = new QRadioButton(QStringLiteral("徐々に切り替わる"), *group);
    (*fade)->setGeometry(16, 58, 240, 24);
    auto* items = new QButtonGroup(panel);
    items->addButton(*at, 0);
    items->addButton(*fade, 1);
    connect(items, &QButtonGroup::idClicked, this, [this](int item) {
        settings_.SelectFade(item != 0);
        ShowState();
    });
    *label = new QLabel(QStringLiteral("スピード"), panel);
    (*label)->setGeometry(314, 34, 100, 20);
    *edit = new QLineEdit(QStringLiteral("0"), panel);
    (*edit)->setGeometry(314, 58, 90, 24);
    // Numbers only: no input method.
    (*edit)->setAttribute(Qt::WA_InputMethodEnabled, false);
    (*edit)->setContextMenuPolicy(Qt::CustomContextMenu);
    QLineEdit* target = *edit;
    connect(target, &QLineEdit::customContextMenuRequested, this,
        [this, target](const QPoint& at) { PopupMenu1->popup(target->mapToGlobal(at)); });
    return panel;
}

void TForm10::BuildFlow()
{
    Panel2 = new QGroupBox(QStringLiteral("進むページの設定"), this);
    Panel2->setGeometry(12, kPanelTop + 122, kWidth - 24, 72);
    NextPageLabel = new QLabel(settings_.NextPageLabel, Panel2);
    NextPageLabel->setGeometry(16, 32, 260, 24);
    LinkBitBtn
        = new QPushButton(EditorGlyphIcon(EditorGlyph::NextPage), QStringLiteral("変更"), Panel2);
    LinkBitBtn->setGeometry(Panel2->width() - 112, 28, 96, 30);
    connect(LinkBitBtn, &QPushButton::clicked, this, &TForm10::LinkBitBtnClick);

    // The player decides whether a page waits by its period alone; the choice is kept for
    // the book file and never shown.
    RadioGroup2 = new QGroupBox(QStringLiteral("ページの進み方"), this);
    RadioGroup2Wait = new QRadioButton(QStringLiteral("ボタンが押されるのを待つ"), RadioGroup2);
    RadioGroup2Auto = new QRadioButton(QStringLiteral("自動的に次のページへ進む"), RadioGroup2);
    auto* items = new QButtonGroup(RadioGroup2);
    items->addButton(RadioGroup2Wait, 0);
    items->addButton(RadioGroup2Auto, 1);
    connect(
        items, &QButtonGroup::idClicked, this, [this](int item) { settings_.RadioGroup2 = item; });
    RadioGroup2->hide();
}

void TForm10::SetGotoPicker(GotoPickerPort* picker)
{
    picker_ = picker;
    LinkBitBtn->setEnabled(picker_ != nullptr);
    LinkBitBtn->setToolTip(QStringLiteral("次に進むページを指定できます。"));
}

void TForm10::ShowState()
{
    const int mode = settings_.DrawMode();
    if (QAbstractButton* button = modes_->button(mode))
        button->setChecked(true);
    Panel1->setVisible(settings_.Panel1Visible());
    Panel3->setVisible(settings_.Panel3Visible());
    (settings_.Fade() ? RadioGroup1Fade : RadioGroup1At)->setChecked(true);
    (settings_.Fade() ? RadioGroup3Fade : RadioGroup3At)->setChecked(true);
    Label1->setVisible(settings_.Edit1Visible());
    Edit1->setVisible(settings_.Edit1Visible());
    Label3->setVisible(settings_.Edit3Visible());
    Edit3->setVisible(settings_.Edit3Visible());
    ShowText(Edit1, settings_.Edit1);
    ShowText(Edit3, settings_.Edit3);
    NextPageLabel->setText(settings_.NextPageLabel);
    (settings_.RadioGroup2 != 0 ? RadioGroup2Auto : RadioGroup2Wait)->setChecked(true);
}

void TForm10::ShowUp()
{
    show();
    raise();
    activateWindow();
}

void TForm10::OpenEffects(const EffectsRequest& request)
{
    if (editorWindow_) {
        const QRect editor = editorWindow_->frameGeometry();
        move(editor.left() + editor.width() / 2, editor.top() + 50);
    }
    settings_.Load(request);
    ShowState();
    ShowUp();
}

void TForm10::SpeedButtonClick(int mode)
{
    settings_.SelectDrawMode(mode);
    ShowState();
}

void TForm10::Button1Click()
{
    // A speed that is no number stops here with the conversion error; the window stays.
    settings_.Apply();
    hide();
}

void TForm10::Button2Click()
{
    hide();
}

void TForm10::LinkBitBtnClick()
{
    if (!picker_ || !settings_.MayPickGoto())
        return;
    picker_->OpenGotoPicker(*this, settings_.GotoPage());
}

void TForm10::SetGotoPage(int page)
{
    settings_.SetGotoPage(page);
    ShowState();
    ShowUp();
}

bool TForm10::event(QEvent* event)
{
    // Clicking elsewhere puts the window away without applying it.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        hide();
    return QWidget::event(event);
}

} // namespace pimoko
