#pragma once

#include <QImage>

namespace pimoko::sample {

// The ten pens "Brush1.bmp" … "Brush10.bmp": stamps on black, the colour of their
// bottom-left pixel, which the graphic editor leaves out. Grey 120 is the neutral tint,
// so the stamps are drawn in greys around it; the airbrush reads their brightness.
constexpr int kPenCount = 10;
QImage Pen(int number); // 1..kPenCount

} // namespace pimoko::sample
