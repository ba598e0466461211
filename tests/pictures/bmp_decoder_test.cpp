#include "pictures/picture_decoders.h"
#include "tests/pictures/picture_bytes.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vilora {
namespace {

using namespace vilora::testing;

struct screen_mode {
    const char* name;
    int depth;
    high_colour_layout layout;
};

const screen_mode screen_modes[] = {
    {"565", 16, high_colour_layout::rgb565}, {"555", 16, high_colour_layout::rgb555},
    {"888", 24, high_colour_layout::rgb565}, {"8888", 32, high_colour_layout::rgb565},
    {"8", 8, high_colour_layout::rgb565},
};

// A palette whose entry 0 is not black, so that "background" and "never
// written" look different.
std::vector<rgb> test_palette() {
    std::vector<rgb> colours(256, rgb{0, 0, 0});
    colours[0] = {10, 200, 30};
    for (int i = 1; i < 256; ++i)
        colours[static_cast<size_t>(i)] = {static_cast<uint8_t>(i * 37),
                                           static_cast<uint8_t>(i * 91),
                                           static_cast<uint8_t>(255 - i * 13)};
    return colours;
}

void PrintTo(const screen_mode& mode, std::ostream* out) {
    *out << mode.name;
}

class BmpOnEveryScreen : public ::testing::TestWithParam<screen_mode> {
protected:
    void SetUp() override {
        screen = std::make_unique<test_display>(320, 240, GetParam().depth, GetParam().layout);
        ASSERT_EQ(screen->mode_result, 0);
    }

    display_device& display() { return screen->display; }

    // What palette entry `index` of test_palette() becomes on this screen.
    uint32_t expected(uint8_t index, bool keyed) {
        if (GetParam().depth == 8 && !keyed) return index;
        const rgb c = test_palette()[index];
        return screen_pixel(display(), c[0], c[1], c[2]);
    }

    int decode(surface& picture, const bmp_spec& spec, bool keyed = false) {
        return decode_bmp(picture, &display(), picture_surface_kind, bmp_bytes(spec),
                          keyed ? 1 : 0);
    }

    std::unique_ptr<test_display> screen;
};

TEST_P(BmpOnEveryScreen, BottomFileRowLandsAtTheBottomAndRowPaddingIsNeverShown) {
    // Width 3: each stored row is 4 bytes and its fourth byte (index 0xEE) is padding.
    const std::vector<std::vector<uint8_t>> top_first = {{1, 2, 3}, {4, 5, 6}};
    // The same picture in RLE8: the stream starts with the bottom row.
    const std::vector<uint8_t> rle = {0, 3, 4, 5, 6, 0, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};
    for (bool compressed : {false, true}) {
        for (bool keyed : {false, true}) {
            SCOPED_TRACE(std::string(compressed ? "RLE8" : "uncompressed") +
                         (keyed ? ", keyed" : ""));
            bmp_spec spec{3,
                          2,
                          8,
                          compressed ? 1u : 0u,
                          40,
                          test_palette(),
                          compressed ? rle : indexed_rows(3, top_first)};
            surface picture;
            ASSERT_EQ(decode(picture, spec, keyed), decode_ok);
            ASSERT_EQ(picture.width, 3);
            ASSERT_EQ(picture.height, 2);
            for (int32_t y = 0; y < 2; ++y)
                for (int32_t x = 0; x < 3; ++x)
                    EXPECT_EQ(pixel_at(picture, x, y), expected(top_first[y][x], keyed))
                        << "at " << x << ", " << y;
        }
    }
}

TEST_P(BmpOnEveryScreen, Rle8MoveLeavesTheSkippedPixelsAtPaletteEntryZero) {
    // Three pixels of 5, move (5, 1), two pixels of 7, end of picture.
    const std::vector<uint8_t> stream = {3, 5, 0, 2, 5, 1, 2, 7, 0, 1};
    surface picture;
    ASSERT_EQ(decode(picture, bmp_spec{12, 3, 8, 1, 40, test_palette(), stream}), decode_ok);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 12; ++x) {
            uint8_t index = 0;
            if (y == 2 && x < 3) index = 5;              // stream row 0
            if (y == 1 && (x == 8 || x == 9)) index = 7; // stream row 1, from x = 3 + 5
            EXPECT_EQ(pixel_at(picture, x, y), expected(index, false)) << "at " << x << ", " << y;
        }
    }
}

