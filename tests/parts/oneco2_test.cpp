#include "engine/engine.h"
#include "parts/oneco2.h"
#include "tests/parts/part_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace vilora {
namespace {

using namespace vilora::testing;

constexpr uint16_t spinning = 0x07E0;

class Oneco2 : public part_test {
protected:
    // A 20 x 20 spinning picture, a blended one of `big_width` x 10 in white
    // and an overlay that is black (left out) but for its bottom-left 10 x 10.
    void build(int32_t big_width) {
        open_pictures(
            {{"majic.bmp", 20, 20}, {"majicbig.bmp", big_width, 10}, {"mex.bmp", 320, 200}});
        part = std::make_unique<oneco2>(display());
        ASSERT_TRUE(part->valid);
        fill_surface(*part->pictures.picture_surface(0), [](int32_t, int32_t) { return spinning; });
        fill_surface(*part->pictures.picture_surface(1), [](int32_t, int32_t) { return 0xFFFF; });
        fill_surface(*part->pictures.picture_surface(2), [](int32_t row, int32_t column) {
            return static_cast<uint16_t>(row >= 190 && column < 10 ? 0x001F : 0);
        });
        fill_surface(back(), [](int32_t, int32_t) { return 0; });
    }

    std::unique_ptr<oneco2> part;
};

TEST_F(Oneco2, SpinsByTwoDegreesAndZoomRestartsAtExactly2) {
    build(1);
    const oneco2::class_statics& s = oneco2::statics;
    bool turned = false;
    for (int frame = 1; frame <= 200; ++frame) {
        const bool was_rising = s.zoom.rising;
        part->run(display(), 0, x, y);
        ASSERT_EQ(s.spin, (2 * frame - 1) % 360 + 1) << frame;
        ASSERT_GE(s.zoom.value, 2.0f) << frame;
        ASSERT_LE(s.zoom.value, 5.2f) << frame;
        if (!was_rising && s.zoom.rising) {
            EXPECT_EQ(s.zoom.value, 2.0f) << frame; // not 1.8, nor a float's error near 2
            turned = true;
            break;
        }
    }
    EXPECT_TRUE(turned);
}

TEST_F(Oneco2, TurnsAndScalesTheFirstPictureAboutItsCentreUnderTheKeyedOverlay) {
    build(1);
    part->run(display(), 0, x, y);
    const pixel_grid grid = grid_of(back());
    EXPECT_EQ(grid.at(y + 100, x + 120), spinning);
    EXPECT_EQ(grid.at(y + 100, x + 140), spinning); // 20 pixels at scale 2.2 reach 22 out
    EXPECT_EQ(grid.at(y + 100, x + 160), 0);
    EXPECT_EQ(grid.at(y + 195, x + 5), 0x001F);
    EXPECT_EQ(grid.at(y + 50, x + 50), 0);
}

TEST_F(Oneco2, TheBlendedPicturesOffsetsTruncateTowardZero) {
    build(100);
    oneco2::statics.spin = 88;
    part->run(display(), 0, x, y);
    // Spin 90: at 270 degrees (pi as 3.14) the offsets are -100 + 0.239 and
    // -100 + 99.9997, truncated to -99 and 0. The 100 columns from x - 99
    // reach column 0 only.
    const pixel_grid grid = grid_of(back());
    EXPECT_NE(grid.at(y, 0), 0);
    EXPECT_NE(grid.at(y + 9, 0), 0);
    EXPECT_EQ(grid.at(y + 10, 0), 0);
    EXPECT_EQ(grid.at(y, 1), 0);
    EXPECT_EQ(grid.at(y - 1, 0), 0);
}

TEST_F(Oneco2, AMissingPictureLeavesItInvalidAndRunningSafely) {
    open_pictures({{"majic.bmp", 2, 2}, {"mex.bmp", 2, 2}});
    oneco2 part_missing(display());
    EXPECT_FALSE(part_missing.valid);
    EXPECT_EQ(part_missing.pictures.picture_count(), 2);
    for (int i = 0; i < 3; ++i) part_missing.run(display(), 0, x, y);
}

} // namespace
} // namespace vilora
