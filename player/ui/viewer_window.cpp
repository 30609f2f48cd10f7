#include "player/ui/viewer_window.h"

#include "player/playback.h"
#include "player/sound_player_sdl.h"
#include "player/ui/picture_view.h"
#include "player/ui/viewer_glyphs.h"
#include "player/viewer_state_actions.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

namespace pimoko {
namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
    | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QFont PixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

Qt::CursorShape CursorShapeOf(int id)
{
    switch (id) {
    case kCursorCross:
        return Qt::CrossCursor;
    case kCursorHand:
        return Qt::PointingHandCursor;
    case kCursorWait:
        return Qt::WaitCursor;
    default:
        return Qt::ArrowCursor;
    }
}

// The list button's picture: three lines of a list.
QIcon ListIcon()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int row : { 3, 7, 11 }) {
        for (int x = 1; x < 3; ++x)
            for (int y = row; y < row + 2; ++y)
                image.setPixel(x, y, qRgb(40, 40, 160));
        for (int x = 5; x < 15; ++x)
            for (int y = row; y < row + 2; ++y)
                image.setPixel(x, y, qRgb(40, 40, 40));
    }
    return QIcon(QPixmap::fromImage(image));
}

// The stop button's picture: a red square.
QIcon StopIcon()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 3; y < 13; ++y)
        for (int x = 3; x < 13; ++x)
            image.setPixel(x, y,
                (x == 3 || y == 3 || x == 12 || y == 12) ? qRgb(120, 0, 0) : qRgb(220, 30, 30));
    return QIcon(QPixmap::fromImage(image));
}

// A button shows its glyph with the glyph's bottom-left colour left out, as the glyphs'
// image list background is meant to be.
QIcon ButtonIcon(const QImage& glyph)
{
    QImage icon = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = icon.pixel(0, icon.height() - 1);
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            if (icon.pixel(x, y) == key)
                icon.setPixel(x, y, qRgba(0, 0, 0, 0));
    return QIcon(QPixmap::fromImage(icon));
}

bool LeftButtonAlone(const QMouseEvent* e)
{
    return e->button() == Qt::LeftButton && e->buttons() == Qt::LeftButton
        && (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
}

} // namespace

TForm3::TForm3(ViewerWindowPeers& peers, std::unique_ptr<SoundPort> sounds, QWidget* parent)
    : QWidget(parent, kWindowFlags)
    , peers_(peers)
    , text_(std::make_unique<TTextShotB>())
    , sounds_(sounds ? std::move(sounds) : std::make_unique<SdlSoundPlayers>())
{
    BuildControls();
    FormCreate();
}

TForm3::~TForm3() = default;

