// The A-scan plot on screen: the record's canvas at rest, and the PlotView's layers once the
// user reads it with cursors, zooms along the path or compares with a reference. Mouse and
// keys become PlotView calls; nothing here computes a position or a reading.
//
// Mouse: click sets cursor A, the next click (or Shift+click) B, a later click moves the
// nearer one; a cursor can be dragged; double-click clears them. Wheel zooms around the
// pointer; middle-button drag or Ctrl+drag pans. Keys (with focus): + and - zoom, 0 shows the
// whole range, Esc clears the cursors, Left/Right move the last cursor one sample (ten with
// Shift).
#pragma once

#include <optional>

#include "display/plot_view.h"
#include "display/ui/canvas_widget.h"

namespace trellicap {

class PlotWidget : public CanvasWidget {
    Q_OBJECT
public:
    explicit PlotWidget(Canvas& rest, QWidget* parent = nullptr);

    [[nodiscard]] const PlotView& view() const { return m_view; }
    // Every change of the view goes through here so the widget repaints and tells readers.
    void showRecord(const ModelProfile& profile, std::span<const RecordValue> capture,
                    const PlotTexts& texts);
    void clearRecord();
    void setReference(const ReferenceTrace& reference);
    void clearReference();
    void clearCursors();
    void showAll();
    void zoomAround(double viewX, double factor);

    // The plot x (points, as on the canvas) under a widget position.
    [[nodiscard]] double viewXAt(QPointF widgetPos) const;
    // The widget x of a plot x.
    [[nodiscard]] double widgetXOf(double viewX) const;

signals:
    // Cursors, span, record or reference changed: the readouts below the plot follow.
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { None, Cursor, Pan };
    void changed();

    PlotView m_view;
    Canvas m_base;
    Canvas m_cursors;
    QImage m_baseImage;
    quint64 m_baseImageRevision = ~quint64{0};
    RenderScale m_baseImageScale{0, 0};

    Drag m_drag = Drag::None;
    PlotView::Cursor m_dragCursor = PlotView::Cursor::A;
    double m_pressViewX = 0;
    PathSpan m_pressSpan;
};

}  // namespace trellicap
