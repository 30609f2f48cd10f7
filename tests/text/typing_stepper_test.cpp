#include "platform/bitmap.h"
#include "tests/text/text_test_support.h"
#include "text/text_shot_b.h"
#include "text/typing_stepper.h"

#include <gtest/gtest.h>

#include <vector>

namespace pimoko {
namespace {

struct Typed {
    int n;
    QString ch;
    bool drawn;
    qint64 at;
    bool operator==(const Typed& o) const
    {
        return n == o.n && ch == o.ch && drawn == o.drawn && at == o.at;
    }
};

std::ostream& operator<<(std::ostream& os, const Typed& t)
{
    return os << "{" << t.n << " '" << t.ch.toStdString() << "' " << t.drawn << " @" << t.at << "}";
}

class TypingStepperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureGuiApp();
        target.SetImage(&page);
        target.font().name = QStringLiteral("ＭＳ ゴシック");
        target.font().height = 24;
        target.font().color = 0xFFFFFF;
        engine.SetTargetBitmap(&target);
        engine.SetOrigin(10, 10);
    }

    TypingStepper::Callbacks Record()
    {
        TypingStepper::Callbacks c;
        c.onChar = [this](int n, const QString& ch, bool drawn) {
            typed.push_back({ n, ch, drawn, clock.NowMs() });
            events.push_back(QStringLiteral("char %1").arg(n));
        };
        c.stopRequested = [this]() {
            return stop || (stopAfter > 0 && static_cast<int>(typed.size()) >= stopAfter);
        };
        c.onDone = [this](bool stopped) {
            events.push_back(stopped ? QStringLiteral("stopped") : QStringLiteral("done"));
            doneAt = clock.NowMs();
        };
        return c;
    }

    QImage page = NewBitmap24();
    Canvas target;
    TTextShotB engine;
    ManualClock clock;
    TypingStepper stepper { engine, clock };
    std::vector<Typed> typed;
    QStringList events;
    int stopAfter = 0;
    bool stop = false;
    qint64 doneAt = -1;
};

TEST_F(TypingStepperTest, EachDelayCountsFromTheStartOfThePreviousCharacter)
{
    engine.SetText({ QStringLiteral("あい"), QStringLiteral("うえ") });
    const int delays[] = { 100, 50, 0, 200 };
    for (int i = 0; i < 4; ++i)
        engine.SetCharDelay(i, delays[i]);
    // Drawing takes time on a slow machine; it counts into the next delay.
    clock.SetTaskCost(30);
    ASSERT_TRUE(stepper.Start(Record()));
    EXPECT_TRUE(typed.empty()); // typing begins from the event loop
    clock.RunUntilIdle();
    const std::vector<Typed> expected
        = { { 1, QStringLiteral("あ"), true, 100 }, { 2, QStringLiteral("い"), true, 150 },
              { 3, QStringLiteral("う"), true, 180 }, { 4, QStringLiteral("え"), true, 380 } };
    EXPECT_EQ(typed, expected);
    EXPECT_EQ(events.last(), QStringLiteral("done"));
    EXPECT_TRUE(stepper.IsDone());
    EXPECT_FALSE(stepper.IsTyping());
    EXPECT_FALSE(test::InkBox(page).isEmpty());
}

TEST_F(TypingStepperTest, HalfWidthSpacesWithoutDelayAreSkipped)
{
    engine.SetText({ QStringLiteral("a b　c d") });
    engine.SetCharDelay(5, 10); // the second space waits, so it is typed
    ASSERT_TRUE(stepper.Start(Record()));
    clock.RunUntilIdle();
    ASSERT_EQ(typed.size(), 7u);
    EXPECT_FALSE(typed[1].drawn);
    EXPECT_TRUE(typed[3].drawn); // full-width space
    EXPECT_TRUE(typed[5].drawn);
    EXPECT_EQ(typed[5].at, 10);
}

TEST_F(TypingStepperTest, StopIsSeenAfterACharacterAndEndsThePage)
{
    engine.SetText({ QStringLiteral("あいうえお") });
    for (int i = 0; i < 5; ++i)
        engine.SetCharDelay(i, 10);
    stopAfter = 2;
    ASSERT_TRUE(stepper.Start(Record()));
    clock.RunUntilIdle();
    EXPECT_EQ(events,
        (QStringList {
            QStringLiteral("char 1"), QStringLiteral("char 2"), QStringLiteral("stopped") }));
    EXPECT_EQ(stepper.TypingIndex(), 3);
    EXPECT_TRUE(stepper.IsDone());
    EXPECT_FALSE(clock.HasPending());
}

