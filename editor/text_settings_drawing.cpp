#include "editor/text_settings.h"

#include "platform/bitmap.h"
#include "platform/cursor_ids.h"
#include "platform/numbers.h"
#include "text/font_table.h"

#include <QColor>

#include <algorithm>
#include <array>

namespace pimoko {

namespace {

struct HighlightLevel {
    const char* text; // UTF-8
    double ratio;
};

const std::array<HighlightLevel, kHighlightItemCount - 1> kLevels = { {
    { "小", 0.01 },
    { "中", 0.03 },
    { "大", 0.05 },
    { "最大", 0.07 },
    { "OV1", 0.1 },
    { "OV2", 0.2 },
    { "OV3", 0.3 },
    { "OV4", 0.4 },
    { "OV5", 0.5 },
} };

const std::array<const char*, kSpeedItemCount> kSpeedCaptions = {
    "数値指定",
    "遅い    => 500",
    "遅い    => 400",
    "遅い    => 300",
    "ふつう  => 200",
    "ふつう  => 100",
    "ふつう  =>  50",
    "速い    =>  40",
    "速い    =>  20",
    "速い    =>   0",
};
const std::array<int, kSpeedItemCount> kSpeeds = { 0, 500, 400, 300, 200, 100, 50, 40, 20, 0 };

// Character sets the font dialog leaves out.
constexpr int kSymbolCharset = 2;
constexpr int kOemCharset = 255;

QImage MakePalette()
{
    QImage palette = NewBitmap24(kPaletteWidth, kPaletteHeight);
    const int hues = kPaletteWidth - 16;
    for (int y = 0; y < kPaletteHeight; ++y) {
        // From nearly white at the top through the full colour to nearly black.
        const int lightness = 240 - y * 225 / (kPaletteHeight - 1);
        for (int x = 0; x < kPaletteWidth; ++x) {
            const int grey = 255 - y * 255 / (kPaletteHeight - 1);
            const QColor c = x < hues ? QColor::fromHsl(x * 359 / (hues - 1), 255, lightness)
                                      : QColor(grey, grey, grey);
            uchar* p = palette.scanLine(y) + x * 3;
            p[0] = static_cast<uchar>(c.blue());
            p[1] = static_cast<uchar>(c.green());
            p[2] = static_cast<uchar>(c.red());
        }
    }
    return palette;
}

void InvertSpan(QImage& picture, int y, int x0, int x1)
{
    if (y < 0 || y >= picture.height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, picture.width() - 1);
    uchar* line = picture.scanLine(y);
    for (int x = x0; x <= x1; ++x) {
        uchar* p = line + x * 3;
        p[0] ^= 0xFF;
        p[1] ^= 0xFF;
        p[2] ^= 0xFF;
    }
}

} // namespace

QString HighlightItemText(int item)
{
    if (item < 0 || item >= static_cast<int>(kLevels.size()))
        return QString();
    return QString::fromUtf8(kLevels[static_cast<size_t>(item)].text);
}

double HighlightRatioOf(const QString& levelText)
{
    for (const HighlightLevel& level : kLevels)
        if (levelText == QString::fromUtf8(level.text))
            return level.ratio;
    return 0.03;
}

QString HighlightLevelOf(double ratio)
{
    for (const HighlightLevel& level : kLevels)
        if (ratio == level.ratio)
            return QString::fromUtf8(level.text);
    return QString();
}

int HighlightWidthFor(int fontHeight, double ratio)
{
    // The product in double precision, as the level ratios are held.
    const double width = fontHeight * ratio;
    return std::max(1, static_cast<int>(RoundHalfEven(width)));
}

QString SpeedItemCaption(int item)
{
    if (item < 0 || item >= kSpeedItemCount)
        return QString();
    return QString::fromUtf8(kSpeedCaptions[static_cast<size_t>(item)]);
}

int SpeedOfItem(int item)
{
    if (item < 1 || item >= kSpeedItemCount)
        return 0;
    return kSpeeds[static_cast<size_t>(item)];
}

QStringList TextFacesOf(const FontTable& fonts)
{
    QStringList faces;
    for (int i = 0; i < fonts.Count(); ++i) {
        const FontTableEntry& entry = fonts.Entry(i);
        if (entry.charSet != kSymbolCharset && entry.charSet != kOemCharset)
            faces << entry.faceName;
    }
    return faces;
}

const QImage& ColorPalette()
{
    static const QImage palette = MakePalette();
    return palette;
}

ColorRef PaletteColorAt(int x, int y)
{
    const QImage& palette = ColorPalette();
    x = std::clamp(x, 0, palette.width() - 1);
    y = std::clamp(y, 0, palette.height() - 1);
    const uchar* p = palette.constScanLine(y) + x * 3;
    return MakeColorRef(p[2], p[1], p[0]);
}

void XorFrame(QImage& picture, const TextRect& rect)
{
    if (picture.format() != QImage::Format_BGR888)
        return;
    const int left = std::max(rect.left, -kPageWidth) - 1;
    const int right = std::min(rect.right, 2 * kPageWidth);
    const int top = std::max(rect.top, -kPageHeight) - 1;
    const int bottom = std::min(rect.bottom, 2 * kPageHeight);
    if (right < left || bottom < top)
        return;
    // Every pixel of the band once: two rows at the top and the bottom, two columns at
    // each side in between.
    for (int y = top; y <= bottom; ++y) {
        if (y <= top + 1 || y >= bottom - 1) {
            InvertSpan(picture, y, left, right);
        } else {
            InvertSpan(picture, y, left, std::min(left + 1, right));
            InvertSpan(picture, y, std::max(left + 2, right - 1), right);
        }
    }
}

// ---- The speed grid -------------------------------------------------------------------

int TTextSettings::Speed(int column, int row) const
{
    if (column < 0 || column > kSpeedGridLast || row < 0 || row > kSpeedGridLast)
        return kNoSpeed;
    return speeds_[static_cast<size_t>(column * kSpeedGridSize + row)];
}

QString TTextSettings::CellText(int column, int row) const
{
    if (column < 0 || column > kSpeedGridLast || row < 0 || row > kSpeedGridLast)
        return QString();
    return cells_[static_cast<size_t>(column * kSpeedGridSize + row)];
}

void TTextSettings::BuildSpeedGrid(bool uniform, int speed)
{
    engine_.SetText(Memo1);
    std::fill(speeds_.begin(), speeds_.end(), kNoSpeed);
    std::fill(cells_.begin(), cells_.end(), QString());
    for (int n = 1; n <= engine_.CharCount(); ++n) {
        const int column = std::min(engine_.ColumnOfChar(n) - 1, kSpeedGridLast);
        const int row = std::min(engine_.LineOfChar(n), kSpeedGridLast);
        const size_t cell = static_cast<size_t>(column * kSpeedGridSize + row);
        cells_[cell] = engine_.CharAt(n);
        speeds_[cell] = uniform ? speed : std::max(0, int(pageDelays_[static_cast<size_t>(n - 1)]));
    }
}

// ---- The preview ----------------------------------------------------------------------

void TTextSettings::Redraw()
{
    previewDirty_ = true;
}

void TTextSettings::PrepareEngine()
{
    const LogFont resolved
        = fonts_.ResolveFont(fields_.fontName, fields_.fontCharset, fields_.fontFamily);
    CanvasFont font;
    font.name = fields_.vertical ? QStringLiteral("@") + resolved.faceName : resolved.faceName;
    font.height = fields_.fontHeight;
    font.style = StyleFromString(fields_.styleString);
    font.color = dialogFont_.color;
    canvas_.SetImage(&preview_);
    canvas_.SetFont(font);

    engine_.SetText(Memo1);
    engine_.SetCanvas(&canvas_);
    engine_.SetOrigin(fields_.textX, fields_.textY);
    if (fields_.shadowOn)
        engine_.SetShadowOn();
    else
        engine_.SetShadowOff();
    if (fields_.highlightOn) {
        engine_.SetHighlightOn();
        engine_.SetHighlightWidth(fields_.highlightWidth);
    } else {
        engine_.SetHighlightOff();
    }
    if (fields_.vertical)
        engine_.SetVertical();
    else
        engine_.SetHorizontal();
    engine_.SetLinePitch(fields_.linePitch);
    engine_.SetShadowColor(fields_.shadowColor);
    engine_.SetTextColor(fields_.textColor);
}

void TTextSettings::DrawPreview()
{
    view_->SetCursor(kCursorWait);
    preview_ = scene_.isNull() ? NewBitmap24() : scene_.copy();
    if (!Memo1.isEmpty()) {
        PrepareEngine();
        engine_.DrawAll();
    }
    // A rubber band being dragged stays on the picture drawn under it.
    if (!(previewRect_ == NoRect()))
        XorFrame(preview_, previewRect_);
    view_->SetCursor(kCursorDefault);
}

} // namespace pimoko
