#include "inspection/dac_curve.h"

#include <algorithm>

namespace trellicap::inspection {

std::optional<double> dacAmplitudeAt(const DacPoints& points, double x) {
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const auto [x1, y1] = points[k];
        const auto [x2, y2] = points[k + 1];
        if (x < std::min(x1, x2) || x > std::max(x1, x2)) {
            continue;
        }
        if (x1 == x2) {
            return std::max(y1, y2);
        }
        return y1 + (y2 - y1) * (x - x1) / (x2 - x1);
    }
    return std::nullopt;
}

}  // namespace trellicap::inspection
