#include "book/open_book.h"
#include "platform/prompt_port.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace pimoko {
namespace {

struct ProcessRun {
    int code = -1;
    QByteArray out;
    QString err;
};

ProcessRun Start(const QString& program, const QStringList& args, const QString& folder)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(program, args);
    ProcessRun r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

ProcessRun Tool(const QStringList& args, const QString& folder)
{
    return Start(QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko-book"), args, folder);
}

QByteArray JsonString(const QString& s)
{
    return QJsonDocument(QJsonArray { s }).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}

// The trace's lines with each media file named by its last path part, as the web trace
// names it (the author's folders are not written into a published folder); everything
// else, the order of the keys too, compares as printed.
std::string Normalised(const QList<QByteArray>& lines)
{
    std::string out;
    for (QByteArray line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.contains(QStringLiteral("file"))) {
            const QString f = o.value(QStringLiteral("file")).toString();
            const QString name = f.mid(f.lastIndexOf(QRegularExpression("[/\\\\]")) + 1);
            line.replace("\"file\":" + JsonString(f), "\"file\":" + JsonString(name));
        }
        out += line.toStdString() + "\n";
    }
    return out;
}

class WebEdition : public ::testing::Test {
protected:
    void SetUp() override
    {
        chromium_ = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    }

    // The DOM headless Chromium leaves after running the page from disk, as a reader
    // opens it: no flag that widens what a file page may do.
    QString Browse(const QString& folder, const QString& query, const QStringList& extra = {})
    {
        QStringList args { QStringLiteral("--headless"), QStringLiteral("--disable-gpu"),
            QStringLiteral("--user-data-dir=") + tmp.file(QStringLiteral("chromium-profile")),
            QStringLiteral("--virtual-time-budget=60000") };
        if (geteuid() == 0)
            args << QStringLiteral("--no-sandbox"); // the sandbox refuses to run as root
        args << extra;
        const QUrl url = QUrl::fromLocalFile(QDir(folder).filePath(QStringLiteral("index.html")));
        args << url.toString() + QStringLiteral("?") + query;
        const ProcessRun r = Start(chromium_, args, tmp.path());
        EXPECT_EQ(r.code, 0) << qPrintable(r.err.right(2000));
        return QString::fromUtf8(r.out);
    }

    std::string WebTrace(const QString& folder, const QString& script)
    {
        const QString dom = Browse(folder,
            QStringLiteral("trace&input=") + QString::fromUtf8(QUrl::toPercentEncoding(script)),
            { QStringLiteral("--dump-dom") });
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("<pre id=\"trace\">(.*?)</pre>"),
                QRegularExpression::DotMatchesEverythingOption)
                  .match(dom);
        EXPECT_TRUE(m.hasMatch()) << qPrintable(dom.left(2000));
        QString text = m.captured(1);
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&nbsp;"), QStringLiteral("\u00a0"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        return Normalised(text.toUtf8().split('\n'));
    }

    // Exports the book and requires the web trace to equal the desktop's for the script.
    void ExpectSameTrace(const QString& book, const QString& script)
    {
        const QString out = tmp.file(QStringLiteral("web-") + QString::number(++exports_));
        const ProcessRun web = Tool({ QStringLiteral("web"), book, out }, tmp.path());
        ASSERT_EQ(web.code, 0) << qPrintable(web.err);
        const ProcessRun play
            = Tool({ QStringLiteral("play"), book, QStringLiteral("--input"), script },
                QFileInfo(book).path());
        ASSERT_EQ(play.code, 0) << qPrintable(play.err);
        const std::string desktop = Normalised(play.out.split('\n'));
        ASSERT_FALSE(desktop.empty());
        EXPECT_EQ(WebTrace(out, script), desktop);
    }

    QString WriteBook(const TOpenBook& book, const QString& name)
    {
        QByteArray bytes;
        for (const QString& line : book.BookFileLines())
            bytes += test::Sjis(line) + "\r\n";
        return test::WriteFile(tmp.file(name), bytes);
    }

