#include "shell/compare/archive_reference.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace trellicap {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ArchiveReference", text);
}

QString modelKeyOf(const ModelProfile& profile) {
    return QString::fromLatin1(profile.modelKey.data(),
                               static_cast<qsizetype>(profile.modelKey.size()));
}

// The first block of the UUID: enough to tell records apart at a glance.
QString shortUuid(const QString& uuid) {
    QString bare = uuid;
    bare.remove(QLatin1Char('{'));
    return bare.section(QLatin1Char('-'), 0, 0);
}

// "2026-12-08T14:02:11+01:00" -> "2026-12-08 14:02": the local time as it was kept.
QString shortArrival(const QString& arrived) {
    return arrived.left(16).replace(QLatin1Char('T'), QLatin1Char(' '));
}

QString headerLine(const QString& json) {
    QStringList texts;
    for (const auto& [name, text] : archive::headerFromJson(json)) {
        if (!text.trimmed().isEmpty()) {
            texts.append(text.trimmed());
        }
    }
    return texts.join(QStringLiteral(", "));
}

}  // namespace

ArchiveReading::ArchiveReading(const QString& path)
    : m_connection(QStringLiteral("trellicap-compare-") + QUuid::createUuid().toString()) {
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!QFileInfo::exists(path)) {
        m_problem = tr("There is no archive at %1.").arg(path);
        return;
    }
    m_db.setDatabaseName(path);
    // Read only, and a short wait for a writer's lock so that the window never freezes.
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=250"));
    if (!m_db.open()) {
        m_problem = tr("The archive %1 cannot be read: %2").arg(path, m_db.lastError().text());
        return;
    }
    // SQLite opens any file; the first read tells whether it is an archive.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT 1 FROM record_versions LIMIT 1"))) {
        m_problem = tr("The archive %1 cannot be read: %2").arg(path, probe.lastError().text());
    }
}

ArchiveReading::~ArchiveReading() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

std::vector<ArchiveChoice> archiveChoices(const QString& archivePath, const QString& modelKey,
                                          const QString& text, std::optional<int> slot, int limit,
                                          QString* problem) {
    std::vector<ArchiveChoice> choices;
    ArchiveReading reading(archivePath);
    if (!reading.problem().isEmpty()) {
        *problem = reading.problem();
        return choices;
    }
    archive::SearchFilter filter;
    filter.text = text.trimmed();
    filter.slot = slot;
    filter.model = modelKey;
    const archive::SearchQuery search = archive::searchQuery(filter);
    QSqlQuery query(reading.db());
    query.setForwardOnly(true);
    // A short list to choose from: the archive may hold 100,000 records.
    query.prepare(search.sql + QStringLiteral(" LIMIT ?"));
    for (const QVariant& value : search.values) {
        query.addBindValue(value);
    }
    query.addBindValue(limit);
    if (!query.exec()) {
        *problem =
            tr("The archive %1 cannot be read: %2").arg(archivePath, query.lastError().text());
        return choices;
    }
    while (query.next()) {
        const auto at = [&query](archive::SearchColumn column) {
            return query.value(column).toString();
        };
        QStringList parts{QStringLiteral("Mem %1").arg(query.value(archive::kColSlot).toInt()),
                          shortArrival(at(archive::kColArrived)), at(archive::kColSource)};
        if (!at(archive::kColPath).isEmpty()) {
            parts.append(QFileInfo(at(archive::kColPath)).fileName());
        }
        parts.append(shortUuid(at(archive::kColUuid)));
        const QString header = headerLine(at(archive::kColHeader));
        if (!header.isEmpty()) {
            parts.append(header);
        }
        choices.push_back({at(archive::kColUuid), parts.join(QStringLiteral("  "))});
    }
    return choices;
}

QString archiveReferenceName(const archive::KeptVersion& kept) {
    const QString where =
        kept.path.isEmpty() ? shortArrival(kept.arrived) : QFileInfo(kept.path).fileName();
    return QStringLiteral("Archive Mem %1 (%2 v%3, %4)")
        .arg(kept.slot)
        .arg(shortUuid(kept.uuid))
        .arg(kept.version)
        .arg(where);
}

std::variant<ReferenceTrace, UserMessage> referenceFromArchive(const ModelProfile& profile,
                                                               QSqlDatabase& db,
                                                               const QString& uuid) {
    const QString title = tr("Compare with");
    const auto kept = archive::newestVersion(db, uuid);
    if (!kept) {
        return UserMessage(title, tr("The archive holds no record %1.").arg(shortUuid(uuid)));
    }
    if (kept->model != modelKeyOf(profile)) {
        return UserMessage(
            title, tr("The archive record %1 is of the %2 model; this program "
                      "compares %3 records.")
                       .arg(shortUuid(uuid), kept->model.toUpper(), modelKeyOf(profile).toUpper()));
    }
    const auto values = archive::keptValues(db, kept->uuid, kept->version, profile.recordSize());
    if (!values) {
        return UserMessage(title,
                           tr("The values of the archive record %1 are missing or incomplete.")
                               .arg(shortUuid(uuid)));
    }
    return referenceFromRecord(profile, archiveReferenceName(*kept), *values);
}

std::variant<ReferenceTrace, UserMessage> referenceFromArchiveFile(const ModelProfile& profile,
                                                                   const QString& archivePath,
                                                                   const QString& uuid) {
    ArchiveReading reading(archivePath);
    if (!reading.problem().isEmpty()) {
        return UserMessage(tr("Compare with"), reading.problem());
    }
    return referenceFromArchive(profile, reading.db(), uuid);
}

}  // namespace trellicap
