#include "report/kept_evaluation.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "archive/record_codes.h"
#include "record/profile_text.h"
#include "report/job_evaluation.h"

namespace trellicap {

std::optional<QString> evaluateKept(QSqlDatabase& db, const ModelProfile& profile,
                                    const inspection::EvaluationSettings& settings,
                                    const std::function<bool(const KeptEvaluation&)>& visit) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT c.uuid, c.version, r.slot, c.codes FROM records r"
                       " JOIN record_values c ON c.uuid = r.uuid AND c.version = r.latest_version"
                       " WHERE r.model = ?"));
    query.addBindValue(qs(profile.modelKey));
    if (!query.exec()) {
        return query.lastError().text().simplified();
    }
    KeptEvaluation kept;
    while (query.next()) {
        const auto values =
            archive::decodeRecord(query.value(3).toByteArray(), profile.recordSize());
        if (!values) {
            continue;  // a damaged version: the archive's verify names it
        }
        kept.uuid = query.value(0).toString();
        kept.version = query.value(1).toInt();
        kept.slot = query.value(2).toInt();
        kept.evaluation = inspection::evaluate(readingOfValues(profile, *values), settings);
        if (!visit(kept)) {
            break;
        }
    }
    return std::nullopt;
}

}  // namespace trellicap
