#pragma once

#include <QWidget>

namespace pimoko {

struct WindowEntry;

// Stands in for a window of the program that is not built yet: it has its class name
// and caption, so the set of windows and their order are whole, and is never shown.
class PlaceholderWindow : public QWidget {
    Q_OBJECT
public:
    explicit PlaceholderWindow(const WindowEntry& entry, QWidget* parent = nullptr);
};

} // namespace pimoko
