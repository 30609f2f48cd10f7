#include "player/ui/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace pimoko {

PictureView::PictureView(const QImage* picture, QWidget* parent)
    : QWidget(parent)
    , picture_(picture)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFixedSize(picture->size());
}

void PictureView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), *picture_, event->rect());
}

void PictureView::mousePressEvent(QMouseEvent* event)
{
    // Taken here, so a click on the picture never reaches the frame around it.
    event->accept();
    if (onMouseDown)
        onMouseDown(event);
}

void PictureView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (onMouseMove)
        onMouseMove(event);
}

} // namespace pimoko
