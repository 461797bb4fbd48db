// Slot records as CSV (RFC 4180): a heading row, then one row per slot; fields quoted only
// where they hold a comma, a quote or a line break; rows end with CR LF; UTF-8.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "report/slot_record.h"

namespace trellicap {

// One field as it stands in a row.
[[nodiscard]] QString csvField(const QString& text);

// Columns: slot, the settings by label, time_date, the readouts, the header fields, with
// samples s0..s250, then the gate peaks (kGatePeakColumns, empty where a gate is not drawn).
[[nodiscard]] QByteArray csvDocument(const FieldLabels& labels,
                                     const std::vector<SlotRecord>& records, bool samples);

}  // namespace trellicap
