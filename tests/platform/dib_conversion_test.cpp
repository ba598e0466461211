#include "platform/display/dib_conversion.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

using namespace vilora::testing;

class DibConversion : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(target.create_surface(&screen.display, picture_surface_kind, 2, 2), 0);
        target.clear(untouched);
    }
    int32_t copy(const dib_header& header, const std::vector<uint8_t>& rows) {
        if (target.get_dc() != 0) return -1;
        const int32_t copied = copy_dib_to_context(*target.dc, header, rows);
        target.release_dc();
        return copied;
    }

    static constexpr uint32_t untouched = 0x123456;
    test_display screen{320, 240, 32};
    surface target;
};

TEST_F(DibConversion, BottomUpAndTopDownRowsReachTheSameRows) {
    // 32-bit pixels: blue, green, red, unused.
    const std::vector<uint8_t> top = {1, 2, 3, 0, 4, 5, 6, 0}, bottom = {7, 8, 9, 0, 10, 11, 12, 0};
    std::vector<uint8_t> bottom_up = bottom, top_down = top;
    bottom_up.insert(bottom_up.end(), top.begin(), top.end());
    top_down.insert(top_down.end(), bottom.begin(), bottom.end());
    for (const auto& [height, rows] : {std::pair{2, bottom_up}, std::pair{-2, top_down}}) {
        target.clear(untouched);
        ASSERT_EQ(copy(dib_header{2, height, 1, 32, dib_no_compression}, rows), 2) << height;
        EXPECT_EQ(pixel_at(target, 0, 0), 0x030201u) << height;
        EXPECT_EQ(pixel_at(target, 1, 0), 0x060504u) << height;
        EXPECT_EQ(pixel_at(target, 0, 1), 0x090807u) << height;
        EXPECT_EQ(pixel_at(target, 1, 1), 0x0C0B0Au) << height;
    }
}

TEST_F(DibConversion, RowsAreCutToTheContext) {
    // 3 x 3 pixels of 24 bits: rows of 9 bytes padded to 12, into a 2 x 2 surface.
    std::vector<uint8_t> rows(12 * 2 + 9);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(copy(dib_header{3, -3, 1, 24, dib_no_compression}, rows), 2);
    EXPECT_EQ(pixel_at(target, 1, 1), 0x0E0D0Cu + 0x030303u); // row 1 starts at byte 12
}

TEST_F(DibConversion, RefusesHeadersAndRowsItCannotTake) {
    const std::vector<uint8_t> rows(64, 0xFF);
    const dib_header refused[] = {
        {2, 2, 1, 8, dib_no_compression},
        {2, 2, 1, 32, 3},
        {2, 2, 2, 32, dib_no_compression},
        {0, 2, 1, 32, dib_no_compression},
        {2, 0, 1, 32, dib_no_compression},
        {2, INT32_MIN, 1, 32, dib_no_compression},
        {INT32_MAX, 2, 1, 16, dib_no_compression},
        {2, 9, 1, 32, dib_no_compression}, // needs 72 bytes
    };
    for (const dib_header& header : refused)
        EXPECT_EQ(copy(header, rows), 0)
            << header.width << " x " << header.height << " x " << header.bits_per_pixel;
    EXPECT_EQ(pixel_at(target, 0, 0), untouched);
    // Exactly enough: the last row needs no padding (2 x 16 bits padded to 4 bytes).
    EXPECT_EQ(copy(dib_header{2, 16, 1, 16, dib_no_compression}, rows), 2);
}

} // namespace
} // namespace vilora