TEST_P(BmpOnEveryScreen, Rle8LiteralRunsOfOddLengthAreFollowedByAPadByte) {
    // Three literals and a pad byte, four literals without one, a run of one.
    const std::vector<uint8_t> stream = {0, 3, 1, 2, 3, 0, 0, 4, 4, 5, 6, 7, 1, 8, 0, 1};
    surface picture;
    ASSERT_EQ(decode(picture, bmp_spec{8, 1, 8, 1, 40, test_palette(), stream}), decode_ok);
    for (int32_t x = 0; x < 8; ++x)
        EXPECT_EQ(pixel_at(picture, x, 0), expected(static_cast<uint8_t>(x + 1), false)) << x;
}

TEST_P(BmpOnEveryScreen, Rle8StreamsStayInsideThePicture) {
    struct stream_case {
        const char* what;
        std::vector<uint8_t> stream;
        std::vector<uint8_t> bottom_row, top_row; // expected indices
    };
    const stream_case cases[] = {
        {"a run longer than the row", {255, 3, 0, 1}, {3, 3, 3, 3}, {0, 0, 0, 0}},
        {"literals past the row end", {0, 6, 1, 2, 3, 4, 5, 6, 0, 1}, {1, 2, 3, 4}, {0, 0, 0, 0}},
        {"a move above the top row", {0, 2, 1, 5, 4, 9, 0, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"more rows than the picture",
         {1, 1, 0, 0, 1, 2, 0, 0, 4, 3, 0, 1},
         {1, 0, 0, 0},
         {2, 0, 0, 0}},
        {"no end-of-picture code", {2, 3}, {3, 3, 0, 0}, {0, 0, 0, 0}},
        {"literals cut by the end of the file", {1, 4, 0, 9, 1, 2}, {4, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const stream_case& c : cases) {
        SCOPED_TRACE(c.what);
        surface picture;
        ASSERT_EQ(decode(picture, bmp_spec{4, 2, 8, 1, 40, test_palette(), c.stream}), decode_ok);
        for (int32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(pixel_at(picture, x, 1), expected(c.bottom_row[x], false)) << x;
            EXPECT_EQ(pixel_at(picture, x, 0), expected(c.top_row[x], false)) << x;
        }
    }
}

TEST_P(BmpOnEveryScreen, TrueColourPixelsAreConvertedToTheScreenFormat) {
    // 24-bit rows of 2 pixels take 6 bytes plus 2 of padding; bottom row first.
    const std::vector<uint8_t> rows = {
        0,  0,  255, 255, 255, 255, 0, 0, // bottom: red, white
        12, 34, 56,  200, 100, 50,  0, 0, // top: (56, 34, 12), (50, 100, 200)
    };
    surface picture;
    ASSERT_EQ(decode(picture, bmp_spec{2, 2, 24, 0, 40, {}, rows}), decode_ok);
    EXPECT_EQ(pixel_at(picture, 0, 1), screen_pixel(display(), 255, 0, 0));
    EXPECT_EQ(pixel_at(picture, 1, 1), screen_pixel(display(), 255, 255, 255));
    EXPECT_EQ(pixel_at(picture, 0, 0), screen_pixel(display(), 56, 34, 12));
    EXPECT_EQ(pixel_at(picture, 1, 0), screen_pixel(display(), 50, 100, 200));
}

INSTANTIATE_TEST_SUITE_P(Screens, BmpOnEveryScreen, ::testing::ValuesIn(screen_modes),
                         [](const auto& info) { return std::string("depth_") + info.param.name; });

TEST(BmpDecoder, SixteenBitPicturesAre555) {
    const uint16_t values[] = {0x7FFF, 0x001F, 0x0421, 0x7C00, 0x3DEF};
    std::vector<uint8_t> row;
    for (uint16_t v : values)
        row.insert(row.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
    row.resize(12, 0); // 10 bytes padded to 12
    const bmp_spec spec{5, 1, 16, 0, 40, {}, row};

    test_display same(320, 240, 16, high_colour_layout::rgb555);
    surface copied;
    ASSERT_EQ(decode_bmp(copied, &same.display, 3, bmp_bytes(spec), 0), decode_ok);
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(pixel_at(copied, x, 0), values[x]) << x;

    // On 5-6-5 each 5-bit field is widened to 8 bits (top bits repeated) and packed.
    test_display other(320, 240, 16, high_colour_layout::rgb565);
    surface converted;
    ASSERT_EQ(decode_bmp(converted, &other.display, 3, bmp_bytes(spec), 0), decode_ok);
    auto widen = [](uint32_t field) { return static_cast<uint8_t>(field << 3 | field >> 2); };
    for (int32_t x = 0; x < 5; ++x) {
        const uint32_t v = values[x];
        EXPECT_EQ(
            pixel_at(converted, x, 0),
            other.display.format->pack(widen(v >> 10 & 31), widen(v >> 5 & 31), widen(v & 31)))
            << x;
    }
}

TEST(BmpDecoder, ThePaletteFollowsALargerInformationHeader) {
    test_display screen(320, 240, 16);
    bmp_spec spec{2, 1, 8, 0, 108, test_palette(), indexed_rows(2, {{1, 2}})};
    surface picture;
    ASSERT_EQ(decode_bmp(picture, &screen.display, 3, bmp_bytes(spec), 0), decode_ok);
    const rgb one = test_palette()[1], two = test_palette()[2];
    EXPECT_EQ(pixel_at(picture, 0, 0), screen_pixel(screen.display, one[0], one[1], one[2]));
    EXPECT_EQ(pixel_at(picture, 1, 0), screen_pixel(screen.display, two[0], two[1], two[2]));
}

// A 10 x 10 picture of 8 and of 24 bits, each exactly as large as it must be:
// the last row needs no padding.
const bmp_spec small_bmp{10, 10, 8, 0, 40, {}, std::vector<uint8_t>(12 * 9 + 10, 1)};
const bmp_spec true_colour_bmp{10, 10, 24, 0, 40, {}, std::vector<uint8_t>(32 * 9 + 30, 1)};

struct refusal {
    const char* what;
    std::vector<uint8_t> bytes;
    int code;
};

// Files the decoder must refuse, each with its code.
std::vector<refusal> refused_bmps() {
    auto with = [](bmp_spec spec, auto change) {
        change(spec);
        return bmp_bytes(spec);
    };
    const bmp_spec& small = small_bmp;
    const bmp_spec& true_colour = true_colour_bmp;
    std::vector<uint8_t> not_bmp = bmp_bytes(small);
    not_bmp[1] = 'X';
    std::vector<uint8_t> rle_offset_past_end = with(small, [](bmp_spec& s) { s.compression = 1; });
    rle_offset_past_end[10] = 0xFF;
    rle_offset_past_end[11] = 0xFF;
    std::vector<uint8_t> cut_header = bmp_bytes(small);
    cut_header.resize(30);
    return {
        {"not B, M", not_bmp, decode_not_bmp},
        {"one byte", {'B'}, decode_not_bmp},
        {"1 bit", with(small, [](bmp_spec& s) { s.bits = 1; }), decode_bmp_unsupported},
        {"4 bits", with(small, [](bmp_spec& s) { s.bits = 4; }), decode_bmp_unsupported},
        {"bit fields",
         with(true_colour,
              [](bmp_spec& s) {
                  s.bits = 16;
                  s.compression = 3;
              }),
         decode_bmp_unsupported},
        {"RLE4", with(small, [](bmp_spec& s) { s.compression = 2; }), decode_bmp_unsupported},
        {"RLE8 on 24 bits", with(true_colour, [](bmp_spec& s) { s.compression = 1; }),
         decode_bmp_unsupported},
        {"core header", with(small, [](bmp_spec& s) { s.info_size = 12; }), decode_bmp_unsupported},
        {"8-bit rows cut short", with(small, [](bmp_spec& s) { s.pixels.pop_back(); }),
         decode_truncated},
        {"24-bit rows cut short", with(true_colour, [](bmp_spec& s) { s.pixels.pop_back(); }),
         decode_truncated},
        {"header cut short", cut_header, decode_truncated},
        {"RLE8 data offset past the end", rle_offset_past_end, decode_truncated},
        {"negative height", with(small, [](bmp_spec& s) { s.height = -10; }), decode_bad_size},
        {"width 0", with(small, [](bmp_spec& s) { s.width = 0; }), decode_bad_size},
        {"2^32 pixels",
         with(small,
              [](bmp_spec& s) {
                  s.width = 65536;
                  s.height = 65536;
              }),
         decode_bad_size},
        {"wider than a surface",
         with(small,
              [](bmp_spec& s) {
                  s.width = 16385;
                  s.height = 1;
              }),
         decode_bad_size},
    };
}

TEST(BmpDecoder, RefusesWhatItCannotShowAndCreatesNoSurface) {
    test_display screen(320, 240, 16);
    for (const refusal& c : refused_bmps()) {
        surface picture;
        EXPECT_EQ(decode_bmp(picture, &screen.display, 3, c.bytes, 0), c.code) << c.what;
        EXPECT_EQ(picture.platform, nullptr) << c.what;
    }

    // The exact sizes are taken: the last row needs no padding.
    for (const bmp_spec& spec : {small_bmp, true_colour_bmp}) {
        surface picture;
        EXPECT_EQ(decode_bmp(picture, &screen.display, 3, bmp_bytes(spec), 0), decode_ok);
    }
}

} // namespace
} // namespace vilora
