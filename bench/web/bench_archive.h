// The benchmark's archive: 100,000 records kept the way the window program keeps them (a
// record file of 200 marked slots opened 500 times, one shift after another), each record
// its own: TFT and DAC, ranges, gains, gates and DAC curves, echoes where a weld would give
// them, and operator, railway, axle and remark texts. Made once, kept under the build folder.
#pragma once

#include <QString>

namespace trellicap::bench {

inline constexpr int kBenchRecords = 100000;

// The archive at path, made when it does not hold kBenchRecords records yet; false with the
// reason printed when it cannot be made.
bool ensureBenchArchive(const QString& path);

}  // namespace trellicap::bench
