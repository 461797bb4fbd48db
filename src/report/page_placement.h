// Placing a 96-dpi bitmap at a position in twips on any paint device (printer, PDF), so the
// page has the same physical layout whatever the device's resolution.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRectF>

class QPainter;

namespace trellicap {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kImageDpi = 96.0;

// The rectangle, in device units at `dpi`, that an image of `pixels` covers at `twips`.
[[nodiscard]] QRectF deviceRect(QPoint twips, QSize pixels, double dpiX, double dpiY);

// Draws the image into deviceRect at the painter's device resolution, without smoothing so
// that one-pixel lines stay sharp.
void placeImage(QPainter& painter, QPoint twips, const QImage& image);

}  // namespace trellicap
