#include "archive/archive_writer.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include "archive/record_codes.h"
#include "archive/record_facts.h"

namespace trellicap::archive {

// One transaction: the statements run until the first failure, whose error is kept.
struct ArchiveWriter::Step {
    QSqlDatabase& db;
    std::optional<QSqlError> error;

    QSqlQuery run(const QString& sql, const QVariantList& values = {}) {
        QSqlQuery query(db);
        if (error) {
            return query;
        }
        if (!query.prepare(sql)) {
            error = query.lastError();
            return query;
        }
        for (const QVariant& value : values) {
            query.addBindValue(value);
        }
        if (!query.exec()) {
            error = query.lastError();
        }
        return query;
    }
};

namespace {

QString latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// [["txtopname", "J. Smith"], ...]: pairs, so the profile's order of the boxes stays.
QString headerJson(const RecordFacts& facts) {
    QJsonArray header;
    for (const auto& [name, text] : facts.header) {
        header.append(QJsonArray{name, text});
    }
    return QString::fromUtf8(QJsonDocument(header).toJson(QJsonDocument::Compact));
}

// Qt binds a null QString as NULL; an empty text is still a text.
QString text(const QString& value) {
    return value.isNull() ? QStringLiteral("") : value;
}

}  // namespace

ArchiveWriter::ArchiveWriter(const ModelProfile& profile, QString runId)
    : m_profile(profile), m_runId(std::move(runId)) {}

std::optional<ArchiveFailure> ArchiveWriter::apply(QSqlDatabase& db, const ArchiveEvent& event) {
    if (!db.transaction()) {
        return classifyFailure(db.lastError());
    }
    Step step{db, std::nullopt};
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
            step.run(QStringLiteral("DELETE FROM run_slots WHERE run_id = ?"), {m_runId});
            for (const SlotValues& slot : event.loaded) {
                keep(step, event, slot, Source::File, event.path, false);
            }
            break;
        case ArchiveEvent::Kind::Saved:
            saved(step, event);
            break;
        case ArchiveEvent::Kind::EndRun:
            step.run(QStringLiteral("UPDATE runs SET ended_cleanly = 1 WHERE run_id = ?"),
                     {m_runId});
            break;
        case ArchiveEvent::Kind::MarkOffered:
            for (const QString& run : event.runIds) {
                step.run(QStringLiteral("UPDATE runs SET offered = 1 WHERE run_id = ?"), {run});
            }
            break;
    }
    if (!step.error && !db.commit()) {
        step.error = db.lastError();
    }
    if (step.error) {
        db.rollback();
        return classifyFailure(*step.error);
    }
    return std::nullopt;
}

void ArchiveWriter::startRun(Step& step, const ArchiveEvent& event) {
    step.run(QStringLiteral("INSERT INTO runs (run_id, model, started, started_ms, ended_cleanly,"
                            " offered) VALUES (?, ?, ?, ?, 0, 0) ON CONFLICT (run_id) DO NOTHING"),
             {m_runId, latin1(m_profile.modelKey), isoWithOffset(event.arrived),
              event.arrived.toMSecsSinceEpoch()});
}

