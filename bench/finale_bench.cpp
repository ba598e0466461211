// The finale's frame: obw's keyed backdrop over the back buffer, then its
// black noise lines, one more every frame, so a finale that lasts hours
// reaches millions of lines a frame. Once the picture area is black, the
// lines left only move the random generator on, and that is a jump.
#include "bench/blit_scene.h"
#include "engine/engine.h"
#include "parts/noise_lines.h"

#include <benchmark/benchmark.h>

namespace vilora::bench {
namespace {

void finale_frame(benchmark::State& state) {
    blit_scene& s = scene();
    const auto lines = static_cast<int32_t>(state.range(0));
    seed_random(1);
    for (auto _ : state) {
        s.pictures.draw_picture(&s.back(), 0, 20, s.keyed);
        const locked_pixels back(&s.back());
        draw_noise_lines(back, lines, 0, 0, 20);
    }
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(finale_frame)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->ArgName("lines")
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace vilora::bench

BENCHMARK_MAIN();
