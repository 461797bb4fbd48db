// The plot overlays that follow the settings panel: gate 1, gate 2, the DAC curves, then
// the distance labels of the horizontal axis. They draw on top of displayPattern's picture
// and never clear it, so calling them twice draws everything twice.
#pragma once

#include <span>

#include "profiles/model_profile.h"

namespace trellicap {

class Canvas;
class PanelTexts;

// Reads the gate, DAC, RANGE and DELAY texts as the panel shows them (cut at code 0) and
// the DAC points from the capture buffer.
void drawOverlays(Canvas& canvas, const ModelProfile& profile, const PanelTexts& texts,
                  std::span<const RecordValue> capture);

// The axis labels alone, in the canvas font and the foreground colour.
void drawAxisLabels(Canvas& canvas, const ModelProfile& profile, const PanelTexts& texts);

}  // namespace trellicap
