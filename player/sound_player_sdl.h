#pragma once

#include "player/sound_player.h"

#include <QObject>
#include <QString>

#include <atomic>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace pimoko {

// The two players on SDL_mixer: a WAV sound is a chunk on a channel kept for it, a MIDI
// sound is the music stream (rendered by FluidSynth with the General MIDI soundfont).
// SDL reports a natural end and a halt through the same callback, from the audio thread;
// the callbacks only post to this object's thread, and each player remembers which
// sound it is playing, so a halt of our own or a sound already replaced is told apart
// from a sound that ran to its end. Only one instance may exist at a time (the mixer is
// one per process).
class SdlSoundPlayers : public QObject, public SoundPort {
    Q_OBJECT
public:
    explicit SdlSoundPlayers(QObject* parent = nullptr);
    ~SdlSoundPlayers() override;

    void PlaySound(const QString& file, bool looped) override;
    void StopSounds() override;

    // False when no audio device could be opened: every sound then plays nothing.
    bool AudioOpen() const { return audioOpen_; }
    bool HasSoundFont() const { return !soundFont_.isEmpty(); }

    bool IsPlaying(SoundKind kind) const;
    QString File(SoundKind kind) const;
    bool LoopFlag(SoundKind kind) const;
    // How often the player started a sound, restarts of a looped one included.
    int Starts(SoundKind kind) const;

signals:
    // A sound reached its end; restarted is true when it was looped and plays again.
    void SoundEnded(pimoko::SoundKind kind, bool restarted);

private:
    struct Player {
        explicit Player(SoundKind k)
            : kind(k)
        {
        }
        SoundKind kind;
        QString file;
        Mix_Chunk* chunk = nullptr;
        Mix_Music* music = nullptr;
        bool playing = false;
        bool loop = false;
        int starts = 0;
        // The sound now playing; 0 while the player itself has stopped it. The audio
        // thread reads it when it reports an end.
        std::atomic<quint64> token { 0 };
    };

    static void ChannelFinished(int channel);
    static void MusicFinished();
    void PostEnd(SoundKind kind, quint64 token);
    void OnEnded(SoundKind kind, quint64 token);

    Player& PlayerFor(SoundKind kind);
    const Player& PlayerFor(SoundKind kind) const;
    bool Start(Player& p);
    void StopAndClose(Player& p);

    Player wav_ = Player(SoundKind::Wav);
    Player midi_ = Player(SoundKind::Midi);
    quint64 nextToken_ = 1;
    bool audioOpen_ = false;
    QString soundFont_;
};

} // namespace pimoko
