#include "display/plot_geometry.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "record/numbers.h"
#include "record/text_codes.h"

namespace trellicap {

namespace {

// Gate and DAC texts are compared as the exact seven characters the instrument sends.
constexpr std::u16string_view kGateOff = u"OFF    ";
constexpr std::u16string_view kGateDac12 = u"DAC -12";
constexpr std::u16string_view kGateDac6 = u"DAC -6 ";
constexpr std::u16string_view kDacOn = u"ON     ";

bool equals(const QString& text, std::u16string_view exact) {
    return QStringView(text) == QStringView(exact.data(), static_cast<qsizetype>(exact.size()));
}

bool equals(const QString& text, std::string_view exact) {
    return text == QLatin1String(exact.data(), static_cast<qsizetype>(exact.size()));
}

// Where one more label would not fit 16 bits, only the two ends of the axis are labelled.
std::vector<AxisLabel> endLabels(double delay, double range) {
    return {{{0, kLabelY}, labelText(delay)}, {{229, kLabelY}, labelText(delay + range)}};
}

}  // namespace

std::vector<QPointF> tracePoints(std::span<const RecordValue> capture) {
    const auto samples = std::min<std::size_t>(capture.size(), kTraceSamples);
    std::vector<QPointF> points;
    points.reserve(samples + 1);
    points.emplace_back(0, kBaselineY);
    for (std::size_t i = 0; i < samples; ++i) {
        // A loaded record file can hold any 16-bit value; int arithmetic keeps 2 × sample
        // exact where 16 bits would overflow.
        const int y = std::max(amplitudeY(capture[i]), static_cast<int>(kScreenTopY));
        points.emplace_back(static_cast<double>(i + 1), y);
    }
    return points;
}

std::vector<QPointF> graticuleDots() {
    std::vector<QPointF> dots;
    dots.reserve(600);
    for (int y = 10; y <= 209; y += 20) {
        for (int x = 1; x <= 249; x += 5) {
            dots.emplace_back(x, y);
        }
    }
    for (int y = 10; y <= 214; y += 5) {
        for (int x = 1; x <= 255; x += 25) {
            dots.emplace_back(x, y);
        }
    }
    for (int y = 211; y <= 213; ++y) {
        for (int x = 1; x <= 255; x += 25) {
            dots.emplace_back(x, y);
        }
    }
    return dots;
}

std::optional<QLineF> gateSegment(const QString& gate, const QString& start, const QString& end,
                                  const QString& level, bool gate1) {
    if (equals(gate, kGateOff)) {
        return std::nullopt;
    }
    if (gate1 && (equals(gate, kGateDac12) || equals(gate, kGateDac6))) {
        return std::nullopt;
    }
    const double x1 = leadingNumber(start) * 2.5;
    const double y = kBaselineY - 2 * leadingNumber(level);
    const double x2 = x1 + leadingNumber(end) * 2.5;
    return QLineF(x1, y, x2, y);
}

std::vector<QLineF> dacSegments(const ModelProfile& profile, const QString& dacText,
                                std::span<const RecordValue> capture) {
    const bool single = equals(dacText, kDacOn);
    const bool three = equals(dacText, profile.dacThreeCurveText);
    std::vector<QLineF> segments;
    if (!single && !three) {
        return segments;
    }
    for (int j = 0; j < profile.dacSegments; ++j) {
        const auto p = static_cast<std::size_t>(profile.dacPointFirst + 2 * j);
        if (p + 3 >= capture.size()) {
            break;
        }
        const double x1 = capture[p];
        const double x2 = capture[p + 2];
        const int a1 = capture[p + 1];
        const int a2 = capture[p + 3];
        const int y1 = amplitudeY(a1);
        const int y2 = amplitudeY(a2);
        if (y1 > 200 || y2 > 200) {
            break;
        }
        segments.emplace_back(x1, y1, x2, y2);
        if (three) {
            segments.emplace_back(x1, kBaselineY - a1, x2, kBaselineY - a2);
            const double divisor = profile.dacThirdCurveDivisor;
            segments.emplace_back(x1, kBaselineY - a1 / divisor, x2, kBaselineY - a2 / divisor);
        }
    }
    return segments;
}

std::optional<QPointF> tickAnchor(QPointF dot) {
    if (dot.y() > kBaselineY) {
        return QPointF(dot.x(), kBaselineY);
    }
    return std::nullopt;
}

QPointF labelAnchor(const AxisLabel& label) {
    const double x = std::max(0.0, std::ceil((label.topLeft.x() - kGridFirstX) / kGridStepX));
    return {kGridFirstX + x * kGridStepX, kBaselineY};
}

std::vector<AxisLabel> axisLabels(const QString& rangeText, const QString& delayText) {
    return axisLabels(leadingNumber(rangeText), leadingNumber(delayText));
}

std::vector<AxisLabel> axisLabels(double range, double delay) {
    if (range == 0) {
        return {};
    }
    if (delay > std::floor(delay)) {
        return endLabels(delay, range);
    }
    // Five equal steps need range / 5 and every label to be 16-bit integers.
    const auto fifth = roundToInt16(std::floor(range / 5));
    if (!fifth || !roundToInt16(5.0 * *fifth)) {
        return endLabels(delay, range);
    }
    if (range > 5.0 * *fifth) {
        return {{{0, kLabelY}, labelText(delay)}, {{232, kLabelY}, labelText(delay + range)}};
    }
    std::vector<AxisLabel> labels{{{0, kLabelY}, labelText(delay)}};
    constexpr double kLabelX[] = {41, 91, 141, 191, 239};
    const double step = range / 5;
    double value = delay;
    for (double x : kLabelX) {
        const auto rounded = roundToInt16(value + step);
        if (!rounded) {
            return endLabels(delay, range);
        }
        value = *rounded;
        labels.push_back({{x, kLabelY}, labelText(value)});
    }
    return labels;
}

}  // namespace trellicap
