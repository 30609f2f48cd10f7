#include "editor/web_export.h"

#include "book/book_json.h"
#include "book/novel_page.h"
#include "book/open_book.h"
#include "platform/canvas.h"
#include "platform/jpeg_codec.h"
#include "platform/prompt_port.h"
#include "platform/sjis_codec.h"
#include "player/compositor_drawing.h"
#include "player/compositor_pages.h"
#include "player/sound_player.h"
#include "text/font_table.h"
#include "text/text_shot.h"
#include "text/text_shot_b.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <hb-subset.h>
#include <hb.h>
#include <sndfile.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace pimoko {
namespace {

// The name a trace gives a media file: the part after the last folder separator of the
// path the player resolved. The author's folders stay on the author's machine.
QString TraceName(const QString& resolved)
{
    const int cut
        = std::max(resolved.lastIndexOf(QLatin1Char('/')), resolved.lastIndexOf(QLatin1Char('\\')));
    return resolved.mid(cut + 1);
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size()
        && f.flush();
}

// The steps of one run and whether the reader of the progress still wants it.
class Steps {
public:
    Steps(const std::function<bool(int, int)>& report, int total)
        : report_(report)
        , total_(total)
    {
    }
    // Reports where the run stands; false once a stop was asked for.
    bool Report()
    {
        if (!stopped_ && report_ && !report_(done_, total_))
            stopped_ = true;
        return !stopped_;
    }
    bool Done()
    {
        ++done_;
        return Report();
    }
    // False once a stop was asked for, without a report.
    bool Alive() const { return !stopped_; }
    void SetTotal(int total) { total_ = total; }
    bool Stopped() const { return stopped_; }

private:
    std::function<bool(int, int)> report_;
    int total_;
    int done_ = 0;
    bool stopped_ = false;
};

// The files of a run, named within the folder. They are written into a hidden folder
// beside the others and take their places only once all are written, so a run that is
// stopped or fails leaves the folder as it was, an earlier edition in it too.
struct Written {
    Written(const QString& stageFolder, const QString& outFolder)
        : stage(stageFolder)
        , out(outFolder)
    {
    }
    QString stage;
    QString out;
    QStringList files; // relative: "index.html", "media/m001.png"
    bool failed = false;
    QStringList notes;

