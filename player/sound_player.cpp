#include "player/sound_player.h"

#include "platform/paths.h"

#include <QFileInfo>
#include <QtDebug>

namespace pimoko {

SoundKind SoundKindOf(const QString& path)
{
    if (HasExtension(path, QStringLiteral(".wav")))
        return SoundKind::Wav;
    if (HasExtension(path, QStringLiteral(".mid")))
        return SoundKind::Midi;
    return SoundKind::None;
}

QString FindSoundFont()
{
    static const char* const kCandidates[] = {
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/soundfonts/default.sf2",
    };
    for (const char* c : kCandidates) {
        const QString path = QString::fromUtf8(c);
        if (QFileInfo(path).isFile())
            return path;
    }
    qWarning("No General MIDI soundfont found (install the timgm6mb-soundfont package); "
             "MIDI sounds will not be heard.");
    return QString();
}

} // namespace pimoko
