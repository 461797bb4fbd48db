// The A-scan plot area: the canvas in its single sunken border, 5205 x 4665 twips outside
// (347 x 311 pixels at 96 dpi) at the window's first size. Given more room it grows,
// keeping the canvas's aspect ratio, and spreads the same drawing over the larger area with
// lines, dots and labels at their screen size; the picture shows inside the border from its
// own top-left corner.
#pragma once

#include <QWidget>

class QFrame;

namespace trellicap {

class Canvas;
class PlotWidget;

class PlotArea : public QWidget {
    Q_OBJECT
public:
    PlotArea(Canvas& plot, QWidget* parent);

    [[nodiscard]] PlotWidget* plotWidget() const { return m_picascan; }
    [[nodiscard]] QSize sizeHint() const override { return m_designSize; }
    [[nodiscard]] QSize minimumSizeHint() const override { return m_designSize; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize m_designSize;  // the canvas's outer size at 96 dpi
    QFrame* m_border;
    PlotWidget* m_picascan;
};

}  // namespace trellicap
