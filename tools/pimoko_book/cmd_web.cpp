#include "book/novel_page.h"
#include "book/open_book.h"
#include "platform/canvas.h"
#include "platform/prompt_port.h"
#include "platform/sjis_codec.h"
#include "player/compositor_drawing.h"
#include "player/compositor_pages.h"
#include "player/sound_player.h"
#include "text/font_table.h"
#include "text/text_shot.h"
#include "text/text_shot_b.h"
#include "tools/pimoko_book/commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <hb-subset.h>
#include <hb.h>

#include <climits>
#include <cstdlib>

namespace pimoko::tool {
namespace {

const char kName[] = "web";

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

// Writes each media file once into OUTDIR/media under a plain ASCII name (a book's names
// may hold characters a web server mangles), and remembers what became of it.
class MediaWriter {
public:
    MediaWriter(const QString& outDir)
        : media_(QDir(outDir).filePath(QStringLiteral("media")))
    {
        QDir().mkpath(media_);
        // Written over with --force: media left from an earlier book would only weigh.
        const QRegularExpression ours(QStringLiteral("^m[0-9]{3}\\.(jpg|png|wav|flac)$"));
        for (const QFileInfo& f : QDir(media_).entryInfoList(QDir::Files))
            if (ours.match(f.fileName()).hasMatch())
                QFile::remove(f.absoluteFilePath());
    }

    // A page picture: JPEG kept as it is, any other picture as PNG. Empty when it cannot
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
                    out = NextName(QStringLiteral("jpg"));
                    if (!WriteBytes(Path(out), in.readAll()))
                        Fail(out);
                }
            } else {
                out = NextName(QStringLiteral("png"));
                if (!picture.save(Path(out), "PNG"))
                    Fail(out);
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
            if (!image.save(Path(out), "PNG"))
                Fail(out);
        }
        done_.insert(key, out);
        return out;
    }

    // A sound: WAV kept; MIDI rendered with the synthesiser and the sound font the desktop
    // player uses, as FLAC at 22 kHz: a short tune rendered as WAV outweighs the whole
    // book, and every browser plays FLAC. Empty when it cannot be had (the page is then
    // silent).
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
                if (!WriteBytes(Path(out), in.readAll()))
                    Fail(out);
            }
        } else if (kind == SoundKind::Midi) {
            out = RenderMidi(resolved);
        }
        done_.insert(key, out);
        return out;
    }

    QStringList notes;
    bool failed = false;

private:
    QString RenderMidi(const QString& resolved)
    {
        const QString synth = QStandardPaths::findExecutable(QStringLiteral("fluidsynth"));
        const QString soundFont = FindSoundFont();
        if (synth.isEmpty() || soundFont.isEmpty()) {
            notes << QStringLiteral("%1: left out (no MIDI synthesiser or sound font)")
                         .arg(TraceName(resolved));
            return QString();
        }
        const QString out = NextName(QStringLiteral("flac"));
        QProcess p;
        p.start(synth,
            { QStringLiteral("-ni"), QStringLiteral("-q"), QStringLiteral("-r"),
                QStringLiteral("22050"), QStringLiteral("-T"), QStringLiteral("flac"),
                QStringLiteral("-F"), Path(out), soundFont, resolved });
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit
            || p.exitCode() != 0 || !QFileInfo(Path(out)).isFile()) {
            if (p.state() != QProcess::NotRunning) {
                p.kill();
                p.waitForFinished(5000);
            }
            QFile::remove(Path(out));
            notes
                << QStringLiteral("%1: left out (the synthesiser failed)").arg(TraceName(resolved));
            return QString();
        }
        return out;
    }
    QString NextName(const QString& extension)
    {
        return QStringLiteral("media/m%1.%2").arg(++count_, 3, 10, QLatin1Char('0')).arg(extension);
    }
    QString Path(const QString& name) const
    {
        return QDir(media_).filePath(name.mid(QStringLiteral("media/").size()));
    }
    void Fail(const QString& name)
    {
        failed = true;
        notes << QStringLiteral("cannot write %1").arg(name);
    }

    QString media_;
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

    // Writes fonts.js (and the licence of each face's package beside it). False with the
    // reason when a face cannot be read or cut.
    bool Write(const QString& outDir, QStringList* notes)
    {
        QByteArray js = "window.BOOK_FONTS = [\n";
        for (auto it = faces_.cbegin(); it != faces_.cend(); ++it) {
            const QString file = FileOf(it.key());
            const QByteArray subset = file.isEmpty() ? QByteArray() : Subset(file, it.value());
            if (subset.isEmpty()) {
                *notes << QStringLiteral("%1: not written out; the reader's own face is used")
                              .arg(it.key());
                continue;
            }
            js += "  { name: \"" + it.value().name.toUtf8() + "\", data: \"" + subset.toBase64()
                + "\" },\n";
            CopyLicence(file, outDir);
        }
        js += "];\n";
        return WriteBytes(QDir(outDir).filePath(QStringLiteral("fonts.js")), js);
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

    // A face is passed on with its licence: the copyright file of the package it came from.
    static void CopyLicence(const QString& file, const QString& outDir)
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
        WriteBytes(QDir(outDir).filePath(QStringLiteral("LICENSE-%1.txt").arg(package)),
            licence.readAll());
    }

    QMap<QString, Face> faces_;
};

