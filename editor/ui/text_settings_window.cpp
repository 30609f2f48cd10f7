#include "editor/ui/text_settings_window.h"

#include "editor/editor_layout.h"
#include "editor/page_editor.h"
#include "editor/ui/editor_window_parts.h"
#include "editor/ui/link_page_picker.h"
#include "platform/cursor_ids.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pimoko {

// ---- Pictures -------------------------------------------------------------------------

TextSettingsPicture::TextSettingsPicture(const QImage* picture, bool anyButton, QWidget* parent)
    : QWidget(parent)
    , picture_(picture)
    , anyButton_(anyButton)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(picture_->size());
}

void TextSettingsPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, *picture_);
}

void TextSettingsPicture::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if ((anyButton_ || event->button() == Qt::LeftButton) && onPress)
        onPress(event->position().toPoint().x(), event->position().toPoint().y());
}

void TextSettingsPicture::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (event->buttons() == Qt::LeftButton && onPress)
        onPress(event->position().toPoint().x(), event->position().toPoint().y());
}

// ---- The window -----------------------------------------------------------------------

TForm1::TForm1(TPageEditor& editor, TBusyState& busy, PromptPort& prompt, const FontTable& fonts,
    QWidget* parent)
    : QWidget(parent, Qt::Window)
    , state_(editor, busy, prompt, fonts)
    , editor_(editor)
{
    setWindowTitle(TTextSettings::kCaption);
    setFont(EditorFont(12));
    state_.SetView(this);

    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(BuildFontSheet(), QStringLiteral("フォント設定"));
    PageControl1->addTab(BuildSpeedSheet(), QStringLiteral("速度"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(PageControl1);
    layout->addWidget(BuildSidePanel());
    setFixedSize(sizeHint());
    ShowState();
}

TForm1::~TForm1()
{
    state_.SetView(nullptr);
    if (waitCursor_)
        QApplication::restoreOverrideCursor();
}

QWidget* TForm1::BuildSidePanel()
{
    auto* panel = new QWidget(this);
    Button1 = new QPushButton(QStringLiteral("文字色"), panel);
    Button1->setToolTip(QStringLiteral("文字の色を選びます。"));
    FontColorImage = new TextSettingsPicture(&ColorPalette(), false, panel);
    FontColorImage->setToolTip(QStringLiteral("クリックした色が文字の色になります。"));
    Button2 = new QPushButton(QStringLiteral("かげの色"), panel);
    Button2->setToolTip(QStringLiteral("かげとハイライトの色を選びます。"));
    ShadowColorImage = new TextSettingsPicture(&ColorPalette(), false, panel);
    ShadowColorImage->setToolTip(QStringLiteral("クリックした色がかげの色になります。"));
    PitchLabel = new QLabel(QStringLiteral("行間隔"), panel);
    PitchTrackBar = new QSlider(Qt::Horizontal, panel);
    PitchTrackBar->setRange(0, 300);
    LinkBitBtn = MakeButton(QStringLiteral("リンク設定"),
        QStringLiteral("文章をクリックした時に進むページを指定します。"), EditorGlyph::NextPage,
        panel);
    LinkLabel = new QLabel(panel);
    Button6 = new QPushButton(QStringLiteral("決定"), panel);
    Button4 = new QPushButton(QStringLiteral("標準として使用"), panel);
    Button4->setToolTip(QStringLiteral("この設定を新しい文章の標準にします。"));
    Button3 = new QPushButton(QStringLiteral("キャンセル"), panel);

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 26, 0, 0);
    column->addWidget(Button1);
    column->addWidget(FontColorImage, 0, Qt::AlignHCenter);
    column->addSpacing(8);
    column->addWidget(Button2);
    column->addWidget(ShadowColorImage, 0, Qt::AlignHCenter);
    column->addSpacing(8);
    column->addWidget(PitchLabel);
    column->addWidget(PitchTrackBar);
    column->addSpacing(8);
    column->addWidget(LinkBitBtn);
    column->addWidget(LinkLabel);
    column->addStretch(1);
    column->addWidget(Button6);
    column->addWidget(Button4);
    column->addWidget(Button3);

    connect(Button1, &QPushButton::clicked, this, [this] { Act([&] { state_.Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { Act([&] { state_.Button2Click(); }); });
    FontColorImage->onPress
        = [this](int x, int y) { Act([&] { state_.FontColorImageMouseDown(x, y); }); };
    ShadowColorImage->onPress
        = [this](int x, int y) { Act([&] { state_.ShadowColorImageMouseDown(x, y); }); };
    connect(PitchTrackBar, &QSlider::valueChanged, this, [this](int value) {
        state_.SliderDragging = PitchTrackBar->isSliderDown();
        Act([&] { state_.SetPitchPosition(value); });
    });
    connect(PitchTrackBar, &QSlider::sliderReleased, this,
        [this] { Act([&] { state_.SliderReleased(); }); });
    connect(LinkBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { state_.LinkBitBtnClick(); }); });
    connect(Button6, &QPushButton::clicked, this, [this] { Act([&] { state_.Button6Click(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { Act([&] { state_.Button4Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { Act([&] { state_.Button3Click(); }); });
    return panel;
}

void TForm1::Act(const std::function<void()>& action)
{
    struct Acting {
        TForm1* window;
        ~Acting()
        {
            --window->acting_;
            window->ShowState();
        }
    } acting { this };
    ++acting_;
    action();
}

// ---- Showing the state ----------------------------------------------------------------

void TForm1::ShowState()
{
    ShowFontSheet();
    ShowSpeedSheet();
    const QSignalBlocker block(PitchTrackBar);
    const TrackBar& pitch = state_.PitchTrackBar();
    PitchTrackBar->setRange(pitch.min, pitch.max);
    PitchTrackBar->setValue(pitch.position);
    LinkLabel->setText(state_.LinkLabel);
    Image1->update();
}

void TForm1::PreviewChanged()
{
    Image1->update();
}

void TForm1::SetCursor(int id)
{
    if (id == kCursorWait && !waitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    } else if (id != kCursorWait && waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

// ---- Opening, closing and the link page -----------------------------------------------

void TForm1::OpenTextSettings(const TextSettingsRequest& request)
{
    Act([&] { state_.Open(request); });
}

void TForm1::ShowWindow()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TForm1::OpenLinkPicker()
{
    if (linkPicker_) {
        int page = 0;
        state_.PickingLink = true;
        const LinkPickerPort::Result result = linkPicker_->RunLinkPicker(editor_.LinkPage, &page);
        state_.PickingLink = false;
        if (result == LinkPickerPort::Chosen)
            state_.LinkPageChosen(page);
        else if (result == LinkPickerPort::Cleared)
            state_.ClearLinkPage();
        activateWindow();
        return;
    }
    TLinkPagePicker picker(editor_.Book(), editor_.LinkPage, this);
    state_.PickingLink = true;
    const TLinkPagePicker::Result result = picker.Run();
    state_.PickingLink = false;
    if (result == TLinkPagePicker::Chosen)
        state_.LinkPageChosen(picker.SelectedPage());
    else if (result == TLinkPagePicker::Cleared)
        state_.ClearLinkPage();
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (firstShow_ && !event->spontaneous()) {
        firstShow_ = false;
        if (const QScreen* s = screen())
            move(FirstShowPlace(s->availableGeometry(), frameGeometry().size()));
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    state_.FormClose();
    event->accept();
}

void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || isActiveWindow() || !isVisible())
        return;
    // A dialog of this window's own (a message, the font or colour dialog, the link
    // chooser) takes the focus while its action runs: that is no leaving.
    if (acting_ > 0 || QApplication::activeModalWidget())
        return;
    Act([&] { state_.FormDeactivate(); });
}

} // namespace pimoko
