// A trace to compare against, whatever it came from (a slot of the memory table, a slot of a
// record file, an archived record): its 250 samples, the RANGE, DELAY and gain it was taken
// with, and the name its legend gives it. Drawn behind the shown trace, on the shown path.
#pragma once

#include <QLineF>
#include <QString>
#include <array>
#include <functional>
#include <span>
#include <vector>

#include "display/path_span.h"
#include "profiles/model_profile.h"

namespace trellicap {

struct ReferenceTrace {
    QString name;  // "Mem 12", "shift.dat Mem 3"
    std::array<RecordValue, kTraceSamples> samples{};
    QString range;
    QString delay;
    QString gain;
};

// The reference a whole record gives (a memory-table column or a record-file slot): its
// samples and the texts its settings panel would show.
[[nodiscard]] ReferenceTrace referenceFromRecord(const ModelProfile& profile, const QString& name,
                                                 std::span<const RecordValue> record);

// Why the reference cannot stand on the shown path axis; empty when it can.
[[nodiscard]] QString referenceMismatch(const ReferenceTrace& reference, const PathSpan& shown);

// The reference's polyline on the view: sample j at the view x of its own path
// (its DELAY + RANGE * j / 250), y as the trace's; empty when it cannot be mapped.
[[nodiscard]] std::vector<QPointF> referencePoints(const ReferenceTrace& reference,
                                                   const PathSpan& shown);

// "Ref Mem 12: RANGE 200, DELAY 0.0, Gain 40.0dB (shown trace +6.0 dB)", or with the reason it
// is not drawn.
[[nodiscard]] QString referenceLegend(const ReferenceTrace& reference, const PathSpan& shown,
                                      const QString& shownGain);
// The difference part of the legend: "(shown trace +6.0 dB)", or why it is not drawn.
[[nodiscard]] QString referenceDifference(const ReferenceTrace& reference, const PathSpan& shown,
                                          const QString& shownGain);
// The legend as long as `fits` allows: a long name is cut short first, then RANGE and DELAY
// go; the difference in dB always stays.
[[nodiscard]] QString fitLegend(const ReferenceTrace& reference, const PathSpan& shown,
                                const QString& shownGain,
                                const std::function<bool(const QString&)>& fits);

}  // namespace trellicap
