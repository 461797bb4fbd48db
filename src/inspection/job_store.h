// Where jobs and the equipment register are kept: every change is a new version, never an
// overwrite. The archive keeps them beside the records (and sends them to the team server);
// the window program, trellicap-cli and the tests all go through this interface.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "inspection/equipment.h"
#include "inspection/job.h"

namespace trellicap::inspection {

// A line of the job list.
struct JobListing {
    QString id;
    int version = 0;
    QString model;
    QString client;
    QString order;
    QString object;
    QString changedAt;  // the newest version's time
    int records = 0;
    QString result;  // the overall result as last kept ("reject", "acceptable", ...)
};

// What a version of a job comes to, kept beside it for the lists and the searches: the
// overall result and each record's, in the job's order.
struct JobResults {
    QString overall;
    std::vector<QString> records;
};

class InspectionStore {
public:
    virtual ~InspectionStore() = default;

    // Keeps `job` as a new version. A job without an id is new: it gets one, and must be
    // version 1. Otherwise the version must follow the newest kept one, so a change made
    // from a job read before someone else's change is refused rather than lost. `results` are
    // what the job's records come to (kept for the searches). The reason on failure.
    [[nodiscard]] virtual std::optional<QString> keepJob(Job& job, const JobResults& results) = 0;
    // The newest version of a job (by its id, or the first characters of it when they name
    // one job alone); nullopt with `error` set when there is none or it cannot be read.
    [[nodiscard]] virtual std::optional<Job> job(const QString& id, QString* error) = 0;
    // A kept version of a job.
    [[nodiscard]] virtual std::optional<Job> jobVersion(const QString& id, int version,
                                                        QString* error) = 0;
    // Every job's newest version, the last changed first.
    [[nodiscard]] virtual std::vector<JobListing> jobs(QString* error) = 0;

    // Keeps an entry of the register as the next version of its key (a daily check without an
    // id gets one); sets item.version. The reason on failure.
    [[nodiscard]] virtual std::optional<QString> keepItem(EquipmentItem& item) = 0;
    // The newest version of every entry.
    [[nodiscard]] virtual std::optional<EquipmentRegister> equipment(QString* error) = 0;
    // Every version of one entry, the oldest first.
    [[nodiscard]] virtual std::vector<EquipmentItem> itemVersions(ItemKind kind, const QString& key,
                                                                  QString* error) = 0;
};

}  // namespace trellicap::inspection
