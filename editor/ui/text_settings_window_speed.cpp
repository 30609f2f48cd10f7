#include "editor/ui/text_settings_window.h"

#include "platform/numbers.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace pimoko {

constexpr int kCellWidth = 20;
constexpr int kCellHeight = 40;
// The speed is written this far below the top of its cell, under the character.
constexpr int kSpeedTop = 20;

// The speed grid's cells as a table: the character of each cell, read from the state.
class SpeedGridModel : public QAbstractTableModel {
public:
    SpeedGridModel(const TTextSettings& state, QObject* parent)
        : QAbstractTableModel(parent)
        , state_(state)
    {
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : kSpeedGridSize;
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : kSpeedGridSize;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return state_.CellText(index.column(), index.row());
        if (role == Qt::UserRole)
            return state_.Speed(index.column(), index.row());
        return QVariant();
    }

private:
    const TTextSettings& state_;
};

namespace {

// A cell: its character at the top, its speed in blue below.
class SpeedCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.text.clear();
        QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        const QRect r = option.rect;
        painter->save();
        painter->setClipRect(r);
        painter->setPen(option.state & QStyle::State_Selected
                ? option.palette.color(QPalette::HighlightedText)
                : option.palette.color(QPalette::Text));
        QFont glyph = option.font;
        glyph.setPixelSize(16);
        painter->setFont(glyph);
        painter->drawText(QRect(r.left(), r.top(), r.width(), kSpeedTop), Qt::AlignCenter,
            index.data(Qt::DisplayRole).toString());
        const int speed = index.data(Qt::UserRole).toInt();
        if (speed != kNoSpeed) {
            QFont small = option.font;
            small.setPixelSize(9);
            painter->setFont(small);
            painter->setPen(Qt::blue);
            painter->drawText(QRect(r.left(), r.top() + kSpeedTop, r.width() + 20, kSpeedTop),
                Qt::AlignLeft | Qt::AlignTop, IntToStr(speed));
        }
        painter->restore();
    }
};

} // namespace

// "速度": the page text, the speed choice, and the grid of its characters.
QWidget* TForm1::BuildSpeedSheet()
{
    SpeedSheet = new QWidget(this);
    Memo1 = new QPlainTextEdit(SpeedSheet);
    Memo1->setReadOnly(true);
    Memo1->setToolTip(QStringLiteral("このページの文章です。書き込みは出来ません。"));
    Memo1->setFixedHeight(70);

    RadioGroup1 = new QGroupBox(QStringLiteral("指定する文字速度の選択"), SpeedSheet);
    RadioButtons = new QButtonGroup(RadioGroup1);
    auto* radios = new QGridLayout(RadioGroup1);
    for (int i = 0; i < kSpeedItemCount; ++i) {
        auto* button = new QRadioButton(SpeedItemCaption(i), RadioGroup1);
        RadioButtons->addButton(button, i);
        radios->addWidget(button, i % 5, i / 5 * 2);
    }
    Edit1 = new QLineEdit(QStringLiteral("100"), RadioGroup1);
    Edit1->setFixedWidth(60);
    Edit1->setToolTip(QStringLiteral("数値指定の文字速度です。"));
    radios->addWidget(Edit1, 0, 1);
    SpeedResetButton = new QPushButton(QStringLiteral("すべての文字をこの速度にする"), SpeedSheet);
    SpeedHelpLabel = new QLabel(
        QStringLiteral("文字速度を選択してテキストをクリックすると、文字速度を指定できます。"),
        SpeedSheet);

    StringGrid1 = new QTableView(SpeedSheet);
    gridModel_ = new SpeedGridModel(state_, StringGrid1);
    StringGrid1->setModel(gridModel_);
    StringGrid1->setItemDelegate(new SpeedCellDelegate(StringGrid1));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(kCellWidth);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    StringGrid1->verticalHeader()->setMinimumSectionSize(kCellHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kCellHeight);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->viewport()->installEventFilter(this);
    // A light selection, so that the blue speed stays readable in the chosen cell.
    QPalette gridColors = StringGrid1->palette();
    gridColors.setColor(QPalette::Highlight, QColor(0xCC, 0xE0, 0xFF));
    gridColors.setColor(QPalette::HighlightedText, Qt::black);
    StringGrid1->setPalette(gridColors);

    auto* choice = new QHBoxLayout;
    choice->addWidget(RadioGroup1);
    auto* reset = new QVBoxLayout;
    reset->addStretch(1);
    reset->addWidget(SpeedResetButton);
    choice->addLayout(reset);
    choice->addStretch(1);
    auto* sheet = new QVBoxLayout(SpeedSheet);
    sheet->setContentsMargins(4, 4, 4, 4);
    sheet->addWidget(Memo1);
    sheet->addLayout(choice);
    sheet->addWidget(SpeedHelpLabel);
    sheet->addWidget(StringGrid1, 1);

    connect(RadioButtons, &QButtonGroup::idClicked, this, [this](int id) {
        state_.RadioGroup1 = id;
        ShowState();
    });
    connect(
        Edit1, &QLineEdit::textEdited, this, [this](const QString& text) { state_.Edit1 = text; });
    connect(SpeedResetButton, &QPushButton::clicked, this, [this] {
        state_.Edit1 = Edit1->text();
        Act([&] { state_.SpeedResetButtonClick(); });
    });
    return SpeedSheet;
}

void TForm1::ShowSpeedSheet()
{
    const QString text = state_.Memo1.join(QLatin1Char('\n'));
    if (Memo1->toPlainText() != text)
        Memo1->setPlainText(text);
    if (QAbstractButton* button = RadioButtons->button(state_.RadioGroup1))
        button->setChecked(true);
    if (Edit1->text() != state_.Edit1)
        Edit1->setText(state_.Edit1);
    StringGrid1->viewport()->update();
}

void TForm1::GridMouse(const QPoint& position)
{
    const QModelIndex index = StringGrid1->indexAt(position);
    if (!index.isValid())
        return;
    StringGrid1->setCurrentIndex(index);
    state_.Edit1 = Edit1->text();
    Act([&] { state_.StringGrid1MouseDown(index.column(), index.row()); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == StringGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton)
                GridMouse(mouse->position().toPoint());
            return true;
        }
        if (event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() == Qt::LeftButton)
                GridMouse(mouse->position().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pimoko
