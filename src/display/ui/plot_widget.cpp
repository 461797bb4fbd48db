#include "display/ui/plot_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace trellicap {

namespace {

constexpr double kZoomStep = 1.25;      // one wheel notch or one + / -
constexpr double kGrabReachPixels = 4;  // how near a press must be to drag a cursor
constexpr int kShiftStep = 10;

}  // namespace

PlotWidget::PlotWidget(Canvas& rest, QWidget* parent)
    : CanvasWidget(rest, parent),
      m_base(rest.widthTwips(), rest.heightTwips(), Canvas::Unit::Point),
      m_cursors(rest.widthTwips(), rest.heightTwips(), Canvas::Unit::Point) {
    m_base.setFont(rest.font());
    m_cursors.setFont(rest.font());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
}

void PlotWidget::changed() {
    update();
    emit viewChanged();
}

void PlotWidget::showRecord(const ModelProfile& profile, std::span<const RecordValue> capture,
                            const PlotTexts& texts) {
    m_view.setRecord(profile, capture, texts);
    changed();
}

void PlotWidget::clearRecord() {
    m_view.clearRecord();
    m_drag = Drag::None;
    changed();
}

void PlotWidget::setReference(const ReferenceTrace& reference) {
    m_view.setReference(reference);
    changed();
}

void PlotWidget::clearReference() {
    m_view.clearReference();
    changed();
}

void PlotWidget::clearCursors() {
    m_view.clearCursors();
    changed();
}

void PlotWidget::showAll() {
    m_view.showAll();
    changed();
}

void PlotWidget::zoomAround(double viewX, double factor) {
    m_view.zoomAround(viewX, factor);
    changed();
}

double PlotWidget::viewXAt(QPointF widgetPos) const {
    return widgetPos.x() / (zoom() * m_base.pixelsPerUnit());
}

double PlotWidget::widgetXOf(double viewX) const {
    return viewX * zoom() * m_base.pixelsPerUnit();
}

void PlotWidget::paintEvent(QPaintEvent* event) {
    if (m_view.atRest()) {
        CanvasWidget::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const double ratio = painter.device()->devicePixelRatioF();
    const RenderScale scale = renderScale(ratio);
    if (m_baseImageRevision != m_view.baseRevision() ||
        m_baseImageScale.positions != scale.positions || m_baseImageScale.marks != scale.marks) {
        m_view.drawBase(m_base, scale.marks / scale.positions);
        m_baseImage = m_base.image(scale);
        m_baseImage.setDevicePixelRatio(ratio);
        m_baseImageRevision = m_view.baseRevision();
        m_baseImageScale = scale;
    }
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(QPointF(0, 0), m_baseImage);
    // The cursors go straight onto the widget in its own (device-independent) units, so a
    // drag repaints two lines, not the whole view.
    m_view.drawCursors(m_cursors);
    m_cursors.render(painter, RenderScale{scale.positions / ratio, scale.marks / ratio});
}

bool PlotWidget::event(QEvent* event) {
    // Esc belongs to the plot while it has cursors to clear, before the window's shortcut.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && m_view.hasCursors()) {
            event->accept();
            return true;
        }
    }
    return CanvasWidget::event(event);
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
    if (!m_view.hasRecord()) {
        CanvasWidget::mousePressEvent(event);
        return;
    }
    const double x = viewXAt(event->position());
    const bool pan =
        event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ControlModifier));
    if (pan) {
        m_drag = Drag::Pan;
        m_pressViewX = x;
        m_pressSpan = m_view.span();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        CanvasWidget::mousePressEvent(event);
        return;
    }
    const double reach = kGrabReachPixels / (zoom() * m_base.pixelsPerUnit());
    if (const auto near = m_view.cursorNear(x, reach)) {
        m_dragCursor = *near;
    } else if (event->modifiers().testFlag(Qt::ShiftModifier)) {
        m_dragCursor = PlotView::Cursor::B;
    } else {
        m_dragCursor = m_view.clickAt(x);
    }
    m_view.setCursor(m_dragCursor, m_view.span().sampleAt(x));
    m_drag = Drag::Cursor;
    changed();
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
    const double x = viewXAt(event->position());
    switch (m_drag) {
        case Drag::Cursor:
            m_view.setCursor(m_dragCursor, m_view.span().sampleAt(x));
            changed();
            return;
        case Drag::Pan:
            m_view.setSpan(m_pressSpan.pannedBy(x - m_pressViewX));
            changed();
            return;
        case Drag::None:
            CanvasWidget::mouseMoveEvent(event);
            return;
    }
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    m_drag = Drag::None;
    CanvasWidget::mouseReleaseEvent(event);
}

void PlotWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_drag = Drag::None;
        clearCursors();
        return;
    }
    CanvasWidget::mouseDoubleClickEvent(event);
}

void PlotWidget::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (!m_view.hasRecord() || notches == 0) {
        event->ignore();
        return;
    }
    zoomAround(viewXAt(event->position()), std::pow(kZoomStep, notches));
    event->accept();
}

void PlotWidget::keyPressEvent(QKeyEvent* event) {
    const double middle = kGridFirstX + kGridSpanX / 2;
    const int step = event->modifiers().testFlag(Qt::ShiftModifier) ? kShiftStep : 1;
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomAround(middle, kZoomStep);
            return;
        case Qt::Key_Minus:
            zoomAround(middle, 1 / kZoomStep);
            return;
        case Qt::Key_0:
            showAll();
            return;
        case Qt::Key_Escape:
            if (m_view.hasCursors()) {
                clearCursors();
                return;
            }
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (m_view.hasRecord()) {
                const int by = event->key() == Qt::Key_Left ? -step : step;
                if (m_view.hasCursors()) {
                    m_view.stepCursor(by);
                } else {
                    m_view.setCursor(PlotView::Cursor::A, m_view.span().sampleAt(middle));
                }
                changed();
                return;
            }
            break;
        default:
            break;
    }
    CanvasWidget::keyPressEvent(event);
}

}  // namespace trellicap
