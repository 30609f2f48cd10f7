#include "paint/pen_maker.h"

#include "paint/pen_image.h"
#include "platform/bitmap.h"
#include "platform/paths.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace pimoko {

QPoint PenSelection::Clamp(QPoint at)
{
    return QPoint(std::clamp(at.x(), 0, kPageWidth - 1), std::clamp(at.y(), 0, kPageHeight - 1));
}

void PenSelection::Press(QPoint at)
{
    if (state_ == Dragging)
        return;
    state_ = Dragging;
    start_ = Clamp(at);
    end_ = start_;
}

void PenSelection::Drag(QPoint at)
{
    if (state_ == Dragging)
        end_ = Clamp(at);
}

void PenSelection::Release()
{
    if (state_ == Dragging)
        state_ = Done;
}

QImage MakePenImage(
    const QImage& canvas, QPoint start, QPoint end, PenBackground background, PenSizing sizing)
{
    const int w = std::abs(end.x() - start.x());
    const int h = std::abs(end.y() - start.y());
    if (w < 1 || h < 1)
        return QImage();
    const QImage source
        = ToBitmap24(canvas).copy(std::min(start.x(), end.x()), std::min(start.y(), end.y()), w, h);

    const bool square = background == PenBackground::Square;
    int penW = w;
    int penH = square ? h + 1 : h;
    if (sizing == PenSizing::Fit64) {
        if (h < w) {
            penW = 64;
            penH = static_cast<int>(RoundRatio(64LL * h, w));
        } else {
            penH = 64;
            penW = static_cast<int>(RoundRatio(64LL * w, h));
        }
        penW = std::max(penW, 1);
        penH = std::max(penH, 1);
    }
    if (!square)
        return StretchPen(source, penW, penH);

    // The rectangle over all rows but the last; the last row in a colour the stamp then
    // leaves out, chosen so it differs from the pixel above its left end.
    QImage pen = NewBitmap24(penW, penH);
    if (penH > 1) {
        const QImage body = StretchPen(source, penW, penH - 1);
        for (int y = 0; y < penH - 1; ++y)
            std::memcpy(pen.scanLine(y), body.constScanLine(y), static_cast<size_t>(3 * penW));
    }
    const uchar* above = pen.constScanLine(std::max(0, penH - 2));
    const bool aboveBlack = penH < 2 || (above[0] == 0 && above[1] == 0 && above[2] == 0);
    std::memset(pen.scanLine(penH - 1), aboveBlack ? 0xFF : 0x00, static_cast<size_t>(3 * penW));
    return pen;
}

QString FreePenFile(const QString& penFolder)
{
    for (int n = 1; n < 100000; ++n) {
        const QString path = JoinPath(penFolder, QStringLiteral("NwPen%1.bmp").arg(n));
        if (!QFileInfo::exists(path))
            return path;
    }
    return QString();
}

} // namespace pimoko
