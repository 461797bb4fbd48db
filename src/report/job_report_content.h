// What a job report says, as texts, before anything is placed on a page: the cover with every
// item of the job (object, procedure, personnel, equipment with serials and due dates, the
// reference sensitivity, the evaluation rule), the equipment's warnings, the table of
// indications, the summary, the inspector's overrides and notes, the job's amendments, the
// signature boxes, and the mandatory items the job lacks (which make it a draft).
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "inspection/equipment.h"
#include "inspection/evaluation.h"
#include "inspection/job.h"
#include "profiles/model_profile.h"

namespace trellicap {

struct ReportField {
    QString label;
    QString value;
    friend bool operator==(const ReportField&, const ReportField&) = default;
};

// A titled block: label and value pairs, then lines of free text.
struct ReportSection {
    QString title;
    std::vector<ReportField> fields;
    QStringList lines;
};

struct SignatureBox {
    QString role;  // "Inspector", "Reviewer"
    QString name;
    QString certification;
    QString date;  // the inspector's: the day the report is made; the reviewer's: by hand
};

struct JobReportContent {
    QString title;    // "Ultrasonic Testing - Job Report"
    QString jobLine;  // the job's title, id and version, on every page of the job
    QString madeOn;   // "2026-12-10"
    std::vector<ReportSection> cover;
    QStringList indicationHeader;
    std::vector<QStringList> indications;  // one row per record, cells as the header
    std::vector<ReportSection> closing;    // summary, notes, amendments
    SignatureBox inspector;
    SignatureBox reviewer;
    QStringList missing;  // mandatory items the job lacks
    int records = 0;      // the record pages that follow the job's own

    [[nodiscard]] bool draft() const { return !missing.isEmpty(); }
};

// The report of `job`, whose records are of `profile`'s model, made on `today`.
[[nodiscard]] JobReportContent jobReportContent(const ModelProfile& profile,
                                                const inspection::Job& job,
                                                const inspection::EquipmentRegister& equipment,
                                                const QDate& today);

// Texts of numbers as the report and the job window write them: the shortest decimal and
// the unit ("20 mm", "45.5°"), "—" for nothing; a computed value to its tenth ("70.7").
[[nodiscard]] QString quantityText(const std::optional<double>& value, const QString& unit);
[[nodiscard]] QString tenthText(const std::optional<double>& value);
// "-3.5 dB / 66.7 % DAC", "-8.0 dB", "outside DAC", "—".
[[nodiscard]] QString levelText(const inspection::Evaluation& evaluation);
// The result as the table gives it; an override is marked with "*".
[[nodiscard]] QString resultCell(const inspection::Evaluation& evaluation);

}  // namespace trellicap
