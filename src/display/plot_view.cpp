#include "display/plot_view.h"

#include <algorithm>
#include <cmath>

#include "display/ascan_plot.h"
#include "display/canvas.h"
#include "record/numbers.h"

namespace trellicap {

namespace {

const QColor kReferenceColor{224, 112, 0};
const std::array<QColor, 2> kCursorColors{QColor(200, 0, 0), QColor(0, 0, 220)};
const std::array<QString, 2> kCursorNames{QStringLiteral("A"), QStringLiteral("B")};
constexpr double kViewLeft = 0;
constexpr double kViewRight = kBaselineEndX;
constexpr int kScaleSteps[] = {100, 80, 60, 40, 20};

std::size_t index(PlotView::Cursor which) {
    return which == PlotView::Cursor::A ? 0 : 1;
}

void clippedLine(Canvas& canvas, const QLineF& segment, const QColor& color) {
    if (const auto kept = clipToColumns(segment, kViewLeft, kViewRight)) {
        canvas.line(kept->p1(), kept->p2(), color);
    }
}

void polyline(Canvas& canvas, const std::vector<QPointF>& points, const QColor& color) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        clippedLine(canvas, QLineF(points[i - 1], points[i]), color);
    }
}

QLineF onView(const PathSpan& span, const QLineF& plotSegment) {
    return {span.viewX(plotSegment.x1()), plotSegment.y1(), span.viewX(plotSegment.x2()),
            plotSegment.y2()};
}

void drawGraticule(Canvas& canvas) {
    canvas.line({0, kBaselineY}, {kBaselineEndX, kBaselineY}, kForegroundColor);
    for (const QPointF& at : graticuleDots()) {
        if (const auto anchor = tickAnchor(at)) {
            canvas.dot(at, *anchor, kForegroundColor);
        } else {
            canvas.dot(at, kForegroundColor);
        }
    }
}

// Percent labels just under their dotted rows, hanging from the left grid line (above the
// top row stands the reference's legend).
void drawAmplitudeScale(Canvas& canvas) {
    for (const int percent : kScaleSteps) {
        const double y = amplitudeY(percent);
        const QString text = percent == 100 ? QStringLiteral("100 %") : QString::number(percent);
        canvas.printAt({kGridFirstX + 2, y + 1}, {kGridFirstX, y}, text);
    }
}

void drawLegend(Canvas& canvas, const QString& legend) {
    const double height = canvas.lineHeight();
    const QPointF anchor(kGridFirstX, kScreenTopY);
    const double middle = kScreenTopY - height / 2;
    canvas.line({kGridFirstX + 4, middle}, {kGridFirstX + 16, middle}, kReferenceColor);
    canvas.printAt({kGridFirstX + 20, kScreenTopY - height}, anchor, legend);
}

}  // namespace

std::optional<QLineF> clipToColumns(const QLineF& segment, double left, double right) {
    QPointF p1 = segment.p1();
    QPointF p2 = segment.p2();
    if (p1.x() > p2.x()) {
        std::swap(p1, p2);
    }
    if (p2.x() < left || p1.x() > right) {
        return std::nullopt;
    }
    const double dx = p2.x() - p1.x();
    const auto yAt = [&](double x) {
        return dx == 0 ? p1.y() : p1.y() + (p2.y() - p1.y()) * (x - p1.x()) / dx;
    };
    const QPointF from = p1.x() < left ? QPointF(left, yAt(left)) : p1;
    const QPointF to = p2.x() > right ? QPointF(right, yAt(right)) : p2;
    return QLineF(from, to);
}

void PlotView::setRecord(const ModelProfile& profile, std::span<const RecordValue> capture,
                         const PlotTexts& texts) {
    const PathSpan whole(leadingNumber(texts.delay), leadingNumber(texts.range));
    if (!m_hasRecord || whole.whole() != m_span.whole()) {
        // Another RANGE or DELAY: a cursor keeps its sound path, not its sample (the same
        // sample would read another path), and goes where the new range does not reach.
        const PathSpan before = m_span.whole();
        for (std::optional<int>& cursor : m_cursors) {
            if (cursor && m_hasRecord) {
                cursor = whole.sampleOfPath(before.samplePath(*cursor));
            }
        }
        m_span = whole;
    }
    m_profile = &profile;
    m_capture.assign(capture.begin(), capture.end());
    m_texts = texts;
    m_hasRecord = true;
    baseChanged();
}

void PlotView::clearRecord() {
    m_hasRecord = false;
    m_capture.clear();
    m_texts = {};
    m_span = {};
    m_cursors = {};
    baseChanged();
}

bool PlotView::atRest() const {
    return !m_hasRecord || (!m_span.zoomed() && !hasCursors() && !m_reference);
}

std::optional<int> PlotView::cursor(Cursor which) const {
    return m_cursors[index(which)];
}

void PlotView::setCursor(Cursor which, int sample) {
    const bool first = !hasCursors();
    m_cursors[index(which)] = std::clamp(sample, 0, kTraceSamples - 1);
    m_lastCursor = which;
    if (first) {
        baseChanged();  // the amplitude scale appears
    }
}

