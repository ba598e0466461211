// Opens a real window through the SDL backend on a private Xvfb server,
// presents a frame and reads the screen back with xwd.
#include "platform/display/display_device.h"
#include "platform/hosts/sdl/internal/sdl_audio.h"
#include "platform/hosts/sdl/internal/sdl_renderer.h"
#include "platform/hosts/sdl/sdl_host.h"
#include "platform/window/app_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

// The X client libraries keep allocations for the life of the process, out of
// our reach; leaks of our own are caught by the headless tests.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

namespace vilora {
namespace {

// A private X server on the first display number that is free.
class xvfb_server {
public:
    xvfb_server() {
        for (int number = 90 + getpid() % 50; number < 200 && display_.empty(); ++number) {
            std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (access(lock.c_str(), F_OK) == 0) continue;
            std::string name = ":" + std::to_string(number);
            pid_ = fork();
            if (pid_ == 0) {
                execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
                       "tcp", static_cast<char*>(nullptr));
                _exit(127);
            }
            std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            for (int wait = 0; wait < 100; ++wait) {
                if (access(socket.c_str(), F_OK) == 0) {
                    display_ = name;
                    break;
                }
                if (waitpid(pid_, nullptr, WNOHANG) == pid_) { // it gave up: try the next
                    pid_ = -1;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
    }
    ~xvfb_server() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// Puts the SDL host in place for the test and takes it away before the server goes.
class sdl_host_scope {
public:
    explicit sdl_host_scope(std::unique_ptr<host_system> sdl) : ok(sdl != nullptr) {
        if (ok) previous_ = set_host(std::move(sdl));
    }
    ~sdl_host_scope() {
        if (ok) set_host(std::move(previous_));
    }
    const bool ok;

private:
    std::unique_ptr<host_system> previous_;
};

struct screen_image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

uint32_t big_endian(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

// The root window as xwd dumps it (a 24-bit TrueColor screen, 32 bits per pixel).
screen_image grab_screen(const std::string& display) {
    screen_image image;
    std::string command = "xwd -root -silent -display " + display;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return image;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    pclose(pipe);
    if (bytes.size() < 100) {
        ADD_FAILURE() << "xwd gave " << bytes.size() << " bytes for display " << display;
        return image;
    }
    // Pixels of bits_per_pixel / 8 bytes (3 or 4), rows of bytes_per_line.
    const uint32_t header_size = big_endian(bytes, 0);
    const uint32_t byte_order = big_endian(bytes, 7 * 4);
    const uint32_t bits_per_pixel = big_endian(bytes, 11 * 4);
    const uint32_t bytes_per_line = big_endian(bytes, 12 * 4);
    const uint32_t colours = big_endian(bytes, 19 * 4);
    image.width = static_cast<int>(big_endian(bytes, 4 * 4));
    image.height = static_cast<int>(big_endian(bytes, 5 * 4));
    const size_t data = header_size + colours * 12;
    const size_t pixel_bytes = bits_per_pixel / 8;
    if (pixel_bytes < 3 || pixel_bytes > 4 ||
        data + size_t{bytes_per_line} * static_cast<size_t>(image.height) > bytes.size()) {
        ADD_FAILURE() << "xwd image not understood";
        return {};
    }
    image.pixels.resize(static_cast<size_t>(image.width * image.height));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = &bytes[data + size_t{bytes_per_line} * y + pixel_bytes * x];
            uint32_t v = 0;
            for (size_t i = 0; i < pixel_bytes; ++i)
                v |= uint32_t{p[i]} << (8 * (byte_order == 0 ? i : pixel_bytes - 1 - i));
            image.pixels[static_cast<size_t>(y * image.width + x)] = v & 0xFFFFFF;
        }
    return image;
}

struct box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

box non_black_box(const screen_image& s) {
    box b;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.at(x, y)) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
    return b;
}

// Full screen or not, and the renderer asked for.
class SdlWindow : public ::testing::TestWithParam<std::tuple<bool, const char*>> {};

TEST_P(SdlWindow, PresentsAFrameScaledByWholePixels) {
    xvfb_server server;
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.display().c_str(), 1);

    const bool fullscreen = std::get<0>(GetParam());
    sdl_host_options options;
    options.fullscreen = fullscreen;
    options.renderer = std::get<1>(GetParam());
    sdl_host_scope scope(make_sdl_host(options));
    ASSERT_TRUE(scope.ok);
    {
        app_window window;
        ASSERT_TRUE(window.create_window("vilo ra", app_window::procedure, window_style_popup, 0, 0,
                                         screen_metric_width(), screen_metric_height()));
        display_device display;
        ASSERT_EQ(display.create_interface(), 0);
        ASSERT_EQ(display.set_mode(0, window.handle, 320, 240, 16), 0);

        // Red left half, blue right half, one white pixel at (100, 50).
        const pixel_format& f = *display.format;
        // On the 1024x768 screen: full screen fits the 4:3 frame three times over,
        // 960x720; the window opens at twice the frame, leaving room for panels.
        // Both are centred.
        const int scale = fullscreen ? 3 : 2;
        screen_image shown;
        for (int attempt = 0; attempt < 40; ++attempt) {
            display.back->fill_rect(0, 0, 160, 240, f.pack(255, 0, 0));
            display.back->fill_rect(160, 0, 320, 240, f.pack(0, 0, 255));
            display.back->fill_rect(100, 50, 101, 51, f.pack(255, 255, 255));
            ASSERT_EQ(display.present(0), 0);
            window.pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            shown = grab_screen(server.display());
            box b = non_black_box(shown);
            if (b.right - b.left == 320 * scale && b.bottom - b.top == 240 * scale) break;
        }
        ASSERT_EQ(shown.width, 1024);
        box b = non_black_box(shown);
        EXPECT_EQ(b.left, (1024 - 320 * scale) / 2);
        EXPECT_EQ(b.top, (768 - 240 * scale) / 2);
        EXPECT_EQ(b.right - b.left, 320 * scale);
        EXPECT_EQ(b.bottom - b.top, 240 * scale);
        EXPECT_EQ(shown.at(b.left, b.top), 0xFF0000u);
        EXPECT_EQ(shown.at(b.left + scale * 160 - 1, b.top), 0xFF0000u);
        EXPECT_EQ(shown.at(b.left + scale * 160, b.top), 0x0000FFu);
        for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx)
                EXPECT_EQ(shown.at(b.left + scale * 100 + dx, b.top + scale * 50 + dy), 0xFFFFFFu);
        EXPECT_EQ(shown.at(b.left + scale * 101, b.top + scale * 50), 0xFF0000u);
        EXPECT_EQ(shown.at(b.left + scale * 100 - 1, b.top + scale * 50), 0xFF0000u);
    }
}

// With no display server the video library would fall back to a driver that
// shows nothing; the show must not start invisibly then, unless that driver
// was asked for by name.
TEST(SdlHost, RefusesADriverThatShowsNothingUnlessAskedFor) {
    setenv("DISPLAY", ":199", 1); // no server there
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(make_sdl_host({}), nullptr);

    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    EXPECT_NE(make_sdl_host({}), nullptr);
    unsetenv("SDL_VIDEODRIVER");
}

// The overlay lies over the presented picture at its top-left corner, eight
// window pixels in, and leaves the frame itself as it was.
TEST(SdlHost, LaysTheOverlayOverThePresentedPicture) {
    xvfb_server server;
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.display().c_str(), 1);
    sdl_host_options options;
    options.fullscreen = true;
    sdl_host_scope scope(make_sdl_host(options));
    ASSERT_TRUE(scope.ok);
    app_window window;
    ASSERT_TRUE(window.create_window("vilo ra", app_window::procedure, window_style_popup, 0, 0,
                                     screen_metric_width(), screen_metric_height()));
    host_window* shown_in = host_window_of(window.handle);
    ASSERT_TRUE(host().set_display_mode(shown_in, 320, 240, 16));
    const rgb_frame blue{320, 240, std::vector<uint32_t>(320 * 240, 0x0000FF)};
    overlay_image green{20, 10, std::vector<uint32_t>(200, 0xFF00FF00)};
    green.pixels[0] = 0x00FFFFFF; // see-through: the frame shows there
    host().set_overlay(shown_in, &green, false);
    screen_image shown;
    const int left = (1024 - 960) / 2, top = (768 - 720) / 2;
    for (int attempt = 0; attempt < 40; ++attempt) {
        host().present(shown_in, blue);
        window.pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        shown = grab_screen(server.display());
        if (shown.width == 1024 && shown.at(left + 9, top + 9) == 0x00FF00u) break;
    }
    ASSERT_EQ(shown.width, 1024);
    EXPECT_EQ(shown.at(left + 8, top + 8), 0x0000FFu) << "a see-through overlay pixel";
    EXPECT_EQ(shown.at(left + 9, top + 8), 0x00FF00u);
    EXPECT_EQ(shown.at(left + 27, top + 17), 0x00FF00u);
    EXPECT_EQ(shown.at(left + 28, top + 17), 0x0000FFu);
    EXPECT_EQ(shown.at(left + 27, top + 18), 0x0000FFu);

