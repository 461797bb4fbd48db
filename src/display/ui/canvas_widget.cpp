#include "display/ui/canvas_widget.h"

#include <QPaintEvent>
#include <QPainter>

namespace trellicap {

CanvasWidget::CanvasWidget(Canvas& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) {
    // The image covers the widget (white where it ends), so Qt need not erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CanvasWidget::sizeHint() const {
    return m_canvas.sizePixels();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& image = m_canvas.image();
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(event->rect().topLeft(), image, event->rect());
}

}  // namespace trellicap
