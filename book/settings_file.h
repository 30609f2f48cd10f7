#pragma once

#include "book/book_defaults.h"

#include <QString>

#include <optional>

namespace pimoko {

// The library's caption when the start-up folder holds no settings file.
inline const QString kPlayerCaption = QStringLiteral("ピモコプレーヤー ver1.26");

// What the settings file gave at start-up: the book defaults, the transition fineness
// and the program's mode.
struct TSettings : TBookDefaults {
    int TransitionFineness = 1;
    // No settings file of a known version: the library offers reading only.
    bool PlayerMode = true;
    // There was no settings file at all (the library then shows kPlayerCaption).
    bool FileMissing = true;
    // The file's first line, when the file exists and has one.
    std::optional<QString> Marker;
    // 3, 8, 12 or 13 for a known marker, otherwise 0.
    int Version = 0;
    // A known file had too few lines or a malformed number; the values concerned kept
    // their start-up values.
    bool Damaged = false;
};

// ini.dat in the start-up folder (found without regard to case).
QString SettingsFilePath(const QString& startupFolder);

TSettings ReadSettings(const QString& startupFolder);

// Rewrites an existing settings file of a known version in the newest layout. An
// absent file or one with an unknown marker is left alone (false). A font name or style
// that Shift_JIS cannot hold keeps the file's value, and a fade wait text that holds no
// number is written as the number.
bool WriteSettings(
    const QString& startupFolder, const TBookDefaults& defaults, int transitionFineness);

} // namespace pimoko
