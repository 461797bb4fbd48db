// Where the A-scan plot puts things, in points on the plot canvas: pure functions of the
// record and the panel texts, so every coordinate can be checked exactly.
#pragma once

#include <QLineF>
#include <QPointF>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap {

inline constexpr int kTraceSamples = 250;  // samples 0..249 are drawn (250 is stored only)
inline constexpr double kBaselineY = 210;
inline constexpr double kScreenTopY = 10;
inline constexpr double kBaselineEndX = 252;
inline constexpr double kLabelY = 215;
inline constexpr double kGridFirstX = 1;   // the vertical grid line that stands for DELAY
inline constexpr double kGridStepX = 25;   // one horizontal division
inline constexpr double kGridSpanX = 250;  // ten divisions: the x span that RANGE covers

// y of an amplitude in percent of screen height.
[[nodiscard]] constexpr int amplitudeY(int amplitude) {
    return 210 - 2 * amplitude;
}

// The trace polyline: (0, 210), then (i + 1, y of sample i) for i = 0..249, clipped at the
// top of the screen (y = 10) and never at the bottom.
[[nodiscard]] std::vector<QPointF> tracePoints(std::span<const RecordValue> capture);

// Graticule and tick-mark dots in drawing order: the horizontal dotted lines, the vertical
// dotted lines row by row, then the three rows of tick marks under the baseline.
[[nodiscard]] std::vector<QPointF> graticuleDots();

// A gate marker from START to START + END at LEVEL, all percentages; nullopt while the
// gate is off. Gate 1 is also off while it serves the DAC ("DAC -12", "DAC -6 ").
[[nodiscard]] std::optional<QLineF> gateSegment(const QString& gate, const QString& start,
                                                const QString& end, const QString& level,
                                                bool gate1);

// The DAC curve segments between the record's DAC points, in drawing order. "ON     "
// gives the curve alone; the profile's three-curve text adds the -6 dB curve and the
// profile's third curve for each segment. A point below 5 % ends the curves.
[[nodiscard]] std::vector<QLineF> dacSegments(const ModelProfile& profile, const QString& dacText,
                                              std::span<const RecordValue> capture);

// The mark a graticule dot belongs to, for views larger than the canvas: a dot under the
// baseline is part of a tick mark, which hangs from the baseline at its own size; other dots
// stand alone (nullopt).
[[nodiscard]] std::optional<QPointF> tickAnchor(QPointF dot);

struct AxisLabel {
    QPointF topLeft;
    QString text;
    friend bool operator==(const AxisLabel&, const AxisLabel&) = default;
};

// Distance labels under the horizontal axis from the RANGE and DELAY texts. Values that do
// not fit 16-bit integers fall back to two labels: delay at x = 0, delay + range at x = 229.
[[nodiscard]] std::vector<AxisLabel> axisLabels(const QString& rangeText, const QString& delayText);
// The same labels from the two numbers themselves (a zoomed view's span).
[[nodiscard]] std::vector<AxisLabel> axisLabels(double range, double delay);

// The point a label stands by: the first vertical grid line at or right of its left edge, on
// the baseline. In a larger view the label keeps its distance from there at screen size.
[[nodiscard]] QPointF labelAnchor(const AxisLabel& label);

}  // namespace trellicap
