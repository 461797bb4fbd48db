// Paints a Canvas's retained image: repaints cost one image blit, nothing is redrawn.
// Whoever draws on the canvas calls update() afterwards.
#pragma once

#include <QWidget>

#include "display/canvas.h"

namespace trellicap {

class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    explicit CanvasWidget(Canvas& canvas, QWidget* parent = nullptr);

    [[nodiscard]] Canvas& canvas() { return m_canvas; }
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Canvas& m_canvas;
};

}  // namespace trellicap
