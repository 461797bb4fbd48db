#include "archive/archive_writer.h"

#include <QFileInfo>
#include <QSqlError>
#include <QUuid>
#include <QVariant>
#include <limits>

#include "archive/record_codes.h"
#include "archive/record_facts.h"
#include "archive/sqlite_direct.h"
#include "archive/version_columns.h"
#include "record/profile_text.h"

namespace trellicap::archive {

namespace {

// The statements the writer runs, each prepared once per connection.
enum Statement : int {
    kStartRun,
    kSameValues,
    kNoteArrival,
    kHeldBySlot,
    kInsertVersion,  // made from the column table
    kInsertValues,
    kNoteRecord,
    kNoteRunSlot,
    kForgetRunSlots,
    kHeldVersions,
    kKnownSavedIn,
    kNoteSavedIn,
    kAddFileName,
    kAllSaved,
    kEndRun,
    kMarkOffered,
    kNoteRunFile,
    kForgetRunFile,
    kBegin,   // on SQLite's own API; through Qt Sql, QSqlDatabase::transaction()
    kCommit,  // and commit()
    kStatementCount,
};

// In Statement order.
constexpr const char* kSql[] = {
    "INSERT INTO runs (run_id, model, started, started_ms, ended_cleanly, offered)"
    " VALUES (?, ?, ?, ?, 0, 0) ON CONFLICT (run_id) DO NOTHING",
    // The first arrival of the values, by min() rather than ORDER BY ... LIMIT 1, which made
    // SQLite open a temporary sorter for every capture; the row's other columns are those of
    // the row that holds the minimum (none match: one row of NULLs).
    "SELECT uuid, version, min(arrived_ms) FROM record_versions"
    " WHERE model = ? AND slot = ? AND content_hash = ?",
    "INSERT INTO arrivals (uuid, version, source, source_path, arrived, arrived_ms, run_id)"
    " VALUES (?, ?, ?, ?, ?, ?, ?)",
    "SELECT s.uuid, r.latest_version, v.source_path"
    " FROM run_slots s JOIN records r ON r.uuid = s.uuid"
    " JOIN record_versions v ON v.uuid = s.uuid AND v.version = s.version"
    " WHERE s.run_id = ? AND s.slot = ?",
    nullptr,
    "INSERT INTO record_values (uuid, version, codes, packing) VALUES (?, ?, ?, ?)",
    "INSERT INTO records (uuid, model, slot, latest_version) VALUES (?, ?, ?, ?)"
    " ON CONFLICT (uuid) DO UPDATE SET latest_version = excluded.latest_version",
    "INSERT INTO run_slots (run_id, slot, uuid, version, unsaved) VALUES (?, ?, ?, ?, ?)"
    " ON CONFLICT (run_id, slot) DO UPDATE SET uuid = excluded.uuid,"
    " version = excluded.version, unsaved = excluded.unsaved",
    "DELETE FROM run_slots WHERE run_id = ?",
    "SELECT s.uuid, s.version, v.search_text FROM run_slots s"
    " JOIN record_versions v ON v.uuid = s.uuid AND v.version = s.version WHERE s.run_id = ?",
    "SELECT 1 FROM saved_in WHERE uuid = ? AND version = ? AND path = ?",
    "INSERT INTO saved_in (uuid, version, path, file_name, saved_at) VALUES (?, ?, ?, ?, ?)",
    "UPDATE record_versions SET search_text = ? WHERE uuid = ? AND version = ?",
    "UPDATE run_slots SET unsaved = 0 WHERE run_id = ?",
    "UPDATE runs SET ended_cleanly = 1 WHERE run_id = ?",
    "UPDATE runs SET offered = 1 WHERE run_id = ?",
    "INSERT INTO run_files (run_id, path, size, content_hash) VALUES (?, ?, ?, ?)"
    " ON CONFLICT (run_id) DO UPDATE SET path = excluded.path, size = excluded.size,"
    " content_hash = excluded.content_hash",
    "DELETE FROM run_files WHERE run_id = ?",
    "BEGIN",
    "COMMIT",
};
static_assert(std::size(kSql) == kStatementCount);
static_assert(kStatementCount <= 20, "ArchiveWriter::kStatementSlots holds every statement");

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

}  // namespace

// A statement prepared on the connection, on SQLite's own API or through Qt Sql.
struct ArchiveWriter::Prepared {
    std::unique_ptr<DirectStatement> direct;
    std::unique_ptr<QSqlQuery> qt;
};

// One transaction: the statements run until the first failure, whose error is kept.
struct ArchiveWriter::Step {
    ArchiveWriter& writer;
    QSqlDatabase& db;
    std::optional<QSqlError> error;

