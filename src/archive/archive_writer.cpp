#include "archive/archive_writer.h"

#include <QFileInfo>
#include <QSqlError>
#include <QUuid>
#include <QVariant>

#include "archive/record_codes.h"
#include "archive/record_facts.h"
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
    kStatementCount,
};

// In Statement order.
constexpr const char* kSql[] = {
    "INSERT INTO runs (run_id, model, started, started_ms, ended_cleanly, offered)"
    " VALUES (?, ?, ?, ?, 0, 0) ON CONFLICT (run_id) DO NOTHING",
    "SELECT uuid, version FROM record_versions"
    " WHERE model = ? AND slot = ? AND content_hash = ? ORDER BY arrived_ms LIMIT 1",
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
};
static_assert(std::size(kSql) == kStatementCount);
static_assert(kStatementCount <= 20, "ArchiveWriter::kStatementSlots holds every statement");

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

}  // namespace

// One transaction: the statements run until the first failure, whose error is kept.
struct ArchiveWriter::Step {
    ArchiveWriter& writer;
    QSqlDatabase& db;
    std::optional<QSqlError> error;

    // The statement of that kind, prepared on first use; null after a failure.
    QSqlQuery* run(int statement, const QVariantList& values) {
        if (error) {
            return nullptr;
        }
        auto& held = writer.m_statements[static_cast<std::size_t>(statement)];
        if (!held) {
            auto query = std::make_unique<QSqlQuery>(db);
            const QString sql = statement == kInsertVersion ? insertVersionSql()
                                                            : QString::fromLatin1(kSql[statement]);
            if (!query->prepare(sql)) {
                error = query->lastError();
                return nullptr;
            }
            held = std::move(query);
        }
        QSqlQuery* query = held.get();
        for (qsizetype i = 0; i < values.size(); ++i) {
            query->bindValue(static_cast<int>(i), values[i]);
        }
        if (!query->exec()) {
            error = query->lastError();
            return nullptr;
        }
        return query;
    }

    // Runs a SELECT and reads its first row (empty when there is none).
    QVariantList first(int statement, const QVariantList& values, int columns) {
        QVariantList row;
        if (QSqlQuery* query = run(statement, values)) {
            if (query->next()) {
                for (int i = 0; i < columns; ++i) {
                    row.append(query->value(i));
                }
            }
            query->finish();
        }
        return row;
    }
};

ArchiveWriter::ArchiveWriter(const ModelProfile& profile, QString runId)
    : m_profile(profile), m_runId(std::move(runId)), m_model(latin1(profile.modelKey)) {}

ArchiveWriter::~ArchiveWriter() = default;

void ArchiveWriter::forgetStatements() {
    for (auto& statement : m_statements) {
        statement.reset();
    }
    m_connection.clear();
}

std::optional<ArchiveFailure> ArchiveWriter::apply(QSqlDatabase& db, const ArchiveEvent& event) {
    if (m_connection != db.connectionName()) {
        forgetStatements();
        m_connection = db.connectionName();
    }
    if (!db.transaction()) {
        forgetStatements();
        return classifyFailure(db.lastError());
    }
    Step step{*this, db, std::nullopt};
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
    if (!step.error && !db.commit()) {
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
    if (!same.isEmpty()) {
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
    if (QSqlQuery* held = step.run(kHeldVersions, {m_runId})) {
        while (held->next()) {
            versions.push_back(
                {held->value(0).toString(), held->value(1).toInt(), held->value(2).toString()});
        }
        held->finish();
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
