#include "shell/main/plot_area.h"

#include <QFrame>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "display/canvas.h"
#include "display/ui/plot_widget.h"

namespace trellicap {

PlotArea::PlotArea(Canvas& plot, QWidget* parent)
    : QWidget(parent),
      m_designSize(plot.sizePixels()),
      m_border(new QFrame(this)),
      m_picascan(new PlotWidget(plot, m_border)) {
    m_border->setObjectName(QStringLiteral("fraascan"));
    m_border->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    m_picascan->setObjectName(QStringLiteral("picascan"));
    m_picascan->setAccessibleName(tr("A-scan plot"));
    // Given more room, the plot shows the same data larger with lines and labels at their
    // screen size, as desktop plotting programs do.
    m_picascan->setMarks(CanvasWidget::Marks::KeepScreenSize);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PlotArea::resizeEvent(QResizeEvent* event) {
    // The largest border of the canvas's aspect ratio that fits, at the top-left.
    const QSize room = event->size();
    const double zoom = std::max(1.0, std::min(room.width() / double(m_designSize.width()),
                                               room.height() / double(m_designSize.height())));
    const QSize outer(static_cast<int>(std::floor(m_designSize.width() * zoom)),
                      static_cast<int>(std::floor(m_designSize.height() * zoom)));
    m_border->setGeometry(QRect(QPoint(0, 0), outer));
    m_picascan->setGeometry(m_border->contentsRect());
    m_picascan->setZoom(zoom);
    QWidget::resizeEvent(event);
}

}  // namespace trellicap
