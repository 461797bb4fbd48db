#include "cli/evaluation_output.h"

#include <QStringList>

#include "report/job_report_content.h"
#include "report/json_format.h"

namespace trellicap::cli {

namespace {

QString cell(const std::optional<double>& value) {
    return value ? QString::number(*value, 'f', 1) : QStringLiteral("-");
}

QString number(const std::optional<double>& value, bool tenths) {
    if (!value) {
        return QStringLiteral("null");
    }
    return tenths ? QString::number(*value, 'f', 1) : QString::number(*value + 0.0, 'g', 15);
}

}  // namespace

QString evaluationTable(const std::vector<SlotEvaluation>& rows) {
    const QStringList heading = {QStringLiteral("slot"),       QStringLiteral("peak %"),
                                 QStringLiteral("path mm"),    QStringLiteral("depth mm"),
                                 QStringLiteral("surface mm"), QStringLiteral("level dB"),
                                 QStringLiteral("% DAC"),      QStringLiteral("result")};
    std::vector<QStringList> lines{heading};
    for (const SlotEvaluation& row : rows) {
        const inspection::Evaluation& e = row.evaluation;
        lines.push_back({QString::number(row.slot),
                         e.peakPct ? QString::number(*e.peakPct) : QStringLiteral("-"),
                         cell(e.pathMm), cell(e.depthMm), cell(e.surfaceMm), cell(e.levelDb),
                         cell(e.dacPct), resultCell(e).replace(QChar(0x2014), QLatin1Char('-'))});
    }
    std::vector<qsizetype> widths(heading.size(), 0);
    for (const QStringList& line : lines) {
        for (qsizetype c = 0; c < line.size(); ++c) {
            widths[static_cast<std::size_t>(c)] =
                std::max(widths[static_cast<std::size_t>(c)], line[c].size());
        }
    }
    QString out;
    for (const QStringList& line : lines) {
        QStringList padded;
        for (qsizetype c = 0; c < line.size(); ++c) {
            const auto width = static_cast<int>(widths[static_cast<std::size_t>(c)]);
            // Numbers to the right, the result to the left.
            padded << (c + 1 == line.size() ? line[c] : line[c].rightJustified(width));
        }
        out += padded.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    return out;
}

QString evaluationJson(const SlotEvaluation& row) {
    const inspection::Evaluation& e = row.evaluation;
    QStringList notes;
    for (const QString& note : e.notes) {
        notes << jsonString(note);
    }
    return QStringLiteral(
               "{\"slot\": %1, \"peak_pct\": %2, \"path_mm\": %3, \"depth_mm\": %4, "
               "\"surface_mm\": %5, \"level_db\": %6, \"dac_pct\": %7, \"result\": %8, "
               "\"overridden\": %9, \"angle_deg\": %10, \"notes\": [%11]}")
        .arg(row.slot)
        .arg(e.peakPct ? QString::number(*e.peakPct) : QStringLiteral("null"),
             number(e.pathMm, false), number(e.depthMm, true), number(e.surfaceMm, true),
             number(e.levelDb, true), number(e.dacPct, true),
             e.result ? jsonString(inspection::resultText(*e.result)) : QStringLiteral("null"),
             e.overridden ? QStringLiteral("true") : QStringLiteral("false"))
        .arg(number(e.angleDeg, false), notes.join(QStringLiteral(", ")));
}

}  // namespace trellicap::cli
