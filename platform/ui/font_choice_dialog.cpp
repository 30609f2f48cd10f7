#include "platform/ui/font_choice_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>

namespace pimoko {

namespace {

struct NamedColor {
    const char* name; // UTF-8
    quint32 color; // 0x00BBGGRR
};

// The colours the effects offer.
const std::array<NamedColor, 16> kColors = { {
    { "黒", 0x000000 },
    { "栗色", 0x000080 },
    { "緑", 0x008000 },
    { "オリーブ", 0x008080 },
    { "紺", 0x800000 },
    { "紫", 0x800080 },
    { "青緑", 0x808000 },
    { "灰色", 0x808080 },
    { "銀", 0xC0C0C0 },
    { "赤", 0x0000FF },
    { "ライム", 0x00FF00 },
    { "黄", 0x00FFFF },
    { "青", 0xFF0000 },
    { "赤紫", 0xFF00FF },
    { "水色", 0xFFFF00 },
    { "白", 0xFFFFFF },
} };

QColor ToQColor(quint32 c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
        static_cast<int>((c >> 16) & 0xFF));
}

QIcon Swatch(quint32 c)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(c));
    return QIcon(pixmap);
}

} // namespace

FontChoiceDialog::FontChoiceDialog(const FontChoice& initial, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("フォント"));

    FaceList = new QListWidget(this);
    FaceList->addItems(initial.faces);
    // A face that is not installed (a book from another machine) stays the one chosen
    // until another is picked.
    if (!initial.face.isEmpty() && !initial.faces.contains(initial.face))
        FaceList->insertItem(0, initial.face);
    const QList<QListWidgetItem*> found = FaceList->findItems(initial.face, Qt::MatchExactly);
    FaceList->setCurrentRow(found.isEmpty() ? 0 : FaceList->row(found.first()));

    StyleList = new QListWidget(this);
    StyleList->addItems({ QStringLiteral("標準"), QStringLiteral("斜体"), QStringLiteral("太字"),
        QStringLiteral("太字 斜体") });
    StyleList->setCurrentRow((initial.bold ? 2 : 0) + (initial.italic ? 1 : 0));

    SizeBox = new QSpinBox(this);
    SizeBox->setRange(1, 999);
    SizeBox->setSuffix(QStringLiteral(" px"));
    SizeBox->setValue(initial.height);

    auto* effects = new QGroupBox(QStringLiteral("文字飾り"), this);
    StrikeOutBox = new QCheckBox(QStringLiteral("取り消し線"), effects);
    StrikeOutBox->setChecked(initial.strikeOut);
    UnderlineBox = new QCheckBox(QStringLiteral("下線"), effects);
    UnderlineBox->setChecked(initial.underline);
    ColorBox = new QComboBox(effects);
    for (const NamedColor& c : kColors)
        ColorBox->addItem(Swatch(c.color), QString::fromUtf8(c.name), c.color);
    int colorRow = ColorBox->findData(initial.color);
    if (colorRow < 0) {
        // A colour of its own stays offered as it is.
        ColorBox->addItem(Swatch(initial.color), QStringLiteral("カスタム"), initial.color);
        colorRow = ColorBox->count() - 1;
    }
    ColorBox->setCurrentIndex(colorRow);
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(StrikeOutBox);
    effectsLayout->addWidget(UnderlineBox);
    effectsLayout->addWidget(new QLabel(QStringLiteral("色"), effects));
    effectsLayout->addWidget(ColorBox);

    Sample = new QLabel(QStringLiteral("Aaあぁアァ亜宇"), this);
    Sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Sample->setAlignment(Qt::AlignCenter);
    Sample->setMinimumSize(220, 70);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("フォント名"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("スタイル"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("サイズ"), this), 0, 2);
    grid->addWidget(FaceList, 1, 0, 2, 1);
    grid->addWidget(StyleList, 1, 1, 2, 1);
    grid->addWidget(SizeBox, 1, 2, Qt::AlignTop);
    grid->addWidget(effects, 3, 0);
    grid->addWidget(Sample, 3, 1, 1, 2);
    grid->addWidget(buttons, 4, 0, 1, 3);

    connect(FaceList, &QListWidget::currentRowChanged, this, &FontChoiceDialog::ShowSample);
    connect(StyleList, &QListWidget::currentRowChanged, this, &FontChoiceDialog::ShowSample);
    connect(SizeBox, qOverload<int>(&QSpinBox::valueChanged), this, &FontChoiceDialog::ShowSample);
    connect(StrikeOutBox, &QCheckBox::toggled, this, &FontChoiceDialog::ShowSample);
    connect(UnderlineBox, &QCheckBox::toggled, this, &FontChoiceDialog::ShowSample);
    connect(ColorBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
        &FontChoiceDialog::ShowSample);
    ShowSample();
}

FontChoice FontChoiceDialog::Choice() const
{
    FontChoice c;
    if (const QListWidgetItem* item = FaceList->currentItem())
        c.face = item->text();
    const int style = std::max(0, StyleList->currentRow());
    c.bold = style >= 2;
    c.italic = style % 2 == 1;
    c.height = SizeBox->value();
    c.strikeOut = StrikeOutBox->isChecked();
    c.underline = UnderlineBox->isChecked();
    c.color = ColorBox->currentData().toUInt();
    return c;
}

void FontChoiceDialog::ShowSample()
{
    const FontChoice c = Choice();
    QFont font(c.face);
    // The sample keeps to its box; the size is the one chosen up to the box's height.
    font.setPixelSize(std::min(c.height, 48));
    font.setBold(c.bold);
    font.setItalic(c.italic);
    font.setStrikeOut(c.strikeOut);
    font.setUnderline(c.underline);
    Sample->setFont(font);
    QPalette palette = Sample->palette();
    palette.setColor(QPalette::WindowText, ToQColor(c.color));
    Sample->setPalette(palette);
}

bool RunFontChoiceDialog(FontChoice* font, QWidget* parent)
{
    FontChoiceDialog dialog(*font, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList faces = font->faces;
    *font = dialog.Choice();
    font->faces = faces;
    return true;
}

} // namespace pimoko
