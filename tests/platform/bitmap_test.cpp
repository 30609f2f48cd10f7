#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"

#include "tests/support/test_support.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

void Put(QByteArray& b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A BMP with a 40-byte header: palette entries as 0x00RRGGBB, pixel data as stored.
QByteArray MakeBmp(int w, int h, int bpp, int compression, const QVector<quint32>& palette,
    const QByteArray& pixels)
{
    QByteArray b("BM");
    const int offset = 14 + 40 + 4 * palette.size();
    Put(b, offset + pixels.size(), 4);
    Put(b, 0, 4);
    Put(b, offset, 4);
    Put(b, 40, 4);
    Put(b, w, 4);
    Put(b, h, 4);
    Put(b, 1, 2);
    Put(b, bpp, 2);
    Put(b, compression, 4);
    Put(b, pixels.size(), 4);
    Put(b, 2835, 4);
    Put(b, 2835, 4);
    Put(b, palette.size(), 4);
    Put(b, 0, 4);
    for (quint32 c : palette)
        Put(b, c, 4);
    return b + pixels;
}

QByteArray Raw(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

// The pixel at (x, y) as 0xRRGGBB, from its bytes blue, green, red.
quint32 Bgr(const QImage& image, int x, int y)
{
    const uchar* p = image.constScanLine(y) + 3 * x;
    return quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
}

const quint32 kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF; // palette form 0xRRGGBB

TEST(Bitmap, EveryDepthReadsAs24Bits)
{
    // 2 x 2 pictures, bottom row first: bottom = red, green; top = blue, red.
    struct Case {
        const char* name;
        QByteArray bmp;
    } cases[] = {
        { "1 bit", MakeBmp(2, 2, 1, 0, { kRed, kBlue }, Raw({ 0x00, 0, 0, 0, 0x80, 0, 0, 0 })) },
        { "4 bit",
            MakeBmp(2, 2, 4, 0, { kRed, kGreen, kBlue }, Raw({ 0x01, 0, 0, 0, 0x20, 0, 0, 0 })) },
        { "8 bit", MakeBmp(2, 2, 8, 0, { kRed, kGreen, kBlue }, Raw({ 0, 1, 0, 0, 2, 0, 0, 0 })) },
        { "16 bit",
            MakeBmp(2, 2, 16, 0, {}, Raw({ 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x00, 0x7C })) },
        { "24 bit",
            MakeBmp(
                2, 2, 24, 0, {}, Raw({ 0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0 })) },
        { "32 bit",
            MakeBmp(
                2, 2, 32, 0, {}, Raw({ 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0, 255, 0 })) },
        { "RLE8",
            MakeBmp(
                2, 2, 8, 1, { kRed, kGreen, kBlue }, Raw({ 1, 0, 1, 1, 0, 0, 1, 2, 1, 0, 0, 1 })) },
        { "RLE4",
            MakeBmp(2, 2, 4, 2, { kRed, kGreen, kBlue }, Raw({ 2, 0x01, 0, 0, 2, 0x20, 0, 1 })) },
    };
    for (const Case& c : cases) {
        const QImage image = ReadBmpData(c.bmp);
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(image.format(), QImage::Format_BGR888) << c.name;
        // For 1 bit the second colour is blue: the row reads red, red / blue, red.
        if (std::string(c.name) == "1 bit") {
            EXPECT_EQ(Bgr(image, 0, 0), kBlue) << c.name;
            EXPECT_EQ(Bgr(image, 0, 1), kRed) << c.name;
            continue;
        }
        EXPECT_EQ(Bgr(image, 0, 1) & 0xF8F8F8, kRed & 0xF8F8F8) << c.name;
        EXPECT_EQ(Bgr(image, 1, 1) & 0xF8F8F8, kGreen & 0xF8F8F8) << c.name;
        EXPECT_EQ(Bgr(image, 0, 0) & 0xF8F8F8, kBlue & 0xF8F8F8) << c.name;
        EXPECT_EQ(Bgr(image, 1, 0) & 0xF8F8F8, kRed & 0xF8F8F8) << c.name;
    }
}

TEST(Bitmap, WritesAndReadsBack24Bits)
{
    test::TempFolder dir;
    QImage image = NewBitmap24(3, 2); // odd width: rows are padded
    image.scanLine(0)[0] = 10;
    image.scanLine(1)[8] = 200;
    ASSERT_TRUE(WriteBmp24(dir.file("a.bmp"), image));
    const QByteArray bytes = test::ReadAll(dir.file("a.bmp"));
    EXPECT_EQ(bytes.size(), 54 + 2 * 12);
    EXPECT_EQ(ReadBmp(dir.file("a.bmp")), image);
}

TEST(Bitmap, RefusesBrokenAndHugePictures)
{
    EXPECT_TRUE(ReadBmp("/nonexistent/x.bmp").isNull());
    EXPECT_TRUE(ReadBmpData("BM not a bitmap").isNull());
    // Claims 100000 x 100000 pixels with almost no data.
    EXPECT_TRUE(ReadBmpData(MakeBmp(100000, 100000, 24, 0, {}, Raw({ 0, 0, 0 }))).isNull());
    EXPECT_TRUE(ReadBmpData(MakeBmp(8193, 1, 24, 0, {}, QByteArray(8193 * 3 + 1, 0))).isNull());
    EXPECT_FALSE(ReadBmpData(MakeBmp(8192, 1, 24, 0, {}, QByteArray(8192 * 3, 0))).isNull());
}

TEST(Jpeg, RoundTripKeepsThePicture)
{
    QImage image = NewBitmap24(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            uchar* p = image.scanLine(y) + 3 * x;
            p[0] = static_cast<uchar>(x * 4); // blue grows to the right
            p[2] = static_cast<uchar>(y * 5); // red grows downwards
        }
    const QByteArray jpeg = EncodeJpeg(image, 95);
    ASSERT_FALSE(jpeg.isEmpty());
    const JpegResult r = DecodeJpeg(jpeg);
    ASSERT_EQ(r.status, JpegStatus::Ok);
    ASSERT_EQ(r.image.size(), image.size());
    int worst = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64 * 3; ++x)
            worst = qMax(worst, qAbs(r.image.constScanLine(y)[x] - image.constScanLine(y)[x]));
    EXPECT_LT(worst, 12);
    // Quality is clamped to 1..100 and lower quality makes smaller files.
    EXPECT_LT(EncodeJpeg(image, -5).size(), EncodeJpeg(image, 500).size());
}

TEST(Jpeg, TruncatedAndBrokenFilesAreReportedNotFatal)
{
    QImage image = NewBitmap24(320, 240);
    QRandomGenerator rng(7);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320 * 3; ++x)
            image.scanLine(y)[x] = static_cast<uchar>(rng.bounded(256));
    const QByteArray jpeg = EncodeJpeg(image, 80);
    const JpegResult cut = DecodeJpeg(jpeg.left(jpeg.size() / 2));
    EXPECT_EQ(cut.status, JpegStatus::Truncated);
    EXPECT_EQ(cut.image.size(), QSize(320, 240));
    EXPECT_EQ(DecodeJpeg(jpeg.left(100)).status, JpegStatus::Broken);
    EXPECT_EQ(DecodeJpeg("not a jpeg at all").status, JpegStatus::Broken);
    EXPECT_EQ(DecodeJpeg(QByteArray()).status, JpegStatus::Broken);
    EXPECT_EQ(ReadJpeg("/nonexistent.jpg").status, JpegStatus::Missing);
}

