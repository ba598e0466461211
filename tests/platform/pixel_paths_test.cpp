// The display's fast pixel loops against their reference twins: the frame
// conversion and the keyed copy, every path forced in turn on the same seeded
// pixels, must give the same bytes.
#include "platform/display/frame_conversion.h"
#include "platform/display/internal/pixel_paths.h"
#include "platform/display/internal/video_memory.h"

#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vilora {
namespace {

constexpr pixel_path all_paths[] = {pixel_path::reference, pixel_path::sse2, pixel_path::fast};

format_record format_of(int depth, uint32_t red, uint32_t green, uint32_t blue) {
    format_record f;
    f.size = sizeof f;
    f.flags = format_flag_rgb;
    f.rgb_bit_count = static_cast<uint32_t>(depth);
    f.red_mask = red;
    f.green_mask = green;
    f.blue_mask = blue;
    return f;
}
const format_record rgb565 = format_of(16, 0xF800, 0x07E0, 0x001F);
const format_record rgb555 = format_of(16, 0x7C00, 0x03E0, 0x001F);
const format_record xrgb = format_of(32, 0xFF0000, 0x00FF00, 0x0000FF);

// Fills a surface with seeded bytes; `keyed_share` of its pixels become 0.
void fill_seeded(video_surface& s, uint32_t seed, int keyed_share_percent = 0) {
    std::mt19937 random(seed);
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    ASSERT_EQ(s.lock(pixels, pitch), video_status::ok);
    const int bytes = s.bytes_per_pixel();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            uint8_t* p = pixels + y * pitch + x * bytes;
            const bool zero = static_cast<int>(random() % 100) < keyed_share_percent;
            for (int i = 0; i < bytes; ++i) p[i] = zero ? 0 : static_cast<uint8_t>(random());
        }
    s.unlock();
}

struct PixelPaths : ::testing::Test {
    void TearDown() override { force_pixel_path(pixel_path::fast); }
    testing::host_scope scope;
};

TEST_F(PixelPaths, ConversionOfEvery565ValueIsTheReferenceOnEveryPath) {
    // 256 x 256 pixels hold each 16-bit value once; width 256 leaves no tail.
    video_surface surface(memory_kind::system, 256, 256, rgb565);
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    ASSERT_EQ(surface.lock(pixels, pitch), video_status::ok);
    for (uint32_t v = 0; v < 65536; ++v) {
        pixels[(v / 256) * pitch + (v % 256) * 2] = static_cast<uint8_t>(v);
        pixels[(v / 256) * pitch + (v % 256) * 2 + 1] = static_cast<uint8_t>(v >> 8);
    }
    surface.unlock();
    const frame_converter converter(rgb565);
    for (pixel_path path : all_paths) {
        force_pixel_path(path);
        rgb_frame frame;
        converter.convert(surface, frame);
        ASSERT_EQ(frame.pixels.size(), 65536u);
        for (uint32_t v = 0; v < 65536; ++v) {
            const uint32_t expected = uint32_t{widen_channel(v >> 11, 5)} << 16 |
                                      uint32_t{widen_channel(v >> 5 & 63, 6)} << 8 |
                                      widen_channel(v & 31, 5);
            ASSERT_EQ(frame.pixels[v], expected) << "value " << v << " path " << int(path);
        }
    }
}

TEST_F(PixelPaths, ConversionOfOddWidthsMatchesAcrossPathsAndFormats) {
    for (const format_record& format : {rgb565, rgb555, xrgb})
        for (int width : {1, 7, 9, 317}) {
            video_surface surface(memory_kind::system, width, 13, format);
            fill_seeded(surface, static_cast<uint32_t>(width));
            const frame_converter converter(format);
            std::vector<rgb_frame> frames;
            for (pixel_path path : all_paths) {
                force_pixel_path(path);
                converter.convert(surface, frames.emplace_back());
            }
            EXPECT_EQ(frames[0].pixels, frames[1].pixels) << width;
            EXPECT_EQ(frames[0].pixels, frames[2].pixels) << width;
            EXPECT_EQ(frames[0].pixels, frame_from_surface(surface).pixels);
        }
}

// A keyed copy of a seeded picture onto a seeded destination, at an offset that
// cuts it, on the given path: the destination's bytes.
std::vector<uint8_t> keyed_copy_on(pixel_path path, const format_record& format, int width,
                                   uint32_t low, uint32_t high) {
    force_pixel_path(path);
    video_surface picture(memory_kind::system, width, 11, format);
    video_surface screen(memory_kind::system, 64, 16, format);
    fill_seeded(picture, 7, 40);
    fill_seeded(screen, 8);
    picture.set_colour_key(low, high);
    EXPECT_EQ(screen.copy_from(3, 2, picture, {0, 0, width, 11}, true), video_status::ok);
    const size_t bytes = static_cast<size_t>(screen.pitch()) * 16;
    return std::vector<uint8_t>(screen.memory(), screen.memory() + bytes);
}

TEST_F(PixelPaths, KeyedCopyMatchesTheReferenceForEveryKeyRange) {
    struct key_range {
        uint32_t low, high;
    };
    const key_range ranges[] = {{0, 0},      {0x10, 0x7FFF},  {0x8000, 0xFFFF},
                                {0, 0xFFFF}, {0x9000, 0x100}, {0x20000, 0x30000}};
    for (const format_record& format : {rgb565, xrgb})
        for (int width : {5, 16, 33, 61})
            for (const key_range& k : ranges) {
                const auto reference =
                    keyed_copy_on(pixel_path::reference, format, width, k.low, k.high);
                for (pixel_path path : {pixel_path::sse2, pixel_path::fast})
                    EXPECT_EQ(keyed_copy_on(path, format, width, k.low, k.high), reference)
                        << format.rgb_bit_count << " bits, width " << width << ", key " << k.low
                        << ".." << k.high;
            }
}

TEST_F(PixelPaths, KeyedCopyLeavesKeyedPixelsAndCopiesTheOthers) {
    video_surface picture(memory_kind::system, 3, 1, rgb565);
    video_surface screen(memory_kind::system, 3, 1, rgb565);
    uint8_t* p = nullptr;
    int32_t pitch = 0;
    ASSERT_EQ(picture.lock(p, pitch), video_status::ok);
    const uint8_t source[] = {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF};
    std::copy(std::begin(source), std::end(source), p);
    picture.unlock();
    ASSERT_EQ(screen.fill({0, 0, 3, 1}, 0x1234), video_status::ok);
    picture.set_colour_key(0, 0);
    ASSERT_EQ(screen.copy_from(0, 0, picture, {0, 0, 3, 1}, true), video_status::ok);
    const uint8_t expected[] = {0x34, 0x12, 0x01, 0x00, 0xFF, 0xFF};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), screen.memory()));
}

TEST_F(PixelPaths, KeyedCopyWithinOneSurfaceReadsTheSourceFirst) {
    for (pixel_path path : all_paths) {
        force_pixel_path(path);
        video_surface s(memory_kind::system, 40, 1, rgb565);
        uint8_t* p = nullptr;
        int32_t pitch = 0;
        ASSERT_EQ(s.lock(p, pitch), video_status::ok);
        for (int x = 0; x < 40; ++x) p[2 * x] = static_cast<uint8_t>(x + 1);
        s.unlock();
        s.set_colour_key(0, 0);
        ASSERT_EQ(s.copy_from(1, 0, s, {0, 0, 39, 1}, true), video_status::ok);
        for (int x = 1; x < 40; ++x) ASSERT_EQ(s.memory()[2 * x], x) << "path " << int(path);
    }
}

} // namespace
} // namespace vilora