void ArchiveWriter::keep(Step& step, const ArchiveEvent& event, const SlotValues& record,
                         Source source, const QString& path, bool unsaved) {
    const QString model = latin1(m_profile.modelKey);
    const QByteArray codes = encodeRecord(record.values);
    const QString hash = contentHash(m_profile.modelKey, record.slot, codes);
    const QString arrived = isoWithOffset(event.arrived);
    const qint64 arrivedMs = event.arrived.toMSecsSinceEpoch();

    QString uuid;
    int version = 0;
    QSqlQuery same = step.run(QStringLiteral("SELECT uuid, version FROM record_versions"
                                             " WHERE model = ? AND slot = ? AND content_hash = ?"
                                             " ORDER BY arrived_ms LIMIT 1"),
                              {model, record.slot, hash});
    if (same.next()) {
        // Values kept before: note the arrival, store nothing again.
        uuid = same.value(0).toString();
        version = same.value(1).toInt();
        step.run(QStringLiteral("INSERT INTO arrivals (uuid, version, source, source_path,"
                                " arrived, arrived_ms, run_id) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 {uuid, version, sourceName(source), path.isEmpty() ? QVariant() : QVariant(path),
                  arrived, arrivedMs, m_runId});
    } else {
        QString storedPath = path;
        if (source == Source::Edit) {
            // A header store is the next version of the record the slot holds, from where
            // that record came.
            QSqlQuery held =
                step.run(QStringLiteral(
                             "SELECT s.uuid, r.latest_version, v.source, v.source_path"
                             " FROM run_slots s JOIN records r ON r.uuid = s.uuid"
                             " JOIN record_versions v ON v.uuid = s.uuid AND v.version = s.version"
                             " WHERE s.run_id = ? AND s.slot = ?"),
                         {m_runId, record.slot});
            if (held.next()) {
                uuid = held.value(0).toString();
                version = held.value(1).toInt() + 1;
                const QString heldSource = held.value(2).toString();
                storedPath = held.value(3).toString();
                for (Source known : {Source::Capture, Source::Unsolicited, Source::File,
                                     Source::Restore, Source::Edit}) {
                    if (sourceName(known) == heldSource) {
                        source = known;
                    }
                }
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
        step.run(QStringLiteral("INSERT INTO record_versions (uuid, version, model, slot, source,"
                                " source_path, arrived, arrived_ms, time_date, content_hash,"
                                " header_json, range_text, delay_text, gain_text, gate1_text,"
                                " gate2_text, search_text)"
                                " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {uuid, version, model, record.slot, sourceName(source),
                  storedPath.isEmpty() ? QVariant() : QVariant(storedPath), arrived, arrivedMs,
                  text(facts.timeDate), hash, headerJson(facts), text(facts.range),
                  text(facts.delay), text(facts.gain), text(facts.gate1), text(facts.gate2),
                  text(searchText(facts, fileNames))});
        step.run(
            QStringLiteral("INSERT INTO record_values (uuid, version, codes) VALUES (?, ?, ?)"),
            {uuid, version, codes});
        step.run(QStringLiteral("INSERT INTO records (uuid, model, slot, latest_version)"
                                " VALUES (?, ?, ?, ?) ON CONFLICT (uuid) DO UPDATE"
                                " SET latest_version = excluded.latest_version"),
                 {uuid, model, record.slot, version});
    }
    step.run(QStringLiteral("INSERT INTO run_slots (run_id, slot, uuid, version, unsaved)"
                            " VALUES (?, ?, ?, ?, ?) ON CONFLICT (run_id, slot) DO UPDATE"
                            " SET uuid = excluded.uuid, version = excluded.version,"
                            " unsaved = excluded.unsaved"),
             {m_runId, record.slot, uuid, version, unsaved ? 1 : 0});
}

void ArchiveWriter::saved(Step& step, const ArchiveEvent& event) {
    const QString fileName = QFileInfo(event.path).fileName().toLower();
    QSqlQuery held = step.run(
        QStringLiteral("SELECT s.uuid, s.version, v.search_text FROM run_slots s"
                       " JOIN record_versions v ON v.uuid = s.uuid AND v.version = s.version"
                       " WHERE s.run_id = ?"),
        {m_runId});
    struct Held {
        QString uuid;
        int version;
        QString searchText;
    };
    std::vector<Held> versions;
    while (held.next()) {
        versions.push_back(
            {held.value(0).toString(), held.value(1).toInt(), held.value(2).toString()});
    }
    for (const Held& version : versions) {
        QSqlQuery known = step.run(QStringLiteral("SELECT 1 FROM saved_in WHERE uuid = ? AND"
                                                  " version = ? AND path = ?"),
                                   {version.uuid, version.version, event.path});
        if (known.next()) {
            continue;
        }
        step.run(
            QStringLiteral("INSERT INTO saved_in (uuid, version, path, file_name, saved_at)"
                           " VALUES (?, ?, ?, ?, ?)"),
            {version.uuid, version.version, event.path, fileName, isoWithOffset(event.arrived)});
        // The file's name joins what a free-text search finds the version by.
        step.run(QStringLiteral("UPDATE record_versions SET search_text = ? WHERE uuid = ? AND"
                                " version = ?"),
                 {version.searchText + QChar(0x1F) + fileName, version.uuid, version.version});
    }
    step.run(QStringLiteral("UPDATE run_slots SET unsaved = 0 WHERE run_id = ?"), {m_runId});
}

}  // namespace trellicap::archive
