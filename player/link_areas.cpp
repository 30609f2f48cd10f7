#include "player/link_areas.h"

#include <algorithm>

namespace pimoko {
namespace {

constexpr TextRect kNoHighlight { -1, -1, -1, -1 };

bool StrictlyInside(const TextRect& r, int x, int y)
{
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

} // namespace

LinkAreaTable::LinkAreaTable()
{
    ClearLinkAreas();
}

void LinkAreaTable::ClearLinkAreas()
{
    for (Slot& s : slots_)
        s = Slot();
    count_ = 0;
    first_ = last_ = selected_ = -1;
    highlight_ = kNoHighlight;
}

bool LinkAreaTable::AddLinkArea(int page, const TextRect& rect)
{
    for (int i = 0; i < kSlots; ++i) {
        if (!slots_[i].used) {
            slots_[i] = Slot { rect, page, true };
            Recount();
            return true;
        }
    }
    return false;
}

void LinkAreaTable::Recount()
{
    count_ = 0;
    first_ = last_ = -1;
    for (int i = 0; i < kSlots; ++i) {
        if (!slots_[i].used)
            continue;
        ++count_;
        if (first_ < 0)
            first_ = i;
        last_ = i;
    }
}

int LinkAreaTable::SlotAtPoint(int x, int y) const
{
    for (int i = 0; i < kSlots; ++i)
        if (slots_[i].used && StrictlyInside(slots_[i].rect, x, y))
            return i;
    return -1;
}

int LinkAreaTable::LinkTargetAt(int x, int y, const LinkPageOf& linkPageOf) const
{
    const int slot = SlotAtPoint(x, y);
    return slot < 0 ? -1 : linkPageOf(slots_[slot].page);
}

int LinkAreaTable::SelectedTarget(const LinkPageOf& linkPageOf) const
{
    if (selected_ < 0 || !slots_[selected_].used)
        return -1;
    return linkPageOf(slots_[selected_].page);
}

void LinkAreaTable::ForgetHighlight()
{
    highlight_ = kNoHighlight;
}

void LinkAreaTable::MoveHighlightTo(int slot, QImage& picture)
{
    if (HighlightDrawn()) {
        DrawHighlightFrame(picture, highlight_);
        highlight_ = kNoHighlight;
    }
    selected_ = slot;
    if (slot >= 0) {
        highlight_ = slots_[slot].rect;
        DrawHighlightFrame(picture, highlight_);
    }
}

void LinkAreaTable::PointerMoved(int x, int y, QImage& picture)
{
    MoveHighlightTo(SlotAtPoint(x, y), picture);
}

void LinkAreaTable::SelectPreviousLink(QImage& picture)
{
    if (count_ == 0)
        return;
    int s;
    if (selected_ < 0) {
        s = first_;
    } else {
        s = selected_ - 1;
        while (s >= first_ && !slots_[s].used)
            --s;
        if (s < first_)
            s = last_;
    }
    MoveHighlightTo(s, picture);
}

void LinkAreaTable::SelectNextLink(QImage& picture)
{
    if (count_ == 0)
        return;
    int s;
    if (selected_ < 0) {
        s = first_;
    } else {
        s = selected_ + 1;
        while (s <= last_ && !slots_[s].used)
            ++s;
        if (s > last_)
            s = first_;
    }
    MoveHighlightTo(s, picture);
}

void LinkAreaTable::DrawHighlightFrame(QImage& picture, const TextRect& rect)
{
    // A pen 2 pixels wide centred on the outline: the outer and the inner pixel of each
    // edge. Every pixel is inverted exactly once, so a second drawing undoes the first.
    const int l = rect.left - 1, t = rect.top - 1, r = rect.right, b = rect.bottom;
    const int il = rect.left + 1, it = rect.top + 1, ir = rect.right - 2, ib = rect.bottom - 2;
    const int x0 = std::max(l, 0), x1 = std::min(r, picture.width() - 1);
    const int y0 = std::max(t, 0), y1 = std::min(b, picture.height() - 1);
    if (x0 > x1 || y0 > y1 || picture.depth() != 24)
        return;
    for (int y = y0; y <= y1; ++y) {
        uchar* row = picture.scanLine(y);
        const bool innerRow = y >= it && y <= ib;
        for (int x = x0; x <= x1; ++x) {
            if (innerRow && x >= il && x <= ir) {
                x = std::max(x, ir); // skip the inside of the frame
                continue;
            }
            uchar* p = row + 3 * x;
            p[0] = static_cast<uchar>(~p[0]);
            p[1] = static_cast<uchar>(~p[1]);
            p[2] = static_cast<uchar>(~p[2]);
        }
    }
}

} // namespace pimoko
