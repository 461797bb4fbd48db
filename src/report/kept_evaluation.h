// The archive's records evaluated against a job without drawing them: each record's newest
// version of one model read as the tables read it, one pass over the values (what trellicap-cli
// evaluate --archive prints, and what an office screens a season's archive with).
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

#include "inspection/evaluation.h"
#include "profiles/model_profile.h"

namespace trellicap {

struct KeptEvaluation {
    QString uuid;
    int version = 0;
    int slot = 0;
    inspection::Evaluation evaluation;
};

// Visits every record's newest version of the profile's model (in the archive's order);
// `visit` returning false stops. The reason when the archive cannot be read.
[[nodiscard]] std::optional<QString> evaluateKept(
    QSqlDatabase& db, const ModelProfile& profile, const inspection::EvaluationSettings& settings,
    const std::function<bool(const KeptEvaluation&)>& visit);

}  // namespace trellicap
