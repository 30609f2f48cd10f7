#include "tests/player/playback_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pimoko {
namespace {

using test::PlaybackRig;

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlack = qRgb(0, 0, 0);

// Whether any pixel of the text area (40..200 x 40..70) differs from colour.
bool TextShows(const QImage& image, QRgb background)
{
    for (int y = 40; y < 70; ++y)
        for (int x = 40; x < 200; ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

// Runs the clock until the log has an entry equal to line.
void RunUntilLogged(PlaybackRig& r, const QString& line)
{
    while (std::find(r.log.log.begin(), r.log.log.end(), line) == r.log.log.end())
        ASSERT_TRUE(r.clock.RunNext()) << qPrintable(line);
}

TEST(PlaybackPictures, PageWithoutPictureOrFillTypesOverWhatIsShown)
{
    PlaybackRig r;
    TNovelPage& p1 = r.Use(1);
    p1.FillImage = true;
    p1.FillColor = 0x0000FF; // red
    r.UseWithText(2, QStringLiteral("ABCDEF"), 5);
    r.Start();
    r.Run();
    EXPECT_EQ(r.log.Only("fill").size(), 1);
    EXPECT_EQ(r.log.Only("present").size(), 1);
    EXPECT_EQ(r.Pixel(600, 400), kRed);
    EXPECT_TRUE(TextShows(r.viewer.Picture(), kRed));
    // What the reader sees went back into the back buffer for later pages.
    EXPECT_EQ(r.viewer.Picture(), r.compositor.BackBuffer());
}

TEST(PlaybackPictures, ClipInDirectModeShowsOverThePreviousScreenWithOrWithoutFade)
{
    for (int effect : { 0, 1 }) {
        PlaybackRig r;
        TNovelPage& p1 = r.UseWithText(1, QStringLiteral("文字"));
        p1.FillImage = true;
        p1.FillColor = 0xFF0000; // blue
        TNovelPage& p2 = r.Use(2);
        p2.ClipMode = true;
        p2.PictureFile = r.Picture(QStringLiteral("clip.bmp"), Qt::green, 20, 20);
        p2.ClipX = 300;
        p2.ClipY = 300;
        p2.ClipTransparent = false;
        p2.PicEffect = effect;
        p2.EffectWait = 3;
        r.Start();
        r.Run();
        EXPECT_EQ(r.Pixel(310, 310), kGreen) << effect;
        EXPECT_EQ(r.Pixel(600, 400), kBlue) << effect;
        // The first page's text stays under the clip: the back buffer held the screen.
        EXPECT_TRUE(TextShows(r.viewer.Picture(), kBlue)) << effect;
        EXPECT_EQ(std::count(r.log.log.begin(), r.log.log.end(), QStringLiteral("fade")), effect)
            << effect;
        if (effect) {
            EXPECT_EQ(r.log.Only("faded"), (QStringList { "faded 99" }));
        }
    }
}

TEST(PlaybackPictures, WriteAllShowsTheWholeTextAtTheEndOfItsPass)
{
    PlaybackRig r;
    TNovelPage& p1 = r.Use(1);
    p1.FillImage = true;
    p1.FillColor = 0;
    TNovelPage& p2 = r.UseWithText(2, QStringLiteral("ABCD"), 40);
    p2.WriteAll = true;
    p2.Period = true;
    r.Start();
    RunUntilLogged(r, QStringLiteral("char 4 D"));
    EXPECT_FALSE(TextShows(r.viewer.Picture(), kBlack));
    r.Run();
    EXPECT_TRUE(TextShows(r.viewer.Picture(), kBlack));
    // Its delays are not waited for: the text is drawn in one pass.
    EXPECT_EQ(r.log.charTimes, (std::vector<qint64> { 0, 0, 0, 0 }));
    EXPECT_EQ(r.log.All().mid(r.log.All().indexOf("char 4 D")),
        (QStringList { "char 4 D", "present", "done 2>2", "end 2", "wait 2" }));
}

TEST(PlaybackPictures, DrawToBackBufferChangesNothingUntilAPageShowsIt)
{
    PlaybackRig r;
    TNovelPage& p1 = r.Use(1);
    p1.FillImage = true;
    p1.FillColor = 0x0000FF;
    TNovelPage& p2 = r.UseWithText(2, QStringLiteral("ABCD"), 30);
    p2.DrawToBackBuffer = true;
    p2.PictureFile = r.Picture(QStringLiteral("green.bmp"), Qt::green);
    TNovelPage& p3 = r.Use(3);
    p3.ShowBackBuffer = true;
    p3.Period = true;
    r.Start();
    RunUntilLogged(r, QStringLiteral("done 2>3"));
    EXPECT_EQ(r.Pixel(600, 400), kRed);
    EXPECT_FALSE(TextShows(r.viewer.Picture(), kRed));
    EXPECT_EQ(r.BackPixel(600, 400), kGreen);
    EXPECT_TRUE(TextShows(r.compositor.BackBuffer(), kGreen));
    r.Run();
    EXPECT_EQ(r.Pixel(600, 400), kGreen);
    EXPECT_TRUE(TextShows(r.viewer.Picture(), kGreen));
    EXPECT_EQ(r.log.All().mid(r.log.All().indexOf("page 3")),
        (QStringList { "page 3", "present", "done 3>3", "end 3", "wait 3" }));
}

TEST(PlaybackPictures, ShowBackBufferFadesOnlyWithTheFirstEffect)
{
    for (int effect : { 1, 2 }) {
        PlaybackRig r;
        TNovelPage& p1 = r.Use(1);
        p1.ShowBackBuffer = true;
        p1.PicEffect = effect;
        p1.EffectWait = 1;
        r.Start();
        r.Run();
        EXPECT_EQ(std::count(r.log.log.begin(), r.log.log.end(), QStringLiteral("fade")),
            effect == 1 ? 1 : 0);
        EXPECT_EQ(r.log.Only("present").size(), effect == 1 ? 0 : 1);
    }
}

TEST(PlaybackStop, EscapeDuringTheOpeningFadeEndsItOnTheTargetAndTypesOneCharacter)
{
    PlaybackRig r;
    TNovelPage& p1 = r.UseWithText(1, QStringLiteral("あいう"), 50);
    p1.PictureFile = r.Picture(QStringLiteral("red.bmp"), Qt::red);
    p1.PicEffect = 1;
    p1.EffectWait = 10;
    r.Use(2);
    r.Start();
    r.clock.Advance(35);
    EXPECT_TRUE(r.compositor.IsFading());
    r.actions.KeyDown(kVkEscape);
    EXPECT_TRUE(r.busy.IsBusy()); // Escape while busy only asks to stop
    r.Run();
    const QStringList log = r.log.All();
    EXPECT_EQ(log[0], "page 1");
    EXPECT_EQ(log[1], "load");
    EXPECT_EQ(log[2], "fade");
    EXPECT_EQ(log.mid(4), (QStringList { "char 1 あ", "done 1>2", "wait 2" }));
    // Steps at 0, 10, 20 and 30; the Escape at 35 ends the fade there, without waiting
    // for the next step. The first character follows its delay, and the page ends right
    // after it, not after the second character's delay.
    EXPECT_EQ(log[3], "faded 4");
    EXPECT_EQ(r.log.charTimes, (std::vector<qint64> { 35 + 50 }));
    EXPECT_EQ(r.clock.NowMs(), 35 + 50);
    EXPECT_EQ(r.Pixel(600, 400), kRed);
    EXPECT_FALSE(r.busy.IsBusy());
    EXPECT_TRUE(r.viewer.goOnVisible);
    EXPECT_TRUE(r.viewer.visible);
}

TEST(PlaybackStop, StopWhileTypingFinishesThePageAndStopsBeforeTheNext)
{
    PlaybackRig r;
    r.Sound(QStringLiteral("loop.wav"));
    TNovelPage& p1 = r.UseWithText(1, QStringLiteral("12345"), 10);
    p1.SoundFile = QStringLiteral("loop.wav");
    p1.SoundLoop = true;
    r.Use(2);
    r.Start();
    r.clock.Advance(25);
    r.actions.StopButtonClick();
    r.Run();
    // The stop came while the third character's delay ran: that one is typed, then the
    // page ends at once.
    EXPECT_EQ(r.log.All(),
        (QStringList { "page 1", "play loop.wav", "char 1 1", "char 2 2", "stop loop.wav",
            "char 3 3", "done 1>2", "wait 2" }));
    EXPECT_EQ(r.log.charTimes, (std::vector<qint64> { 10, 20, 30 }));
    EXPECT_EQ(r.clock.NowMs(), 30);
    EXPECT_EQ(r.book.CurrentPage, 2);
    EXPECT_FALSE(r.busy.IsBusy());
    // The stop button does nothing while the player waits; going on plays the page that
    // was next, and the old stop request does not cut it short.
    r.actions.StopButtonClick();
    r.actions.GoOnButtonClick();
    EXPECT_FALSE(r.playback.StopRequest());
    r.Run();
    EXPECT_EQ(r.log.Only("page").last(), "page 2");
}

} // namespace
} // namespace pimoko
