// A job: the inspection a report is made for. What was tested (client, order, object,
// material, thickness, surface, temperature), how (procedure and revision, standard and
// testing level, place, dates, the inspector, the equipment, the reference sensitivity and
// the evaluation rule) and the records that belong to it, each with the inspector's notes
// and, where the inspector decided otherwise, an override of its result with the reason.
// Every change is a new version of the whole job, naming who made it, when and what.
#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "inspection/equipment.h"
#include "profiles/model_profile.h"

namespace trellicap::inspection {

// What the evaluation of a record comes to.
enum class Result { NoIndication, BelowRecordingLevel, Acceptable, Reject, OutsideDac };

// "no indication", "below recording level", "acceptable", "reject", "outside DAC"; and back.
[[nodiscard]] QString resultText(Result result);
[[nodiscard]] std::optional<Result> resultFromText(const QString& text);

struct Person {
    QString name;
    QString certification;  // "ISO 9712 UT 2, no. 1234"
    friend bool operator==(const Person&, const Person&) = default;
};

enum class ReferenceMethod { Dac, Record };

// How the sensitivity was set: the record's own DAC curve, or the echo of a reference
// reflector in a record of its own (its values are kept with the job, so that the job
// evaluates the same wherever it is opened).
struct ReferenceSensitivity {
    ReferenceMethod method = ReferenceMethod::Dac;
    QString reflector;             // "3 mm side-drilled hole"
    std::optional<double> gainDb;  // the reference gain as set
    double transferDb = 0;         // transfer correction
    QString file;                  // method Record: the record file and slot it came from
    int slot = 0;
    QString model;                    // the reference record's model
    std::vector<RecordValue> values;  // the reference record itself
    friend bool operator==(const ReferenceSensitivity&, const ReferenceSensitivity&) = default;
};

struct EvaluationRule {
    std::optional<double> recordingLevelDb;
    std::optional<double> acceptanceLevelDb;
    std::optional<double> lengthLimitMm;
    QString acceptanceCriteria;  // the acceptance level's name: "ISO 11666 level 2"
    friend bool operator==(const EvaluationRule&, const EvaluationRule&) = default;
};

enum class OriginKind { Slot, File, Archive };

// Where a record came from when it joined the job.
struct RecordOrigin {
    OriginKind kind = OriginKind::Slot;
    QString file;         // the record file (File), or the file the table came from (Slot)
    QString archiveUuid;  // Archive: the kept record and its version
    int archiveVersion = 0;
    friend bool operator==(const RecordOrigin&, const RecordOrigin&) = default;
};

struct ResultOverride {
    Result result = Result::Acceptable;
    QString reason;
    QString by;
    QString at;  // ISO 8601 with the offset
    friend bool operator==(const ResultOverride&, const ResultOverride&) = default;
};

// A record of the job: its values as they joined, where from, and the inspector's notes.
struct JobItem {
    int item = 0;  // 1, 2, ... in the order they joined; never reused
    int slot = 0;
    RecordOrigin origin;
    std::vector<RecordValue> values;
    std::optional<double> lengthMm;  // the indication's length as the inspector measured it
    QString position;                // where on the object: "x 120 mm from datum A"
    std::optional<ResultOverride> resultOverride;
    friend bool operator==(const JobItem&, const JobItem&) = default;
};

struct JobChange {
    int version = 0;
    QString by;
    QString at;
    QString what;  // "created", "2 records added", "result of record 3 set to reject: ..."
    friend bool operator==(const JobChange&, const JobChange&) = default;
};

struct Job {
    QString id;  // a UUID, given when the job is first kept
    int version = 0;
    QString model;  // "tft", "dac": the records' model (set by the first record)

    QString client;
    QString order;
    QString object;  // object or weld ID
    QString material;
    std::optional<double> thicknessMm;
    QString surface;
    std::optional<double> temperatureC;
    QString procedure;
    QString procedureRevision;
    QString standard;
    QString testingLevel;
    QString place;
    QString organisation;  // the testing organisation
    std::optional<QDate> dateFrom;
    std::optional<QDate> dateTo;
    Person inspector;
    Person reviewer;

    Instrument instrument;
    Probe probe;
    ReferenceBlock block;
    QString couplant;
    ReferenceSensitivity reference;
    EvaluationRule evaluation;

    std::vector<JobItem> items;
    std::vector<JobChange> history;  // one entry per version, oldest first

    friend bool operator==(const Job&, const Job&) = default;
};

// The job as its next version: the version counted on, the change noted.
[[nodiscard]] Job nextVersion(Job job, const QString& by, const QString& at, const QString& what);

// The item with that number; null when the job has none.
[[nodiscard]] const JobItem* findItem(const Job& job, int item);
[[nodiscard]] JobItem* findItem(Job& job, int item);
// The number the next item gets.
[[nodiscard]] int nextItemNumber(const Job& job);

// "Mem 12 (shift-12.dat)", "Mem 12 (archive 1a2b3c4d v2)": how a record of the job is named.
[[nodiscard]] QString itemName(const JobItem& item);

// A one-line heading: "Order 4711, weld W-12 (ACME Steel)".
[[nodiscard]] QString jobTitle(const Job& job);

// The probe angle the evaluation uses: measured, else nominal (nullopt: the record's own).
[[nodiscard]] std::optional<double> jobProbeAngle(const Job& job);

// The equipment the job names, for the register's warnings.
[[nodiscard]] EquipmentUse equipmentUse(const Job& job);

// The job's equipment filled in from the register where the job names an entry by its key
// and leaves the rest blank: the job keeps what it was tested with even if the register
// changes later.
[[nodiscard]] Job withRegisterDetails(Job job, const EquipmentRegister& equipment);

// The current time as the versions note it: ISO 8601 with the offset, to the second.
[[nodiscard]] QString nowText();
// Who makes a change from this computer when nobody is named: the login name.
[[nodiscard]] QString loginName();

}  // namespace trellicap::inspection
