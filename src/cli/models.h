// The instrument models the tool reads, the model registry's profiles
// (profiles/model_registry.h): the name --model takes, the file size, the texts and tables all
// come from there.
#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <span>
#include <string_view>

#include "profiles/model_profile.h"

namespace trellicap::cli {

struct CliModel {
    const ModelProfile& profile;
    // "tft", "dac": what --model takes and what the JSON names.
    [[nodiscard]] std::string_view key() const { return profile.modelKey; }
};

[[nodiscard]] std::span<const CliModel> cliModels();
// Null for a name that is not a model's.
[[nodiscard]] const CliModel* modelByKey(QStringView key);
// The model whose whole record file has this size; null when none has.
[[nodiscard]] const CliModel* modelByFileSize(qint64 bytes);
// "TFT", "DAC": the key as a person writes it.
[[nodiscard]] QString displayName(const CliModel& model);
// "tft|dac", for messages and help texts.
[[nodiscard]] QString modelKeys();
// "1000 TFT, 6000 DAC": one value of each model's profile and the model's name, for help
// texts.
[[nodiscard]] QString perModel(const std::function<QString(const ModelProfile&)>& value);
// A help text with "{models}" as the --model values ("tft|dac") and "{model names}" as the
// models' names ("TFT and DAC").
[[nodiscard]] QString withModelKeys(QString text);
// The models other than `model`, "DAC" (or "DAC or XYZ"), for the hint when records read
// with one model's layout do not name their slots.
[[nodiscard]] QString otherModelNames(const CliModel& model);

}  // namespace trellicap::cli
