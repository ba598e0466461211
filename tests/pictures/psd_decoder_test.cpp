#include "pictures/picture_decoders.h"
#include "tests/pictures/picture_bytes.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

using namespace vilora::testing;

// Planes one after the other, as raw PSD data holds them.
std::vector<uint8_t> planes(const std::vector<std::vector<uint8_t>>& channels) {
    std::vector<uint8_t> out;
    for (const auto& plane : channels) out.insert(out.end(), plane.begin(), plane.end());
    return out;
}

class PsdDecoder : public ::testing::Test {
protected:
    // 8-8-8 pixels show the channels exactly.
    test_display screen{320, 240, 32};

    int decode(surface& picture, const psd_spec& spec, int32_t build_alpha = 1) {
        return decode_psd(picture, &screen.display, picture_surface_kind, psd_bytes(spec),
                          build_alpha);
    }
    static uint32_t rgb_of(uint8_t r, uint8_t g, uint8_t b) {
        return uint32_t{r} << 16 | uint32_t{g} << 8 | b;
    }
};

TEST_F(PsdDecoder, ThreeRawChannelsAreOpaque) {
    const psd_spec spec{
        1, 3, 3,
        2, 8, 3,
        0, 4, planes({{10, 20, 30, 40, 50, 60}, {1, 2, 3, 4, 5, 6}, {7, 8, 9, 0, 1, 2}})};
    surface picture;
    ASSERT_EQ(decode(picture, spec), decode_ok);
    ASSERT_EQ(picture.width, 3);
    ASSERT_EQ(picture.height, 2);
    EXPECT_EQ(pixel_at(picture, 0, 0), rgb_of(10, 1, 7));
    EXPECT_EQ(pixel_at(picture, 2, 0), rgb_of(30, 3, 9));
    EXPECT_EQ(pixel_at(picture, 0, 1), rgb_of(40, 4, 0)); // rows top first
    EXPECT_EQ(pixel_at(picture, 2, 1), rgb_of(60, 6, 2));
    ASSERT_TRUE(picture.alpha_map);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(picture.alpha_map[i], 255) << i;
}

TEST_F(PsdDecoder, TheFourthChannelBecomesTheAlphaMapOnlyWhenAsked) {
    const psd_spec spec{1, 4, 2, 1, 8, 3, 0, 0, planes({{1, 2}, {3, 4}, {5, 6}, {0, 200}})};
    surface picture;
    ASSERT_EQ(decode(picture, spec), decode_ok);
    ASSERT_TRUE(picture.alpha_map);
    EXPECT_EQ(picture.alpha_map[0], 0);
    EXPECT_EQ(picture.alpha_map[1], 200);
    // Colours are not weighted by alpha.
    EXPECT_EQ(pixel_at(picture, 0, 0), rgb_of(1, 3, 5));

    surface without;
    ASSERT_EQ(decode(without, spec, 0), decode_ok);
    EXPECT_FALSE(without.alpha_map);
}

TEST_F(PsdDecoder, PackBitsRunsCrossRowsAndHeader128IsSkipped) {
    // 3 x 2, one stream per channel after a row-count table of 2 x 3 entries.
    std::vector<uint8_t> data(12, 0);
    const std::vector<uint8_t> red = {128, 255, 7, 0, 9, 2, 1, 2, 3}; // 7 7 9 | 1 2 3
    const std::vector<uint8_t> green = {251, 4};                      // six 4s
    const std::vector<uint8_t> blue = {1, 10, 11, 128, 252, 12};      // 10 11 12 12 12 12
    for (const auto* stream : {&red, &green, &blue})
        data.insert(data.end(), stream->begin(), stream->end());
    surface picture;
    ASSERT_EQ(decode(picture, psd_spec{1, 3, 3, 2, 8, 3, 1, 0, data}), decode_ok);
    EXPECT_EQ(pixel_at(picture, 0, 0), rgb_of(7, 4, 10));
    EXPECT_EQ(pixel_at(picture, 1, 0), rgb_of(7, 4, 11));
    EXPECT_EQ(pixel_at(picture, 2, 0), rgb_of(9, 4, 12));
    EXPECT_EQ(pixel_at(picture, 0, 1), rgb_of(1, 4, 12));
    EXPECT_EQ(pixel_at(picture, 2, 1), rgb_of(3, 4, 12));
}

TEST_F(PsdDecoder, APackBitsRunPastTheChannelEndIsCutThere) {
    // 2 x 1: red's literal run of 3 ends one byte past the plane; the next
    // channel starts after the whole run.
    std::vector<uint8_t> data(6, 0);
    for (uint8_t b : {2, 1, 2, 99, 1, 3, 4, 200, 5}) data.push_back(b);
    surface picture;
    ASSERT_EQ(decode(picture, psd_spec{1, 3, 2, 1, 8, 3, 1, 0, data}), decode_ok);
    EXPECT_EQ(pixel_at(picture, 0, 0), rgb_of(1, 3, 5));
    EXPECT_EQ(pixel_at(picture, 1, 0), rgb_of(2, 4, 5));
}

TEST_F(PsdDecoder, RefusesWhatItCannotShowAndCreatesNoSurface) {
    const psd_spec good{1, 3, 2, 2, 8, 3, 0, 0, std::vector<uint8_t>(12, 5)};
    auto with = [&](auto change) {
        psd_spec spec = good;
        change(spec);
        return psd_bytes(spec);
    };
    std::vector<uint8_t> bad_signature = psd_bytes(good);
    bad_signature[0] = 'X';
    std::vector<uint8_t> oversized_section = psd_bytes(good);
    oversized_section[30] = 0x7F; // the image resources claim 2 GiB
    std::vector<uint8_t> cut_header = psd_bytes(good);
    cut_header.resize(20);

    struct refusal {
        const char* what;
        std::vector<uint8_t> bytes;
        int code;
    };
    const refusal cases[] = {
        {"signature", bad_signature, decode_psd_rejected},
        {"version 2", with([](psd_spec& s) { s.version = 2; }), decode_psd_rejected},
        {"five channels", with([](psd_spec& s) { s.channels = 5; }), decode_psd_rejected},
        {"16 bits per channel", with([](psd_spec& s) { s.depth = 16; }), decode_psd_rejected},
        {"CMYK", with([](psd_spec& s) { s.mode = 4; }), decode_psd_not_rgb},
        {"compression 2", with([](psd_spec& s) { s.compression = 2; }), decode_psd_rejected},
        {"header cut short", cut_header, decode_psd_rejected},
        {"a section longer than the file", oversized_section, decode_truncated},
        {"raw planes cut short", with([](psd_spec& s) { s.data.pop_back(); }), decode_truncated},
        {"PackBits stream cut short", with([](psd_spec& s) {
             s.compression = 1;
             s.data = std::vector<uint8_t>(12, 0);
             s.data.insert(s.data.end(), {253, 1, 253, 2, 254, 3}); // blue one byte short
         }),
         decode_truncated},
        {"width 0", with([](psd_spec& s) { s.width = 0; }), decode_bad_size},
        {"2^32 pixels", with([](psd_spec& s) { s.width = s.height = 65536; }), decode_bad_size},
    };
    for (const refusal& c : cases) {
        surface picture;
        EXPECT_EQ(decode_psd(picture, &screen.display, 3, c.bytes, 1), c.code) << c.what;
        EXPECT_EQ(picture.platform, nullptr) << c.what;
        EXPECT_FALSE(picture.alpha_map) << c.what;
    }
}

} // namespace
} // namespace vilora
