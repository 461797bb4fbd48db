// The stretch of the sound path a plot shows between its first and last vertical grid lines
// (x = 1 and x = 251): the record's whole RANGE from DELAY at rest, a part of it when zoomed.
// It maps the plot's x positions (the trace draws sample i at x = i + 1) to the view and to
// the path, and gives the axis labels for the stretch shown by the same rules as at rest.
#pragma once

#include <optional>
#include <vector>

#include "display/plot_geometry.h"

namespace trellicap {

class PathSpan {
public:
    PathSpan() = default;
    // The whole range of a record: DELAY to DELAY + RANGE.
    PathSpan(double delay, double range);

    [[nodiscard]] double delay() const { return m_delay; }
    [[nodiscard]] double range() const { return m_range; }
    [[nodiscard]] double start() const { return m_start; }
    [[nodiscard]] double length() const { return m_length; }
    // A part of the range is shown. A record whose RANGE reads 0 has no path axis to zoom.
    [[nodiscard]] bool zoomed() const { return m_length < m_range; }
    [[nodiscard]] bool canZoom() const { return m_range > 0; }

    // The path at a view position, and the view position of a path.
    [[nodiscard]] double pathAt(double viewX) const;
    [[nodiscard]] double viewXOfPath(double path) const;
    // The view position of a plot position as drawn at rest (a sample's x, a gate's end).
    [[nodiscard]] double viewX(double plotX) const;
    [[nodiscard]] double plotX(double viewX) const;
    // The path of sample i: DELAY + RANGE * i / 250.
    [[nodiscard]] double samplePath(int sample) const;
    // The sample drawn nearest to a view position (0..249).
    [[nodiscard]] int sampleAt(double viewX) const;
    // The sample whose path is nearest to `path`; none outside the record's range (or without
    // one).
    [[nodiscard]] std::optional<int> sampleOfPath(double path) const;

    // Zoom by `factor` (> 1 in, < 1 out) keeping the path under viewX where it is, to within
    // a label step: lengths of 5 or more are kept to round values (5, 10, 15, 20, 25, 30,
    // 40, 50, 60, 75, 100, ...) and the start to a whole label step, so the labels read round
    // numbers. A step always changes the length until its bounds (10 samples, the whole
    // range).
    [[nodiscard]] PathSpan zoomedAround(double viewX, double factor) const;
    // The view dragged by viewDx plot units: the path follows the pointer (the start in
    // whole path units while the length is 5 or more).
    [[nodiscard]] PathSpan pannedBy(double viewDx) const;
    [[nodiscard]] PathSpan whole() const { return PathSpan(m_delay, m_range); }

    // Axis labels for the stretch shown (at rest, exactly the record's labels).
    [[nodiscard]] std::vector<AxisLabel> labels() const;

    friend bool operator==(const PathSpan&, const PathSpan&) = default;

private:
    // The span of that length and start, within the range; the start rounded to a multiple
    // of `snap` where the length is round.
    [[nodiscard]] PathSpan with(double start, double length, double snap) const;

    double m_delay = 0;
    double m_range = 0;
    double m_start = 0;
    double m_length = 0;
};

}  // namespace trellicap