// What the web player needs of a page beyond its stored fields, worked out here with the
// desktop's own engine so both players agree: the characters in typing order, the text's
// link area, the media as written into the folder and as the trace names them, and the
// face the text is drawn in.
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
    CanvasFont font;
    font.name = p.Vertical ? QStringLiteral("@") + resolvedFont.faceName : resolvedFont.faceName;
    font.height = p.FontHeight == INT_MIN ? INT_MAX : std::abs(p.FontHeight);
    font.style = StyleFromString(p.FontStyle);
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
    // Each character's cell, top-left, in page pixels (a quarter pixel is kept).
    QJsonArray chars, shown, positions;
    for (int n = 1; n <= text.CharCount(); ++n) {
        chars.append(text.CharAt(n));
        shown.append(SjisDisplayText(text.CharAt(n)));
        const QPoint at = text.CharPos4(text.LineOfChar(n), text.ColumnOfChar(n));
        positions.append(QJsonArray { at.x() / double(TTextShotB::kSupersampling),
            at.y() / double(TTextShotB::kSupersampling) });
    }
    web.insert(QStringLiteral("chars"), chars);
    web.insert(QStringLiteral("shown"), shown);
    web.insert(QStringLiteral("positions"), positions);
    const int layoutHeight = LayoutFontHeight(font.height);
    web.insert(QStringLiteral("cell"), layoutHeight);
    web.insert(QStringLiteral("shadowOffset"), DropShadowOffset(layoutHeight));
    web.insert(QStringLiteral("outlineOffset"), HighlightDistance(p.HighlightLevel));
    QJsonArray lines;
    for (const QString& line : p.TextLines)
        lines.append(SjisDisplayText(line));
    web.insert(QStringLiteral("lines"), lines);
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

bool CopyResource(const QString& name, const QString& outDir)
{
    QFile in(QStringLiteral(":/web/") + name);
    return in.open(QIODevice::ReadOnly) && WriteBytes(QDir(outDir).filePath(name), in.readAll());
}

// Writes a book as a folder a browser opens from disk or a static server: the page, the
// player script, the book as JSON and as a script (browsers refuse to fetch from disk),
// and the media.
int RunWeb(const QStringList& args)
{
    QString file, outDir;
    bool force = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--force"))
            force = true;
        else if (a.startsWith(QLatin1String("--")))
            return UsageError(kName);
        else if (file.isEmpty())
            file = a;
        else if (outDir.isEmpty())
            outDir = a;
        else
            return UsageError(kName);
    }
    if (file.isEmpty() || outDir.isEmpty())
        return UsageError(kName);
    // Loading a book enters its folder; the output is named from where the tool started.
    outDir = QFileInfo(outDir).absoluteFilePath();
    const QFileInfo outInfo(outDir);
    if (outInfo.exists() && !outInfo.isDir()) {
        PrintError(QStringLiteral("%1 is not a folder").arg(outDir));
        return 1;
    }
    if (outInfo.isDir() && !force
        && !QDir(outDir)
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                .isEmpty()) {
        PrintError(QStringLiteral("%1 is not empty (--force writes into it)").arg(outDir));
        return 1;
    }

    ScriptedPromptPort prompt;
    TOpenBook book(prompt, CurrentFolder());
    QString message;
    if (!LoadBookForTool(book, prompt, file, &message)) {
        PrintError(message);
        return 1;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        PrintError(
            QStringLiteral("web needs fonts: the program must run with a GUI application object"));
        return 1;
    }
    if (!QDir().mkpath(outDir)) {
        PrintError(QStringLiteral("cannot make %1").arg(outDir));
        return 1;
    }

    MediaWriter media(outDir);
    FontWriter fonts;
    const PathResolver resolve = ResolverForFolder(book.BookFolder);
    QJsonArray pages;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        const TNovelPage& p = book.Page(n);
        if (!p.InUse)
            continue;
        QJsonObject o = PageToJson(p, n);
        o.insert(QStringLiteral("web"), WebFields(p, resolve, media, fonts));
        pages.append(o);
    }
    QJsonObject o;
    o.insert(QStringLiteral("title"), SjisDisplayText(book.BookTitle));
    o.insert(QStringLiteral("escapement"), book.Escapement);
    o.insert(QStringLiteral("defaults"), DefaultsToJson(book));
    o.insert(QStringLiteral("pages"), pages);
    const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Compact);

    bool ok = WriteBytes(QDir(outDir).filePath(QStringLiteral("book.json")), json)
        && WriteBytes(
            QDir(outDir).filePath(QStringLiteral("book.js")), "window.BOOK = " + json + ";\n");
    for (const char* name : { "index.html", "player.js" })
        ok = CopyResource(QString::fromLatin1(name), outDir) && ok;
    ok = fonts.Write(outDir, &media.notes) && ok;
    for (const QString& note : media.notes)
        PrintError(note);
    if (!ok || media.failed) {
        PrintError(QStringLiteral("cannot write the folder %1").arg(outDir));
        return 1;
    }
    return 0;
}

CommandRegistration reg(kName, "FILE OUTDIR [--force]", &RunWeb);

} // namespace
} // namespace pimoko::tool
