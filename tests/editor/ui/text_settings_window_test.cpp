#include "book/open_book.h"
#include "editor/page_editor.h"
#include "editor/ui/link_page_picker.h"
#include "editor/ui/text_settings_window.h"
#include "platform/busy_state.h"
#include "platform/prompt_port.h"
#include "platform/ui/font_choice_dialog.h"
#include "player/thumbnail_cache.h"
#include "text/font_table.h"

#include "tests/support/test_support.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace pimoko {
namespace {

// A colour dialog that takes the focus from the window that opened it.
struct FocusTakingPrompt : ScriptedPromptPort {
    QWidget* from = nullptr;
    bool ChooseColor(quint32* color) override
    {
        if (from) {
            QEvent deactivated(QEvent::ActivationChange);
            QApplication::sendEvent(from, &deactivated);
        }
        return ScriptedPromptPort::ChooseColor(color);
    }
};

// The text settings window as the editor's port, over page 1 of a book with two pages.
class TextSettingsWindowTest : public ::testing::Test {
protected:
    TextSettingsWindowTest()
        : book(prompt, tmp.path())
        , thumbnails(tmp.path())
    {
        fonts.Add(QStringLiteral("ＭＳ ゴシック"), 128, 49);
        fonts.Add(QStringLiteral("Symbols"), 2, 2);
        editor = std::make_unique<TPageEditor>(book, prompt, busy, fonts, &thumbnails);
        window = std::make_unique<TForm1>(*editor, busy, prompt, fonts);
        EditorPorts ports;
        ports.textSettings = window.get();
        editor->SetPorts(ports);
        for (int n = 1; n <= 2; ++n) {
            TNovelPage& p = book.Page(n);
            p.InUse = true;
            p.Title = QStringLiteral("ページ%1").arg(n);
            p.TextLines = { QStringLiteral("むかし"), QStringLiteral("むかし") };
            p.FontName = QStringLiteral("ＭＳ ゴシック");
            p.FontHeight = 30;
            p.FontColor = 0xFFFFFF;
            p.Shadow = true;
            p.CharDelays.fill(60);
        }
        editor->ShowPage(1);
        editor->SetTextBitBtnClick();
    }

    // Answers the next modal dialog with the action, once it is up.
    template <typename Dialog> void WhenShown(const std::function<void(Dialog*)>& answer)
    {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
        });
    }

    test::TempFolder tmp;
    FocusTakingPrompt prompt;
    TOpenBook book;
    TBusyState busy;
    FontTable fonts;
    ThumbnailCache thumbnails;
    std::unique_ptr<TPageEditor> editor;
    std::unique_ptr<TForm1> window;
};

TEST_F(TextSettingsWindowTest, ControlsAsTheWindowIsMade)
{
    TForm1& w = *window;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("テキスト詳細設定"));
    EXPECT_EQ(w.PageControl1->tabText(0), QStringLiteral("フォント設定"));
    EXPECT_EQ(w.PageControl1->tabText(1), QStringLiteral("速度"));
    ASSERT_EQ(w.HighLightComboBox->count(), 10);
    EXPECT_EQ(w.HighLightComboBox->itemText(8), QStringLiteral("OV5"));
    EXPECT_EQ(w.HighLightComboBox->itemText(9), QString());
    EXPECT_EQ(w.FontSizeTrackBar->minimum(), 1);
    EXPECT_EQ(w.FontSizeTrackBar->maximum(), 108);
    EXPECT_EQ(w.FontSizeTrackBar->value(), 30);
    EXPECT_EQ(w.PitchTrackBar->maximum(), 90); // three times the page's font height
    EXPECT_EQ(w.Image1->size(), QSize(640, 480));
    EXPECT_EQ(w.Image1->toolTip(), QStringLiteral("クリックすると文字の位置を変更できます"));
    EXPECT_TRUE(w.Memo1->isReadOnly());
    EXPECT_EQ(w.StringGrid1->model()->rowCount(), 101);
    EXPECT_EQ(w.StringGrid1->model()->columnCount(), 101);
    EXPECT_EQ(w.StringGrid1->columnWidth(0), 20);
    EXPECT_EQ(w.StringGrid1->rowHeight(0), 40);
    ASSERT_EQ(w.RadioButtons->buttons().size(), 10);
    EXPECT_EQ(w.RadioButtons->button(9)->text(), QStringLiteral("速い    =>   0"));
    EXPECT_TRUE(w.RadioButtons->button(0)->isChecked());
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("100"));
    EXPECT_EQ(w.LinkLabel->text(), QStringLiteral("ページリンクなし"));
    EXPECT_EQ(w.Memo1->toPlainText(), QStringLiteral("むかし\nむかし"));
}

