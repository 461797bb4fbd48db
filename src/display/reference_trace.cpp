#include "display/reference_trace.h"

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

QString referenceLegend(const ReferenceTrace& reference, const PathSpan& shown,
                        const QString& shownGain) {
    QString legend = QStringLiteral("Ref %1: RANGE %2, DELAY %3, Gain %4")
                         .arg(reference.name, reference.range, reference.delay, reference.gain);
    const QString mismatch = referenceMismatch(reference, shown);
    if (!mismatch.isEmpty()) {
        return legend + QStringLiteral(" (") + mismatch + QLatin1Char(')');
    }
    const double difference = leadingNumber(shownGain) - leadingNumber(reference.gain);
    return legend +
           QStringLiteral(" (shown trace %1%2 dB)")
               .arg(difference >= 0 ? QStringLiteral("+") : QString(), pathText(difference));
}

}  // namespace trellicap
