#pragma once

#include "platform/canvas.h"

#include <QString>

#include <array>

namespace pimoko {

class TNovelPage;

// One installed family as the font enumeration reports it.
struct FontTableEntry {
    QString faceName; // empty: the slot is free
    int charSet = 0;
    int pitchAndFamily = 0;
};

// The installed font families with their character set and pitch-and-family, in a fixed
// table of 1001 slots filled from the first; an empty name ends the used part.
class FontTable {
public:
    static constexpr int kSlots = 1001;

    // Empties the table and enumerates the installed families into it: the Windows
    // Japanese face names first (when the IPA face standing in for them is installed),
    // then every family the font database lists.
    void FillFontTable();
    void Clear();
    // Stores into the first free slot; false (and nothing stored) when all are used.
    bool Add(const QString& faceName, int charSet, int pitchAndFamily);
    int Count() const;
    const FontTableEntry& Entry(int index) const { return entries_[index]; }

    bool IsFontInstalled(const QString& faceName) const;
    // The entry's values; -1 when the name is not in the table.
    int FontCharsetOf(const QString& faceName) const;
    int FontFamilyOf(const QString& faceName) const;

    // The font to use for a request (-1 in a number: not recorded). Only the face name,
    // character set and pitch-and-family of the answer are filled; never fails.
    LogFont ResolveFont(const QString& faceName, int charSet, int pitchAndFamily) const;

private:
    int Find(const QString& faceName) const;
    std::array<FontTableEntry, kSlots> entries_;
};

// The program's font table, filled by the first FillFontTable or the first lookup.
FontTable& ProgramFontTable();

// The same operations on the program's table.
void FillFontTable();
bool IsFontInstalled(const QString& faceName);
int FontCharsetOf(const QString& faceName);
int FontFamilyOf(const QString& faceName);
LogFont ResolveFont(const QString& faceName, int charSet, int pitchAndFamily);

// Font style codes: "Type_" followed by B, I, U, S (bold, italic, underline, strike-out)
// in that order. Reading takes each style whose letter occurs anywhere.
QString StyleToString(const FontStyles& style);
FontStyles StyleFromString(const QString& text);

// The font a page's text is drawn in: the face its name resolves to ("@" before it for
// vertical writing), the height without its sign, the style and the colour.
CanvasFont PageTextFont(const TNovelPage& page);

// Charset and pitch-and-family of an installed family as the enumeration reports them:
// 128 when it writes Japanese, else 0; fixed 1 or variable 2 plus 16 roman, 32 swiss
// or 48 modern.
int CharsetOfFamily(const QString& family);
int PitchAndFamilyOfFamily(const QString& family);

} // namespace pimoko
