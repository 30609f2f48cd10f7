#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "text/text_shot.h"
#include "text/text_shot_b.h"
#include "text/typing_stepper.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace pimoko;

// A page of ordinary Japanese prose, lines of 21 characters (a page width at h = 30),
// 2001 characters in all.
QStringList PageLines(int chars, int perLine)
{
    static const QString prose
        = QStringLiteral("むかしむかし、あるところに、おじいさんとおばあさんが住んでいました。"
                         "おじいさんは山へしば刈りに、おばあさんは川へ洗濯に行きました。"
                         "「まあ、大きな桃！」ー～…『桃太郎』ABCdef（１２３）");
    QStringList lines;
    QString line;
    for (int i = 0; i < chars; ++i) {
        line += prose.at(i % prose.size());
        if (line.size() == perLine) {
            lines << line;
            line.clear();
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

struct Page {
    QImage image = NewBitmap24();
    Canvas canvas { &image };
    TTextShotB engine;

    Page(bool vertical, bool deferred)
    {
        canvas.font().name
            = vertical ? QStringLiteral("@ＭＳ ゴシック") : QStringLiteral("ＭＳ ゴシック");
        canvas.font().height = 30;
        canvas.font().color = 0xFFFFFF;
        engine.SetTargetBitmap(&canvas);
        engine.SetShadowOn();
        engine.SetHighlightOn();
        engine.SetHighlightWidth(2);
        engine.SetShadowColor(0x202020);
        if (vertical)
            engine.SetVertical();
        engine.SetDeferredComposite(deferred);
    }
};

// Typing a page through the stepper with every delay 0, as the viewer does.
void TypePage(benchmark::State& state, bool vertical, int chars, int perLine, int repeat)
{
    Page page(vertical, false);
    const QStringList lines = PageLines(chars, perLine);
    for (auto _ : state) {
        for (int r = 0; r < repeat; ++r) {
            ManualClock clock;
            TypingStepper stepper(page.engine, clock);
            page.engine.SetText(lines);
            page.engine.SetOrigin(vertical ? 630 : 0, 0);
            stepper.Start({});
            clock.RunUntilIdle();
        }
        benchmark::DoNotOptimize(page.image.constBits());
    }
    state.counters["chars"] = static_cast<double>(chars * repeat);
}

// 2001 characters, most of them past the page edge.
void BM_TypePage2001Horizontal(benchmark::State& s)
{
    TypePage(s, false, 2001, 21, 1);
}
void BM_TypePage2001Vertical(benchmark::State& s)
{
    TypePage(s, true, 2001, 16, 1);
}
// A full page of visible characters typed six times: 2016 characters all on the page.
void BM_TypeVisible2016Horizontal(benchmark::State& s)
{
    TypePage(s, false, 336, 21, 6);
}
void BM_TypeVisible2016Vertical(benchmark::State& s)
{
    TypePage(s, true, 336, 16, 6);
}
// The same without any font, width or glyph cache: every glyph made again.
void BM_TypeVisible2016HorizontalUncached(benchmark::State& s)
{
    SetFontCaching(false);
    TypePage(s, false, 336, 21, 6);
    SetFontCaching(true);
}

void BM_CompositeAllFullPage(benchmark::State& state)
{
    Page page(false, true);
    page.engine.SetText(PageLines(336, 21));
    for (int n = 1; n <= page.engine.CharCount(); ++n)
        page.engine.DrawChar(n);
    for (auto _ : state) {
        page.engine.CompositeAll();
        benchmark::DoNotOptimize(page.image.constBits());
    }
}

// The editing-side engine drawing a full page of visible characters.
void BM_TextShotDrawPage(benchmark::State& state)
{
    QImage image = NewBitmap24();
    Canvas canvas(&image);
    canvas.font().name = QStringLiteral("ＭＳ ゴシック");
    canvas.font().height = 30;
    TTextShot shot;
    shot.SetText(PageLines(336, 21));
    shot.SetCanvas(&canvas);
    shot.SetHighlightOn();
    shot.SetHighlightWidth(2);
    shot.SetTextColor(0xFFFFFF);
    for (auto _ : state) {
        shot.DrawAll();
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_TypePage2001Horizontal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypePage2001Vertical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeVisible2016Horizontal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeVisible2016Vertical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeVisible2016HorizontalUncached)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompositeAllFullPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextShotDrawPage)->Unit(benchmark::kMillisecond);

} // namespace

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
