#include "editor/ui/text_settings_window.h"

#include "editor/ui/editor_window_parts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace pimoko {

// "フォント設定": shadow, vertical writing, the outline and its level, the size, the font
// dialog, and the page preview the text is placed on.
QWidget* TForm1::BuildFontSheet()
{
    FontSheet = new QWidget(this);
    NoShadowCheckBox = new QCheckBox(QStringLiteral("かげ無し"), FontSheet);
    VerticalCheckBox = new QCheckBox(QStringLiteral("縦書き"), FontSheet);
    highlightCheckBox = new QCheckBox(QStringLiteral("ハイライト"), FontSheet);
    HighLightComboBox = new QComboBox(FontSheet);
    // Its text can be one the list does not hold ("なし", or typed).
    HighLightComboBox->setEditable(true);
    HighLightComboBox->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 0; i < kHighlightItemCount; ++i)
        HighLightComboBox->addItem(HighlightItemText(i));
    HighLightComboBox->setMinimumContentsLength(4);
    HighLightComboBox->setToolTip(QStringLiteral("ハイライトの太さを選びます。"));
    FontSizeLabel = new QLabel(QStringLiteral("文字サイズ"), FontSheet);
    FontSizeTrackBar = new QSlider(Qt::Horizontal, FontSheet);
    FontSizeTrackBar->setRange(1, 108);
    FontSizeTrackBar->setValue(30);
    Button7 = new QPushButton(QStringLiteral("フォント"), FontSheet);
    Button7->setToolTip(QStringLiteral("文字の書体を選びます。"));
    Image1 = new TextSettingsPicture(&state_.Preview(), true, FontSheet);
    Image1->setToolTip(QStringLiteral("クリックすると文字の位置を変更できます"));
    Image1->setCursor(Qt::CrossCursor);

    auto* top = new QHBoxLayout;
    top->addWidget(NoShadowCheckBox);
    top->addWidget(VerticalCheckBox);
    top->addWidget(highlightCheckBox);
    top->addWidget(HighLightComboBox);
    top->addSpacing(10);
    top->addWidget(FontSizeLabel);
    top->addWidget(FontSizeTrackBar, 1);
    top->addWidget(Button7);
    auto* sheet = new QVBoxLayout(FontSheet);
    sheet->setContentsMargins(4, 4, 4, 4);
    sheet->addLayout(top);
    sheet->addWidget(Image1);

    connect(NoShadowCheckBox, &QCheckBox::toggled, this,
        [this](bool on) { Act([&] { state_.SetNoShadowCheckBox(on); }); });
    connect(VerticalCheckBox, &QCheckBox::toggled, this,
        [this](bool on) { Act([&] { state_.SetVerticalCheckBox(on); }); });
    connect(highlightCheckBox, &QCheckBox::toggled, this,
        [this](bool on) { Act([&] { state_.SetHighlightCheckBox(on); }); });
    connect(HighLightComboBox, &QComboBox::textActivated, this,
        [this](const QString& text) { Act([&] { state_.HighLightComboBoxChange(text); }); });
    connect(HighLightComboBox->lineEdit(), &QLineEdit::textEdited, this,
        [this](const QString& text) { Act([&] { state_.HighLightComboBoxChange(text); }); });
    connect(FontSizeTrackBar, &QSlider::valueChanged, this, [this](int value) {
        state_.SliderDragging = FontSizeTrackBar->isSliderDown();
        Act([&] { state_.SetFontSizePosition(value); });
    });
    connect(FontSizeTrackBar, &QSlider::sliderReleased, this,
        [this] { Act([&] { state_.SliderReleased(); }); });
    connect(Button7, &QPushButton::clicked, this, [this] { Act([&] { state_.Button7Click(); }); });
    Image1->onPress = [this](int x, int y) { Act([&] { state_.Image1MouseDown(x, y); }); };
    return FontSheet;
}

void TForm1::ShowFontSheet()
{
    for (QCheckBox* box : { NoShadowCheckBox, VerticalCheckBox, highlightCheckBox })
        box->blockSignals(true);
    NoShadowCheckBox->setChecked(state_.NoShadowCheckBox());
    VerticalCheckBox->setChecked(state_.VerticalCheckBox());
    highlightCheckBox->setChecked(state_.HighlightCheckBox());
    for (QCheckBox* box : { NoShadowCheckBox, VerticalCheckBox, highlightCheckBox })
        box->blockSignals(false);

    if (HighLightComboBox->currentText() != state_.HighLightComboBox) {
        const QSignalBlocker block(HighLightComboBox);
        const QSignalBlocker blockEdit(HighLightComboBox->lineEdit());
        HighLightComboBox->setEditText(state_.HighLightComboBox);
    }
    const QSignalBlocker block(FontSizeTrackBar);
    const TrackBar& size = state_.FontSizeTrackBar();
    FontSizeTrackBar->setRange(size.min, size.max);
    FontSizeTrackBar->setValue(size.position);
}

} // namespace pimoko
