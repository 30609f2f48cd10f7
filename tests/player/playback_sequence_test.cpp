#include "tests/player/playback_test_support.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::PlaybackRig;

TEST(PlaybackFlow, BookWithoutPeriodsPlaysToTheEndAndStopsOnItsLastPage)
{
    PlaybackRig r;
    r.UseWithText(1, QStringLiteral("あい"), 10);
    r.UseWithText(2, QStringLiteral("う"), 10);
    r.Use(3);
    r.Start();
    EXPECT_TRUE(r.busy.IsBusy());
    EXPECT_FALSE(r.viewer.goOnVisible);
    EXPECT_EQ(r.viewer.caption, QStringLiteral("テストの本"));
    r.Run();
    EXPECT_EQ(r.log.All(),
        (QStringList { "page 1", "char 1 あ", "char 2 い", "done 1>2", "page 2", "char 1 う",
            "done 2>3", "page 3", "done 3>3", "end 3", "wait 3" }));
    EXPECT_EQ(r.book.CurrentPage, 3);
    EXPECT_FALSE(r.busy.IsBusy());
    EXPECT_TRUE(r.viewer.goOnVisible);
    EXPECT_TRUE(r.slider.Enabled());
    EXPECT_EQ(r.viewer.cursor, kCursorHand);
    // Each delay counts from the previous character; the first from the page's start.
    EXPECT_EQ(r.log.charTimes, (std::vector<qint64> { 10, 20, 30 }));
}

TEST(PlaybackFlow, GotoPagesAndPeriods)
{
    {
        // A goto of 0 goes on to the following page.
        PlaybackRig r;
        r.Use(1).GotoPage = 0;
        r.Use(2).Period = true;
        r.Start();
        r.Run();
        EXPECT_EQ(r.log.All(),
            (QStringList { "page 1", "done 1>2", "page 2", "done 2>2", "end 2", "wait 2" }));
    }
    {
        // A goto to a free slot stops on the page before that slot.
        PlaybackRig r;
        r.Use(1).GotoPage = 50;
        r.Use(2);
        r.Start();
        r.Run();
        EXPECT_EQ(r.book.CurrentPage, 49);
        EXPECT_EQ(r.log.Only("done"), (QStringList { "done 1>49" }));
        EXPECT_FALSE(r.busy.IsBusy());
    }
    {
        // A period waits with the next page already current; going on plays it.
        PlaybackRig r;
        r.Use(1).Period = true;
        r.Use(2).GotoPage = 1;
        r.Use(2).Period = true;
        r.Start();
        r.Run();
        EXPECT_EQ(r.log.All(), (QStringList { "page 1", "done 1>2", "wait 2" }));
        EXPECT_EQ(r.viewer.cursor, kCursorHand);
        EXPECT_EQ(r.viewer.glyph, GoOnGlyph::Advance);
        r.viewer.visible = true;
        r.actions.GoOnButtonClick();
        r.Run();
        EXPECT_EQ(r.log.All().mid(3), (QStringList { "page 2", "done 2>1", "wait 1" }));
    }
}

TEST(PlaybackFlow, Page300WithoutPeriodPlaysAgain)
{
    PlaybackRig r;
    r.Use(300);
    r.Start(300);
    for (int i = 0; i < 20; ++i)
        r.clock.RunNext();
    EXPECT_GE(r.log.Only("page 300").size(), 3);
    EXPECT_TRUE(r.log.Only("end").isEmpty());
    EXPECT_EQ(r.book.CurrentPage, 300);
    EXPECT_TRUE(r.busy.IsBusy());
    // A goto beyond the book is taken as page 300 too.
    r.playback.Abandon();
    PlaybackRig g;
    g.Use(299).GotoPage = 5000;
    g.Use(300).Period = true;
    g.Start(299);
    g.Run();
    EXPECT_EQ(g.log.Only("page"), (QStringList { "page 299", "page 300" }));
}

TEST(PlaybackFlow, StartingOnAFreePageStopsAtOnce)
{
    PlaybackRig r;
    r.slider.EnableSlider(false);
    r.Start(7);
    EXPECT_EQ(r.log.All(), (QStringList { "page 7 free", "wait 7" }));
    EXPECT_FALSE(r.busy.IsBusy());
    EXPECT_TRUE(r.slider.Enabled());
    // Busy: a second start does nothing.
    r.busy.TryTake();
    r.playback.StartPlaying();
    EXPECT_EQ(r.log.All().size(), 2);
}

TEST(PlaybackSound, PageSoundsStopAndReplaceByKind)
{
    PlaybackRig r;
    r.Sound(QStringLiteral("a.wav"));
    r.Sound(QStringLiteral("b.wav"));
    test::WriteFile(r.folder.file("m.mid"), test::OneNoteMidi(100));
    r.Use(1).SoundFile = QStringLiteral("a.wav");
    r.Use(2).SoundFile = QStringLiteral("m.mid");
    r.Use(2).SoundLoop = true;
    r.Use(3); // no sound: what plays goes on
    r.Use(4).SoundFile = QStringLiteral("b.wav");
    r.Use(5).SoundFile = QStringLiteral("missing.wav");
    r.Use(6).SoundFile = QStringLiteral("a.wav");
    r.Use(6).SoundStop = true; // stops, and its own sound is not played
    r.Start();
    r.Run();
    QStringList sounds;
    for (const QString& l : r.log.All())
        if (l.startsWith("play") || l.startsWith("stop"))
            sounds << l;
    EXPECT_EQ(sounds,
        (QStringList {
            "play a.wav", "play m.mid", "stop a.wav", "play b.wav", "stop b.wav", "stop m.mid" }));
    EXPECT_TRUE(r.sounds.Held(SoundKind::Wav).isEmpty());
    EXPECT_TRUE(r.sounds.Held(SoundKind::Midi).isEmpty());
}

} // namespace
} // namespace pimoko
