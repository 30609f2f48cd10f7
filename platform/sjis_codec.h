#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace pimoko {

// Shift_JIS as Windows writes it (code page 932, with the NEC and IBM extensions).
//
// Decoding never loses a byte: a byte that does not decode becomes the private-use
// character U+F700 + byte, and a double-byte value that CP932 maps to the same
// character as another (the NEC-selected IBM extensions and a few NEC duplicates)
// becomes a private-use alias of its own, so that a text decoded and encoded again
// gives back the same bytes. SjisDisplayText() turns the aliases back into the
// characters they stand for, for everything a person reads.
//
// Encoding writes what CP932 writes, including the characters it puts onto the code of
// a look-alike (〜 U+301C as 0x8160, which reads back as ～ U+FF5E); those are listed
// in oneWay, so that a name that must come back unchanged can be refused.

QString DecodeSjis(const QByteArray& bytes);

struct SjisEncoding {
    QByteArray bytes;
    // Positions (UTF-16 indices into the source text) of the characters CP932
    // cannot hold. Each is written as "?" in bytes; callers ask before saving.
    QVector<int> unencodable;
    // Positions of the characters written as a code that reads back as another
    // character. Text keeps its look; a file name would name another file.
    QVector<int> oneWay;
    bool ok() const { return unencodable.isEmpty(); }
    // True when every character went to a code that reads back as that character.
    bool exact() const { return unencodable.isEmpty() && oneWay.isEmpty(); }
};

SjisEncoding EncodeSjis(const QString& text);

// The characters that a text decoded from Shift_JIS shows: aliases become the
// character they alias; undecodable bytes stay private-use characters.
QString SjisDisplayText(const QString& text);
QChar SjisDisplayChar(QChar c);

// True for the private-use characters that stand for undecodable bytes.
bool IsRawSjisByte(QChar c);

// The number of bytes the text takes in Shift_JIS (an unencodable character counts as
// one byte, as its "?" replacement does).
int SjisByteLength(const QString& text);

// True for a character that takes two bytes in Shift_JIS.
bool IsSjisDoubleByte(QChar c);

} // namespace pimoko
