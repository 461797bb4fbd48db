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

#include "display/panel_texts.h"
#include "display/plot_readings.h"
#include "inspection/evaluation.h"
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

// The settings a spreadsheet computes with, as numbers (nullopt where a text holds none):
// gain, RANGE and DELAY, and each gate's START, width (END) and LEVEL in percent.
struct RecordNumbers {
    std::optional<double> gainDb;
    std::optional<double> rangeMm;
    std::optional<double> delayMm;
    struct Gate {
        std::optional<double> startPct;
        std::optional<double> widthPct;
        std::optional<double> levelPct;
    };
    std::array<Gate, 2> gates;
    std::optional<double> angleDeg;  // the instrument's ANGLE
};

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
    RecordNumbers numbers;
    // The record's evaluation: without a job, along its own ANGLE and against its own DAC
    // curve, with no result; a table made for a job evaluates it against the job instead.
    inspection::Evaluation evaluation;
};

// The peak columns' names, gate 1 then gate 2: amplitude (%) and path of each.
inline constexpr std::array<const char*, 4> kGatePeakColumns = {
    "gate1_peak_pct", "gate1_peak_path", "gate2_peak_pct", "gate2_peak_path"};

// A peak's amplitude and path as the tables write them: the stored value, and the path's
// shortest decimal (a point whatever the locale); nullopt gives empty texts.
[[nodiscard]] std::array<QString, 4> gatePeakTexts(
    const std::array<std::optional<TraceReading>, 2>& peaks);

// (x, amplitude %) of the points the DAC curve runs through, as the plot reads them.
[[nodiscard]] std::vector<std::pair<int, int>> recordDacPoints(
    const ModelProfile& profile, std::span<const RecordValue> capture);
// The highest echo in each gate the texts draw.
[[nodiscard]] std::array<std::optional<TraceReading>, 2> recordGatePeaks(
    const ModelProfile& profile, const PanelTexts& texts, std::span<const RecordValue> capture);
[[nodiscard]] RecordNumbers recordNumbers(const ModelProfile& profile, const PanelTexts& texts);
// What the evaluation reads off a record: gate 1's peak, the DAC points, gain and ANGLE.
[[nodiscard]] inspection::RecordReading recordReading(const SlotRecord& record);

// The record of the slot `shown` shows, its slot number and mark given.
[[nodiscard]] SlotRecord slotRecord(const FieldLabels& labels, const SlotView& shown, int slot,
                                    bool marked);

}  // namespace trellicap
