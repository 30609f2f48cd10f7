#include "archive/archive_file.h"

#include "archive/archive_drivers.h"
#include "platform/paths.h"
#include "unlha32/unlha32_api.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace pimoko {

TArchiveFile::TArchiveFile() = default;
TArchiveFile::~TArchiveFile() = default;

void TArchiveFile::SetFileName(const QString& fileName)
{
    fileName_ = fileName;
    QString extension = ExtensionOf(fileName);
    if (extension.compare(QLatin1String(".exe"), Qt::CaseInsensitive) == 0) {
        TArchiverType probed = ProbeArchiverType(fileName);
        if (probed != atNone)
            SetArchiverType(probed);
        return;
    }
    TArchiverType type = ArchiverTypeOfExtension(extension);
    if (type != atAutoDetect)
        SetArchiverType(type);
}

void TArchiveFile::SetArchiverType(TArchiverType type)
{
    if (type == type_ && archiver_)
        return;
    archiver_.reset();
    type_ = type;
    archiver_ = CreateArchiver(type);
}

TArchiver& TArchiveFile::Driver()
{
    if (archiver_)
        return *archiver_;
    if (type_ == atYz1 || type_ == atGCA || type_ == atBel)
        throw EArchiver(QString::fromUtf8(archive_messages::kTypeWithoutDriver));
    throw EArchiver(QString::fromUtf8(archive_messages::kNoDriver));
}

int TArchiveFile::Extract(
    void* owner, const QStringList& fileNames, const QString& folder, QString* output)
{
    return Driver().Extract(owner, fileName_, fileNames, folder, options_, output);
}

int TArchiveFile::Pack(
    void* owner, const QStringList& fileNames, const QString& baseFolder, QString* output)
{
    TArchiver& driver = Driver();
    QStringList names = fileNames;
    if (options_.PackFilter == pfComponent) {
        names = MatchComponentFiles(baseFolder, fileNames);
        if (names.isEmpty()) {
            if (output)
                *output = QStringLiteral("書庫に入れるファイルがありません。");
            return UNLHA_ERROR_NO_FILES;
        }
    }
    return driver.Pack(owner, fileName_, names, baseFolder, options_, output);
}

bool TArchiveFile::CheckArchive(int mode)
{
    return Driver().CheckArchive(fileName_, mode);
}

// ---------------------------------------------------------------------------------------

TArchiverType ArchiverTypeOfExtension(const QString& extension)
{
    static const struct {
        const char* extension;
        TArchiverType type;
    } kTable[] = {
        { ".lzh", atLha },
        { ".zip", atZip },
        { ".cab", atCab },
        { ".arj", atArj },
        { ".tar", atTar },
        { ".a", atTar },
        { ".lib", atTar },
        { ".deb", atTar },
        { ".rpm", atTar },
        { ".cpio", atTar },
        { ".gz", atTgz },
        { ".tgz", atTgz },
        { ".taz", atTgz },
        { ".z", atTgz },
        { ".bz2", atBZ2 },
        { ".rar", atRar },
        { ".gza", atBga },
        { ".bza", atBga },
        { ".gca", atGCA },
    };
    for (const auto& row : kTable) {
        if (extension.compare(QLatin1String(row.extension), Qt::CaseInsensitive) == 0)
            return row.type;
    }
    return atAutoDetect;
}

namespace {

bool At(const QByteArray& data, int i, const char* signature, int length)
{
    return i >= 0 && i + length <= data.size()
        && memcmp(data.constData() + i, signature, length) == 0;
}

bool LhaHeaderAt(const QByteArray& d, int i)
{
    // "-lh?-" sits two bytes into a header; the level byte 18 bytes further on is 0..2.
    if (i < 2 || i + 19 > d.size() || d[i] != '-' || d[i + 1] != 'l' || d[i + 4] != '-')
        return false;
    char kind = d[i + 2], method = d[i + 3];
    bool known = (kind == 'h' && ((method >= '0' && method <= '7') || method == 'd'))
        || (kind == 'z' && (method == 's' || method == '4' || method == '5'));
    return known && static_cast<unsigned char>(d[i + 18]) <= 2;
}

bool Find(const QByteArray& d, bool (*test)(const QByteArray&, int))
{
    for (int i = 0; i < d.size(); ++i) {
        if (test(d, i))
            return true;
    }
    return false;
}

// Only "*" and "?" are wildcards: a file named "a[1].bmp" must still match itself.
QString WildcardPattern(const QString& name)
{
    QString pattern = QStringLiteral("\\A");
    QString literal;
    for (QChar c : name) {
        if (c != QLatin1Char('*') && c != QLatin1Char('?')) {
            literal += c;
            continue;
        }
        pattern += QRegularExpression::escape(literal);
        literal.clear();
        pattern += c == QLatin1Char('*') ? QStringLiteral(".*") : QStringLiteral(".");
    }
    return pattern + QRegularExpression::escape(literal) + QStringLiteral("\\z");
}

} // namespace

TArchiverType ProbeArchiverType(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return atNone;
    const QByteArray d = file.read(1 << 20);
    if (Find(d, LhaHeaderAt))
        return atLha;
    if (Find(d, [](const QByteArray& b, int i) { return At(b, i, "MSCF\0\0\0\0", 8); }))
        return atCab;
    if (Find(d, [](const QByteArray& b, int i) {
            return i >= 4 && (At(b, i, "GZIP", 4) || At(b, i, "BZ2\0", 4));
        }))
        return atBga;
    if (Find(d, [](const QByteArray& b, int i) { return At(b, i, "PK\x03\x04", 4); }))
        return atZip;
    if (Find(d, [](const QByteArray& b, int i) {
            if (!At(b, i, "\x60\xEA", 2) || i + 4 > b.size())
                return false;
            int size
                = static_cast<unsigned char>(b[i + 2]) | static_cast<unsigned char>(b[i + 3]) << 8;
            return size > 0 && size <= 2600;
        }))
        return atArj;
    if (Find(d, [](const QByteArray& b, int i) { return At(b, i, "Rar!\x1A\x07", 6); }))
        return atRar;
    for (int block = 0; block + 262 <= d.size(); block += 512) {
        if (At(d, block + 257, "ustar", 5))
            return atTar;
    }
    return atNone;
}

QStringList MatchComponentFiles(
    const QString& baseFolder, const QStringList& names, QTime from, QTime to)
{
    QDir dir(baseFolder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    QStringList matched;
    for (const QString& name : names) {
        QRegularExpression pattern(WildcardPattern(name),
            QRegularExpression::CaseInsensitiveOption
                | QRegularExpression::DotMatchesEverythingOption);
        for (const QFileInfo& info : files) {
            if (info.isHidden() || !pattern.match(info.fileName()).hasMatch())
                continue;
            QTime exact = info.lastModified().time();
            QTime time(exact.hour(), exact.minute(), exact.second());
            if (time < from || time > to)
                continue;
            matched << info.fileName();
        }
    }
    std::sort(matched.begin(), matched.end(), [](const QString& a, const QString& b) {
        int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    matched.erase(std::unique(matched.begin(), matched.end()), matched.end());
    return matched;
}

} // namespace pimoko
