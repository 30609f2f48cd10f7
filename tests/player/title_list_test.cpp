#include "player/title_list.h"

#include "book/open_book.h"
#include "platform/prompt_port.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

class TitleListTest : public ::testing::Test {
protected:
    TNovelPage& Use(int n, const QString& title = QString())
    {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.Title = title;
        return p;
    }

    ScriptedPromptPort prompt;
    TOpenBook book { prompt, QStringLiteral("/tmp") };
    TTitleList list { book };
};

TEST_F(TitleListTest, SliderHasOnePositionWithoutBackgrounds)
{
    Use(1).PictureFile = "clip.bmp";
    book.Page(1).ClipMode = true;
    Use(2).TextLines = QStringList { "text only" };
    list.RebuildSlider();
    EXPECT_EQ(list.Slider().count, 1);
    EXPECT_EQ(list.SliderPage(0), 1);
    EXPECT_EQ(list.SliderMaximum(), 0);
}

TEST_F(TitleListTest, SliderListsFillsAndPicturesThatAreNotClips)
{
    Use(1).PictureFile = "a.bmp";
    Use(2).PictureFile = "clip.bmp";
    book.Page(2).ClipMode = true;
    Use(3).FillImage = true;
    Use(5).PictureFile = "b.jpg";
    book.Page(7).PictureFile = "not in use.bmp";
    list.RebuildSlider();
    ASSERT_EQ(list.Slider().count, 3);
    EXPECT_EQ(list.SliderPage(0), 1);
    EXPECT_EQ(list.SliderPage(1), 3);
    EXPECT_EQ(list.SliderPage(2), 5);
    EXPECT_EQ(list.Slider().pages[3], -1);
}

TEST_F(TitleListTest, PlayerListSkipsUntitledPagesAndNumbersEntries)
{
    Use(1, "はじまり");
    Use(2);
    Use(4, "森");
    Use(9, "おわり");
    list.thumbnails = true;
    const auto entries = list.BuildPlayerList();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].text, QString::fromUtf8("1:はじまり"));
    EXPECT_EQ(entries[1].text, QString::fromUtf8("2:森"));
    EXPECT_EQ(entries[2].text, QString::fromUtf8("3:おわり"));
    EXPECT_EQ(entries[2].page(), 9);
    EXPECT_EQ(list.mode, TTitleList::PlayerMode);
    EXPECT_FALSE(list.thumbnails);
}

TEST_F(TitleListTest, EditorListPadsColumnsAndJoinsLastLine)
{
    Use(1, "title").TextLines = QStringList { "one line" };
    Use(12, "かなりながいタイトル").TextLines = QStringList { "first", "middle", "last" };
    const auto entries = list.BuildEditorList();
    ASSERT_EQ(entries.size(), 2);
    const QString pad30 = QString(25, ' ');
    EXPECT_EQ(entries[0].text,
        "  1:title" + pad30 + QString::fromUtf8("：") + "one line" + QString(42, ' '));
    EXPECT_FALSE(entries[0].text.contains(QString::fromUtf8("～")));
    // A 20-byte Japanese title still takes the 30-byte column.
    EXPECT_EQ(entries[1].text,
        QString::fromUtf8(" 12:かなりながいタイトル") + QString(10, ' ') + QString::fromUtf8("：")
            + "first" + QString(45, ' ') + QString::fromUtf8("～") + "last" + QString(46, ' '));
    EXPECT_EQ(entries[1].text.indexOf(QString::fromUtf8("：")) + 10,
        entries[0].text.indexOf(QString::fromUtf8("：")));
}

TEST_F(TitleListTest, EditorListWidensToTheLongestTitle)
{
    Use(1, QString(40, 'a'));
    Use(2, "b");
    const auto entries = list.BuildEditorList();
    EXPECT_EQ(entries[0].text.indexOf(QString::fromUtf8("：")),
        entries[1].text.indexOf(QString::fromUtf8("：")));
    EXPECT_EQ(entries[1].text.indexOf(QString::fromUtf8("：")), 4 + 40);
    list.thumbnails = true;
    EXPECT_EQ(list.BuildEditorList()[1].text, "2:b");
}

TEST(FormatSjisField, CutsAtCharacterBoundaries)
{
    EXPECT_EQ(FormatSjisField(QString::fromUtf8("あいう"), 5, true), QString::fromUtf8("あい "));
    EXPECT_EQ(FormatSjisField(QString::fromUtf8("aあ"), 2, true), "a ");
    EXPECT_EQ(FormatSjisField("7", 3, false), "  7");
    EXPECT_EQ(FormatSjisField("1234", 3, false), "123");
    EXPECT_EQ(FormatSjisField("", 3, true), "   ");
}

TEST_F(TitleListTest, OnlyTheReaderMovesTheSlider)
{
    Use(1).FillImage = true;
    Use(2).FillImage = true;
    Use(3).FillImage = true;
    list.RebuildSlider();
    list.SelectSliderPage(3);
    EXPECT_EQ(list.sliderPosition, 2);
    EXPECT_FALSE(list.sliderMoved);
    EXPECT_EQ(list.TakeSliderJump(), 0);
    list.SelectSliderPage(77); // not a slider page: stays
    EXPECT_EQ(list.sliderPosition, 2);
    list.ReaderMovedSlider(1);
    EXPECT_TRUE(list.sliderMoved);
    EXPECT_EQ(list.TakeSliderJump(), 2);
    EXPECT_FALSE(list.sliderMoved);
    EXPECT_EQ(list.TakeSliderJump(), 0);
}

TEST_F(TitleListTest, RebuildKeepsThePositionWithinTheNewMaximum)
{
    Use(1).FillImage = true;
    Use(2).FillImage = true;
    list.RebuildSlider();
    list.ReaderMovedSlider(1);
    book.Page(2).FillImage = false;
    list.BuildPlayerList();
    EXPECT_EQ(list.sliderPosition, 0);
}

} // namespace
} // namespace pimoko
