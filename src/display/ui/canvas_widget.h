// Shows a Canvas at a zoom, sharp at the screen's device pixel ratio: the drawing is rendered
// at device resolution (not a 96-dpi bitmap scaled up) and kept until the canvas or the size
// changes, so repaints cost one blit. Whoever draws on the canvas calls update() afterwards.
#pragma once

#include <QImage>
#include <QWidget>

#include "display/canvas.h"

namespace trellicap {

class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    explicit CanvasWidget(Canvas& canvas, QWidget* parent = nullptr);

    [[nodiscard]] Canvas& canvas() { return m_canvas; }
    [[nodiscard]] QSize sizeHint() const override;
    // One 96-dpi pixel of the canvas is `zoom` pixels of the widget; 1 by default.
    void setZoom(double zoom);
    [[nodiscard]] double zoom() const { return m_zoom; }
    // Whether lines, dots and letters grow with the zoom (a larger picture, the default) or
    // keep their screen size while only the positions spread out (a larger view).
    enum class Marks { GrowWithZoom, KeepScreenSize };
    void setMarks(Marks marks);
    [[nodiscard]] Marks marks() const { return m_marks; }
    // The scales the widget renders at on a device of this pixel ratio.
    [[nodiscard]] RenderScale renderScale(double devicePixelRatio) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Canvas& m_canvas;
    double m_zoom = 1.0;
    Marks m_marks = Marks::GrowWithZoom;
    QImage m_rendered;
    quint64 m_renderedRevision = ~quint64{0};
    RenderScale m_renderedScale{0, 0};
};

}  // namespace trellicap
