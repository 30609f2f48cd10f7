#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace pimoko {

// The splash shown while the windows are made. It has no behaviour: only its artwork.
class TSpForm : public QWidget {
    Q_OBJECT
public:
    explicit TSpForm(QWidget* parent = nullptr);

    // Shows the splash centred on the screen and paints it at once, before any event
    // loop runs.
    void ShowNow();

    QFrame* Panel1 = nullptr; // the red artwork, filling the client area
    QFrame* Panel2 = nullptr; // a blue variant, outside the client area and never shown
};

} // namespace pimoko