    QString Staged(const QString& name) const { return QDir(stage).filePath(name); }
    bool Write(const QString& name, const QByteArray& bytes)
    {
        files << name;
        if (WriteBytes(Staged(name), bytes))
            return true;
        Fail(name);
        return false;
    }
    void Fail(const QString& name)
    {
        failed = true;
        notes << QStringLiteral("%1 に書き込めませんでした。")
                     .arg(QDir::toNativeSeparators(QDir(out).filePath(name)));
    }
    // Puts every file in its place. Media of an earlier edition that this one does not
    // use go, since nothing names them any more.
    bool Commit()
    {
        for (const QString& name : files) {
            const QString target = QDir(out).filePath(name);
            QDir().mkpath(QFileInfo(target).path());
            QFile::remove(target);
            if (!QFile::rename(Staged(name), target)) {
                Fail(name);
                return false;
            }
        }
        const QRegularExpression ours(QStringLiteral("^m[0-9]{3}\\.(jpg|png|wav|flac|mp3)$"));
        const QDir media(QDir(out).filePath(QStringLiteral("media")));
        for (const QFileInfo& f : media.entryInfoList(QDir::Files))
            if (ours.match(f.fileName()).hasMatch()
                && !files.contains(QStringLiteral("media/") + f.fileName()))
                QFile::remove(f.absoluteFilePath());
        return true;
    }
};

// A tune rendered by the synthesiser, the sound font the desktop player uses, as MP3:
// every browser plays it, and a short tune kept as WAV would outweigh the whole book.
// One channel at 22 kHz is plenty for the small tunes of a picture book. The notes' last
// quiet tails are cut, so a looped tune comes round again about when the desktop's does.
bool EncodeMp3(const QString& wav, const QString& mp3)
{
    SF_INFO in {};
    SNDFILE* source = sf_open(QFile::encodeName(wav).constData(), SFM_READ, &in);
    if (!source)
        return false;
    std::vector<float> mono;
    if (in.channels >= 1) {
        constexpr int kFrames = 4096;
        std::vector<float> frames(size_t(kFrames) * size_t(in.channels));
        sf_count_t n = 0;
        while ((n = sf_readf_float(source, frames.data(), kFrames)) > 0)
            for (sf_count_t i = 0; i < n; ++i) {
                float sum = 0;
                for (int c = 0; c < in.channels; ++c)
                    sum += frames[size_t(i) * size_t(in.channels) + size_t(c)];
                mono.push_back(sum / float(in.channels));
            }
    }
    sf_close(source);
    constexpr float kQuiet = 0.001f; // about 60 dB below full scale
    size_t length = mono.size();
    while (length > 0 && std::abs(mono[length - 1]) < kQuiet)
        --length;
    SF_INFO outInfo {};
    outInfo.samplerate = in.samplerate;
    outInfo.channels = 1;
    outInfo.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE* out = sf_open(QFile::encodeName(mp3).constData(), SFM_WRITE, &outInfo);
    if (!out)
        return false;
    int mode = SF_BITRATE_MODE_VARIABLE;
    sf_command(out, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
    double level = 0.7;
    sf_command(out, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
    const bool ok = sf_writef_float(out, mono.data(), sf_count_t(length)) == sf_count_t(length);
    return sf_close(out) == 0 && ok;
}

// Writes each media file once into OUTDIR/media under a plain ASCII name (a book's names
// may hold characters a web server mangles), and remembers what became of it.
class MediaWriter {
public:
    MediaWriter(Written& written, Steps& steps)
        : written_(written)
        , steps_(steps)
    {
        QDir().mkpath(written_.Staged(QStringLiteral("media")));
    }

    // A page picture: JPEG kept (its pixels), any other picture as PNG. Empty when it cannot
    // be read (the player then draws black, as the desktop does).
    QString Picture(const QString& resolved)
    {
        const QString key = QStringLiteral("p:") + resolved;
        if (done_.contains(key))
            return done_.value(key);
        QString out;
        const QImage picture = LoadPicture(resolved);
        if (!picture.isNull()) {
            if (resolved.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)) {
                QFile in(resolved);
                if (in.open(QIODevice::ReadOnly)) {
                    // Packed again without a change to a pixel: smaller, and without a
                    // camera's orientation tag, which a browser would obey and the desktop
                    // does not.
                    const QByteArray original = in.readAll();
                    const QByteArray repacked = RepackJpeg(original);
                    out = NextName(QStringLiteral("jpg"));
                    written_.Write(out, repacked.isEmpty() ? original : repacked);
                }
            } else {
                out = NextName(QStringLiteral("png"));
                SavePng(picture, out);
            }
        }
        done_.insert(key, out);
        return out;
    }

    // A clip: always PNG; with a key colour (the bottom-left pixel) that colour becomes
    // transparent.
    QString Clip(const QString& resolved, bool transparent)
    {
        const QString key = (transparent ? QStringLiteral("t:") : QStringLiteral("c:")) + resolved;
        if (done_.contains(key))
            return done_.value(key);
        QString out;
        const QImage picture = LoadPicture(resolved);
        if (!picture.isNull()) {
            QImage image = picture.convertToFormat(QImage::Format_ARGB32);
            if (transparent) {
                const QRgb keyColour = image.pixel(0, image.height() - 1);
                for (int y = 0; y < image.height(); ++y) {
                    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
                    for (int x = 0; x < image.width(); ++x)
                        if (row[x] == keyColour)
                            row[x] = 0;
                }
            }
            out = NextName(QStringLiteral("png"));
            SavePng(image, out);
        }
        done_.insert(key, out);
        return out;
    }

    // A sound: WAV kept; MIDI rendered (see EncodeMp3). Empty when it cannot be had (the
    // page is then silent).
    QString Sound(const QString& resolved)
    {
        const QString key = QStringLiteral("s:") + resolved;
        if (done_.contains(key))
            return done_.value(key);
        QString out;
        const SoundKind kind = SoundKindOf(resolved);
        if (kind == SoundKind::Wav) {
            QFile in(resolved);
            if (in.open(QIODevice::ReadOnly)) {
                out = NextName(QStringLiteral("wav"));
                written_.Write(out, in.readAll());
            }
        } else if (kind == SoundKind::Midi) {
            out = RenderMidi(resolved);
        }
        done_.insert(key, out);
        return out;
    }

private:
    void SavePng(const QImage& image, const QString& name)
    {
        written_.files << name;
        // The smallest of Qt's PNGs: a picture is written once and read many times.
        if (!image.save(written_.Staged(name), "PNG", 0))
            written_.Fail(name);
    }

    QString RenderMidi(const QString& resolved)
    {
        const QString synth = QStandardPaths::findExecutable(QStringLiteral("fluidsynth"));
        const QString soundFont = FindSoundFont();
        if (synth.isEmpty() || soundFont.isEmpty()) {
            written_.notes << QStringLiteral("%1: MIDI を音にするシンセサイザーか音色ファイルが"
                                             "ないため、音なしになります。")
                                  .arg(TraceName(resolved));
            return QString();
        }
        QTemporaryDir scratch;
        const QString wav = scratch.filePath(QStringLiteral("tune.wav"));
        QProcess p;
        p.start(synth,
            { QStringLiteral("-ni"), QStringLiteral("-q"), QStringLiteral("-r"),
                QStringLiteral("22050"), QStringLiteral("-T"), QStringLiteral("wav"),
                QStringLiteral("-F"), wav, soundFont, resolved });
        p.waitForStarted(10000);
        // A tune takes a few seconds; the progress window stays alive meanwhile.
        int waited = 0;
        while (p.state() != QProcess::NotRunning && !p.waitForFinished(50) && steps_.Report()
            && (waited += 50) < 120000) { }
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
            if (!steps_.Stopped())
                written_.notes << QStringLiteral("%1: MIDI を音にできませんでした（時間切れ）。")
                                      .arg(TraceName(resolved));
            return QString();
        }
        const QString out = NextName(QStringLiteral("mp3"));
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !QFileInfo(wav).isFile()
            || !EncodeMp3(wav, written_.Staged(out))) {
            QFile::remove(written_.Staged(out));
            written_.notes
                << QStringLiteral("%1: MIDI を音にできませんでした。").arg(TraceName(resolved));
            return QString();
        }
        written_.files << out;
        return out;
    }
    QString NextName(const QString& extension)
    {
        return QStringLiteral("media/m%1.%2").arg(++count_, 3, 10, QLatin1Char('0')).arg(extension);
    }
    Written& written_;
    Steps& steps_;
    QHash<QString, QString> done_;
    int count_ = 0;
};

