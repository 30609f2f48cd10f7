#include "book/open_book.h"
#include "editor/distribution.h"
#include "platform/bitmap.h"
#include "platform/prompt_port.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace pimoko {
namespace {

// A painted page: a gradient, shapes and some grain, so that JPEG has real work to do.
QImage PaintedPage(int seed)
{
    QImage image = NewBitmap24();
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, kPageHeight);
    sky.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 120, 250));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 60) % 360, 80, 200));
    p.fillRect(image.rect(), sky);
    QRandomGenerator rng(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        p.setBrush(QColor::fromHsv(rng.bounded(360), 160, 220));
        p.drawEllipse(QPoint(rng.bounded(kPageWidth), rng.bounded(kPageHeight)),
            20 + rng.bounded(120), 20 + rng.bounded(90));
    }
    p.end();
    uchar* bits = image.bits();
    for (qsizetype i = 0; i < image.sizeInBytes(); i += 7)
        bits[i] = static_cast<uchar>(bits[i] ^ (rng.generate() & 7));
    return image;
}

// A 300-page book, every page with a picture of its own in BMP and a line of text.
struct BookOfBmpPages {
    QTemporaryDir dir;
    ScriptedPromptPort prompt;
    TDistribution distribution { dir.path() };
    DistributionHooks hooks { distribution };
    TOpenBook book { prompt, hooks, dir.path() };

    BookOfBmpPages()
    {
        book.BookFolder = dir.path();
        book.BookFilePath = dir.filePath(QStringLiteral("book.pmk"));
        book.BookTitle = QStringLiteral("三百ページ");
        for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
            const QString name = QStringLiteral("page%1.bmp").arg(n);
            WriteBmp24(dir.filePath(name), PaintedPage(n));
            TNovelPage& p = book.Page(n);
            p.InUse = true;
            p.Title = QString::number(n);
            p.PictureFile = name;
            p.TextLines = { QStringLiteral("ページ %1 のおはなし").arg(n) };
        }
    }
};

// The whole build at the window's defaults (BMP to JPEG at 80): runtime book, 300
// conversions, packing and clean-up. archive_mb is the archive made.
void BM_DistributionOf300BmpPages(benchmark::State& state)
{
    BookOfBmpPages b;
    const QString archive = b.dir.filePath(QStringLiteral("out.lzh"));
    QElapsedTimer packing;
    double packMs = 0;
    b.distribution.OnPacking = [&] { packing.start(); };
    for (auto _ : state) {
        b.prompt.fileNames = { archive };
        b.prompt.answers = { Answer::Ok };
        const DistributionResult r = b.distribution.Run(b.book);
        packMs = packing.nsecsElapsed() / 1e6;
        if (r.outcome != DistributionResult::Outcome::Built)
            state.SkipWithError(r.message.toUtf8().constData());
    }
    state.counters["pack_ms"] = packMs;
    state.counters["archive_mb"] = QFileInfo(archive).size() / 1e6;
}
BENCHMARK(BM_DistributionOf300BmpPages)->Unit(benchmark::kMillisecond)->Iterations(2);

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
