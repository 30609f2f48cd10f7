#pragma once

#include "paint/random_source.h"
#include "platform/bitmap.h"

#include <QColor>
#include <QImage>

#include <deque>

namespace pimoko::test {

// Hands out the numbers it was given, then 0; records the ranges asked for.
class ScriptedRandom : public RandomSource {
public:
    std::deque<int> numbers;
    std::deque<int> ranges;
    int Random(int range) override
    {
        ranges.push_back(range);
        if (numbers.empty())
            return 0;
        const int n = numbers.front();
        numbers.pop_front();
        return n;
    }
};

// A 24-bit picture of one colour.
inline QImage Solid(int w, int h, QColor colour)
{
    QImage image = NewBitmap24(w, h);
    image.fill(colour);
    return image;
}

// A pen of w x h in one colour with a black bottom-left pixel, the colour it leaves out.
inline QImage PenOf(int w, int h, QColor colour)
{
    QImage pen = Solid(w, h, colour);
    pen.setPixelColor(0, h - 1, Qt::black);
    return pen;
}

} // namespace pimoko::test
