// The job pages: the list of jobs (/jobs) and one job (/job/UUID) as its report gives it (the
// cover with every item, the equipment's warnings, the table of indications, the summary, the
// amendments, the signatures, what a draft lacks), with the report to download and a link to
// the job's records in the search.
#pragma once

#include <QString>
#include <vector>

#include "inspection/job_store.h"
#include "report/job_report_content.h"

namespace trellicap::web {

[[nodiscard]] QString jobListBody(const std::vector<inspection::JobListing>& jobs);
[[nodiscard]] QString jobPageBody(const inspection::Job& job, const JobReportContent& content);

}  // namespace trellicap::web
