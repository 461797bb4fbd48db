// The documents an export job writes, one writer each: the job shows each slot and hands the
// record shown to the writer, which adds it to its document.
#pragma once

#include <QIODevice>
#include <QString>
#include <memory>

#include "report/export_job.h"

namespace trellicap {

class ExportWriter {
public:
    virtual ~ExportWriter() = default;
    // Prepares the document; the reason when it cannot.
    [[nodiscard]] virtual QString begin() { return {}; }
    // Adds the record `shown` shows, as slot `slot` (0: a record shown by a window, whose page
    // names no slot of its own); the reason on failure.
    [[nodiscard]] virtual QString add(const SlotView& shown, int slot) = 0;
    // Writes what is left; the reason on failure.
    [[nodiscard]] virtual QString end() = 0;
    // Whether a record shown elsewhere can go in (pages only).
    [[nodiscard]] virtual bool takesShown() const { return false; }
};

// The writer of the request's format into `device`.
[[nodiscard]] std::unique_ptr<ExportWriter> makeExportWriter(const ModelProfile& profile,
                                                             const ExportRequest& request,
                                                             QIODevice& device);

}  // namespace trellicap
