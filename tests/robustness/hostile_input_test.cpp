#include "book/book_list.h"
#include "book/open_book.h"
#include "book/settings_file.h"
#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/jpeg_codec.h"
#include "platform/prompt_port.h"
#include "player/compositor.h"
#include "player/compositor_pages.h"
#include "player/thumbnail_cache.h"
#include "tests/robustness/child_process.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <iostream>

namespace pimoko {
namespace {

// The most any single hostile file may make the program allocate. Sanitizer builds keep
// freed memory in quarantine and add shadow memory, so the figure is generous; the plain
// figures are printed with each case.
constexpr long kMemoryLimitKb = 400 * 1024;

// Runs the work in a child, so that a crash, a runaway allocation or an overrun (the
// sanitizers end the child) fails the case without taking the suite down, and reports
// the child's memory growth.
QByteArray RunHostile(const char* name, const std::function<QByteArray()>& work)
{
    const test::ChildOutcome out = test::RunInChild(work);
    EXPECT_TRUE(out.exited && out.exitCode == 0)
        << name << ": the child ended with signal " << out.signal << " / code " << out.exitCode;
    std::cout << "[hostile] " << name << ": peak memory growth " << out.peakGrowthKb / 1024
              << " MB\n";
    EXPECT_LT(out.peakGrowthKb, kMemoryLimitKb) << name;
    return out.reply;
}

QByteArray BookHeader()
{
    return "=============================================\r\n"
        + test::Sjis(QStringLiteral("モルカ絵本ファイルVer1.26"))
        + "\r\n<BOOK TITLE>\r\nhostile\r\n<ESCAPEMENT>\r\n\r\n"
          "<DEFAULT>\r\nfont\r\nType_\r\n-18\r\n0\r\nT\r\n0\r\nF\r\n0\r\n0\r\n100\r\n500\r\n"
          "<DEFAULT LINE PITCH>\r\n0\r\n<DEFAULT HIGHLIGHT>\r\nF\r\n1\r\n"
          "=============================================\r\n";
}

QByteArray BlockWith(const QByteArray& text, const QByteArray& rhyme)
{
    return "<TITLE>\r\nhostile page\r\n<PICTURE>\r\n\r\n<BEGIN TEXT>\r\n" + text
        + "<END TEXT>\r\n<BEGIN RHYME>\r\n" + rhyme
        + "<END RHYME>\r\n<PERIOD>\r\nT\r\n<LINK PAGE>\r\n0\r\n<GOTO PAGE>\r\n2\r\n"
          "--------------------------\r\n";
}

// One outcome line per case, compared in the parent.
QByteArray Outcome(bool loaded, const ScriptedPromptPort& prompt, const QString& extra = {})
{
    return (QStringLiteral("%1|%2|%3").arg(loaded ? 1 : 0).arg(prompt.LastText(), extra)).toUtf8();
}

TEST(HostileInput, HugeBookFileIsRefusedWithAMessage)
{
    test::TempFolder tmp;
    const QString path = tmp.file(QStringLiteral("huge.pmk"));
    {
        // 200 MB of short delay lines: the worst case for a reader that keeps every line.
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(BookHeader() + "<TITLE>\r\nbig\r\n<BEGIN RHYME>\r\n");
        const QByteArray chunk = QByteArray("100\r\n").repeated(1 << 20);
        while (f.size() < (qint64(200) << 20))
            ASSERT_EQ(f.write(chunk), chunk.size());
        f.write("<END RHYME>\r\n");
    }
    const QByteArray reply = RunHostile("200 MB book file", [&] {
        ScriptedPromptPort prompt;
        TOpenBook book(prompt, tmp.path());
        const bool loaded = book.LoadBook(path);
        return Outcome(loaded, prompt, book.BookFilePath);
    });
    EXPECT_EQ(QString::fromUtf8(reply), QStringLiteral("0|ファイルを開けませんでした。|"));
}

TEST(HostileInput, TenMegabyteLineAndHundredThousandDelaysLoadQuietly)
{
    test::TempFolder tmp;
    // Page 1: one text line of 10 MB. Page 2: 100,000 delay values, then its flow tags.
    QByteArray longLine = test::Sjis(QStringLiteral("あ")).repeated(5 << 20) + "\r\n";
    QByteArray manyDelays;
    for (int i = 0; i < 100000; ++i)
        manyDelays += QByteArray::number(i % 30000) + "\r\n";
    const QString path = test::WriteFile(tmp.file(QStringLiteral("long.pmk")),
        BookHeader() + BlockWith(longLine, "5\r\n") + BlockWith("short\r\n", manyDelays));
    longLine.clear();

    const QByteArray reply = RunHostile("10 MB line, 100,000 delays", [&] {
        ScriptedPromptPort prompt;
        TOpenBook book(prompt, tmp.path());
        const bool loaded = book.LoadBook(path);
        const TNovelPage& p1 = book.Page(1);
        const TNovelPage& p2 = book.Page(2);
        // The 2001 delays hold the first values; nothing past them is touched, and the
        // tags after the long rhyme block are still read.
        bool delaysOk = p2.CharDelays[0] == 0 && p2.CharDelays[2000] == 2000;
        const QString extra = QStringLiteral("%1,%2,%3,%4,%5,%6")
                                  .arg(p1.TextLines.size())
                                  .arg(p1.TextLines.value(0).size())
                                  .arg(p1.CharDelays[0])
                                  .arg(delaysOk ? 1 : 0)
                                  .arg(p2.Period && p2.GotoPage == 2 ? 1 : 0)
                                  .arg(book.Page(3).InUse ? 1 : 0);
        return Outcome(loaded, prompt, extra);
    });
    EXPECT_EQ(QString::fromUtf8(reply), QStringLiteral("1||1,5242880,5,1,1,0"));
}

QByteArray BmpHeaderClaiming(qint32 width, qint32 height)
{
    QByteArray b = EncodeBmp24(NewBitmap24(4, 4));
    auto put32 = [&b](int at, qint32 v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(18, width);
    put32(22, height);
    return b;
}

// A small baseline JPEG whose frame header claims another size.
QByteArray JpegClaiming(int width, int height)
{
    QByteArray j = EncodeJpeg(NewBitmap24(16, 16), 80);
    const int sof = j.indexOf("\xFF\xC0");
    if (sof < 0)
        return {};
    j[sof + 5] = static_cast<char>(height >> 8);
    j[sof + 6] = static_cast<char>(height & 0xFF);
    j[sof + 7] = static_cast<char>(width >> 8);
    j[sof + 8] = static_cast<char>(width & 0xFF);
    return j;
}

bool AllBlack(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < image.width() * 3; ++x)
            if (row[x] != 0)
                return false;
    }
    return true;
}

// A page picture the reader cannot take gives the black background of a missing file.
QByteArray PictureOutcome(const QString& folder, const QString& name)
{
    ManualClock clock;
    Compositor compositor(clock);
    compositor.SetBookFolder(folder);
    compositor.FillBackBuffer(0x00FFFFFF);
    compositor.LoadPictureToBackBuffer(name);
    const QImage& bb = compositor.BackBuffer();
    return QByteArray::number(bb.width()) + "x" + QByteArray::number(bb.height())
        + (AllBlack(bb) ? " black" : " drawn");
}

TEST(HostileInput, PicturesClaimingHugeSizesGiveABlackBackground)
{
    test::TempFolder tmp;
    test::WriteFile(tmp.file(QStringLiteral("huge.bmp")), BmpHeaderClaiming(100000, 100000));
    test::WriteFile(tmp.file(QStringLiteral("upside.bmp")), BmpHeaderClaiming(100000, -100000));
    const QByteArray jpeg = JpegClaiming(30000, 30000);
    ASSERT_FALSE(jpeg.isEmpty());
    test::WriteFile(tmp.file(QStringLiteral("huge.jpg")), jpeg);

    EXPECT_EQ(RunHostile("BMP claiming 100,000 x 100,000",
                  [&] { return PictureOutcome(tmp.path(), QStringLiteral("huge.bmp")); }),
        "640x480 black");
    EXPECT_EQ(RunHostile("BMP claiming 100,000 x -100,000",
                  [&] { return PictureOutcome(tmp.path(), QStringLiteral("upside.bmp")); }),
        "640x480 black");
    EXPECT_EQ(RunHostile("JPEG of 30,000 x 30,000",
                  [&] {
                      const JpegResult r = DecodeJpeg(jpeg);
                      return QByteArray::number(static_cast<int>(r.status)) + " "
                          + PictureOutcome(tmp.path(), QStringLiteral("huge.jpg"));
                  }),
        QByteArray::number(static_cast<int>(JpegStatus::TooLarge)) + " 640x480 black");
}

TEST(HostileInput, BookListOfTenThousandEntriesFillsTheSlotsOnly)
{
    test::TempFolder tmp;
    QByteArray list = "PBOOK_LISTFILE_V03\r\n";
    for (int i = 1; i <= 10000; ++i)
        list += "book " + QByteArray::number(i) + "\r\n\\BOOKS\\b" + QByteArray::number(i)
            + "\\NewBook.pmk\r\n";
    test::WriteFile(tmp.file(kBookListFileName), list);
    const QByteArray reply = RunHostile("book list of 10,000 entries", [&] {
        TBookList books;
        ReadBookList(tmp.path(), &books);
        int used = 0;
        for (const TBook& b : books.Slots)
            used += b.Used ? 1 : 0;
        return QByteArray::number(books.Entries.size()) + " " + QByteArray::number(used) + " "
            + books.Slots[299].FileName.toUtf8() + " " + books.Entries.last().Title.toUtf8();
    });
    EXPECT_EQ(reply, "300 300 \\BOOKS\\b300\\NewBook.pmk book 300");
}

TEST(HostileInput, SettingsFileOfOneLineStartsWithStartupValues)
{
    test::TempFolder known, unknown, bare;
    test::WriteFile(known.file(QStringLiteral("ini.dat")), "PBOOK_INIFILE_V13\r\n");
    test::WriteFile(unknown.file(QStringLiteral("ini.dat")), QByteArray(1 << 20, 'x'));
    test::WriteFile(bare.file(QStringLiteral("ini.dat")), "PBOOK_INIFILE_V08");
    const QByteArray reply = RunHostile("ini.dat of one line", [&] {
        QByteArray out;
        for (const QString& folder : { known.path(), unknown.path(), bare.path() }) {
            const TSettings s = ReadSettings(folder);
            const TSettings startup;
            const bool startupValues = s.DefaultFontName == startup.DefaultFontName
                && s.DefaultFontHeight == startup.DefaultFontHeight
                && s.DefaultCharDelay == startup.DefaultCharDelay
                && s.DefaultEffectWaitText == startup.DefaultEffectWaitText
                && s.TransitionFineness == startup.TransitionFineness;
            out += QByteArray::number(s.Version) + (s.PlayerMode ? " player" : " editor")
                + (s.Damaged ? " damaged" : "") + (startupValues ? " startup;" : " changed;");
        }
        return out;
    });
    // A known marker alone keeps the authoring mode with the start-up values; anything
    // else is player mode, quietly.
    EXPECT_EQ(reply, "13 editor damaged startup;0 player startup;8 editor damaged startup;");
}

TEST(HostileInput, ThumbnailFileThatIsNoBitmapIsComposedAgain)
{
    test::TempFolder tmp;
    const QByteArray reply = RunHostile("thumbnail file that is not a BMP", [&] {
        ThumbnailCache cache(tmp.path());
        TNovelPage page;
        page.InUse = true;
        page.FillImage = true;
        page.FillColor = 0x000000FF; // red
        const PageSource pages = [&page](int) -> const TNovelPage& { return page; };
        QImage composed;
        ComposePage(pages, 1, composed, ResolverForFolder(tmp.path()), &cache);
        cache.SaveThumbnail(1, 0, composed);
        QByteArray out = cache.IsValid(1, 0) ? "cached" : "not cached";
        const QString file = cache.FileName(1, 0);
        for (const QByteArray& junk : { QByteArray("this is no bitmap\r\n"), QByteArray(),
                 BmpHeaderClaiming(100000, 100000) }) {
            test::WriteFile(file, junk);
            QImage target;
            out += cache.LoadThumbnail(1, 0, target) ? " loaded" : " refused";
            QImage again;
            ComposePage(pages, 1, again, ResolverForFolder(tmp.path()), &cache);
            out += " " + QByteArray::number(again.width()) + "x"
                + QByteArray::number(again.height());
            out += again.pixelColor(10, 10) == QColor(Qt::red) ? " red" : " wrong";
        }
        return out;
    });
    EXPECT_EQ(reply, "cached refused 640x480 red refused 640x480 red refused 640x480 red");
}

} // namespace
} // namespace pimoko
