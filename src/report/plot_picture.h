// The A-scan plot as a picture file: PNG pixels or SVG lines and text, drawn afresh from the
// plot canvas at the scale asked for rather than enlarged from the screen's pixels.
#pragma once

#include <QByteArray>
#include <optional>

#include "display/canvas.h"

namespace trellicap {

// Scale 1 draws at 96 dpi, the window's plot at its design size; scale 2 at 192 dpi.
[[nodiscard]] std::optional<QByteArray> plotPng(const Canvas& plot, double scale);
[[nodiscard]] QByteArray plotSvg(const Canvas& plot, double scale);

}  // namespace trellicap
