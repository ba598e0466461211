#include "pictures/internal/blit_clipping.h"
#include "pictures/picture_list.h"
#include "platform/display/internal/video_memory.h"
#include "tests/library/library_test_support.h"
#include "tests/pictures/picture_bytes.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <climits>

namespace vilora {
namespace {

using namespace vilora::testing;

TEST(ClipBlit, CutsThePlacedRectangleToTheClip) {
    const clip_rect area{0, 20, 320, 220};
    blit_rect left_edge{-10, 50, 0, 0, 64, 64};
    ASSERT_TRUE(clip_blit(left_edge, area));
    EXPECT_EQ(left_edge.x, 0);
    EXPECT_EQ(left_edge.left, 10);
    EXPECT_EQ(left_edge.right, 64);

    blit_rect bottom_edge{100, 200, 0, 0, 64, 64};
    ASSERT_TRUE(clip_blit(bottom_edge, area));
    EXPECT_EQ(bottom_edge.y, 200);
    EXPECT_EQ(bottom_edge.top, 0);
    EXPECT_EQ(bottom_edge.bottom, 20);

    // Wider than the clip on both sides: the source is cut at both ends.
    blit_rect both{-5, 20, 0, 0, 400, 10};
    ASSERT_TRUE(clip_blit(both, area));
    EXPECT_EQ(both.x, 0);
    EXPECT_EQ(both.left, 5);
    EXPECT_EQ(both.right, 325);
    EXPECT_EQ(both.columns(), 320);
}

TEST(ClipBlit, LeavesNothingOutsideTheClipEvenAtTheEndsOf32Bits) {
    const clip_rect area{0, 0, 320, 200};
    const blit_rect outside[] = {
        {320, 0, 0, 0, 10, 10},         {0, 200, 0, 0, 10, 10},
        {-10, 0, 0, 0, 10, 10},         {0, -10, 0, 0, 10, 10},
        {INT32_MAX, 0, 0, 0, 320, 200}, {INT32_MIN, INT32_MIN, 0, 0, 320, 200},
        {0, INT32_MAX, 0, 0, 320, 200}, {5, 5, 0, 0, 0, 10},
    };
    for (blit_rect rect : outside) EXPECT_FALSE(clip_blit(rect, area)) << rect.x << ", " << rect.y;
}

// Every picture pixel tells where it came from; the destination starts out as
// a value no picture pixel has.
constexpr uint32_t untouched = 0xFFFF;
uint32_t source_value(int32_t x, int32_t y) {
    return 1 + static_cast<uint32_t>((x * 7 + y * 131) % 0x7FFF);
}

class DrawPicture : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        // The driver narrows the clip to the 320 x 200 picture area.
        if (GetParam() == 240) screen.display.clip = {0, 20, 320, 220};
        bmp_spec spec{320, 200, 24, 0, 40, {}, std::vector<uint8_t>(320 * 3 * 200, 0)};
        write_bytes(dir / "p.bmp", bmp_bytes(spec));
        ASSERT_EQ(list.add_picture(&screen.display, (dir / "p.bmp").string().c_str(), 0, 0), 0);
        surface& picture = *list.picture_surface(0);
        for (int32_t y = 0; y < 200; ++y)
            for (int32_t x = 0; x < 320; ++x) set_pixel(picture, x, y, source_value(x, y));
        back().clear(untouched);
    }
    surface& back() { return *screen.display.back; }

    // The back surface holds the picture at (x, y) inside the clip and nothing else.
    void expect_drawn_at(int32_t at_x, int32_t at_y) {
        const clip_rect& c = screen.display.clip;
        int32_t mismatches = 0;
        for (int32_t y = 0; y < back().height; ++y) {
            for (int32_t x = 0; x < 320; ++x) {
                const bool in_clip = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                const int32_t u = x - at_x, v = y - at_y;
                const bool in_picture = u >= 0 && u < 320 && v >= 0 && v < 200;
                const uint32_t want = in_clip && in_picture ? source_value(u, v) : untouched;
                if (pixel_at(back(), x, y) != want && ++mismatches < 5)
                    ADD_FAILURE() << "at " << x << ", " << y;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }

    test_display screen{320, GetParam(), 16};
    scratch_dir dir;
    picture_list list;
};

// On 200 lines (-10, 5) cuts the first 10 columns and the last 5 rows; on 240
// lines (0, 0) loses the first 20 rows and (0, 20) fills the picture area exactly.
TEST_P(DrawPicture, CopiesThePartInsideThePictureArea) {
    const struct { int32_t x, y; } places[] = {{0, 0}, {-10, 5}, {0, 20}, {17, -33}, {300, 190}};
    for (const auto& at : places) {
        SCOPED_TRACE(::testing::Message() << "drawn at " << at.x << ", " << at.y);
        back().clear(untouched);
        list.draw_picture(&back(), at.x, at.y, 0);
        expect_drawn_at(at.x, at.y);
    }
}

TEST_P(DrawPicture, APictureOutsideTheClipDrawsNothing) {
    for (int32_t x : {-320, 320, INT32_MIN, INT32_MAX}) list.draw_picture(&back(), x, 20, 0);
    for (int32_t y : {-200, 240, INT32_MIN, INT32_MAX}) list.draw_picture(&back(), 0, y, 0);
    list.draw_picture(&back(), 0, 0, 1); // no such picture
    list.draw_picture(nullptr, 0, 0, 0);
    for (uint32_t value : all_pixels(back())) ASSERT_EQ(value, untouched);
}

TEST_P(DrawPicture, BlackIsTransparentOnlyForColourKeyedPictures) {
    surface& picture = *list.picture_surface(0);
    set_pixel(picture, 0, 0, 0);
    set_pixel(picture, 1, 0, 1); // the darkest blue is drawn
    const int32_t top = screen.display.clip.top;

    list.draw_picture(&back(), 0, top, 0);
    EXPECT_EQ(pixel_at(back(), 0, top), 0u);

    back().clear(untouched);
    picture.flags |= surface_colour_keyed;
    list.draw_picture(&back(), 0, top, 0);
    EXPECT_EQ(pixel_at(back(), 0, top), untouched);
    EXPECT_EQ(pixel_at(back(), 1, top), 1u);
    EXPECT_EQ(pixel_at(back(), 2, top), source_value(2, 0));
}

TEST_P(DrawPicture, StaysInsideASmallDestination) {
    surface small;
    ASSERT_EQ(small.create_surface(&screen.display, 3, 16, 8), 0);
    small.clear(untouched);
    // The clip rule alone would let the copy run far past the 16 x 8 surface. On
    // 240 lines the rule moves it down to row 20, below the surface altogether.
    list.draw_picture(&small, 10, 4, 0);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            const bool drawn = GetParam() == 200 && x >= 10 && y >= 4;
            EXPECT_EQ(pixel_at(small, x, y), drawn ? source_value(x - 10, y - 4) : untouched)
                << "at " << x << ", " << y;
        }
    }
}

TEST_P(DrawPicture, ALostDisplayIsRestoredAndTheCopyRepeated) {
    screen.scope.host->lose_display();
    list.draw_picture(&back(), 0, screen.display.clip.top, 0);
    EXPECT_EQ(pixel_at(back(), 5, screen.display.clip.top + 7), source_value(5, 7));
    EXPECT_EQ(screen.display.back->platform->restores, 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, DrawPicture, ::testing::Values(200, 240),
                         [](const auto& info) { return std::to_string(info.param) + "_lines"; });

} // namespace
} // namespace vilora
