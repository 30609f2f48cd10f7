#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pimoko {

// Where the editor window's panels and its page preview go for a given size of the
// middle panel (Panel1). Panel3 (left) holds the preview, Panel4 (right) the page's
// text and settings; the preview keeps the page's 4 : 3 shape.
struct EditorLayout {
    QRect panel3; // in Panel1
    QRect panel4; // in Panel1
    QRect image; // Image1, in Panel3
    QRect bevel; // Bevel6, the frame around Image1, in Panel3
};

// The margin above, below and left of Panel3 in Panel1.
constexpr int kEditorPanelMargin = 4;

// The arithmetic of the window's resize handler. Sizes below what the rules can place
// give empty rectangles, never negative ones.
EditorLayout ComputeEditorLayout(QSize panel1);

// The window's place on its first show: centred in the work area along each axis where
// it fits, else at the work area's left (or top) edge.
QPoint FirstShowPlace(const QRect& workArea, QSize window);

// n / d rounded to the nearest integer, ties to even (d > 0).
int RoundRatioHalfEven(long long n, long long d);

} // namespace pimoko