    TNovelPage& Use(TOpenBook& book, int n, const QString& text, int delay)
    {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.Title = QStringLiteral("p%1").arg(n);
        p.FontName = QStringLiteral("ＭＳ 明朝");
        p.FontHeight = 24;
        p.FontColor = 0xFFFFFF;
        p.TextX = 40;
        p.TextY = 40;
        if (!text.isEmpty())
            p.TextLines = QStringList { text };
        for (int i = 0; i < text.size(); ++i)
            p.CharDelays[i] = static_cast<qint16>(delay);
        return p;
    }

    struct Difference {
        int outside = 0; // pixels outside the text boxes that differ at all
        double inside = 0; // percent of the text boxes' pixels that differ at all
        double far = 0; // percent that differ by more than a quarter in a channel
    };

    // Inside a text box a pixel counts as far off when a channel is off by more than a
    // quarter: two rasterisers cover glyph edges a little differently.
    static bool Far(QRgb p, QRgb q)
    {
        return std::abs(qRed(p) - qRed(q)) > 64 || std::abs(qGreen(p) - qGreen(q)) > 64
            || std::abs(qBlue(p) - qBlue(q)) > 64;
    }

    static Difference Compare(const QImage& a, const QImage& b, const QVector<QRect>& boxes)
    {
        Difference d;
        int inside = 0, far = 0, all = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                bool inText = false;
                for (const QRect& box : boxes)
                    inText = inText || box.contains(x, y);
                const bool differs = a.pixel(x, y) != b.pixel(x, y);
                all += inText;
                if (inText) {
                    inside += differs;
                    far += Far(a.pixel(x, y), b.pixel(x, y));
                } else {
                    d.outside += differs;
                }
            }
        d.inside = all ? 100.0 * inside / all : 0.0;
        d.far = all ? 100.0 * far / all : 0.0;
        return d;
    }

    // Each page at its "done" event, as headless Chromium shows it, equals the player's
    // own picture at that event and pimoko-book render of the page on every pixel
    // outside the text boxes. Inside them the browser's rasteriser draws glyph edges a
    // little differently; the page composer's text engine also sets the glyphs on whole
    // pixels where the player sets them on quarter pixels, so the render differs more.
    // Underline and strike-out bars cover what the player's bars cover.
    void ExpectPagesLookTheSame(const QString& book, const QString& out, double renderLimit = 5.0)
    {
        ASSERT_EQ(Tool({ QStringLiteral("web"), book, out }, tmp.path()).code, 0);
        const QJsonArray pages
            = QJsonDocument::fromJson(test::ReadAll(QDir(out).filePath("book.json")))
                  .object()
                  .value("pages")
                  .toArray();
        QMap<int, QJsonObject> byNumber;
        for (const QJsonValue& v : pages)
            byNumber.insert(v.toObject().value("page").toInt(), v.toObject());

        const QString script = QStringLiteral("advance;").repeated(20);
        const QString frames = tmp.file(QStringLiteral("frames"));
        const ProcessRun play = Tool({ QStringLiteral("play"), book, QStringLiteral("--input"),
                                         script, QStringLiteral("--frames"), frames },
            tmp.path());
        QList<int> done;
        for (const QByteArray& line : play.out.split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            if (o.value("event").toString() == QLatin1String("done")
                && !done.contains(o["page"].toInt()))
                done << o.value("page").toInt();
        }
        ASSERT_FALSE(done.isEmpty());

        for (const int n : done) {
            SCOPED_TRACE(n);
            const QString shot = tmp.file(QStringLiteral("web-%1.png").arg(n));
            const QString desk = tmp.file(QStringLiteral("desk-%1.png").arg(n));
            Browse(out, QStringLiteral("shot=%1&input=%2").arg(n).arg(script),
                { QStringLiteral("--hide-scrollbars"), QStringLiteral("--window-size=640,480"),
                    QStringLiteral("--screenshot=") + shot });
            ASSERT_EQ(Tool({ QStringLiteral("render"), book, QStringLiteral("--page"),
                               QString::number(n), QStringLiteral("--out"), desk },
                          tmp.path())
                          .code,
                0);
            // The texts on the page: its own and those of the pages since its background.
            QVector<QRect> boxes;
            for (int k = n; k >= 1; --k) {
                const QJsonObject p = byNumber.value(k);
                const QJsonArray r = p.value("web").toObject().value("textRect").toArray();
                if (!p.value("TextLines").toArray().isEmpty() && r.size() == 4)
                    boxes << QRect(QPoint(r[0].toInt(), r[1].toInt()),
                        QPoint(r[2].toInt() - 1, r[3].toInt() - 1));
                if ((!p.value("PictureFile").toString().isEmpty() && !p.value("ClipMode").toBool())
                    || p.value("FillImage").toBool())
                    break;
            }
            const QImage web = QImage(shot).convertToFormat(QImage::Format_RGB32);
            const QImage render = QImage(desk).convertToFormat(QImage::Format_RGB32);
            const QImage player
                = QImage(QDir(frames).filePath(
                             QStringLiteral("page-%1.png").arg(n, 3, 10, QLatin1Char('0'))))
                      .convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(web.size(), QSize(640, 480));
            ASSERT_EQ(render.size(), QSize(640, 480));
            ASSERT_EQ(player.size(), QSize(640, 480));
            const Difference toPlayer = Compare(web, player, boxes);
            const Difference toRender = Compare(web, render, boxes);
            std::printf("page %d: against the player %d pixels differ outside the text, inside "
                        "%.1f%% differ and %.1f%% by more than a quarter; against render %d, "
                        "%.1f%%, %.1f%%\n",
                n, toPlayer.outside, toPlayer.inside, toPlayer.far, toRender.outside,
                toRender.inside, toRender.far);
            EXPECT_EQ(toPlayer.outside, 0);
            EXPECT_EQ(toRender.outside, 0);
            EXPECT_LE(toPlayer.far, 5.0);
            // The composer thickens a made-up bold on whole pixels.
            const bool bold = byNumber.value(n).value("FontStyle").toString().contains('B');
            EXPECT_LE(toRender.far, bold ? 12.0 : renderLimit);

            // On each pixel a bar covers whole the two pictures agree.
            const QJsonArray bars
                = byNumber.value(n).value("web").toObject().value("bars").toArray();
            int barPixels = 0, barFar = 0;
            for (const QJsonValue& ofChar : bars)
                for (const QJsonValue& r : ofChar.toArray()) {
                    const QJsonArray q = r.toArray();
                    const double left = q[0].toDouble(), top = q[1].toDouble();
                    for (int y = int(std::ceil(top)); y + 1 <= top + q[3].toDouble(); ++y)
                        for (int x = int(std::ceil(left)); x + 1 <= left + q[2].toDouble(); ++x) {
                            ++barPixels;
                            barFar += Far(web.pixel(x, y), player.pixel(x, y));
                        }
                }
            if (!bars.isEmpty()) {
                EXPECT_GT(barPixels, 0);
                EXPECT_LE(barFar, barPixels / 20) << barFar << " of " << barPixels;
            }
        }
    }

    test::TempFolder tmp;
    QString chromium_;
    int exports_ = 0;
};

