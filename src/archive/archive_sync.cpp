#include "archive/archive_sync.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QSysInfo>
#include <QVariant>
#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "archive/archive_schema.h"
#include "archive/inspection_sync.h"
#include "archive/iso_time.h"
#include "archive/server_connection.h"
#include "archive/server_copy.h"
#include "archive/server_schema.h"
#include "archive/sync_marks.h"
#include "archive/version_columns.h"

namespace trellicap::archive {

namespace {

// One local row read for the server: its position in the local file (where the next batch
// starts), then the values in the order of the server statement's columns.
struct LocalRow {
    qint64 rowid = 0;
    QVariantList values;
};

// "INSERT INTO table (a, b) VALUES (?, ?), (?, ?) ... suffix": one statement for a batch.
// `extra` are expressions after the bound columns in each row (session_user).
QString multiRowInsert(const QString& table, const QStringList& columns, qsizetype rows,
                       const QString& suffix, const QStringList& extra = {}) {
    QStringList marks;
    marks.fill(QStringLiteral("?"), columns.size() - extra.size());
    marks.append(extra);
    const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    QStringList all;
    all.fill(row, rows);
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3%4")
        .arg(table, columns.join(QStringLiteral(", ")), all.join(QStringLiteral(", ")), suffix);
}

// A statement of one batch, prepared once for each size of batch it meets (a full batch
// and the last one) and reused.
class BatchStatement {
public:
    BatchStatement(QSqlDatabase& server, std::function<QString(qsizetype rows)> sql)
        : m_server(server), m_sql(std::move(sql)) {}

