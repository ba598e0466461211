// The whole show headless, as `vilora --bench` plays it (start-up, 5083 frames
// of every part and the music, no frame converted), beside its peer: a memcpy
// of as many 320x240 16-bit frames, the least any show of that length could
// cost. Their ratio travels between machines; "x real time" is the show's
// 5083 x 60 ms over the wall time. The program runs as a child process, since
// nothing but the driver's own tests may include the driver.
//
//   show_bench [--benchmark_...]
//
// VILORA_BENCH_DATA=DIR picks the data set, VILORA_BENCH_PROGRAM=PATH another
// build of the program (an older one, to compare).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int show_frames = 5083;
constexpr double show_seconds = show_frames * 0.060;

// Runs vilora --bench with its table thrown away; false when it failed.
bool play_show_headless() {
    const char* program = std::getenv("VILORA_BENCH_PROGRAM");
    std::vector<std::string> arguments{program ? program : VILORA_PROGRAM, "--bench"};
    if (const char* data = std::getenv("VILORA_BENCH_DATA")) {
        arguments.emplace_back("--data");
        arguments.emplace_back(data);
    }
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void whole_show(benchmark::State& state) {
    for (auto _ : state)
        if (!play_show_headless()) state.SkipWithError("vilora --bench failed");
    state.counters["x_real_time"] = benchmark::Counter(
        show_seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(whole_show)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5.0);

void memcpy_of_the_shows_frames(benchmark::State& state) {
    const size_t frame_bytes = 320 * 240 * 2;
    std::vector<uint8_t> from(frame_bytes, 1), to(frame_bytes);
    for (auto _ : state)
        for (int frame = 0; frame < show_frames; ++frame) {
            std::memcpy(to.data(), from.data(), frame_bytes);
            benchmark::ClobberMemory();
        }
    state.counters["x_real_time"] = benchmark::Counter(
        show_seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(memcpy_of_the_shows_frames)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
