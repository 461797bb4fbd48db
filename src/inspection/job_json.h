// JOB.json: a job as a file (docs/cli.md lists every key). `job show --json` writes what
// `job new --from` reads, so a job travels between computers as one file: its records with
// their values, the reference record, the notes, overrides and the history of its versions.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

#include "inspection/job.h"

namespace trellicap::inspection {

struct JobRead {
    Job job;
    QStringList errors;  // one per line; the job is not to be used when there are any
};

// Reads JOB.json. The id, version and history it may carry are read as they stand (a new
// job starts its own).
[[nodiscard]] JobRead readJob(const QByteArray& text);

[[nodiscard]] QJsonObject jobJson(const Job& job);
[[nodiscard]] QByteArray jobDocument(const Job& job);

// "dac", "record"; "slot", "file", "archive".
[[nodiscard]] QString methodName(ReferenceMethod method);
[[nodiscard]] QString originName(OriginKind kind);

}  // namespace trellicap::inspection
