#include "player/playback_ports.h"

#include "player/title_list.h"

namespace pimoko {

void TitleListSlider::EnableSlider(bool enabled)
{
    titles_.sliderEnabled = enabled;
}

void TitleListSlider::SelectSliderPage(int n)
{
    titles_.SelectSliderPage(n);
}

bool TitleListSlider::SliderMoved() const
{
    return titles_.sliderMoved;
}

void TitleListSlider::ClearSliderMoved()
{
    titles_.sliderMoved = false;
}

int TitleListSlider::TakeSliderJump()
{
    return titles_.TakeSliderJump();
}

} // namespace pimoko
