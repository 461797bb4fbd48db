// Where a job report's own pages put their texts: the content flowed onto A4 pages in points
// (section by section, the table of indications with its heading on every page it runs
// onto, the signature boxes kept whole), every page headed by the job and ended by
// "Page n of N", and "DRAFT" on each when mandatory items are missing. Pure placement, so
// that the positions can be checked without a PDF.
#pragma once

#include <QLineF>
#include <QPointF>
#include <QString>
#include <vector>

#include "report/job_report_content.h"

namespace trellicap {

inline constexpr double kJobPageWidth = 595.28;  // A4, points
inline constexpr double kJobPageHeight = 841.89;

struct PageText {
    QPointF topLeft;  // points
    double width = 0;
    QString text;
    double size = 9;  // points
    bool bold = false;
    bool right = false;  // aligned to the right edge of its width
};

struct JobPage {
    std::vector<PageText> texts;
    std::vector<QLineF> lines;  // points, 0.5 pt wide
};

[[nodiscard]] std::vector<JobPage> layoutJobReport(const JobReportContent& content);

// The width of a text in points in the report's sans serif (Liberation Sans, Arial's twin).
[[nodiscard]] double reportTextWidth(const QString& text, double size, bool bold);
// The text broken into lines no wider than `width` (at spaces, else inside a long word).
[[nodiscard]] QStringList wrapText(const QString& text, double width, double size, bool bold);

}  // namespace trellicap
