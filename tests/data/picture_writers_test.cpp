// The BMP and PSD writers: what they write reads back, pixel for pixel, through
// our decoders and through ImageMagick.
#include "kit/formats/bmp_writer.h"
#include "kit/formats/psd_writer.h"
#include "pictures/picture_decoders.h"
#include "platform/display/surface.h"
#include "tests/library/library_test_support.h"
#include "tests/support/external_tools.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

namespace vilora::testing {
namespace {

using kit::indexed_picture;
using kit::rgb8;

// Runs of every length class (1, 2, 3, 255+), literal stretches of odd and
// even length, and a width that is not a multiple of 4.
indexed_picture sample_indexed(int32_t width, int32_t height) {
    indexed_picture p{width, height, {}, {}};
    for (int i = 0; i < 256; ++i)
        p.palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                        static_cast<uint8_t>(i * 7)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t v;
            if (y % 3 == 0)
                v = static_cast<uint8_t>(x < 300 ? 5 : 6); // long runs
            else if (y % 3 == 1)
                v = static_cast<uint8_t>((x * 13 + y) % 251); // literals
            else
                v = static_cast<uint8_t>((x / (1 + y % 4)) % 3 + 40); // short runs
            p.indices.push_back(v);
        }
    return p;
}

struct decoded {
    std::vector<uint32_t> rgb; // 0x00RRGGBB
    std::vector<uint8_t> alpha;
    int32_t width = 0, height = 0;
};

// Decoded on a 32-bit screen, where no colour is lost.
decoded decode(const std::vector<uint8_t>& bytes, bool psd) {
    test_display screen(320, 240, 32);
    surface picture;
    decoded out;
    const int code = psd ? decode_psd(picture, &screen.display, 3, bytes, 1)
                         : decode_bmp(picture, &screen.display, 3, bytes, 0);
    EXPECT_EQ(code, decode_ok);
    if (code != decode_ok) return out;
    out.width = picture.width;
    out.height = picture.height;
    for (uint32_t p : all_pixels(picture)) out.rgb.push_back(p & 0xFFFFFF);
    if (picture.alpha_map)
        out.alpha.assign(picture.alpha_map.get(),
                         picture.alpha_map.get() + static_cast<size_t>(out.width) * out.height);
    return out;
}

uint32_t packed(rgb8 c) {
    return static_cast<uint32_t>(c.red) << 16 | c.green << 8 | c.blue;
}

void expect_imagemagick_agrees(const std::vector<uint8_t>& bytes, bool psd,
                               const std::vector<uint32_t>& rgb,
                               const std::vector<uint8_t>& alpha) {
    scratch_dir dir;
    const auto file = dir / (psd ? "p.psd" : "p.bmp");
    write_bytes(file, bytes);
    const std::vector<uint8_t> rgba = imagemagick_rgba(file, psd);
    ASSERT_EQ(rgba.size(), rgb.size() * 4);
    for (size_t i = 0; i < rgb.size(); ++i) {
        const uint32_t theirs =
            static_cast<uint32_t>(rgba[4 * i]) << 16 | rgba[4 * i + 1] << 8 | rgba[4 * i + 2];
        ASSERT_EQ(theirs, rgb[i]) << "pixel " << i;
        if (!alpha.empty()) {
            ASSERT_EQ(rgba[4 * i + 3], alpha[i]) << "alpha " << i;
        }
    }
}

TEST(BmpWriter, EightBitPlainAndRleReadBackTheSamePixels) {
    const indexed_picture p = sample_indexed(301, 7);
    std::vector<uint32_t> expected;
    for (uint8_t i : p.indices) expected.push_back(packed(p.palette[i]));
    for (bool rle : {false, true}) {
        SCOPED_TRACE(rle ? "RLE8" : "uncompressed");
        const std::vector<uint8_t> bytes = kit::write_bmp8(p, rle);
        EXPECT_EQ(bytes[30], rle ? 1 : 0);
        const decoded d = decode(bytes, false);
        ASSERT_EQ(d.width, 301);
        ASSERT_EQ(d.height, 7);
        EXPECT_EQ(d.rgb, expected);
        expect_imagemagick_agrees(bytes, false, expected, {});
    }
}

TEST(BmpWriter, RleCodesRunsAndPadsOddLiterals) {
    indexed_picture p{7, 1, {}, {9, 9, 9, 1, 2, 3, 4}};
    // A run of three, then a literal of four; the last row ends the picture.
    EXPECT_EQ(kit::rle8_encode(p), (std::vector<uint8_t>{3, 9, 0, 4, 1, 2, 3, 4, 0, 1}));
    p = {5, 2, {}, {1, 2, 3, 7, 7, 4, 4, 4, 4, 4}};
    // Bottom row first; an odd literal takes a pad byte.
    EXPECT_EQ(kit::rle8_encode(p),
              (std::vector<uint8_t>{5, 4, 0, 0, 0, 3, 1, 2, 3, 0, 2, 7, 0, 1}));
}

TEST(BmpWriter, TrueColourReadsBackExactly) {
    kit::rgb_picture p{13, 5, {}};
    for (int i = 0; i < 13 * 5; ++i)
        p.pixels.push_back({static_cast<uint8_t>(i * 3), static_cast<uint8_t>(255 - i),
                            static_cast<uint8_t>(i * i)});
    std::vector<uint32_t> expected;
    for (rgb8 c : p.pixels) expected.push_back(packed(c));
    const std::vector<uint8_t> bytes = kit::write_bmp24(p);
    const decoded d = decode(bytes, false);
    EXPECT_EQ(d.rgb, expected);
    expect_imagemagick_agrees(bytes, false, expected, {});
}

kit::psd_picture sample_psd(int channels) {
    kit::psd_picture p{150, 6, std::vector<std::vector<uint8_t>>(static_cast<size_t>(channels))};
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < 150 * 6; ++i) {
            const int x = i % 150, y = i / 150;
            // Long runs (PackBits repeats beyond 128) and noise (literals).
            p.planes[c].push_back(
                static_cast<uint8_t>(y % 2 ? (x * 37 + c * 11) % 256 : (x / 140) * 50 + c));
        }
    return p;
}

