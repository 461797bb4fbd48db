#include "display/ui/canvas_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace trellicap {

CanvasWidget::CanvasWidget(Canvas& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) {
    // The rendering covers the widget (white where it ends), so Qt need not erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CanvasWidget::sizeHint() const {
    const QSize pixels = m_canvas.sizePixels();
    return {static_cast<int>(std::lround(pixels.width() * m_zoom)),
            static_cast<int>(std::lround(pixels.height() * m_zoom))};
}

void CanvasWidget::setZoom(double zoom) {
    if (zoom > 0 && zoom != m_zoom) {
        m_zoom = zoom;
        updateGeometry();
        update();
    }
}

void CanvasWidget::setMarks(Marks marks) {
    if (marks != m_marks) {
        m_marks = marks;
        update();
    }
}

RenderScale CanvasWidget::renderScale(double devicePixelRatio) const {
    const double positions = m_zoom * devicePixelRatio;
    return {positions, m_marks == Marks::KeepScreenSize ? devicePixelRatio : positions};
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // The device the painter draws on says how many device pixels a widget pixel has: the
    // screen's scaling, or a grab at another ratio.
    const double ratio = painter.device()->devicePixelRatioF();
    const RenderScale scale = renderScale(ratio);
    if (m_renderedRevision != m_canvas.revision() || m_renderedScale.positions != scale.positions ||
        m_renderedScale.marks != scale.marks) {
        m_rendered = m_canvas.image(scale);
        m_rendered.setDevicePixelRatio(ratio);
        m_renderedRevision = m_canvas.revision();
        m_renderedScale = scale;
    }
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(QPointF(0, 0), m_rendered);
}

}  // namespace trellicap
