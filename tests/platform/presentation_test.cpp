#include "platform/display/frame_conversion.h"
#include "platform/hosts/sdl/internal/present_geometry.h"

#include "tests/support/test_display.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

using testing::test_display;

rgb_frame shown_after_drawing(test_display& t, uint32_t pixel) {
    rgb_frame shown;
    t.scope.host->set_sink([&](const rgb_frame& f) { shown = f; });
    t.display.back->fill_rect(3, 4, 4, 5, pixel);
    EXPECT_EQ(t.display.present(0), 0);
    return shown;
}

TEST(FrameConversion, WidensEveryFormatToEightBitChannels) {
    {
        test_display t(320, 240, 16, high_colour_layout::rgb565);
        rgb_frame f = shown_after_drawing(t, t.display.format->pack(255, 128, 8));
        EXPECT_EQ(f.pixels[4 * 320 + 3], 0xFF8208u); // 31, 32, 1 widened
    }
    {
        test_display t(320, 200, 16, high_colour_layout::rgb555);
        rgb_frame f = shown_after_drawing(t, 0x7C1F);
        EXPECT_EQ(f.height, 200);
        EXPECT_EQ(f.pixels[4 * 320 + 3], 0xFF00FFu);
    }
    for (int depth : {24, 32}) {
        test_display t(320, 240, depth);
        EXPECT_EQ(shown_after_drawing(t, 0x123456).pixels[4 * 320 + 3], 0x123456u);
    }
    {
        test_display t(320, 240, 8);
        const palette_entry& e = (*t.display.screen_palette->entries)[42];
        rgb_frame f = shown_after_drawing(t, 42);
        EXPECT_EQ(f.pixels[4 * 320 + 3], uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue);
    }
}

TEST(PresentGeometry, ScalesByWholePixelsAndCentres) {
    present_rect r = present_geometry(320, 240, 1920, 1080);
    EXPECT_EQ(r.width, 1280);
    EXPECT_EQ(r.height, 960);
    EXPECT_EQ(r.x, 320);
    EXPECT_EQ(r.y, 60);
    r = present_geometry(320, 240, 640, 480);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.width, 640);
}

TEST(PresentGeometry, TwoHundredLinesAreShownAtFourToThree) {
    present_rect r = present_geometry(320, 200, 1920, 1080);
    EXPECT_EQ(r.width, 1280);
    EXPECT_EQ(r.height, 960);
    r = present_geometry(320, 200, 960, 720);
    EXPECT_EQ(r.width, 960);
    EXPECT_EQ(r.height, 720);
}

TEST(PresentGeometry, AWindowSmallerThanTheFrameStillShowsAllOfIt) {
    present_rect r = present_geometry(320, 240, 200, 300);
    EXPECT_EQ(r.width, 200);
    EXPECT_EQ(r.height, 150);
    EXPECT_EQ(r.y, 75);
    EXPECT_EQ(present_geometry(320, 240, 0, 0).width, 0);
}

TEST(WindowGeometry, ThreeTimesTheFrameUnlessTheDesktopIsSmaller) {
    EXPECT_EQ(window_geometry(1920, 1080).width, 960);
    EXPECT_EQ(window_geometry(1920, 1080).height, 720);
    EXPECT_EQ(window_geometry(1366, 768).width, 640); // 720 lines leave no room for panels
    EXPECT_EQ(window_geometry(800, 600).height, 480);
    EXPECT_EQ(window_geometry(640, 480).width, 320);
    EXPECT_EQ(window_geometry(0, 0).width, 320);
}

} // namespace
} // namespace vilora
