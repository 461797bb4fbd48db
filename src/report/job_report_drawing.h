// A job report's own pages drawn as real text and lines, and the mark a draft puts on each
// record page that follows them.
#pragma once

#include <QPainter>
#include <QString>

#include "report/job_report_layout.h"

namespace trellicap {

// Draws `page` with the painter's device at `dpi` (points scaled to it).
void drawJobPage(QPainter& painter, const JobPage& page, double dpi);

// "DRAFT" and the job's line above a record page's blocks, which start lower on the sheet.
void drawDraftMark(QPainter& painter, const QString& jobLine, double dpi);

}  // namespace trellicap
