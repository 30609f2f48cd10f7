#include "book/novel_page.h"

#include "platform/numbers.h"
#include "tests/book/book_test_data.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

// A page with every stored field away from its default.
TNovelPage FullPage()
{
    TNovelPage p;
    p.InUse = true;
    p.Title = QStringLiteral("表紙");
    p.SoundFile = QStringLiteral("C:\\絵本\\umi.mid");
    p.PictureFile = QStringLiteral("sora.jpg");
    p.PicEffect = 1;
    p.ClipMode = true;
    p.ClipX = -5;
    p.ClipY = 33;
    p.ClipTransparent = false;
    p.EffectWait = 300;
    p.TextLines = { QStringLiteral("一行目"), QString(), QStringLiteral("<TITLE>") };
    p.TextX = 12;
    p.TextY = 460;
    p.Vertical = true;
    p.LinePitch = 7;
    p.CharDelays[0] = 0;
    p.CharDelays[1] = 32767;
    p.CharDelays[2] = -32768;
    p.FontHeight = -21;
    p.FontColor = 0x00FF8040;
    p.ShadowColor = 0x00102030;
    p.Shadow = false;
    p.Highlight = true;
    p.HighlightLevel = 3;
    p.FontStyle = QStringLiteral("Type_BIUS");
    p.FontName = QStringLiteral("ＭＳ Ｐ明朝");
    p.FontFamily = 18;
    p.FontCharset = 128;
    p.WriteAll = true;
    p.FillImage = true;
    p.FillColor = 0x0000FF00;
    p.AutoNext = true;
    p.DrawToBackBuffer = true;
    p.ShowBackBuffer = true;
    p.SoundLoop = true;
    p.SoundStop = true;
    p.LinkPage = 300;
    p.Period = true;
    p.GotoPage = 2;
    return p;
}

void ExpectSameStoredFields(const TNovelPage& a, const TNovelPage& b)
{
    QStringList la, lb;
    a.WriteBlock(la);
    b.WriteBlock(lb);
    EXPECT_EQ(la, lb);
    EXPECT_EQ(a.CharDelays, b.CharDelays);
    EXPECT_EQ(a.InUse, b.InUse);
}

TEST(NovelPageRecord, CreateClearAndAssign)
{
    TNovelPage p;
    EXPECT_FALSE(p.InUse);
    EXPECT_EQ(p.PageNumber, 0);
    EXPECT_TRUE(p.ClipTransparent);
    EXPECT_TRUE(p.Shadow);
    EXPECT_EQ(p.HighlightLevel, 1);
    EXPECT_EQ(p.FontStyle, QStringLiteral("Type_"));
    EXPECT_EQ(p.FontFamily, -1);
    EXPECT_EQ(p.FontCharset, -1);
    for (qint16 d : p.CharDelays)
        ASSERT_EQ(d, -1);
    EXPECT_TRUE(p.HasNoTextSettings());

    TNovelPage full = FullPage();
    full.PageNumber = 7;
    full.DistPictureName = QStringLiteral("p1.jpg");
    TNovelPage copy;
    copy.Assign(full);
    EXPECT_EQ(copy.PageNumber, 7);
    EXPECT_EQ(copy.DistPictureName, QStringLiteral("p1.jpg"));
    ExpectSameStoredFields(copy, full);

    copy.ResetCharDelays();
    EXPECT_EQ(copy.CharDelays[0], -1);
    EXPECT_EQ(copy.Title, full.Title);

    copy.Clear();
    EXPECT_EQ(copy.PageNumber, 7);
    EXPECT_TRUE(copy.TextLines.isEmpty());
    EXPECT_TRUE(copy.DistPictureName.isEmpty());
    ExpectSameStoredFields(copy, TNovelPage());
}

TEST(NovelPageBlock, RoundTripOfEveryField)
{
    const TNovelPage full = FullPage();
    QStringList lines;
    full.WriteBlock(lines);
    ASSERT_EQ(lines.first(), QStringLiteral("<TITLE>"));
    ASSERT_EQ(lines.last(), QString(26, QLatin1Char('-')));

    TNovelPage back;
    back.PageNumber = 4;
    int index = 0;
    ASSERT_TRUE(back.ReadBlock(lines, index));
    EXPECT_TRUE(back.InUse);
    EXPECT_EQ(back.PageNumber, 4);
    EXPECT_EQ(back.TextLines, full.TextLines);
    EXPECT_EQ(back.FillColor, full.FillColor);
    ExpectSameStoredFields(back, full);
    // The index rests on the last value line's successor, before the separator.
    EXPECT_EQ(lines[index], QString(26, QLatin1Char('-')));
}