// The faces the book's texts are drawn in, each cut down to the characters it draws: a
// whole Japanese face weighs megabytes. A browser will not load a font file from disk
// for a page opened from disk, so the faces travel inside fonts.js.
class FontWriter {
public:
    // The name the player knows the face by, for the face a page's font resolves to.
    QString Use(const QString& faceName, const QStringList& chars)
    {
        const QString family = DrawingFamilyOf(faceName);
        Face& face = faces_[family];
        if (face.name.isEmpty())
            face.name = QStringLiteral("book-face-%1").arg(faces_.size());
        for (const QString& ch : chars)
            for (const uint c : ch.toUcs4())
                face.codepoints.insert(c);
        return face.name;
    }
    int Count() const { return faces_.size(); }

    // Writes fonts.js (and the licences of the faces' packages beside it). A face that
    // cannot be read or cut is left to the reader's own faces, with a note.
    void Write(Written& written, Steps& steps)
    {
        QByteArray js = "window.BOOK_FONTS = [\n";
        for (auto it = faces_.cbegin(); it != faces_.cend(); ++it) {
            const QString file = FileOf(it.key());
            const QByteArray subset = file.isEmpty() ? QByteArray() : Subset(file, it.value());
            if (subset.isEmpty()) {
                written.notes << QStringLiteral("%1: 書体を書き出せないため、読む人の書体で"
                                                "表示されます。")
                                     .arg(it.key());
            } else {
                js += "  { name: \"" + it.value().name.toUtf8() + "\", data: \"" + subset.toBase64()
                    + "\" },\n";
                AddLicence(it.key(), file);
            }
            if (!steps.Done())
                return;
        }
        js += "];\n";
        WriteLicences(written);
        written.Write(QStringLiteral("fonts.js"), js);
    }

private:
    struct Face {
        QString name;
        QSet<uint> codepoints;
    };

