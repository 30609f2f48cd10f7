// Thumbnails of a 300-page book with a cold cache, as the title list builds them when the
// author scrolls through every row: composed in page order, then shrunk and written.
#include "book/open_book.h"
#include "platform/bitmap.h"
#include "platform/prompt_port.h"
#include "player/compositor_pages.h"
#include "player/thumbnail_cache.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace pimoko;

void FillBook(TOpenBook& book, const QString& folder)
{
    QImage picture = NewBitmap24();
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640 * 3; ++x)
            picture.scanLine(y)[x] = static_cast<uchar>(x ^ y);
    WriteBmp24(folder + "/bg.bmp", picture);
    for (int n = 1; n <= 300; ++n) {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.Title = QStringLiteral("ページ%1").arg(n);
        p.TextLines = QStringList { QStringLiteral("むかしむかし、あるところに %1").arg(n),
            QStringLiteral("おじいさんとおばあさんが") };
        p.FontName = QStringLiteral("ＭＳ ゴシック");
        p.FontHeight = 24;
        p.FontColor = 0xFFFFFF;
        p.TextX = 20;
        p.TextY = 20 + (n % 10) * 40;
    }
    book.Page(1).PictureFile = "bg.bmp";
    book.BookFolder = folder;
}

void BM_ColdThumbnails300(benchmark::State& state)
{
    QTemporaryDir dir;
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, dir.path());
    FillBook(book, dir.path());
    for (auto _ : state) {
        ThumbnailCache cache(dir.path());
        PageComposer composer(PagesOf(book), ResolverForFolder(dir.path()));
        QImage work = NewBitmap24();
        for (int n = 1; n <= 300; ++n) {
            composer.ComposePage(n, work);
            cache.SaveThumbnail(n, 0, work);
        }
        state.PauseTiming();
        cache.ClearThumbnails(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ColdThumbnails300)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
