#include "raster/raster.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <utility>

namespace vilora {
namespace {

using namespace vilora::testing;

constexpr uint32_t ink = 0x1234;
using pixel_set = std::set<std::pair<int32_t, int32_t>>;

// A 320 x 240 back surface, locked; the picture area has its corner at
// (x, y) and reaches as far from the right and bottom edges (0, 0 as on a
// 200-line screen, 0, 20 letterboxed on 240).
class Raster : public ::testing::Test {
protected:
    void use_origin(int32_t x, int32_t y) {
        origin_x = x;
        origin_y = y;
        screen.display.clip = clip_rect{x, y, 320 - x, 240 - y};
    }
    // Where the primitives draw now.
    raster_target target() const { return raster_target_of(&screen.display, origin_x, origin_y); }
    void SetUp() override {
        use_origin(0, 0);
        back().clear(0);
        back().lock();
    }
    // Clears the back surface, which cannot be filled while it is locked.
    void wipe() {
        back().unlock();
        back().clear(0);
        back().lock();
    }
    void TearDown() override { back().unlock(); }
    surface& back() { return *screen.display.back; }
    pixel_set inked() {
        pixel_set out;
        for (int32_t y = 0; y < back().height; ++y)
            for (int32_t x = 0; x < back().width; ++x)
                if (pixel_at(back(), x, y) == ink) out.insert({x, y});
        return out;
    }

