#pragma once

#include "text/char_numbering.h"

#include <QImage>

#include <array>
#include <functional>

namespace pimoko {

// The clickable texts of the pages shown since the last picture: 301 slots, each the
// bounds of a page's text and the page that made it, with the pointer or the arrow keys
// selecting one and a highlight frame drawn over the picture.
class LinkAreaTable {
public:
    static constexpr int kSlots = 301;

    struct Slot {
        TextRect rect;
        int page = 0;
        bool used = false;
    };

    // The page a slot was made by -> that page's link page.
    using LinkPageOf = std::function<int(int page)>;

    LinkAreaTable();

    // All slots free, nothing selected, the highlight forgotten (not erased).
    void ClearLinkAreas();
    // Into the first free slot; false (nothing recorded) when all are taken.
    bool AddLinkArea(int page, const TextRect& rect);

    int LinkCount() const { return count_; }
    bool HasLinks() const { return count_ > 0; }
    const Slot& SlotAt(int i) const { return slots_[i]; }
    int FirstUsed() const { return first_; }
    int LastUsed() const { return last_; }
    int Selected() const { return selected_; }
    // The highlight frame now drawn, or left == -1 when none is.
    const TextRect& Highlight() const { return highlight_; }
    bool HighlightDrawn() const { return highlight_.left != -1 || highlight_.right != -1; }

    // The first used slot whose rectangle strictly contains (x, y), or -1.
    int SlotAtPoint(int x, int y) const;
    // The link page of the first used slot strictly containing (x, y), or -1.
    int LinkTargetAt(int x, int y, const LinkPageOf& linkPageOf) const;
    // The link page of the selected slot, or -1 when none is selected.
    int SelectedTarget(const LinkPageOf& linkPageOf) const;

    // The pointer moved to (x, y): the old frame is erased from picture, and the slot under
    // the pointer (if any) is framed and selected; otherwise nothing is selected.
    void PointerMoved(int x, int y, QImage& picture);
    // The arrow keys: previous and next used slot, wrapping around the used ones.
    void SelectPreviousLink(QImage& picture);
    void SelectNextLink(QImage& picture);
    // Forgets the frame without erasing it (the picture is about to change).
    void ForgetHighlight();

    // The frame: 2 pixels wide, inverted, so drawing the same rectangle twice restores
    // the picture.
    static void DrawHighlightFrame(QImage& picture, const TextRect& rect);

private:
    void Recount();
    void MoveHighlightTo(int slot, QImage& picture);

    std::array<Slot, kSlots> slots_;
    int count_ = 0;
    int first_ = -1;
    int last_ = -1;
    int selected_ = -1;
    TextRect highlight_;
};

} // namespace pimoko
