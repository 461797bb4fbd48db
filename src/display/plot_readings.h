// What the plot's cursors and gates read off a trace: the sound path and amplitude under a
// cursor, the dB between two echoes, the highest echo inside each gate marker, and the texts
// that show them under the plot.
#pragma once

#include <QLineF>
#include <QString>
#include <array>
#include <optional>
#include <span>

#include "display/path_span.h"
#include "profiles/model_profile.h"

namespace trellicap {

// One sample as a reading: its index, its stored value (percent of screen height) and path.
struct TraceReading {
    int sample = 0;
    int amplitude = 0;
    double path = 0;
    friend bool operator==(const TraceReading&, const TraceReading&) = default;
};

// The sample's reading; `span` gives the path (its whole range, whatever is shown).
[[nodiscard]] TraceReading readSample(std::span<const RecordValue> trace, const PathSpan& span,
                                      int sample);

// 20 log10(a / b); nullopt where either amplitude is 0 or below (no ratio in dB).
[[nodiscard]] std::optional<double> decibelsBetween(int a, int b);

// "A 42.0 mm 63 %   B 80.0 mm 20 %   Δ 38.0 mm 10.0 dB"; the parts of the cursors that are
// set (empty with none); Δ needs both, and reads "—" for the dB without a ratio.
[[nodiscard]] QString cursorReadout(const std::optional<TraceReading>& a,
                                    const std::optional<TraceReading>& b);

// The highest of samples 0..249 whose drawn x (i + 1) lies within the gate's span, ends
// included, the first of equal ones; nullopt for a gate not drawn or with no sample inside.
[[nodiscard]] std::optional<TraceReading> gatePeak(const std::optional<QLineF>& gate,
                                                   std::span<const RecordValue> trace,
                                                   const PathSpan& span);

// "Gate 1 peak 63 % at 42.0 mm   Gate 2 peak 20 % at 80.0 mm", for the gates that have one.
[[nodiscard]] QString gatePeakText(const std::array<std::optional<TraceReading>, 2>& peaks);

// A path as the readouts show it: one decimal, a point whatever the user's locale.
[[nodiscard]] QString pathText(double path);

}  // namespace trellicap
