#include "book/book_json.h"

#include "book/book_defaults.h"
#include "book/novel_page.h"

#include <QJsonArray>

namespace pimoko {

QJsonObject DefaultsToJson(const TBookDefaults& d)
{
    QJsonObject o;
    o.insert(QStringLiteral("DefaultFontName"), d.DefaultFontName);
    o.insert(QStringLiteral("DefaultFontStyle"), d.DefaultFontStyle);
    o.insert(QStringLiteral("DefaultFontHeight"), d.DefaultFontHeight);
    o.insert(QStringLiteral("DefaultFontColor"), d.DefaultFontColor);
    o.insert(QStringLiteral("DefaultShadow"), d.DefaultShadow);
    o.insert(QStringLiteral("DefaultShadowColor"), d.DefaultShadowColor);
    o.insert(QStringLiteral("DefaultVertical"), d.DefaultVertical);
    o.insert(QStringLiteral("DefaultTextX"), d.DefaultTextX);
    o.insert(QStringLiteral("DefaultTextY"), d.DefaultTextY);
    o.insert(QStringLiteral("DefaultCharDelay"), d.DefaultCharDelay);
    o.insert(QStringLiteral("DefaultEffectWait"), d.DefaultEffectWait);
    o.insert(QStringLiteral("DefaultLinePitch"), d.DefaultLinePitch);
    o.insert(QStringLiteral("DefaultHighlight"), d.DefaultHighlight);
    o.insert(QStringLiteral("DefaultHighlightLevel"), d.DefaultHighlightLevel);
    return o;
}

QJsonObject PageToJson(const TNovelPage& p, int pageNumber)
{
    QJsonObject o;
    o.insert(QStringLiteral("page"), pageNumber);
    o.insert(QStringLiteral("InUse"), p.InUse);
    o.insert(QStringLiteral("Title"), p.Title);
    o.insert(QStringLiteral("SoundFile"), p.SoundFile);
    o.insert(QStringLiteral("PictureFile"), p.PictureFile);
    o.insert(QStringLiteral("PicEffect"), p.PicEffect);
    o.insert(QStringLiteral("ClipMode"), p.ClipMode);
    o.insert(QStringLiteral("ClipX"), p.ClipX);
    o.insert(QStringLiteral("ClipY"), p.ClipY);
    o.insert(QStringLiteral("ClipTransparent"), p.ClipTransparent);
    o.insert(QStringLiteral("EffectWait"), p.EffectWait);
    o.insert(QStringLiteral("TextLines"), QJsonArray::fromStringList(p.TextLines));
    o.insert(QStringLiteral("TextX"), p.TextX);
    o.insert(QStringLiteral("TextY"), p.TextY);
    o.insert(QStringLiteral("Vertical"), p.Vertical);
    o.insert(QStringLiteral("LinePitch"), p.LinePitch);
    int last = TNovelPage::kCharDelayCount - 1;
    while (last >= 0 && p.CharDelays[last] == -1)
        --last;
    QJsonArray delays;
    for (int i = 0; i <= last; ++i)
        delays.append(p.CharDelays[i]);
    o.insert(QStringLiteral("CharDelays"), delays);
    o.insert(QStringLiteral("FontHeight"), p.FontHeight);
    o.insert(QStringLiteral("FontColor"), p.FontColor);
    o.insert(QStringLiteral("ShadowColor"), p.ShadowColor);
    o.insert(QStringLiteral("Shadow"), p.Shadow);
    o.insert(QStringLiteral("Highlight"), p.Highlight);
    o.insert(QStringLiteral("HighlightLevel"), p.HighlightLevel);
    o.insert(QStringLiteral("FontStyle"), p.FontStyle);
    o.insert(QStringLiteral("FontName"), p.FontName);
    o.insert(QStringLiteral("FontFamily"), p.FontFamily);
    o.insert(QStringLiteral("FontCharset"), p.FontCharset);
    o.insert(QStringLiteral("WriteAll"), p.WriteAll);
    o.insert(QStringLiteral("FillImage"), p.FillImage);
    o.insert(QStringLiteral("FillColor"), p.FillColor);
    o.insert(QStringLiteral("AutoNext"), p.AutoNext);
    o.insert(QStringLiteral("DrawToBackBuffer"), p.DrawToBackBuffer);
    o.insert(QStringLiteral("ShowBackBuffer"), p.ShowBackBuffer);
    o.insert(QStringLiteral("SoundLoop"), p.SoundLoop);
    o.insert(QStringLiteral("SoundStop"), p.SoundStop);
    o.insert(QStringLiteral("LinkPage"), p.LinkPage);
    o.insert(QStringLiteral("Period"), p.Period);
    o.insert(QStringLiteral("GotoPage"), p.GotoPage);
    return o;
}

} // namespace pimoko
