// The program's icon: the middle square of the title picture, scaled by area
// averaging; and what `vilora-kit make-data --icons` writes, held against
// ImageMagick scaling the same picture.
#include "kit/content/icon.h"
#include "tests/library/library_test_support.h"
#include "tests/support/external_tools.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace vilora::testing {
namespace {

using kit::data::square_icon;

rgb_frame picture_of(int width, int height, uint32_t (*colour)(int x, int y)) {
    rgb_frame p{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.pixels[static_cast<size_t>(y) * width + x] = colour(x, y);
    return p;
}

double mean_channel(const std::vector<uint32_t>& pixels, int shift) {
    double sum = 0;
    for (uint32_t p : pixels) sum += p >> shift & 0xFF;
    return sum / static_cast<double>(pixels.size());
}

TEST(Icon, TakesTheMiddleSquareOfWideAndTallPictures) {
    // Wide: 60 red columns, 200 green, 60 blue; tall: the same in rows.
    const rgb_frame wide = picture_of(320, 200, [](int x, int) -> uint32_t {
        return x < 60 ? 0xFF0000 : x < 260 ? 0x00FF00 : 0x0000FF;
    });
    const rgb_frame tall = picture_of(200, 320, [](int, int y) -> uint32_t {
        return y < 60 ? 0xFF0000 : y < 260 ? 0x00FF00 : 0x0000FF;
    });
    for (int size : kit::data::icon_sizes) {
        SCOPED_TRACE(size);
        for (const rgb_frame* picture : {&wide, &tall}) {
            const rgb_frame icon = square_icon(*picture, size);
            ASSERT_EQ(icon.width, size);
            ASSERT_EQ(icon.height, size);
            for (uint32_t p : icon.pixels) ASSERT_EQ(p, 0x00FF00u);
        }
    }
}

TEST(Icon, AveragesTheAreaEachPixelCovers) {
    // One-pixel checks of black and white: every 2x2 block is mid-grey.
    const rgb_frame checks =
        picture_of(200, 200, [](int x, int y) -> uint32_t { return (x + y) % 2 ? 0xFFFFFF : 0; });
    for (uint32_t p : square_icon(checks, 100).pixels) ASSERT_EQ(p, 0x808080u);

    // Any picture keeps its mean colour at any size, to within the rounding
    // of each pixel: every source pixel counts once, weighed by its area.
    const rgb_frame noise = picture_of(320, 200, [](int x, int y) -> uint32_t {
        uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
        h ^= h >> 13;
        h *= 0x5bd1e995u;
        return (h ^ h >> 15) & 0xFFFFFF;
    });
    std::vector<uint32_t> square;
    for (int y = 0; y < 200; ++y)
        for (int x = 60; x < 260; ++x) square.push_back(noise.pixels[y * 320 + x]);
    for (int size : {7, 48, 128, 256}) {
        const rgb_frame icon = square_icon(noise, size);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(mean_channel(icon.pixels, shift), mean_channel(square, shift), 0.5)
                << size << " " << shift;
    }

    // Growing 200 to 256: the edge between two halves stays exactly halfway.
    const rgb_frame halves =
        picture_of(200, 200, [](int x, int) -> uint32_t { return x < 100 ? 0 : 0xFFFFFF; });
    const rgb_frame grown = square_icon(halves, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(grown.pixels[y * 256 + x], x < 128 ? 0u : 0xFFFFFFu) << x << "," << y;
}

TEST(Icon, MakeDataWritesItFromTheTitlePictureAsImageMagickScalesIt) {
    scratch_dir dir;
    const std::string kit = quoted(VILORA_KIT);
    ASSERT_EQ(run(kit + " make-data --icons " + quoted(dir.path.string())).status, 0);
    // The title picture as the show decodes it for its 5-6-5 screen.
    ASSERT_EQ(run(kit + " lib extract " + quoted(VILORA_DATA_DIR "/dtroid.782") + " -C " +
                  quoted(dir.path.string()) + " top0.bmp")
                  .status,
              0);
    const std::string title = (dir / "title.png").string();
    ASSERT_EQ(
        run(kit + " picture " + quoted((dir / "top0.bmp").string()) + " " + quoted(title)).status,
        0);
    for (int size : kit::data::icon_sizes) {
        SCOPED_TRACE(size);
        const std::string sized = std::to_string(size) + "x" + std::to_string(size);
        const std::vector<uint8_t> ours =
            imagemagick_rgba(dir / sized / "apps" / "vilora.png", false);
        ASSERT_EQ(ours.size(), static_cast<size_t>(size) * size * 4);
        const run_result theirs = run("convert " + quoted(title) +
                                      " -gravity center -crop 200x200+0+0 +repage -filter box "
                                      "-resize " +
                                      sized + "! -depth 8 rgba:-");
        ASSERT_EQ(theirs.output.size(), ours.size());
        double difference = 0;
        for (size_t i = 0; i < ours.size(); ++i)
            difference += std::abs(static_cast<int>(ours[i]) - static_cast<int>(theirs.output[i]));
        // The two filters place the edges of enlarged pixels a little
        // differently, so the mean grows with the picture's sharp edges
        // (its lettering, its stars): some 3 levels on the title. A wrong
        // crop, shift or channel order costs tens.
        EXPECT_LT(difference / static_cast<double>(ours.size()), 3.5);
    }
}

} // namespace
} // namespace vilora::testing
