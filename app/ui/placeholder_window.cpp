#include "app/ui/placeholder_window.h"

#include "app/core/window_registry.h"

namespace pimoko {

PlaceholderWindow::PlaceholderWindow(const WindowEntry& entry, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QString::fromLatin1(entry.className));
    setWindowTitle(QString::fromUtf8(entry.caption));
}

} // namespace pimoko
