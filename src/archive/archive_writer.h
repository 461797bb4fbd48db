// Applies the run's changes to an open archive database, each in one transaction: a record
// is stored as a new version only when its values are new for its model and slot (else the
// arrival is noted against the version that holds them), and the run's table of which
// version each slot holds, saved or not, and which record file it is, is what the next
// start offers to restore.
//
// Each kind of statement is prepared once per connection and reused; a change runs only the
// statements it needs, and a record's content hash and search text are computed once. The
// statements run on SQLite's own API where the driver's functions can be had
// (sqlite_direct.h), else through Qt Sql; the same rows either way.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "archive/archive_event.h"
#include "archive/archive_failure.h"
#include "profiles/model_profile.h"

namespace trellicap::archive {

class DirectSqlite;

// How the writer's statements reach SQLite: directly where it can, or through Qt Sql alone
// (what a driver without SQLite's functions gets).
enum class WriterRoute { Fastest, QtSql };

class ArchiveWriter {
public:
    ArchiveWriter(const ModelProfile& profile, QString runId,
                  WriterRoute route = WriterRoute::Fastest);
    ~ArchiveWriter();

    // Nothing when the change is durable; else why not (the transaction is rolled back).
    [[nodiscard]] std::optional<ArchiveFailure> apply(QSqlDatabase& db, const ArchiveEvent& event);

    // The connection was closed or opened again: its prepared statements are gone.
    void forgetStatements();

    [[nodiscard]] const QString& runId() const { return m_runId; }
    // Whether the statements run on SQLite's own API (after a first change on a connection).
    [[nodiscard]] bool direct() const { return m_direct != nullptr; }

private:
    struct Step;
    struct Prepared;
    static constexpr std::size_t kStatementSlots = 20;
    void startRun(Step& step, const ArchiveEvent& event);
    void keep(Step& step, const ArchiveEvent& event, const SlotValues& record, Source source,
              const QString& path, bool unsaved);
    void saved(Step& step, const ArchiveEvent& event);
    void noteFile(Step& step, const RecordFileFacts& file);

    const ModelProfile& m_profile;
    QString m_runId;
    QString m_model;
    WriterRoute m_route;
    QString m_connection;                    // the connection the statements were prepared on
    std::unique_ptr<DirectSqlite> m_direct;  // before the statements: they go first
    std::array<std::unique_ptr<Prepared>, kStatementSlots> m_statements;
};

}  // namespace trellicap::archive
