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
// build of the program (an older one, to compare). VILORA_BENCH_WASM=PATH adds
// the same show played by the WebAssembly build under node
// (build-web/node/vilora.js), in the same run, so that the two compare.
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

// Runs `command` (searched in PATH) with its output thrown away; false when
// it failed.
bool run_quietly(std::vector<std::string> command) {
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& a : command) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// `program` --bench [--data DIR], its table thrown away.
bool play_show_headless(std::vector<std::string> program) {
    program.emplace_back("--bench");
    if (const char* data = std::getenv("VILORA_BENCH_DATA")) {
        program.emplace_back("--data");
        program.emplace_back(data);
    }
    return run_quietly(std::move(program));
}

void count_shows(benchmark::State& state) {
    const auto shows = static_cast<double>(state.iterations());
    state.counters["x_real_time"] =
        benchmark::Counter(show_seconds * shows, benchmark::Counter::kIsRate);
    state.counters["frames_per_second"] =
        benchmark::Counter(show_frames * shows, benchmark::Counter::kIsRate);
}

void whole_show(benchmark::State& state) {
    const char* program = std::getenv("VILORA_BENCH_PROGRAM");
    for (auto _ : state)
        if (!play_show_headless({program ? program : VILORA_PROGRAM}))
            state.SkipWithError("vilora --bench failed");
    count_shows(state);
}
BENCHMARK(whole_show)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5.0);

void whole_show_wasm_under_node(benchmark::State& state) {
    for (auto _ : state)
        if (!play_show_headless({"node", std::getenv("VILORA_BENCH_WASM")}))
            state.SkipWithError("node vilora.js --bench failed");
    count_shows(state);
}

void memcpy_of_the_shows_frames(benchmark::State& state) {
    const size_t frame_bytes = 320 * 240 * 2;
    std::vector<uint8_t> from(frame_bytes, 1), to(frame_bytes);
    for (auto _ : state)
        for (int frame = 0; frame < show_frames; ++frame) {
            std::memcpy(to.data(), from.data(), frame_bytes);
            benchmark::ClobberMemory();
        }
    count_shows(state);
}
BENCHMARK(memcpy_of_the_shows_frames)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("VILORA_BENCH_WASM"))
        benchmark::RegisterBenchmark("whole_show_wasm_under_node", whole_show_wasm_under_node)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(5.0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
