#include "report/slot_record.h"

#include <algorithm>

#include "display/panel_texts.h"
#include "display/plot_texts.h"
#include "record/iso_time_date.h"
#include "record/numbers.h"
#include "record/profile_text.h"

namespace trellicap {

namespace {

QString trimEnd(const QString& s) {
    qsizetype end = s.size();
    while (end > 0 && s.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return s.left(end);
}

bool isSettingsBox(const PanelCell& cell) {
    return !cell.control.empty() && !cell.caption;
}

std::vector<Field> settingsFields(const ModelProfile& profile) {
    std::vector<Field> fields;
    for (const PanelCell& cell : profile.panelCells) {
        if (!isSettingsBox(cell)) {
            continue;
        }
        const auto shared = std::count_if(
            profile.panelCells.begin(), profile.panelCells.end(), [&cell](const PanelCell& other) {
                return isSettingsBox(other) && other.label == cell.label;
            });
        const bool own = !cell.label.empty() && shared == 1;
        fields.push_back({qs(own ? cell.label : cell.accessibleName), cell.control});
    }
    return fields;
}

std::vector<QString> textsOf(const std::vector<Field>& fields, const PanelTexts& texts) {
    std::vector<QString> out;
    out.reserve(fields.size());
    for (const Field& field : fields) {
        out.push_back(trimEnd(texts.text(field.control)));
    }
    return out;
}

}  // namespace

std::vector<std::pair<int, int>> recordDacPoints(const ModelProfile& profile,
                                                 std::span<const RecordValue> capture) {
    constexpr int kCurveEndBelow = 5;
    std::vector<std::pair<int, int>> points;
    for (int j = 0; j <= profile.dacSegments; ++j) {
        const auto at = static_cast<std::size_t>(profile.dacPointFirst + 2 * j);
        if (capture[at + 1] < kCurveEndBelow) {
            break;
        }
        points.emplace_back(capture[at], capture[at + 1]);
    }
    return points;
}

std::array<std::optional<TraceReading>, 2> recordGatePeaks(const ModelProfile& profile,
                                                           const PanelTexts& texts,
                                                           std::span<const RecordValue> capture) {
    const PlotTexts plot = plotTexts(profile, texts);
    const PathSpan span(leadingNumber(plot.delay), leadingNumber(plot.range));
    std::array<std::optional<TraceReading>, 2> peaks;
    for (std::size_t g = 0; g < plot.gates.size(); ++g) {
        peaks[g] = gatePeak(plot.gates[g], capture, span);
    }
    return peaks;
}

RecordNumbers recordNumbers(const ModelProfile& profile, const PanelTexts& texts) {
    const ControlRoles& roles = profile.roles;
    RecordNumbers numbers;
    numbers.gainDb = numberIn(texts.text(roles.gain));
    numbers.rangeMm = numberIn(texts.text(roles.range));
    numbers.delayMm = numberIn(texts.text(roles.delay));
    std::size_t g = 0;
    for (const GateRoles* gate : {&roles.gate1, &roles.gate2}) {
        numbers.gates[g].startPct = numberIn(texts.text(gate->start));
        numbers.gates[g].widthPct = numberIn(texts.text(gate->end));
        numbers.gates[g].levelPct = numberIn(texts.text(gate->level));
        ++g;
    }
    numbers.angleDeg = numberIn(texts.text(roles.angle));
    return numbers;
}

inspection::RecordReading recordReading(const SlotRecord& record) {
    inspection::RecordReading reading;
    if (const auto& peak = record.gatePeaks[0]) {
        reading.peak = inspection::Peak{peak->sample, peak->amplitude, peak->path};
    }
    reading.dacPoints = record.dacPoints;
    reading.gainDb = record.numbers.gainDb;
    reading.angleDeg = record.numbers.angleDeg;
    return reading;
}

FieldLabels fieldLabels(const ModelProfile& profile) {
    FieldLabels labels;
    labels.settings = settingsFields(profile);
    for (const Readout& readout : profile.readouts) {
        labels.readouts.push_back({qs(readout.label), readout.control});
    }
    for (const HeaderField& field : profile.headerFields) {
        labels.header.push_back(
            {qs(field.label).remove(QLatin1Char('.')).trimmed(), field.control});
    }
    for (const PanelStep& step : profile.panelSteps) {
        if (step.timeDate) {
            labels.timeDateControl = step.control;
        }
    }
    return labels;
}

SlotRecord slotRecord(const FieldLabels& labels, const SlotView& shown, int slot, bool marked) {
    const ModelProfile& profile = shown.profile();
    const auto capture = shown.capture();
    SlotRecord record;
    record.slot = slot;
    record.marked = marked;
    record.settings = textsOf(labels.settings, shown.texts());
    record.readouts = textsOf(labels.readouts, shown.texts());
    record.header = textsOf(labels.header, shown.texts());
    const int timeDate = walkedIndex(profile, labels.timeDateControl).value_or(kSettingsStart);
    record.timeDate = isoTimeDate(capture.subspan(static_cast<std::size_t>(timeDate)));
    std::copy_n(capture.begin(), kSamplesStored, record.ascan.begin());
    record.dacPoints = recordDacPoints(profile, capture);
    record.gatePeaks = recordGatePeaks(profile, shown.texts(), capture);
    record.numbers = recordNumbers(profile, shown.texts());
    // Without a job's rule there is no result, not even "no indication".
    record.evaluation = inspection::evaluate(recordReading(record), {});
    record.evaluation.computed.reset();
    record.evaluation.result.reset();
    return record;
}

std::array<QString, 4> gatePeakTexts(const std::array<std::optional<TraceReading>, 2>& peaks) {
    std::array<QString, 4> texts;
    for (std::size_t g = 0; g < peaks.size(); ++g) {
        if (peaks[g]) {
            texts[2 * g] = QString::number(peaks[g]->amplitude);
            texts[2 * g + 1] = QString::number(peaks[g]->path + 0.0, 'g', 15);
        }
    }
    return texts;
}

}  // namespace trellicap
