// Jobs and the equipment register kept in the archive file beside the records (archive/
// inspection_archive.h): the inspection floor's store on a connection of its own to the
// SQLite file, so that the window's record keeping and the job window never wait for each
// other. A job's JOB.json is kept without its records' values, which go into the archive once
// per content (the hash the record versions carry), so that a record is found by its jobs.
#pragma once

#include <memory>

#include "inspection/job_store.h"

class QSqlDatabase;

namespace trellicap {

namespace archive {
class ArchiveFile;
}

class ArchiveInspectionStore final : public inspection::InspectionStore {
public:
    // Opens (creating it when missing) and brings the archive at `path` to the current schema;
    // error() says why when it could not.
    explicit ArchiveInspectionStore(const QString& path);
    // Over a database opened elsewhere (the team server), which must be at the current schema.
    explicit ArchiveInspectionStore(QSqlDatabase& db);
    ~ArchiveInspectionStore() override;

    [[nodiscard]] bool isOpen() const;
    [[nodiscard]] QString error() const { return m_error; }

    std::optional<QString> keepJob(inspection::Job& job,
                                   const inspection::JobResults& results) override;
    std::optional<inspection::Job> job(const QString& id, QString* error) override;
    std::optional<inspection::Job> jobVersion(const QString& id, int version,
                                              QString* error) override;
    std::vector<inspection::JobListing> jobs(QString* error) override;
    std::optional<QString> keepItem(inspection::EquipmentItem& item) override;
    std::optional<inspection::EquipmentRegister> equipment(QString* error) override;
    std::vector<inspection::EquipmentItem> itemVersions(inspection::ItemKind kind,
                                                        const QString& key,
                                                        QString* error) override;

private:
    QSqlDatabase& db();
    std::optional<inspection::Job> jobOfBody(const QString& body, QString* error);

    std::unique_ptr<archive::ArchiveFile> m_file;
    QSqlDatabase* m_db = nullptr;
    QString m_error;
};

}  // namespace trellicap
