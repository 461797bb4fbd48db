// The instrument models the archive names ("tft", "dac"), from the model registry
// (profiles/model_registry.h): what the viewer reads a kept version's values with and offers
// in its search form. The program links the registry of the shipped models.
#pragma once

#include <QString>
#include <QStringView>
#include <span>

#include "profiles/model_profile.h"

namespace trellicap::web {

[[nodiscard]] std::span<const ModelProfile* const> webModels();
// Null for a model this program does not know.
[[nodiscard]] const ModelProfile* profileByKey(QStringView key);
// "TFT", "DAC": the registry's name of the model, else the key in capitals.
[[nodiscard]] QString modelName(QStringView key);

}  // namespace trellicap::web
