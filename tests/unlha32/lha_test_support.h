#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <cstdint>
#include <optional>

namespace pimoko::test {

// LHA archives built byte by byte, for archives no writer of ours would make.
uint16_t LhaCrc16(const QByteArray& data);

struct RawEntry {
    QByteArray method = "-lh0-";
    QByteArray fileName; // bytes as stored
    QByteArray folder; // level 2 folder field ("a\xFF"), "" for none
    QByteArray data; // the stored (compressed) bytes
    QByteArray original; // what data decodes to; its CRC goes into the header
    std::optional<uint32_t> originalSize; // overrides original.size()
    std::optional<uint16_t> crc; // overrides the CRC of original
    std::optional<uint16_t> unixMode; // level 2: a Unix mode extended header
};

QByteArray Level0Entry(const RawEntry& e);
QByteArray Level1Entry(const RawEntry& e);
QByteArray Level2Entry(const RawEntry& e);
// A stored entry of data.
RawEntry Stored(const QByteArray& fileName, const QByteArray& data);

// Every file under folder, by its path relative to folder, with its bytes.
QMap<QString, QByteArray> FilesUnder(const QString& folder);

// The archive read by libarchive (CP932 names, in a UTF-8 locale): name -> data.
// ok is false when libarchive reports any error.
QMap<QString, QByteArray> ReadWithLibarchive(const QString& archive, bool* ok);

// Extracts with lhasa's lha command into folder; its exit code (-1 when it cannot run).
int ExtractWithLhasa(const QString& archive, const QString& folder);

// Runs the library's main function directly with a CP932 command line.
int RunUnlha(const QByteArray& commandLine, QString* output = nullptr);

} // namespace pimoko::test
