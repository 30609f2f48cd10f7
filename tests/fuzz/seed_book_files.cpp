// Writes the first corpus of one of the book, settings, list, BMP and JPEG harnesses
// (SEED_HARNESS) from the project's own writers and test data into the folder given.
#include "book/book_list.h"
#include "book/open_book.h"
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"
#include "tests/book/book_test_data.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace pimoko;

namespace {

QString g_out;

// Files meant for another harness than this program's are skipped. Both book harnesses
// start from the books.
void Put(const QString& folder, const QString& name, const QByteArray& bytes)
{
    const QString harness = QStringLiteral(SEED_HARNESS);
    const QString meantFor = QFileInfo(folder).fileName();
    const bool book
        = meantFor == QLatin1String("load_book") && harness == QLatin1String("round_trip_book");
    if (meantFor != harness && !book)
        return;
    QFile f(QDir(g_out).filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QImage Picture(int w, int h)
{
    QImage image = NewBitmap24(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, QColor((x * 37) & 255, (y * 11) & 255, (x ^ y) & 255));
    return image;
}

// JPEG layouts the baseline writer does not make: progressive scans, one grey component,
// restart markers, and no chroma subsampling.
QByteArray OtherJpeg(const QImage& image, bool progressive, bool grey, int restartRows)
{
    JpegLayout layout;
    layout.quality = 60;
    layout.progressive = progressive;
    layout.grey = grey;
    layout.fullChroma = !grey;
    layout.restartRows = restartRows;
    return EncodeJpeg(image, layout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    const QString out = QStringLiteral(".");
    const QString books = out + "/load_book";
    QStringList lines = test::WindowsHeader();
    lines << test::WindowsBlock(QStringLiteral("はじまり"), QStringLiteral("C:\\絵本\\sora.bmp"),
        false, { QStringLiteral("むかしむかし、"), QStringLiteral("あるところに。") },
        { QStringLiteral("100"), QStringLiteral("120"), QStringLiteral("0") });
    lines << test::WindowsBlock(
        QStringLiteral("くも"), QStringLiteral("kumo.jpg"), true, {}, {}, true, 1);
    Put(books, "windows_book", test::WindowsLines(lines));
    lines = test::WindowsHeader();
    lines << test::WindowsBlock(QStringLiteral("古い"), QString(), false,
        { QStringLiteral("本文") }, { QStringLiteral("5") }, false);
    Put(books, "old_book", test::WindowsLines(lines));
    Put(books, "file_type", "<FILE TYPE>\r\nB\r\n" + test::WindowsLines(test::WindowsHeader()));
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, out);
    for (int n = 1; n <= 3; ++n) {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.Title = QStringLiteral("ページ%1").arg(n);
        p.TextLines = { QStringLiteral("テキスト"), QStringLiteral("二行目") };
        p.CharDelays[0] = 100;
        p.FillImage = n == 2;
        p.FillColor = 255;
        p.LinkPage = 3;
    }
    Put(books, "saved_book", JoinSjisLines(book.BookFileLines()));
    Put(books, "runtime_book", JoinSjisLines(book.BookFileLines(true, true)));

    for (const auto& [name, size] : { std::pair { "small", QSize(4, 3) },
             std::pair { "odd", QSize(7, 5) }, std::pair { "page", QSize(64, 48) } }) {
        const QImage image = Picture(size.width(), size.height());
        Put(out + "/read_bmp", QString("%1_24.bmp").arg(name), EncodeBmp24(image));
        Put(out + "/decode_jpeg", QString("%1_q80.jpg").arg(name), EncodeJpeg(image, 80));
        Put(out + "/decode_jpeg", QString("%1_q5.jpg").arg(name), EncodeJpeg(image, 5));
        Put(out + "/decode_jpeg", QString("%1_prog.jpg").arg(name),
            OtherJpeg(image, true, false, 0));
        Put(out + "/decode_jpeg", QString("%1_grey.jpg").arg(name),
            OtherJpeg(image, false, true, 0));
        Put(out + "/decode_jpeg", QString("%1_greyprog.jpg").arg(name),
            OtherJpeg(image, true, true, 0));
        Put(out + "/decode_jpeg", QString("%1_restart.jpg").arg(name),
            OtherJpeg(image, false, false, 1));
        // Other depths and compressions through Qt's writer, which the reader must take.
        for (auto fmt : { QImage::Format_Mono, QImage::Format_Indexed8, QImage::Format_RGB32,
                 QImage::Format_ARGB32 }) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.convertToFormat(fmt).save(&buffer, "BMP");
            Put(out + "/read_bmp", QString("%1_f%2.bmp").arg(name).arg(int(fmt)), bytes);
        }
    }
    Put(out + "/read_settings", "v13",
        test::WindowsLines({ "PBOOK_INIFILE_V13", "ＭＳ 明朝", "Type_BI", "-24", "255", "T",
            "8421504", "F", "10", "20", "80", "300", "1", "4", "T", "2" }));
    Put(out + "/read_settings", "v12",
        test::WindowsLines({ "PBOOK_INIFILE_V12", "ＭＳ ゴシック", "Type_", "18", "0", "F", "0",
            "T", "0", "0", "100", "500", "20", "0" }));
    Put(out + "/read_settings", "v08",
        test::WindowsLines({ "PBOOK_INIFILE_V08", "font", "Type_U", "12", "0", "F", "0", "F", "5",
            "5", "50", "0", "3" }));
    Put(out + "/read_settings", "v03",
        test::WindowsLines({ "PBOOK_INIFILE_V03", "font", "18", "0", "100", "500", "1" }));
    TBookList list;
    list.AddBook(
        QStringLiteral("\\BOOKS\\P2002_0315(1)\\NewBook.pmk"), QStringLiteral("そらのえほん"));
    list.AddBook(
        QStringLiteral("C:\\絵本\\umi.pmk"), QStringLiteral("（ファイルが見つかりません）"));
    QStringList listLines = { kBookListHeader };
    for (const BookListEntry& e : list.Entries)
        listLines << e.Title << list.Slots[e.Slot].FileName;
    Put(out + "/read_book_list", "two_books", JoinSjisLines(listLines));
    Put(out + "/read_book_list", "distribution",
        JoinSjisLines({ kBookListHeader, "本", kRuntimeBookListPath }));
    return 0;
}
