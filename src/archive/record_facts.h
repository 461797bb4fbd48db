// What the archive reads out of a record to search by: the report header fields, the time
// and date of storing and the main settings, each as the text the window shows.
#pragma once

#include <QString>
#include <span>
#include <utility>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap::archive {

struct RecordFacts {
    std::vector<std::pair<QString, QString>> header;  // box name -> text, in profile order
    QString timeDate;                                 // ISO 8601 when the codes form a date
    QString range;
    QString delay;
    QString gain;
    QString gate1;
    QString gate2;
};

[[nodiscard]] RecordFacts recordFacts(const ModelProfile& profile,
                                      std::span<const RecordValue> record);

// Between the parts of a search text: a character no typed text holds.
inline constexpr QChar kSearchTextSeparator{0x1F};

// The lower-case text a free-text search looks through: the header fields and the names
// (not the folders) of the record files the version came from or was saved into.
[[nodiscard]] QString searchText(const RecordFacts& facts, const QStringList& fileNames);

}  // namespace trellicap::archive
