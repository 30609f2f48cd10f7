#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace pimoko {

// Shows a page picture at its own size, unscaled, and reports the mouse in picture
// pixels. The picture is not owned: the viewer's state keeps it for the viewer's life.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(const QImage* picture, QWidget* parent = nullptr);

    std::function<void(QMouseEvent* event)> onMouseDown;
    std::function<void(QMouseEvent* event)> onMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const QImage* picture_;
};

} // namespace pimoko
