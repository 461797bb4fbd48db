#include "display/path_span.h"

#include <algorithm>
#include <cmath>

namespace trellicap {

namespace {

constexpr int kFewestSamplesShown = 10;
constexpr double kRoundLength = 5;  // labels come out round when the length is a multiple

double roundLength(double length) {
    return length >= kRoundLength ? std::round(length / kRoundLength) * kRoundLength : length;
}

}  // namespace

PathSpan::PathSpan(double delay, double range)
    : m_delay(delay), m_range(std::max(0.0, range)), m_start(delay), m_length(m_range) {}

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

double PathSpan::samplePath(int sample) const {
    return m_delay + m_range * sample / kGridSpanX;
}

int PathSpan::sampleAt(double viewX) const {
    const double sample = std::round(plotX(viewX) - kGridFirstX);
    return static_cast<int>(std::clamp(sample, 0.0, double(kTraceSamples - 1)));
}

PathSpan PathSpan::with(double start, double length) const {
    PathSpan span = *this;
    span.m_length = std::clamp(length, m_range * kFewestSamplesShown / kGridSpanX, m_range);
    if (span.m_length >= kRoundLength && span.m_length < m_range) {
        start = std::round(start);
    }
    span.m_start = std::clamp(start, m_delay, m_delay + m_range - span.m_length);
    return span;
}

PathSpan PathSpan::zoomedAround(double viewX, double factor) const {
    if (!canZoom() || factor <= 0 || factor == 1) {
        return *this;
    }
    double length = roundLength(m_length / factor);
    // Rounding must not undo the step: go on to the next round length instead.
    if (factor > 1 && length >= m_length) {
        length = m_length - kRoundLength >= kRoundLength ? m_length - kRoundLength
                                                          : m_length / factor;
    } else if (factor < 1 && length <= m_length) {
        length = m_length >= kRoundLength ? m_length + kRoundLength : m_length / factor;
    }
    const double anchor = pathAt(viewX);
    return with(anchor - length * (viewX - kGridFirstX) / kGridSpanX, length);
}

PathSpan PathSpan::pannedBy(double viewDx) const {
    if (!canZoom()) {
        return *this;
    }
    return with(m_start - viewDx * m_length / kGridSpanX, m_length);
}

std::vector<AxisLabel> PathSpan::labels() const {
    return axisLabels(m_length, m_start);
}

}  // namespace trellicap
