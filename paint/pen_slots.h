#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace pimoko {

// One pen slot: a BMP file of the pen folder.
struct TPenObject {
    bool used = false;
    QString path;
};

// The 301 pen slots and the pen grid built from them: 6 cells a row, 50 rows.
class PenSlots {
public:
    static constexpr int kSlots = 301;
    static constexpr int kColumns = 6;
    static constexpr int kRows = 50;
    static constexpr int kCells = kColumns * kRows;
    static constexpr int kCellSize = 64;
    // How many entries of the folder listing are looked at.
    static constexpr int kListingSteps = 302;

    // Every slot freed, then "Brush1.bmp" .. "Brush10.bmp" where they exist, then every
    // BMP file of the folder in listing order; the grid is refilled.
    void Load(const QString& penFolder);
    // Takes the first free slot unless a used slot has the path (compared without regard
    // to case); dropped when every slot is used. The grid is refilled. False when nothing
    // was added.
    bool Add(const QString& path);
    // The slot becomes free and the grid is refilled.
    void Free(int slot);

    const TPenObject& Slot(int slot) const { return slots_[static_cast<size_t>(slot)]; }
    int UsedCount() const;

    // The grid: from the first shown pen on, each used slot whose file exists takes the
    // next cell; -1 for an empty cell.
    void RefillGrid();
    int SlotOfCell(int cell) const;
    QString PathOfCell(int cell) const;
    // The cell under a point of the grid, or -1 outside it.
    static int CellAt(int x, int y);

    int FirstShown = 0;

private:
    std::array<TPenObject, kSlots> slots_ {};
    std::array<int, kCells> cells_ {};
    bool cellsValid_ = false;
};

// Moves a pen file into the "Deleted" folder as name + "(" + n + ")" + extension with the
// first n from 1 that is free: copied, and the source deleted only when the copy worked.
// The path it was copied to, or "" when the copy failed.
QString MovePenToDeleted(const QString& penPath, const QString& deletedFolder);

} // namespace pimoko
