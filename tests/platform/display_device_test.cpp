#include "platform/display/display_device.h"
#include "platform/display/internal/video_memory.h"

#include "tests/support/test_display.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

using testing::host_scope;
using testing::test_display;

uint16_t pixel16(surface& s, int x, int y) {
    return *reinterpret_cast<uint16_t*>(s.pixels + y * s.pitch + x * 2);
}

TEST(PixelFormat, FiveSixFiveScreen) {
    test_display t(320, 240, 16, high_colour_layout::rgb565);
    ASSERT_EQ(t.mode_result, 0);
    const pixel_format& f = *t.display.format;
    EXPECT_EQ(f.bits_per_pixel, 16);
    EXPECT_EQ(f.red_mask, 0xF800u);
    EXPECT_EQ(f.green_mask, 0x07E0u);
    EXPECT_EQ(f.blue_mask, 0x001Fu);
    EXPECT_EQ(f.red_left_shift, 11);
    EXPECT_EQ(f.green_left_shift, 5);
    EXPECT_EQ(f.blue_left_shift, 0);
    EXPECT_EQ(f.red_right_shift, 3);
    EXPECT_EQ(f.green_right_shift, 2);
    EXPECT_EQ(f.blue_right_shift, 3);
    EXPECT_EQ(f.layout, layout_565);
    EXPECT_EQ(f.red_mask_x4, 0xF800F800F800F800ull);
    EXPECT_EQ(f.green_mask_x4, 0x07E007E007E007E0ull);
    EXPECT_EQ(f.blue_mask_x4, 0x001F001F001F001Full);
    EXPECT_EQ(f.record.size, 32u);
    // Red 255, green 128, blue 0 packs to fields 31, 32, 0.
    EXPECT_EQ(f.pack(255, 128, 0), 31u << 11 | 32u << 5);
}

TEST(PixelFormat, FiveFiveFiveScreen) {
    test_display t(320, 200, 16, high_colour_layout::rgb555);
    ASSERT_EQ(t.mode_result, 0);
    const pixel_format& f = *t.display.format;
    EXPECT_EQ(f.layout, layout_555);
    EXPECT_EQ(f.red_left_shift, 10);
    EXPECT_EQ(f.green_left_shift, 5);
    EXPECT_EQ(f.blue_left_shift, 0);
    EXPECT_EQ(f.red_right_shift, 3);
    EXPECT_EQ(f.green_right_shift, 3);
    EXPECT_EQ(f.blue_right_shift, 3);
    EXPECT_EQ(f.pack(255, 255, 255), 0x7FFFu);
}

TEST(PixelFormat, TrueColourAndPalettedScreens) {
    for (int depth : {24, 32}) {
        test_display t(320, 240, depth);
        ASSERT_EQ(t.mode_result, 0);
        const pixel_format& f = *t.display.format;
        EXPECT_EQ(f.bits_per_pixel, depth);
        EXPECT_EQ(f.layout, layout_888);
        EXPECT_EQ(f.red_left_shift, 16);
        EXPECT_EQ(f.red_right_shift, 0);
        EXPECT_EQ(f.pack(0x12, 0x34, 0x56), 0x123456u);
        EXPECT_FALSE(t.display.screen_palette->entries) << "the palette is empty above 8 bits";
    }
    test_display t(320, 240, 8);
    ASSERT_EQ(t.mode_result, 0);
    const pixel_format& f = *t.display.format;
    EXPECT_EQ(f.bits_per_pixel, 8);
    EXPECT_EQ(f.red_mask, 0u);
    EXPECT_EQ(f.red_right_shift, 0);
    EXPECT_EQ(f.layout, layout_other);
    ASSERT_TRUE(t.display.screen_palette->entries);
    EXPECT_EQ(t.display.back->palette_object, t.display.screen_palette.get());
}

TEST(DisplayMode, RefusesWhatNoScreenOffers) {
    host_scope scope;
    app_window window;
    window.create_window("t", app_window::procedure, window_style_popup, 0, 0, 320, 240);
    display_device display;
    ASSERT_EQ(display.create_interface(), 0);
    EXPECT_EQ(display.set_mode(0, window.handle, 320, 240, 15), display_mode_refused);
    EXPECT_EQ(display.set_mode(0, window.handle, 320, 240, 4), display_mode_refused);
    EXPECT_EQ(display.set_mode(0, window.handle, 0, 240, 16), display_mode_refused);
    EXPECT_EQ(display.set_mode(0, window.handle, 320, -1, 16), display_mode_refused);
    EXPECT_EQ(display.set_mode(0, window.handle, 4097, 240, 16), display_mode_refused);
    EXPECT_EQ(display.set_mode(0, window.handle, 4096, 16, 32), 0);
    EXPECT_EQ(display.set_mode(0, window.handle, 16, 4096, 8), 0);
}

