// What the job pages read from the archive, on the query pool's connections: the list of jobs
// (each job's newest version) and one job whole, with the equipment register its report names.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "inspection/equipment.h"
#include "inspection/job.h"
#include "inspection/job_store.h"
#include "web/query_pool.h"

namespace trellicap::web {

struct JobRead {
    inspection::Job job;
    inspection::EquipmentRegister equipment;
};

class JobReader {
public:
    explicit JobReader(QueryPool& pool) : m_pool(pool) {}

    // Every job's newest version; nothing with `error` set when the archive failed.
    [[nodiscard]] std::optional<std::vector<inspection::JobListing>> jobs(QString* error);
    // The newest version of the job `uuid` and the register. Nothing with `error` empty: no
    // such job; with `error` set: the archive failed or the job cannot be read.
    [[nodiscard]] std::optional<JobRead> job(const QString& uuid, QString* error);

private:
    QueryPool& m_pool;
};

}  // namespace trellicap::web
