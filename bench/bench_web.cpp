#include "book/open_book.h"
#include "editor/web_export.h"
#include "platform/bitmap.h"
#include "platform/prompt_port.h"

#include <QDir>
#include <QDirIterator>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>

#include <unistd.h>

namespace pimoko {
namespace {

QImage Page(int seed)
{
    QImage image = NewBitmap24();
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, kPageHeight);
    sky.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 120, 250));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 60) % 360, 80, 200));
    p.fillRect(image.rect(), sky);
    p.setBrush(QColor::fromHsv((seed * 91) % 360, 160, 220));
    p.drawEllipse(QPoint(100 + seed % 400, 240), 90, 60);
    return image;
}

// A book of `pages` pages: a BMP picture of its own every tenth page, a line of text on
// every page.
struct Book {
    QTemporaryDir dir;
    ScriptedPromptPort prompt;
    TOpenBook book { prompt, dir.path() };

    explicit Book(int pages)
    {
        book.BookFolder = dir.path();
        for (int n = 1; n <= pages; ++n) {
            TNovelPage& p = book.Page(n);
            p.InUse = true;
            p.FontName = QStringLiteral("ＭＳ 明朝");
            p.FontHeight = 24;
            p.TextX = p.TextY = 40;
            p.TextLines = { QStringLiteral("ページ %1 のおはなし、はじまりはじまり").arg(n) };
            if (n % 10 == 1) {
                const QString name = QStringLiteral("page%1.bmp").arg(n);
                WriteBmp24(dir.filePath(name), Page(n));
                p.PictureFile = name;
            } else {
                p.FillImage = true;
            }
        }
    }
};

qint64 FolderBytes(const QString& folder)
{
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += it.fileInfo().size();
    }
    return bytes;
}

// Writing the web folder of a 300-page book with 30 pictures. folder_kb is what it weighs.
void BM_WebExportOf300Pages(benchmark::State& state)
{
    Book b(300);
    const QString out = b.dir.filePath(QStringLiteral("web"));
    for (auto _ : state) {
        TWebExport web;
        if (web.Run(b.book, out).outcome != WebExportResult::Outcome::Written)
            state.SkipWithError("the folder was not written");
    }
    state.counters["folder_kb"] = FolderBytes(out) / 1024.0;
}
BENCHMARK(BM_WebExportOf300Pages)->Unit(benchmark::kMillisecond)->Iterations(2);

// From the page load to the first picture on the screen, for the folder opened from disk
// in headless Chromium, in real time: first_page_ms is the page's own figure, the mean of
// the runs. Skipped when Chromium is not installed.
void BM_WebFirstPageFromDisk(benchmark::State& state)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        state.SkipWithError("chromium is not installed");
        for (auto _ : state) { }
        return;
    }
    Book b(static_cast<int>(state.range(0)));
    const QString out = b.dir.filePath(QStringLiteral("web"));
    TWebExport web;
    web.Run(b.book, out);
    const QString url
        = QUrl::fromLocalFile(QDir(out).filePath(QStringLiteral("index.html"))).toString();
    const QRegularExpression figure(QStringLiteral("data-first-page-ms=\"([0-9]+)\""));
    double sum = 0;
    int runs = 0;
    for (auto _ : state) {
        QStringList args { QStringLiteral("--headless"), QStringLiteral("--disable-gpu"),
            QStringLiteral("--user-data-dir=") + b.dir.filePath(QStringLiteral("profile")),
            QStringLiteral("--timeout=5000"), QStringLiteral("--dump-dom"), url };
        if (geteuid() == 0)
            args.prepend(QStringLiteral("--no-sandbox"));
        QProcess p;
        p.start(chromium, args);
        p.waitForFinished(60000);
        const auto m = figure.match(QString::fromUtf8(p.readAllStandardOutput()));
        if (!m.hasMatch()) {
            state.SkipWithError("the page never showed its first picture");
            break;
        }
        sum += m.captured(1).toDouble();
        ++runs;
    }
    if (runs > 0)
        state.counters["first_page_ms"] = sum / runs;
}
BENCHMARK(BM_WebFirstPageFromDisk)->Arg(13)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace pimoko

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