    static QString FileOf(const QString& family)
    {
        QProcess p;
        p.start(QStringLiteral("fc-match"),
            { QStringLiteral("-f"), QStringLiteral("%{file}"), family });
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return QString();
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    static QByteArray Subset(const QString& file, const Face& face)
    {
        hb_blob_t* blob = hb_blob_create_from_file_or_fail(QFile::encodeName(file).constData());
        if (!blob)
            return QByteArray();
        hb_face_t* source = hb_face_create(blob, 0);
        hb_blob_destroy(blob);
        hb_subset_input_t* input = hb_subset_input_create_or_fail();
        QByteArray out;
        if (input) {
            hb_set_t* unicodes = hb_subset_input_unicode_set(input);
            for (const uint c : face.codepoints)
                hb_set_add(unicodes, c);
            // Every layout feature stays, the vertical forms among them.
            hb_set_t* features = hb_subset_input_set(input, HB_SUBSET_SETS_LAYOUT_FEATURE_TAG);
            hb_set_clear(features);
            hb_set_invert(features);
            if (hb_face_t* cut = hb_subset_or_fail(source, input)) {
                hb_blob_t* bytes = hb_face_reference_blob(cut);
                unsigned int length = 0;
                const char* data = hb_blob_get_data(bytes, &length);
                out = QByteArray(data, static_cast<int>(length));
                hb_blob_destroy(bytes);
                hb_face_destroy(cut);
            }
            hb_subset_input_destroy(input);
        }
        hb_face_destroy(source);
        return out;
    }

    // A face is passed on with its licence: the copyright file of the package it came
    // from. Faces of one family of packages often share one text; it is written once.
    void AddLicence(const QString& family, const QString& file)
    {
        QProcess p;
        p.start(QStringLiteral("dpkg-query"),
            { QStringLiteral("-S"), QFileInfo(file).canonicalFilePath() });
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return;
        const QString package
            = QString::fromUtf8(p.readAllStandardOutput()).section(QLatin1Char(':'), 0, 0);
        QFile licence(QStringLiteral("/usr/share/doc/%1/copyright").arg(package));
        if (package.isEmpty() || !licence.open(QIODevice::ReadOnly))
            return;
        const QByteArray text = licence.readAll();
        for (Licence& l : licences_)
            if (l.text == text) {
                l.covers << QStringLiteral("%1 (%2)").arg(family, package);
                return;
            }
        licences_.push_back({ text, { QStringLiteral("%1 (%2)").arg(family, package) } });
    }

    void WriteLicences(Written& written) const
    {
        if (licences_.empty())
            return;
        QByteArray all;
        for (const Licence& l : licences_)
            all += "The faces " + l.covers.join(QStringLiteral(", ")).toUtf8()
                + " in fonts.js are cut down from faces distributed under these terms:\n\n" + l.text
                + "\n";
        written.Write(QStringLiteral("LICENSE-fonts.txt"), all);
    }

    struct Licence {
        QByteArray text;
        QStringList covers;
    };
    std::vector<Licence> licences_;
    QMap<QString, Face> faces_;
};

QJsonArray RectJson(double left, double top, double width, double height)
{
    constexpr double s = TTextShotB::kSupersampling;
    return QJsonArray { left / s, top / s, width / s, height / s };
}

// What the web player needs of a page beyond its stored fields, worked out here with the
// desktop's own engine so both players agree: the characters in typing order with their
// cells (and underline and strike-out bars), the text's link area, the media as written
// into the folder and as the trace names them, and the face the text is drawn in.
QJsonObject WebFields(
    const TNovelPage& p, const PathResolver& resolve, MediaWriter& media, FontWriter& fonts)
{
    QJsonObject web;
    if (!p.PictureFile.isEmpty()) {
        const QString resolved = resolve(p.PictureFile);
        web.insert(QStringLiteral("pictureName"), TraceName(resolved));
        web.insert(QStringLiteral("picture"),
            p.ClipMode ? media.Clip(resolved, p.ClipTransparent) : media.Picture(resolved));
    }
    if (!p.SoundFile.isEmpty() && !p.SoundStop) {
        const QString resolved = resolve(p.SoundFile);
        const SoundKind kind = SoundKindOf(resolved);
        // The desktop starts only an existing ".wav" or ".mid" file.
        if (kind != SoundKind::None && QFileInfo(resolved).isFile()) {
            web.insert(QStringLiteral("soundName"), TraceName(resolved));
            web.insert(QStringLiteral("soundKind"),
                kind == SoundKind::Wav ? QStringLiteral("wav") : QStringLiteral("mid"));
            web.insert(QStringLiteral("sound"), media.Sound(resolved));
        }
    }

    const LogFont resolvedFont = ResolveFont(p.FontName, p.FontCharset, p.FontFamily);
    QImage page(kPageWidth, kPageHeight, QImage::Format_BGR888);
    Canvas canvas(&page);
    const CanvasFont font = PageTextFont(p);
    canvas.SetFont(font);
    TTextShotB text;
    text.SetTargetBitmap(&canvas);
    text.SetOrigin(p.TextX, p.TextY);
    text.SetText(p.TextLines);
    text.SetLinePitch(p.LinePitch);
    if (p.Vertical)
        text.SetVertical();
    else
        text.SetHorizontal();

    // The face the engine draws each character with in its supersampled mask.
    const int layoutHeight = LayoutFontHeight(font.height);
    const int h4 = layoutHeight * TTextShotB::kSupersampling;
    LogFont maskFont = font.ToLogFont();
    maskFont.height = h4;
    maskFont.escapement = p.Vertical ? kEscapementVertical : 0;
    const std::shared_ptr<const FontFace> maskFace = FontFace::Get(maskFont);
    const bool barred = font.style.underline || font.style.strikeOut;
    const FontFace* face = barred ? maskFace.get() : nullptr;

    // Each character's cell, top-left, in page pixels (a quarter pixel is kept).
    QJsonArray chars, shown, positions, bars;
    for (int n = 1; n <= text.CharCount(); ++n) {
        chars.append(text.CharAt(n));
        shown.append(SjisDisplayText(text.CharAt(n)));
        const QPoint at = text.CharPos4(text.LineOfChar(n), text.ColumnOfChar(n));
        positions.append(QJsonArray { at.x() / double(TTextShotB::kSupersampling),
            at.y() / double(TTextShotB::kSupersampling) });
        if (!face)
            continue;
        // The bars run along the character; a vertical text turns them down the column,
        // across from its right edge.
        const FontFace::LineBars b = face->Bars();
        const int advance = face->TextWidth(text.CharAt(n));
        QJsonArray rects;
        const std::pair<bool, int> kinds[] = { { font.style.underline, b.underlineTop },
            { font.style.strikeOut, b.strikeOutTop } };
        for (const auto& [on, across] : kinds) {
            if (!on)
                continue;
            if (p.Vertical)
                rects.append(
                    RectJson(at.x() + h4 - across - b.thickness, at.y(), b.thickness, advance));
            else
                rects.append(RectJson(at.x(), at.y() + across, advance, b.thickness));
        }
        bars.append(rects);
    }
    web.insert(QStringLiteral("chars"), chars);
    // What a reader sees differs from the stored character only for the private-use
    // aliases of duplicate codes; the player falls back to the character.
    if (shown != chars)
        web.insert(QStringLiteral("shown"), shown);
    web.insert(QStringLiteral("positions"), positions);
    if (face)
        web.insert(QStringLiteral("bars"), bars);
    // A bold or italic the face lacks, made as the desktop makes it: the browser's own
    // would be thicker or slant another way.
    if (maskFace->SyntheticBoldShift() > 0)
        web.insert(QStringLiteral("boldShift"),
            maskFace->SyntheticBoldShift() / double(TTextShotB::kSupersampling));
    if (maskFace->SyntheticItalic()) {
        web.insert(QStringLiteral("slant"), 0.2);
        web.insert(
            QStringLiteral("ascent"), maskFace->ascent() / double(TTextShotB::kSupersampling));
    }
    web.insert(QStringLiteral("cell"), layoutHeight);
    web.insert(QStringLiteral("shadowOffset"), DropShadowOffset(layoutHeight));
    web.insert(QStringLiteral("outlineOffset"), HighlightDistance(p.HighlightLevel));
    if (p.LinkPage != 0) {
        const TextRect r = text.TextBounds();
        web.insert(QStringLiteral("linkRect"), QJsonArray { r.left, r.top, r.right, r.bottom });
    }
    web.insert(QStringLiteral("face"), resolvedFont.faceName);
    QStringList drawn;
    for (const QJsonValue& c : shown)
        drawn << c.toString();
    if (!drawn.isEmpty())
        web.insert(QStringLiteral("font"), fonts.Use(resolvedFont.faceName, drawn));
    const TextRect box = text.TextBounds();
    web.insert(QStringLiteral("textRect"), QJsonArray { box.left, box.top, box.right, box.bottom });
    return web;
}

bool CopyResource(const QString& name, Written& written)
{
    QFile in(QStringLiteral(":/web/") + name);
    if (!in.open(QIODevice::ReadOnly)) {
        written.Fail(name);
        return false;
    }
    return written.Write(name, in.readAll());
}

qint64 SizeOf(const QString& folder, const QStringList& files)
{
    qint64 bytes = 0;
    for (const QString& f : files)
        bytes += QFileInfo(QDir(folder).filePath(f)).size();
    return bytes;
}

} // namespace