TEST_F(WebEdition, RefusesABookThatDoesNotLoadAndAFullFolder)
{
    const ProcessRun missing
        = Tool({ QStringLiteral("web"), tmp.file("none.pmk"), tmp.file("out") }, tmp.path());
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.trimmed().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(tmp.file("out")));

    ScriptedPromptPort prompt;
    TOpenBook book(prompt, tmp.path());
    book.BookTitle = QStringLiteral("ほん");
    Use(book, 1, QStringLiteral("あ"), 0);
    const QString file = WriteBook(book, QStringLiteral("b/book.pmk"));
    test::WriteFile(tmp.file("full/keep.txt"), "mine");
    EXPECT_EQ(Tool({ QStringLiteral("web"), file, tmp.file("full") }, tmp.path()).code, 1);
    EXPECT_FALSE(QFileInfo::exists(tmp.file("full/index.html")));
    const ProcessRun forced = Tool(
        { QStringLiteral("web"), file, tmp.file("full"), QStringLiteral("--force") }, tmp.path());
    EXPECT_EQ(forced.code, 0) << qPrintable(forced.err);
    for (const char* name : { "index.html", "player.js", "book.json", "book.js", "keep.txt" })
        EXPECT_TRUE(QFileInfo(QDir(tmp.file("full")).filePath(name)).isFile()) << name;
    EXPECT_TRUE(test::ReadAll(tmp.file("full/book.js")).startsWith("window.BOOK = {\"defaults\""));
}

