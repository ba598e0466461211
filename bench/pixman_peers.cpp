// pixman doing the work of our blits and triangles on the same pictures and
// the same 320 x 240 r5g6b5 buffer, as the peer: OVER with a solid a8 mask
// (cross-fade), premultiplied a8r8g8b8 OVER (alpha blit), SRC (picture copy),
// a nearest-filtered transform (rotated blit) and composite triangles through
// an a1 mask.
#include "bench/blit_scene.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace vilora::bench {
namespace {

struct pixman_scene {
    pixman_scene() {
        blit_scene& s = scene();
        screen = bits(PIXMAN_r5g6b5, 320, 240, screen_pixels);
        backdrop = copy_of(s.picture(s.backdrop), backdrop_pixels);
        logo = copy_of(s.picture(s.logo), logo_pixels);
        flare = premultiplied_flare(s.picture(s.flare));
        fade_mask = bits(PIXMAN_a8, 1, 1, fade_level);
        reinterpret_cast<uint8_t*>(fade_level.data())[0] = 150;
        pixman_image_set_repeat(fade_mask, PIXMAN_REPEAT_NORMAL);
        const pixman_color_t grey{0x7800, 0x7C00, 0x7800, 0xFFFF};
        ink = pixman_image_create_solid_fill(&grey);
        for (const small_triangle& t : small_triangles_of_the_scene()) {
            auto point = [&](int k) {
                return pixman_point_fixed_t{pixman_double_to_fixed(t.x[k]),
                                            pixman_double_to_fixed(t.y[k] + 20.0)};
            };
            triangles.push_back({point(0), point(1), point(2)});
        }
    }

    static pixman_image_t* bits(pixman_format_code_t format, int width, int height,
                                std::vector<uint32_t>& store) {
        const int stride = (width * PIXMAN_FORMAT_BPP(format) / 8 + 3) & ~3;
        store.assign(static_cast<size_t>(stride / 4 * height), 0);
        return pixman_image_create_bits(format, width, height, store.data(), stride);
    }

    static pixman_image_t* copy_of(surface& picture, std::vector<uint32_t>& store) {
        pixman_image_t* image = bits(PIXMAN_r5g6b5, picture.width, picture.height, store);
        const int stride = pixman_image_get_stride(image);
        picture.lock();
        for (int32_t y = 0; y < picture.height; ++y)
            std::memcpy(reinterpret_cast<uint8_t*>(store.data()) + y * stride,
                        picture.pixels + y * picture.pitch, static_cast<size_t>(picture.width * 2));
        picture.unlock();
        return image;
    }

    pixman_image_t* premultiplied_flare(surface& picture) {
        pixman_image_t* image = bits(PIXMAN_a8r8g8b8, flare_side, flare_side, flare_pixels);
        picture.lock();
        for (int y = 0; y < flare_side; ++y)
            for (int x = 0; x < flare_side; ++x) {
                uint16_t p;
                std::memcpy(&p, picture.pixels + y * picture.pitch + x * 2, 2);
                const uint32_t a = picture.alpha_map[static_cast<size_t>(y * flare_side + x)];
                const uint32_t r = (p >> 11) * 255 / 31 * a / 255;
                const uint32_t g = (p >> 5 & 63) * 255 / 63 * a / 255;
                const uint32_t b = (p & 31) * 255 / 31 * a / 255;
                flare_pixels[static_cast<size_t>(y * flare_side + x)] =
                    a << 24 | r << 16 | g << 8 | b;
            }
        picture.unlock();
        return image;
    }

    std::vector<uint32_t> screen_pixels, backdrop_pixels, logo_pixels, flare_pixels, fade_level;
    pixman_image_t* screen = nullptr;
    pixman_image_t* backdrop = nullptr;
    pixman_image_t* logo = nullptr;
    pixman_image_t* flare = nullptr;
    pixman_image_t* fade_mask = nullptr;
    pixman_image_t* ink = nullptr;
    std::vector<pixman_triangle_t> triangles;
};

pixman_scene& peer() {
    static pixman_scene* const p = new pixman_scene;
    return *p;
}

void pixman_cross_fade(benchmark::State& state) {
    pixman_scene& p = peer();
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, p.backdrop, p.fade_mask, p.screen, 0, 0, 0, 0, 0,
                                 20, 320, 200);
}
BENCHMARK(pixman_cross_fade);

void pixman_alpha_blit(benchmark::State& state) {
    pixman_scene& p = peer();
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, p.flare, nullptr, p.screen, 0, 0, 0, 0, 96, 56,
                                 flare_side, flare_side);
}
BENCHMARK(pixman_alpha_blit);

void pixman_src_copy(benchmark::State& state) {
    pixman_scene& p = peer();
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_SRC, p.backdrop, nullptr, p.screen, 0, 0, 0, 0, 0, 20,
                                 320, 200);
}
BENCHMARK(pixman_src_copy);

// The logo turned by 30 degrees and scaled about (160, 120), nearest pixel;
// outside the logo the screen stays (OVER of what lies beyond the edge, which
// is transparent). The composite covers the turned square's bounding box.
void pixman_rotated(benchmark::State& state) {
    pixman_scene& p = peer();
    const double scale = static_cast<double>(state.range(0)) / 10.0;
    const double angle = 30.0 * M_PI / 180.0, c = std::cos(angle), sn = std::sin(angle);
    const double cx = 160.0, cy = 120.0, half = logo_side / 2.0;
    pixman_transform_t t{};
    t.matrix[0][0] = pixman_double_to_fixed(c / scale);
    t.matrix[0][1] = pixman_double_to_fixed(sn / scale);
    t.matrix[0][2] = pixman_double_to_fixed(-(c * cx + sn * cy) / scale + half);
    t.matrix[1][0] = pixman_double_to_fixed(-sn / scale);
    t.matrix[1][1] = pixman_double_to_fixed(c / scale);
    t.matrix[1][2] = pixman_double_to_fixed((sn * cx - c * cy) / scale + half);
    t.matrix[2][2] = pixman_fixed_1;
    pixman_image_set_transform(p.logo, &t);
    pixman_image_set_filter(p.logo, PIXMAN_FILTER_NEAREST, nullptr, 0);
    const double reach = half * scale * (c + sn);
    const int left = std::max(0, static_cast<int>(cx - reach));
    const int right = std::min(320, static_cast<int>(cx + reach) + 1);
    const int top = std::max(20, static_cast<int>(cy - reach));
    const int bottom = std::min(220, static_cast<int>(cy + reach) + 1);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, p.logo, nullptr, p.screen, left, top, 0, 0, left,
                                 top, right - left, bottom - top);
    pixman_image_set_transform(p.logo, nullptr);
}
BENCHMARK(pixman_rotated)->Arg(16)->Arg(50)->ArgName("scale_x10");

void pixman_small_triangles(benchmark::State& state) {
    pixman_scene& p = peer();
    for (auto _ : state)
        pixman_composite_triangles(PIXMAN_OP_OVER, p.ink, p.screen, PIXMAN_a1, 0, 0, 0, 0,
                                   static_cast<int>(p.triangles.size()), p.triangles.data());
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(pixman_small_triangles);

} // namespace
} // namespace vilora::bench