// Repacked for the web: smaller, and every pixel decodes as before; what is not a whole
// JPEG is refused, a cut-short one too (its missing blocks would come back grey).
TEST(Jpeg, RepackedPicturesDecodeToTheSamePixels)
{
    QImage image = NewBitmap24(200, 120);
    QRandomGenerator rng(3);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200 * 3; ++x)
            image.scanLine(y)[x] = static_cast<uchar>((x + y) / 3 + rng.bounded(24));
    JpegLayout restarts;
    restarts.restartRows = 2;
    restarts.fullChroma = true;
    for (const QByteArray& jpeg : { EncodeJpeg(image, 80), EncodeJpeg(image, restarts) }) {
        const QByteArray repacked = RepackJpeg(jpeg);
        ASSERT_FALSE(repacked.isEmpty());
        EXPECT_LT(repacked.size(), jpeg.size());
        const JpegResult before = DecodeJpeg(jpeg);
        const JpegResult after = DecodeJpeg(repacked);
        ASSERT_EQ(after.status, JpegStatus::Ok);
        EXPECT_EQ(after.image, before.image);
        EXPECT_TRUE(repacked.contains("\xFF\xC2")) << "progressive";
    }
    const QByteArray jpeg = EncodeJpeg(image, 80);
    for (const QByteArray& bad : { jpeg.left(jpeg.size() / 2), jpeg.left(100),
             QByteArray("not a jpeg at all"), QByteArray() })
        EXPECT_TRUE(RepackJpeg(bad).isEmpty()) << bad.size();
}

