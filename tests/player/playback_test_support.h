#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QtEndian>

#include <cmath>

namespace pimoko::test {

// Sounds post their ends through the event loop and text needs the font database: both
// want the application object. A GUI one, so the other player tests find fonts too.
inline void EnsurePlaybackApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "test_player";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

// A mono 16-bit WAV of a sine tone lasting ms milliseconds.
inline QByteArray SineWav(int ms, int rate = 22050, double hz = 440.0)
{
    const int samples = rate * ms / 1000;
    QByteArray data(samples * 2, '\0');
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<qint16>(8000.0 * std::sin(2.0 * M_PI * hz * i / rate));
        qToLittleEndian<qint16>(v, data.data() + 2 * i);
    }
    QByteArray out;
    auto u32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian<quint32>(v, b);
        out.append(b, 4);
    };
    auto u16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian<quint16>(v, b);
        out.append(b, 2);
    };
    out.append("RIFF");
    u32(36 + data.size());
    out.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.append("data");
    u32(data.size());
    out.append(data);
    return out;
}

// A format-0 MIDI file with one note of about ms milliseconds at 120 beats a minute.
inline QByteArray OneNoteMidi(int ms)
{
    const int division = 480;  // ticks per quarter note of 500 ms
    const int ticks = ms * division / 500;
    QByteArray track;
    auto varLen = [&track](quint32 v) {
        QByteArray bytes;
        bytes.prepend(static_cast<char>(v & 0x7F));
        while (v >>= 7)
            bytes.prepend(static_cast<char>((v & 0x7F) | 0x80));
        track.append(bytes);
    };
    varLen(0);
    track.append("\xFF\x51\x03\x07\xA1\x20", 6);  // 500000 us a quarter note
    varLen(0);
    track.append("\xC0\x00", 2);
    varLen(0);
    track.append("\x90\x3C\x64", 3);
    varLen(static_cast<quint32>(ticks));
    track.append("\x80\x3C\x40", 3);
    varLen(0);
    track.append("\xFF\x2F\x00", 3);
    QByteArray out("MThd\x00\x00\x00\x06\x00\x00\x00\x01", 12);
    char b[4];
    qToBigEndian<quint16>(division, b);
    out.append(b, 2);
    out.append("MTrk");
    qToBigEndian<quint32>(static_cast<quint32>(track.size()), b);
    out.append(b, 4);
    out.append(track);
    return out;
}

}  // namespace pimoko::test
