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

// How record_values.codes holds the encoded values (its column `packing`): as they are, or
// deflated. A record's values are mostly small: the high bytes are nearly all zero and the
// settings area is text and blanks, so the low bytes, then the high bytes, deflated take
// about a tenth of the space.
enum class Packing { Plain = 0, Deflated = 1 };

struct PackedValues {
    QByteArray bytes;
    Packing packing = Packing::Plain;
};

// Deflated when that is smaller, else as they are.
[[nodiscard]] PackedValues packValues(const QByteArray& encoded);
// The encoded values back; nothing when the bytes are damaged or the packing is unknown.
[[nodiscard]] std::optional<QByteArray> unpackValues(const QByteArray& stored, int packing);

}  // namespace trellicap::archive
