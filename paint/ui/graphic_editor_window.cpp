#include "paint/ui/graphic_editor_window.h"

#include "paint/random_source.h"
#include "paint/ui/paint_views.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTimer>

namespace pimoko {

namespace {

constexpr int kRight = 660; // the column of controls beside the canvas

QSlider* MakeSlider(QWidget* parent, int min, int max, int value, const QRect& box)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(min, max);
    slider->setValue(value);
    slider->setGeometry(box);
    return slider;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& box)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(box);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& text, const QRect& box)
{
    auto* button = new QPushButton(text, parent);
    button->setGeometry(box);
    return button;
}

} // namespace

TForm13::TForm13(
    PromptPort& prompt, const QString& startupFolder, RandomSource* random, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ownRandom_(random ? nullptr : std::make_unique<SystemRandom>())
    , editor_(prompt, startupFolder, random ? *random : *ownRandom_)
{
    setWindowTitle(TGraphicEditor::kCaption);
    setFixedSize(kWidth, kHeight);

    CanvasImage = new PaintCanvasView(editor_, this);
    CanvasImage->move(8, 8);
    CanvasImage->onMouseDown
        = [this](QPoint at, const MouseState& b) { Act([&] { editor_.CanvasMouseDown(at, b); }); };
    CanvasImage->onMouseMove
        = [this](QPoint at, const MouseState& b) { Act([&] { editor_.CanvasMouseMove(at, b); }); };
    CanvasImage->onMouseUp
        = [this](QPoint at, const MouseState& b) { Act([&] { editor_.CanvasMouseUp(at, b); }); };

    BuildTools();
    BuildSliders();
    BuildPenPanel();
    BuildCreatePenPanel();

    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(editor_.Interval());
    connect(Timer1, &QTimer::timeout, this, [this] { Act([&] { editor_.TimerTick(); }); });
    ShowState();
}

TForm13::~TForm13() = default;

void TForm13::BuildTools()
{
    CurrentPenImage = new SwatchView(this);
    CurrentPenImage->setGeometry(kRight, 8, 64, 64);
    CurrentPenImage->onEnter = [this] { Act([&] { editor_.CurrentPenImageMouseEnter(); }); };
    SelectPenBitBtn = MakeButton(this, QStringLiteral("ペン選択"), QRect(kRight + 72, 8, 96, 28));
    connect(SelectPenBitBtn, &QPushButton::clicked, this, [this] {
        if (!editor_.PensLoaded())
            LoadPensShowingProgress();
        Act([&] { editor_.SelectPenBitBtnClick(); });
    });
    MakePenBitBtn = MakeButton(this, QStringLiteral("ペン作成"), QRect(kRight + 72, 44, 96, 28));
    connect(MakePenBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.MakePenBitBtnClick(); }); });
    PenColorPaintBox = new SwatchView(this);
    PenColorPaintBox->setGeometry(kRight + 176, 8, 56, 64);

    PalletImage = new PaletteView(this);
    PalletImage->move(kRight, 80);
    PalletImage->onPick = [this](QRgb c) {
        Act([&] { editor_.PickColour(MakeColorRef(qRed(c), qGreen(c), qBlue(c))); });
    };

    PenRadioGroup = new QGroupBox(QStringLiteral("ペン先"), this);
    PenRadioGroup->setGeometry(kRight, 184, 112, 92);
    ToolRadioGroup = new QGroupBox(QStringLiteral("描き方"), this);
    ToolRadioGroup->setGeometry(kRight + 120, 184, 112, 92);
    const QString tips[3] = { QStringLiteral("ノーマル"), QStringLiteral("エアーブラシ"),
        QStringLiteral("ひかりペン") };
    const QString ways[3]
        = { QStringLiteral("スタンプ"), QStringLiteral("連続"), QStringLiteral("ランダム") };
    auto* tipGroup = new QButtonGroup(this);
    auto* wayGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        PenRadioItems[i] = new QRadioButton(tips[i], PenRadioGroup);
        PenRadioItems[i]->setGeometry(8, 20 + 22 * i, 100, 20);
        tipGroup->addButton(PenRadioItems[i], i);
        ToolRadioItems[i] = new QRadioButton(ways[i], ToolRadioGroup);
        ToolRadioItems[i]->setGeometry(8, 20 + 22 * i, 100, 20);
        wayGroup->addButton(ToolRadioItems[i], i);
    }
    connect(tipGroup, &QButtonGroup::idClicked, this,
        [this](int id) { Act([&] { editor_.PenRadioGroupClick(id); }); });
    connect(wayGroup, &QButtonGroup::idClicked, this,
        [this](int id) { Act([&] { editor_.ToolRadioGroupClick(id); }); });

    UndoBitBtn = MakeButton(this, QStringLiteral("前の画像"), QRect(kRight, 424, 112, 28));
    UndoNextBitBtn
        = MakeButton(this, QStringLiteral("後の画像"), QRect(kRight + 120, 424, 112, 28));
    SaveButton = MakeButton(this, QStringLiteral("保存"), QRect(kRight, 460, 112, 28));
    Button4 = MakeButton(this, QStringLiteral("閉じる"), QRect(kRight + 120, 460, 112, 28));
    connect(UndoBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.UndoBitBtnClick(); }); });
    connect(UndoNextBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.UndoNextBitBtnClick(); }); });
    connect(SaveButton, &QPushButton::clicked, this, &TForm13::SaveButtonClick);
    connect(Button4, &QPushButton::clicked, this, &TForm13::Button4Click);
}

