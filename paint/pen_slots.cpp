#include "paint/pen_slots.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pimoko {

void PenSlots::Load(const QString& penFolder)
{
    for (TPenObject& slot : slots_)
        slot = TPenObject();
    cellsValid_ = false;
    const QString folder = FindExistingPath(penFolder);
    for (int n = 1; n <= 10; ++n) {
        const QString brush
            = FindExistingPath(JoinPath(folder, QStringLiteral("Brush%1.bmp").arg(n)));
        if (QFileInfo(brush).isFile())
            Add(brush);
    }
    QDir dir(folder);
    const QStringList names
        = dir.entryList({ QStringLiteral("*.bmp") }, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (int i = 0; i < names.size() && i < kListingSteps; ++i)
        Add(JoinPath(folder, names[i]));
    RefillGrid();
}

bool PenSlots::Add(const QString& path)
{
    int free = -1;
    for (int i = 0; i < kSlots; ++i) {
        const TPenObject& slot = slots_[static_cast<size_t>(i)];
        if (slot.used && slot.path.compare(path, Qt::CaseInsensitive) == 0)
            return false;
        if (!slot.used && free < 0)
            free = i;
    }
    if (free < 0)
        return false;
    slots_[static_cast<size_t>(free)] = { true, path };
    cellsValid_ = false;
    return true;
}

void PenSlots::Free(int slot)
{
    if (slot < 0 || slot >= kSlots)
        return;
    slots_[static_cast<size_t>(slot)] = TPenObject();
    RefillGrid();
}

int PenSlots::UsedCount() const
{
    int n = 0;
    for (const TPenObject& slot : slots_)
        n += slot.used ? 1 : 0;
    return n;
}

void PenSlots::RefillGrid()
{
    cells_.fill(-1);
    int cell = 0;
    for (int i = std::max(0, FirstShown); i < kSlots && cell < kCells; ++i) {
        const TPenObject& slot = slots_[static_cast<size_t>(i)];
        if (slot.used && QFileInfo(slot.path).isFile())
            cells_[static_cast<size_t>(cell++)] = i;
    }
    cellsValid_ = true;
}

int PenSlots::SlotOfCell(int cell) const
{
    if (!cellsValid_ || cell < 0 || cell >= kCells)
        return -1;
    return cells_[static_cast<size_t>(cell)];
}

QString PenSlots::PathOfCell(int cell) const
{
    const int slot = SlotOfCell(cell);
    return slot < 0 ? QString() : slots_[static_cast<size_t>(slot)].path;
}

int PenSlots::CellAt(int x, int y)
{
    if (x < 0 || y < 0 || x >= kColumns * kCellSize || y >= kRows * kCellSize)
        return -1;
    return (y / kCellSize) * kColumns + x / kCellSize;
}

QString MovePenToDeleted(const QString& penPath, const QString& deletedFolder)
{
    QDir().mkpath(deletedFolder);
    const QString name = FileNamePart(penPath);
    const QString extension = ExtensionOf(name);
    const QString stem = name.left(name.size() - extension.size());
    for (int n = 1; n < 1000000; ++n) {
        const QString target = JoinPath(deletedFolder,
            stem + QLatin1Char('(') + QString::number(n) + QLatin1Char(')') + extension);
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(penPath, target))
            return QString();
        QFile::remove(penPath);
        return target;
    }
    return QString();
}

} // namespace pimoko
