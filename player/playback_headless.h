#pragma once

#include "player/sound_player.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace pimoko {

class TOpenBook;

// A sound port that plays nothing and reports what the two players would do, by their
// rules: only an existing ".wav" or ".mid" file starts, replacing the sound of its own
// kind (which is reported stopped first); StopSounds reports each sound the players held,
// or one stop without a file when they held none. A sound played once is held until it
// is replaced or stopped: nothing here knows how long a sound lasts.
class RecordingSoundPort : public SoundPort {
public:
    struct Event {
        bool play = false;
        QString file;
        bool loop = false;
    };
    std::function<void(const Event&)> onEvent;

    void PlaySound(const QString& file, bool looped) override;
    void StopSounds() override;

    QString Held(SoundKind kind) const;
    bool Looped(SoundKind kind) const;

private:
    struct HeldSound {
        QString file;
        bool loop = false;
    };
    void Report(bool play, const QString& file, bool loop);
    HeldSound wav_, midi_;
};

// One action of the reader in a headless run.
struct ReaderAction {
    enum Kind { Advance, Click, Key, Stop };
    Kind kind = Advance;
    int x = 0, y = 0; // Click
    int key = 0; // Key: a kVk code
    QString text; // as written
};

// Parses "advance;click X Y;key Enter;stop". False with a message for a bad action.
bool ParseReaderScript(const QString& script, QVector<ReaderAction>* actions, QString* error);

struct HeadlessOptions {
    int from = 1;
    QVector<ReaderAction> actions;
    QString framesDir; // empty: no frames written
    int maxPages = 2000; // a book that loops without waiting ends here
};

// Plays a loaded book without a screen on a simulated clock (every wait lasts exactly its
// time, drawing takes none) and hands each event to emitLine as one JSON line:
//   page    {"page", "inUse"}                 PlayPage was called
//   sound   {"action": play|stop, "file", "loop"}
//   picture {"kind": load|fill|clip|present, "file" | "color"}
//   fade    {"phase": begin|end, "wait", "steps"}
//   char    {"n", "ch", "drawn"}
//   done    {"page", "next", "period", "links"}
//   wait    {"current"}                       the player waits for the reader
//   end     {"current"}                       the book ended (a wait follows)
// Each line starts with "t" (simulated ms) and "event". At each wait the next action
// other than stop is applied; a stop action is the stop button pressed right after the
// action before it started the player, before another character is typed. An action
// that does not start the player leaves it waiting (another wait line). The run ends at
// the first wait with no action left. Returns 0; 3 when maxPages pages were played
// without the run ending (the player is then torn down); 1 when a frame cannot be written.
int RunHeadless(TOpenBook& book, const HeadlessOptions& options,
    const std::function<void(const QByteArray& line)>& emitLine, QString* error);

} // namespace pimoko