TEST(NovelPageBlock, EmptyPagesAndEmptyParts)
{
    TNovelPage unused = FullPage();
    unused.InUse = false;
    QStringList none;
    unused.WriteBlock(none);
    unused.WriteRuntimeBlock(none, true);
    EXPECT_TRUE(none.isEmpty());

    TNovelPage p;
    p.InUse = true;
    p.FillColor = 0x123456; // not stored while FillImage is off
    QStringList lines;
    p.WriteBlock(lines);
    const int text = lines.indexOf(QStringLiteral("<BEGIN TEXT>"));
    EXPECT_EQ(lines[text + 1], QStringLiteral("<END TEXT>"));
    const int rhyme = lines.indexOf(QStringLiteral("<BEGIN RHYME>"));
    EXPECT_EQ(lines[rhyme + 1], QStringLiteral("<END RHYME>"));
    const int fill = lines.indexOf(QStringLiteral("<FILL IMAGE>"));
    EXPECT_EQ(lines[fill + 1], QStringLiteral("F"));
    EXPECT_EQ(lines[fill + 2], QStringLiteral("0"));

    TNovelPage back;
    back.CharDelays[5] = 9;
    int index = 0;
    ASSERT_TRUE(back.ReadBlock(lines, index));
    EXPECT_EQ(back.FillColor, 0);
    for (qint16 d : back.CharDelays)
        ASSERT_EQ(d, -1);
}

TEST(NovelPageBlock, TextEndsAtTheEndTagOrWithReadError)
{
    TNovelPage p;
    p.InUse = true;
    p.TextLines = { QStringLiteral("a"), QStringLiteral("<END TEXT>"), QStringLiteral("b") };
    QStringList lines;
    p.WriteBlock(lines);
    TNovelPage back;
    int index = 0;
    back.ReadBlock(lines, index);
    EXPECT_EQ(back.TextLines, QStringList { QStringLiteral("a") });

    const QStringList cut = { QStringLiteral("<TITLE>"), QStringLiteral("t"),
        QStringLiteral("<BEGIN TEXT>"), QStringLiteral("はじめ") };
    index = 0;
    TNovelPage broken;
    EXPECT_TRUE(broken.ReadBlock(cut, index));
    EXPECT_EQ(
        broken.TextLines, (QStringList { QStringLiteral("はじめ"), QStringLiteral("Read ERR!") }));
    EXPECT_EQ(index, cut.size());
}

TEST(NovelPageBlock, DelaysBeyondTheTableAndUnterminatedRhyme)
{
    QStringList lines
        = { QStringLiteral("<TITLE>"), QStringLiteral("t"), QStringLiteral("<BEGIN RHYME>") };
    for (int i = 0; i < 2100; ++i)
        lines << QString::number(i % 1000);
    lines << QStringLiteral("x") << QStringLiteral("<END RHYME>") << QStringLiteral("<PERIOD>")
          << QStringLiteral("T");
    TNovelPage p;
    int index = 0;
    ASSERT_TRUE(p.ReadBlock(lines, index));
    EXPECT_EQ(p.CharDelays[2000], 0); // entry 2000 holds value 2001
    EXPECT_EQ(p.CharDelays[999], 999);
    EXPECT_TRUE(p.Period);

    const QStringList open = { QStringLiteral("<TITLE>"), QStringLiteral("t"),
        QStringLiteral("<BEGIN RHYME>"), QStringLiteral("50"), QStringLiteral("60") };
    TNovelPage q;
    index = 0;
    ASSERT_TRUE(q.ReadBlock(open, index));
    EXPECT_EQ(q.CharDelays[1], 60);
    EXPECT_EQ(q.CharDelays[2], -1);
    EXPECT_EQ(index, open.size());
}

TEST(NovelPageBlock, TagsAreSearchedToTheEndOfTheFile)
{
    // The first block has no flow tags: it takes them from the next block, and the
    // shared index then lies past that block's title.
    QStringList lines
        = test::WindowsBlock(QStringLiteral("一"), QStringLiteral("a.bmp"), false, {}, {}, false);
    lines << test::WindowsBlock(
        QStringLiteral("二"), QStringLiteral("b.bmp"), false, {}, {}, true, 5);
    TNovelPage first, second;
    int index = 0;
    ASSERT_TRUE(first.ReadBlock(lines, index));
    EXPECT_TRUE(first.Period);
    EXPECT_EQ(first.GotoPage, 5);
    EXPECT_FALSE(second.ReadBlock(lines, index));
    EXPECT_FALSE(second.InUse);

    // An older file: no flow tags anywhere, and the resets beat stale values.
    QStringList old = test::WindowsBlock(QStringLiteral("古"), QString(), false, {}, {}, false);
    old.removeAt(old.indexOf(QStringLiteral("<TEXT VERTICAL>")) + 1);
    old.removeAt(old.indexOf(QStringLiteral("<TEXT VERTICAL>")));
    TNovelPage p = FullPage();
    index = 0;
    ASSERT_TRUE(p.ReadBlock(old, index));
    EXPECT_FALSE(p.Period);
    EXPECT_EQ(p.LinkPage, 0);
    EXPECT_EQ(p.GotoPage, 0);
    EXPECT_FALSE(p.Vertical);
}

