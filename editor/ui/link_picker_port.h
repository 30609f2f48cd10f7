#pragma once

namespace pimoko {

// The page picker the text settings window opens for its link page. It runs until the
// author chooses: a page, no link ("リンクなし"), or nothing (cancel, another window).
class LinkPickerPort {
public:
    enum Result { Cancelled, Chosen, Cleared };
    virtual ~LinkPickerPort() = default;
    // current: the link page shown selected (0 = none); page: the chosen page.
    virtual Result RunLinkPicker(int current, int* page) = 0;
};

} // namespace pimoko