// The reader's stop comes between characters, while the next one's delay runs: that
// character is still typed after its delay, and the page ends right after it, never
// after the delay of the one that follows.
TEST_F(TypingStepperTest, AStopEndsThePageOnceTheCharacterBeingTypedIsDrawn)
{
    struct Case {
        const char* what;
        qint64 stopAt; // -1: before the typing starts (during the page's opening fade)
        QStringList events;
        qint64 doneAt;
    };
    const Case cases[] = {
        { "before the typing", -1, { "char 1", "stopped" }, 100 },
        { "in the first delay", 50, { "char 1", "stopped" }, 100 },
        { "in a long delay", 200, { "char 1", "char 2", "stopped" }, 5100 },
        { "in the last delay", 5120, { "char 1", "char 2", "char 3", "stopped" }, 5150 },
    };
    for (const Case& c : cases) {
        engine.SetText({ QStringLiteral("あいう") });
        engine.SetCharDelay(0, 100);
        engine.SetCharDelay(1, 5000);
        engine.SetCharDelay(2, 50);
        typed.clear();
        events.clear();
        stop = c.stopAt < 0;
        const qint64 start = clock.NowMs();
        ASSERT_TRUE(stepper.Start(Record())) << c.what;
        if (c.stopAt >= 0) {
            clock.Advance(c.stopAt);
            stop = true;
        }
        clock.RunUntilIdle();
        EXPECT_EQ(events, c.events) << c.what;
        EXPECT_EQ(doneAt - start, c.doneAt) << c.what;
        EXPECT_FALSE(clock.HasPending()) << c.what;
    }
}

TEST_F(TypingStepperTest, DeferredPagesAreBlendedOnceAtTheEndEvenWhenStopped)
{
    engine.SetText({ QStringLiteral("あいうえお") });
    engine.SetDeferredComposite(true);
    bool blankWhileTyping = true;
    TypingStepper::Callbacks c = Record();
    auto record = c.onChar;
    c.onChar = [&](int n, const QString& ch, bool drawn) {
        blankWhileTyping = blankWhileTyping && test::InkBox(page).isEmpty();
        record(n, ch, drawn);
    };
    stopAfter = 3;
    ASSERT_TRUE(stepper.Start(c));
    clock.RunUntilIdle();
    EXPECT_TRUE(blankWhileTyping);
    EXPECT_EQ(events.last(), QStringLiteral("stopped"));
    const QRect ink = test::InkBox(page);
    ASSERT_FALSE(ink.isEmpty());
    // Three characters of 24 pixels were typed before the stop.
    EXPECT_LT(ink.right(), 10 + 3 * 24);
    EXPECT_GT(ink.right(), 10 + 2 * 24);
}

TEST_F(TypingStepperTest, StartingWhileTypingDoesNothingAndAnEmptyPageEndsAtOnce)
{
    engine.SetText({ QStringLiteral("あい") });
    engine.SetCharDelay(0, 100);
    ASSERT_TRUE(stepper.Start(Record()));
    EXPECT_FALSE(stepper.Start(Record()));
    clock.RunUntilIdle();
    EXPECT_EQ(typed.size(), 2u);

    typed.clear();
    events.clear();
    engine.SetText({});
    ASSERT_TRUE(stepper.Start(Record()));
    EXPECT_TRUE(events.isEmpty());
    clock.RunUntilIdle();
    EXPECT_EQ(events, QStringList { QStringLiteral("done") });
}

TEST_F(TypingStepperTest, TheDoneCallbackCanStartTheNextPage)
{
    engine.SetText({ QStringLiteral("あ") });
    int pages = 0;
    TypingStepper::Callbacks c;
    c.onDone = [&](bool) {
        if (++pages < 3) {
            engine.SetText({ QStringLiteral("い") });
            EXPECT_TRUE(stepper.Start(c));
        }
    };
    ASSERT_TRUE(stepper.Start(c));
    clock.RunUntilIdle();
    EXPECT_EQ(pages, 3);
}

TEST_F(TypingStepperTest, CancelForgetsThePageWithoutEndingIt)
{
    engine.SetText({ QStringLiteral("あいう") });
    engine.SetDeferredComposite(true);
    TypingStepper::Callbacks c = Record();
    c.onChar = [&](int, const QString&, bool) { stepper.Cancel(); };
    ASSERT_TRUE(stepper.Start(c));
    clock.RunUntilIdle();
    EXPECT_TRUE(events.isEmpty());
    EXPECT_FALSE(stepper.IsTyping());
    EXPECT_FALSE(stepper.IsDone());
    EXPECT_TRUE(test::InkBox(page).isEmpty());
    EXPECT_FALSE(clock.HasPending());
}

} // namespace
} // namespace pimoko
