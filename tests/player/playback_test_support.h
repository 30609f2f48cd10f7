#pragma once

#include "book/novel_page.h"
#include "book/open_book.h"
#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/prompt_port.h"
#include "player/compositor.h"
#include "player/playback.h"
#include "player/playback_headless.h"
#include "player/viewer_state.h"
#include "player/viewer_state_actions.h"
#include "tests/support/test_support.h"
#include "text/text_shot_b.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace pimoko::test {

// Sounds post their ends through the event loop and text needs the font database: both
// want the application object. A GUI one, so the other player tests find fonts too.
inline void EnsurePlaybackApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "test_player";
    static char* argv[] = { name, nullptr };
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
    u16(1); // PCM
    u16(1); // mono
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
    const int division = 480; // ticks per quarter note of 500 ms
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
    track.append("\xFF\x51\x03\x07\xA1\x20", 6); // 500000 us a quarter note
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

// Every step of the player as a short line: "page 1", "load", "fade", "faded 99",
// "char 1 あ", "skip 2", "done 1>2", "wait 2", "end 2", "play a.wav", "stop".
class LogObserver : public PlaybackObserver {
public:
    void OnPage(int page, bool inUse) override
    {
        log.push_back(QStringLiteral("page %1%2").arg(page).arg(inUse ? "" : " free"));
    }
    void OnPicture(PictureKind kind, const QString&, ColorRef) override
    {
        static const char* const kKinds[] = { "load", "fill", "clip", "present" };
        log.push_back(QString::fromLatin1(kKinds[static_cast<int>(kind)]));
    }
    void OnFadeBegin(int) override { log.push_back(QStringLiteral("fade")); }
    void OnFadeEnd(const FadeReport& r) override
    {
        log.push_back(QStringLiteral("faded %1").arg(r.steps));
    }
    void OnChar(int n, const QString& ch, bool drawn) override
    {
        log.push_back(QStringLiteral("%1 %2 %3").arg(drawn ? "char" : "skip").arg(n).arg(ch));
        charTimes.push_back(clock ? clock->NowMs() : 0);
    }
    void OnPageDone(int page, int next, bool, int) override
    {
        log.push_back(QStringLiteral("done %1>%2").arg(page).arg(next));
    }
    void OnWait(int current) override { log.push_back(QStringLiteral("wait %1").arg(current)); }
    void OnEnd(int current) override { log.push_back(QStringLiteral("end %1").arg(current)); }

    // The entries that start with prefix.
    QStringList Only(const QString& prefix) const
    {
        QStringList out;
        for (const QString& l : log)
            if (l.startsWith(prefix))
                out << l;
        return out;
    }
    QStringList All() const { return QStringList(log.begin(), log.end()); }

    std::vector<QString> log;
    std::vector<qint64> charTimes;
    const Clock* clock = nullptr;
};

// The editor and the windows around the viewer as its rules see them: the pages the
// editor was told to show or empty, the wanted screen mode, the title list.
class FakeWindows : public PlaybackEditing, public PlaybackScreen {
public:
    void ShowPage(int n) override { shown.push_back(n); }
    void ClearPage(int n) override { cleared.push_back(n); }
    bool WantsFullScreen() const override { return fullScreenWanted; }
    void SetFullScreenWanted(bool on) override { fullScreenWanted = on; }
    void ApplyScreenLayout(TViewerState::ScreenChange change) override
    {
        layouts.push_back(change);
    }
    void ShowTitleListInPlayerMode() override
    {
        listVisible = true;
        listInPlayerMode = true;
    }
    void HideTitleList() override { listVisible = false; }
    bool TitleListVisible() const override { return listVisible; }
    bool TitleListInPlayerMode() const override { return listInPlayerMode; }
    void ViewerStateChanged() override { ++stateChanges; }

    std::vector<int> shown, cleared;
    std::vector<TViewerState::ScreenChange> layouts;
    bool fullScreenWanted = false;
    bool listVisible = false;
    bool listInPlayerMode = false;
    int stateChanges = 0;
};

// A player without windows on a simulated clock, with a book of its own in a folder of
// its own.
struct PlaybackRig {
    PlaybackRig()
    {
        EnsurePlaybackApp();
        book.BookFolder = folder.path();
        book.BookTitle = QStringLiteral("テストの本");
        playback.SetObserver(&log);
        log.clock = &clock;
        sounds.onEvent = [this](const RecordingSoundPort::Event& e) {
            log.log.push_back(e.play ? QStringLiteral("play ") + FileNamePartOf(e.file)
                                     : QStringLiteral("stop")
                        + (e.file.isEmpty() ? QString()
                                            : QStringLiteral(" ") + FileNamePartOf(e.file)));
        };
    }

    static QString FileNamePartOf(const QString& path)
    {
        return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    }

    // Page n in use, without text.
    TNovelPage& Use(int n)
    {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.FontName = QStringLiteral("ＭＳ ゴシック");
        p.FontHeight = 24;
        p.FontColor = 0xFFFFFF;
        p.Shadow = false;
        p.TextX = 40;
        p.TextY = 40;
        return p;
    }
    // Page n in use with one line of text, every character after delay ms.
    TNovelPage& UseWithText(int n, const QString& text, int delay = 0)
    {
        TNovelPage& p = Use(n);
        p.TextLines = QStringList { text };
        for (int i = 0; i < text.size(); ++i)
            p.CharDelays[i] = static_cast<qint16>(delay);
        return p;
    }
    // A picture file of one colour in the book's folder.
    QString Picture(const QString& name, QColor color, int w = kPageWidth, int h = kPageHeight)
    {
        QImage image = NewBitmap24(w, h);
        image.fill(color);
        const QString path = folder.file(name);
        WriteBmp24(path, image);
        return name;
    }
    QString Sound(const QString& name)
    {
        WriteFile(folder.file(name), SineWav(50));
        return name;
    }

    void Start(int from = 1)
    {
        book.CurrentPage = from;
        playback.StartPlaying();
    }
    void Run() { clock.RunUntilIdle(100000); }
    QRgb Pixel(int x, int y) const { return viewer.Picture().pixel(x, y); }
    QRgb BackPixel(int x, int y) const { return compositor.BackBuffer().pixel(x, y); }

    TempFolder folder;
    ScriptedPromptPort prompt;
    TOpenBook book { prompt, folder.path() };
    ManualClock clock;
    Compositor compositor { clock };
    TTextShotB text;
    TViewerState viewer;
    RecordingSoundPort sounds;
    StillSlider slider;
    FakeWindows windows;
    TBusyState busy;
    TPlayback playback { PlaybackParts {
        book, compositor, text, viewer, clock, sounds, slider, windows, windows, busy } };
    TViewerActions actions { playback };
    LogObserver log;
};

} // namespace pimoko::test