TEST(PsdWriter, RawAndPackBitsReadBackWithAlpha) {
    for (int channels : {3, 4})
        for (bool packbits : {false, true}) {
            SCOPED_TRACE(std::to_string(channels) + (packbits ? " PackBits" : " raw"));
            const kit::psd_picture p = sample_psd(channels);
            const std::vector<uint8_t> bytes = kit::write_psd(p, packbits);
            const decoded d = decode(bytes, true);
            std::vector<uint32_t> rgb;
            std::vector<uint8_t> alpha;
            for (size_t i = 0; i < p.planes[0].size(); ++i) {
                rgb.push_back(static_cast<uint32_t>(p.planes[0][i]) << 16 | p.planes[1][i] << 8 |
                              p.planes[2][i]);
                alpha.push_back(channels == 4 ? p.planes[3][i] : 255);
            }
            EXPECT_EQ(d.rgb, rgb);
            EXPECT_EQ(d.alpha, alpha);
            expect_imagemagick_agrees(bytes, true, rgb,
                                      channels == 4 ? alpha : std::vector<uint8_t>{});
        }
}

TEST(PsdWriter, PackBitsRunsAndLiterals) {
    const std::vector<uint8_t> bytes = {1, 1, 1, 2, 3, 4, 4};
    // A run of three, then a literal of four: a run of two inside a literal
    // stretch costs as much as the literal.
    EXPECT_EQ(kit::packbits_encode(bytes.data(), bytes.size()),
              (std::vector<uint8_t>{254, 1, 3, 2, 3, 4, 4}));
    const std::vector<uint8_t> pair = {5, 5, 6};
    EXPECT_EQ(kit::packbits_encode(pair.data(), pair.size()), (std::vector<uint8_t>{255, 5, 0, 6}));
    const std::vector<uint8_t> long_run(300, 7);
    EXPECT_EQ(kit::packbits_encode(long_run.data(), long_run.size()),
              (std::vector<uint8_t>{129, 7, 129, 7, 213, 7}));
}

} // namespace
} // namespace vilora::testing
