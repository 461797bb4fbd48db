// The job being worked on, without a window: opened from or started into the store, each
// change kept at once as a new version naming who made it and what it was (details edited,
// records added, an indication's notes, a result overridden with its reason, a record taken
// out), and evaluated against the job for whoever shows it. The job window, the Job menu and
// trellicap-cli's job commands all change a job through here.
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "inspection/job.h"
#include "inspection/job_store.h"
#include "profiles/model_profile.h"
#include "report/job_evaluation.h"

namespace trellicap {

class JobDesk : public QObject {
    Q_OBJECT
public:
    // Records join only jobs of `profile`'s model.
    JobDesk(inspection::InspectionStore& store, const ModelProfile& profile);

    [[nodiscard]] inspection::InspectionStore& store() { return m_store; }
    [[nodiscard]] const ModelProfile& profile() const { return m_profile; }

    // Whether a job is open (kept at least once).
    [[nodiscard]] bool hasJob() const { return !m_job.id.isEmpty(); }
    [[nodiscard]] const inspection::Job& job() const { return m_job; }
    // The job's records evaluated against it, as last changed.
    [[nodiscard]] const JobEvaluation& evaluation() const { return m_evaluation; }

    // Opens the newest version of a kept job; the reason when it cannot.
    [[nodiscard]] std::optional<QString> open(const QString& id);
    // Keeps `details` as a new job (version 1, "created") and opens it; records it carries
    // join with it.
    [[nodiscard]] std::optional<QString> create(inspection::Job details, const QString& by);
    // The job's details (everything but its records and history) replaced by `details`'s.
    [[nodiscard]] std::optional<QString> editDetails(const inspection::Job& details,
                                                     const QString& by);
    // Records join the job, numbered on from its last; each of this model's size.
    [[nodiscard]] std::optional<QString> addRecords(std::vector<inspection::JobItem> items,
                                                    const QString& by);
    // The inspector's length and position notes of record `item`.
    [[nodiscard]] std::optional<QString> setNotes(int item, std::optional<double> lengthMm,
                                                  const QString& position, const QString& by);
    // The result of record `item` set by the inspector; the reason is required. nullopt as
    // the result takes an override back (also with a reason).
    [[nodiscard]] std::optional<QString> overrideResult(int item,
                                                        std::optional<inspection::Result> result,
                                                        const QString& reason, const QString& by);
    // Record `item` taken out of the job (its earlier versions keep it).
    [[nodiscard]] std::optional<QString> removeRecord(int item, const QString& by);

    // Who a change is by when nobody else is named: the job's inspector, else the login name.
    [[nodiscard]] QString defaultAuthor() const;

signals:
    // The open job is another one or another version of it.
    void jobChanged();

private:
    std::optional<QString> keep(inspection::Job next, const QString& by, const QString& what);
    void adopt(inspection::Job job);

    inspection::InspectionStore& m_store;
    const ModelProfile& m_profile;
    inspection::Job m_job;
    JobEvaluation m_evaluation;
};

// What the evaluation comes to, as the store keeps it beside the job.
[[nodiscard]] inspection::JobResults jobResults(const JobEvaluation& evaluation);

// A job's details: everything but its identity, model, records and history.
void copyDetails(inspection::Job& to, const inspection::Job& from);
// "client, order number": the details that differ between two versions, as the history names
// them; empty when none does.
[[nodiscard]] QString changedDetails(const inspection::Job& before, const inspection::Job& after);

}  // namespace trellicap
