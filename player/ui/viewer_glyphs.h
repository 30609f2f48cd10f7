#pragma once

#include <QImage>

namespace pimoko {

// The go-on button's two 16 x 16 pictures on black (the image list's background):
// the advance glyph, an arrow pointing on, and the link glyph, a hand pointing at a
// choice. Drawn pixel by pixel so they stay sharp at their size.
QImage AdvanceGlyph();
QImage LinkGlyph();

} // namespace pimoko
