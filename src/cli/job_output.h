// A job as `job show` prints it: the report's own texts (job_report_content.h), section by
// section, the indications as an aligned table; and the job list.
#pragma once

#include <QString>
#include <vector>

#include "inspection/job_store.h"
#include "report/job_report_content.h"

namespace trellicap::cli {

[[nodiscard]] QString jobText(const JobReportContent& content, const QString& id, int version);
[[nodiscard]] QString jobListText(const std::vector<inspection::JobListing>& jobs);
// Rows of cells, each column as wide as its widest cell, joined by two blanks.
[[nodiscard]] QString alignedTable(const std::vector<QStringList>& rows);

}  // namespace trellicap::cli
