// Placing a bitmap at a position in twips on any paint device (printer, PDF), at the physical
// size its own resolution gives it, so the page has the same layout whatever the device's
// resolution and the bitmap's.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRectF>

class QPainter;

namespace trellicap {

inline constexpr double kTwipsPerInch = 1440.0;
// The rectangle, in device units at `dpi`, that an image of `pixels` at `imageDpi` covers at
// `twips`.
[[nodiscard]] QRectF deviceRect(QPoint twips, QSize pixels, double imageDpi, double dpiX,
                                double dpiY);

// The resolution a report composes its canvases at for a page of `deviceDpi`: the screen's
// 96 dpi for a 96-dpi page, else the device's resolution within 300 to 600 dpi.
[[nodiscard]] double composeDpi(double deviceDpi);

// Draws the image into deviceRect at the painter's device resolution, without smoothing so
// that one-pixel lines stay sharp.
void placeImage(QPainter& painter, QPoint twips, const QImage& image);

}  // namespace trellicap
