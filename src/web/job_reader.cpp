#include "web/job_reader.h"

#include <QSqlError>
#include <QSqlQuery>

#include "session/archive_inspection_store.h"

namespace trellicap::web {

std::optional<std::vector<inspection::JobListing>> JobReader::jobs(QString* error) {
    std::vector<inspection::JobListing> listed;
    const QueryPool::Outcome outcome = m_pool.run([&](QSqlDatabase& db, QString* failure) {
        ArchiveInspectionStore store(db);
        QString reason;
        listed = store.jobs(&reason);
        if (!reason.isEmpty()) {
            *failure = reason;
            return false;
        }
        return true;
    });
    if (!outcome.ok) {
        *error = outcome.error;
        return std::nullopt;
    }
    return listed;
}

std::optional<JobRead> JobReader::job(const QString& uuid, QString* error) {
    std::optional<JobRead> read;
    bool found = false;
    const QueryPool::Outcome outcome = m_pool.run([&](QSqlDatabase& db, QString* failure) {
        QSqlQuery exists(db);
        exists.prepare(QStringLiteral("SELECT 1 FROM job_versions WHERE uuid = ? LIMIT 1"));
        exists.addBindValue(uuid);
        if (!exists.exec()) {
            *failure = exists.lastError().text().simplified();
            return false;
        }
        found = exists.next();
        if (!found) {
            return true;
        }
        ArchiveInspectionStore store(db);
        QString reason;
        auto job = store.job(uuid, &reason);
        auto equipment = job ? store.equipment(&reason) : std::nullopt;
        if (!job || !equipment) {
            *failure = reason;
            return false;
        }
        read = JobRead{std::move(*job), std::move(*equipment)};
        return true;
    });
    if (!outcome.ok) {
        *error = outcome.error;
        return std::nullopt;
    }
    return read;
}

}  // namespace trellicap::web
