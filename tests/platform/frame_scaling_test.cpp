// Frames scaled to their 4:3 shape by whole pixels, nearest neighbour.
#include "platform/hosts/frame_scaling.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

// Every pixel carries its own row and column: 0x00RRCCC with row << 12 | column.
rgb_frame numbered(int width, int height) {
    rgb_frame frame{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame.pixels.push_back(static_cast<uint32_t>(y) << 12 | static_cast<uint32_t>(x));
    return frame;
}
int row_of(uint32_t pixel) {
    return static_cast<int>(pixel >> 12);
}
int column_of(uint32_t pixel) {
    return static_cast<int>(pixel & 0xFFF);
}

TEST(FrameScaling, A240LineFrameBecomesWholeBlocks) {
    const rgb_frame scaled = scaled_to_shown_shape(numbered(320, 240), 3);
    ASSERT_EQ(scaled.width, 960);
    ASSERT_EQ(scaled.height, 720);
    for (int y = 0; y < 720; y += 7)
        for (int x = 0; x < 960; x += 5) {
            const uint32_t p = scaled.pixels[static_cast<size_t>(y * 960 + x)];
            ASSERT_EQ(row_of(p), y / 3);
            ASSERT_EQ(column_of(p), x / 3);
        }
}

TEST(FrameScaling, A200LineFrameIsStretchedTo4By3RowByRow) {
    for (int factor : {1, 2, 3}) {
        const rgb_frame scaled = scaled_to_shown_shape(numbered(320, 200), factor);
        ASSERT_EQ(scaled.width, 320 * factor);
        ASSERT_EQ(scaled.height, 240 * factor);
        // Rows come in order, none skipped, each 1.2 x factor times on average.
        std::vector<int> repeats(200);
        int previous = 0;
        for (int y = 0; y < scaled.height; ++y) {
            const uint32_t first = scaled.pixels[static_cast<size_t>(y * scaled.width)];
            const int row = row_of(first);
            ASSERT_GE(row, previous);
            ASSERT_LE(row - previous, 1);
            previous = row;
            ++repeats[static_cast<size_t>(row)];
            for (int x = 0; x < scaled.width; ++x)
                ASSERT_EQ(scaled.pixels[static_cast<size_t>(y * scaled.width + x)],
                          first - static_cast<uint32_t>(column_of(first)) +
                              static_cast<uint32_t>(x / factor));
        }
        EXPECT_EQ(previous, 199);
        for (int n : repeats) {
            EXPECT_GE(n, factor);
            EXPECT_LE(n, factor + (factor + 4) / 5);
        }
    }
}

TEST(FrameScaling, OtherShapesKeepTheirOwnAndBadInputGivesNothing) {
    EXPECT_EQ(shown_shape(640, 480).width, 640);
    EXPECT_EQ(shown_shape(320, 256).height, 256);
    EXPECT_EQ(scaled_to_shown_shape(numbered(4, 2), 2).height, 4);
    EXPECT_TRUE(scaled_to_shown_shape(numbered(320, 240), 0).pixels.empty());
    EXPECT_TRUE(scaled_to_shown_shape(rgb_frame{320, 240, {}}, 2).pixels.empty())
        << "pixels missing";
}

} // namespace
} // namespace vilora