    // The statement of that kind, prepared on first use; null after a failure.
    Prepared* prepared(int statement) {
        auto& held = writer.m_statements[static_cast<std::size_t>(statement)];
        if (!held) {
            const QString sql = statement == kInsertVersion ? insertVersionSql()
                                                            : QString::fromLatin1(kSql[statement]);
            auto made = std::make_unique<Prepared>();
            if (writer.m_direct) {
                QSqlError refused;
                made->direct = writer.m_direct->prepare(sql, &refused);
                if (!made->direct) {
                    error = refused;
                    return nullptr;
                }
            } else {
                made->qt = std::make_unique<QSqlQuery>(db);
                if (!made->qt->prepare(sql)) {
                    error = made->qt->lastError();
                    return nullptr;
                }
            }
            held = std::move(made);
        }
        return held.get();
    }

    // Runs the statement; with `rows`, keeps at most `most` of them (their first `columns`
    // columns). False after a failure, now or before.
    bool run(int statement, const QVariantList& values, std::vector<QVariantList>* rows = nullptr,
             int columns = 0, std::size_t most = std::numeric_limits<std::size_t>::max()) {
        if (error) {
            return false;
        }
        Prepared* held = prepared(statement);
        if (!held) {
            return false;
        }
        if (held->direct) {
            QSqlError failed;
            if (!held->direct->run(values, &failed, rows, columns, most)) {
                error = failed;
                return false;
            }
            return true;
        }
        QSqlQuery& query = *held->qt;
        for (qsizetype i = 0; i < values.size(); ++i) {
            query.bindValue(static_cast<int>(i), values[i]);
        }
        if (!query.exec()) {
            error = query.lastError();
            return false;
        }
        if (rows) {
            while (rows->size() < most && query.next()) {
                QVariantList row;
                for (int i = 0; i < columns; ++i) {
                    row.append(query.value(i));
                }
                rows->push_back(std::move(row));
            }
            query.finish();
        }
        return true;
    }

