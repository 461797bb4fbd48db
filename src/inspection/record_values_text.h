// A record's values as text for JOB.json: the 16-bit values little-endian, in Base64.
#pragma once

#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap::inspection {

[[nodiscard]] QString valuesText(std::span<const RecordValue> values);
// nullopt for text that is not Base64 of whole values.
[[nodiscard]] std::optional<std::vector<RecordValue>> valuesFromText(const QString& text);

}  // namespace trellicap::inspection