void TForm3::BuildControls()
{
    setWindowTitle(state_.caption);
    setFont(PixelFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    setFixedSize(TViewerState::kWindowWidth, TViewerState::kWindowHeight);
    setFocusPolicy(Qt::StrongFocus);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette black = Panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Panel1->setPalette(black);
    Panel1->setFont(PixelFont(QStringLiteral("ＭＳ 明朝"), 12));

    Image1 = new PictureView(&state_.Picture(), Panel1);
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);

    ShowListSpeedButton = new QToolButton(this);
    ShowListSpeedButton->setToolTip(QStringLiteral("見出しリストを表示する"));
    ShowListSpeedButton->setIcon(ListIcon());
    ShowListSpeedButton->setAutoRaise(true);
    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    StopButton = new QToolButton(this);
    StopButton->setToolTip(QStringLiteral("再生中のページを停止します。"));
    StopButton->setIcon(StopIcon());
    Panel2 = new QFrame(this);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bitbtn1 = new QPushButton(Panel2);
    Bitbtn1->setToolTip(QStringLiteral("ページを進めます。"));
    Bitbtn1->setIconSize(QSize(16, 16));
    BitBtn2 = new QPushButton(this);
    BitBtn2->setToolTip(QStringLiteral("前のページへ戻る。"));
    BitBtn2->hide();
    BitBtn3 = new QPushButton(this);
    BitBtn3->setToolTip(QStringLiteral("次のページへ進む。"));
    BitBtn3->hide();

    PopupMenu1 = new QMenu(this);
    N1 = PopupMenu1->addAction(QStringLiteral("フルスクリーン終了"));
    N2 = PopupMenu1->addAction(QStringLiteral("ページ見出し表示"));
    N3 = PopupMenu1->addAction(QStringLiteral("停止"));

    LayOutWindowMode();

    connect(Bitbtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    connect(StopButton, &QToolButton::clicked, this, &TForm3::StopButtonClick);
    connect(ShowListSpeedButton, &QToolButton::clicked, this, &TForm3::ShowListSpeedButtonClick);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm3::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm3::BitBtn3Click);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TForm3::PopupMenu1Popup);
    connect(N1, &QAction::triggered, this, &TForm3::N1Click);
    connect(N2, &QAction::triggered, this, &TForm3::N2Click);
    connect(N3, &QAction::triggered, this, &TForm3::StopButtonClick);
    connect(Image1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { PopupMenu1->popup(Image1->mapToGlobal(at)); });
    Image1->onMouseDown = [this](QMouseEvent* e) {
        if (actions_)
            actions_->PictureMouseDown(
                int(e->position().x()), int(e->position().y()), LeftButtonAlone(e));
    };
    Image1->onMouseMove = [this](QMouseEvent* e) {
        if (actions_)
            actions_->PictureMouseMove(int(e->position().x()), int(e->position().y()));
    };

    // Key preview: the window sees every key before the control that has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void TForm3::FormCreate()
{
    firstShow_ = true;
    linkGlyph_ = LinkGlyph();
    advanceGlyph_ = AdvanceGlyph();
    CanvasFont font;
    font.name = Panel1->font().family();
    font.height = 30;
    font.color = MakeColorRef(255, 255, 0);
    state_.PictureCanvas().SetFont(font);
    text_->SetTargetBitmap(&state_.PictureCanvas());
    text_->SetLinePitch(0);
    state_.Links().ClearLinkAreas();
    ViewerStateChanged();
}

void TForm3::Attach(TViewerActions* actions)
{
    actions_ = actions;
}

void TForm3::LayOutWindowMode()
{
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(0, 0, TViewerState::kFrameWidth, TViewerState::kFrameHeight);
    Image1->move(TViewerState::kPictureX, TViewerState::kPictureY);
    ShowListSpeedButton->setGeometry(3, 498, 36, 36);
    Bevel1->setGeometry(43, 498, 482, 35);
    StopButton->setGeometry(529, 502, 28, 28);
    Panel2->setGeometry(561, 498, 93, 36);
    Bitbtn1->setGeometry(1, 1, 91, 34);
    BitBtn2->setGeometry(82, 501, 40, 32);
    BitBtn3->setGeometry(123, 501, 40, 32);
    for (QWidget* w : { static_cast<QWidget*>(Panel2), static_cast<QWidget*>(ShowListSpeedButton),
             static_cast<QWidget*>(StopButton), static_cast<QWidget*>(Bevel1) })
        w->show();
}

void TForm3::PlacePicture()
{
    if (state_.fullScreen) {
        Panel1->setGeometry(rect());
        Image1->move(TViewerState::FullScreenPictureOrigin(size()));
    }
}

void TForm3::RepaintPicture()
{
    Image1->update();
}

void TForm3::ApplyCursor()
{
    setCursor(CursorShapeOf(state_.cursor));
}

void TForm3::ViewerStateChanged()
{
    setWindowTitle(state_.caption);
    ApplyCursor();
    const QImage& glyph = state_.glyph == GoOnGlyph::Link ? linkGlyph_ : advanceGlyph_;
    Bitbtn1->setIcon(ButtonIcon(glyph));
    Bitbtn1->setVisible(state_.goOnVisible);
}

void TForm3::ShowViewer()
{
    if (!isVisible()) {
        if (state_.fullScreen)
            showFullScreen();
        else
            show();
    }
    raise();
    activateWindow();
}

void TForm3::CloseViewer()
{
    hide();
}

