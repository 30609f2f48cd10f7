#include "platform/bitmap.h"
#include "platform/clock.h"
#include "player/compositor.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <vector>

namespace pimoko {
namespace {

TEST(CompositorFadeTables, KnownEntriesAndBothTablesAlike)
{
    FadeTables t;
    for (int d = 0; d < 256; ++d) {
        EXPECT_EQ(t.Increase(d, 100), d);
        EXPECT_EQ(t.Increase(d, 1), FadeTableEntry(d, 1));
        for (int s = 1; s <= 100; ++s)
            ASSERT_EQ(t.Increase(d, s), t.Decrease(d, s));
    }
    EXPECT_EQ(t.Increase(255, 1), 3);
    EXPECT_EQ(t.Increase(1, 50), 0);
    EXPECT_EQ(t.Increase(1, 51), 1);
    // Ties decided by the extended-precision error of d / 100, not by exact arithmetic.
    EXPECT_EQ(FadeTableEntry(59, 50), 29);
    EXPECT_EQ(FadeTableEntry(213, 50), 107);
}

// The fast blend must give the table's bytes for every pair of values at every step,
// including the tie entries it corrects one by one, and at any length (vector tail).
TEST(CompositorFadeTables, BlendAgreesWithTablesEverywhere)
{
    FadeTables t;
    std::vector<quint8> a(65536 + 7), b(a.size()), fast(a.size()), slow(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = static_cast<quint8>(i & 0xFF);
        b[i] = static_cast<quint8>((i >> 8) & 0xFF);
    }
    using Path = FadeTables::BlendPath;
    for (Path path : { Path::Tables, Path::Avx2, Path::Avx512 }) {
        if (!t.SetBlendPath(path))
            continue; // not on this machine
        for (int s = 1; s <= 100; ++s) {
            t.BlendStep(a.data(), b.data(), fast.data(), a.size(), s);
            t.BlendStepByTable(a.data(), b.data(), slow.data(), a.size(), s);
            ASSERT_EQ(fast, slow) << "path " << int(path) << ", step " << s;
        }
    }
    std::vector<quint8> up = { 0 }, top = { 255 }, out = { 0 };
    for (auto [s, expected] :
        std::vector<std::pair<int, int>> { { 1, 3 }, { 50, 128 }, { 99, 252 } }) {
        t.BlendStep(up.data(), top.data(), out.data(), 1, s);
        EXPECT_EQ(out[0], expected) << "rising, step " << s;
        t.BlendStep(top.data(), up.data(), out.data(), 1, s);
        EXPECT_EQ(out[0], 255 - expected) << "falling, step " << s;
    }
}

QImage Noise(quint32 seed)
{
    QImage image = NewBitmap24();
    QRandomGenerator rng(seed);
    for (int y = 0; y < image.height(); ++y)
        rng.fillRange(reinterpret_cast<quint32*>(image.scanLine(y)), image.bytesPerLine() / 4);
    return image;
}

struct FadeRun {
    ManualClock clock;
    QImage viewer = NewBitmap24();
    Compositor compositor { clock };
    std::vector<QImage> shown; // the viewer picture at every refresh
    std::vector<qint64> times;
    bool ended = false;
    FadeReport report;
    qint64 endTime = -1;
    std::function<bool()> stop;

    FadeRun() { compositor.SetViewerPicture(&viewer); }

