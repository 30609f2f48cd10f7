#pragma once

#include <QImage>

namespace pimoko::sample {

// The sample book's pictures, painted by code. Backgrounds are 640 x 480.
QImage SunsetHills(); // the cover
QImage Meadow(); // a meadow with a small house
QImage Night(); // moon and stars over dark trees
QImage Crossroads(); // a path that forks
QImage Forest();
QImage Sea();
QImage Morning();

// The rabbit clip on its key colour (magenta): every pixel is either the key colour or
// fully the rabbit, so the transparent copy leaves no fringe.
QImage RabbitClip();
constexpr QRgb kClipKeyColor = 0xFFFF00FF;

} // namespace pimoko::sample
