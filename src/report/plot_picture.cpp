#include "report/plot_picture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

namespace trellicap {

std::optional<QByteArray> plotPng(const Canvas& plot, double scale) {
    const QImage image = plot.image(kScreenDpi * scale);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return buffer.data();
}

// Drawn into memory first: the generator cannot tell whether its device took the bytes.
QByteArray plotSvg(const Canvas& plot, double scale) {
    const QSize size = plot.sizePixels(kScreenDpi * scale);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(static_cast<int>(kScreenDpi));  // so the canvas's fonts keep their size
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("A-scan"));
    QPainter painter(&svg);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    plot.render(painter, scale);
    painter.end();
    return buffer.data();
}

}  // namespace trellicap
