#include "editor/ui/distribution_window.h"

#include "book/open_book.h"
#include "editor/ui/editor_window_parts.h"
#include "platform/busy_state.h"
#include "platform/prompt_port.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

namespace pimoko {
namespace {

// A quality track bar of 1..100 with "低い", "普通" and "高い" under its ends and middle.
QSlider* MakeQualityBar(QWidget* parent, int top, int value)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setRange(1, 100);
    bar->setValue(value);
    bar->setPageStep(10);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(10);
    bar->setGeometry(36, top, 300, 28);
    const struct {
        const char* text;
        int left;
        Qt::Alignment align;
    } marks[] = {
        { "低い", 20, Qt::AlignLeft },
        { "普通", 156, Qt::AlignHCenter },
        { "高い", 292, Qt::AlignRight },
    };
    for (const auto& m : marks) {
        auto* label = new QLabel(QString::fromUtf8(m.text), parent);
        label->setAlignment(m.align);
        label->setGeometry(m.left, top + 28, 60, 18);
    }
    return bar;
}

} // namespace

TForm5::TForm5(TDistribution& distribution, TOpenBook& book, const TBusyState& busy,
    PromptPort& prompt, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
    , distribution_(distribution)
    , book_(book)
    , busy_(busy)
    , prompt_(prompt)
{
    setWindowTitle(QStringLiteral("配布ファイルのコピー確認"));
    setFixedSize(kWidth, kHeight);

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(8, 8, kWidth - 16, 220);
    PageControl1->addTab(MakeConfirmTab(), QStringLiteral("作成確認"));
    PageControl1->addTab(MakeJpegTab(), QStringLiteral("ＪＰＥＧ指定"));
    PageControl1->addTab(MakePlayerTab(), QStringLiteral("プレイヤー添付"));

    CopyLabel = new QLabel(QStringLiteral("コピーしています。（少し、時間がかかります）"), this);
    CopyLabel->setGeometry(12, 234, kWidth - 24, 20);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(12, 256, kWidth - 24, 18);
    ProgressBar1->setTextVisible(false);
    HideProgress();

    Button1 = new QPushButton(QStringLiteral("ＯＫ"), this);
    Button1->setGeometry(kWidth - 196, kHeight - 44, 88, 30);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button2->setGeometry(kWidth - 100, kHeight - 44, 88, 30);
    Button2->setShortcut(Qt::Key_Escape);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

QWidget* TForm5::MakeConfirmTab()
{
    auto* tab = new QWidget;
    Label1 = new QLabel(QStringLiteral("配布用のファイルを作成します。\n\n"
                                       "絵本と、絵本が使っている絵や音のファイルを集めて、\n"
                                       "一つの書庫ファイル（lzh）にまとめます。\n\n"
                                       "「ＪＰＥＧ指定」と「プレイヤー添付」のタブで\n"
                                       "作り方を選んでから「ＯＫ」を押して下さい。"),
        tab);
    Label1->setGeometry(16, 12, kWidth - 48, 160);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return tab;
}

QWidget* TForm5::MakeJpegTab()
{
    auto* tab = new QWidget;
    JpegSaveCheckBox = new QCheckBox(QStringLiteral("BMPをJPEGに変換する"), tab);
    JpegSaveCheckBox->setGeometry(16, 8, 300, 22);
    JpegSaveCheckBox->setChecked(true);
    JpegQualityTrackBar = MakeQualityBar(tab, 32, 80);
    RecompCheckBox = new QCheckBox(QStringLiteral("JPEGの再圧縮"), tab);
    RecompCheckBox->setGeometry(16, 92, 300, 22);
    JpegRecompQualityTrackBar = MakeQualityBar(tab, 116, 50);
    // Pictures are recompressed only while they are converted at all.
    auto follow = [this] {
        const bool convert = JpegSaveCheckBox->isChecked();
        JpegQualityTrackBar->setEnabled(convert);
        RecompCheckBox->setEnabled(convert);
        JpegRecompQualityTrackBar->setEnabled(convert && RecompCheckBox->isChecked());
    };
    connect(JpegSaveCheckBox, &QCheckBox::toggled, this, follow);
    connect(RecompCheckBox, &QCheckBox::toggled, this, follow);
    follow();
    return tab;
}

QWidget* TForm5::MakePlayerTab()
{
    auto* tab = new QWidget;
    PlayerSelectRadioGroup = new QGroupBox(QStringLiteral("ピモコプレイヤー"), tab);
    PlayerSelectRadioGroup->setGeometry(16, 12, kWidth - 64, 88);
    WithPlayerRadio
        = new QRadioButton(QStringLiteral("プレイヤーをつけて配布する"), PlayerSelectRadioGroup);
    WithPlayerRadio->setGeometry(16, 26, 300, 22);
    WithoutPlayerRadio
        = new QRadioButton(QStringLiteral("プレイヤーをつけない"), PlayerSelectRadioGroup);
    WithoutPlayerRadio->setGeometry(16, 52, 300, 22);
    playerGroup_ = new QButtonGroup(this);
    playerGroup_->addButton(WithPlayerRadio, WithPlayer);
    playerGroup_->addButton(WithoutPlayerRadio, WithoutPlayer);
    WithoutPlayerRadio->setChecked(true);
    return tab;
}

void TForm5::OpenOver(const QRect& editorFrame)
{
    if (distribution_.Building())
        return;
    move(editorFrame.left() + (editorFrame.width() - width()) / 2,
        editorFrame.top() + (editorFrame.height() - height()) / 2);
    HideProgress();
    show();
    raise();
    activateWindow();
}

DistributionOptions TForm5::ChosenOptions() const
{
    DistributionOptions o;
    o.convertToJpeg = JpegSaveCheckBox->isChecked();
    o.jpegQuality = JpegQualityTrackBar->value();
    o.recompress = RecompCheckBox->isChecked();
    o.recompressQuality = JpegRecompQualityTrackBar->value();
    o.includePlayer = playerGroup_->checkedId() == WithPlayer;
    return o;
}

void TForm5::ShowProgress(int done, int total)
{
    ProgressBar1->setMaximum(qMax(1, total));
    ProgressBar1->setValue(done);
    // The build runs without returning to the event loop: paint now.
    repaint();
}

void TForm5::HideProgress()
{
    ProgressBar1->setValue(0);
    ProgressBar1->hide();
    CopyLabel->hide();
}

void TForm5::Button1Click()
{
    if (distribution_.Building() || busy_.IsBusy())
        return;
    distribution_.Options = ChosenOptions();
    distribution_.OnProgress = [this](int done, int total) { ShowProgress(done, total); };
    distribution_.OnPacking = [this] { hide(); };
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    CopyLabel->show();
    repaint();

    auto finish = [this] {
        distribution_.OnProgress = nullptr;
        distribution_.OnPacking = nullptr;
        hide();
        HideProgress();
    };
    DistributionResult result;
    try {
        WindowWaitCursor wait;
        result = distribution_.Run(book_);
    } catch (...) {
        // A malformed number in the editor's fields stops the build before anything is
        // written; the application's handler shows it.
        finish();
        throw;
    }
    finish();
    if (result.outcome == DistributionResult::Outcome::Failed)
        prompt_.ShowMessage(MessageKind::Error, windowTitle(), result.message);
}

void TForm5::Button2Click()
{
    if (!distribution_.Building())
        hide();
}

void TForm5::closeEvent(QCloseEvent* event)
{
    if (distribution_.Building())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

} // namespace pimoko
