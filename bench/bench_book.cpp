#include "book/book_lines.h"
#include "book/open_book.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace pimoko;

// A full book: 300 pages, each with a three-line text and all 2001 delays set.
void FillBook(TOpenBook& book)
{
    book.BookTitle = QStringLiteral("ベンチマークの絵本");
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.Title = QStringLiteral("ページ %1").arg(n);
        p.PictureFile = QStringLiteral("C:\\絵本\\pic%1.bmp").arg(n);
        p.SoundFile = QStringLiteral("bgm%1.mid").arg(n % 7);
        p.TextLines = { QStringLiteral("むかしむかし、あるところに"),
            QStringLiteral("おじいさんとおばあさんが"), QStringLiteral("すんでいました。") };
        for (int i = 0; i < TNovelPage::kCharDelayCount; ++i)
            p.CharDelays[i] = static_cast<qint16>(50 + i % 200);
        p.GotoPage = n < 300 ? n + 1 : 0;
    }
}

struct Fixture {
    QTemporaryDir dir;
    QString full, noFlow;

    Fixture()
    {
        ScriptedPromptPort prompt;
        TOpenBook book(prompt, dir.path());
        FillBook(book);
        full = dir.filePath(QStringLiteral("full.pmk"));
        noFlow = dir.filePath(QStringLiteral("noflow.pmk"));
        QStringList lines = book.BookFileLines();
        WriteLineFile(full, lines);
        // Older files: every page's search for these tags runs to the end of the file.
        QStringList old;
        for (int i = 0; i < lines.size(); ++i) {
            const QString& l = lines[i];
            if (l == QLatin1String("<PERIOD>") || l == QLatin1String("<LINK PAGE>")
                || l == QLatin1String("<GOTO PAGE>")) {
                ++i;
                continue;
            }
            old.append(l);
        }
        WriteLineFile(noFlow, old);
    }
};

Fixture& Files()
{
    static Fixture f;
    return f;
}

void Load(benchmark::State& state, const QString& path)
{
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, Files().dir.path());
    for (auto _ : state) {
        if (!book.LoadBook(path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(book.Page(300).InUse);
    }
}

void BM_LoadBook(benchmark::State& state)
{
    Load(state, Files().full);
}
void BM_LoadBookWithoutFlowTags(benchmark::State& state)
{
    Load(state, Files().noFlow);
}

void BM_SaveBook(benchmark::State& state)
{
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, Files().dir.path());
    FillBook(book);
    book.BookFilePath = Files().dir.filePath(QStringLiteral("saved.pmk"));
    for (auto _ : state) {
        book.MarkModified();
        if (!book.SaveBook())
            state.SkipWithError("save failed");
    }
}

// The parts of a load: reading the lines, and indexing their tags.
void BM_ReadLines(benchmark::State& state)
{
    for (auto _ : state) {
        QStringList lines;
        ReadLineFile(Files().full, &lines);
        benchmark::DoNotOptimize(lines.size());
    }
}

void BM_IndexTags(benchmark::State& state)
{
    QStringList lines;
    ReadLineFile(Files().full, &lines);
    for (auto _ : state) {
        BookLines indexed(lines);
        benchmark::DoNotOptimize(indexed.Find(BookTag::Title, 0));
    }
}

BENCHMARK(BM_ReadLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexTags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBookWithoutFlowTags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBook)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
