// A record's values as the archive keeps them: every value a little-endian int16, in row
// order, so the same bytes mean the same record on every engine and every PC.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap::archive {

[[nodiscard]] QByteArray encodeRecord(std::span<const RecordValue> values);
// The values, or nothing when the bytes do not hold exactly `count` values.
[[nodiscard]] std::optional<std::vector<RecordValue>> decodeRecord(const QByteArray& bytes,
                                                                   int count);
// The first 128 bits of SHA-256 over the model, the slot and the encoded values, as 32 hex
// digits: equal hashes mean the same record in the same slot of the same model.
[[nodiscard]] QString contentHash(std::string_view model, int slot, const QByteArray& encoded);

}  // namespace trellicap::archive