    test_display screen{320, 240, 16};
    int32_t origin_x = 0;
    int32_t origin_y = 0;
};

TEST_F(Raster, ThreeRowsSharingOneCeilingDrawNothing) {
    fill_triangle(target(), 10.0f, 10.2f, 50.0f, 10.5f, 30.0f, 10.9f, ink);
    EXPECT_TRUE(inked().empty());
}

// Right triangle (10, 0), (10, 10), (20, 10): row r spans from the upright
// edge at column 10 to the slope at 10 + r. The left end is left out and the
// right end drawn, so row 0 (both ends equal) is empty.
TEST_F(Raster, SpansExcludeTheirLeftAndIncludeTheirRightColumn) {
    fill_triangle(target(), 10.0f, 0.0f, 10.0f, 10.0f, 20.0f, 10.0f, ink);
    pixel_set expected;
    for (int32_t r = 1; r < 10; ++r)
        for (int32_t c = 11; c <= 10 + r; ++c) expected.insert({c, r});
    EXPECT_EQ(inked(), expected);
}

// The vertex order does not matter: every order is sorted the same way.
TEST_F(Raster, AnyVertexOrderFillsTheSamePixels) {
    const float v[3][2] = {{12.5f, 3.25f}, {70.75f, 40.5f}, {5.0f, 61.0f}};
    fill_triangle(target(), v[0][0], v[0][1], v[1][0], v[1][1], v[2][0], v[2][1], ink);
    const pixel_set first = inked();
    EXPECT_GT(first.size(), 1000u);
    const int orders[5][3] = {{0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& o : orders) {
        wipe();
        fill_triangle(target(), v[o[0]][0], v[o[0]][1], v[o[1]][0], v[o[1]][1], v[o[2]][0],
                      v[o[2]][1], ink);
        EXPECT_EQ(inked(), first);
    }
}

// A triangle far larger than the screen, letterboxed: only the picture area,
// screen rows 20..219 and columns 0..319, is written, all of it.
TEST_F(Raster, TheLetterboxedPictureAreaClipsEveryPixel) {
    use_origin(0, 20);
    fill_triangle(target(), -1000.0f, -1000.0f, 3000.0f, -1000.0f, -1000.0f, 3000.0f, ink);
    pixel_set expected;
    for (int32_t y = 20; y < 220; ++y)
        for (int32_t x = 0; x < 320; ++x) expected.insert({x, y});
    EXPECT_EQ(inked(), expected);
}

TEST_F(Raster, StripesFillOddColumnsLeftOf180) {
    fill_triangle_striped(target(), -1000.0f, -1000.0f, 3000.0f, -1000.0f, -1000.0f, 3000.0f, ink);
    for (int32_t y : {0, 100, 239}) {
        std::set<int32_t> columns;
        for (const auto& p : inked())
            if (p.second == y) columns.insert(p.first);
        std::set<int32_t> expected;
        for (int32_t x = 1; x <= 179; x += 2) expected.insert(x);
        EXPECT_EQ(columns, expected) << "row " << y;
    }
}

TEST_F(Raster, LinesLeaveOutTheirEndPoint) {
    draw_line(target(), 10, 10, 14, 10, ink);
    EXPECT_EQ(inked(), (pixel_set{{10, 10}, {11, 10}, {12, 10}, {13, 10}}));
    wipe();
    draw_line(target(), 10, 10, 10, 10, ink); // one step, moved right by the error test
    EXPECT_EQ(inked(), (pixel_set{{11, 10}}));
    wipe();
    draw_line(target(), 10, 10, 13, 13, ink);
    EXPECT_EQ(inked(), (pixel_set{{11, 10}, {12, 11}, {13, 12}}));
}

TEST_F(Raster, LinesStartingOutsideColumns1To318AreDropped) {
    for (int32_t x0 : {0, -5, 319, 400}) draw_line(target(), x0, 50, 160, 120, ink);
    use_origin(-1, 0); // column 1 of the picture area is screen column 0
    draw_line(target(), 1, 50, 200, 60, ink);
    EXPECT_TRUE(inked().empty());
}

// The error-term walk, step by step, for lines short enough to
// run it: the fast line must write exactly its pixels, whatever the picture
// area cuts off.
pixel_set walked_line(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    pixel_set out;
    if (x0 <= 0 || x0 >= 319) return out;
    const int64_t dx = x1 - x0, dy = y1 - y0, ax = std::llabs(dx), ay = std::llabs(dy);
    const int64_t sx = dx >= 0 ? 1 : -1, sy = dy >= 0 ? 1 : -1;
    int64_t x = x0, y = y0, error = 0;
    auto plot = [&] {
        if (x >= 0 && x < 320 && y >= 20 && y < 220) out.insert({x, y});
    };
    if (ax > ay) {
        for (int64_t i = 0; i < ax; ++i) {
            error += ay;
            if (error >= ax) error -= ax, y += sy;
            plot();
            x += sx;
        }
    } else {
        for (int64_t i = 0; i < std::max<int64_t>(ay, 1); ++i) {
            error += ax;
            if (error >= ay) error -= ay, x += sx;
            plot();
            y += sy;
        }
    }
    return out;
}

TEST_F(Raster, LongLinesWriteTheWalkedPixelsInsideThePictureArea) {
    use_origin(0, 20);
    const int32_t lines[][4] = {{100, -90000, 250, 70000}, {5, 190, 318, -60000},
                                {300, -5000, 299, 90000},  {150, 100, -90000, 40000},
                                {2, -30, 100000, 150},     {318, 210, -3, -25}};
    for (const auto& l : lines) {
        wipe();
        draw_line(target(), l[0], l[1], l[2], l[3], ink);
        EXPECT_EQ(inked(), walked_line(l[0], l[1] + 20, l[2], int64_t{l[3]} + 20))
            << l[0] << ", " << l[1] << " to " << l[2] << ", " << l[3];
    }
}

// Far-away, infinite and NaN coordinates write nothing outside the picture
// area and never overflow (the sanitizers would report it).
TEST_F(Raster, ExtremeCoordinatesAreSafe) {
    use_origin(0, 20);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float far[] = {0.0f, 100.0f, -1e9f, 1e9f, 3e38f, -3e38f, nan, inf, -inf, 16383.0f};
    for (float a : far)
        for (float b : far) {
            fill_triangle(target(), a, 10.0f, 100.0f, b, b, a, ink);
            fill_triangle_striped(target(), 10.0f, a, b, 150.0f, a, b, ink);
        }
    draw_line(target(), 100, INT32_MIN, 200, INT32_MAX, ink);
    draw_line(target(), 100, INT32_MAX, INT32_MIN, INT32_MIN, ink);
    draw_line(target(), INT32_MAX, 0, 5, 5, ink);
    for (const auto& p : inked()) ASSERT_TRUE(p.second >= 20 && p.second < 220);
    // A vertical line crossing all of 32 bits covers its column of the area.
    wipe();
    draw_line(target(), 100, INT32_MIN + 20, 100, INT32_MAX - 20, ink);
    EXPECT_EQ(inked().size(), 200u);
}

TEST_F(Raster, NothingIsDrawnWithoutALockedSixteenBitBackSurface) {
    back().unlock();
    fill_triangle(target(), 0.0f, 0.0f, 100.0f, 0.0f, 0.0f, 100.0f, ink);
    draw_line(target(), 10, 10, 100, 10, ink);
    back().lock();
    EXPECT_TRUE(inked().empty());
}

} // namespace
} // namespace vilora
