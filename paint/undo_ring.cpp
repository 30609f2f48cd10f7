#include "paint/undo_ring.h"

#include "platform/bitmap.h"
#include "platform/paths.h"

#include <QDir>

namespace pimoko {

UndoRing::UndoRing(const QString& tempFolder)
    : tempFolder_(tempFolder)
{
}

QString UndoRing::SlotFile(int slot) const
{
    return JoinPath(tempFolder_, QStringLiteral("UB%1.bmp").arg(slot));
}

void UndoRing::Clear()
{
    used_.fill(false);
    position_ = -1;
    pending_ = false;
}

void UndoRing::Save(int slot, const QImage& canvas)
{
    QDir().mkpath(tempFolder_);
    // A slot whose file could not be written would bring back an older state.
    used_[static_cast<size_t>(slot)] = WriteBmp24(SlotFile(slot), canvas);
}

void UndoRing::Load(int slot, QImage& canvas) const
{
    // A slot not used since the ring was emptied holds a state of an earlier picture.
    if (slot < 0 || !used_[static_cast<size_t>(slot)])
        return;
    const QImage state = ReadBmp(SlotFile(slot));
    if (state.size() == canvas.size())
        canvas = state;
}

void UndoRing::Snapshot(const QImage& canvas)
{
    if (!pending_)
        return;
    position_ = Next(position_);
    Save(position_, canvas);
    pending_ = false;
}

void UndoRing::StepBack(QImage& canvas)
{
    if (pending_) {
        const int saved = Next(position_);
        Save(saved, canvas);
        position_ = Previous(saved);
        Load(position_, canvas);
        pending_ = false;
        return;
    }
    int slot = position_ < 0 ? 0 : position_;
    for (int step = 0; step < kSlots; ++step) {
        slot = Previous(slot);
        if (used_[static_cast<size_t>(slot)]) {
            position_ = slot;
            Load(slot, canvas);
            return;
        }
    }
}

void UndoRing::StepForward(QImage& canvas)
{
    if (pending_)
        return;
    int slot = position_ < 0 ? kSlots - 1 : position_;
    for (int step = 0; step < kSlots; ++step) {
        slot = Next(slot);
        if (used_[static_cast<size_t>(slot)]) {
            position_ = slot;
            Load(slot, canvas);
            return;
        }
    }
}

} // namespace pimoko
