#include "player/playback_headless.h"

#include "book/open_book.h"
#include "platform/clock.h"
#include "player/compositor.h"
#include "player/playback.h"
#include "player/viewer_state.h"
#include "player/viewer_state_actions.h"
#include "text/text_shot_b.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <utility>
#include <vector>

namespace pimoko {

void RecordingSoundPort::Report(bool play, const QString& file, bool loop)
{
    if (onEvent)
        onEvent(Event { play, file, loop });
}

void RecordingSoundPort::PlaySound(const QString& file, bool looped)
{
    const SoundKind kind = SoundKindOf(file);
    if (kind == SoundKind::None || !QFileInfo(file).isFile())
        return;
    HeldSound& held = kind == SoundKind::Wav ? wav_ : midi_;
    if (!held.file.isEmpty())
        Report(false, held.file, held.loop);
    held = HeldSound { file, looped };
    Report(true, file, looped);
}

void RecordingSoundPort::StopSounds()
{
    if (wav_.file.isEmpty() && midi_.file.isEmpty()) {
        Report(false, QString(), false);
        return;
    }
    for (HeldSound* held : { &wav_, &midi_ }) {
        if (!held->file.isEmpty())
            Report(false, held->file, held->loop);
        *held = HeldSound();
    }
}

QString RecordingSoundPort::Held(SoundKind kind) const
{
    return kind == SoundKind::Wav ? wav_.file : kind == SoundKind::Midi ? midi_.file : QString();
}

bool RecordingSoundPort::Looped(SoundKind kind) const
{
    return kind == SoundKind::Wav ? wav_.loop : kind == SoundKind::Midi && midi_.loop;
}

bool ParseReaderScript(const QString& script, QVector<ReaderAction>* actions, QString* error)
{
    static const std::pair<const char*, int> kKeys[] = {
        { "enter", kVkReturn },
        { "return", kVkReturn },
        { "space", kVkSpace },
        { "left", kVkLeft },
        { "right", kVkRight },
        { "up", kVkUp },
        { "down", kVkDown },
        { "escape", kVkEscape },
    };
    actions->clear();
    for (const QString& raw : script.split(QLatin1Char(';'))) {
        const QString text = raw.simplified();
        if (text.isEmpty())
            continue;
        const QStringList words = text.split(QLatin1Char(' '));
        const QString verb = words[0].toLower();
        ReaderAction a;
        a.text = text;
        bool ok = true;
        if (verb == QLatin1String("advance") && words.size() == 1) {
            a.kind = ReaderAction::Advance;
        } else if (verb == QLatin1String("stop") && words.size() == 1) {
            a.kind = ReaderAction::Stop;
        } else if (verb == QLatin1String("click") && words.size() == 3) {
            bool okX = false, okY = false;
            a.kind = ReaderAction::Click;
            a.x = words[1].toInt(&okX);
            a.y = words[2].toInt(&okY);
            ok = okX && okY;
        } else if (verb == QLatin1String("key") && words.size() == 2) {
            a.kind = ReaderAction::Key;
            const QString name = words[1].toLower();
            for (const auto& k : kKeys)
                if (name == QLatin1String(k.first))
                    a.key = k.second;
            ok = a.key != 0;
        } else {
            ok = false;
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("unknown reader action \"%1\"").arg(text);
            return false;
        }
        actions->append(a);
    }
    return true;
}

namespace {

// One JSON object on one line with its keys in the order given ("t" and "event" first),
// so that the lines read the same from run to run.
class JsonLine {
public:
    JsonLine(qint64 t, const char* event)
    {
        Add("t", t);
        Add("event", QString::fromLatin1(event));
    }
    JsonLine& Add(const char* key, const QJsonValue& value)
    {
        const QByteArray array = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
        parts_.push_back(QJsonDocument(QJsonArray { QString::fromLatin1(key) })
                             .toJson(QJsonDocument::Compact)
                             .mid(1)
                             .chopped(1)
            + ':' + array.mid(1).chopped(1));
        return *this;
    }
    QByteArray Bytes() const
    {
        QByteArray out = "{";
        for (std::size_t i = 0; i < parts_.size(); ++i) {
            if (i)
                out += ',';
            out += parts_[i];
        }
        return out + '}';
    }

private:
    std::vector<QByteArray> parts_;
};

class HeadlessEditing : public PlaybackEditing {
public:
    explicit HeadlessEditing(const TOpenBook& book)
        : book_(book)
    {
    }
    QString BookTitle() const override { return book_.BookTitle; }

private:
    const TOpenBook& book_;
};

class JsonObserver : public PlaybackObserver {
public:
    JsonObserver(const Clock& clock, const std::function<void(const QByteArray&)>& emitLine)
        : clock_(clock)
        , emitLine_(emitLine)
    {
    }

    void Emit(const JsonLine& line) { emitLine_(line.Bytes()); }
    JsonLine Line(const char* event) const { return JsonLine(clock_.NowMs(), event); }