TEST(NovelPageBlock, ValuesByPositionAndMalformedNumbers)
{
    // "<PIC CLIP>" lost its first value line: the values shift, the stray tag line is
    // then skipped by the next search.
    const QStringList shifted
        = { QStringLiteral("<TITLE>"), QStringLiteral("t"), QStringLiteral("<PIC CLIP>"),
              QStringLiteral("T"), QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"),
              QStringLiteral("<UNKNOWN>"), QStringLiteral("<EFFECT WAIT>"), QStringLiteral("50") };
    TNovelPage p;
    int index = 0;
    ASSERT_TRUE(p.ReadBlock(shifted, index));
    EXPECT_TRUE(p.ClipMode);
    EXPECT_FALSE(p.ClipTransparent); // "10" is not "T"
    EXPECT_EQ(p.ClipX, 20);
    EXPECT_EQ(p.ClipY, 30);
    EXPECT_EQ(p.EffectWait, 50);
    const QStringList bad = { QStringLiteral("<TITLE>"), QStringLiteral("t"),
        QStringLiteral("<PIC EFFECT>"), QStringLiteral("1x") };
    TNovelPage q;
    int i = 0;
    EXPECT_THROW(q.ReadBlock(bad, i), EConvertError);

    const QStringList farLink
        = { QStringLiteral("<TITLE>"), QStringLiteral("t"), QStringLiteral("<LINK PAGE>"),
              QStringLiteral("301"), QStringLiteral("<GOTO PAGE>"), QStringLiteral("-1") };
    TNovelPage r;
    index = 0;
    r.ReadBlock(farLink, index);
    EXPECT_EQ(r.LinkPage, 0);
    EXPECT_EQ(r.GotoPage, 0);
}

TEST(NovelPageBlock, RuntimeNamesAndMediaPaths)
{
    TNovelPage p;
    p.InUse = true;
    p.PictureFile = QStringLiteral("C:\\pics\\sky.BMP");
    p.SoundFile = QStringLiteral("D:sound\\bgm.mid");
    auto valueAfter = [](const QStringList& l, const char* tag) {
        return l[l.indexOf(QString::fromLatin1(tag)) + 1];
    };
    QStringList lines;
    p.WriteRuntimeBlock(lines, true);
    EXPECT_EQ(valueAfter(lines, "<PICTURE>"), QStringLiteral("sky.jpg"));
    EXPECT_EQ(valueAfter(lines, "<SOUND>"), QStringLiteral("bgm.mid"));
    lines.clear();
    p.WriteRuntimeBlock(lines, false);
    EXPECT_EQ(valueAfter(lines, "<PICTURE>"), QStringLiteral("sky.BMP"));

    p.ClipMode = true;
    lines.clear();
    p.WriteRuntimeBlock(lines, true);
    EXPECT_EQ(valueAfter(lines, "<PICTURE>"), QStringLiteral("sky.BMP"));

    p.ClipMode = false;
    p.DistPictureName = QStringLiteral("pic_3.bmp");
    p.DistSoundName = QStringLiteral("/tmp/x/snd_3.mid");
    lines.clear();
    p.WriteRuntimeBlock(lines, true);
    EXPECT_EQ(valueAfter(lines, "<PICTURE>"), QStringLiteral("pic_3.jpg"));
    EXPECT_EQ(valueAfter(lines, "<SOUND>"), QStringLiteral("snd_3.mid"));

    TNovelPage m;
    m.PictureFile = QStringLiteral("kumo.bmp");
    m.SoundFile = QStringLiteral("C:\\絵本\\umi.wav");
    m.ResolveMediaPaths(QStringLiteral("/books/other/"));
    EXPECT_EQ(m.PictureFile, QStringLiteral("/books/other/kumo.bmp"));
    EXPECT_EQ(m.SoundFile, QStringLiteral("C:\\絵本\\umi.wav"));
}

} // namespace
} // namespace pimoko
