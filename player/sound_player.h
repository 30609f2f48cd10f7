#pragma once

#include <QString>

namespace pimoko {

// Which of the two players a sound file goes to, by its extension without regard to case.
enum class SoundKind { None, Wav, Midi };
SoundKind SoundKindOf(const QString& path);

// The viewer's two sound players, WAV and MIDI, as the page player and the editor's
// audition buttons use them. They are independent: a WAV and a MIDI sound can play at
// once, and a new sound replaces only the sound of its own kind.
class SoundPort {
public:
    virtual ~SoundPort() = default;

    // file is already resolved against the book's folder. A missing file, or one that is
    // neither ".wav" nor ".mid", plays nothing and leaves the other sounds running. A
    // looped sound starts again each time it reaches its end.
    virtual void PlaySound(const QString& file, bool looped) = 0;
    // Both players stopped and closed, looping off.
    virtual void StopSounds() = 0;
};

// A sound port that plays nothing (tools and tests that do not listen).
class SilentSoundPort : public SoundPort {
public:
    void PlaySound(const QString&, bool) override { }
    void StopSounds() override { }
};

// The General MIDI soundfont MIDI files are rendered with, looked up in the places the
// distribution installs it; empty (after a warning in the log) when none is installed.
QString FindSoundFont();

} // namespace pimoko
