#include "book/settings_file.h"

#include "book/book_lines.h"
#include "platform/line_file.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/sjis_codec.h"

#include <QFileInfo>

namespace pimoko {
namespace {

// Sixteen short lines. A larger file is no settings file of ours, and reading it whole
// would take many times its size in memory.
constexpr qint64 kMaxSettingsFileBytes = qint64(64) << 10;

bool ReadSettingsLines(const QString& path, QStringList* lines)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes, kMaxSettingsFileBytes))
        return false;
    *lines = SplitSjisLines(bytes);
    return true;
}

// A text Shift_JIS cannot hold would be written as "?", a look-alike read back as its
// twin; the file's own value stays then.
const QString& StorableText(const QString& text, const QString& inFile)
{
    return EncodeSjis(text).exact() ? text : inFile;
}

const QString kMarkerV03 = QStringLiteral("PBOOK_INIFILE_V03");
const QString kMarkerV08 = QStringLiteral("PBOOK_INIFILE_V08");
const QString kMarkerV12 = QStringLiteral("PBOOK_INIFILE_V12");
const QString kMarkerV13 = QStringLiteral("PBOOK_INIFILE_V13");

int VersionOf(const QString& marker)
{
    if (marker == kMarkerV03)
        return 3;
    if (marker == kMarkerV08)
        return 8;
    if (marker == kMarkerV12)
        return 12;
    if (marker == kMarkerV13)
        return 13;
    return 0;
}

// Value lines by their 1-based line number. A line that is missing or holds no number
// leaves the start-up value and marks the file as damaged.
class SettingsLines {
public:
    SettingsLines(const QStringList& lines, TSettings& s)
        : lines_(lines)
        , s_(s)
    {
    }

    void Text(int line, QString& field)
    {
        if (line <= lines_.size())
            field = lines_[line - 1];
        else
            s_.Damaged = true;
    }
    void Bool(int line, bool& field)
    {
        if (line <= lines_.size())
            field = StrToBool(lines_[line - 1]);
        else
            s_.Damaged = true;
    }
    bool Int(int line, int& field)
    {
        int v = 0;
        if (line <= lines_.size() && TryStrToInt(lines_[line - 1], &v)) {
            field = v;
            return true;
        }
        s_.Damaged = true;
        return false;
    }

private:
    const QStringList& lines_;
    TSettings& s_;
};

} // namespace

QString SettingsFilePath(const QString& startupFolder)
{
    return FindExistingPath(JoinPath(startupFolder, QStringLiteral("ini.dat")));
}

TSettings ReadSettings(const QString& startupFolder)
{
    TSettings s;
    const QString path = SettingsFilePath(startupFolder);
    if (!QFileInfo(path).isFile())
        return s;
    s.FileMissing = false;
    QStringList lines;
    if (!ReadSettingsLines(path, &lines) || lines.isEmpty())
        return s;
    s.Marker = lines[0];
    s.Version = VersionOf(lines[0]);
    if (s.Version == 0)
        return s;
    s.PlayerMode = false;

    SettingsLines v(lines, s);
    v.Text(2, s.DefaultFontName);
    if (s.Version == 3) {
        v.Int(3, s.DefaultFontHeight);
        v.Int(4, s.DefaultFontColor);
        v.Int(5, s.DefaultCharDelay);
        if (v.Int(6, s.DefaultEffectWait))
            s.DefaultEffectWaitText = IntToStr(s.DefaultEffectWait);
        v.Int(7, s.TransitionFineness);
        return s;
    }
    v.Text(3, s.DefaultFontStyle);
    v.Int(4, s.DefaultFontHeight);
    v.Int(5, s.DefaultFontColor);
    v.Bool(6, s.DefaultShadow);
    v.Int(7, s.DefaultShadowColor);
    v.Bool(8, s.DefaultVertical);
    v.Int(9, s.DefaultTextX);
    v.Int(10, s.DefaultTextY);
    v.Int(11, s.DefaultCharDelay);
    // The field keeps the line as written, so the file is written back as it was.
    if (v.Int(12, s.DefaultEffectWait))
        s.DefaultEffectWaitText = lines[11];
    v.Int(13, s.TransitionFineness);
    if (s.Version >= 12)
        v.Int(14, s.DefaultLinePitch);
    if (s.Version >= 13) {
        v.Bool(15, s.DefaultHighlight);
        v.Int(16, s.DefaultHighlightLevel);
    }
    return s;
}

bool WriteSettings(const QString& startupFolder, const TBookDefaults& d, int transitionFineness)
{
    const QString path = SettingsFilePath(startupFolder);
    if (!QFileInfo(path).isFile())
        return false;
    QStringList lines;
    if (!ReadSettingsLines(path, &lines) || lines.isEmpty() || VersionOf(lines[0]) == 0)
        return false;
    const TSettings inFile = ReadSettings(startupFolder);
    const QStringList out = {
        kMarkerV13,
        StorableText(d.DefaultFontName, inFile.DefaultFontName),
        StorableText(d.DefaultFontStyle, inFile.DefaultFontStyle),
        IntToStr(d.DefaultFontHeight),
        IntToStr(d.DefaultFontColor),
        BoolToStr(d.DefaultShadow),
        IntToStr(d.DefaultShadowColor),
        BoolToStr(d.DefaultVertical),
        IntToStr(d.DefaultTextX),
        IntToStr(d.DefaultTextY),
        IntToStr(d.DefaultCharDelay),
        StoredFadeWaitText(d),
        IntToStr(transitionFineness),
        IntToStr(d.DefaultLinePitch),
        BoolToStr(d.DefaultHighlight),
        IntToStr(d.DefaultHighlightLevel),
    };
    return WriteLineFile(path, out);
}

} // namespace pimoko
