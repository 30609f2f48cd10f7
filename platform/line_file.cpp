#include "platform/line_file.h"

#include "platform/sjis_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace pimoko {

QStringList SplitSjisLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype lf = bytes.indexOf('\n', start);
        qsizetype end = lf < 0 ? n : lf;
        qsizetype textEnd = end;
        if (lf >= 0 && textEnd > start && bytes[textEnd - 1] == '\r')
            --textEnd;
        lines.append(
            DecodeSjis(QByteArray::fromRawData(bytes.constData() + start, textEnd - start)));
        if (lf < 0)
            break;
        start = lf + 1;
    }
    return lines;
}

bool ReadFileBytes(const QString& path, QByteArray* bytes, qint64 maxBytes)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    if (f.size() > maxBytes)
        return false;
    *bytes = f.readAll();
    return f.error() == QFileDevice::NoError;
}

bool ReadLineFile(const QString& path, QStringList* lines)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes))
        return false;
    *lines = SplitSjisLines(bytes);
    return true;
}

QByteArray JoinSjisLines(const QStringList& lines, QVector<UnencodableChar>* unencodable)
{
    QByteArray out;
    qsizetype total = 0;
    for (const QString& l : lines)
        total += l.size() * 2 + 2;
    out.reserve(total);
    for (int i = 0; i < lines.size(); ++i) {
        SjisEncoding e = EncodeSjis(lines[i]);
        if (unencodable)
            for (int col : e.unencodable)
                unencodable->append({ i, col });
        out.append(e.bytes);
        out.append("\r\n", 2);
    }
    return out;
}

namespace {

void SyncFolderOf(const QString& path)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile f(path);
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    // The write goes to a buffer; a disk that fills up (or a file size limit) shows only
    // when the buffer reaches the file, and commit() would rename a short file over the
    // old one without a word.
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    SyncFolderOf(path);
    return true;
}

bool WriteLineFile(const QString& path, const QStringList& lines, QString* error)
{
    return WriteFileAtomically(path, JoinSjisLines(lines), error);
}

} // namespace pimoko
