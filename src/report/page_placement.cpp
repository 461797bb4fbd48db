#include "report/page_placement.h"

#include <QPaintDevice>
#include <QPainter>

namespace trellicap {

QRectF deviceRect(QPoint twips, QSize pixels, double dpiX, double dpiY) {
    return QRectF(twips.x() * dpiX / kTwipsPerInch, twips.y() * dpiY / kTwipsPerInch,
                  pixels.width() * dpiX / kImageDpi, pixels.height() * dpiY / kImageDpi);
}

void placeImage(QPainter& painter, QPoint twips, const QImage& image) {
    const QPaintDevice* device = painter.device();
    const QRectF target =
        deviceRect(twips, image.size(), device->logicalDpiX(), device->logicalDpiY());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, image);
}

}  // namespace trellicap