    void OnPage(int page, bool inUse) override
    {
        ++pages;
        Emit(Line("page").Add("page", page).Add("inUse", inUse));
    }
    void OnPicture(PictureKind kind, const QString& file, ColorRef color) override
    {
        static const char* const kKinds[] = { "load", "fill", "clip", "present" };
        JsonLine line = Line("picture");
        line.Add("kind", QString::fromLatin1(kKinds[static_cast<int>(kind)]));
        if (kind == PictureKind::Load || kind == PictureKind::Clip)
            line.Add("file", file);
        else if (kind == PictureKind::Fill)
            line.Add("color", static_cast<qint64>(color));
        Emit(line);
    }
    void OnFadeBegin(int wait) override
    {
        Emit(Line("fade").Add("phase", QStringLiteral("begin")).Add("wait", wait).Add("steps", 0));
    }
    void OnFadeEnd(const FadeReport& r) override
    {
        Emit(Line("fade")
                 .Add("phase", QStringLiteral("end"))
                 .Add("wait", r.wait)
                 .Add("steps", r.steps));
    }
    void OnChar(int n, const QString& ch, bool drawn) override
    {
        Emit(Line("char").Add("n", n).Add("ch", ch).Add("drawn", drawn));
    }
    void OnPageDone(int page, int next, bool period, int links) override
    {
        Emit(Line("done")
                 .Add("page", page)
                 .Add("next", next)
                 .Add("period", period)
                 .Add("links", links));
        if (onDone)
            onDone(page);
    }
    void OnWait(int current) override
    {
        Emit(Line("wait").Add("current", current));
        waiting = true;
    }
    void OnEnd(int current) override { Emit(Line("end").Add("current", current)); }

    void Sound(const RecordingSoundPort::Event& e)
    {
        Emit(Line("sound")
                 .Add("action", e.play ? QStringLiteral("play") : QStringLiteral("stop"))
                 .Add("file", e.file)
                 .Add("loop", e.loop));
    }

    bool waiting = false;
    int pages = 0;
    std::function<void(int page)> onDone;

private:
    const Clock& clock_;
    const std::function<void(const QByteArray&)>& emitLine_;
};

} // namespace

int RunHeadless(TOpenBook& book, const HeadlessOptions& options,
    const std::function<void(const QByteArray& line)>& emitLine, QString* error)
{
    ManualClock clock;
    Compositor compositor(clock);
    TTextShotB text;
    TViewerState viewer;
    RecordingSoundPort sounds;
    StillSlider slider;
    HeadlessEditing editing(book);
    PlaybackScreen screen;
    TBusyState busy;
    TPlayback playback(PlaybackParts {
        book, compositor, text, viewer, clock, sounds, slider, editing, screen, busy });
    TViewerActions actions(playback);
    JsonObserver observer(clock, emitLine);
    playback.SetObserver(&observer);
    sounds.onEvent = [&observer](const RecordingSoundPort::Event& e) { observer.Sound(e); };

    bool frameFailed = false;
    if (!options.framesDir.isEmpty()) {
        QDir().mkpath(options.framesDir);
        observer.onDone = [&](int page) {
            const QString path
                = QDir(options.framesDir)
                      .filePath(QStringLiteral("page-%1.png").arg(page, 3, 10, QLatin1Char('0')));
            if (!viewer.Picture().save(path, "PNG") && !frameFailed) {
                frameFailed = true;
                if (error)
                    *error = QStringLiteral("cannot write %1").arg(path);
            }
        };
    }

    int next = 0;
    auto pressStopIfNext = [&] {
        if (busy.IsBusy() && next < options.actions.size()
            && options.actions[next].kind == ReaderAction::Stop) {
            ++next;
            actions.StopButtonClick();
        }
    };

    book.CurrentPage = options.from;
    playback.StartPlaying();
    pressStopIfNext();
    for (;;) {
        if (frameFailed)
            return 1;
        if (observer.pages > options.maxPages) {
            playback.Abandon();
            if (error)
                *error = QStringLiteral("stopped after %1 pages without waiting for the reader")
                             .arg(options.maxPages);
            return 3;
        }
        if (observer.waiting) {
            observer.waiting = false;
            // A stop button pressed while nothing plays does nothing.
            while (
                next < options.actions.size() && options.actions[next].kind == ReaderAction::Stop)
                ++next;
            if (next >= options.actions.size())
                return 0;
            const ReaderAction& a = options.actions[next++];
            switch (a.kind) {
            case ReaderAction::Advance:
                actions.GoOnButtonClick();
                break;
            case ReaderAction::Click:
                actions.PictureMouseDown(a.x, a.y, true);
                break;
            case ReaderAction::Key:
                actions.KeyDown(a.key);
                break;
            case ReaderAction::Stop:
                break;
            }
            if (busy.IsBusy())
                pressStopIfNext();
            else if (!observer.waiting)
                observer.OnWait(book.CurrentPage); // the action changed nothing: still waiting
            continue;
        }
        if (!clock.RunNext()) {
            // Nothing scheduled and not waiting: the player has nothing left to do.
            return 0;
        }
    }
}

} // namespace pimoko
