#pragma once

#include <QImage>
#include <QString>

#include <array>

namespace pimoko {

// The 31 saved states of the canvas, kept as "UB0.bmp" .. "UB30.bmp" in the Temp folder.
// A new state goes into the slot after the current one, the oldest giving way after 31;
// stepping back and forward cycles through the used slots.
class UndoRing {
public:
    static constexpr int kSlots = 31;

    explicit UndoRing(const QString& tempFolder = QString());
    void SetTempFolder(const QString& tempFolder) { tempFolder_ = tempFolder; }
    QString SlotFile(int slot) const;

    // Every slot unused, no position. The files stay and are overwritten slot by slot.
    void Clear();
    // The canvas changed since the last saved state.
    void MarkPending() { pending_ = true; }
    bool Pending() const { return pending_; }
    int Position() const { return position_; }
    bool Used(int slot) const { return used_[static_cast<size_t>(slot)]; }

    // With a change pending, the canvas goes into the next slot.
    void Snapshot(const QImage& canvas);
    // "前の画像": a pending change is saved into the next slot first and the state before
    // it comes back; otherwise the nearest used slot backwards comes back.
    void StepBack(QImage& canvas);
    // "後の画像": the nearest used slot forwards comes back; nothing with a change pending.
    void StepForward(QImage& canvas);

private:
    static int Next(int slot) { return (slot + 1) % kSlots; }
    static int Previous(int slot) { return (slot + kSlots - 1) % kSlots; }
    void Save(int slot, const QImage& canvas);
    // A missing or unreadable file leaves the canvas as it is.
    void Load(int slot, QImage& canvas) const;

    QString tempFolder_;
    std::array<bool, kSlots> used_ {};
    int position_ = -1;
    bool pending_ = false;
};

} // namespace pimoko