    // Binds rows (each the same count of values) and runs; false with *error.
    bool run(const std::vector<QVariantList>& rows, QString* error, int* affected = nullptr) {
        if (rows.empty()) {
            return true;
        }
        auto& query = m_prepared[rows.size()];
        if (!query) {
            query = std::make_unique<QSqlQuery>(m_server);
            if (!query->prepare(m_sql(static_cast<qsizetype>(rows.size())))) {
                *error = serverReason(query->lastError());
                query.reset();
                return false;
            }
        }
        int at = 0;
        for (const QVariantList& row : rows) {
            for (const QVariant& value : row) {
                query->bindValue(at++, value);
            }
        }
        if (!query->exec()) {
            *error = serverReason(query->lastError());
            return false;
        }
        if (affected) {
            *affected = query->numRowsAffected();
        }
        return true;
    }

private:
    QSqlDatabase& m_server;
    std::function<QString(qsizetype)> m_sql;
    std::map<std::size_t, std::unique_ptr<QSqlQuery>> m_prepared;
};

QString localError(const QSqlQuery& query) {
    return QStringLiteral("local archive: ") + query.lastError().text().simplified();
}

// Which local versions come next: after the last one this run looked at, not marked as sent
// to this server, in the order they were written; with their values as the archive holds
// them (deflated or not: the server keeps the same bytes and the same packing).
std::vector<LocalRow> nextVersions(QSqlDatabase& local, const QString& serverUuid, qint64 after,
                                   QString* error) {
    QStringList columns;
    for (const QString& name : storedColumnNames()) {
        columns.append(QStringLiteral("v.") + name);
    }
    QSqlQuery pick(local);
    pick.setForwardOnly(true);
    pick.prepare(
        QStringLiteral("SELECT v.rowid, %1, c.codes, c.packing FROM record_versions v"
                       " JOIN record_values c ON c.uuid = v.uuid AND c.version = v.version"
                       " WHERE v.rowid > ? AND NOT EXISTS (SELECT 1 FROM sync_sent s"
                       "  WHERE s.server_uuid = ? AND s.uuid = v.uuid AND s.version = v.version)"
                       " ORDER BY v.rowid LIMIT %2")
            .arg(columns.join(QStringLiteral(", ")))
            .arg(kSyncBatchSize));
    pick.addBindValue(after);
    pick.addBindValue(serverUuid);
    std::vector<LocalRow> rows;
    if (!pick.exec()) {
        *error = localError(pick);
        return rows;
    }
    const int count = pick.record().count();
    while (pick.next()) {
        LocalRow row;
        row.rowid = pick.value(0).toLongLong();
        for (int i = 1; i < count; ++i) {
            row.values.append(pick.value(i));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// Record-file notes of versions the server holds, not yet sent to it, each with its
// version's search text (which holds the file's name now).
std::vector<LocalRow> nextSavedIn(QSqlDatabase& local, const QString& serverUuid, qint64 after,
                                  QString* error) {
    QSqlQuery pick(local);
    pick.setForwardOnly(true);
    pick.prepare(
        QStringLiteral("SELECT s.rowid, s.uuid, s.version, s.path, s.file_name, s.saved_at,"
                       " v.search_text FROM saved_in s JOIN record_versions v"
                       " ON v.uuid = s.uuid AND v.version = s.version"
                       " WHERE s.rowid > ? AND EXISTS (SELECT 1 FROM sync_sent m"
                       "  WHERE m.server_uuid = ? AND m.uuid = s.uuid AND m.version = s.version)"
                       " AND NOT EXISTS (SELECT 1 FROM sync_sent_saved_in n WHERE n.server_uuid = ?"
                       "  AND n.uuid = s.uuid AND n.version = s.version AND n.path = s.path)"
                       " ORDER BY s.rowid LIMIT %1")
            .arg(kSyncBatchSize));
    pick.addBindValue(after);
    pick.addBindValue(serverUuid);
    pick.addBindValue(serverUuid);
    std::vector<LocalRow> rows;
    if (!pick.exec()) {
        *error = localError(pick);
        return rows;
    }
    while (pick.next()) {
        LocalRow row;
        row.rowid = pick.value(0).toLongLong();
        for (int i = 1; i <= 6; ++i) {
            row.values.append(pick.value(i));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// One server transaction around send(); false with *error when anything in it failed.
template <typename Send>
bool inServerTransaction(QSqlDatabase& server, Send send, QString* error) {
    if (!server.transaction()) {
        *error = serverReason(server.lastError());
        return false;
    }
    if (!send() || !server.commit()) {
        if (error->isEmpty()) {
            *error = serverReason(server.lastError());
        }
        server.rollback();
        return false;
    }
    return true;
}

int countOf(QSqlDatabase& db, const QString& sql, const QString& serverUuid) {
    QSqlQuery query(db);
    query.prepare(sql);
    if (!serverUuid.isNull()) {
        query.addBindValue(serverUuid);
    }
    if (!query.exec() || !query.next()) {
        return -1;
    }
    return query.value(0).toInt();
}

// The statements that store a batch of versions on the server.
struct VersionStatements {
    explicit VersionStatements(QSqlDatabase& server)
        : versions(server,
                   [](qsizetype rows) {
                       return multiRowInsert(QStringLiteral("record_versions"), storedColumnNames(),
                                             rows, QStringLiteral(" ON CONFLICT DO NOTHING"));
                   }),
          values(server,
                 [](qsizetype rows) {
                     return multiRowInsert(QStringLiteral("record_values"),
                                           {QStringLiteral("uuid"), QStringLiteral("version"),
                                            QStringLiteral("codes"), QStringLiteral("packing")},
                                           rows, QStringLiteral(" ON CONFLICT DO NOTHING"));
                 }),
          records(server,
                  [](qsizetype rows) {
                      return multiRowInsert(
                          QStringLiteral("records"),
                          {QStringLiteral("uuid"), QStringLiteral("model"), QStringLiteral("slot"),
                           QStringLiteral("latest_version")},
                          rows,
                          QStringLiteral(" ON CONFLICT (uuid) DO UPDATE SET latest_version ="
                                         " GREATEST(records.latest_version,"
                                         " EXCLUDED.latest_version)"));
                  }),
          origins(server, [](qsizetype rows) {
              return multiRowInsert(
                  QStringLiteral("sent_from"),
                  {QStringLiteral("uuid"), QStringLiteral("version"), QStringLiteral("laptop_uuid"),
                   QStringLiteral("working_folder"), QStringLiteral("inspector")},
                  rows, QStringLiteral(" ON CONFLICT DO NOTHING"),
                  {QStringLiteral("session_user")});
          }) {}
    BatchStatement versions;
    BatchStatement values;
    BatchStatement records;
    BatchStatement origins;
};

// A batch of versions by COPY into a staging table of the session (the versions' columns,
// their values and packing, typed as the server's own tables type them, emptied at every
// commit), then one statement, prepared once, that stores them in every table: the server
// parses nothing per row, a row crosses the network once, and a batch is five round trips
// (BEGIN, COPY and its rows, the statement, COMMIT) whatever its size. While the server
// stores a batch, the caller reads the next one from the local archive (store()'s
// meanwhile): the two sides work at once.
class CopiedVersions {
public:
    CopiedVersions(QSqlDatabase& server, const QString& laptopUuid, const QString& workingFolder)
        : m_server(server),
          m_copy(server),
          m_parameters{laptopUuid.toUtf8(), workingFolder.toUtf8()} {
        // A name of its own on a connection that syncs more than once.
        static std::atomic<int> made{0};
        m_storeStatement = "trellicap_sync_store_" + QByteArray::number(++made);
    }

    // Whether batches can go this way: COPY found, the staging table made, the statement
    // prepared. Where not (no libpq functions, no right to make temporary tables), the
    // caller sends by INSERT.
    bool ready() {
        if (!m_copy.available()) {
            return false;
        }
        QStringList columns;
        QStringList stored;
        for (const QString& name : storedColumnNames()) {
            columns.append(QStringLiteral("v.") + name);
            stored.append(name);
        }
        QSqlQuery stage(m_server);
        if (!stage.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS sync_stage ON COMMIT"
                                       " DELETE ROWS AS SELECT %1, c.codes, c.packing FROM"
                                       " record_versions v CROSS JOIN record_values c WITH NO DATA")
                            .arg(columns.join(QStringLiteral(", "))))) {
            return false;
        }
        const QString list = stored.join(QStringLiteral(", "));
        m_copyStatement =
            QStringLiteral("COPY sync_stage (%1, codes, packing) FROM STDIN").arg(list).toUtf8();
        // Each table's rows from the stage, ON CONFLICT DO NOTHING as the INSERT route; the
        // records one row per record, its newest version in the batch (an upsert may touch a
        // row once). The answer: how many versions were new on the server.
        QString ignored;
        return m_copy.prepare(
            m_storeStatement,
            QStringLiteral(
                "WITH versions AS (INSERT INTO record_versions (%1) SELECT %1 FROM sync_stage"
                " ON CONFLICT DO NOTHING RETURNING 1),"
                " kept_values AS (INSERT INTO record_values (uuid, version, codes, packing)"
                " SELECT uuid, version, codes, packing FROM sync_stage ON CONFLICT DO NOTHING),"
                " newest AS (INSERT INTO records (uuid, model, slot, latest_version)"
                " SELECT DISTINCT ON (uuid) uuid, model, slot, version FROM sync_stage"
                " ORDER BY uuid, version DESC ON CONFLICT (uuid) DO UPDATE SET"
                " latest_version = GREATEST(records.latest_version, EXCLUDED.latest_version)),"
                " origins AS (INSERT INTO sent_from (uuid, version, laptop_uuid, working_folder,"
                " inspector) SELECT uuid, version, $1, $2, session_user FROM sync_stage"
                " ON CONFLICT DO NOTHING)"
                " SELECT COUNT(*) FROM versions")
                .arg(list)
                .toUtf8(),
            2, &ignored);
    }

    // Inside the batch's transaction; *stored: how many versions were new there. meanwhile()
    // runs while the server stores them; the connection is free again when store() returns,
    // whatever happened.
    template <typename Meanwhile>
    bool store(const std::vector<LocalRow>& rows, int* stored, QString* error,
               Meanwhile meanwhile) {
        QByteArray text;
        text.reserve(static_cast<qsizetype>(rows.size()) * 1024);
        for (const LocalRow& row : rows) {
            for (qsizetype i = 0; i < row.values.size(); ++i) {
                if (i > 0) {
                    text += '\t';
                }
                appendCopyValue(text, row.values[i]);
            }
            text += '\n';
        }
        if (!m_copy.copyIn(m_copyStatement, text, error) ||
            !m_copy.start(m_storeStatement, m_parameters, error)) {
            return false;
        }
        meanwhile();
        QByteArray count;
        if (!m_copy.finish(&count, error)) {
            return false;
        }
        *stored = count.toInt();
        return true;
    }

private:
    QSqlDatabase& m_server;
    ServerCopy m_copy;
    QList<QByteArray> m_parameters;  // the laptop's identity and working folder
    QByteArray m_copyStatement;
    QByteArray m_storeStatement;
};

// Sends one batch in one server transaction; *stored: how many were new there.
bool storeBatch(VersionStatements& statements, const std::vector<LocalRow>& rows,
                const QString& laptopUuid, const QString& workingFolder, int* stored,
                QString* error) {
    static const QStringList names = storedColumnNames();
    const auto at = [](const QString& name) { return static_cast<int>(names.indexOf(name)); };
    static const int uuid = at(QStringLiteral("uuid"));
    static const int version = at(QStringLiteral("version"));
    static const int model = at(QStringLiteral("model"));
    static const int slot = at(QStringLiteral("slot"));
    const auto columns = static_cast<int>(names.size());

    std::vector<QVariantList> versions;
    std::vector<QVariantList> values;
    std::vector<QVariantList> origins;
    // One row per record, its newest version in the batch: an upsert may touch a row once.
    std::map<QString, QVariantList> records;
    for (const LocalRow& row : rows) {
        versions.push_back(row.values.mid(0, columns));
        values.push_back(
            {row.values[uuid], row.values[version], row.values[columns], row.values[columns + 1]});
        origins.push_back({row.values[uuid], row.values[version], laptopUuid, workingFolder});
        QVariantList& record = records[row.values[uuid].toString()];
        if (record.isEmpty() || record[3].toInt() < row.values[version].toInt()) {
            record = {row.values[uuid], row.values[model], row.values[slot], row.values[version]};
        }
    }
    std::vector<QVariantList> recordRows;
    for (auto& [key, record] : records) {
        recordRows.push_back(std::move(record));
    }
    return statements.versions.run(versions, error, stored) &&
           statements.values.run(values, error) && statements.records.run(recordRows, error) &&
           statements.origins.run(origins, error);
}

bool sendVersions(QSqlDatabase& local, QSqlDatabase& server, const QString& serverUuid,
                  const QString& laptopUuid, const SyncSource& source, const SyncProgress& progress,
                  SyncRoute route, SyncResult& result) {
    VersionStatements statements(server);
    std::unique_ptr<CopiedVersions> copied;
    if (route == SyncRoute::Fastest) {
        copied = std::make_unique<CopiedVersions>(server, laptopUuid, source.workingFolder);
        if (!copied->ready()) {
            copied.reset();
        }
    }
    result.copied = copied != nullptr;
    static const int uuid = static_cast<int>(storedColumnNames().indexOf(QStringLiteral("uuid")));
    static const int version =
        static_cast<int>(storedColumnNames().indexOf(QStringLiteral("version")));
    // The batch the server committed last: noted as sent and reported (progress) while the
    // server stores the next one by COPY, right after its commit by INSERT. The server holds
    // it either way; a mark that fails to be written only means it is offered again next
    // time and found there.
    std::vector<LocalRow> committed;
    bool stop = false;
    const auto noteCommitted = [&]() {
        if (committed.empty()) {
            return true;
        }
        QList<SentVersion> sent;
        for (const LocalRow& row : committed) {
            sent.append({row.values[uuid].toString(), row.values[version].toInt()});
        }
        committed.clear();
        const QString markError = markVersionsSent(local, serverUuid, sent);
        if (!markError.isEmpty()) {
            result.error = QStringLiteral("local archive: ") + markError;
            return false;
        }
        stop = progress && !progress(result);
        return true;
    };
    std::vector<LocalRow> rows = nextVersions(local, serverUuid, 0, &result.error);
    while (result.error.isEmpty() && !rows.empty()) {
        int stored = 0;
        std::vector<LocalRow> next;
        QString readError;
        bool noted = true;
        const qint64 after = rows.back().rowid;
        const auto readNext = [&] { next = nextVersions(local, serverUuid, after, &readError); };
        if (!server.transaction()) {
            result.error = serverReason(server.lastError());
            return false;
        }
        const bool inserted = copied ? copied->store(rows, &stored, &result.error,
                                                     [&] {
                                                         noted = noteCommitted();
                                                         if (noted && !stop) {
                                                             readNext();
                                                         }
                                                     })
                                     : storeBatch(statements, rows, laptopUuid,
                                                  source.workingFolder, &stored, &result.error);
        // Told to stop, or the last batch's marks not written: this one is left uncommitted
        // (offered again next time).
        if (!inserted || !noted || stop || !server.commit()) {
            if (result.error.isEmpty() && !stop) {
                result.error = serverReason(server.lastError());
            }
            server.rollback();
            return stop && noted && result.error.isEmpty();
        }
        result.sent += stored;
        result.alreadyThere += static_cast<int>(rows.size()) - stored;
        committed = std::move(rows);
        if (!copied) {
            if (!noteCommitted()) {
                return false;
            }
            if (stop) {
                return true;
            }
            readNext();
        }
        result.error = readError;
        rows = std::move(next);
    }
    // The last batch's marks, and the last report.
    return noteCommitted() && result.error.isEmpty();
}

bool sendSavedIn(QSqlDatabase& local, QSqlDatabase& server, const QString& serverUuid,
                 SyncResult& result) {
    BatchStatement notes(server, [](qsizetype rows) {
        return multiRowInsert(
            QStringLiteral("saved_in"),
            {QStringLiteral("uuid"), QStringLiteral("version"), QStringLiteral("path"),
             QStringLiteral("file_name"), QStringLiteral("saved_at")},
            rows, QStringLiteral(" ON CONFLICT DO NOTHING"));
    });
    // A record file's name joins the words a version is found by: the server's copy of those
    // words follows the local one (the same for every note of one version).
    BatchStatement words(server, [](qsizetype rows) {
        QStringList all;
        all.fill(QStringLiteral("(?::text, ?::integer, ?::text)"), rows);
        return QStringLiteral(
                   "UPDATE record_versions AS v SET search_text = x.search_text"
                   " FROM (VALUES %1) AS x (uuid, version, search_text)"
                   " WHERE v.uuid = x.uuid AND v.version = x.version")
            .arg(all.join(QStringLiteral(", ")));
    });
    qint64 after = 0;
    for (;;) {
        const std::vector<LocalRow> rows = nextSavedIn(local, serverUuid, after, &result.error);
        if (!result.error.isEmpty()) {
            return false;
        }
        if (rows.empty()) {
            return true;
        }
        std::vector<QVariantList> noteRows;
        std::map<std::pair<QString, int>, QVariantList> wordRows;
        for (const LocalRow& row : rows) {
            noteRows.push_back(row.values.mid(0, 5));
            wordRows[{row.values[0].toString(), row.values[1].toInt()}] = {
                row.values[0], row.values[1], row.values[5]};
        }
        std::vector<QVariantList> wordList;
        for (auto& [key, word] : wordRows) {
            wordList.push_back(std::move(word));
        }
        const bool committed = inServerTransaction(
            server,
            [&] {
                return notes.run(noteRows, &result.error) && words.run(wordList, &result.error);
            },
            &result.error);
        if (!committed) {
            return false;
        }
        QList<SentSavedIn> sent;
        for (const LocalRow& row : rows) {
            sent.append(
                {row.values[0].toString(), row.values[1].toInt(), row.values[2].toString()});
        }
        const QString markError = markSavedInSent(local, serverUuid, sent);
        if (!markError.isEmpty()) {
            result.error = QStringLiteral("local archive: ") + markError;
            return false;
        }
        after = rows.back().rowid;
    }
}

bool noteLaptop(QSqlDatabase& server, const QString& laptopUuid, const SyncSource& source,
                QString* error) {
    QSqlQuery upsert(server);
    upsert.prepare(QStringLiteral(
        "INSERT INTO laptops (laptop_uuid, working_folder, inspector, last_sync, host_name)"
        " VALUES (?, ?, session_user, now(), ?) ON CONFLICT (laptop_uuid) DO UPDATE SET"
        " working_folder = EXCLUDED.working_folder, inspector = EXCLUDED.inspector,"
        " last_sync = EXCLUDED.last_sync, host_name = EXCLUDED.host_name"));
    upsert.addBindValue(laptopUuid);
    upsert.addBindValue(source.workingFolder);
    upsert.addBindValue(QSysInfo::machineHostName());
    if (!upsert.exec()) {
        *error = serverReason(upsert.lastError());
        return false;
    }
    return true;
}

}  // namespace

int versionsWaiting(QSqlDatabase& local, const QString& serverUuid) {
    const int all =
        countOf(local, QStringLiteral("SELECT COUNT(*) FROM record_versions"), QString());
    if (all < 0 || serverUuid.isEmpty()) {
        return all;
    }
    const int sent = countOf(
        local, QStringLiteral("SELECT COUNT(*) FROM sync_sent WHERE server_uuid = ?"), serverUuid);
    return sent < 0 ? all : all - sent;
}

SyncResult syncArchive(QSqlDatabase& local, QSqlDatabase& server, const SyncSource& source,
                       const SyncProgress& progress, SyncRoute route) {
    SyncResult result;
    // The archive's writer owns its schema; only an older file (a laptop's archive synced
    // from the command line) is brought up to date here. Every write lock the sync takes
    // is one the window's writer may have to wait for.
    QString error;
    const int localVersion = schemaVersion(local, &error);
    if (localVersion < 0) {
        result.error = QStringLiteral("local archive: ") + error.simplified();
        return result;
    }
    if (localVersion < kSchemaVersion) {
        const MigrationResult localSchema = migrateSchema(local);
        if (!localSchema.ok) {
            result.error = QStringLiteral("local archive: ") + localSchema.error.simplified();
            return result;
        }
    }
    error = prepareServerSchema(server);
    if (!error.isEmpty()) {
        result.error = error.simplified();
        return result;
    }
    const QString serverUuid = archiveUuid(server);
    const QString laptopUuid = archiveUuid(local);
    if (serverUuid.isEmpty() || laptopUuid.isEmpty()) {
        result.error = QStringLiteral("the archive or the server has no identity");
        return result;
    }
    result.alreadyThere = countOf(
        local, QStringLiteral("SELECT COUNT(*) FROM sync_sent WHERE server_uuid = ?"), serverUuid);
    InspectionSyncResult inspection;
    result.ok =
        noteLaptop(server, laptopUuid, source, &result.error) &&
        sendVersions(local, server, serverUuid, laptopUuid, source, progress, route, result) &&
        sendSavedIn(local, server, serverUuid, result) &&
        sendInspection(local, server, serverUuid, inspection, &result.error);
    result.inspectionSent = inspection.sent;
    result.inspectionAlreadyThere = inspection.alreadyThere;
    result.inspectionConflicts = inspection.conflicts;
    result.waiting = versionsWaiting(local, serverUuid);
    if (result.ok) {
        result.finished = isoWithOffset(QDateTime::currentDateTime());
        // Only the status bar reads this note: a failure to write it loses nothing.
        (void)noteSyncDone(local, serverUuid, source.serverUrl, result.finished);
    }
    return result;
}

}  // namespace trellicap::archive
