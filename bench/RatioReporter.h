// Console output plus the ratios that compare our work with outside tools (ffmpeg alone, cp, rsync), so
// one run of a benchmark program gives every figure to quote. Ratios are of the mean real time of one
// iteration: above 1 means slower than the tool.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                _seconds[run.run_name.function_name +
                         (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints "ours / theirs" for each pair that both ran (a filter may have left one out).
    void printRatios(const std::vector<std::pair<std::string, std::string>> &pairs) const
    {
        for (const auto &[ours, theirs] : pairs) {
            const auto a = _seconds.find(ours), b = _seconds.find(theirs);
            if (a != _seconds.end() && b != _seconds.end() && b->second > 0)
                std::printf("ratio %s / %s = %.2f\n", ours.c_str(), theirs.c_str(), a->second / b->second);
        }
    }

private:
    std::map<std::string, double> _seconds; // mean real time of one iteration
};

// BENCHMARK_MAIN with the ratios of the given pairs printed after the table.
#define RATIO_BENCHMARK_MAIN(...)                                                                            \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        benchmark::Initialize(&argc, argv);                                                                  \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))                                              \
            return 1;                                                                                        \
        RatioReporter reporter;                                                                              \
        benchmark::RunSpecifiedBenchmarks(&reporter);                                                        \
        reporter.printRatios({__VA_ARGS__});                                                                 \
        benchmark::Shutdown();                                                                               \
        return 0;                                                                                            \
    }
