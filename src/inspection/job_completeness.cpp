#include "inspection/job_completeness.h"

namespace trellicap::inspection {

namespace {

class Check {
public:
    explicit Check(QStringList& missing) : m_missing(missing) {}
    void text(const QString& value, const char* name) { need(!value.trimmed().isEmpty(), name); }
    template <class T>
    void value(const std::optional<T>& value, const char* name) {
        need(value.has_value(), name);
    }
    void need(bool present, const char* name) {
        if (!present) {
            m_missing << QString::fromLatin1(name);
        }
    }

private:
    QStringList& m_missing;
};

}  // namespace

QStringList missingItems(const Job& job, const std::optional<ReferenceEcho>& reference) {
    QStringList missing;
    Check check(missing);
    check.text(job.client, "Client");
    check.text(job.order, "Order number");
    check.text(job.object, "Object or weld ID");
    check.text(job.material, "Material");
    check.value(job.thicknessMm, "Thickness");
    check.text(job.surface, "Surface condition");
    check.value(job.temperatureC, "Temperature");
    check.text(job.procedure, "Procedure");
    check.text(job.procedureRevision, "Procedure revision");
    check.text(job.standard, "Standard");
    check.text(job.testingLevel, "Testing level");
    check.text(job.place, "Place");
    check.value(job.dateFrom, "Date of testing");
    check.text(job.organisation, "Testing organisation");
    check.text(job.inspector.name, "Inspector");
    check.text(job.inspector.certification, "Inspector's certification");
    check.text(job.instrument.model, "Instrument model");
    check.text(job.instrument.serial, "Instrument serial number");
    check.text(job.probe.serial, "Probe serial number");
    check.value(job.probe.frequencyMhz, "Probe frequency");
    check.value(job.probe.angleDeg, "Probe angle");
    // An angle probe's angle is measured on the block before use.
    if (job.probe.type != ProbeType::Straight) {
        check.value(job.probe.measuredAngleDeg, "Probe measured angle");
    }
    check.text(job.block.designation, "Reference block");
    check.text(job.block.id, "Reference block ID");
    check.text(job.couplant, "Couplant");
    check.value(job.reference.gainDb, "Reference gain");
    if (job.reference.method == ReferenceMethod::Record) {
        check.need(!job.reference.values.empty(), "Reference record");
        if (!job.reference.values.empty()) {
            check.need(reference.has_value(), "Reference echo (gate 1 of the reference record)");
        }
    }
    check.value(job.evaluation.recordingLevelDb, "Recording level");
    check.value(job.evaluation.acceptanceLevelDb, "Acceptance level");
    check.need(!job.items.empty(), "Records");
    return missing;
}

}  // namespace trellicap::inspection