    // Taken away and shown at once, without a new frame.
    host().set_overlay(shown_in, nullptr, true);
    for (int attempt = 0; attempt < 40 && shown.at(left + 9, top + 9) != 0x0000FFu; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        shown = grab_screen(server.display());
    }
    EXPECT_EQ(shown.at(left + 9, top + 9), 0x0000FFu);
}

// Keys reach the window layer as the virtual key codes the show answers to;
// others are not passed on, and only stepping and jumping repeat.
TEST(SdlHost, TranslatesTheTransportKeys) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    sdl_host_scope scope(make_sdl_host({}));
    unsetenv("SDL_VIDEODRIVER");
    ASSERT_TRUE(scope.ok);
    app_window window;
    ASSERT_TRUE(
        window.create_window("vilo ra", app_window::procedure, window_style_popup, 0, 0, 320, 240));
    const std::vector<std::pair<SDL_Keycode, int>> keys = {{SDLK_SPACE, key_space},
                                                           {SDLK_PERIOD, key_period},
                                                           {SDLK_RIGHT, key_right},
                                                           {SDLK_LEFT, key_left},
                                                           {SDLK_PAGEDOWN, key_page_down},
                                                           {SDLK_PAGEUP, key_page_up},
                                                           {SDLK_TAB, key_tab},
                                                           {SDLK_F12, key_f12},
                                                           {SDLK_ESCAPE, key_escape}};
    host_window* w = host_window_of(window.handle);
    host_event event;
    while (host().wait_event(w, event, 50)) {
    }
    auto press = [](SDL_Keycode key, bool repeat) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        e.key.repeat = repeat ? 1 : 0;
        SDL_PushEvent(&e);
    };
    for (const auto& [sdl_key, code] : keys) {
        press(SDLK_a, false); // not one of the show's
        press(sdl_key, false);
        // Waiting: the video library may end one poll early at its own marker.
        ASSERT_TRUE(host().wait_event(w, event, 1000)) << code;
        EXPECT_EQ(event.what, host_event::kind::key_down);
        EXPECT_EQ(event.key, code);
    }
    press(SDLK_SPACE, true);
    press(SDLK_RIGHT, true);
    ASSERT_TRUE(host().wait_event(w, event, 1000));
    EXPECT_EQ(event.key, key_right) << "a held Space does not toggle again and again";
    EXPECT_FALSE(host().wait_event(w, event, 20));
}

