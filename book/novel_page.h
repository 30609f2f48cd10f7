#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace pimoko {

class BookLines;

// One page of a book: everything the player needs to show it. Pages live in the open
// book's fixed table and are cleared rather than destroyed.
class TNovelPage {
public:
    static constexpr int kCharDelayCount = 2001;
    using CharDelayArray = std::array<qint16, kCharDelayCount>;

    TNovelPage(); // Create
    static TNovelPage Create() { return TNovelPage(); }

    bool InUse = false;
    int PageNumber = 0;
    QString Title;
    QString SoundFile;
    QString PictureFile;
    int PicEffect = 0;
    bool ClipMode = false;
    int ClipX = 0;
    int ClipY = 0;
    bool ClipTransparent = true;
    int EffectWait = 0;
    QStringList TextLines;
    int TextX = 0;
    int TextY = 0;
    bool Vertical = false;
    int LinePitch = 0;
    CharDelayArray CharDelays;
    int FontHeight = 0;
    int FontColor = 0;
    int ShadowColor = 0;
    bool Shadow = true;
    bool Highlight = false;
    int HighlightLevel = 1;
    QString FontStyle = QStringLiteral("Type_");
    QString FontName;
    int FontFamily = -1;
    int FontCharset = -1;
    bool WriteAll = false;
    bool FillImage = false;
    int FillColor = 0;
    bool AutoNext = false;
    bool DrawToBackBuffer = false;
    bool ShowBackBuffer = false;
    bool SoundLoop = false;
    bool SoundStop = false;
    int LinkPage = 0;
    bool Period = false;
    int GotoPage = 0;
    QString DistPictureName;
    QString DistSoundName;

    // Every field back to its default, except PageNumber.
    void Clear();
    void ResetCharDelays();
    // Copies every field, PageNumber and the distribution names included.
    void Assign(const TNovelPage& other);

    // True when the page has no text settings of its own yet (the editor then copies
    // the book defaults into it).
    bool HasNoTextSettings() const;

    // Reads one page block starting at line index (0-based), which it advances. Each
    // tag is looked up from the current line to the end of the file. Returns whether
    // the block's "<TITLE>" was found; InUse becomes that result. A malformed number
    // throws EConvertError with the fields read so far kept.
    bool ReadBlock(const QStringList& lines, int& index);
    // The same over a file whose tags are indexed once (the book loader's way: no
    // rescanning for every tag of every page).
    bool ReadBlock(const BookLines& lines, int& index);

    // Appends this page's block; nothing when InUse is false.
    void WriteBlock(QStringList& lines) const;
    // As WriteBlock, with the media names as a distribution folder holds them.
    void WriteRuntimeBlock(QStringList& lines, bool convertToJpeg) const;

    // The same blocks appended to one text, each line ended by CR LF (runtime selects
    // the runtime block).
    void WriteBlockText(QString& text, bool runtime, bool convertToJpeg) const;
    // The names a runtime block writes for the picture and the sound.
    QString RuntimePictureName(bool convertToJpeg) const;
    QString RuntimeSoundName() const;

    // Bare picture and sound names get folder (ending with a separator) in front.
    void ResolveMediaPaths(const QString& folder);
};

} // namespace pimoko
