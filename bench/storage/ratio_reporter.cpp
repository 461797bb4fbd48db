#include "ratio_reporter.h"

#include <cstdio>

namespace trellicap::bench {

RatioReporter::RatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
    : m_pairs(std::move(pairs)) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Aggregate) {
            m_times[run.aggregate_name + ' ' + run.run_name.function_name] = {
                run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
    }
}

void RatioReporter::printRatio(const std::string& statistic, const std::string& measured,
                               const std::string& yardstick) const {
    const auto a = m_times.find(statistic + ' ' + measured);
    const auto b = m_times.find(statistic + ' ' + yardstick);
    if (a == m_times.end() || b == m_times.end() || b->second.cpu <= 0) {
        return;  // filtered out of this run, or run without repetitions
    }
    std::printf("%s / %s: %.2fx CPU time, %.2fx real time (%s)\n", measured.c_str(),
                yardstick.c_str(), a->second.cpu / b->second.cpu, a->second.real / b->second.real,
                statistic.c_str());
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    for (const auto& [measured, yardstick] : m_pairs) {
        printRatio("median", measured, yardstick);
        printRatio("min", measured, yardstick);
    }
}

}  // namespace trellicap::bench
