#include "tests/unlha32/lha_test_support.h"

#include "archive/archiver.h"
#include "platform/sjis_codec.h"
#include "unlha32/unlha32_api.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLibrary>
#include <QProcess>

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

namespace pimoko::test {

uint16_t LhaCrc16(const QByteArray& data)
{
    uint16_t crc = 0;
    for (char ch : data) {
        crc ^= static_cast<uint8_t>(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

namespace {

void Put16(QByteArray* b, uint32_t v)
{
    b->append(static_cast<char>(v & 0xFF));
    b->append(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(QByteArray* b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

uint32_t OriginalSize(const RawEntry& e)
{
    return e.originalSize ? *e.originalSize : static_cast<uint32_t>(e.original.size());
}

uint16_t Crc(const RawEntry& e)
{
    return e.crc ? *e.crc : LhaCrc16(e.original);
}

constexpr uint32_t kDosTime = (20u << 9 | 1u << 5 | 1u) << 16; // 2000-01-01 00:00

uint8_t Sum(const QByteArray& bytes, int from)
{
    uint8_t s = 0;
    for (int i = from; i < bytes.size(); ++i)
        s = static_cast<uint8_t>(s + static_cast<uint8_t>(bytes[i]));
    return s;
}

} // namespace

RawEntry Stored(const QByteArray& fileName, const QByteArray& data)
{
    RawEntry e;
    e.fileName = fileName;
    e.data = data;
    e.original = data;
    return e;
}

QByteArray Level0Entry(const RawEntry& e)
{
    QByteArray h;
    h.append('\0').append('\0');
    h.append(e.method);
    Put32(&h, static_cast<uint32_t>(e.data.size()));
    Put32(&h, OriginalSize(e));
    Put32(&h, kDosTime);
    h.append(static_cast<char>(0x20)).append('\0');
    h.append(static_cast<char>(e.fileName.size())).append(e.fileName);
    Put16(&h, Crc(e));
    h[0] = static_cast<char>(h.size() - 2);
    h[1] = static_cast<char>(Sum(h, 2));
    return h + e.data;
}

QByteArray Level1Entry(const RawEntry& e)
{
    QByteArray h;
    h.append('\0').append('\0');
    h.append(e.method);
    Put32(&h, static_cast<uint32_t>(e.data.size())); // no extended headers
    Put32(&h, OriginalSize(e));
    Put32(&h, kDosTime);
    h.append(static_cast<char>(0x20)).append('\1');
    h.append(static_cast<char>(e.fileName.size())).append(e.fileName);
    Put16(&h, Crc(e));
    h.append('M');
    Put16(&h, 0);
    h[0] = static_cast<char>(h.size() - 2);
    h[1] = static_cast<char>(Sum(h, 2));
    return h + e.data;
}

QByteArray Level2Entry(const RawEntry& e)
{
    QByteArray h;
    Put16(&h, 0);
    h.append(e.method);
    Put32(&h, static_cast<uint32_t>(e.data.size()));
    Put32(&h, OriginalSize(e));
    Put32(&h, 946684800u);
    h.append(static_cast<char>(0x20)).append('\2');
    Put16(&h, Crc(e));
    h.append('U');
    auto ext = [&h](char type, const QByteArray& payload) {
        Put16(&h, static_cast<uint32_t>(3 + payload.size()));
        h.append(type).append(payload);
    };
    const int crcAt = h.size() + 3;
    ext('\0', QByteArray(2, '\0'));
    ext('\1', e.fileName);
    if (!e.folder.isEmpty())
        ext('\2', e.folder);
    if (e.unixMode) {
        QByteArray mode;
        Put16(&mode, *e.unixMode);
        ext('\x50', mode);
    }
    Put16(&h, 0);
    if ((h.size() & 0xFF) == 0)
        h.append('\0');
    h[0] = static_cast<char>(h.size() & 0xFF);
    h[1] = static_cast<char>(h.size() >> 8);
    uint16_t crc = LhaCrc16(h);
    h[crcAt] = static_cast<char>(crc & 0xFF);
    h[crcAt + 1] = static_cast<char>(crc >> 8);
    return h + e.data;
}

QMap<QString, QByteArray> FilesUnder(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(
        folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    QDir base(folder);
    while (it.hasNext()) {
        QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(base.relativeFilePath(path), file.readAll());
    }
    return files;
}

QMap<QString, QByteArray> ReadWithLibarchive(const QString& archivePath, bool* ok)
{
    locale_t utf8 = newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(0));
    locale_t previous = uselocale(utf8);
    QMap<QString, QByteArray> files;
    *ok = true;
    archive* a = archive_read_new();
    archive_read_support_format_lha(a);
    archive_read_set_options(a, "hdrcharset=CP932");
    if (archive_read_open_filename(a, QFile::encodeName(archivePath).constData(), 65536)
        != ARCHIVE_OK) {
        *ok = false;
    } else {
        archive_entry* entry = nullptr;
        int r;
        while ((r = archive_read_next_header(a, &entry)) == ARCHIVE_OK) {
            if (archive_entry_filetype(entry) != AE_IFREG)
                continue;
            QString name = QString::fromUtf8(archive_entry_pathname(entry));
            QByteArray data;
            char buffer[65536];
            la_ssize_t n;
            while ((n = archive_read_data(a, buffer, sizeof buffer)) > 0)
                data.append(buffer, static_cast<int>(n));
            if (n < 0)
                *ok = false;
            files.insert(name, data);
        }
        if (r != ARCHIVE_EOF)
            *ok = false;
    }
    archive_read_free(a);
    uselocale(previous);
    freelocale(utf8);
    return files;
}

int ExtractWithLhasa(const QString& archive, const QString& folder)
{
    QDir().mkpath(folder);
    QProcess lha;
    lha.start(QStringLiteral("lha"), { QStringLiteral("xqfw=") + folder, archive });
    if (!lha.waitForFinished(120000) || lha.exitStatus() != QProcess::NormalExit)
        return -1;
    return lha.exitCode();
}

int RunUnlha(const QByteArray& commandLine, QString* output)
{
    QLibrary library(QDir(ArchiverLibraryFolder()).filePath(QStringLiteral("libunlha32.so")));
    auto unlha = reinterpret_cast<UnlhaMainFn>(library.resolve("Unlha"));
    if (!unlha)
        return -1;
    QByteArray buffer(65536, '\0');
    int code = unlha(
        nullptr, commandLine.constData(), buffer.data(), static_cast<unsigned long>(buffer.size()));
    if (output)
        *output = DecodeSjis(QByteArray(buffer.constData()));
    return code;
}

} // namespace pimoko::test
