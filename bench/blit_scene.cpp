#include "bench/blit_scene.h"

#include "engine/engine.h"
#include "tests/pictures/picture_bytes.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace vilora::bench {

namespace {

int32_t add_black_picture(blit_scene& s, const std::filesystem::path& dir, int32_t width,
                          int32_t height, bool keyed) {
    const std::string name = (dir / "p.bmp").string();
    const auto row = static_cast<size_t>((width * 3 + 3) & ~3);
    const std::vector<uint8_t> bytes = testing::bmp_bytes(
        {width, height, 24, 0, 40, {}, std::vector<uint8_t>(row * static_cast<size_t>(height))});
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return s.pictures.add_picture(&s.display, name.c_str(), 0, keyed ? 1 : 0);
}

// Random colours, a fifth of them black (the key); the flare's alpha falls
// from 255 in the middle to 0 at flare_radius, and is 0 beyond.
void paint(blit_scene& s) {
    std::mt19937 random(42);
    for (int32_t index : {s.backdrop, s.keyed, s.logo, s.flare}) {
        surface& p = s.picture(index);
        p.lock();
        for (int32_t y = 0; y < p.height; ++y)
            for (int32_t x = 0; x < p.width; ++x) {
                const uint16_t value = random() % 5 ? static_cast<uint16_t>(random()) : 0;
                std::memcpy(p.pixels + y * p.pitch + x * 2, &value, 2);
            }
        p.unlock();
    }
    surface& f = s.picture(s.flare);
    f.attach_alpha_map();
    const double middle = (flare_side - 1) / 2.0;
    for (int y = 0; y < flare_side; ++y)
        for (int x = 0; x < flare_side; ++x) {
            const double r = std::hypot(x - middle, y - middle) / flare_radius;
            f.alpha_map[static_cast<size_t>(y * flare_side + x)] =
                static_cast<uint8_t>(r < 1 ? 255 * (1 - r) * (1 - r) : 0);
        }
}

blit_scene* make_scene() {
    auto* s = new blit_scene;
    s->window.create_window("bench", app_window::procedure, window_style_popup, 0, 0, 320, 240);
    s->display.create_interface();
    s->display.set_mode(0, s->window.handle, 320, 240, 16);
    set_screen(&s->display, 320, 240);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vilora_blits_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    s->backdrop = add_black_picture(*s, dir, 320, 200, false);
    s->keyed = add_black_picture(*s, dir, 320, 200, true);
    s->logo = add_black_picture(*s, dir, logo_side, logo_side, false);
    s->flare = add_black_picture(*s, dir, flare_side, flare_side, false);
    std::filesystem::remove_all(dir);
    paint(*s);
    return s;
}

} // namespace

blit_scene& scene() {
    // Never destroyed: the window registry it would leave may be gone at exit.
    static blit_scene* const s = make_scene();
    return *s;
}

const std::vector<small_triangle>& small_triangles_of_the_scene() {
    static const std::vector<small_triangle> all = [] {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> cx(8, 312), cy(8, 192), d(-8, 8);
        std::vector<small_triangle> out(1000);
        for (small_triangle& t : out) {
            const float x = cx(random), y = cy(random);
            for (int k = 0; k < 3; ++k) {
                t.x[k] = x + d(random);
                t.y[k] = y + d(random);
            }
        }
        return out;
    }();
    return all;
}

} // namespace vilora::bench
