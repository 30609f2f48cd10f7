#include "editor/ui/editor_preview.h"

#include <QMouseEvent>
#include <QPainter>

namespace pimoko {

EditorPreview::EditorPreview(const QImage* picture, QWidget* parent)
    : QWidget(parent)
    , picture_(picture)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

void EditorPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (picture_->isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    // Smoothed, so the page's text stays readable at the preview's size.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), *picture_);
}

void EditorPreview::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && onClick)
        onClick();
}

} // namespace pimoko
