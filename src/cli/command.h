// A subcommand: its command-line table and what it does with the parsed line.
#pragma once

#include <span>

#include "cli/command_line.h"

namespace trellicap::cli {

struct Command {
    CommandSyntax syntax;
    void (*run)(const CommandLine& line);
};

// Every subcommand, in the order the overall help lists them.
[[nodiscard]] std::span<const Command* const> commands();

const Command& infoCommand();
const Command& pdfCommand();
const Command& csvCommand();
const Command& jsonCommand();
const Command& pngCommand();
const Command& svgCommand();
const Command& captureCommand();
const Command& archiveSearchCommand();
const Command& archiveImportCommand();
const Command& archiveExportCommand();
const Command& archiveVerifyCommand();
const Command& archiveSyncCommand();
const Command& evaluateCommand();
const Command& jobNewCommand();
const Command& jobShowCommand();
const Command& jobListCommand();
const Command& jobAddCommand();
const Command& jobNoteCommand();
const Command& jobResultCommand();
const Command& jobEditCommand();
const Command& jobReportCommand();
const Command& equipmentAddCommand();
const Command& equipmentListCommand();
const Command& equipmentCheckCommand();

}  // namespace trellicap::cli
