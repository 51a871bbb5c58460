// The 1,000,001-row table (0 to 1 in steps of 0.000001): our run against the
// plain way of writing it, snprintf per row appended to a growing string.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "core/tabulation.h"

namespace {

constexpr wertomat::TabulationRequest kLargestTable{0.0, 0.000001, 1.0, 0};

void BM_TabulationRun(benchmark::State& state) {
    for (auto _ : state) {
        wertomat::TabulationOutcome outcome = wertomat::RunTabulation(kLargestTable);
        benchmark::DoNotOptimize(outcome.text.data());
    }
}

void BM_SnprintfPerRow(benchmark::State& state) {
    const wertomat::TabulationRequest& r = kLargestTable;
    for (auto _ : state) {
        std::string sErg = "x\ty\r\n";
        const double limit = r.end + r.step * 0.1;
        char sXY[700];
        for (double x = r.start; x < limit; x += r.step) {
            std::snprintf(sXY, sizeof sXY, "%10.4f\t%10.4f\r\n", x, wertomat::Evaluate(r.kind, x));
            sErg += sXY;
        }
        benchmark::DoNotOptimize(sErg.data());
    }
}

}  // namespace

BENCHMARK(BM_TabulationRun)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_SnprintfPerRow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

BENCHMARK_MAIN();
