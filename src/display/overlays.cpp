#include "display/overlays.h"

#include "display/ascan_plot.h"
#include "display/canvas.h"
#include "display/panel_texts.h"

namespace trellicap {

namespace {

void drawGate(Canvas& canvas, const PanelTexts& texts, bool gate1) {
    const auto segment = gate1 ? gateSegment(texts.text("txtgate"), texts.text("txtstart"),
                                             texts.text("txtend"), texts.text("txtlevel"), true)
                               : gateSegment(texts.text("txtgate2"), texts.text("txtstart2"),
                                             texts.text("txtend2"), texts.text("txtlevel2"), false);
    if (segment) {
        canvas.line(segment->p1(), segment->p2(), kTraceColor);
    }
}

}  // namespace

void drawAxisLabels(Canvas& canvas, const PanelTexts& texts) {
    for (const AxisLabel& label : axisLabels(texts.text("txtrange"), texts.text("txtdelay"))) {
        canvas.printAt(label.topLeft, labelAnchor(label), label.text);
    }
}

void drawOverlays(Canvas& canvas, const ModelProfile& profile, const PanelTexts& texts,
                  std::span<const RecordValue> capture) {
    drawGate(canvas, texts, true);
    drawGate(canvas, texts, false);
    for (const QLineF& segment : dacSegments(profile, texts.text("txtdac"), capture)) {
        canvas.line(segment.p1(), segment.p2(), kTraceColor);
    }
    drawAxisLabels(canvas, texts);
}

}  // namespace trellicap
