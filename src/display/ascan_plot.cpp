#include "display/ascan_plot.h"

namespace trellicap {

void displayPattern(Canvas& canvas, std::span<const RecordValue> capture) {
    canvas.clear();
    canvas.setLineWidth(2);
    canvas.line({0, kBaselineY}, {kBaselineEndX, kBaselineY}, kForegroundColor);

    const std::vector<QPointF> trace = tracePoints(capture);
    // The zero-length first line puts the pen on the baseline, so the trace always rises
    // from (0, 210) even when sample 0 is high.
    canvas.line(trace.front(), trace.front(), kTraceColor);
    for (std::size_t i = 1; i < trace.size(); ++i) {
        canvas.line(trace[i - 1], trace[i], kTraceColor);
    }

    for (const QPointF& at : graticuleDots()) {
        if (const auto anchor = tickAnchor(at)) {
            canvas.dot(at, *anchor, kForegroundColor);
        } else {
            canvas.dot(at, kForegroundColor);
        }
    }
}

void clearPlot(Canvas& canvas) {
    canvas.clear();
}

}  // namespace trellicap
