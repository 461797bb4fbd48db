// What a job report must hold before it is a report rather than a draft: the items of a
// test report for ultrasonic testing of welds and of an examination record (object, material,
// thickness, surface, temperature, place and date, organisation, inspector and certification,
// procedure and revision, standard and testing level, instrument, probe, block, couplant,
// reference sensitivity, evaluation rule, at least one record).
#pragma once

#include <QStringList>
#include <optional>

#include "inspection/evaluation.h"
#include "inspection/job.h"

namespace trellicap::inspection {

// The mandatory items the job lacks, in the order the report's cover lists them, each named
// as the job window labels it ("Procedure revision"). `reference` is the reference record's
// echo (method Record), nullopt when it has none.
[[nodiscard]] QStringList missingItems(const Job& job,
                                       const std::optional<ReferenceEcho>& reference);

}  // namespace trellicap::inspection
