// Drawing the A-scan plot on the plot canvas (unit: points): the trace over the dotted
// graticule. The overlays that depend on the panel texts are drawOverlays (overlays.h).
#pragma once

#include <QColor>
#include <span>

#include "display/canvas.h"
#include "display/plot_geometry.h"
#include "profiles/model_profile.h"

namespace trellicap {

inline const QColor kTraceColor{0, 170, 0};     // trace, gate markers and DAC curves
inline const QColor kForegroundColor{0, 0, 0};  // baseline, dots, ticks and labels

// Clear, line width 2, baseline, trace from samples 0..249, graticule dots, tick marks.
void displayPattern(Canvas& canvas, std::span<const RecordValue> capture);

// The blank plot shown while the operator waits for a slot.
void clearPlot(Canvas& canvas);

}  // namespace trellicap