TEST_F(TextSettingsWindowTest, PreviewClicksAndDragsPlaceTheText)
{
    window->show();
    QTest::mouseClick(window->Image1, Qt::RightButton, {}, QPoint(300, 200));
    EXPECT_EQ(window->State().Fields().textX, 300);
    EXPECT_EQ(window->State().Fields().textY, 200);
    QTest::mousePress(window->Image1, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent drag(QEvent::MouseMove, QPointF(50, 60), QPointF(50, 60), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->Image1, &drag);
    EXPECT_EQ(window->State().Fields().textX, 50);
    EXPECT_EQ(window->State().Fields().textY, 60);
    // The text is drawn where it was put: white pixels at the new origin, none at the old.
    const QImage& preview = window->State().Preview();
    bool drawn = false;
    for (int y = 60; y < 90 && !drawn; ++y)
        for (int x = 50; x < 80 && !drawn; ++x)
            drawn = preview.pixelColor(x, y) == Qt::white;
    EXPECT_TRUE(drawn);
}

TEST_F(TextSettingsWindowTest, GridCellsShowTheirSpeedAndTakeTheChosenOne)
{
    window->show();
    window->PageControl1->setCurrentIndex(1);
    QTest::mouseClick(window->RadioButtons->button(2), Qt::LeftButton);
    const QRect cell = window->StringGrid1->visualRect(window->StringGrid1->model()->index(1, 2));
    QTest::mouseClick(window->StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(window->State().Speed(2, 1), 400);
    EXPECT_EQ(window->State().Speed(1, 1), 60);

    // The number in blue below the character, none in an empty cell.
    const QImage grid = window->StringGrid1->viewport()->grab().toImage();
    const auto blueIn = [&](const QRect& r) {
        int blue = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = grid.pixelColor(x, y);
                blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
            }
        return blue;
    };
    EXPECT_GT(blueIn(cell.adjusted(0, 20, 0, 0)), 3);
    EXPECT_EQ(blueIn(cell.adjusted(0, 0, 0, -21)), 0);
    const QRect empty = window->StringGrid1->visualRect(window->StringGrid1->model()->index(0, 5));
    EXPECT_EQ(blueIn(empty), 0);

    // A speed that is no number is put right before a click takes it.
    QTest::mouseClick(window->RadioButtons->button(0), Qt::LeftButton);
    window->Edit1->selectAll();
    QTest::keyClicks(window->Edit1, "abc");
    QTest::mouseClick(window->StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("0"));
    EXPECT_EQ(window->State().Speed(2, 1), 0);
}

TEST_F(TextSettingsWindowTest, DecideWritesThePageAndHides)
{
    window->show();
    QTest::mouseClick(window->VerticalCheckBox, Qt::LeftButton);
    window->HighLightComboBox->setCurrentIndex(8);
    emit window->HighLightComboBox->textActivated(QStringLiteral("OV5"));
    EXPECT_TRUE(window->highlightCheckBox->isChecked());
    EXPECT_FALSE(window->NoShadowCheckBox->isChecked());
    QTest::mouseClick(window->Button6, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(book.Page(1).Vertical);
    EXPECT_TRUE(book.Page(1).Highlight);
    EXPECT_EQ(book.Page(1).HighlightLevel, 15);
    EXPECT_EQ(book.Page(1).CharDelays[5], 60);
}

TEST_F(TextSettingsWindowTest, DraggedSliderDrawsTheBandUntilLetGo)
{
    window->show();
    window->FontSizeTrackBar->setSliderDown(true);
    window->FontSizeTrackBar->setValue(40);
    EXPECT_FALSE(window->State().PreviewRect() == TTextSettings::NoRect());
    EXPECT_EQ(window->PitchTrackBar->maximum(), 120);
    window->FontSizeTrackBar->setSliderDown(false);
    EXPECT_TRUE(window->State().PreviewRect() == TTextSettings::NoRect());
    EXPECT_EQ(window->State().Fields().fontHeight, 40);
}

TEST_F(TextSettingsWindowTest, LeavingTheWindowCancelsButItsOwnDialogsDoNot)
{
    window->show();
    WhenShown<TLinkPagePicker>([](TLinkPagePicker* picker) {
        EXPECT_EQ(picker->PageListBox->count(), 2);
        picker->PageListBox->setCurrentRow(1);
        // The chooser has the focus: the window behind it keeps its state.
        QEvent deactivated(QEvent::ActivationChange);
        QApplication::sendEvent(picker->parentWidget(), &deactivated);
        QTest::mouseClick(picker->Button1, Qt::LeftButton);
    });
    QTest::mouseClick(window->LinkBitBtn, Qt::LeftButton);
    EXPECT_EQ(book.Page(1).LinkPage, 2);
    EXPECT_EQ(editor->LinkPage, 2);
    EXPECT_EQ(window->LinkLabel->text(), QStringLiteral("2ページへリンク"));
    EXPECT_TRUE(window->isVisible());
    prompt.from = window.get();
    prompt.colors = { 0x0000FF };
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->State().Fields().textColor, 0x0000FFu);

    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QEvent deactivated(QEvent::ActivationChange);
    QApplication::sendEvent(window.get(), &deactivated);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(book.Page(1).LinkPage, 0);
    EXPECT_EQ(editor->LinkPage, 0);
}

TEST_F(TextSettingsWindowTest, FontDialogOffersTextFacesOnly)
{
    FontChoice asked;
    asked.face = QStringLiteral("古い書体");
    asked.height = 24;
    asked.color = 0x123456;
    asked.faces = TextFacesOf(fonts);
    FontChoiceDialog dialog(asked);
    QStringList offered;
    for (int i = 0; i < dialog.FaceList->count(); ++i)
        offered << dialog.FaceList->item(i)->text();
    // A face the machine lacks stays chosen; symbol faces are not offered.
    EXPECT_EQ(
        offered, QStringList({ QStringLiteral("古い書体"), QStringLiteral("ＭＳ ゴシック") }));
    dialog.StyleList->setCurrentRow(3);
    dialog.UnderlineBox->setChecked(true);
    const FontChoice c = dialog.Choice();
    EXPECT_EQ(c.face, QStringLiteral("古い書体"));
    EXPECT_EQ(c.height, 24);
    EXPECT_TRUE(c.bold && c.italic && c.underline && !c.strikeOut);
    EXPECT_EQ(c.color, 0x123456u); // a colour of its own stays
}

} // namespace
} // namespace pimoko
