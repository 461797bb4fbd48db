// The record's own DAC curve read at an echo's place: the stored points joined by straight
// lines as the plot draws them, in the plot's units (x as stored, amplitudes in percent).
#pragma once

#include <optional>
#include <utility>
#include <vector>

namespace trellicap::inspection {

// (x, amplitude %) in the order the instrument stored them.
using DacPoints = std::vector<std::pair<int, int>>;

// The curve's amplitude at x: on the first segment whose ends enclose x (ends included),
// straight between its points; a segment standing upright at x gives its higher end. nullopt
// with fewer than two points (no line is drawn) or where no segment reaches x.
[[nodiscard]] std::optional<double> dacAmplitudeAt(const DacPoints& points, double x);

}  // namespace trellicap::inspection
