#include "app/ui/placeholder_window.h"

#include "app/core/window_registry.h"

namespace pimoko {

PlaceholderWindow::PlaceholderWindow(const WindowDesign& design, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QString::fromLatin1(design.className));
    setWindowTitle(QString::fromUtf8(design.caption));
}

} // namespace pimoko
