// The display layer's per-frame work: turning the flipped frame into the
// host's 0x00RRGGBB picture, and the fast copy of pictures (plain and keyed),
// each beside a memcpy of the same bytes as the physical limit.
#include "platform/display/display_device.h"
#include "platform/display/frame_conversion.h"
#include "platform/display/internal/pixel_paths.h"
#include "platform/display/internal/video_memory.h"
#include "platform/hosts/headless_host.h"
#include "platform/window/app_window.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace vilora {
namespace {

struct bench_display {
    explicit bench_display(int depth) {
        window.create_window("bench", app_window::procedure, window_style_popup, 0, 0, 320, 240);
        display.create_interface();
        display.set_mode(0, window.handle, 320, 240, depth);
        picture.create_surface(&display, picture_surface_kind, 320, 200);
        picture.lock();
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < picture.pitch; ++x)
                picture.pixels[y * picture.pitch + x] =
                    static_cast<uint8_t>((x * 7 + y * 3) % 5 ? x ^ y : 0);
        picture.unlock();
        picture.set_colour_key(0);
    }
    app_window window;
    display_device display;
    surface picture;
};

// Paths as pixel_path numbers: 0 fast, 1 sse2, 2 reference.
struct path_scope {
    explicit path_scope(int64_t path) { force_pixel_path(static_cast<pixel_path>(path)); }
    ~path_scope() { force_pixel_path(pixel_path::fast); }
};

// What every flip does: the frame in the host's format, its tables made with the mode.
void frame_conversion(benchmark::State& state) {
    bench_display b(static_cast<int>(state.range(0)));
    const path_scope path(state.range(1));
    const video_surface& front = *b.display.front->platform;
    const frame_converter converter(front.format());
    rgb_frame f;
    for (auto _ : state) {
        converter.convert(front, f);
        benchmark::DoNotOptimize(f.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 320 * 240);
}
BENCHMARK(frame_conversion)->ArgsProduct({{8, 16, 32}, {0, 2}})->ArgNames({"depth", "path"});

void picture_copy(benchmark::State& state) {
    bench_display b(16);
    const path_scope path(state.range(1));
    if (state.range(0)) b.picture.flags |= surface_colour_keyed;
    for (auto _ : state) b.picture.blit_to(b.display.back.get(), 0, 20, 0, 0, 320, 200);
    state.SetBytesProcessed(state.iterations() * 320 * 200 * 2);
}
BENCHMARK(picture_copy)->ArgsProduct({{0, 1}, {0, 1, 2}})->ArgNames({"keyed", "path"});

void memcpy_of_the_picture(benchmark::State& state) {
    std::vector<uint8_t> from(320 * 200 * 2, 1), to(320 * 200 * 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 320 * 200 * 2);
}
BENCHMARK(memcpy_of_the_picture);

} // namespace
} // namespace vilora

BENCHMARK_MAIN();