void TForm13::BuildSliders()
{
    MakeLabel(this, QStringLiteral("ペンの大きさ"), QRect(kRight, 284, 232, 16));
    PenSizeTrackBar = MakeSlider(this, TGraphicEditor::kMinPenSize, TGraphicEditor::kMaxPenSize,
        editor_.PenSize(), QRect(kRight, 300, 232, 22));
    MakeLabel(this, QStringLiteral("濃さ"), QRect(kRight, 328, 232, 16));
    PenTransTrackBar = MakeSlider(this, TGraphicEditor::kMinDensity, TGraphicEditor::kMaxDensity,
        editor_.Density(), QRect(kRight, 344, 232, 22));
    MakeLabel(this, QStringLiteral("吹き付け速度"), QRect(kRight, 372, 232, 16));
    BrushTimeTrackBar = MakeSlider(this, TGraphicEditor::kMinSpray, TGraphicEditor::kMaxSpray,
        editor_.SprayPosition(), QRect(kRight, 388, 232, 22));
    connect(PenSizeTrackBar, &QSlider::valueChanged, this,
        [this](int v) { Act([&] { editor_.PenSizeTrackBarChange(v); }); });
    connect(PenTransTrackBar, &QSlider::valueChanged, this,
        [this](int v) { Act([&] { editor_.PenTransTrackBarChange(v); }); });
    connect(BrushTimeTrackBar, &QSlider::valueChanged, this, [this](int v) {
        Act([&] { editor_.BrushTimeTrackBarChange(v); });
        Timer1->setInterval(editor_.Interval());
    });
}