TEST_F(WebEdition, PicturesAreWrittenForTheBrowser)
{
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, tmp.path());
    QImage clip(8, 6, QImage::Format_RGB32);
    clip.fill(qRgb(0, 255, 0));
    clip.setPixel(3, 2, qRgb(200, 10, 10));
    QDir().mkpath(tmp.file("b"));
    ASSERT_TRUE(clip.save(tmp.file("b/clip.bmp"), "BMP"));
    // A camera's tag turning the picture a quarter: the desktop does not obey it, so the
    // browser must not see it.
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && clip.save(&buffer, "JPEG"));
    jpeg.insert(2,
        QByteArray::fromHex("ffe10022"
                            "457869660000"
                            "4d4d002a00000008"
                            "0001"
                            "011200030000000100060000"
                            "00000000"));
    test::WriteFile(tmp.file("b/pic.jpg"), jpeg);
    Use(book, 1, QString(), 0).PictureFile = QStringLiteral("pic.jpg");
    TNovelPage& p2 = Use(book, 2, QString(), 0);
    p2.PictureFile = QStringLiteral("clip.bmp");
    p2.ClipMode = true;
    p2.ClipTransparent = true;
    const QString file = WriteBook(book, QStringLiteral("b/book.pmk"));
    const ProcessRun r = Tool({ QStringLiteral("web"), file, tmp.file("out") }, tmp.path());
    ASSERT_EQ(r.code, 0) << qPrintable(r.err);
    const QJsonObject o
        = QJsonDocument::fromJson(test::ReadAll(tmp.file("out/book.json"))).object();
    const QJsonArray pages = o.value("pages").toArray();
    ASSERT_EQ(pages.size(), 2);
    const QString jpg = pages[0].toObject()["web"].toObject()["picture"].toString();
    const QString png = pages[1].toObject()["web"].toObject()["picture"].toString();
    EXPECT_EQ(QImage(QDir(tmp.file("out")).filePath(jpg)), QImage(tmp.file("b/pic.jpg")))
        << "a JPEG keeps its pixels";
    EXPECT_FALSE(test::ReadAll(QDir(tmp.file("out")).filePath(jpg)).contains("Exif"));
    const QImage written(QDir(tmp.file("out")).filePath(png));
    ASSERT_TRUE(png.endsWith(".png")) << qPrintable(png);
    EXPECT_EQ(qAlpha(written.pixel(0, 5)), 0) << "the key colour is transparent";
    EXPECT_EQ(written.pixel(3, 2), qRgb(200, 10, 10));
}