// Without a sound device the sound library's own complaints stay unprinted.
TEST(SdlAudio, OpensOrFailsWithoutAWord) {
    ::testing::internal::CaptureStderr();
    auto output = open_sdl_audio(44100);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.find("ALSA"), std::string::npos) << printed;
    if (!output) {
        EXPECT_EQ(printed, "");
    }
}

// Whatever draws the window: the picture is the same.
INSTANTIATE_TEST_SUITE_P(WindowedAndFullScreen, SdlWindow,
                         ::testing::Combine(::testing::Values(false, true),
                                            ::testing::Values("auto", "software", "opengl")),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "FullScreen"
                                                                        : "Windowed") +
                                    "_" + std::get<1>(info.param);
                         });

TEST(SdlRenderer, SoftwareRasterisersCountAsDrawingInSoftware) {
    EXPECT_TRUE(draws_in_software("software", nullptr));
    EXPECT_TRUE(draws_in_software("opengl", "llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(draws_in_software("opengles2", "softpipe"));
    EXPECT_FALSE(draws_in_software("opengl", "AMD Radeon RX 6600 (radeonsi, navi23)"));
    EXPECT_FALSE(draws_in_software("opengl", nullptr)) << "unknown is no reason to give up a GPU";
}

} // namespace
} // namespace vilora
