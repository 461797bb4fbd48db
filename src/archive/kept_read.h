// A kept version read back for use: into a memory-table column, a comparison, a restore. A
// record in the archive (or on the team server, written by any laptop, or by hand) is
// refused unless it fits where it goes: its slot 1..200, the model of the program that
// reads it, exactly that model's count of values. The refusal names the record by its UUID
// and version, so that nothing reaches a column unchecked.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <vector>

#include "archive/kept_version.h"
#include "profiles/model_profile.h"

namespace trellicap::archive {

struct KeptRecord {
    KeptVersion version;
    std::vector<RecordValue> values;
};

struct KeptRead {
    std::optional<KeptRecord> record;
    QString refusal;          // why not, naming the record (a clause); empty when read
    QString model;            // the model the archive names for it (when it was found)
    bool otherModel = false;  // refused because it is of another model than the profile's
    [[nodiscard]] bool ok() const { return record.has_value(); }
};

// The version (0: the newest) of the record `uuid`, checked against `profile`.
[[nodiscard]] KeptRead readKeptRecord(QSqlDatabase& db, const QString& uuid, int version,
                                      const ModelProfile& profile);

// Why a version read from the archive cannot go into a memory table of `profile` (a clause:
// "the archive record U version 2 names slot 0, not one of 1 to 200"), or empty when it can: the
// slot, the model and the count of values (`values` when they were read; nothing: they are missing
// or damaged).
[[nodiscard]] QString keptRefusal(const QString& uuid, int version, int slot, const QString& model,
                                  const std::optional<std::vector<RecordValue>>& values,
                                  const ModelProfile& profile);

// "1a2b3c4d-... version 2": how a refusal names a record.
[[nodiscard]] QString keptName(const QString& uuid, int version);

// A clause as a sentence of its own: "The archive record ... 200."
[[nodiscard]] QString sentence(const QString& clause);

}  // namespace trellicap::archive
