#include "paint/drawing_ways.h"
#include "tests/paint/paint_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace pimoko {
namespace {

using test::PenOf;
using test::ScriptedRandom;

// Records where each stamp went and how large it was.
struct RecordingTip : PenTip {
    struct Stamped {
        QPoint at;
        QSize size;
        bool line;
    };
    mutable std::vector<Stamped> stamps;
    void Stamp(QImage&, const StampImage& pen, QPoint at, const TipSettings& s) const override
    {
        stamps.push_back({ at, QSize(pen.Width(), pen.Height()), s.lineStamp });
    }
    std::vector<QPoint> Points() const
    {
        std::vector<QPoint> points;
        for (const Stamped& s : stamps)
            points.push_back(s.at);
        return points;
    }
};

class DrawingWaysTest : public ::testing::Test {
protected:
    void Paint(DrawingWayKind way, QPoint at, QPoint previous, bool tick = false)
    {
        const PaintStep step { canvas, tip, TipSettings(), pen, at, previous, tick, random };
        WayOf(way).Paint(step);
    }
    QImage canvas = NewBitmap24(32, 32);
    StampImage pen { PenOf(4, 4, Qt::white), PenColour() };
    RecordingTip tip;
    ScriptedRandom random;
};

TEST_F(DrawingWaysTest, StampIsCentredOnThePointer)
{
    Paint(DrawingWayKind::Stamp, QPoint(10, 7), QPoint());
    ASSERT_EQ(tip.stamps.size(), 1u);
    EXPECT_EQ(tip.stamps[0].at, QPoint(8, 5));
    EXPECT_FALSE(tip.stamps[0].line);
}

TEST_F(DrawingWaysTest, LineStampsEveryPixelOfTheLongerAxis)
{
    struct Case {
        QPoint previous;
        QPoint to; // the new stamp's top-left
        std::vector<QPoint> expected;
    };
    const Case cases[] = {
        { QPoint(0, 0), QPoint(0, 0), { QPoint(0, 0) } },
        // y = 2i / 5 to the nearest, ties to even: 0, 0.4, 0.8, 1.2, 1.6, 2.
        { QPoint(0, 0), QPoint(5, 2),
            { QPoint(0, 0), QPoint(1, 0), QPoint(2, 1), QPoint(3, 1), QPoint(4, 2),
                QPoint(5, 2) } },
        { QPoint(3, 3), QPoint(4, 0), { QPoint(3, 3), QPoint(3, 2), QPoint(4, 1), QPoint(4, 0) } },
        { QPoint(2, 0), QPoint(0, 1), { QPoint(2, 0), QPoint(1, 0), QPoint(0, 1) } }, // 0.5 -> 0
    };
    for (const Case& c : cases) {
        tip.stamps.clear();
        Paint(DrawingWayKind::Line, c.to + QPoint(2, 2), c.previous);
        EXPECT_EQ(tip.Points(), c.expected);
        for (const auto& s : tip.stamps)
            EXPECT_TRUE(s.line);
    }
}

TEST_F(DrawingWaysTest, RandomSizeFollowsTheLongerSideAndScattersOnTicks)
{
    pen = StampImage(PenOf(10, 5, Qt::white), PenColour());
    random.numbers = { 6 };
    Paint(DrawingWayKind::Random, QPoint(20, 20), QPoint());
    ASSERT_EQ(tip.stamps.size(), 1u);
    EXPECT_EQ(tip.stamps[0].size, QSize(6, 3));
    EXPECT_EQ(tip.stamps[0].at, QPoint(17, 19));
    EXPECT_EQ(random.ranges, std::deque<int>({ 10 }));

    // A tick scatters the stamp over twice its half size around the pointer.
    random.ranges.clear();
    random.numbers = { 6, 4, 1 };
    Paint(DrawingWayKind::Random, QPoint(20, 20), QPoint(), true);
    ASSERT_EQ(tip.stamps.size(), 2u);
    EXPECT_EQ(tip.stamps[1].at, QPoint(20 - 6 + 4, 20 - 2 + 1));
    EXPECT_EQ(random.ranges, std::deque<int>({ 10, 6, 2 }));

    // A tall pen draws its height; a size of 0 stamps nothing.
    pen = StampImage(PenOf(3, 9, Qt::white), PenColour());
    random.numbers = { 5, 0 };
    Paint(DrawingWayKind::Random, QPoint(20, 20), QPoint());
    EXPECT_EQ(tip.stamps[2].size, QSize(2, 5)); // 5 x 3 / 9 = 1.67
    Paint(DrawingWayKind::Random, QPoint(20, 20), QPoint());
    EXPECT_EQ(tip.stamps.size(), 3u);
}

} // namespace
} // namespace pimoko
