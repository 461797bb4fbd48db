#include "display/reference_trace.h"

#include <functional>

#include <algorithm>

#include "display/panel_texts.h"
#include "display/plot_readings.h"
#include "display/plot_texts.h"
#include "record/numbers.h"

namespace trellicap {

ReferenceTrace referenceFromRecord(const ModelProfile& profile, const QString& name,
                                   std::span<const RecordValue> record) {
    ReferenceTrace reference;
    reference.name = name;
    std::copy_n(record.begin(), std::min<std::size_t>(record.size(), kTraceSamples),
                reference.samples.begin());
    const PlotTexts texts = plotTexts(profile, buildPanelTexts(profile, record));
    reference.range = texts.range.trimmed();
    reference.delay = texts.delay.trimmed();
    reference.gain = texts.gain.trimmed();
    return reference;
}

QString referenceMismatch(const ReferenceTrace& reference, const PathSpan& shown) {
    if (!shown.canZoom()) {
        return QStringLiteral("not drawn: the shown record has no RANGE");
    }
    if (leadingNumber(reference.range) <= 0) {
        return QStringLiteral("not drawn: its RANGE reads 0");
    }
    return {};
}

std::vector<QPointF> referencePoints(const ReferenceTrace& reference, const PathSpan& shown) {
    std::vector<QPointF> points;
    if (!referenceMismatch(reference, shown).isEmpty()) {
        return points;
    }
    const PathSpan own(leadingNumber(reference.delay), leadingNumber(reference.range));
    points.reserve(kTraceSamples);
    for (int j = 0; j < kTraceSamples; ++j) {
        const int y = std::max(amplitudeY(reference.samples[static_cast<std::size_t>(j)]),
                               static_cast<int>(kScreenTopY));
        points.emplace_back(shown.viewXOfPath(own.samplePath(j)), y);
    }
    return points;
}

QString referenceDifference(const ReferenceTrace& reference, const PathSpan& shown,
                            const QString& shownGain) {
    const QString mismatch = referenceMismatch(reference, shown);
    if (!mismatch.isEmpty()) {
        return QStringLiteral("(") + mismatch + QLatin1Char(')');
    }
    const double difference = leadingNumber(shownGain) - leadingNumber(reference.gain);
    return QStringLiteral("(shown trace %1%2 dB)")
        .arg(difference >= 0 ? QStringLiteral("+") : QString(), pathText(difference));
}

QString referenceLegend(const ReferenceTrace& reference, const PathSpan& shown,
                        const QString& shownGain) {
    return QStringLiteral("Ref %1: RANGE %2, DELAY %3, Gain %4 %5")
        .arg(reference.name, reference.range, reference.delay, reference.gain,
             referenceDifference(reference, shown, shownGain));
}

QString fitLegend(const ReferenceTrace& reference, const PathSpan& shown, const QString& shownGain,
                  const std::function<bool(const QString&)>& fits) {
    QString legend = referenceLegend(reference, shown, shownGain);
    // The name gives way first, letter by letter, down to a few letters.
    constexpr qsizetype kShortestName = 4;
    ReferenceTrace shorter = reference;
    for (qsizetype length = reference.name.size() - 1; !fits(legend) && length >= kShortestName;
         --length) {
        shorter.name = reference.name.left(length).trimmed() + QChar(0x2026);
        legend = referenceLegend(shorter, shown, shownGain);
    }
    if (fits(legend)) {
        return legend;
    }
    // Then RANGE and DELAY; what stays is the gain and its difference.
    const QString difference = referenceDifference(reference, shown, shownGain);
    legend = QStringLiteral("Ref %1: Gain %2 %3").arg(shorter.name, reference.gain, difference);
    return fits(legend) ? legend : QStringLiteral("Ref ") + difference;
}

}  // namespace trellicap
