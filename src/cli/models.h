// The two instrument models the tool reads: the name --model takes, the profile, and what
// the info table shows of each slot's report header. The profiles stay the only source of
// every other difference.
#pragma once

#include <QString>
#include <QStringView>
#include <span>
#include <string_view>

#include "profiles/model_profile.h"

namespace trellicap::cli {

struct CliModel {
    std::string_view key;  // "tft", "dac": what --model takes and what the JSON names
    const ModelProfile& profile;
    // The header field that tells an office's records apart at a glance: the TFT report
    // names its operator first, the DAC report its job number.
    std::string_view infoHeaderControl;
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

}  // namespace trellicap::cli