TEST(DisplayMode, WithoutAWindowTheScreenIsNotOurs) {
    host_scope scope;
    display_device display;
    ASSERT_EQ(display.create_interface(), 0);
    EXPECT_EQ(display.set_mode(0, nullptr, 320, 240, 16), display_exclusive_refused);
}

TEST(DisplayMode, StartsBlackWithTheWholeScreenAsClip) {
    test_display t(320, 240, 16);
    ASSERT_EQ(t.mode_result, 0);
    display_device& d = t.display;
    EXPECT_EQ(d.clip.left, 0);
    EXPECT_EQ(d.clip.top, 0);
    EXPECT_EQ(d.clip.right, 320);
    EXPECT_EQ(d.clip.bottom, 240);
    for (surface* s : {d.back.get(), d.front.get()}) {
        EXPECT_EQ(s->width, 320);
        EXPECT_EQ(s->height, 240);
        EXPECT_EQ(s->clip, &d.clip);
        EXPECT_EQ(s->owner, &d);
        ASSERT_EQ(s->lock(), 0);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) ASSERT_EQ(pixel16(*s, x, y), 0);
        s->unlock();
    }
}

TEST(DisplayMode, SettingTheModeAgainRebuildsTheSurfaces) {
    test_display t(320, 240, 16);
    ASSERT_EQ(t.display.set_mode(0, t.window.handle, 320, 200, 32), 0);
    EXPECT_EQ(t.display.back->height, 200);
    EXPECT_EQ(t.display.format->bits_per_pixel, 32);
    EXPECT_EQ(t.display.clip.bottom, 200);
    EXPECT_EQ(t.display.present(0), 0);
}

TEST(Present, BeforeAModeReturns50AndTouchesNothing) {
    host_scope scope;
    display_device display;
    EXPECT_EQ(display.present(0), display_no_back_surface);
    display.create_interface();
    EXPECT_EQ(display.present(0), display_no_back_surface);
    EXPECT_EQ(scope.host->frames_presented, 0);
}

TEST(Present, FlipsTheChainAndShowsTheBackBuffer) {
    test_display t(320, 240, 16);
    display_device& d = t.display;
    rgb_frame shown;
    t.scope.host->set_sink([&](const rgb_frame& f) { shown = f; });

    d.back->fill_rect(10, 20, 11, 21, d.format->pack(255, 255, 255));
    ASSERT_EQ(d.present(0), 0);
    ASSERT_EQ(shown.width, 320);
    ASSERT_EQ(shown.height, 240);
    EXPECT_EQ(shown.pixels[20 * 320 + 10], 0xFFFFFFu);
    EXPECT_EQ(shown.pixels[20 * 320 + 11], 0u);

    // After the flip the back buffer holds the frame shown before: black.
    ASSERT_EQ(d.back->lock(), 0);
    EXPECT_EQ(pixel16(*d.back, 10, 20), 0);
    d.back->unlock();
    ASSERT_EQ(d.present(0), 0);
    EXPECT_EQ(shown.pixels[20 * 320 + 10], 0u);
}

TEST(Present, RestoresALostChainAndFlipsOnce) {
    test_display t(320, 240, 16);
    t.scope.host->lose_display();
    EXPECT_EQ(t.display.present(0), 0);
    EXPECT_EQ(t.scope.host->frames_presented, 1);
    EXPECT_EQ(t.display.front->platform->restores, 1);

    // A display that will not stay restored fails the second flip, reported as 26.
    t.scope.host->keep_losing = true;
    EXPECT_EQ(t.display.present(0), display_flip_failed);
    EXPECT_EQ(t.scope.host->frames_presented, 1);
    EXPECT_EQ(t.display.front->platform->restores, 2);
}

TEST(Present, RefusedWhileTheBackBufferIsLocked) {
    test_display t(320, 240, 16);
    ASSERT_EQ(t.display.back->lock(), 0);
    EXPECT_EQ(t.display.present(0), display_flip_failed);
    t.display.back->unlock();
    EXPECT_EQ(t.display.present(0), 0);
}

} // namespace
} // namespace vilora
