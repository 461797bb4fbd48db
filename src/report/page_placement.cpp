#include "report/page_placement.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "display/canvas.h"

namespace trellicap {

QRectF deviceRect(QPoint twips, QSize pixels, double imageDpi, double dpiX, double dpiY) {
    return QRectF(twips.x() * dpiX / kTwipsPerInch, twips.y() * dpiY / kTwipsPerInch,
                  pixels.width() * dpiX / imageDpi, pixels.height() * dpiY / imageDpi);
}

double composeDpi(double deviceDpi) {
    if (deviceDpi <= kScreenDpi) {
        return kScreenDpi;
    }
    return std::clamp(deviceDpi, 300.0, 600.0);
}

void placeImage(QPainter& painter, QPoint twips, const QImage& image) {
    const QPaintDevice* device = painter.device();
    const QRectF target = deviceRect(twips, image.size(), imageDpi(image), device->logicalDpiX(),
                                     device->logicalDpiY());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Qt's PDF engine would store the page's bitmaps as JPEG, with halos round every letter.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(target, image);
}

}  // namespace trellicap
