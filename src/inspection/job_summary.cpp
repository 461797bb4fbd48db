#include "inspection/job_summary.h"

namespace trellicap::inspection {

JobSummary summarize(const std::vector<Evaluation>& evaluations) {
    JobSummary summary;
    summary.records = static_cast<int>(evaluations.size());
    for (const Evaluation& evaluation : evaluations) {
        const auto result = evaluation.result;
        if (result == Result::Acceptable || result == Result::Reject) {
            ++summary.recorded;
        }
        if (result == Result::Reject) {
            ++summary.rejected;
        }
        if (!result || result == Result::OutsideDac) {
            ++summary.unevaluated;
        }
    }
    if (summary.records == 0) {
        summary.overall = QStringLiteral("no records");
    } else if (summary.rejected > 0) {
        summary.overall = resultText(Result::Reject);
    } else if (summary.unevaluated > 0) {
        summary.overall = QStringLiteral("not evaluated");
    } else {
        summary.overall = resultText(Result::Acceptable);
    }
    return summary;
}

}  // namespace trellicap::inspection
