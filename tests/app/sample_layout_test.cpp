#include "book/book_list.h"
#include "book/open_book.h"
#include "book/settings_file.h"
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "platform/line_file.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>

namespace pimoko {
namespace {

bool LayOut(const QString& folder, const QStringList& extra = {})
{
    QProcess tool;
    tool.start(
        QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko-sample"), QStringList { folder } + extra);
    return tool.waitForFinished(120000) && tool.exitStatus() == QProcess::NormalExit
        && tool.exitCode() == 0;
}

QImage ReadPicture(const QString& path)
{
    if (HasExtension(path, QStringLiteral(".bmp")))
        return ReadBmp(path);
    const JpegResult jpeg = ReadJpeg(path);
    return jpeg.status == JpegStatus::Ok ? jpeg.image : QImage();
}

class SampleLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new test::TempFolder;
        root = dir->path();
        laidOut = LayOut(root);
    }
    static void TearDownTestSuite()
    {
        QDir::setCurrent(QDir::tempPath());
        delete dir;
    }

    static inline test::TempFolder* dir = nullptr;
    static inline QString root;
    static inline bool laidOut = false;
};

TEST_F(SampleLayoutTest, StartupFolderHasSettingsListFoldersPensAndPlayer)
{
    ASSERT_TRUE(laidOut);
    const TSettings settings = ReadSettings(root);
    EXPECT_EQ(settings.Version, 13);
    EXPECT_FALSE(settings.PlayerMode);
    EXPECT_FALSE(settings.Damaged);

    TBookList list;
    ReadBookList(root, &list);
    ASSERT_EQ(list.Entries.size(), 1);
    EXPECT_TRUE(
        QFileInfo(ResolveBookPath(root, list.Slots[list.Entries[0].Slot].FileName)).isFile());

    for (const char* folder : { "BOOKS", "Temp", "pen", "Deleted", "Player" })
        EXPECT_TRUE(QFileInfo(QDir(root).filePath(QString::fromLatin1(folder))).isDir()) << folder;
    EXPECT_TRUE(
        QFileInfo(QDir(root).filePath(QStringLiteral("Player/PimokoP.exe"))).isExecutable());
    for (int n = 1; n <= 10; ++n) {
        const QImage pen = ReadBmp(QDir(root).filePath(QStringLiteral("pen/Brush%1.bmp").arg(n)));
        ASSERT_FALSE(pen.isNull()) << n;
        EXPECT_LE(pen.width(), 64);
        // The bottom-left pixel is the colour left out when the pen stamps.
        const QColor key = pen.pixelColor(0, pen.height() - 1);
        EXPECT_EQ(key, QColor(Qt::black)) << n;
        EXPECT_NE(pen, QImage(pen.size(), pen.format())) << "pen " << n << " is not empty";
        // Apart from the soft round pen, no pixel lies half way to the black left out: it
        // would stamp as a dark rim.
        int rim = 0;
        for (int y = 0; y < pen.height(); ++y)
            for (int x = 0; x < pen.width(); ++x) {
                const QColor c = pen.pixelColor(x, y);
                const int brightest = std::max({ c.red(), c.green(), c.blue() });
                rim += n != 4 && brightest > 0 && brightest < 60 ? 1 : 0;
            }
        EXPECT_EQ(rim, 0) << "pen " << n;
    }
}

TEST_F(SampleLayoutTest, SampleBookShowsWhatTheProgramCanDo)
{
    ASSERT_TRUE(laidOut);
    const QString folder = QDir(root).filePath(QStringLiteral("BOOKS/Sample"));
    QStringList lines;
    ASSERT_TRUE(ReadLineFile(QDir(folder).filePath(QStringLiteral("ehon.pmk")), &lines));
    // Every character went into Shift_JIS: nothing was replaced on the way.
    EXPECT_FALSE(lines.join(QString()).contains(QLatin1Char('?')));

    ScriptedPromptPort prompt;
    TOpenBook book(prompt, root);
    ASSERT_TRUE(book.LoadBook(QDir(folder).filePath(QStringLiteral("ehon.pmk"))));
    EXPECT_EQ(book.BookTitle, QStringLiteral("ピモコのさんぽ"));

    bool fade = false, keyedClip = false, vertical = false, horizontal = false, shadow = false,
         highlight = false, varied = false, wait = false, link = false, jump = false, back = false,
         reveal = false, wav = false, midi = false;
    int pages = 0;
    for (int n = 1; n <= TOpenBook::kPageCount && book.Page(n).InUse; ++n) {
        const TNovelPage& p = book.Page(n);
        ++pages;
        fade |= p.PicEffect == 1 && !p.PictureFile.isEmpty();
        keyedClip |= p.ClipMode && p.ClipTransparent;
        vertical |= p.Vertical && !p.TextLines.isEmpty();
        horizontal |= !p.Vertical && !p.TextLines.isEmpty();
        shadow |= p.Shadow && !p.Highlight;
        highlight |= p.Highlight && p.Shadow;
        wait |= p.Period;
        link |= p.LinkPage > 0 && book.Page(p.LinkPage).InUse;
        jump |= p.GotoPage > 0 && book.Page(p.GotoPage).InUse && p.GotoPage != n + 1;
        back |= p.DrawToBackBuffer && n < 300 && book.Page(n + 1).ShowBackBuffer;
        reveal |= p.ShowBackBuffer;
        wav |= HasExtension(p.SoundFile, QStringLiteral(".wav"));
        midi |= HasExtension(p.SoundFile, QStringLiteral(".mid"));
        QSet<int> delays;
        for (int i = 0; i < TNovelPage::kCharDelayCount && p.CharDelays[i] >= 0; ++i)
            delays.insert(p.CharDelays[i]);
        varied |= delays.size() >= 3;

        if (!p.PictureFile.isEmpty()) {
            const QImage picture = ReadPicture(QDir(folder).filePath(p.PictureFile));
            ASSERT_FALSE(picture.isNull()) << p.PictureFile.toStdString();
            if (p.ClipMode)
                EXPECT_EQ(picture.pixelColor(0, picture.height() - 1), QColor(255, 0, 255));
            else
                EXPECT_EQ(picture.size(), QSize(640, 480));
        }
        if (!p.SoundFile.isEmpty()) {
            EXPECT_TRUE(QFileInfo(QDir(folder).filePath(p.SoundFile)).isFile());
        }
    }
    EXPECT_GE(pages, 10);
    EXPECT_TRUE(fade && keyedClip && vertical && horizontal && shadow && highlight && varied);
    EXPECT_TRUE(wait && link && jump && back && reveal && wav && midi);

    const QByteArray wavBytes = test::ReadAll(QDir(folder).filePath(QStringLiteral("hop.wav")));
    ASSERT_GT(wavBytes.size(), 44);
    EXPECT_TRUE(wavBytes.startsWith("RIFF") && wavBytes.mid(8, 8) == "WAVEfmt ");
    EXPECT_EQ(qFromLittleEndian<quint32>(wavBytes.constData() + 4), quint32(wavBytes.size() - 8));
    const QByteArray midiBytes = test::ReadAll(QDir(folder).filePath(QStringLiteral("tune.mid")));
    EXPECT_TRUE(midiBytes.startsWith("MThd"));
    EXPECT_EQ(midiBytes.mid(14, 4), QByteArray("MTrk"));
    EXPECT_EQ(qFromBigEndian<quint32>(midiBytes.constData() + 18), quint32(midiBytes.size() - 22));
    EXPECT_TRUE(midiBytes.endsWith(QByteArray("\xFF\x2F\x00", 3)));
}

TEST(SampleLayout, LayingOutAgainKeepsTheUsersBooksAndSettings)
{
    test::TempFolder dir;
    ASSERT_TRUE(LayOut(dir.path()));
    const QString list = BookListFilePath(dir.path());
    QStringList lines;
    ASSERT_TRUE(ReadLineFile(list, &lines));
    lines << QStringLiteral("わたしの本") << QStringLiteral("/home/me/mine.pmk");
    ASSERT_TRUE(WriteLineFile(list, lines));
    ASSERT_TRUE(LayOut(dir.path()));
    QStringList again;
    ASSERT_TRUE(ReadLineFile(list, &again));
    EXPECT_EQ(again, lines);

    ASSERT_TRUE(LayOut(dir.path(), { QStringLiteral("--without-settings") }));
    EXPECT_TRUE(ReadSettings(dir.path()).FileMissing);
}

} // namespace
} // namespace pimoko
