#include "paint/undo_ring.h"
#include "tests/paint/paint_test_support.h"
#include "tests/support/test_support.h"

#include <QFile>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::Solid;

class UndoRingTest : public ::testing::Test {
protected:
    // The canvas numbered n: its grey level tells which state it is.
    static QImage State(int n) { return Solid(4, 3, QColor(n, n, n)); }
    int Shown() const { return canvas.pixelColor(0, 0).red(); }

    test::TempFolder tmp;
    UndoRing ring { tmp.file(QStringLiteral("Temp")) };
    QImage canvas = State(0);
};

TEST_F(UndoRingTest, ThirtyOneStatesThenTheOldestGivesWayAndStepsCycle)
{
    for (int n = 1; n <= 32; ++n) {
        ring.MarkPending();
        ring.Snapshot(State(n));
    }
    EXPECT_EQ(ring.Position(), 0) << "the 32nd state went over the 1st";
    EXPECT_TRUE(QFile::exists(tmp.file(QStringLiteral("Temp/UB30.bmp"))));
    // Back from slot 0: slots 30, 29 .. 1 hold states 31 .. 2, then slot 0 again.
    for (int expected = 31; expected >= 2; --expected) {
        ring.StepBack(canvas);
        ASSERT_EQ(Shown(), expected);
    }
    ring.StepBack(canvas);
    EXPECT_EQ(Shown(), 32);
    EXPECT_EQ(ring.Position(), 0);
    ring.StepForward(canvas);
    EXPECT_EQ(Shown(), 2);
    ring.StepBack(canvas);
    EXPECT_EQ(Shown(), 32);
}

TEST_F(UndoRingTest, AChangeNotYetSavedIsKeptBeforeStepping)
{
    canvas = State(1);
    ring.MarkPending();
    ring.Snapshot(canvas);
    ring.Snapshot(State(99)); // nothing pending: nothing saved
    EXPECT_EQ(ring.Position(), 0);

    canvas = State(2); // painted since
    ring.MarkPending();
    ring.StepForward(canvas);
    EXPECT_EQ(Shown(), 2) << "forward does nothing while a change is pending";
    ring.StepBack(canvas);
    EXPECT_EQ(Shown(), 1);
    EXPECT_FALSE(ring.Pending());
    ring.StepForward(canvas);
    EXPECT_EQ(Shown(), 2) << "the change came back";
    EXPECT_EQ(ring.Position(), 1);
}

TEST_F(UndoRingTest, EmptyRingStaleFilesAndMissingFilesLeaveTheCanvas)
{
    ring.StepBack(canvas);
    ring.StepForward(canvas);
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(ring.Position(), -1);

    // Files of an earlier picture stay in Temp but are not brought back after Clear().
    for (int n = 1; n <= 3; ++n) {
        ring.MarkPending();
        ring.Snapshot(State(n));
    }
    ring.Clear();
    canvas = State(7);
    ring.MarkPending();
    ring.Snapshot(canvas);
    ring.StepBack(canvas);
    EXPECT_EQ(Shown(), 7);

    ring.MarkPending();
    ring.Snapshot(State(8));
    QFile::remove(ring.SlotFile(0));
    ring.StepBack(canvas);
    EXPECT_EQ(ring.Position(), 0);
    EXPECT_EQ(Shown(), 7) << "a missing file changes nothing";
}

} // namespace
} // namespace pimoko
