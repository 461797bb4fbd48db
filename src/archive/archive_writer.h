// Applies the run's changes to an open archive database, each in one transaction: a record
// is stored as a new version only when its values are new for its model and slot (else the
// arrival is noted against the version that holds them), and the run's table of which
// version each slot holds, saved or not, is what the next start offers to restore.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "archive/archive_event.h"
#include "archive/archive_failure.h"
#include "profiles/model_profile.h"

namespace trellicap::archive {

class ArchiveWriter {
public:
    ArchiveWriter(const ModelProfile& profile, QString runId);

    // Nothing when the change is durable; else why not (the transaction is rolled back).
    [[nodiscard]] std::optional<ArchiveFailure> apply(QSqlDatabase& db, const ArchiveEvent& event);

    [[nodiscard]] const QString& runId() const { return m_runId; }

private:
    struct Step;
    void startRun(Step& step, const ArchiveEvent& event);
    void keep(Step& step, const ArchiveEvent& event, const SlotValues& record, Source source,
              const QString& path, bool unsaved);
    void saved(Step& step, const ArchiveEvent& event);

    const ModelProfile& m_profile;
    QString m_runId;
};

}  // namespace trellicap::archive
