#include "paint/pen_maker.h"
#include "paint/pen_slots.h"
#include "paint/picture_names.h"
#include "platform/paths.h"
#include "tests/paint/paint_test_support.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::PenOf;
using test::Solid;

QString Touch(const QString& path)
{
    return test::WriteFile(path, "BM");
}

QStringList UsedNames(const PenSlots& pens)
{
    QStringList names;
    for (int i = 0; i < PenSlots::kSlots; ++i)
        if (pens.Slot(i).used)
            names << FileNamePart(pens.Slot(i).path);
    return names;
}

TEST(PenSlotsTest, BrushesComeFirstThenTheFolderAndEachFileOnce)
{
    test::TempFolder tmp;
    const QString folder = tmp.file(QStringLiteral("pen"));
    for (const char* name :
        { "zz.bmp", "Brush2.bmp", "a.BMP", "brush10.bmp", "Brush1.bmp", "notes.txt", "NwPen1.bmp" })
        Touch(JoinPath(folder, QString::fromLatin1(name)));
    PenSlots pens;
    pens.Load(folder);
    EXPECT_EQ(UsedNames(pens),
        QStringList(
            { "Brush1.bmp", "Brush2.bmp", "brush10.bmp", "a.BMP", "NwPen1.bmp", "zz.bmp" }));
    EXPECT_EQ(pens.PathOfCell(0), JoinPath(folder, QStringLiteral("Brush1.bmp")));

    // A file gone since leaves no hole in the grid.
    QFile::remove(JoinPath(folder, QStringLiteral("Brush2.bmp")));
    pens.RefillGrid();
    EXPECT_EQ(FileNamePart(pens.PathOfCell(1)), QStringLiteral("brush10.bmp"));
    EXPECT_EQ(pens.SlotOfCell(1), 2);
    EXPECT_EQ(pens.SlotOfCell(5), -1);

    // Loading again starts from free slots.
    pens.Load(folder);
    EXPECT_EQ(pens.UsedCount(), 5);
}

TEST(PenSlotsTest, SlotsAreFixedAndTheGridMapsPoints)
{
    PenSlots pens;
    for (int i = 0; i < PenSlots::kSlots; ++i)
        ASSERT_TRUE(pens.Add(QStringLiteral("/p/%1.bmp").arg(i)));
    EXPECT_FALSE(pens.Add(QStringLiteral("/p/extra.bmp"))) << "no free slot";
    pens.Free(7);
    EXPECT_FALSE(pens.Add(QStringLiteral("/P/3.BMP"))) << "already there, in another case";
    EXPECT_TRUE(pens.Add(QStringLiteral("/p/extra.bmp")));
    EXPECT_EQ(pens.Slot(7).path, QStringLiteral("/p/extra.bmp"));

    EXPECT_EQ(PenSlots::CellAt(0, 0), 0);
    EXPECT_EQ(PenSlots::CellAt(383, 63), 5);
    EXPECT_EQ(PenSlots::CellAt(0, 64), 6);
    EXPECT_EQ(PenSlots::CellAt(384, 0), -1);
    EXPECT_EQ(PenSlots::CellAt(10, 50 * 64), -1);
}

TEST(PenSlotsTest, DeletedPensMoveToTheFirstFreeNumber)
{
    test::TempFolder tmp;
    const QString pen = Touch(tmp.file(QStringLiteral("pen/leaf.bmp")));
    const QString deleted = tmp.file(QStringLiteral("Deleted"));
    Touch(JoinPath(deleted, QStringLiteral("leaf(1).bmp")));
    EXPECT_EQ(MovePenToDeleted(pen, deleted), JoinPath(deleted, QStringLiteral("leaf(2).bmp")));
    EXPECT_FALSE(QFile::exists(pen));
    EXPECT_TRUE(QFile::exists(JoinPath(deleted, QStringLiteral("leaf(2).bmp"))));
    EXPECT_TRUE(MovePenToDeleted(pen, deleted).isEmpty()) << "nothing left to copy";
}

TEST(PenMakerTest, SelectionCornersStayOnTheCanvas)
{
    PenSelection s;
    s.Press(QPoint(-5, 500));
    EXPECT_EQ(s.Start(), QPoint(0, 479));
    s.Drag(QPoint(700, -3));
    EXPECT_EQ(s.End(), QPoint(639, 0));
    s.Press(QPoint(10, 10)); // already under way
    EXPECT_EQ(s.Start(), QPoint(0, 479));
    s.Release();
    EXPECT_EQ(s.GetState(), PenSelection::Done);
    s.Drag(QPoint(5, 5));
    EXPECT_EQ(s.End(), QPoint(639, 0)) << "a finished selection stays";
}

