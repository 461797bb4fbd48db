// Where the job and equipment commands keep their work: the archive file a window program
// keeps (--archive, default ./archive.sqlite), its jobs and register behind the same store
// and desk the window uses; who a change is by (--by, default the login name).
#pragma once

#include <memory>

#include "cli/command_line.h"
#include "cli/models.h"
#include "session/archive_inspection_store.h"
#include "session/job_desk.h"

namespace trellicap::cli {

[[nodiscard]] OptionSyntax jobArchiveOption();
[[nodiscard]] OptionSyntax byOption();

// The archive's store (created when missing, as the window does); bad input when it cannot
// be opened.
[[nodiscard]] std::unique_ptr<ArchiveInspectionStore> openJobStore(const CommandLine& line);
// Who the change is by.
[[nodiscard]] QString changedBy(const CommandLine& line, const inspection::Job& job);

// The kept job named by the first positional argument (its id or the start of it), opened on
// a desk of its model (`fallback` where the job has no model yet: no records).
struct OpenJob {
    std::unique_ptr<ArchiveInspectionStore> store;
    std::unique_ptr<JobDesk> desk;
    const CliModel* model = nullptr;
};
[[nodiscard]] OpenJob openJob(const CommandLine& line, const CliModel* fallback = nullptr);

// The register as kept; bad input when it cannot be read.
[[nodiscard]] inspection::EquipmentRegister registerOf(inspection::InspectionStore& store);

}  // namespace trellicap::cli
