// The console report, followed by how many times slower each benchmark ran than its
// yardstick in the same run (by the medians and by the fastest of the repetitions), so no
// figure from another run or another machine is ever compared.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace trellicap::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Pairs of benchmark names: (measured, yardstick).
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    void printRatio(const std::string& statistic, const std::string& measured,
                    const std::string& yardstick) const;

    std::vector<std::pair<std::string, std::string>> m_pairs;
    std::map<std::string, Times> m_times;  // by statistic and benchmark name
};

}  // namespace trellicap::bench
