#pragma once

#include <QString>

namespace pimoko {

// The book-wide text settings copied into a page that has no text settings of its own.
// The values here are the editor's own start-up values, used when no settings file
// provides others.
struct TBookDefaults {
    QString DefaultFontName = QStringLiteral("ＭＳ ゴシック");
    QString DefaultFontStyle;
    int DefaultFontHeight = 18;
    int DefaultFontColor = 0;
    bool DefaultShadow = false;
    int DefaultShadowColor = 0;
    bool DefaultVertical = false;
    int DefaultTextX = 0;
    int DefaultTextY = 0;
    int DefaultCharDelay = 100;
    int DefaultEffectWait = 500;
    int DefaultLinePitch = 0;
    bool DefaultHighlight = false;
    int DefaultHighlightLevel = 0;

    // The text of the default fade wait field. Files store this text unchanged, so a
    // book is written back exactly as it was read; DefaultEffectWait is its number.
    QString DefaultEffectWaitText = QStringLiteral("500");

    TBookDefaults& Defaults() { return *this; }
    const TBookDefaults& Defaults() const { return *this; }
};

} // namespace pimoko
