#include "report/kept_evaluation.h"

#include "archive/archive_search.h"
#include "record/profile_text.h"
#include "report/job_evaluation.h"

namespace trellicap {

std::optional<QString> evaluateKept(QSqlDatabase& db, const ModelProfile& profile,
                                    const inspection::EvaluationSettings& settings,
                                    const std::function<bool(const KeptEvaluation&)>& visit) {
    KeptEvaluation kept;
    return archive::visitNewestValues(
        db, qs(profile.modelKey), profile.recordSize(), [&](const archive::NewestValues& newest) {
            kept.uuid = newest.uuid;
            kept.version = newest.version;
            kept.slot = newest.slot;
            kept.evaluation =
                inspection::evaluate(readingOfValues(profile, newest.values), settings);
            return visit(kept);
        });
}

}  // namespace trellicap
