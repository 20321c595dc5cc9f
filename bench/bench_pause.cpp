// The pause of the automatic run: how much processor time it takes while it
// waits, and how far past the time asked for it returns.
//
//   QT_QPA_PLATFORM=offscreen ./bench_pause
//
// BM_PauseProcessorTime: counter cpu_percent = processor time (user + system,
// from getrusage) used during one 1000 ms pause, in percent of one processor.
// A pause that waits for events stays near 0; one that polls in a loop is
// near 100.
// BM_PauseOvershoot: counter overshoot_ms = how much longer than 250 ms a
// pause took, on the steady clock; median, min, max and spread over 10
// repetitions. The time column is the whole pause (manual time).
#include <sys/resource.h>

#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

#include "platform/surface.h"

namespace {
using Clock = std::chrono::steady_clock;

double processorSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_PauseProcessorTime(benchmark::State& state)
{
    for (auto _ : state) {
        const double cpu0 = processorSeconds();
        const auto start = Clock::now();
        platform::events::waitHandlingEvents(1000);
        const double wall = secondsSince(start);
        const double cpu = processorSeconds() - cpu0;
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
    }
}
BENCHMARK(BM_PauseProcessorTime)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PauseOvershoot(benchmark::State& state)
{
    constexpr int ms = 250;
    for (auto _ : state) {
        const auto start = Clock::now();
        platform::events::waitHandlingEvents(ms);
        const double wall = secondsSince(start);
        state.SetIterationTime(wall);
        state.counters["overshoot_ms"] = wall * 1000.0 - ms;
    }
}
double minimum(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
double maximum(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
double spread(const std::vector<double>& v) { return maximum(v) - minimum(v); }
BENCHMARK(BM_PauseOvershoot)
    ->Iterations(1)
    ->Repetitions(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimum)
    ->ComputeStatistics("max", maximum)
    ->ComputeStatistics("spread", spread)
    ->ReportAggregatesOnly(true);
}  // namespace

int main(int argc, char** argv)
{
    // The pause runs the application's event loop: the application comes first.
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
