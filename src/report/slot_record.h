// What the tables (CSV, JSON, the info listing) say about a slot, taken from the slot as
// the window shows it: the settings under their panel labels, the time and date, the
// readouts, the report header fields, the A-scan samples and the DAC points.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "display/plot_readings.h"
#include "profiles/model_profile.h"
#include "report/slot_view.h"

namespace trellicap {

// A box of the window and the name a table gives it.
struct Field {
    QString label;
    std::string_view control;
};

struct FieldLabels {
    std::vector<Field> settings;  // the "Menu Data" boxes in the panel's order
    std::vector<Field> readouts;
    std::vector<Field> header;
    std::string_view timeDateControl;
};

// Settings take the label above or beside their box; where two boxes share a label
// ("START" under GATE 1 and GATE 2) or a box has none, the box's accessible name
// ("GATE 1 START"). Header fields take the name the window gives their boxes, without the
// label's leader dots ("Operator").
[[nodiscard]] FieldLabels fieldLabels(const ModelProfile& profile);

struct SlotRecord {
    int slot = 0;
    bool marked = false;
    std::vector<QString> settings;  // in FieldLabels order, trailing blanks trimmed
    QString timeDate;               // isoTimeDate
    std::vector<QString> readouts;
    std::vector<QString> header;
    std::array<RecordValue, kSamplesStored> ascan{};
    // (x, amplitude %) of the points the DAC curve runs through, as the plot reads them: the
    // stored pairs up to the first below 5 %, the instrument's end of the curve.
    std::vector<std::pair<int, int>> dacPoints;
    // The highest echo within gate 1 and gate 2 as the plot reads it; nullopt where the gate
    // is not drawn (or holds no sample).
    std::array<std::optional<TraceReading>, 2> gatePeaks;
};

// The peak columns' names, gate 1 then gate 2: amplitude (%) and path of each.
inline constexpr std::array<const char*, 4> kGatePeakColumns = {
    "gate1_peak_pct", "gate1_peak_path", "gate2_peak_pct", "gate2_peak_path"};

// A peak's amplitude and path as the tables write them: the stored value, and the path's
// shortest decimal (a point whatever the locale); nullopt gives empty texts.
[[nodiscard]] std::array<QString, 4> gatePeakTexts(
    const std::array<std::optional<TraceReading>, 2>& peaks);

// The record of the slot `shown` shows, its slot number and mark given.
[[nodiscard]] SlotRecord slotRecord(const FieldLabels& labels, const SlotView& shown, int slot,
                                    bool marked);

}  // namespace trellicap
