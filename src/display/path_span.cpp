#include "display/path_span.h"

#include <algorithm>
#include <cmath>

namespace trellicap {

namespace {

constexpr int kFewestSamplesShown = 10;
// Lengths of the view in path units whose fifth (the label step) is a round whole number,
// {1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 8} x 10^k: zoomed labels read 0, 15, 30, ... not 13, 26.
// (Tenths, so that whole steps are found in whole numbers.)
constexpr long long kRoundStepTenths[] = {10, 12, 15, 20, 25, 30, 40, 50, 60, 80};
constexpr double kShortestRound = 5;

// The round length nearest to `length` (by ratio), or the one next to it in `direction`
// (-1 shorter, +1 longer) when the nearest would not move away from `from`.
double roundLength(double length, double from, int direction) {
    if (length < kShortestRound) {
        return length;
    }
    std::vector<double> round;
    const double longest = std::max(length, from) * 10;
    constexpr long long kLargestDecade = 1'000'000'000'000'000;  // far past any 16-bit RANGE
    for (long long decade = 1;
         double(decade) * kShortestRound <= longest && decade <= kLargestDecade; decade *= 10) {
        for (const long long tenths : kRoundStepTenths) {
            if (tenths * decade % 10 == 0) {
                round.push_back(kShortestRound * double(tenths * decade / 10));
            }
        }
    }
    const auto nearest = std::min_element(round.begin(), round.end(), [length](double a, double b) {
        return std::abs(std::log(a / length)) < std::abs(std::log(b / length));
    });
    if (direction < 0 && *nearest >= from) {
        const auto shorter =
            std::find_if(round.rbegin(), round.rend(), [from](double r) { return r < from; });
        return shorter != round.rend() ? *shorter : length;
    }
    if (direction > 0 && *nearest <= from) {
        const auto longer =
            std::find_if(round.begin(), round.end(), [from](double r) { return r > from; });
        return longer != round.end() ? *longer : length;
    }
    return *nearest;
}

}  // namespace

// A RANGE or DELAY text of endless digits reads as infinity: no path axis to speak of.
PathSpan::PathSpan(double delay, double range)
    : m_delay(std::isfinite(delay) ? delay : 0),
      m_range(std::isfinite(range) && range > 0 ? range : 0),
      m_start(m_delay),
      m_length(m_range) {}

double PathSpan::pathAt(double viewX) const {
    return m_start + m_length * (viewX - kGridFirstX) / kGridSpanX;
}

double PathSpan::viewXOfPath(double path) const {
    return kGridFirstX + kGridSpanX * (path - m_start) / m_length;
}

double PathSpan::viewX(double plotX) const {
    if (!canZoom()) {
        return plotX;
    }
    return viewXOfPath(m_delay + m_range * (plotX - kGridFirstX) / kGridSpanX);
}

double PathSpan::plotX(double viewX) const {
    if (!canZoom()) {
        return viewX;
    }
    return kGridFirstX + kGridSpanX * (pathAt(viewX) - m_delay) / m_range;
}

std::optional<int> PathSpan::sampleOfPath(double path) const {
    if (m_range <= 0) {
        return std::nullopt;
    }
    const long sample = std::lround((path - m_delay) * kGridSpanX / m_range);
    if (sample < 0 || sample >= kTraceSamples) {
        return std::nullopt;
    }
    return static_cast<int>(sample);
}

double PathSpan::samplePath(int sample) const {
    return m_delay + m_range * sample / kGridSpanX;
}

int PathSpan::sampleAt(double viewX) const {
    const double sample = std::round(plotX(viewX) - kGridFirstX);
    return static_cast<int>(std::clamp(sample, 0.0, double(kTraceSamples - 1)));
}

PathSpan PathSpan::with(double start, double length, double snap) const {
    PathSpan span = *this;
    span.m_length = std::clamp(length, m_range * kFewestSamplesShown / kGridSpanX, m_range);
    if (span.m_length >= kShortestRound && span.m_length < m_range) {
        start = std::round(start / snap) * snap;
    }
    span.m_start = std::clamp(start, m_delay, m_delay + m_range - span.m_length);
    return span;
}

PathSpan PathSpan::zoomedAround(double viewX, double factor) const {
    if (!canZoom() || factor <= 0 || factor == 1) {
        return *this;
    }
    // Rounding must not undo the step: it goes on to the next round length instead.
    const double length = roundLength(m_length / factor, m_length, factor > 1 ? -1 : 1);
    const double anchor = pathAt(viewX);
    // The start on a whole label step, so every label is a round value.
    return with(anchor - length * (viewX - kGridFirstX) / kGridSpanX, length,
                std::max(1.0, std::round(length / 5)));
}

PathSpan PathSpan::pannedBy(double viewDx) const {
    if (!canZoom()) {
        return *this;
    }
    // Whole path units: the labels stay whole numbers while the view follows the pointer.
    return with(m_start - viewDx * m_length / kGridSpanX, m_length, 1);
}

std::vector<AxisLabel> PathSpan::labels() const {
    return axisLabels(m_length, m_start);
}

}  // namespace trellicap
