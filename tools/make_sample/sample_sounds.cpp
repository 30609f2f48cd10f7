#include "tools/make_sample/sample_sounds.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pimoko::sample {
namespace {

constexpr int kRate = 22050;

void Put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void Put32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

QByteArray Wav(const std::vector<double>& samples)
{
    QByteArray data;
    for (double s : samples) {
        const double clamped = std::clamp(s, -1.0, 1.0);
        Put16(data, static_cast<quint16>(static_cast<qint16>(std::lround(clamped * 30000))));
    }
    QByteArray out("RIFF");
    Put32(out, 36 + data.size());
    out.append("WAVEfmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.append("data");
    Put32(out, data.size());
    out.append(data);
    return out;
}

void PutBE16(QByteArray& out, quint16 v)
{
    char b[2];
    qToBigEndian(v, b);
    out.append(b, 2);
}

void PutBE32(QByteArray& out, quint32 v)
{
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}

void PutVarLen(QByteArray& out, quint32 v)
{
    char bytes[5];
    int n = 0;
    bytes[n++] = static_cast<char>(v & 0x7F);
    while ((v >>= 7) != 0)
        bytes[n++] = static_cast<char>((v & 0x7F) | 0x80);
    while (n > 0)
        out.append(bytes[--n]);
}

struct NoteEvent {
    quint32 tick;
    quint8 status;
    quint8 a;
    quint8 b;
};

} // namespace

QByteArray HopWav()
{
    const int n = kRate * 35 / 100;
    std::vector<double> s(n);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        const double f = 300 + 1400 * t / 0.35;
        phase += 2 * M_PI * f / kRate;
        const double envelope = std::min(1.0, t / 0.01) * std::exp(-t * 9);
        s[i] = 0.7 * envelope * (std::sin(phase) + 0.25 * std::sin(2 * phase));
    }
    return Wav(s);
}

QByteArray ChimeWav()
{
    const int n = kRate * 2;
    std::vector<double> s(n, 0.0);
    // C6, E6, G6 struck one after another, with a little inharmonic shimmer each.
    const double notes[] = { 1046.5, 1318.5, 1568.0 };
    for (int k = 0; k < 3; ++k) {
        const int start = k * kRate / 8;
        for (int i = start; i < n; ++i) {
            const double t = double(i - start) / kRate;
            const double env = std::exp(-t * 2.5) * std::min(1.0, t / 0.003);
            s[i] += 0.25 * env
                * (std::sin(2 * M_PI * notes[k] * t)
                    + 0.3 * std::sin(2 * M_PI * notes[k] * 2.76 * t));
        }
    }
    return Wav(s);
}

QByteArray TuneMidi()
{
    constexpr int kTicks = 480; // per quarter note
    // The melody in (pitch, length in eighths); 0 is a rest.
    const int melody[][2] = {
        { 72, 2 },
        { 76, 2 },
        { 79, 3 },
        { 77, 1 },
        { 76, 2 },
        { 74, 2 },
        { 72, 4 },
        { 74, 2 },
        { 76, 2 },
        { 77, 2 },
        { 79, 2 },
        { 81, 4 },
        { 79, 4 },
        { 77, 2 },
        { 76, 2 },
        { 74, 3 },
        { 72, 1 },
        { 71, 2 },
        { 72, 2 },
        { 74, 4 },
        { 76, 2 },
        { 74, 2 },
        { 72, 2 },
        { 71, 2 },
        { 72, 8 },
        { 79, 2 },
        { 81, 2 },
        { 79, 2 },
        { 77, 2 },
        { 76, 4 },
        { 72, 4 },
        { 74, 2 },
        { 77, 2 },
        { 76, 2 },
        { 74, 2 },
        { 72, 8 },
    };
    const int bass[] = { 48, 45, 41, 43, 48, 45, 41, 43, 48, 41, 43, 48 };

    std::vector<NoteEvent> events;
    quint32 t = 0;
    for (const auto& note : melody) {
        const quint32 length = note[1] * kTicks / 2;
        if (note[0] > 0) {
            events.push_back({ t, 0x90, quint8(note[0]), 84 });
            events.push_back({ t + length - 30, 0x80, quint8(note[0]), 0 });
        }
        t += length;
    }
    const quint32 bar = 4 * kTicks;
    for (size_t i = 0; i * bar < t && i < std::size(bass); ++i) {
        const quint32 at = quint32(i) * bar;
        events.push_back({ at, 0x91, quint8(bass[i]), 60 });
        events.push_back({ at + bar - 60, 0x81, quint8(bass[i]), 0 });
        events.push_back({ at + 2 * kTicks, 0x91, quint8(bass[i] + 7), 45 });
        events.push_back({ at + bar - 60, 0x81, quint8(bass[i] + 7), 0 });
    }
    std::stable_sort(events.begin(), events.end(), [](const NoteEvent& x, const NoteEvent& y) {
        // At one instant notes end before new ones start.
        if (x.tick != y.tick)
            return x.tick < y.tick;
        return (x.status & 0xF0) == 0x80 && (y.status & 0xF0) == 0x90;
    });

    QByteArray track;
    // Tempo: 100 beats a minute.
    track.append('\0');
    track.append("\xFF\x51\x03", 3);
    const quint32 tempo = 600000;
    track.append(char(tempo >> 16)).append(char(tempo >> 8)).append(char(tempo));
    // Music box on channel 1, acoustic bass on channel 2, both a little soft.
    track.append('\0').append(char(0xC0)).append(char(10));
    track.append('\0').append(char(0xC1)).append(char(32));
    track.append('\0').append(char(0xB0)).append(char(7)).append(char(100));
    track.append('\0').append(char(0xB1)).append(char(7)).append(char(80));
    quint32 last = 0;
    for (const NoteEvent& e : events) {
        PutVarLen(track, e.tick - last);
        last = e.tick;
        track.append(char(e.status)).append(char(e.a)).append(char(e.b));
    }
    PutVarLen(track, kTicks);
    track.append("\xFF\x2F\x00", 3);

    QByteArray out("MThd");
    PutBE32(out, 6);
    PutBE16(out, 0); // one track
    PutBE16(out, 1);
    PutBE16(out, kTicks);
    out.append("MTrk");
    PutBE32(out, track.size());
    out.append(track);
    return out;
}

} // namespace pimoko::sample
