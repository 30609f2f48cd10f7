#include "archive/archive_operations.h"
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

namespace pimoko {
namespace {

// A drawn page: a sky gradient, a few shapes and a little grain, as a picture-book page
// painted in the graphic editor would be.
QImage Page(int seed)
{
    QImage image = NewBitmap24();
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, kPageHeight);
    sky.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 120, 250));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 60) % 360, 80, 200));
    p.fillRect(image.rect(), sky);
    QRandomGenerator rng(seed);
    for (int i = 0; i < 12; ++i) {
        p.setBrush(QColor::fromHsv(rng.bounded(360), 160, 220));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(rng.bounded(kPageWidth), rng.bounded(kPageHeight)),
            20 + rng.bounded(120), 20 + rng.bounded(90));
    }
    p.end();
    uchar* bits = image.bits();
    for (qsizetype i = 0; i < image.sizeInBytes(); i += 7)
        bits[i] = static_cast<uchar>(bits[i] ^ (rng.bounded(4)));
    return image;
}

// 16-bit mono PCM at 22050 Hz: a melody of sine tones over a little noise.
QByteArray Wav(int seed, int bytes)
{
    const int samples = bytes / 2;
    QByteArray wav;
    auto put32 = [&wav](uint32_t v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&wav](uint16_t v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
    wav += "RIFF";
    put32(36 + samples * 2);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(22050);
    put32(44100);
    put16(2);
    put16(16);
    wav += "data";
    put32(samples * 2);
    QRandomGenerator rng(seed);
    double phase = 0;
    for (int i = 0; i < samples; ++i) {
        double freq = 220.0 * std::pow(2.0, ((i / 5512 + seed) % 12) / 12.0);
        phase += 2 * M_PI * freq / 22050;
        int v = static_cast<int>(9000 * std::sin(phase)) + rng.bounded(200) - 100;
        put16(static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
    return wav;
}

struct Fixture {
    QTemporaryDir temp;
    QString folder, archive;
    qint64 bytes = 0;

    Fixture()
    {
        folder = temp.filePath(QStringLiteral("dist"));
        archive = temp.filePath(QStringLiteral("book.lzh"));
        QDir().mkpath(folder);
        const qint64 target = 20ll << 20;
        int n = 0;
        // About 60% pictures as BMP, 20% sound, 20% JPEG, as a distribution folder holds.
        while (bytes < target * 6 / 10)
            Add(QStringLiteral("page%1.bmp").arg(n), EncodeBmp24(Page(n))), ++n;
        while (bytes < target * 8 / 10)
            Add(QStringLiteral("sound%1.wav").arg(n), Wav(n, 1 << 20)), ++n;
        while (bytes < target)
            Add(QStringLiteral("photo%1.jpg").arg(n), EncodeJpeg(Page(n), 80)), ++n;
        ArchiveResult packed = PackFolder(folder, archive);
        if (!packed.ok)
            qFatal("pack failed: %s", qPrintable(packed.message));
    }

    void Add(const QString& name, const QByteArray& data)
    {
        QFile file(QDir(folder).filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(data);
        bytes += data.size();
    }
};

Fixture& Data()
{
    static Fixture fixture;
    return fixture;
}

void BM_PackFolder(benchmark::State& state)
{
    Fixture& f = Data();
    const QString archive = f.temp.filePath(QStringLiteral("packed.lzh"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(archive);
        state.ResumeTiming();
        ArchiveResult r = PackFolder(f.folder, archive);
        if (!r.ok)
            state.SkipWithError("pack failed");
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
    state.counters["ratio"] = double(QFileInfo(archive).size()) / double(f.bytes);
    state.counters["MiB"] = double(f.bytes) / (1 << 20);
}

void BM_ExtractOurs(benchmark::State& state)
{
    Fixture& f = Data();
    const QString out = f.temp.filePath(QStringLiteral("ours"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        state.ResumeTiming();
        if (!UnpackBook(f.archive, out).ok)
            state.SkipWithError("extract failed");
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

// lhasa, a separate reader, extracting the same archive in the same run (a child
// process, so every figure here is wall-clock time).
void BM_ExtractLhasa(benchmark::State& state)
{
    Fixture& f = Data();
    const QString out = f.temp.filePath(QStringLiteral("lhasa"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        state.ResumeTiming();
        QProcess lha;
        lha.start(QStringLiteral("lha"), { QStringLiteral("xqfw=") + out, f.archive });
        if (!lha.waitForFinished(-1) || lha.exitCode() != 0)
            state.SkipWithError("lha failed");
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

BENCHMARK(BM_PackFolder)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(BM_ExtractOurs)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(BM_ExtractLhasa)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();

} // namespace
} // namespace pimoko

BENCHMARK_MAIN();
