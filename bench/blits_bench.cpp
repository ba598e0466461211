// The picture blits and the rasterisers on a 320 x 240 5-6-5 back buffer, one
// operation per iteration (pixman's peers are in pixman_peers.cpp), and a
// memcpy of the whole buffer as the physical limit. Our reference span
// routines are measured too, against the four-pixel paths.
#include "bench/blit_scene.h"
#include "engine/engine.h"
#include "pictures/internal/blend_spans.h"
#include "raster/raster.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace vilora::bench {
namespace {

surface& back() {
    return scene().back();
}

// 0: four-pixel fast path, 1: four-pixel reference, 2: scalar fast, 3: scalar
// reference, 4: four-pixel fast path without AVX2.
void use_path(int64_t path) {
    processor.cpu_has_mmx = path < 2 || path == 4;
    force_span_impl(path == 4 ? span_impl::narrow
                              : (path % 2 ? span_impl::reference : span_impl::fast));
}

void cross_fade(benchmark::State& state) {
    blit_scene& s = scene();
    use_path(state.range(0));
    const int32_t index = state.range(1) ? s.keyed : s.backdrop;
    for (auto _ : state) s.pictures.draw_picture_faded(&back(), 0, 20, index, 150);
    use_path(0);
}
BENCHMARK(cross_fade)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->ArgNames({"path", "keyed"});

void alpha_blit(benchmark::State& state) {
    blit_scene& s = scene();
    use_path(state.range(0));
    for (auto _ : state) s.pictures.draw_picture_alpha(&back(), 96, 56, s.flare);
    use_path(0);
}
BENCHMARK(alpha_blit)->DenseRange(0, 3)->ArgName("path");

void rotated_blit(benchmark::State& state) {
    blit_scene& s = scene();
    const float scale = static_cast<float>(state.range(0)) / 10.0f;
    for (auto _ : state) s.pictures.draw_picture_rotated(&back(), 160, 120, s.logo, 30, scale);
}
BENCHMARK(rotated_blit)->Arg(16)->Arg(50)->ArgName("scale_x10");

void keyed_draw_picture(benchmark::State& state) {
    blit_scene& s = scene();
    for (auto _ : state) s.pictures.draw_picture(&back(), 0, 20, s.keyed);
}
BENCHMARK(keyed_draw_picture);

void small_triangles(benchmark::State& state) {
    scene();
    back().lock();
    const raster_target target = raster_target_of(&scene().display, 0, 20);
    for (auto _ : state)
        for (const small_triangle& t : small_triangles_of_the_scene())
            fill_triangle(target, t.x[0], t.y[0], t.x[1], t.y[1], t.x[2], t.y[2], 0x7BEF);
    back().unlock();
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(small_triangles);

void lines(benchmark::State& state) {
    scene();
    std::mt19937 random(9);
    std::vector<int32_t> ends(4000);
    for (size_t i = 0; i < ends.size(); i += 2) {
        ends[i] = static_cast<int32_t>(1 + random() % 318);
        ends[i + 1] = static_cast<int32_t>(random() % 200);
    }
    for (size_t i = 0; i < ends.size(); i += 4) {
        ends[i + 2] = ends[i] + static_cast<int32_t>(random() % 61) - 30;
        ends[i + 3] = ends[i + 1] + static_cast<int32_t>(random() % 61) - 30;
    }
    back().lock();
    const raster_target target = raster_target_of(&scene().display, 0, 20);
    for (auto _ : state)
        for (size_t i = 0; i < ends.size(); i += 4)
            draw_line(target, ends[i], ends[i + 1], ends[i + 2], ends[i + 3], 0xFFFF);
    back().unlock();
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(lines);

void memcpy_of_the_back_buffer(benchmark::State& state) {
    std::vector<uint8_t> from(320 * 240 * 2, 1), to(320 * 240 * 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 320 * 240 * 2);
}
BENCHMARK(memcpy_of_the_back_buffer);

} // namespace
} // namespace vilora::bench

BENCHMARK_MAIN();
