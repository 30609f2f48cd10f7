#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace pimoko {

// The page preview: a 640 x 480 page picture stretched over the widget. The picture is
// not owned: the page editor keeps it.
class EditorPreview : public QWidget {
    Q_OBJECT
public:
    explicit EditorPreview(const QImage* picture, QWidget* parent = nullptr);

    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage* picture_;
};

} // namespace pimoko
