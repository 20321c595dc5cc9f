// Start-up: time from starting the program's process to its first painted
// frame, and the process's peak memory. Starts the built program repeatedly
// (path in KANSU_PROGRAM, default next to this binary's build tree) with
// KANSU_FIRST_FRAME set, which makes it print the monotonic clock at its first
// frame and end. Uses the display of the environment (Xvfb or a desktop), or
// Qt's offscreen platform when there is none.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

std::string program()
{
    if (const char* p = std::getenv("KANSU_PROGRAM"))
        return p;
    return "kansu";
}

long long monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// One start with the given arguments: milliseconds to the first frame and the
// peak resident memory in MB.
bool startOnce(const std::vector<std::string>& args, double& ms, double& peakMb)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    const long long started = monotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        setenv("KANSU_FIRST_FRAME", "1", 1);
        if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // A settings store of its own: no zoom kept from earlier use.
        setenv("XDG_CONFIG_HOME", "/nonexistent-kansu-bench", 1);
        const std::string p = program();
        std::vector<char*> argv{const_cast<char*>(p.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(p.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    long long frame = 0;
    if (std::sscanf(text.c_str(), "first-frame-monotonic-ns %lld", &frame) != 1 || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return false;
    ms = (frame - started) / 1e6;
    peakMb = usage.ru_maxrss / 1024.0;
    return true;
}

void BM_StartToFirstFrame(benchmark::State& state, std::vector<std::string> args)
{
    double peak = 0;
    for (auto _ : state) {
        double ms = 0, mb = 0;
        if (!startOnce(args, ms, mb)) {
            state.SkipWithError("the program did not report its first frame");
            return;
        }
        state.SetIterationTime(ms / 1000.0);
        peak = std::max(peak, mb);
    }
    state.counters["peak_MB"] = peak;
}

// At 100 %, at 200 %, and full screen (on the screen of the display used).
BENCHMARK_CAPTURE(BM_StartToFirstFrame, zoom_100, std::vector<std::string>{})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_StartToFirstFrame, zoom_200, std::vector<std::string>{"--zoom", "200"})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_StartToFirstFrame, full_screen, std::vector<std::string>{"--fullscreen"})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
