#include "book/open_book.h"
#include "editor/page_editor.h"
#include "platform/bitmap.h"
#include "platform/busy_state.h"
#include "platform/prompt_port.h"
#include "player/compositor_drawing.h"
#include "text/font_table.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace pimoko {
namespace {

// A 300-page book whose first page has a background picture and every page a clip and
// three lines of text, open in the editor on page 300.
struct EditedBook {
    QTemporaryDir dir;
    ScriptedPromptPort prompt;
    TOpenBook book { prompt, dir.path() };
    TBusyState busy;
    std::unique_ptr<TPageEditor> editor;

    EditedBook()
    {
        QImage back = NewBitmap24(640, 480);
        FillBitmap(back, 0x00336699);
        WriteBmp24(dir.filePath("back.bmp"), back);
        QImage clip = NewBitmap24(120, 90);
        FillBitmap(clip, 0x0000CC00);
        WriteBmp24(dir.filePath("clip.bmp"), clip);
        book.BookFolder = dir.path();
        for (int n = 1; n <= 300; ++n) {
            TNovelPage& p = book.Page(n);
            p.InUse = true;
            p.PictureFile = n == 1 ? QStringLiteral("back.bmp") : QStringLiteral("clip.bmp");
            p.ClipMode = n > 1;
            p.ClipX = (n * 37) % 520;
            p.ClipY = (n * 23) % 390;
            p.TextLines = { QStringLiteral("むかしむかし、あるところに"),
                QStringLiteral("ページ %1 のおはなし").arg(n), QStringLiteral("つづく。") };
            p.FontName = QStringLiteral("ＭＳ ゴシック");
            p.FontHeight = 24;
            p.FontColor = 0x00FFFFFF;
            p.TextX = 20;
            p.TextY = 300 + n % 100;
        }
        editor = std::make_unique<TPageEditor>(book, prompt, busy, ProgramFontTable(), nullptr);
        editor->ShowPage(300);
    }
};

// A keystroke in the memo of page 300: the memo's new text and the preview drawn again.
// full_ms is a full composition of the same page measured in the same run, ratio how many
// times slower that is.
void BM_KeystrokeRedrawOnPage300(benchmark::State& state)
{
    EditedBook b;
    QStringList lines = b.book.Page(300).TextLines;
    int typed = 0;
    for (auto _ : state) {
        lines[0] += QStringLiteral("あ");
        if (++typed % 20 == 0)
            lines[0].chop(20);
        b.editor->Memo1Edited(lines);
        benchmark::DoNotOptimize(b.editor->Preview().constBits());
    }

    QElapsedTimer timer;
    constexpr int kFullRuns = 3;
    timer.start();
    for (int i = 0; i < kFullRuns; ++i)
        benchmark::DoNotOptimize(b.editor->ComposeFullPreview().constBits());
    const double fullMs = timer.nsecsElapsed() / 1e6 / kFullRuns;
    timer.restart();
    constexpr int kRedraws = 20;
    for (int i = 0; i < kRedraws; ++i) {
        lines[1] += QStringLiteral("い");
        b.editor->Memo1Edited(lines);
    }
    const double redrawMs = timer.nsecsElapsed() / 1e6 / kRedraws;
    state.counters["full_ms"] = fullMs;
    state.counters["redraw_ms"] = redrawMs;
    state.counters["ratio"] = fullMs / redrawMs;
}
BENCHMARK(BM_KeystrokeRedrawOnPage300)->Unit(benchmark::kMillisecond);

// The same page composed from scratch on every keystroke, for comparison.
void BM_FullRecomposeOfPage300(benchmark::State& state)
{
    EditedBook b;
    for (auto _ : state)
        benchmark::DoNotOptimize(b.editor->ComposeFullPreview().constBits());
}
BENCHMARK(BM_FullRecomposeOfPage300)->Unit(benchmark::kMillisecond);

// Moving forward through the book: each page's preview builds on the one before.
void BM_NextPageWalk(benchmark::State& state)
{
    EditedBook b;
    for (auto _ : state) {
        b.editor->ShowPage(1);
        for (int n = 1; n < 300; ++n)
            b.editor->Button5Click();
    }
}
BENCHMARK(BM_NextPageWalk)->Unit(benchmark::kMillisecond)->Iterations(1);

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