// The JPEG with the square size `side` written into its frame header (baseline C0 or
// progressive C2); empty when there is no such header.
QByteArray ClaimingSide(QByteArray jpeg, const char* frameMarker, int side)
{
    const int sof = jpeg.indexOf(frameMarker);
    if (sof < 0)
        return {};
    for (int at : { 5, 7 }) {
        jpeg[sof + at] = static_cast<char>(side >> 8);
        jpeg[sof + at + 1] = static_cast<char>(side & 0xFF);
    }
    return jpeg;
}

TEST(Jpeg, RefusesHugeDimensionsBeforeDecoding)
{
    const QByteArray jpeg = ClaimingSide(EncodeJpeg(NewBitmap24(8, 8), 50), "\xFF\xC0", 30000);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_EQ(DecodeJpeg(jpeg).status, JpegStatus::TooLarge);
}

TEST(Jpeg, ProgressivePicturesDecodeButHostileOnesStopEarly)
{
    QImage image = NewBitmap24(24, 16);
    image.fill(QColor(200, 40, 90));
    // No chroma subsampling: the layout that keeps the most coefficients while decoding.
    JpegLayout layout;
    layout.progressive = layout.fullChroma = true;
    const QByteArray progressive = EncodeJpeg(image, layout);
    const JpegResult ok = DecodeJpeg(progressive);
    ASSERT_EQ(ok.status, JpegStatus::Ok);
    EXPECT_EQ(ok.image.size(), QSize(24, 16));

    // Within the side limit, but its coefficients alone would take 8000 * 8000 * 3 * 2
    // bytes: refused as too large, before the memory is taken.
    const QByteArray big = ClaimingSide(progressive, "\xFF\xC2", 8000);
    ASSERT_FALSE(big.isEmpty());
    const JpegResult tooBig = DecodeJpeg(big);
    EXPECT_EQ(tooBig.status, JpegStatus::TooLarge);
    EXPECT_FALSE(tooBig.message.isEmpty());

    // Thousands of scans (the last one repeated): each would redraw the picture, so the
    // decoder gives up on the file.
    const int lastScan = progressive.lastIndexOf("\xFF\xDA");
    const int end = progressive.lastIndexOf("\xFF\xD9");
    ASSERT_GT(lastScan, 0);
    ASSERT_GT(end, lastScan);
    QByteArray manyScans = progressive.left(end);
    const QByteArray scan = progressive.mid(lastScan, end - lastScan);
    for (int i = 0; i < 3000; ++i)
        manyScans += scan;
    manyScans += "\xFF\xD9";
    const JpegResult scans = DecodeJpeg(manyScans);
    EXPECT_EQ(scans.status, JpegStatus::Broken);
    EXPECT_TRUE(scans.image.isNull());
}

} // namespace
} // namespace pimoko
