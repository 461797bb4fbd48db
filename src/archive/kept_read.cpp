#include "archive/kept_read.h"

#include "archive/archive_search.h"
#include "archive/record_codes.h"
#include "record/profile_text.h"

namespace trellicap::archive {

QString keptName(const QString& uuid, int version) {
    return QStringLiteral("%1 version %2").arg(uuid).arg(version);
}

QString keptRefusal(const QString& uuid, int version, int slot, const QString& model,
                    const std::optional<std::vector<RecordValue>>& values,
                    const ModelProfile& profile) {
    const QString name = keptName(uuid, version);
    const QString ours = qs(profile.modelKey);
    if (slot < 1 || slot > kSlotCount) {
        return QStringLiteral("the archive record %1 names slot %2, not one of 1 to %3")
            .arg(name)
            .arg(slot)
            .arg(kSlotCount);
    }
    if (model != ours) {
        return QStringLiteral("the archive record %1 is of the %2 model, not %3")
            .arg(name, model, ours);
    }
    if (!values) {
        return QStringLiteral("the values of the archive record %1 are missing or damaged")
            .arg(name);
    }
    if (values->size() != static_cast<std::size_t>(profile.recordSize())) {
        return QStringLiteral("the archive record %1 holds %2 values where a %3 record holds %4")
            .arg(name)
            .arg(values->size())
            .arg(ours)
            .arg(profile.recordSize());
    }
    return {};
}

KeptRead readKeptRecord(QSqlDatabase& db, const QString& uuid, int version,
                        const ModelProfile& profile) {
    KeptRead read;
    const auto kept = version > 0 ? keptVersion(db, uuid, version) : newestVersion(db, uuid);
    if (!kept) {
        read.refusal = QStringLiteral("the archive holds no record %1")
                           .arg(version > 0 ? keptName(uuid, version) : uuid);
        return read;
    }
    // Read whatever length the blob holds, so that a short record is named as one.
    std::optional<std::vector<RecordValue>> values;
    if (const auto encoded = encodedValues(db, kept->uuid, kept->version);
        encoded && encoded->size() % 2 == 0) {
        values = decodeRecord(*encoded, static_cast<int>(encoded->size() / 2));
    }
    read.refusal = keptRefusal(kept->uuid, kept->version, kept->slot, kept->model, values, profile);
    read.model = kept->model;
    read.otherModel = kept->model != qs(profile.modelKey);
    if (read.refusal.isEmpty()) {
        read.record = KeptRecord{*kept, std::move(*values)};
    }
    return read;
}

QString sentence(const QString& clause) {
    if (clause.isEmpty()) {
        return clause;
    }
    return clause.left(1).toUpper() + clause.mid(1) + QLatin1Char('.');
}

}  // namespace trellicap::archive