    void Start(int wait)
    {
        FadeHooks hooks;
        hooks.stopRequested = [this] { return stop && stop(); };
        hooks.refresh = [this] {
            shown.push_back(viewer.copy());
            times.push_back(clock.NowMs());
        };
        hooks.done = [this](const FadeReport& r) {
            ended = true;
            report = r;
            endTime = clock.NowMs();
        };
        EXPECT_TRUE(compositor.FadeIn(wait, hooks));
    }
};

TEST(CompositorFade, ChannelRisesByTheTablesAndEndsOnTarget)
{
    FadeRun run;
    run.viewer.fill(Qt::black);
    run.compositor.FillBackBuffer(kWhite);
    run.Start(15);
    // Nothing is drawn before the event loop has had its turn.
    EXPECT_TRUE(run.shown.empty());
    run.clock.RunUntilIdle();
    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.report.stopped);
    EXPECT_EQ(run.report.steps, 99);
    EXPECT_EQ(run.report.increment, 1);
    ASSERT_EQ(run.shown.size(), 100u); // 99 steps and the final copy
    EXPECT_EQ(run.shown[0].constBits()[0], 3);
    EXPECT_EQ(run.shown[49].constBits()[0], 128);
    EXPECT_EQ(run.shown[98].constBits()[0], 252);
    EXPECT_EQ(run.viewer, run.compositor.BackBuffer());
    // 99 waits of 15 ms, the steps 15 ms apart.
    EXPECT_EQ(run.endTime, 99 * 15);
    EXPECT_EQ(run.times[1] - run.times[0], 15);
}

TEST(CompositorFade, SourceIsTheViewerPictureWhenTheFadeStarts)
{
    FadeRun run;
    run.viewer = Noise(1);
    const QImage before = run.viewer.copy();
    run.compositor.BackBuffer() = Noise(2);
    run.Start(0);
    run.clock.RunUntilIdle();
    EXPECT_EQ(run.compositor.FadeSource(), before);
    const FadeTables& t = run.compositor.Tables();
    QImage expected = NewBitmap24();
    t.BlendStepByTable(before.constBits(), run.compositor.BackBuffer().constBits(), expected.bits(),
        static_cast<std::size_t>(expected.sizeInBytes()), 37);
    EXPECT_EQ(run.shown[36], expected); // every step starts from the source, not the last step
}

TEST(CompositorFade, IdenticalPicturesStayUnchangedAtEveryStep)
{
    FadeRun run;
    run.viewer = Noise(7);
    run.compositor.BackBuffer() = run.viewer.copy();
    run.Start(1);
    run.clock.RunUntilIdle();
    ASSERT_EQ(run.shown.size(), 100u);
    for (const QImage& picture : run.shown)
        ASSERT_EQ(picture, run.compositor.BackBuffer());
}

TEST(CompositorFade, WaitZeroMeasuresTheFirstStep)
{
    {
        // Each step costs 5 ms: the fade goes on with a wait of 1 and skips 5 steps at a time.
        FadeRun run;
        run.clock.SetTaskCost(5);
        run.compositor.FillBackBuffer(kWhite);
        run.Start(0);
        run.clock.RunUntilIdle();
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.report.wait, 1);
        EXPECT_EQ(run.report.increment, 5);
        EXPECT_EQ(run.report.steps, 20); // steps 1, 6, ..., 96
        EXPECT_EQ(run.shown[1].constBits()[0], 15); // step 6 of 255
    }
    {
        // A first step that takes no measurable time: one step at a time, no waiting.
        FadeRun run;
        run.compositor.FillBackBuffer(kWhite);
        run.Start(0);
        run.clock.RunUntilIdle();
        EXPECT_EQ(run.report.wait, 0);
        EXPECT_EQ(run.report.increment, 1);
        EXPECT_EQ(run.report.steps, 99);
        EXPECT_EQ(run.endTime, 0);
    }
    {
        // A slow machine with a real wait: 40 ms for a first step planned at 15.
        FadeRun run;
        run.clock.SetTaskCost(40);
        run.Start(15);
        run.clock.RunUntilIdle();
        EXPECT_EQ(run.report.wait, 15);
        EXPECT_EQ(run.report.increment, 3);
    }
}

TEST(CompositorFade, StopEndsOnTheTarget)
{
    {
        FadeRun run;
        run.viewer = Noise(3);
        run.compositor.BackBuffer() = Noise(4);
        run.stop = [&run] { return run.shown.size() >= 10; };
        run.Start(20);
        run.clock.RunUntilIdle();
        ASSERT_TRUE(run.ended);
        EXPECT_TRUE(run.report.stopped);
        EXPECT_EQ(run.report.steps, 10);
        EXPECT_EQ(run.viewer, run.compositor.BackBuffer());
    }
    {
        // StopFade during a long wait ends the fade without waiting it out.
        FadeRun run;
        run.compositor.FillBackBuffer(kWhite);
        run.Start(300);
        run.clock.RunNext(); // the first step
        run.clock.Advance(100);
        run.compositor.StopFade();
        EXPECT_FALSE(run.ended); // still from the event loop
        run.clock.RunUntilIdle();
        EXPECT_TRUE(run.ended);
        EXPECT_TRUE(run.report.stopped);
        EXPECT_EQ(run.endTime, 100);
        EXPECT_EQ(run.viewer, run.compositor.BackBuffer());
        EXPECT_FALSE(run.compositor.IsFading());
    }
}

TEST(CompositorFade, NewFadeEndsTheRunningOneAndDestructionCancels)
{
    FadeRun run;
    run.compositor.FillBackBuffer(kWhite);
    run.Start(50);
    run.clock.RunNext();
    int secondDone = 0;
    FadeHooks hooks;
    hooks.done = [&](const FadeReport&) { ++secondDone; };
    run.compositor.FadeIn(0, hooks);
    EXPECT_TRUE(run.ended);
    EXPECT_TRUE(run.report.stopped);
    run.clock.RunUntilIdle();
    EXPECT_EQ(secondDone, 1);

    ManualClock clock;
    {
        Compositor c(clock);
        c.FadeIn(10, FadeHooks());
    }
    EXPECT_FALSE(clock.HasPending());
}

TEST(CompositorFade, BlankViewerAndPresent)
{
    FadeRun run;
    run.viewer = Noise(5);
    run.compositor.BackBuffer() = Noise(6);
    run.compositor.PresentBackBuffer();
    EXPECT_EQ(run.viewer, run.compositor.BackBuffer());
    run.compositor.BlankViewer();
    const QImage black = NewBitmap24();
    EXPECT_EQ(run.viewer, black);
    EXPECT_EQ(run.compositor.BackBuffer(), black);
    EXPECT_EQ(run.compositor.FadeSource(), black);
}

} // namespace
} // namespace pimoko
