#include "book/novel_page.h"
#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/jpeg_codec.h"
#include "player/compositor.h"
#include "player/compositor_pages.h"
#include "player/thumbnail_cache.h"

#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace pimoko {
namespace {

QImage Noise(quint32 seed)
{
    QImage image = NewBitmap24();
    QRandomGenerator rng(seed);
    rng.fillRange(reinterpret_cast<quint32*>(image.bits()), image.sizeInBytes() / 4);
    return image;
}

constexpr std::size_t kPageBytes = std::size_t(kPageWidth) * kPageHeight * 3;

// The reference: copying the same 921,600 bytes, in the same run.
void BM_Memcpy(benchmark::State& state)
{
    const QImage a = Noise(1);
    QImage out = NewBitmap24();
    for (auto _ : state) {
        std::memcpy(out.bits(), a.constBits(), kPageBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kPageBytes));
}
BENCHMARK(BM_Memcpy);

// One fade step over the whole page, on each blend path the machine has (0 tables,
// 1 AVX2, 2 AVX-512); with AVX2, step 37 has no tie corrections and step 50 the most.
void BM_FadeStep(benchmark::State& state)
{
    FadeTables tables;
    if (!tables.SetBlendPath(static_cast<FadeTables::BlendPath>(state.range(0)))) {
        state.SkipWithError("not on this machine");
        return;
    }
    const QImage a = Noise(1);
    const QImage b = Noise(2);
    QImage out = NewBitmap24();
    const int s = static_cast<int>(state.range(1));
    for (auto _ : state) {
        tables.BlendStep(a.constBits(), b.constBits(), out.bits(), kPageBytes, s);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kPageBytes));
}
BENCHMARK(BM_FadeStep)->Args({ 2, 37 })->Args({ 2, 50 })->Args({ 1, 37 })->Args({ 1, 50 });

void BM_FadeStepByTable(benchmark::State& state)
{
    const FadeTables tables;
    const QImage a = Noise(1);
    const QImage b = Noise(2);
    QImage out = NewBitmap24();
    for (auto _ : state) {
        tables.BlendStepByTable(a.constBits(), b.constBits(), out.bits(), kPageBytes, 37);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kPageBytes));
}
BENCHMARK(BM_FadeStepByTable);

// A whole 99-step fade with no wait on the manual clock: the drawing cost of one fade.
void BM_WholeFade(benchmark::State& state)
{
    ManualClock clock;
    QImage viewer = Noise(3);
    Compositor compositor(clock);
    compositor.SetViewerPicture(&viewer);
    compositor.BackBuffer() = Noise(4);
    for (auto _ : state) {
        compositor.FadeIn(0, FadeHooks());
        clock.RunUntilIdle();
    }
}
BENCHMARK(BM_WholeFade)->Unit(benchmark::kMillisecond);

// A book of 300 pages: a JPEG picture on page 1 and three lines of text on every page,
// composed page after page as the title list does.
struct Book300 {
    QTemporaryDir folder;
    std::vector<TNovelPage> pages = std::vector<TNovelPage>(300);

    Book300()
    {
        QFile f(folder.filePath("back.jpg"));
        f.open(QIODevice::WriteOnly);
        f.write(EncodeJpeg(Noise(5), 80));
        f.close();
        pages[0].PictureFile = "back.jpg";
        for (int n = 1; n <= 300; ++n) {
            TNovelPage& p = pages[n - 1];
            p.InUse = true;
            p.TextLines = QStringList { QStringLiteral("むかしむかし、ある山のふもとに"),
                QStringLiteral("ページ%1のおはなし").arg(n), QStringLiteral("Once upon a time.") };
            p.FontName = QStringLiteral("ＭＳ ゴシック");
            p.FontHeight = -20;
            p.FontColor = 0x00FFFFFF;
            p.TextX = 20;
            p.TextY = 20 + (n % 12) * 30;
        }
    }
    PageSource Source() const
    {
        return [this](int n) -> const TNovelPage& { return pages[n - 1]; };
    }
};

void BM_ComposeAllPages(benchmark::State& state)
{
    Book300 book;
    const PathResolver resolve = ResolverForFolder(book.folder.path());
    QImage picture;
    for (auto _ : state) {
        PageComposer composer(book.Source(), resolve);
        for (int n = 1; n <= 300; ++n)
            composer.ComposePage(n, picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ComposeAllPages)->Unit(benchmark::kMillisecond);

// The same with the thumbnails written, as the title list's first showing does.
void BM_ComposeAllPagesWithThumbnails(benchmark::State& state)
{
    Book300 book;
    const PathResolver resolve = ResolverForFolder(book.folder.path());
    QImage picture;
    for (auto _ : state) {
        ThumbnailCache cache(book.folder.path());
        PageComposer composer(book.Source(), resolve, &cache);
        for (int n = 1; n <= 300; ++n) {
            composer.ComposePage(n, picture);
            cache.SaveThumbnail(n, 0, picture);
        }
    }
}
BENCHMARK(BM_ComposeAllPagesWithThumbnails)->Unit(benchmark::kMillisecond);

// Composing every page from its background again, for the first 40 pages (the full 300
// draws 45,150 texts).
void BM_ComposePlainFirst40(benchmark::State& state)
{
    Book300 book;
    const PathResolver resolve = ResolverForFolder(book.folder.path());
    QImage picture;
    for (auto _ : state) {
        for (int n = 1; n <= 40; ++n)
            ComposePage(book.Source(), n, picture, resolve);
    }
}
BENCHMARK(BM_ComposePlainFirst40)->Unit(benchmark::kMillisecond);

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