PlotView::Cursor PlotView::clickAt(double viewX) {
    const int sample = m_span.sampleAt(viewX);
    Cursor which = Cursor::A;
    if (m_cursors[0] && !m_cursors[1]) {
        which = Cursor::B;
    } else if (m_cursors[0] && m_cursors[1]) {
        const double toA = std::abs(m_span.viewX(*m_cursors[0] + 1) - viewX);
        const double toB = std::abs(m_span.viewX(*m_cursors[1] + 1) - viewX);
        which = toB < toA ? Cursor::B : Cursor::A;
    }
    setCursor(which, sample);
    return which;
}

std::optional<PlotView::Cursor> PlotView::cursorNear(double viewX, double reach) const {
    std::optional<Cursor> nearest;
    double best = reach;
    for (const Cursor which : {Cursor::A, Cursor::B}) {
        if (const auto sample = cursor(which)) {
            const double distance = std::abs(m_span.viewX(*sample + 1) - viewX);
            if (distance <= best) {
                best = distance;
                nearest = which;
            }
        }
    }
    return nearest;
}

void PlotView::stepCursor(int samples) {
    if (const auto sample = cursor(m_lastCursor)) {
        setCursor(m_lastCursor, *sample + samples);
    } else if (const auto other = cursor(Cursor::A)) {
        setCursor(Cursor::A, *other + samples);
    }
}

void PlotView::clearCursors() {
    if (hasCursors()) {
        m_cursors = {};
        m_lastCursor = Cursor::A;
        baseChanged();
    }
}

void PlotView::zoomAround(double viewX, double factor) {
    setSpan(m_span.zoomedAround(viewX, factor));
}

void PlotView::setSpan(const PathSpan& span) {
    if (span != m_span) {
        m_span = span;
        baseChanged();
    }
}

void PlotView::showAll() {
    setSpan(m_span.whole());
}

void PlotView::setReference(const ReferenceTrace& reference) {
    m_reference = reference;
    baseChanged();
}

void PlotView::clearReference() {
    if (m_reference) {
        m_reference.reset();
        baseChanged();
    }
}

std::optional<TraceReading> PlotView::reading(Cursor which) const {
    const auto sample = cursor(which);
    if (!sample || !m_hasRecord) {
        return std::nullopt;
    }
    return readSample(m_capture, m_span, *sample);
}

QString PlotView::cursorText() const {
    return cursorReadout(reading(Cursor::A), reading(Cursor::B));
}

std::optional<TraceReading> PlotView::gatePeakOf(int gate) const {
    if (!m_hasRecord || gate < 0 || gate > 1) {
        return std::nullopt;
    }
    return gatePeak(m_texts.gates[static_cast<std::size_t>(gate)], m_capture, m_span);
}

QString PlotView::peakText() const {
    return gatePeakText({gatePeakOf(0), gatePeakOf(1)});
}

void PlotView::drawBase(Canvas& canvas, double marksPerPosition) const {
    canvas.clear();
    canvas.setLineWidth(2);
    drawGraticule(canvas);
    if (!m_hasRecord) {
        return;
    }
    if (m_reference) {
        polyline(canvas, referencePoints(*m_reference, m_span), kReferenceColor);
    }
    const std::vector<QPointF> trace = tracePoints(m_capture);
    std::vector<QPointF> shown;
    shown.reserve(trace.size());
    for (const QPointF& at : trace) {
        shown.emplace_back(m_span.viewX(at.x()), at.y());
    }
    polyline(canvas, shown, kTraceColor);
    for (const auto& gate : m_texts.gates) {
        if (gate) {
            clippedLine(canvas, onView(m_span, *gate), kTraceColor);
        }
    }
    if (m_profile != nullptr) {
        for (const QLineF& segment : dacSegments(*m_profile, m_texts.dac, m_capture)) {
            clippedLine(canvas, onView(m_span, segment), kTraceColor);
        }
    }
    for (const AxisLabel& label : m_span.labels()) {
        canvas.printAt(label.topLeft, labelAnchor(label), label.text);
    }
    if (m_span.zoomed() || hasCursors()) {
        drawAmplitudeScale(canvas);
    }
    if (m_reference) {
        drawLegend(canvas, fittedLegend(canvas, marksPerPosition));
    }
}

QString PlotView::fittedLegend(const Canvas& canvas, double marksPerPosition) const {
    // The legend runs from beside its line sample to the right grid line; its letters keep
    // their size in a larger plot (marksPerPosition below 1), so it has more room there.
    constexpr double kRoom = kGridSpanX - 20;
    return fitLegend(*m_reference, m_span, m_texts.gain.trimmed(),
                     [&canvas, marksPerPosition](const QString& legend) {
                         return canvas.textWidth(legend) * marksPerPosition <= kRoom;
                     });
}

void PlotView::drawCursors(Canvas& canvas) const {
    canvas.clear();
    canvas.setLineWidth(1);
    for (const Cursor which : {Cursor::A, Cursor::B}) {
        const auto sample = cursor(which);
        if (!sample) {
            continue;
        }
        const double x = m_span.viewX(*sample + 1);
        if (x < kViewLeft || x > kViewRight) {
            continue;
        }
        const std::size_t i = index(which);
        canvas.line({x, kScreenTopY}, {x, kBaselineY}, kCursorColors[i]);
        canvas.printAt({x + 2, kScreenTopY}, {x, kScreenTopY}, kCursorNames[i]);
    }
}

}  // namespace trellicap