    // The first row of a SELECT (empty when there is none).
    QVariantList first(int statement, const QVariantList& values, int columns) {
        std::vector<QVariantList> rows;
        run(statement, values, &rows, columns, 1);
        return rows.empty() ? QVariantList() : std::move(rows.front());
    }
};

ArchiveWriter::ArchiveWriter(const ModelProfile& profile, QString runId, WriterRoute route)
    : m_profile(profile),
      m_runId(std::move(runId)),
      m_model(latin1(profile.modelKey)),
      m_route(route) {}

ArchiveWriter::~ArchiveWriter() {
    forgetStatements();
}

void ArchiveWriter::forgetStatements() {
    for (auto& statement : m_statements) {
        statement.reset();
    }
    m_direct.reset();
    m_connection.clear();
}

std::optional<ArchiveFailure> ArchiveWriter::apply(QSqlDatabase& db, const ArchiveEvent& event) {
    if (m_connection != db.connectionName() || (m_direct && !m_direct->isHandleOf(db))) {
        forgetStatements();
        m_connection = db.connectionName();
        if (m_route == WriterRoute::Fastest) {
            m_direct = DirectSqlite::attach(db);
        }
    }
    Step step{*this, db, std::nullopt};
    if (m_direct ? !step.run(kBegin, {}) : !db.transaction()) {
        const QSqlError refused = step.error.value_or(db.lastError());
        forgetStatements();
        return classifyFailure(refused);
    }
    switch (event.kind) {
        case ArchiveEvent::Kind::StartRun:
            startRun(step, event);
            break;
        case ArchiveEvent::Kind::Keep:
            keep(step, event, event.record, event.source, event.path, true);
            break;
        case ArchiveEvent::Kind::HeaderStore:
            keep(step, event, event.record, Source::Edit, {}, true);
            break;
        case ArchiveEvent::Kind::Load:
            // The load replaced every slot: the run's slots are the file's, all saved there.
            step.run(kForgetRunSlots, {m_runId});
            for (const SlotValues& slot : event.loaded) {
                keep(step, event, slot, Source::File, event.path, false);
            }
            noteFile(step, event.file);
            break;
        case ArchiveEvent::Kind::Saved:
            saved(step, event);
            break;
        case ArchiveEvent::Kind::EndRun:
            step.run(kEndRun, {m_runId});
            break;
        case ArchiveEvent::Kind::MarkOffered:
            for (const QString& run : event.runIds) {
                step.run(kMarkOffered, {run});
            }
            break;
        case ArchiveEvent::Kind::Cleared:
            // A fresh table: nothing of it is unsaved, no version is in it, no file is it.
            step.run(kForgetRunSlots, {m_runId});
            step.run(kForgetRunFile, {m_runId});
            break;
    }
    if (m_direct) {
        step.run(kCommit, {});
    } else if (!step.error && !db.commit()) {
        step.error = db.lastError();
    }
    if (step.error) {
        db.rollback();
        // A failed statement may have left the connection behind it (closed, reopened).
        forgetStatements();
        return classifyFailure(*step.error);
    }
    return std::nullopt;
}

void ArchiveWriter::startRun(Step& step, const ArchiveEvent& event) {
    step.run(kStartRun,
             {m_runId, m_model, isoWithOffset(event.arrived), event.arrived.toMSecsSinceEpoch()});
}

void ArchiveWriter::keep(Step& step, const ArchiveEvent& event, const SlotValues& record,
                         Source source, const QString& path, bool unsaved) {
    const QByteArray codes = encodeRecord(record.values);
    const QString hash = contentHash(m_profile.modelKey, record.slot, codes);
    const QString arrived = isoWithOffset(event.arrived);
    const qint64 arrivedMs = event.arrived.toMSecsSinceEpoch();

    QString uuid;
    int version = 0;
    const QVariantList same = step.first(kSameValues, {m_model, record.slot, hash}, 2);
    if (!same.isEmpty() && !same[0].isNull()) {
        // Values kept before: note the arrival, store nothing again.
        uuid = same[0].toString();
        version = same[1].toInt();
        step.run(kNoteArrival, {uuid, version, sourceName(source), textOrNull(path), arrived,
                                arrivedMs, m_runId});
    } else {
        QString storedPath = path;
        if (source == Source::Edit) {
            // A header store is the next version of the record the slot holds; it keeps the
            // record file that record came from.
            const QVariantList held = step.first(kHeldBySlot, {m_runId, record.slot}, 3);
            if (!held.isEmpty()) {
                uuid = held[0].toString();
                version = held[1].toInt() + 1;
                storedPath = held[2].toString();
            }
        }
        if (uuid.isEmpty()) {
            uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
            version = 1;
        }
        const RecordFacts facts = recordFacts(m_profile, record.values);
        QStringList fileNames;
        if (!storedPath.isEmpty()) {
            fileNames.append(QFileInfo(storedPath).fileName().toLower());
        }
        KeptVersion kept;
        kept.uuid = uuid;
        kept.version = version;
        kept.model = m_model;
        kept.slot = record.slot;
        kept.source = sourceName(source);
        kept.path = storedPath;
        kept.arrived = arrived;
        kept.arrivedMs = arrivedMs;
        kept.timeDate = facts.timeDate;
        kept.header = facts.header;
        kept.range = facts.range;
        kept.delay = facts.delay;
        kept.gain = facts.gain;
        kept.gate1 = facts.gate1;
        kept.gate2 = facts.gate2;
        kept.contentHash = hash;
        kept.searchText = searchText(facts, fileNames);
        step.run(kInsertVersion, storedValues(kept));
        const PackedValues packed = packValues(codes);
        step.run(kInsertValues, {uuid, version, packed.bytes, static_cast<int>(packed.packing)});
        step.run(kNoteRecord, {uuid, m_model, record.slot, version});
    }
    step.run(kNoteRunSlot, {m_runId, record.slot, uuid, version, unsaved ? 1 : 0});
}

void ArchiveWriter::saved(Step& step, const ArchiveEvent& event) {
    const QString fileName = QFileInfo(event.path).fileName().toLower();
    struct Held {
        QString uuid;
        int version;
        QString searchText;
    };
    std::vector<Held> versions;
    std::vector<QVariantList> rows;
    step.run(kHeldVersions, {m_runId}, &rows, 3);
    for (const QVariantList& row : rows) {
        versions.push_back({row[0].toString(), row[1].toInt(), row[2].toString()});
    }
    const QString savedAt = isoWithOffset(event.arrived);
    for (const Held& version : versions) {
        if (!step.first(kKnownSavedIn, {version.uuid, version.version, event.path}, 1).isEmpty()) {
            continue;
        }
        step.run(kNoteSavedIn, {version.uuid, version.version, event.path, fileName, savedAt});
        // The file's name joins what a free-text search finds the version by.
        step.run(kAddFileName, {version.searchText + kSearchTextSeparator + fileName, version.uuid,
                                version.version});
    }
    step.run(kAllSaved, {m_runId});
    noteFile(step, event.file);
}

void ArchiveWriter::noteFile(Step& step, const RecordFileFacts& file) {
    if (file.known()) {
        step.run(kNoteRunFile, {m_runId, file.path, file.size, file.hash});
    } else {
        step.run(kForgetRunFile, {m_runId});
    }
}

}  // namespace trellicap::archive
