#include "archive/restore_offer.h"

#include <QLocale>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <map>

#include "archive/record_codes.h"

namespace trellicap::archive {

RestoreOffer findRestoreOffer(QSqlDatabase& db, const ModelProfile& profile,
                              const QString& currentRun) {
    RestoreOffer offer;
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "SELECT s.slot, s.uuid, s.version, s.run_id, v.arrived_ms, c.codes"
        " FROM run_slots s JOIN runs r ON r.run_id = s.run_id"
        " JOIN record_versions v ON v.uuid = s.uuid AND v.version = s.version"
        " JOIN record_values c ON c.uuid = s.uuid AND c.version = s.version"
        " WHERE r.model = ? AND r.ended_cleanly = 0 AND r.offered = 0 AND r.run_id <> ?"
        " AND s.unsaved = 1 ORDER BY r.started_ms"));
    query.addBindValue(QString::fromLatin1(profile.modelKey.data(),
                                           static_cast<qsizetype>(profile.modelKey.size())));
    query.addBindValue(currentRun);
    if (!query.exec()) {
        return offer;
    }
    // Runs in start order: a later run's record of a slot replaces an earlier one's.
    std::map<int, RestoreItem> bySlot;
    while (query.next()) {
        auto values = decodeRecord(query.value(5).toByteArray(), profile.recordSize());
        if (!values) {
            continue;
        }
        RestoreItem item;
        item.slot = query.value(0).toInt();
        item.uuid = query.value(1).toString();
        item.version = query.value(2).toInt();
        item.values = std::move(*values);
        item.arrived = QDateTime::fromMSecsSinceEpoch(query.value(4).toLongLong());
        const QString run = query.value(3).toString();
        if (!offer.runIds.contains(run)) {
            offer.runIds.append(run);
        }
        bySlot[item.slot] = std::move(item);
    }
    for (auto& [slot, item] : bySlot) {
        offer.items.push_back(std::move(item));
    }
    return offer;
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