void TForm13::BuildPenPanel()
{
    PenPanel = new QFrame(this);
    PenPanel->setFrameShape(QFrame::Panel);
    PenPanel->setFrameShadow(QFrame::Raised);
    PenPanel->setAutoFillBackground(true);
    PenPanel->setGeometry(8, 8, 424, 480);
    PenScrollBox = new QScrollArea(PenPanel);
    PenScrollBox->setGeometry(8, 8, 408, 424);
    PenScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PenGrid = new PenGridView(editor_.Pens());
    PenScrollBox->setWidget(PenGrid);
    PenGrid->onCellPressed
        = [this](int cell, bool right, QPoint global) { PenGridPressed(cell, right, global); };
    Button1 = MakeButton(PenPanel, QStringLiteral("更新"), QRect(208, 440, 96, 30));
    Button3 = MakeButton(PenPanel, QStringLiteral("キャンセル"), QRect(312, 440, 104, 30));
    connect(Button1, &QPushButton::clicked, this, [this] { LoadPensShowingProgress(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Act([&] { editor_.Button3Click(); }); });

    PreparingPanel = new QLabel(QStringLiteral("準備中です。"), PenPanel);
    PreparingPanel->setAlignment(Qt::AlignCenter);
    PreparingPanel->setFrameShape(QFrame::Panel);
    PreparingPanel->setAutoFillBackground(true);
    PreparingPanel->setGeometry(112, 200, 200, 60);
    PreparingPanel->hide();

    DeletePenPopupMenu = new QMenu(this);
    DeletePenMenuItem = DeletePenPopupMenu->addAction(QStringLiteral("削除する"));
    connect(DeletePenMenuItem, &QAction::triggered, this, [this] {
        Act([&] { editor_.DeletePenPopupMenuClick(); });
        PenGrid->Reload();
    });
}

void TForm13::BuildCreatePenPanel()
{
    CreatePenPanel = new QFrame(this);
    CreatePenPanel->setFrameShape(QFrame::Panel);
    CreatePenPanel->setFrameShadow(QFrame::Raised);
    CreatePenPanel->setAutoFillBackground(true);
    CreatePenPanel->setGeometry(128, 128, 400, 232);
    MakeLabel(CreatePenPanel, QStringLiteral("ペンの作成方法"), QRect(12, 8, 376, 20));
    auto* background = new QGroupBox(QStringLiteral("ペンの背景"), CreatePenPanel);
    background->setGeometry(12, 32, 376, 68);
    TransparentRadio = new QRadioButton(QStringLiteral("透明にする"), background);
    TransparentRadio->setGeometry(12, 20, 340, 20);
    SquareRadio = new QRadioButton(QStringLiteral("四角にする"), background);
    SquareRadio->setGeometry(12, 42, 340, 20);
    auto* size = new QGroupBox(QStringLiteral("ペンの大きさ"), CreatePenPanel);
    size->setGeometry(12, 108, 376, 68);
    OriginalSizeRadio = new QRadioButton(QStringLiteral("原画のまま"), size);
    OriginalSizeRadio->setGeometry(12, 20, 340, 20);
    Fit64Radio = new QRadioButton(QStringLiteral("64*64ドットに収まるように変更する"), size);
    Fit64Radio->setGeometry(12, 42, 340, 20);
    connect(SquareRadio, &QRadioButton::toggled, this, [this](bool on) {
        editor_.PenBackgroundChoice = on ? PenBackground::Square : PenBackground::Transparent;
    });
    connect(Fit64Radio, &QRadioButton::toggled, this,
        [this](bool on) { editor_.PenSizingChoice = on ? PenSizing::Fit64 : PenSizing::Original; });
    Button2 = MakeButton(CreatePenPanel, QStringLiteral("作成する"), QRect(180, 188, 100, 30));
    Button5 = MakeButton(CreatePenPanel, QStringLiteral("取り消し"), QRect(288, 188, 100, 30));
    connect(Button2, &QPushButton::clicked, this, [this] {
        Act([&] { editor_.Button2Click(); });
        PenGrid->Reload();
    });
    connect(Button5, &QPushButton::clicked, this, [this] { Act([&] { editor_.Button5Click(); }); });
}

template <typename F> void TForm13::Act(F&& action)
{
    action();
    ShowState();
}

void TForm13::ShowState()
{
    PenPanel->setVisible(editor_.PenPanelVisible);
    CreatePenPanel->setVisible(editor_.CreatePenPanelVisible);
    if (editor_.CreatePenPanelVisible) {
        (editor_.PenBackgroundChoice == PenBackground::Square ? SquareRadio : TransparentRadio)
            ->setChecked(true);
        (editor_.PenSizingChoice == PenSizing::Fit64 ? Fit64Radio : OriginalSizeRadio)
            ->setChecked(true);
    }
    CurrentPenImage->SetPicture(editor_.PenPreviewImage());
    const PenColour c = editor_.Colour();
    PenColorPaintBox->SetColour(QColor(c.red, c.green, c.blue));
    PenRadioItems[static_cast<int>(editor_.Tip())]->setChecked(true);
    ToolRadioItems[static_cast<int>(editor_.Way())]->setChecked(true);
    for (auto [slider, value] : { std::pair { PenSizeTrackBar, editor_.PenSize() },
             std::pair { PenTransTrackBar, editor_.Density() },
             std::pair { BrushTimeTrackBar, editor_.SprayPosition() } }) {
        if (slider->value() != value) {
            const bool blocked = slider->blockSignals(true);
            slider->setValue(value);
            slider->blockSignals(blocked);
        }
    }
    CanvasImage->setCursor(editor_.PenCreationMode() ? Qt::CrossCursor : Qt::ArrowCursor);
    // The outline of a pen's rectangle is redrawn as it is dragged.
    if (shownCanvas_ != editor_.CanvasVersion()
        || editor_.Selection().GetState() == PenSelection::Dragging) {
        shownCanvas_ = editor_.CanvasVersion();
        CanvasImage->update();
    }
}

void TForm13::OpenOn(const QImage& canvas, const QString& sourcePicture)
{
    editor_.Open(canvas, sourcePicture);
    ShowState();
    show();
    raise();
    activateWindow();
}

void TForm13::LoadPensShowingProgress()
{
    PenPanel->show();
    PreparingPanel->show();
    PreparingPanel->raise();
    PenPanel->repaint();
    editor_.LoadPens();
    PenGrid->Reload();
    PreparingPanel->hide();
    ShowState();
}

void TForm13::PenGridPressed(int cell, bool right, QPoint globalPos)
{
    Act([&] { editor_.PenGridClick(cell, right); });
    if (right && editor_.MarkedCell() >= 0)
        DeletePenPopupMenu->popup(globalPos);
}

void TForm13::FormActivate()
{
    Timer1->setInterval(editor_.Interval());
    Timer1->start();
    if (!editor_.PensLoaded()) {
        editor_.PenPanelVisible = true;
        LoadPensShowingProgress();
    }
}

void TForm13::FormDeactivate()
{
    if (Prompting() || !isVisible())
        return;
    ++prompting_;
    const bool leave = editor_.CloseQuery();
    --prompting_;
    if (!leave) {
        raise();
        activateWindow();
        return;
    }
    Timer1->stop();
    hide();
}

void TForm13::SaveButtonClick()
{
    ++prompting_;
    const bool saved = editor_.SaveButtonClick();
    --prompting_;
    if (saved)
        hide();
}

void TForm13::Button4Click()
{
    close();
}

bool TForm13::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && isVisible() && !Prompting())
        FormActivate();
    else if (event->type() == QEvent::WindowDeactivate) {
        // Looked at once the event loop has settled: a window being hidden (the program
        // ending, the window closing) is deactivated as well, and that asks nothing.
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !isActiveWindow())
                FormDeactivate();
        });
    }
    return QWidget::event(event);
}

void TForm13::showEvent(QShowEvent* event)
{
    if (firstShow_) {
        firstShow_ = false;
        if (const QScreen* s = screen())
            move(FirstShowPosition(s->availableGeometry(), size()));
    }
    QWidget::showEvent(event);
}

void TForm13::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QWidget::hideEvent(event);
}

void TForm13::closeEvent(QCloseEvent* event)
{
    ++prompting_;
    const bool leave = editor_.CloseQuery();
    --prompting_;
    if (leave)
        event->accept();
    else
        event->ignore();
}

} // namespace pimoko
