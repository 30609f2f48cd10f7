#include "paint/drawing_ways.h"
#include "paint/graphic_editor.h"
#include "paint/pen_tips.h"
#include "paint/random_source.h"
#include "platform/bitmap.h"
#include "platform/prompt_port.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>

namespace pimoko {
namespace {

QImage Noise(quint32 seed)
{
    QImage image = NewBitmap24();
    QRandomGenerator rng(seed);
    rng.fillRange(reinterpret_cast<quint32*>(image.bits()), image.sizeInBytes() / 4);
    return image;
}

// A 64 x 64 soft round pen on black, as the sample pens are drawn.
QImage SoftPen()
{
    QImage pen = NewBitmap24(64, 64);
    for (int y = 0; y < 64; ++y) {
        uchar* p = pen.scanLine(y);
        for (int x = 0; x < 64; ++x) {
            const double d = std::hypot(x - 31.5, y - 31.5) / 32.0;
            const int v = d >= 1 ? 0 : static_cast<int>(200 * (1 - d));
            p[3 * x] = p[3 * x + 1] = p[3 * x + 2] = static_cast<uchar>(v);
        }
    }
    return pen;
}

// One stamp of the 64 x 64 pen, by tip (0 normal, 1 airbrush, 2 light pen) and density.
// The goal for the normal tip at density 100 is 50 us.
void BM_Stamp64(benchmark::State& state)
{
    const auto tip = static_cast<PenTipKind>(state.range(0));
    TipSettings settings;
    settings.canvasShare = 100 - static_cast<int>(state.range(1));
    settings.colour = { 200, 120, 60 };
    const StampImage pen(SoftPen(), settings.colour);
    QImage canvas = Noise(7);
    int i = 0;
    for (auto _ : state) {
        const QPoint at(40 + (i * 37) % 520, 40 + (i * 53) % 380);
        TipOf(tip).Stamp(canvas, pen, at, settings);
        benchmark::ClobberMemory();
        ++i;
    }
}
BENCHMARK(BM_Stamp64)
    ->Args({ 0, 100 })
    ->Args({ 0, 50 })
    ->Args({ 0, 2 })
    ->Args({ 1, 50 })
    ->Args({ 2, 100 })
    ->Unit(benchmark::kMicrosecond);

// One spray tick of the whole editor with the button held, by way of drawing (0 stamp,
// 1 line from the last stamp 40 pixels away, 2 random): it has 10 ms.
void BM_SprayTick(benchmark::State& state)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("pen"));
    WriteBmp24(dir.filePath(QStringLiteral("pen/Brush1.bmp")), SoftPen());
    ScriptedPromptPort prompt;
    SystemRandom random;
    TGraphicEditor editor(prompt, dir.path(), random);
    editor.Open(Noise(3), QString());
    editor.LoadPens();
    editor.PenGridClick(0, false);
    editor.ToolRadioGroupClick(static_cast<int>(state.range(0)));
    MouseState left;
    left.left = true;
    int i = 0;
    for (auto _ : state) {
        const int x = state.range(0) == 1 ? 100 + (i % 2) * 40 : 320;
        editor.CanvasMouseMove(QPoint(x, 240), left);
        editor.TimerTick();
        benchmark::ClobberMemory();
        ++i;
    }
}
BENCHMARK(BM_SprayTick)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace pimoko

BENCHMARK_MAIN();
