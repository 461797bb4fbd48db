// What an earlier run left unsaved: the records captured or edited and not saved into a
// record file when that run ended without its operator's choice (a crash, a kill, a power
// cut). Read at start-up, before this run changes anything.
#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap::archive {

struct RestoreItem {
    int slot = 0;  // 1..200
    QString uuid;
    int version = 0;
    std::vector<RecordValue> values;
    QDateTime arrived;
};

struct RestoreOffer {
    std::vector<RestoreItem> items;  // one per slot, in slot order
    QStringList runIds;              // the runs they come from
    [[nodiscard]] bool empty() const { return items.empty(); }
};

// The newest unsaved record of each slot over the model's runs that neither ended cleanly
// nor were restored already; `currentRun` is left out.
[[nodiscard]] RestoreOffer findRestoreOffer(QSqlDatabase& db, const ModelProfile& profile,
                                            const QString& currentRun);

// "3 records captured on Tuesday 14:02 were not saved to a record file.", from the first
// of them.
[[nodiscard]] QString restoreNoticeText(const RestoreOffer& offer);

}  // namespace trellicap::archive
