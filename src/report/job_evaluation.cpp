#include "report/job_evaluation.h"

#include "display/panel_texts.h"
#include "record/numbers.h"
#include "record/profile_text.h"
#include "report/slot_record.h"

namespace trellicap {

namespace {

// The boxes the readings work from, each as the panel shows it: no more of the walk.
PanelTexts readingTexts(const ModelProfile& profile, std::span<const RecordValue> values) {
    const ControlRoles& roles = profile.roles;
    PanelTexts texts;
    for (const std::string_view control :
         {roles.range, roles.delay, roles.gain, roles.dac, roles.angle, roles.gate1.mode,
          roles.gate1.start, roles.gate1.end, roles.gate1.level, roles.gate2.mode,
          roles.gate2.start, roles.gate2.end, roles.gate2.level}) {
        texts.set(control, settingText(profile, values, control));
    }
    return texts;
}

}  // namespace

inspection::RecordReading readingOfValues(const ModelProfile& profile,
                                          std::span<const RecordValue> values) {
    const PanelTexts texts = readingTexts(profile, values);
    inspection::RecordReading reading;
    const auto peaks = recordGatePeaks(profile, texts, values);
    if (const auto& peak = peaks[0]) {
        reading.peak = inspection::Peak{peak->sample, peak->amplitude, peak->path};
    }
    reading.dacPoints = recordDacPoints(profile, values);
    reading.gainDb = numberIn(texts.text(profile.roles.gain));
    reading.angleDeg = numberIn(texts.text(profile.roles.angle));
    return reading;
}

std::optional<inspection::ReferenceEcho> referenceEcho(
    const ModelProfile& profile, const inspection::ReferenceSensitivity& reference) {
    if (static_cast<int>(reference.values.size()) != profile.recordSize() ||
        (!reference.model.isEmpty() && reference.model != modelName(profile))) {
        return std::nullopt;
    }
    const inspection::RecordReading reading = readingOfValues(profile, reference.values);
    const auto gain = reading.gainDb ? reading.gainDb : reference.gainDb;
    if (!reading.peak || reading.peak->amplitude <= 0 || !gain) {
        return std::nullopt;
    }
    return inspection::ReferenceEcho{reading.peak->amplitude, *gain};
}

JobEvaluation evaluateJob(const ModelProfile& profile, const inspection::Job& job) {
    JobEvaluation out;
    if (job.reference.method == inspection::ReferenceMethod::Record) {
        out.reference = referenceEcho(profile, job.reference);
    }
    out.settings = inspection::evaluationSettings(job, out.reference);
    out.records.reserve(job.items.size());
    for (const inspection::JobItem& item : job.items) {
        if (static_cast<int>(item.values.size()) != profile.recordSize()) {
            inspection::Evaluation none;
            none.notes
                << QStringLiteral("the record is not of the %1 model").arg(modelName(profile));
            out.records.push_back(none);
            continue;
        }
        out.records.push_back(
            inspection::evaluate(readingOfValues(profile, item.values), out.settings, &item));
    }
    out.summary = inspection::summarize(out.records);
    return out;
}

QString modelName(const ModelProfile& profile) {
    return qs(profile.modelKey);
}

}  // namespace trellicap
