// Slot records as CSV (RFC 4180): a heading row, then one row per slot; fields quoted only
// where they hold a comma, a quote or a line break; rows end with CR LF; UTF-8.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

#include "report/slot_record.h"

namespace trellicap {

// One field as it stands in a row.
[[nodiscard]] QString csvField(const QString& text);

// The numbers after the gate peaks: the settings a spreadsheet computes with, then the
// record's evaluation (empty where there is no number; the result needs a job's rule).
inline constexpr std::array<const char*, 15> kNumberColumns = {
    "gain_db",         "range_mm",        "delay_mm",        "gate1_start_pct", "gate1_width_pct",
    "gate1_level_pct", "gate2_start_pct", "gate2_width_pct", "gate2_level_pct", "angle_deg",
    "depth_mm",        "surface_mm",      "level_db",        "dac_pct",         "result"};

// Columns: slot, the settings by label, time_date, the readouts, the header fields, with
// samples s0..s250, then the gate peaks (kGatePeakColumns, empty where a gate is not drawn),
// then the numbers (kNumberColumns).
[[nodiscard]] QByteArray csvDocument(const FieldLabels& labels,
                                     const std::vector<SlotRecord>& records, bool samples);

}  // namespace trellicap
