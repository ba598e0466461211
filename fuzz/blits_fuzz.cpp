// Random placements, angles, scales, levels and alpha maps for the picture
// blits, and random triangle and line coordinates for the rasterisers, on
// every screen depth, on the back surface or a destination smaller than the
// clip, with every span implementation: nothing may be read or written out
// of bounds, nothing may overflow, and on the letterboxed screen nothing may
// land outside the picture area (screen rows 20..219).
#include "engine/engine.h"
#include "fuzz/fuzz_screens.h"
#include "pictures/internal/blend_spans.h"
#include "pictures/picture_list.h"
#include "raster/raster.h"
#include "tests/pictures/picture_bytes.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace vilora;

constexpr int32_t picture_sizes[][2] = {{1, 1}, {2, 3}, {5, 4}, {9, 7}, {17, 11}, {64, 40}};
constexpr uint32_t sentinel = 0x5A;

struct blit_world {
    fuzzing::fuzz_screen* screen = nullptr;
    picture_list list;
    surface small; // smaller than every clip the fuzzer sets
};

// Black BMP pictures of every size on every screen, each with an alpha map.
std::vector<blit_world>& worlds() {
    static auto* const all = new std::vector<blit_world>(4);
    static const bool ready = [] {
        const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                          ("vilora_blits_fuzz_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        for (size_t s = 0; s < all->size(); ++s) {
            blit_world& w = (*all)[s];
            w.screen = &fuzzing::fuzz_screens()[s];
            for (const auto& size : picture_sizes) {
                const int32_t row = (size[0] * 3 + 3) & ~3;
                const std::string name = (dir / "p.bmp").string();
                const std::vector<uint8_t> bytes =
                    testing::bmp_bytes({size[0],
                                        size[1],
                                        24,
                                        0,
                                        40,
                                        {},
                                        std::vector<uint8_t>(static_cast<size_t>(row * size[1]))});
                std::ofstream(name, std::ios::binary)
                    .write(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<std::streamsize>(bytes.size()));
                const int32_t index = w.list.add_picture(&w.screen->display, name.c_str(), 0, 0);
                if (index < 0) std::abort();
                w.list.picture_surface(index)->attach_alpha_map();
            }
            if (w.small.create_surface(&w.screen->display, picture_surface_kind, 13, 7))
                std::abort();
        }
        std::filesystem::remove_all(dir);
        return true;
    }();
    (void)ready;
    return *all;
}

// Mostly near the screen, sometimes anywhere in 32 bits.
int32_t coordinate(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) return in.ConsumeIntegral<int32_t>();
    return in.ConsumeIntegralInRange<int32_t>(-400, 720);
}

float real(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) return in.ConsumeFloatingPoint<float>();
    return in.ConsumeFloatingPointInRange<float>(-500.0f, 800.0f);
}

void fill_picture(surface& picture, FuzzedDataProvider& in) {
    const std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange(1, 64));
    if (bytes.empty()) return;
    picture.lock();
    const auto row = static_cast<size_t>(picture.width * picture.bytes_per_pixel());
    for (int32_t y = 0; y < picture.height; ++y)
        for (size_t x = 0; x < row; ++x)
            picture.pixels[static_cast<ptrdiff_t>(y) * picture.pitch + static_cast<ptrdiff_t>(x)] =
                bytes[(static_cast<size_t>(y) * row + x) % bytes.size()];
    picture.unlock();
    const auto count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    for (size_t i = 0; i < count; ++i)
        picture.alpha_map[i] = bytes[(i * 7 + bytes.size() / 2) % bytes.size()];
}

// `origin_y` is where the rasterisers put the picture area's corner; the
// display's clip is their picture area, as it is the blits'.
void draw_one(blit_world& w, surface& destination, int32_t origin_y, FuzzedDataProvider& in) {
    const auto index =
        in.ConsumeIntegralInRange<int32_t>(0, static_cast<int32_t>(std::size(picture_sizes)) - 1);
    surface& picture = *w.list.picture_surface(index);
    if (in.ConsumeBool())
        picture.flags |= surface_colour_keyed;
    else
        picture.flags &= static_cast<uint8_t>(~surface_colour_keyed);
    const int32_t x = coordinate(in), y = coordinate(in);
    display_device& display = w.screen->display;
    surface& back = *display.back;
    switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0:
        w.list.draw_picture_faded(&destination, x, y, index, in.ConsumeIntegral<int32_t>());
        break;
    case 1:
        w.list.draw_picture_alpha(&destination, x, y, index);
        break;
    case 2:
        w.list.draw_picture_rotated(&destination, x, y, index, in.ConsumeIntegral<int32_t>(),
                                    real(in));
        break;
    case 3:
        w.list.draw_picture(&destination, x, y, index);
        break;
    case 4:
        back.lock();
        fill_triangle(raster_target_of(&display, 0, origin_y), real(in), real(in), real(in),
                      real(in), real(in), real(in), 0x1234);
        back.unlock();
        break;
    case 5:
        back.lock();
        fill_triangle_striped(raster_target_of(&display, 0, origin_y), real(in), real(in), real(in),
                              real(in), real(in), real(in), 0x4321);
        back.unlock();
        break;
    default:
        back.lock();
        draw_line(raster_target_of(&display, 0, origin_y), x, y, coordinate(in), coordinate(in),
                  0x7777);
        back.unlock();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    blit_world& w = worlds()[in.ConsumeIntegralInRange<size_t>(0, 3)];
    display_device& display = w.screen->display;
    surface& back = *display.back;
    const bool letterboxed = in.ConsumeBool();
    display.clip = letterboxed
                       ? clip_rect{0, 20, 320, 220}
                       : clip_rect{coordinate(in), coordinate(in), coordinate(in), coordinate(in)};
    const int32_t origin_y = letterboxed ? 20 : in.ConsumeIntegralInRange(-50, 300);
    processor.cpu_has_mmx = in.ConsumeBool();
    force_span_impl(static_cast<span_impl>(in.ConsumeIntegralInRange(0, 2)));
    for (int32_t index = 0; index < w.list.picture_count(); ++index)
        fill_picture(*w.list.picture_surface(index), in);
    back.clear(sentinel);

    const bool small = !letterboxed && in.ConsumeBool();
    for (int op = 0; op < 8 && in.remaining_bytes() > 0; ++op)
        draw_one(w, small ? w.small : back, origin_y, in);

    if (letterboxed) {
        back.lock();
        const int bytes = back.bytes_per_pixel();
        for (int32_t y : {0, 19, 220, 239})
            for (int32_t x = 0; x < 320; ++x) {
                uint32_t value = 0;
                for (int k = 0; k < bytes; ++k)
                    value |= uint32_t{back.pixels[y * back.pitch + x * bytes + k]} << (8 * k);
                if (value != sentinel) std::abort();
            }
        back.unlock();
    }
    return 0;
}
