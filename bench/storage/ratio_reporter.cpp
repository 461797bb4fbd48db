#include "ratio_reporter.h"

#include <cstdio>

namespace trellicap::bench {

RatioReporter::RatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
    : m_pairs(std::move(pairs)) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            m_medians[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                     run.GetAdjustedCPUTime()};
        }
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    for (const auto& [measured, yardstick] : m_pairs) {
        const auto a = m_medians.find(measured);
        const auto b = m_medians.find(yardstick);
        if (a == m_medians.end() || b == m_medians.end() || b->second.cpu <= 0) {
            continue;  // filtered out of this run, or run without repetitions
        }
        std::printf("%s / %s: %.2fx CPU time, %.2fx real time (medians)\n", measured.c_str(),
                    yardstick.c_str(), a->second.cpu / b->second.cpu,
                    a->second.real / b->second.real);
    }
}

}  // namespace trellicap::bench
