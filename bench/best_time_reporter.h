#pragma once
// Shared by the benchmark programs: the usual console table, the lowest processor time of each
// benchmark (the best of its repetitions, so a figure does not depend on what else the machine
// happens to be doing), and figures printed without the user's locale.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace QRV::Bench {

class BestTimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            // In the reporter's unit per iteration.
            const double time = run.GetAdjustedCPUTime();
            auto [it, inserted] = best.try_emplace(run.run_name.function_name, time);
            if (!inserted) it->second = std::min(it->second, time);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::optional<double> Best(const std::string& name) const {
        const auto it = best.find(name);
        if (it == best.end()) return std::nullopt;
        return it->second;
    }

    // The best time of one benchmark over another's; nothing when either is missing.
    std::optional<double> Ratio(const std::string& ours, const std::string& baseline) const {
        const auto a = Best(ours);
        const auto b = Best(baseline);
        if (!a || !b || *b <= 0.0) return std::nullopt;
        return *a / *b;
    }

    std::map<std::string, double> best;
};

inline std::string Fixed(double value, int precision = 2) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision).ptr;
    return std::string(text, end);
}

// Runs the benchmarks named on the command line (all by default) through the reporter.
// False when the command line has arguments the library does not know.
inline bool RunBenchmarks(BestTimeReporter& reporter, int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}

}  // namespace QRV::Bench
