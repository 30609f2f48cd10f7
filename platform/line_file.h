#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pimoko {

// The program's files are Shift_JIS text read and written whole as a list of lines.

// Splits bytes into lines: CR LF or LF ends a line; a last line without an end is
// still a line. Each line is decoded from Shift_JIS.
QStringList SplitSjisLines(const QByteArray& bytes);

// Reads a whole file as lines. False when the file cannot be opened or read.
bool ReadLineFile(const QString& path, QStringList* lines);

// Reads at most maxBytes of a file; false (and nothing read) for a larger one.
bool ReadFileBytes(const QString& path, QByteArray* bytes, qint64 maxBytes = qint64(1) << 31);

// Joins lines with CR LF after every line, encoded in Shift_JIS. unencodable, when
// given, receives the (line, column) of every character Shift_JIS cannot hold.
struct UnencodableChar {
    int line;
    int column;
};
QByteArray JoinSjisLines(const QStringList& lines, QVector<UnencodableChar>* unencodable = nullptr);

// Writes bytes atomically: a temporary file in the same folder, flushed to disk and
// renamed over the target, then the folder synced. A crash or a full disk leaves
// either the old file or the new one. On failure error (when given) says why.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// JoinSjisLines + WriteFileAtomically. Characters Shift_JIS cannot hold are written
// as "?"; callers that must not lose text check with JoinSjisLines first.
bool WriteLineFile(const QString& path, const QStringList& lines, QString* error = nullptr);

} // namespace pimoko
