// ReadSettings on an arbitrary ini.dat, then the write-back at close and a second read:
// the file written back must read without damage and give the same values.
#include "book/settings_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace pimoko;

namespace {

bool SameValues(const TSettings& a, const TSettings& b)
{
    return a.DefaultFontName == b.DefaultFontName && a.DefaultFontStyle == b.DefaultFontStyle
        && a.DefaultFontHeight == b.DefaultFontHeight && a.DefaultFontColor == b.DefaultFontColor
        && a.DefaultShadow == b.DefaultShadow && a.DefaultShadowColor == b.DefaultShadowColor
        && a.DefaultVertical == b.DefaultVertical && a.DefaultTextX == b.DefaultTextX
        && a.DefaultTextY == b.DefaultTextY && a.DefaultCharDelay == b.DefaultCharDelay
        && a.DefaultEffectWait == b.DefaultEffectWait
        && a.DefaultEffectWaitText == b.DefaultEffectWaitText
        && a.DefaultLinePitch == b.DefaultLinePitch && a.DefaultHighlight == b.DefaultHighlight
        && a.DefaultHighlightLevel == b.DefaultHighlightLevel
        && a.TransitionFineness == b.TransitionFineness;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ini.dat"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size))
                != qint64(size))
            std::abort();
    }
    const TSettings first = ReadSettings(dir.path());
    if (first.FileMissing)
        std::abort();
    const bool written = WriteSettings(dir.path(), first, first.TransitionFineness);
    if (written != !first.PlayerMode)
        std::abort(); // exactly the files of a known version are written back
    if (!written)
        return 0;
    const TSettings second = ReadSettings(dir.path());
    if (second.Version != 13 || second.PlayerMode || second.Damaged || !SameValues(first, second))
        std::abort();
    return 0;
}
