#include "report/job_report_drawing.h"

#include <QPen>

#include "report/report_fonts.h"

namespace trellicap {

namespace {

constexpr double kPointsPerInch = 72;

void drawText(QPainter& painter, const PageText& text, double scale) {
    QFont font = reportFont(QStringLiteral("Arial"), text.size, text.bold);
    painter.setFont(font);
    const QRectF box(text.topLeft.x() * scale, text.topLeft.y() * scale, text.width * scale,
                     text.size * 1.25 * scale);
    painter.drawText(
        box, (text.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop | Qt::TextSingleLine,
        text.text);
}

}  // namespace

void drawJobPage(QPainter& painter, const JobPage& page, double dpi) {
    registerReportFonts();
    const double scale = dpi / kPointsPerInch;
    painter.setPen(QPen(Qt::black, 0.5 * scale));
    for (const QLineF& line : page.lines) {
        painter.drawLine(QLineF(line.p1() * scale, line.p2() * scale));
    }
    for (const PageText& text : page.texts) {
        drawText(painter, text, scale);
    }
}

void drawDraftMark(QPainter& painter, const QString& jobLine, double dpi) {
    registerReportFonts();
    const double scale = dpi / kPointsPerInch;
    painter.setPen(Qt::black);
    drawText(painter, {QPointF(42, 40), 200, QStringLiteral("DRAFT"), 15, true, false}, scale);
    drawText(painter, {QPointF(42, 62), 500, jobLine, 7.5, false, false}, scale);
}

}  // namespace trellicap
