#include "report/job_report_content.h"

#include <set>

#include "display/panel_texts.h"
#include "inspection/job_completeness.h"
#include "inspection/job_json.h"
#include "report/job_evaluation.h"
#include "report/slot_record.h"

namespace trellicap {

namespace {

using inspection::Evaluation;
using inspection::Job;
using inspection::JobItem;

const QString kNothing = QStringLiteral("\u2014");

QString text(const QString& value) {
    return value.trimmed().isEmpty() ? kNothing : value;
}

QString dateText(const std::optional<QDate>& date) {
    return date && date->isValid() ? date->toString(Qt::ISODate) : kNothing;
}

QString datesText(const Job& job) {
    if (job.dateFrom && job.dateTo && *job.dateFrom != *job.dateTo) {
        return QStringLiteral("%1 to %2").arg(dateText(job.dateFrom), dateText(job.dateTo));
    }
    return dateText(job.dateFrom ? job.dateFrom : job.dateTo);
}

QString personText(const inspection::Person& person) {
    if (person.certification.isEmpty()) {
        return text(person.name);
    }
    return QStringLiteral("%1, %2").arg(text(person.name), person.certification);
}

// "0 to 100 mm" for each distinct span of the records' time base.
QString timeBase(const ModelProfile& profile, const Job& job) {
    std::set<std::pair<double, double>> spans;
    for (const JobItem& item : job.items) {
        if (static_cast<int>(item.values.size()) != profile.recordSize()) {
            continue;
        }
        const RecordNumbers numbers = recordNumbers(profile, buildPanelTexts(profile, item.values));
        if (numbers.rangeMm) {
            const double delay = numbers.delayMm.value_or(0.0);
            spans.insert({delay, delay + *numbers.rangeMm});
        }
    }
    QStringList texts;
    for (const auto& [from, to] : spans) {
        texts << QStringLiteral("%1 to %2 mm")
                     .arg(QString::number(from, 'g', 15), QString::number(to, 'g', 15));
    }
    return texts.isEmpty() ? kNothing : texts.join(QStringLiteral(", "));
}

ReportSection objectSection(const Job& job) {
    return {
        QStringLiteral("Object"),
        {{QStringLiteral("Client"), text(job.client)},
         {QStringLiteral("Order number"), text(job.order)},
         {QStringLiteral("Object or weld ID"), text(job.object)},
         {QStringLiteral("Material"), text(job.material)},
         {QStringLiteral("Thickness"), quantityText(job.thicknessMm, QStringLiteral("mm"))},
         {QStringLiteral("Surface condition"), text(job.surface)},
         {QStringLiteral("Temperature"), quantityText(job.temperatureC, QStringLiteral("\u00b0C"))},
         {QStringLiteral("Place"), text(job.place)},
         {QStringLiteral("Date of testing"), datesText(job)},
         {QStringLiteral("Testing organisation"), text(job.organisation)}},
        {}};
}

ReportSection procedureSection(const Job& job) {
    return {QStringLiteral("Procedure"),
            {{QStringLiteral("Procedure"), text(job.procedure)},
             {QStringLiteral("Procedure revision"), text(job.procedureRevision)},
             {QStringLiteral("Standard"), text(job.standard)},
             {QStringLiteral("Testing level"), text(job.testingLevel)},
             {QStringLiteral("Acceptance criteria"), text(job.evaluation.acceptanceCriteria)}},
            {}};
}

ReportSection personnelSection(const Job& job) {
    return {QStringLiteral("Personnel"),
            {{QStringLiteral("Inspector"), personText(job.inspector)},
             {QStringLiteral("Reviewer"), personText(job.reviewer)}},
            {}};
}

ReportSection equipmentSection(const Job& job, const QStringList& warnings) {
    const inspection::Instrument& i = job.instrument;
    const inspection::Probe& p = job.probe;
    const inspection::ReferenceBlock& b = job.block;
    ReportSection section{
        QStringLiteral("Equipment"),
        {{QStringLiteral("Instrument"), QStringLiteral("%1, SN %2, firmware %3")
                                            .arg(text(i.model), text(i.serial), text(i.firmware))},
         {QStringLiteral("Instrument calibration"),
          QStringLiteral("certificate %1, due %2")
              .arg(text(i.certificate), dateText(i.calibrationDue))},
         {QStringLiteral("Probe"), QStringLiteral("%1 %2, SN %3")
                                       .arg(p.type ? inspection::probeTypeName(*p.type) : kNothing,
                                            text(p.makerType), text(p.serial))},
         {QStringLiteral("Probe frequency"), quantityText(p.frequencyMhz, QStringLiteral("MHz"))},
         {QStringLiteral("Element size"), text(p.elementSize)},
         {QStringLiteral("Probe angle"),
          QStringLiteral("nominal %1, measured %2")
              .arg(quantityText(p.angleDeg, QStringLiteral("\u00b0")),
                   quantityText(p.measuredAngleDeg, QStringLiteral("\u00b0")))},
         {QStringLiteral("Probe delay"), quantityText(p.delayUs, QStringLiteral("\u00b5s"))},
         {QStringLiteral("Probe calibration due"), dateText(p.calibrationDue)},
         {QStringLiteral("Reference block"),
          QStringLiteral("%1, ID %2, velocity %3")
              .arg(text(b.designation), text(b.id),
                   quantityText(b.velocityMs, QStringLiteral("m/s")))},
         {QStringLiteral("Couplant"), text(job.couplant)}},
        {}};
    for (const QString& warning : warnings) {
        section.lines << QStringLiteral("Warning: %1").arg(warning);
    }
    return section;
}

ReportSection referenceSection(const ModelProfile& profile, const Job& job,
                               const std::optional<inspection::ReferenceEcho>& echo) {
    const inspection::ReferenceSensitivity& r = job.reference;
    ReportSection section{QStringLiteral("Reference sensitivity"), {}, {}};
    if (r.method == inspection::ReferenceMethod::Dac) {
        section.fields.push_back({QStringLiteral("Sensitivity setting"),
                                  QStringLiteral("DAC curve stored with each record")});
    } else {
        section.fields.push_back({QStringLiteral("Sensitivity setting"),
                                  QStringLiteral("reference reflector record: %1, Mem %2")
                                      .arg(text(r.file))
                                      .arg(r.slot)});
        section.fields.push_back({QStringLiteral("Reference echo"),
                                  echo ? QStringLiteral("%1 % at %2 dB")
                                             .arg(echo->amplitude)
                                             .arg(QString::number(echo->gainDb, 'g', 15))
                                       : kNothing});
    }
    section.fields.push_back({QStringLiteral("Reference reflector"), text(r.reflector)});
    section.fields.push_back(
        {QStringLiteral("Reference gain"), quantityText(r.gainDb, QStringLiteral("dB"))});
    section.fields.push_back(
        {QStringLiteral("Transfer correction"), quantityText(r.transferDb, QStringLiteral("dB"))});
    section.fields.push_back({QStringLiteral("Time-base range"), timeBase(profile, job)});
    return section;
}

ReportSection ruleSection(const Job& job) {
    const inspection::EvaluationRule& rule = job.evaluation;
    return {QStringLiteral("Evaluation rule"),
            {{QStringLiteral("Recording level"),
              quantityText(rule.recordingLevelDb, QStringLiteral("dB"))},
             {QStringLiteral("Acceptance level"),
              quantityText(rule.acceptanceLevelDb, QStringLiteral("dB"))},
             {QStringLiteral("Length limit"),
              rule.lengthLimitMm ? quantityText(rule.lengthLimitMm, QStringLiteral("mm"))
                                 : QStringLiteral("none")}},
            {job.reference.method == inspection::ReferenceMethod::Dac
                 ? QStringLiteral("Levels are given in dB to the record's DAC curve at the echo.")
                 : QStringLiteral("Levels are given in dB to the reference echo, corrected for "
                                  "the gain difference and the transfer correction.")}};
}

QStringList indicationRow(const JobItem& item, const Evaluation& e) {
    return {QString::number(item.item),
            inspection::itemName(item),
            QString::number(item.slot),
            tenthText(e.pathMm),
            tenthText(e.depthMm),
            tenthText(e.surfaceMm),
            e.peakPct ? QString::number(*e.peakPct) : kNothing,
            levelText(e),
            tenthText(item.lengthMm),
            text(item.position),
            resultCell(e)};
}

ReportSection summarySection(const inspection::JobSummary& summary) {
    return {QStringLiteral("Summary"),
            {{QStringLiteral("Records"), QString::number(summary.records)},
             {QStringLiteral("Recorded"), QString::number(summary.recorded)},
             {QStringLiteral("Rejected"), QString::number(summary.rejected)},
             {QStringLiteral("Overall result"), summary.overall}},
            {}};
}

ReportSection notesSection(const Job& job, const std::vector<Evaluation>& evaluations) {
    ReportSection section{QStringLiteral("Notes"), {}, {}};
    for (std::size_t i = 0; i < job.items.size(); ++i) {
        const JobItem& item = job.items[i];
        const Evaluation& e = evaluations[i];
        if (item.resultOverride) {
            const inspection::ResultOverride& o = *item.resultOverride;
            section.lines << QStringLiteral("* Record %1: %2, set to %3 by %4 on %5: %6")
                                 .arg(item.item)
                                 .arg(e.computed ? QStringLiteral("computed ") +
                                                       inspection::resultText(*e.computed)
                                                 : QStringLiteral("no computed result"),
                                      inspection::resultText(o.result), text(o.by),
                                      text(o.at.left(10)), o.reason);
        }
        for (const QString& note : e.notes) {
            section.lines << QStringLiteral("Record %1: %2").arg(item.item).arg(note);
        }
    }
    if (section.lines.isEmpty()) {
        section.lines << QStringLiteral("None.");
    }
    return section;
}

ReportSection amendmentsSection(const Job& job) {
    ReportSection section{QStringLiteral("Amendments"), {}, {}};
    for (const inspection::JobChange& change : job.history) {
        section.lines << QStringLiteral("Version %1, %2, %3: %4")
                             .arg(change.version)
                             .arg(change.at, text(change.by), change.what);
    }
    if (section.lines.isEmpty()) {
        section.lines << QStringLiteral("None.");
    }
    return section;
}

}  // namespace

QString quantityText(const std::optional<double>& value, const QString& unit) {
    if (!value) {
        return kNothing;
    }
    const QString number = QString::number(*value + 0.0, 'g', 15);
    return unit.startsWith(QChar(0x00b0)) && unit.size() == 1 ? number + unit
                                                              : number + QLatin1Char(' ') + unit;
}

QString tenthText(const std::optional<double>& value) {
    return value ? QString::number(*value, 'f', 1) : kNothing;
}

QString levelText(const Evaluation& e) {
    if (e.levelDb && e.dacPct) {
        return QStringLiteral("%1 dB / %2 % DAC").arg(tenthText(e.levelDb), tenthText(e.dacPct));
    }
    if (e.levelDb) {
        return QStringLiteral("%1 dB").arg(tenthText(e.levelDb));
    }
    return e.computed == inspection::Result::OutsideDac ? QStringLiteral("outside DAC") : kNothing;
}

QString resultCell(const Evaluation& e) {
    if (!e.result) {
        return kNothing;
    }
    return inspection::resultText(*e.result) + (e.overridden ? QStringLiteral("*") : QString());
}

JobReportContent jobReportContent(const ModelProfile& profile, const Job& job,
                                  const inspection::EquipmentRegister& equipment,
                                  const QDate& today) {
    const JobEvaluation evaluation = evaluateJob(profile, job);
    const QStringList warnings =
        inspection::equipmentWarnings(equipment, inspection::equipmentUse(job),
                                      inspection::daysOfUse(job.dateFrom, job.dateTo, today));
    JobReportContent content;
    content.title = QStringLiteral("Ultrasonic Testing - Job Report");
    content.jobLine = QStringLiteral("%1 - job %2, version %3")
                          .arg(inspection::jobTitle(job), job.id.left(8))
                          .arg(job.version);
    content.madeOn = today.toString(Qt::ISODate);
    content.missing = inspection::missingItems(job, evaluation.reference);
    if (content.draft()) {
        content.cover.push_back({QStringLiteral("Draft"),
                                 {},
                                 {QStringLiteral("This report is a draft: mandatory items are "
                                                 "missing: %1.")
                                      .arg(content.missing.join(QStringLiteral(", ")))}});
    }
    content.cover.insert(content.cover.end(),
                         {objectSection(job), procedureSection(job), personnelSection(job),
                          equipmentSection(job, warnings),
                          referenceSection(profile, job, evaluation.reference), ruleSection(job)});
    content.indicationHeader = {
        QStringLiteral("No."),      QStringLiteral("Record"),   QStringLiteral("Slot"),
        QStringLiteral("Path mm"),  QStringLiteral("Depth mm"), QStringLiteral("Surface mm"),
        QStringLiteral("Ampl. %"),  QStringLiteral("Level"),    QStringLiteral("Length mm"),
        QStringLiteral("Position"), QStringLiteral("Result")};
    for (std::size_t i = 0; i < job.items.size(); ++i) {
        content.indications.push_back(indicationRow(job.items[i], evaluation.records[i]));
    }
    content.closing = {summarySection(evaluation.summary), notesSection(job, evaluation.records),
                       amendmentsSection(job)};
    content.inspector = {QStringLiteral("Inspector"), job.inspector.name,
                         job.inspector.certification, content.madeOn};
    content.reviewer = {QStringLiteral("Reviewer"), job.reviewer.name, job.reviewer.certification,
                        QString()};
    content.records = static_cast<int>(job.items.size());
    return content;
}

}  // namespace trellicap