TEST(PenMakerTest, PenSizeByBackgroundAndSizing)
{
    const QImage canvas = Solid(640, 480, QColor(30, 60, 90));
    struct Case {
        QPoint start, end;
        PenBackground background;
        PenSizing sizing;
        QSize expected;
    };
    const Case cases[] = {
        { { 10, 10 }, { 20, 15 }, PenBackground::Transparent, PenSizing::Original, { 10, 5 } },
        { { 20, 15 }, { 10, 10 }, PenBackground::Square, PenSizing::Original, { 10, 6 } },
        { { 0, 0 }, { 100, 30 }, PenBackground::Transparent, PenSizing::Fit64, { 64, 19 } },
        { { 0, 0 }, { 30, 100 }, PenBackground::Square, PenSizing::Fit64, { 19, 64 } },
        { { 5, 5 }, { 45, 45 }, PenBackground::Transparent, PenSizing::Fit64, { 64, 64 } },
        { { 5, 5 }, { 5, 45 }, PenBackground::Transparent, PenSizing::Original, { 0, 0 } },
    };
    for (const Case& c : cases) {
        const QImage pen = MakePenImage(canvas, c.start, c.end, c.background, c.sizing);
        EXPECT_EQ(pen.isNull() ? QSize(0, 0) : pen.size(), c.expected);
    }
}

TEST(PenMakerTest, SquarePensEndInARowOfTheirOwn)
{
    QImage canvas = Solid(640, 480, Qt::black);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 10; ++y)
            canvas.setPixelColor(100 + x, 100 + y, QColor(x * 10, 200, 50));
    // The rectangle as drawn, and a last row differing from the pixel above it.
    QImage pen = MakePenImage(
        canvas, QPoint(100, 100), QPoint(120, 110), PenBackground::Square, PenSizing::Original);
    ASSERT_EQ(pen.size(), QSize(20, 11));
    EXPECT_EQ(pen.pixelColor(3, 4), QColor(30, 200, 50));
    EXPECT_EQ(pen.pixelColor(19, 10), QColor(Qt::black));
    pen = MakePenImage(
        canvas, QPoint(0, 0), QPoint(8, 8), PenBackground::Square, PenSizing::Original);
    EXPECT_EQ(pen.pixelColor(0, 8), QColor(Qt::white)) << "above it is black";
    pen = MakePenImage(canvas, QPoint(100, 100), QPoint(120, 110), PenBackground::Transparent,
        PenSizing::Original);
    EXPECT_EQ(pen.pixelColor(19, 9), QColor(190, 200, 50));
}

TEST(PictureNamesTest, SavedPicturesTakeTheFirstFreeNumber)
{
    test::TempFolder tmp;
    const QString folder = tmp.path() + QLatin1Char('/');
    for (const char* name : { "PPic_2.bmp", "PPic_3.bmp", "photo_2.bmp", "a_b_2.bmp" })
        Touch(folder + QString::fromLatin1(name));
    struct Case {
        const char* source;
        const char* expected;
    };
    const Case cases[] = {
        { "/x/PPic_3.bmp", "PPic_4.bmp" },
        { "/x/photo.bmp", "photo_3.bmp" },
        { "/x/photo.jpg", "photo_3.bmp" },
        { "/x/sea.JPG", "sea_2.bmp" },
        { "/x/a_b.bmp", "a_b_3.bmp" },
        { "/x/day_07.bmp", "day_2.bmp" },
        { "", "PPic_1.bmp" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(PaintedPictureFile(folder, QString::fromUtf8(c.source)),
            folder + QString::fromLatin1(c.expected))
            << c.source;

    EXPECT_EQ(PaintedPictureFolder(QStringLiteral("/s"), QStringLiteral("/s")), "/s/Pic/");
    EXPECT_EQ(PaintedPictureFolder(QStringLiteral("/s/"), QStringLiteral("/s")), "/s/Pic/");
    EXPECT_EQ(
        PaintedPictureFolder(QStringLiteral("/s/BOOKS/b"), QStringLiteral("/s")), "/s/BOOKS/b/");
    EXPECT_EQ(PaintedPictureFolder(QString(), QStringLiteral("/s")), "/s/Pic/");
    EXPECT_EQ(FreePenFile(tmp.path()), JoinPath(tmp.path(), QStringLiteral("NwPen1.bmp")));
}

} // namespace
} // namespace pimoko
