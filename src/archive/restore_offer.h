// What an earlier run left unsaved: the records captured or edited and not saved into a
// record file when that run ended without its operator's choice (a crash, a kill, a power
// cut), and the record file the run had open with the slots of it that were still the
// file's own. Read at start-up, before this run changes anything.
#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "archive/archive_event.h"
#include "profiles/model_profile.h"

namespace trellicap::archive {

struct RestoreItem {
    int slot = 0;  // 1..200
    QString uuid;
    int version = 0;
    std::vector<RecordValue> values;
    QDateTime arrived;
};

// The record file the newest of the offered runs had open when it ended.
struct RestoreFile {
    QString path;  // absolute
    qint64 size = 0;
    QString hash;  // SHA-256 of its bytes when the run opened or last saved it
    // The slots (1..200, ascending) that still held what the file holds: every slot but the
    // unsaved ones. They come from the file when it is unchanged on the disk, else from
    // `kept`.
    std::vector<int> unchangedSlots;
    // The archive's versions of those slots that held a record (the file's marked slots).
    std::vector<RestoreItem> kept;
};

struct RestoreOffer {
    std::vector<RestoreItem> items;  // the unsaved records, one per slot, in slot order
    QStringList runIds;              // the runs they come from
    std::optional<RestoreFile> file;
    // Kept versions the offer leaves out because they cannot go into a memory table (a slot
    // outside 1..200, another model, the wrong count of values), each naming the record.
    QStringList refused;
    [[nodiscard]] bool empty() const { return items.empty(); }
};

// The newest unsaved record of each slot over the model's runs that neither ended cleanly
// nor were restored already; `currentRun` is left out.
[[nodiscard]] RestoreOffer findRestoreOffer(QSqlDatabase& db, const ModelProfile& profile,
                                            const QString& currentRun);

// Whether the file is on the disk as the run left it (same size, same content hash); when
// not, `why` says how it differs ("it is gone", "it was changed since").
[[nodiscard]] bool fileUnchanged(const RestoreFile& file, QString* why = nullptr);

// "3 records captured on Tuesday 14:02 were not saved to a record file.", from the first
// of them.
[[nodiscard]] QString restoreNoticeText(const RestoreOffer& offer);

}  // namespace trellicap::archive