TWebExport::FolderState TWebExport::CheckFolder(const QString& outDir)
{
    const QFileInfo info(outDir);
    if (info.exists() && !info.isDir())
        return FolderState::NotAFolder;
    if (info.isDir()
        && !QDir(outDir)
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                .isEmpty())
        return FolderState::NotEmpty;
    return FolderState::Usable;
}

WebExportResult TWebExport::Run(const TOpenBook& book, const QString& outDirIn)
{
    WebExportResult result;
    const QString outDir = QFileInfo(outDirIn).absoluteFilePath();
    // The folders this run makes, outermost first, so a run that does not end well takes
    // them away again.
    QStringList made;
    for (QString f = outDir; !QFileInfo::exists(f) && f != QFileInfo(f).path();
         f = QFileInfo(f).path())
        made.prepend(f);
    const auto unmake = [&made] {
        for (auto it = made.crbegin(); it != made.crend(); ++it)
            QDir().rmdir(*it);
    };
    std::unique_ptr<QTemporaryDir> stage;
    if (QDir().mkpath(outDir) && QFileInfo(outDir).isDir())
        stage = std::make_unique<QTemporaryDir>(
            QDir(outDir).filePath(QStringLiteral(".pimoko-web-XXXXXX")));
    if (!stage || !stage->isValid()) {
        stage.reset();
        unmake();
        result.outcome = WebExportResult::Outcome::Failed;
        result.message = QStringLiteral("フォルダ %1 に書き出せませんでした。")
                             .arg(QDir::toNativeSeparators(outDir));
        return result;
    }
    Written written(stage->path(), outDir);

    int inUse = 0;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n)
        inUse += book.Page(n).InUse ? 1 : 0;
    // The pages, then the faces (known once the pages are laid out), then the files.
    FontWriter fonts;
    Steps steps(OnProgress, inUse + 2);
    steps.Report();
    MediaWriter media(written, steps);
    const PathResolver resolve = ResolverForFolder(book.BookFolder);
    QJsonArray pages;
    for (int n = 1; n <= TOpenBook::kPageCount && steps.Alive(); ++n) {
        const TNovelPage& p = book.Page(n);
        if (!p.InUse)
            continue;
        QJsonObject o = PageToJson(p, n);
        o.insert(QStringLiteral("web"), WebFields(p, resolve, media, fonts));
        pages.append(o);
        if (!steps.Done())
            break;
    }
    steps.SetTotal(inUse + fonts.Count() + 1);
    if (!steps.Stopped()) {
        QJsonObject o;
        o.insert(QStringLiteral("title"), SjisDisplayText(book.BookTitle));
        o.insert(QStringLiteral("escapement"), book.Escapement);
        o.insert(QStringLiteral("defaults"), DefaultsToJson(book));
        o.insert(QStringLiteral("pages"), pages);
        const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Compact);
        written.Write(QStringLiteral("book.json"), json);
        written.Write(QStringLiteral("book.js"), "window.BOOK = " + json + ";\n");
        for (const char* name : { "index.html", "player.js" })
            CopyResource(QString::fromLatin1(name), written);
        fonts.Write(written, steps);
    }
    if (!steps.Stopped())
        steps.Done();

    if (steps.Stopped() || written.failed || !written.Commit()) {
        stage.reset();
        unmake();
        if (steps.Stopped()) {
            result.outcome = WebExportResult::Outcome::Stopped;
            return result;
        }
        result.outcome = WebExportResult::Outcome::Failed;
        result.notes = written.notes;
        result.message = QStringLiteral("フォルダ %1 に書き出せませんでした。")
                             .arg(QDir::toNativeSeparators(outDir));
        return result;
    }
    stage.reset();
    result.notes = written.notes;
    result.bytes = SizeOf(outDir, written.files);
    result.outcome = WebExportResult::Outcome::Written;
    return result;
}