TEST_F(WebEdition, TheBrowserPlaysTheSameTimelineAsTheDesktop)
{
    if (chromium_.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it): the web "
                        "player's trace is not compared";
    ScriptedPromptPort prompt;

    // A fill, a sound and a period; a picture faded in; a clip into the back buffer shown
    // by the next page with a fade; a goto past a page; a vertical text written whole
    // whose text links back.
    TOpenBook small(prompt, tmp.path());
    small.BookTitle = QStringLiteral("ちいさなほん");
    test::WriteFile(tmp.file("s/a.wav"), "RIFF....WAVE");
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(tmp.file("s/pic.bmp"), "BMP"));
    TNovelPage& p1 = Use(small, 1, QStringLiteral("あ い"), 7);
    p1.CharDelays[1] = 0;
    p1.FillImage = true;
    p1.FillColor = 0x0000FF;
    p1.SoundFile = QStringLiteral("a.wav");
    p1.Period = true;
    TNovelPage& p2 = Use(small, 2, QStringLiteral("もどる"), 3);
    p2.PictureFile = QStringLiteral("pic.bmp");
    p2.PicEffect = 1;
    p2.EffectWait = 2;
    p2.Period = true;
    TNovelPage& p3 = Use(small, 3, QStringLiteral("うら"), 4);
    p3.PictureFile = QStringLiteral("pic.bmp");
    p3.ClipMode = true;
    p3.ClipX = 300;
    p3.DrawToBackBuffer = true;
    p3.SoundStop = true;
    TNovelPage& p4 = Use(small, 4, QStringLiteral("おもて"), 0);
    p4.ShowBackBuffer = true;
    p4.PicEffect = 1;
    p4.EffectWait = 0;
    p4.GotoPage = 6;
    Use(small, 5, QStringLiteral("とばす"), 1);
    TNovelPage& p6 = Use(small, 6, QStringLiteral("かきこみ"), 9);
    p6.WriteAll = true;
    p6.Vertical = true;
    p6.TextX = 500;
    p6.Shadow = true;
    p6.Highlight = true;
    p6.LinkPage = 1;
    p6.Period = true;
    const QString smallBook = WriteBook(small, QStringLiteral("s/small.pmk"));

    const ProcessRun sample = Start(QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko-sample"),
        { tmp.file("startup"), QStringLiteral("--without-settings") }, tmp.path());
    ASSERT_EQ(sample.code, 0) << qPrintable(sample.err);
    const QString sampleBook = tmp.file("startup/BOOKS/Sample/ehon.pmk");
    ASSERT_TRUE(QFileInfo(sampleBook).isFile());

    struct Case {
        QString book;
        const char* script;
    };
    const Case cases[] = {
        { smallBook, "advance; advance; key Right; key Enter; stop" }, // a stop after a link
        { smallBook, "advance; advance; click 5 5; click 495 60; advance; advance" },
        { smallBook, "key Escape; advance; stop; advance; advance; key Down; advance" },
        { sampleBook,
            "advance;advance;advance;advance;advance;advance;advance;advance;"
            "advance;advance;advance;advance;advance;advance;advance" },
        { sampleBook, "advance;stop;advance;key Enter;key Space;click 320 240;advance" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ExpectSameTrace(c.book, QString::fromUtf8(c.script));
    }
}

TEST_F(WebEdition, SamplePagesLookAsTheDesktopDrawsThem)
{
    if (chromium_.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it)";
    const ProcessRun sample = Start(QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko-sample"),
        { tmp.file("startup"), QStringLiteral("--without-settings") }, tmp.path());
    ASSERT_EQ(sample.code, 0) << qPrintable(sample.err);
    ExpectPagesLookTheSame(tmp.file("startup/BOOKS/Sample/ehon.pmk"), tmp.file("web"));
}

// Underline and strike-out, across a line and down a column; a bold and an italic the
// face lacks, made up from its plain outline.
TEST_F(WebEdition, BarsAndMadeUpStylesLookAsTheDesktopDrawsThem)
{
    if (chromium_.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it)";
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, tmp.path());
    const struct {
        const char* style;
        bool vertical;
    } pages[] = { { "Type_U", false }, { "Type_S", true }, { "Type_US", false },
        { "Type_BI", false }, { "Type_I", true } };
    int n = 0;
    for (const auto& c : pages) {
        TNovelPage& p = Use(book, ++n, QStringLiteral("したせんのあるもじ"), 0);
        p.FillImage = true;
        p.FillColor = 0x402000;
        // The thin strokes of a mincho face rasterise further apart between the two.
        p.FontName = QStringLiteral("ＭＳ ゴシック");
        p.FontHeight = 40;
        p.FontStyle = QString::fromLatin1(c.style);
        p.Vertical = c.vertical;
        p.TextX = c.vertical ? 560 : 40;
        p.Period = true;
    }
    // The composer sets a bar on whole pixels; the player, and the web after it, on
    // quarter pixels, so its edges differ from the render.
    ExpectPagesLookTheSame(WriteBook(book, QStringLiteral("b/bars.pmk")), tmp.file("web"), 8.0);
}

} // namespace
} // namespace pimoko
