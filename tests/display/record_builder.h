// Test records: a fresh slot's contents, texts written as Windows-1252 codes, DAC points.
#pragma once

#include <QString>
#include <vector>

#include "profiles/model_profile.h"
#include "record/text_codes.h"

namespace trellicap::testing {

// What a slot that never received a frame holds: 0 to 260, 32 to 599, 0 from 600 on.
inline std::vector<RecordValue> freshSlot(const ModelProfile& profile) {
    std::vector<RecordValue> record(static_cast<std::size_t>(profile.recordSize()), 0);
    for (int i = 261; i <= 599 && i <= profile.recordLast; ++i) {
        record[static_cast<std::size_t>(i)] = 32;
    }
    return record;
}

// A record whose settings area and report header fields (260..649) hold only blanks.
inline std::vector<RecordValue> blankSettings(const ModelProfile& profile) {
    std::vector<RecordValue> record = freshSlot(profile);
    for (int i = 260; i <= 649; ++i) {
        record[static_cast<std::size_t>(i)] = 32;
    }
    return record;
}

inline void putText(std::vector<RecordValue>& record, int index, const QString& text) {
    for (RecordValue code : textToCodes(text)) {
        record[static_cast<std::size_t>(index++)] = code;
    }
}

inline void putCodes(std::vector<RecordValue>& record, int index,
                     std::initializer_list<int> codes) {
    for (int code : codes) {
        record[static_cast<std::size_t>(index++)] = static_cast<RecordValue>(code);
    }
}

}  // namespace trellicap::testing
