#include "book/open_book.h"
#include "platform/clock.h"
#include "platform/prompt_port.h"
#include "player/compositor.h"
#include "player/playback.h"
#include "player/viewer_state.h"
#include "text/text_shot_b.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

using namespace pimoko;

// The real clock, with a note of how late each task started against the time it was
// asked for, in microseconds of the same timer.
class MeasuringClock : public Clock {
public:
    MeasuringClock() { timer_.start(); }
    qint64 NowMs() const override { return timer_.elapsed(); }
    TaskId At(qint64 timeMs, Task task) override
    {
        return inner_.At(
            timeMs - (timer_.elapsed() - inner_.NowMs()), [this, timeMs, task = std::move(task)] {
                lastLatenessUs = timer_.nsecsElapsed() / 1000 - timeMs * 1000;
                task();
            });
    }
    void Cancel(TaskId id) override { inner_.Cancel(id); }

    qint64 lastLatenessUs = 0;

private:
    QElapsedTimer timer_;
    RealClock inner_;
};

class CharTimes : public PlaybackObserver {
public:
    explicit CharTimes(MeasuringClock& clock, QEventLoop& loop)
        : clock_(clock)
        , loop_(loop)
    {
    }
    void OnChar(int, const QString&, bool) override { lateness.push_back(clock_.lastLatenessUs); }
    void OnWait(int) override { loop_.quit(); }
    std::vector<qint64> lateness;

private:
    MeasuringClock& clock_;
    QEventLoop& loop_;
};

double Percentile(std::vector<qint64> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t i
        = std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
    return static_cast<double>(v[i]) / 1000.0;
}

// One page of 200 characters, 20 ms each, typed onto the viewer picture from the real
// event loop; counters give how late characters start against their schedule (ms).
void BM_TypingLateness(benchmark::State& state)
{
    const int chars = 200;
    const int delay = 20;
    static const QString prose
        = QStringLiteral("むかしむかし、あるところに、おじいさんとおばあさんが住んでいました。"
                         "おじいさんは山へしば刈りに、おばあさんは川へ洗濯に行きました。");
    std::vector<qint64> all;
    for (auto _ : state) {
        ScriptedPromptPort prompt;
        TOpenBook book(prompt, QDir::tempPath());
        TNovelPage& p = book.Page(1);
        p.InUse = true;
        p.FontName = QStringLiteral("ＭＳ ゴシック");
        p.FontHeight = 24;
        p.FontColor = 0xFFFFFF;
        p.Shadow = true;
        p.TextX = 20;
        p.TextY = 20;
        p.Period = true;
        QString line;
        for (int i = 0; i < chars; ++i) {
            line += prose.at(i % prose.size());
            p.CharDelays[i] = delay;
            if (line.size() == 25) {
                p.TextLines << line;
                line.clear();
            }
        }
        MeasuringClock clock;
        Compositor compositor(clock);
        TTextShotB text;
        TViewerState viewer;
        SilentSoundPort sounds;
        StillSlider slider;
        PlaybackEditing editing;
        PlaybackScreen screen;
        TBusyState busy;
        TPlayback playback(PlaybackParts {
            book, compositor, text, viewer, clock, sounds, slider, editing, screen, busy });
        QEventLoop loop;
        CharTimes times(clock, loop);
        playback.SetObserver(&times);
        QTimer::singleShot(0, [&] { playback.StartPlaying(); });
        loop.exec();
        all.insert(all.end(), times.lateness.begin(), times.lateness.end());
    }
    state.counters["p50_ms"] = Percentile(all, 0.50);
    state.counters["p99_ms"] = Percentile(all, 0.99);
    state.counters["max_ms"] = Percentile(all, 1.0);
    state.counters["chars"] = static_cast<double>(all.size());
}
BENCHMARK(BM_TypingLateness)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

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
