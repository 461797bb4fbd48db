// The instrument models the archive names ("tft", "dac"), each its profile: the one list the
// viewer reads a kept version's values with.
#pragma once

#include <QStringView>
#include <span>

#include "profiles/model_profile.h"

namespace trellicap::web {

[[nodiscard]] std::span<const ModelProfile* const> webModels();
// Null for a model this program does not know.
[[nodiscard]] const ModelProfile* profileByKey(QStringView key);
// "TFT", "DAC".
[[nodiscard]] QString modelName(QStringView key);

}  // namespace trellicap::web
