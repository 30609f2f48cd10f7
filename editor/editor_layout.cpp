#include "editor/editor_layout.h"

#include <algorithm>

namespace pimoko {

int RoundRatioHalfEven(long long n, long long d)
{
    // Floor division, then the remainder decides: more than half up, exactly half to even.
    long long q = n / d;
    long long r = n % d;
    if (r < 0) {
        r += d;
        --q;
    }
    if (2 * r > d || (2 * r == d && (q & 1) != 0))
        ++q;
    return static_cast<int>(q);
}

EditorLayout ComputeEditorLayout(QSize panel1)
{
    EditorLayout out;
    const int width1 = std::max(0, panel1.width());
    const int height3 = std::max(0, panel1.height() - 2 * kEditorPanelMargin);

    // Panel3: 0.4 of Panel1 plus 2; Panel4 from 4 pixels right of it to 13 before the edge.
    const int width3 = RoundRatioHalfEven(2LL * width1, 5) + 2;
    out.panel3 = QRect(kEditorPanelMargin, kEditorPanelMargin, width3, height3);
    const int left4 = out.panel3.left() + width3 + 4;
    out.panel4 = QRect(left4, kEditorPanelMargin, std::max(0, width1 - 13 - left4), height3);

    // The preview: 0.85 of the panel's width at 4 : 3, unless that leaves less than 90
    // pixels of the panel's height; then as high as that allows, 1.33 times as wide.
    int w = RoundRatioHalfEven(85LL * width3, 100);
    int h = RoundRatioHalfEven(3LL * w, 4);
    if (h > height3 - 90) {
        h = std::max(0, height3 - 90);
        w = RoundRatioHalfEven(133LL * h, 100);
    }
    // Integer division truncating toward zero, as the placement rules say.
    const int left = (width3 - w) / 2;
    const int top = (height3 - h - 75) / 2;
    out.image = QRect(left, top, w, h);
    out.bevel = QRect(left - 3, top - 3, w + 5, h + 5);
    return out;
}

QPoint FirstShowPlace(const QRect& workArea, QSize window)
{
    const int x = window.width() < workArea.width()
        ? workArea.left() + (workArea.width() - window.width()) / 2
        : workArea.left();
    const int y = window.height() < workArea.height()
        ? workArea.top() + (workArea.height() - window.height()) / 2
        : workArea.top();
    return QPoint(x, y);
}

} // namespace pimoko
