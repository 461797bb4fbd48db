// The info subcommand's table: a row per slot with its time and date, the settings the
// profile's roles name for it, and the header field that tells records apart.
#pragma once

#include <QString>
#include <vector>

#include "profiles/model_profile.h"
#include "report/slot_record.h"

namespace trellicap::cli {

// Columns two blanks apart, each as wide as its widest cell; the slot numbers right-aligned,
// no blanks at the ends of the lines. "No slot to list." for no records.
[[nodiscard]] QString infoTable(const ModelProfile& profile, const FieldLabels& labels,
                                const std::vector<SlotRecord>& records);

// What the help text says the table lists: "RANGE, DELAY, Gain, GATE 1".
[[nodiscard]] QString infoSettingLabels(const ModelProfile& profile);

}  // namespace trellicap::cli
