// Report pages made without the window: each chosen slot recalled as the window recalls it,
// then composed as a printed page, all into one PDF (the archive's exports use it).
#pragma once

#include <QIODevice>
#include <QString>
#include <vector>

#include "record/record_store.h"

namespace trellicap {

// One "Ultrasonic  Test  Report" page per slot (1..200), in one PDF written to `device`
// (open for writing). Empty when it worked, else why not.
[[nodiscard]] QString writeReportPdf(RecordStore& store, const std::vector<int>& chosen,
                                     QIODevice& device, int dpi);

}  // namespace trellicap
