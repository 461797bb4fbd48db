#include "shell/compare/archive_reference.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "archive/kept_read.h"
#include "record/profile_text.h"

namespace trellicap {

namespace {

QString trReference(const char* text) {
    return QCoreApplication::translate("ArchiveReference", text);
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

QString headerLine(const std::vector<std::pair<QString, QString>>& header) {
    QStringList texts;
    for (const auto& [name, text] : header) {
        if (!text.trimmed().isEmpty()) {
            texts.append(text.trimmed());
        }
    }
    return texts.join(QStringLiteral(", "));
}

}  // namespace

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
    // A short list to choose from: the archive may hold 100,000 records.
    QString error;
    const auto found =
        archive::searchPage(reading.db(), filter, archive::kColArrivedMs, false, 0, limit, &error);
    if (!error.isEmpty()) {
        *problem = trReference("The archive %1 cannot be read: %2").arg(archivePath, error);
        return choices;
    }
    for (const archive::KeptVersion& kept : found) {
        QStringList parts{QStringLiteral("Mem %1").arg(kept.slot), shortArrival(kept.arrived),
                          kept.source};
        if (!kept.path.isEmpty()) {
            parts.append(QFileInfo(kept.path).fileName());
        }
        parts.append(shortUuid(kept.uuid));
        const QString header = headerLine(kept.header);
        if (!header.isEmpty()) {
            parts.append(header);
        }
        choices.push_back({kept.uuid, parts.join(QStringLiteral("  "))});
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
    const QString title = trReference("Compare with");
    // Checked before it is drawn: slot, model and count of values, the record named.
    archive::KeptRead read = archive::readKeptRecord(db, uuid, 0, profile);
    if (read.otherModel) {
        return UserMessage(
            title, trReference("The archive record %1 is of the %2 model; this program "
                               "compares %3 records.")
                       .arg(shortUuid(uuid), read.model.toUpper(), qs(profile.modelKey).toUpper()));
    }
    if (!read.ok()) {
        return UserMessage(title, archive::sentence(read.refusal));
    }
    return referenceFromRecord(profile, archiveReferenceName(read.record->version),
                               read.record->values);
}

std::variant<ReferenceTrace, UserMessage> referenceFromArchiveFile(const ModelProfile& profile,
                                                                   const QString& archivePath,
                                                                   const QString& uuid) {
    ArchiveReading reading(archivePath);
    if (!reading.problem().isEmpty()) {
        return UserMessage(trReference("Compare with"), reading.problem());
    }
    return referenceFromArchive(profile, reading.db(), uuid);
}

}  // namespace trellicap
