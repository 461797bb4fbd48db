// What the interactive plot shows beyond the picture at rest: the span of the path shown
// (zoom and pan), cursors A and B, and a reference trace. Plain state and drawing, no
// widgets: the plot widget turns mouse and keys into these calls and shows the two layers
// it draws. At rest (whole span, no cursor, no reference) the widget shows the record's own
// canvas instead, so that picture stays exactly what it is.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "display/path_span.h"
#include "display/plot_readings.h"
#include "display/plot_texts.h"
#include "display/reference_trace.h"
#include "profiles/model_profile.h"

namespace trellicap {

class Canvas;

class PlotView {
public:
    enum class Cursor { A, B };

    // The record shown: its samples and panel texts. The span goes back to the whole range
    // when RANGE or DELAY changed; cursors and the reference stay.
    void setRecord(const ModelProfile& profile, std::span<const RecordValue> capture,
                   const PlotTexts& texts);
    // No record (the plot is blank): cursors and zoom go, the reference stays.
    void clearRecord();
    [[nodiscard]] bool hasRecord() const { return m_hasRecord; }

    [[nodiscard]] bool atRest() const;
    [[nodiscard]] const PathSpan& span() const { return m_span; }

    // Cursors sit on samples (0..249).
    [[nodiscard]] std::optional<int> cursor(Cursor which) const;
    void setCursor(Cursor which, int sample);
    // A plain click: A first, then B, then the cursor nearer to the click moves. Returns the
    // cursor it set.
    Cursor clickAt(double viewX);
    // The cursor drawn within `reach` plot units of viewX (the nearer one), for dragging.
    [[nodiscard]] std::optional<Cursor> cursorNear(double viewX, double reach) const;
    // Moves the last cursor set or dragged by `samples`; nothing without cursors.
    void stepCursor(int samples);
    void clearCursors();
    [[nodiscard]] bool hasCursors() const { return m_cursors[0] || m_cursors[1]; }

    void zoomAround(double viewX, double factor);
    void setSpan(const PathSpan& span);
    void showAll();

    void setReference(const ReferenceTrace& reference);
    void clearReference();
    [[nodiscard]] const std::optional<ReferenceTrace>& reference() const { return m_reference; }

    [[nodiscard]] QString cursorText() const;
    [[nodiscard]] QString peakText() const;
    [[nodiscard]] std::optional<TraceReading> gatePeakOf(int gate) const;

    // The view without cursors: graticule, reference, trace, gates, DAC curves, labels for the
    // span, the amplitude scale and the legend. Clears the canvas first.
    // `marksPerPosition`: how much smaller letters and lines are drawn than positions (a larger
    // plot keeps its marks at screen size), so texts know their room.
    void drawBase(Canvas& canvas, double marksPerPosition = 1.0) const;
    // The cursors alone, drawn over the base (cheap: for every move of a drag).
    void drawCursors(Canvas& canvas) const;
    // Changes whenever drawBase would draw something else.
    [[nodiscard]] quint64 baseRevision() const { return m_baseRevision; }

    // The reference's legend as `canvas` draws it: its name cut short where the whole would
    // not fit the plot, then its RANGE and DELAY, so that the dB difference always shows.
    [[nodiscard]] QString fittedLegend(const Canvas& canvas, double marksPerPosition = 1.0) const;

private:
    void baseChanged() { ++m_baseRevision; }
    [[nodiscard]] std::optional<TraceReading> reading(Cursor which) const;

    const ModelProfile* m_profile = nullptr;
    bool m_hasRecord = false;
    std::vector<RecordValue> m_capture;
    PlotTexts m_texts;
    PathSpan m_span;
    std::array<std::optional<int>, 2> m_cursors;
    Cursor m_lastCursor = Cursor::A;
    std::optional<ReferenceTrace> m_reference;
    quint64 m_baseRevision = 0;
};

// Keeps the part of a segment that lies within left <= x <= right; nullopt when none does.
[[nodiscard]] std::optional<QLineF> clipToColumns(const QLineF& segment, double left, double right);

}  // namespace trellicap
