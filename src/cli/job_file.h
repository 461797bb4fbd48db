// JOB.json as the tool reads it: the job itself, checked whole (every mistake named), with
// the reference record of method "record" read from its file (a name relative to the
// JOB.json's own folder) unless the job carries the record already.
#pragma once

#include <QString>
#include <optional>

#include "cli/models.h"
#include "inspection/evaluation.h"
#include "inspection/job.h"

namespace trellicap::cli {

struct JobFile {
    inspection::Job job;
    std::optional<inspection::ReferenceEcho> reference;  // method record
};

// Reads the job; bad input when the file cannot be read or holds mistakes. The reference
// record is read as a record file of `model` (the job's model when null; a record file's
// size tells otherwise), and must show an echo in gate 1.
[[nodiscard]] JobFile readJobFile(const QString& path, const CliModel* model);

// The reference record of `job` (method record) filled in from its file, the file named
// relative to `folder`; the echo found in it. Bad input when it cannot be read or holds none.
[[nodiscard]] std::optional<inspection::ReferenceEcho> loadReference(inspection::Job& job,
                                                                     const QString& folder,
                                                                     const CliModel& model);

// The model a job's records are of (its "model" key), null when it names none; bad input
// for a name that is not a model's.
[[nodiscard]] const CliModel* jobModel(const inspection::Job& job);

}  // namespace trellicap::cli