void TForm3::ApplyScreenLayout(TViewerState::ScreenChange change)
{
    changingLayout_ = true;
    if (change == TViewerState::ScreenChange::ToFullScreen) {
        windowPlace_ = shownAsWindow_ ? std::optional<QPoint>(pos()) : std::nullopt;
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        Panel1->setFrameStyle(QFrame::NoFrame);
        for (QWidget* w :
            { static_cast<QWidget*>(Panel2), static_cast<QWidget*>(ShowListSpeedButton),
                static_cast<QWidget*>(StopButton), static_cast<QWidget*>(Bevel1) })
            w->hide();
        showFullScreen();
        // Without a window manager to honour the full-screen state the window is sized here.
        if (const QScreen* s = screen())
            setGeometry(s->geometry());
        PlacePicture();
    } else if (change == TViewerState::ScreenChange::ToWindow) {
        setWindowFlags(kWindowFlags | Qt::WindowStaysOnTopHint);
        showNormal();
        setFixedSize(TViewerState::kWindowWidth, TViewerState::kWindowHeight);
        if (windowPlace_)
            move(*windowPlace_);
        LayOutWindowMode();
        show();
        // A viewer first shown in full screen has no place of its own yet.
        if (!windowPlace_)
            CentreInWorkArea();
    }
    changingLayout_ = false;
    raise();
    activateWindow();
}

void TForm3::ShowTitleListInPlayerMode()
{
    peers_.ShowTitleListInPlayerMode();
}

void TForm3::HideTitleList()
{
    peers_.HideTitleList();
}

bool TForm3::TitleListVisible() const
{
    return peers_.TitleListVisible();
}

bool TForm3::TitleListInPlayerMode() const
{
    return peers_.TitleListInPlayerMode();
}

void TForm3::SetFullScreenWanted(bool fullScreen)
{
    peers_.SetFullScreenWanted(fullScreen);
}

void TForm3::BitBtn1Click()
{
    if (actions_)
        actions_->GoOnButtonClick();
}

void TForm3::StopButtonClick()
{
    if (actions_)
        actions_->StopButtonClick();
}

void TForm3::ShowListSpeedButtonClick()
{
    if (actions_)
        actions_->ListButtonClick();
}

void TForm3::PopupMenu1Popup()
{
    if (!actions_)
        return;
    const TViewerActions::MenuItems items = actions_->MenuOpening();
    N1->setText(items.fullScreen);
    N2->setText(items.titleList);
    N3->setEnabled(items.stopEnabled);
}

void TForm3::N1Click()
{
    if (actions_)
        actions_->FullScreenMenuClick();
}

void TForm3::N2Click()
{
    if (actions_)
        actions_->TitleListMenuClick();
}

void TForm3::BitBtn2Click()
{
    if (actions_)
        actions_->StepToPage(false);
}

void TForm3::BitBtn3Click()
{
    if (actions_)
        actions_->StepToPage(true);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    // The open menu keeps its keys (Escape, Enter, the arrows), and Space chooses its item
    // as Enter does, whatever the style says.
    if (watched == PopupMenu1) {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(PopupMenu1, &enter);
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && actions_) {
        const int key = VirtualKeyOf(static_cast<QKeyEvent*>(event)->key());
        if (key != 0) {
            actions_->KeyDown(key);
            return true;
        }
    }
    if (watched == Panel1 && event->type() == QEvent::MouseButtonPress && actions_) {
        actions_->FrameMouseDown(LeftButtonAlone(static_cast<QMouseEvent*>(event)));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm3::CentreInWorkArea()
{
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    const QSize frame = frameGeometry().size();
    const int x = frame.width() < area.width() ? area.left() + (area.width() - frame.width()) / 2
                                               : area.left();
    const int y = frame.height() < area.height() ? area.top() + (area.height() - frame.height()) / 2
                                                 : area.top();
    move(x, y);
}

void TForm3::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    state_.visible = true;
    if (!state_.fullScreen)
        shownAsWindow_ = true;
    if (firstShow_ && !event->spontaneous()) {
        firstShow_ = false;
        if (!state_.fullScreen)
            CentreInWorkArea();
    }
}

void TForm3::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Minimising hides the window too; only a real hide stops the sounds.
    if (event->spontaneous() || changingLayout_)
        return;
    if (actions_)
        actions_->Hidden();
    state_.visible = false;
}

void TForm3::closeEvent(QCloseEvent* event)
{
    if (actions_ && !actions_->CloseRequested()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TForm3::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && actions_)
        actions_->Deactivated(isMinimized());
}

void TForm3::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlacePicture();
}

} // namespace pimoko
