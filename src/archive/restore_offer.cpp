#include "archive/restore_offer.h"

#include <QFileInfo>
#include <QLocale>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <map>

#include "archive/kept_read.h"
#include "archive/record_codes.h"
#include "record/profile_text.h"

namespace trellicap::archive {

namespace {

// A row of run_slots with its version's model and values, checked before it is offered.
std::optional<RestoreItem> checkedItem(const QSqlQuery& row, const ModelProfile& profile,
                                       QStringList* refused) {
    RestoreItem item;
    item.slot = row.value(0).toInt();
    item.uuid = row.value(1).toString();
    item.version = row.value(2).toInt();
    item.arrived = QDateTime::fromMSecsSinceEpoch(row.value(4).toLongLong());
    std::optional<std::vector<RecordValue>> values;
    if (const auto encoded = unpackValues(row.value(5).toByteArray(), row.value(6).toInt());
        encoded && encoded->size() % 2 == 0) {
        values = decodeRecord(*encoded, static_cast<int>(encoded->size() / 2));
    }
    const QString refusal =
        keptRefusal(item.uuid, item.version, item.slot, row.value(7).toString(), values, profile);
    if (!refusal.isEmpty()) {
        if (!refused->contains(sentence(refusal))) {
            refused->append(sentence(refusal));
        }
        return std::nullopt;
    }
    item.values = std::move(*values);
    return item;
}

// The file the run had open, with the slots it still held as the file holds them.
std::optional<RestoreFile> runFile(QSqlDatabase& db, const QString& run,
                                   const ModelProfile& profile, QStringList* refused) {
    QSqlQuery file(db);
    file.prepare(QStringLiteral("SELECT path, size, content_hash FROM run_files WHERE run_id = ?"));
    file.addBindValue(run);
    if (!file.exec() || !file.next()) {
        return std::nullopt;
    }
    RestoreFile restore;
    restore.path = file.value(0).toString();
    restore.size = file.value(1).toLongLong();
    restore.hash = file.value(2).toString();

    QSqlQuery slotRows(db);
    slotRows.prepare(QStringLiteral(
        "SELECT s.slot, s.uuid, s.version, s.run_id, v.arrived_ms, c.codes, c.packing, v.model,"
        " s.unsaved FROM run_slots s"
        " JOIN record_versions v ON v.uuid = s.uuid AND v.version = s.version"
        " JOIN record_values c ON c.uuid = s.uuid AND c.version = s.version"
        " WHERE s.run_id = ? ORDER BY s.slot"));
    slotRows.addBindValue(run);
    std::vector<bool> changed(kSlotCount + 1, false);
    if (slotRows.exec()) {
        while (slotRows.next()) {
            const int slot = slotRows.value(0).toInt();
            if (slotRows.value(8).toInt() != 0) {
                if (slot >= 1 && slot <= kSlotCount) {
                    changed[static_cast<std::size_t>(slot)] = true;
                }
                continue;
            }
            if (auto item = checkedItem(slotRows, profile, refused)) {
                restore.kept.push_back(std::move(*item));
            }
        }
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (!changed[static_cast<std::size_t>(slot)]) {
            restore.unchangedSlots.push_back(slot);
        }
    }
    return restore;
}

}  // namespace

RestoreOffer findRestoreOffer(QSqlDatabase& db, const ModelProfile& profile,
                              const QString& currentRun) {
    RestoreOffer offer;
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "SELECT s.slot, s.uuid, s.version, s.run_id, v.arrived_ms, c.codes, c.packing, v.model"
        " FROM run_slots s JOIN runs r ON r.run_id = s.run_id"
        " JOIN record_versions v ON v.uuid = s.uuid AND v.version = s.version"
        " JOIN record_values c ON c.uuid = s.uuid AND c.version = s.version"
        " WHERE r.model = ? AND r.ended_cleanly = 0 AND r.offered = 0 AND r.run_id <> ?"
        " AND s.unsaved = 1 ORDER BY r.started_ms"));
    query.addBindValue(qs(profile.modelKey));
    query.addBindValue(currentRun);
    if (!query.exec()) {
        return offer;
    }
    // Runs in start order: a later run's record of a slot replaces an earlier one's.
    std::map<int, RestoreItem> bySlot;
    while (query.next()) {
        const QString run = query.value(3).toString();
        if (!offer.runIds.contains(run)) {
            offer.runIds.append(run);
        }
        if (auto item = checkedItem(query, profile, &offer.refused)) {
            bySlot[item->slot] = std::move(*item);
        }
    }
    for (auto& [slot, item] : bySlot) {
        offer.items.push_back(std::move(item));
    }
    if (!offer.runIds.isEmpty()) {
        offer.file = runFile(db, offer.runIds.back(), profile, &offer.refused);
    }
    return offer;
}

bool fileUnchanged(const RestoreFile& file, QString* why) {
    const auto say = [why](const QString& text) {
        if (why) {
            *why = text;
        }
        return false;
    };
    if (!QFileInfo::exists(file.path)) {
        return say(QStringLiteral("%1 is gone").arg(file.path));
    }
    const RecordFileFacts now = recordFileFacts(file.path);
    if (!now.known()) {
        return say(QStringLiteral("%1 cannot be read").arg(file.path));
    }
    if (now.size != file.size || now.hash != file.hash) {
        return say(QStringLiteral("%1 was changed since").arg(file.path));
    }
    return true;
}

QString restoreNoticeText(const RestoreOffer& offer) {
    if (offer.empty()) {
        return {};
    }
    const auto first = std::min_element(
        offer.items.begin(), offer.items.end(),
        [](const RestoreItem& a, const RestoreItem& b) { return a.arrived < b.arrived; });
    const QString when = QLocale(QLocale::English, QLocale::UnitedStates)
                             .toString(first->arrived.toLocalTime(), QStringLiteral("dddd HH:mm"));
    const auto count = offer.items.size();
    return QStringLiteral("%1 %2 captured on %3 %4 not saved to a record file.")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("record") : QStringLiteral("records"))
        .arg(when)
        .arg(count == 1 ? QStringLiteral("was") : QStringLiteral("were"));
}

}  // namespace trellicap::archive
