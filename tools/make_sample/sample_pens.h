#pragma once

#include <QImage>

namespace pimoko::sample {

// The ten pens "Brush1.bmp" … "Brush10.bmp": stamps on black, the colour of their
// bottom-left pixel, which the graphic editor leaves out. Grey 120 is the neutral tint,
// so the stamps are drawn in greys around it; the airbrush reads their brightness. Shapes
// have hard edges: an edge pixel half way to the black that is left out would stamp as a
// dark rim. Only the soft round pen (4) fades, for the airbrush.
constexpr int kPenCount = 10;
QImage Pen(int number); // 1..kPenCount

} // namespace pimoko::sample
