#include "player/sound_player_sdl.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QtDebug>

#include <SDL.h>
#include <SDL_mixer.h>

namespace pimoko {
namespace {

// The channel kept for WAV sounds; nothing else plays on it.
constexpr int kWavChannel = 0;

// The mixer's callbacks carry no user data; they reach the players through this.
std::atomic<SdlSoundPlayers*> g_players { nullptr };

} // namespace

SdlSoundPlayers::SdlSoundPlayers(QObject* parent)
    : QObject(parent)
{
    SdlSoundPlayers* expected = nullptr;
    if (!g_players.compare_exchange_strong(expected, this)) {
        qWarning("A second set of sound players was made; it plays nothing.");
        return;
    }
    soundFont_ = FindSoundFont();
    // SDL would otherwise take SIGINT and SIGTERM for a quit event nobody reads, and the
    // program could no longer be ended by kill, Ctrl-C or a logout.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        qWarning("Sound is off: the audio system did not start (%s).", SDL_GetError());
        return;
    }
    // FluidSynth reads the soundfont when a MIDI file is opened; the environment
    // variable alone is not consulted.
    if (!soundFont_.isEmpty())
        Mix_SetSoundFonts(QFile::encodeName(soundFont_).constData());
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        qWarning("Sound is off: no audio device could be opened (%s).", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Mix_AllocateChannels(2);
    Mix_ReserveChannels(1);
    Mix_ChannelFinished(&SdlSoundPlayers::ChannelFinished);
    Mix_HookMusicFinished(&SdlSoundPlayers::MusicFinished);
    audioOpen_ = true;
}

SdlSoundPlayers::~SdlSoundPlayers()
{
    if (g_players.load() != this)
        return;
    if (audioOpen_) {
        // The hooks are replaced under the mixer's lock: once these return, no callback
        // is running or will run for this object.
        Mix_ChannelFinished(nullptr);
        Mix_HookMusicFinished(nullptr);
        StopAndClose(wav_);
        StopAndClose(midi_);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_players.store(nullptr);
}

void SdlSoundPlayers::ChannelFinished(int channel)
{
    SdlSoundPlayers* self = g_players.load();
    if (self && channel == kWavChannel)
        self->PostEnd(SoundKind::Wav, self->wav_.token.load());
}

void SdlSoundPlayers::MusicFinished()
{
    SdlSoundPlayers* self = g_players.load();
    if (self)
        self->PostEnd(SoundKind::Midi, self->midi_.token.load());
}

void SdlSoundPlayers::PostEnd(SoundKind kind, quint64 token)
{
    // Possibly the audio thread: nothing is touched here but the event queue.
    QMetaObject::invokeMethod(
        this, [this, kind, token] { OnEnded(kind, token); }, Qt::QueuedConnection);
}

void SdlSoundPlayers::OnEnded(SoundKind kind, quint64 token)
{
    Player& p = PlayerFor(kind);
    // A halt of our own reports token 0; an end of a sound since replaced carries the old
    // one. Only the sound now playing can have reached its end.
    if (token == 0 || token != p.token.load() || !p.playing)
        return;
    p.token.store(0);
    p.playing = false;
    bool restarted = false;
    if (p.loop) {
        // The music stream cannot seek: a looped sound is played again from its start,
        // which is what rewinding gives for both kinds.
        restarted = Start(p);
    }
    emit SoundEnded(kind, restarted);
}

SdlSoundPlayers::Player& SdlSoundPlayers::PlayerFor(SoundKind kind)
{
    return kind == SoundKind::Midi ? midi_ : wav_;
}

const SdlSoundPlayers::Player& SdlSoundPlayers::PlayerFor(SoundKind kind) const
{
    return kind == SoundKind::Midi ? midi_ : wav_;
}

bool SdlSoundPlayers::Start(Player& p)
{
    const quint64 token = nextToken_++;
    // Set before playing: a very short sound may end before Mix_Play returns.
    p.token.store(token);
    const int result = p.kind == SoundKind::Wav ? Mix_PlayChannel(kWavChannel, p.chunk, 0)
                                                : Mix_PlayMusic(p.music, 0);
    if (result < 0) {
        p.token.store(0);
        p.playing = false;
        qWarning("Sound %s did not start: %s", qUtf8Printable(p.file), Mix_GetError());
        return false;
    }
    p.playing = true;
    ++p.starts;
    return true;
}

void SdlSoundPlayers::StopAndClose(Player& p)
{
    p.token.store(0);
    p.playing = false;
    if (p.chunk) {
        Mix_HaltChannel(kWavChannel);
        Mix_FreeChunk(p.chunk);
        p.chunk = nullptr;
    }
    if (p.music) {
        Mix_HaltMusic();
        Mix_FreeMusic(p.music);
        p.music = nullptr;
    }
    p.file.clear();
}

void SdlSoundPlayers::PlaySound(const QString& file, bool looped)
{
    const SoundKind kind = SoundKindOf(file);
    if (kind == SoundKind::None || !QFileInfo(file).isFile())
        return;
    Player& p = PlayerFor(kind);
    StopAndClose(p);
    p.loop = looped;
    p.file = file;
    if (!audioOpen_)
        return;
    const QByteArray name = QFile::encodeName(file);
    if (kind == SoundKind::Wav)
        p.chunk = Mix_LoadWAV(name.constData());
    else
        p.music = Mix_LoadMUS(name.constData());
    if (!p.chunk && !p.music) {
        qWarning("Sound %s could not be opened: %s", qUtf8Printable(file), Mix_GetError());
        return;
    }
    Start(p);
}

void SdlSoundPlayers::StopSounds()
{
    for (Player* p : { &wav_, &midi_ }) {
        p->loop = false;
        if (audioOpen_)
            StopAndClose(*p);
        else
            p->file.clear();
    }
}

bool SdlSoundPlayers::IsPlaying(SoundKind kind) const
{
    return kind != SoundKind::None && PlayerFor(kind).playing;
}

QString SdlSoundPlayers::File(SoundKind kind) const
{
    return kind == SoundKind::None ? QString() : PlayerFor(kind).file;
}

bool SdlSoundPlayers::LoopFlag(SoundKind kind) const
{
    return kind != SoundKind::None && PlayerFor(kind).loop;
}

int SdlSoundPlayers::Starts(SoundKind kind) const
{
    return kind == SoundKind::None ? 0 : PlayerFor(kind).starts;
}

} // namespace pimoko
