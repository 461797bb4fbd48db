// The folder the composer writes its scratch bitmaps into must take new files. Checked once
// before a print run, so that an unwritable folder (a deleted one, a read-only share, a full
// medium) is told once with its reason instead of once for every bitmap of every page.
#pragma once

#include <QString>
#include <optional>

namespace trellicap {

// The system's reason ("No such file or directory") when a file cannot be created in
// folder; nullopt when it can. The probe file is removed again.
[[nodiscard]] std::optional<QString> scratchFolderProblem(const QString& folder);

}  // namespace trellicap
