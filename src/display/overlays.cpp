#include "display/overlays.h"

#include "display/ascan_plot.h"
#include "display/canvas.h"
#include "display/panel_texts.h"

namespace trellicap {

namespace {

void drawGate(Canvas& canvas, const PanelTexts& texts, const GateRoles& gate, bool gate1) {
    const auto segment = gateSegment(texts.text(gate.mode), texts.text(gate.start),
                                     texts.text(gate.end), texts.text(gate.level), gate1);
    if (segment) {
        canvas.line(segment->p1(), segment->p2(), kTraceColor);
    }
}

}  // namespace

void drawAxisLabels(Canvas& canvas, const ModelProfile& profile, const PanelTexts& texts) {
    const ControlRoles& roles = profile.roles;
    for (const AxisLabel& label : axisLabels(texts.text(roles.range), texts.text(roles.delay))) {
        canvas.printAt(label.topLeft, labelAnchor(label), label.text);
    }
}

void drawOverlays(Canvas& canvas, const ModelProfile& profile, const PanelTexts& texts,
                  std::span<const RecordValue> capture) {
    drawGate(canvas, texts, profile.roles.gate1, true);
    drawGate(canvas, texts, profile.roles.gate2, false);
    for (const QLineF& segment : dacSegments(profile, texts.text(profile.roles.dac), capture)) {
        canvas.line(segment.p1(), segment.p2(), kTraceColor);
    }
    drawAxisLabels(canvas, profile, texts);
}

}  // namespace trellicap
