#include "display/plot_readings.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace trellicap {

namespace {

const QString kGap = QStringLiteral("   ");
const QString kNoRatio = QStringLiteral("\u2014");

QString cursorPart(const QString& name, const TraceReading& reading) {
    return QStringLiteral("%1 %2 mm %3 %").arg(name, pathText(reading.path)).arg(reading.amplitude);
}

}  // namespace

QString pathText(double path) {
    // + 0.0 turns a negative zero into the zero a reader expects.
    return QString::number(path + 0.0, 'f', 1);
}

TraceReading readSample(std::span<const RecordValue> trace, const PathSpan& span, int sample) {
    const int last = static_cast<int>(std::min<std::size_t>(trace.size(), kTraceSamples)) - 1;
    const int i = std::clamp(sample, 0, std::max(0, last));
    const int amplitude = last >= 0 ? trace[static_cast<std::size_t>(i)] : 0;
    return {i, amplitude, span.samplePath(i)};
}

std::optional<double> decibelsBetween(int a, int b) {
    if (a <= 0 || b <= 0) {
        return std::nullopt;
    }
    return 20 * std::log10(double(a) / double(b));
}

QString cursorReadout(const std::optional<TraceReading>& a, const std::optional<TraceReading>& b) {
    QStringList parts;
    if (a) {
        parts << cursorPart(QStringLiteral("A"), *a);
    }
    if (b) {
        parts << cursorPart(QStringLiteral("B"), *b);
    }
    if (a && b) {
        const auto db = decibelsBetween(a->amplitude, b->amplitude);
        parts << QStringLiteral("\u0394 %1 mm %2 dB")
                     .arg(pathText(b->path - a->path),
                          db ? QString::number(*db + 0.0, 'f', 1) : kNoRatio);
    }
    return parts.join(kGap);
}

std::optional<TraceReading> gatePeak(const std::optional<QLineF>& gate,
                                     std::span<const RecordValue> trace, const PathSpan& span) {
    if (!gate) {
        return std::nullopt;
    }
    const double from = std::min(gate->x1(), gate->x2());
    const double to = std::max(gate->x1(), gate->x2());
    const int samples = static_cast<int>(std::min<std::size_t>(trace.size(), kTraceSamples));
    std::optional<TraceReading> peak;
    for (int i = 0; i < samples; ++i) {
        const double x = i + 1;
        const int amplitude = trace[static_cast<std::size_t>(i)];
        if (x >= from && x <= to && (!peak || amplitude > peak->amplitude)) {
            peak = TraceReading{i, amplitude, span.samplePath(i)};
        }
    }
    return peak;
}

QString gatePeakText(const std::array<std::optional<TraceReading>, 2>& peaks) {
    QStringList parts;
    for (std::size_t g = 0; g < peaks.size(); ++g) {
        if (peaks[g]) {
            parts << QStringLiteral("Gate %1 peak %2 % at %3 mm")
                         .arg(g + 1)
                         .arg(peaks[g]->amplitude)
                         .arg(pathText(peaks[g]->path));
        }
    }
    return parts.join(kGap);
}

}  // namespace trellicap