WebExportResult::Outcome ExportBookForWeb(const TOpenBook& book, PromptPort& prompt,
    WebExportProgressPort& progress, const QString& caption)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Web用に書き出すフォルダを選んでください");
    request.initialFolder = book.BookFolder;
    const QString chosen = prompt.ChooseFolder(request);
    if (chosen.isEmpty())
        return WebExportResult::Outcome::Stopped;
    const QString folder = QFileInfo(chosen).absoluteFilePath();
    const QString shownFolder = QDir::toNativeSeparators(folder);
    switch (TWebExport::CheckFolder(folder)) {
    case TWebExport::FolderState::NotAFolder:
        prompt.ShowMessage(MessageKind::Error, caption,
            QStringLiteral("%1 はフォルダではありません。").arg(shownFolder));
        return WebExportResult::Outcome::Failed;
    case TWebExport::FolderState::NotEmpty:
        if (prompt.Ask(MessageKind::Question, caption,
                QStringLiteral("フォルダ %1 にはすでにファイルがあります。このフォルダに"
                               "書き出してよろしいですか？（同じ名前のファイルは上書きされます）")
                    .arg(shownFolder),
                Buttons::YesNo)
            != Answer::Yes)
            return WebExportResult::Outcome::Stopped;
        break;
    case TWebExport::FolderState::Usable:
        break;
    }

    TWebExport web;
    web.OnProgress = [&](int done, int total) { return progress.Step(done, total); };
    progress.Begin();
    const WebExportResult result = web.Run(book, folder);
    progress.End();
    QString notes;
    for (const QString& note : result.notes)
        notes += QStringLiteral("\n・") + note;
    switch (result.outcome) {
    case WebExportResult::Outcome::Written:
        prompt.ShowMessage(MessageKind::Information, caption,
            QStringLiteral("Web用に書き出しました（%1 KB）。\n%2 をブラウザで開くと読めます。")
                    .arg((result.bytes + 1023) / 1024)
                    .arg(QDir::toNativeSeparators(
                        QDir(folder).filePath(QStringLiteral("index.html"))))
                + notes);
        break;
    case WebExportResult::Outcome::Failed:
        prompt.ShowMessage(MessageKind::Error, caption, result.message + notes);
        break;
    case WebExportResult::Outcome::Stopped:
    case WebExportResult::Outcome::NotRun:
        break;
    }
    return result.outcome;
}

} // namespace pimoko
