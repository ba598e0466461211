#include "platform/text/internal/font_glyphs.h"
#include "platform/text/text.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

namespace vilora {
namespace {

using namespace vilora::testing;

constexpr const char* face = "MS SANS SERIFF";

struct box {
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    int32_t pixels = 0; // how many pixels changed
};

// A surface to write on, cleared to `background`.
class canvas {
public:
    canvas(test_display& screen, uint32_t background, int32_t width = 320, int32_t height = 80)
        : background_(background) {
        picture.create_surface(&screen.display, picture_surface_kind, width, height);
        picture.clear(background);
    }
    // Where the pixels differ from the background.
    box changed() {
        box b;
        for (int32_t y = 0; y < picture.height; ++y) {
            for (int32_t x = 0; x < picture.width; ++x) {
                if (pixel_at(picture, x, y) == background_) continue;
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
                ++b.pixels;
            }
        }
        return b;
    }
    std::vector<bool> mask() {
        std::vector<bool> covered;
        for (uint32_t value : all_pixels(picture)) covered.push_back(value != background_);
        return covered;
    }

    surface picture;

private:
    uint32_t background_;
};

TEST(CreateFont, AnUnknownFaceNameResolvesToAPlainSansSerifFace) {
    test_display screen;
    font* twelve = create_font(face, 12, 12);
    font* big = create_font(face, 24, 24);
    ASSERT_NE(twelve, nullptr);
    ASSERT_NE(big, nullptr);
    EXPECT_NE(twelve, big);
    EXPECT_EQ(twelve->height, 12);
    EXPECT_GT(twelve->ascent, 0);
    EXPECT_LT(twelve->ascent, 12);
    // No face of that name is installed: the match is the default sans-serif face.
    ASSERT_NE(default_font(), nullptr);
    EXPECT_EQ(twelve->file, default_font()->file);
}

TEST(CreateFont, ACellItCannotFillIsAClearErrorNotACrash) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(create_font(face, 12, 0), nullptr);
    EXPECT_EQ(create_font(face, -1, 12), nullptr);
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("no font for \"MS SANS SERIFF\""), std::string::npos) << message;
}

TEST(DrawText, GlyphsLandInsideTheCellAtThePosition) {
    test_display screen;
    for (int32_t cell : {12, 24}) {
        SCOPED_TRACE(cell);
        canvas page(screen, 0);
        draw_text(&page.picture, 40, 30, 0xFFFFFF, create_font(face, cell, cell), "Agjy|Q");
        const box b = page.changed();
        ASSERT_GT(b.pixels, 0);
        EXPECT_GE(b.top, 30);
        EXPECT_LT(b.bottom, 30 + cell);
        EXPECT_GE(b.left, 40);
        EXPECT_LT(b.left, 40 + cell / 2);
        // Descenders reach the lower part of the cell, capitals the upper part.
        EXPECT_GE(b.bottom, 30 + cell * 3 / 4);
        EXPECT_LT(b.top, 30 + cell / 4);
    }
}

TEST(DrawText, TheCellWidthIsTheAverageCharacterWidth) {
    test_display screen;
    auto line_width = [&](int32_t width) {
        canvas page(screen, 0, 700);
        draw_text(&page.picture, 0, 0, 0xFFFFFF, create_font(face, width, 12),
                  "abcdefghijklmnopqrstuvwxyz");
        const box b = page.changed();
        return b.right - b.left + 1;
    };
    const int32_t wide = line_width(12), narrow = line_width(6);
    EXPECT_GT(wide, 26 * 12 * 3 / 4);
    EXPECT_LT(wide, 26 * 12 * 5 / 4);
    EXPECT_NEAR(static_cast<double>(wide) / narrow, 2.0, 0.25);
}

TEST(DrawText, BlackTextLeavesThePixelsBetweenGlyphsUnchanged) {
    test_display screen;
    const font* text_font = create_font(face, 12, 12);
    canvas reference(screen, 0);
    draw_text(&reference.picture, 5, 20, 0xFFFFFF, text_font, "flying over mushroom fields");
    const std::vector<bool> glyph_pixels = reference.mask();

    // Over a picture whose pixels all differ from black.
    canvas page(screen, 0);
    auto pattern = [](int32_t x, int32_t y) { return 1 + static_cast<uint32_t>(x * 3 + y * 977); };
    for (int32_t y = 0; y < page.picture.height; ++y)
        for (int32_t x = 0; x < page.picture.width; ++x)
            set_pixel(page.picture, x, y, pattern(x, y) & 0xFFFF);
    draw_text(&page.picture, 5, 20, 0, text_font, "flying over mushroom fields");
    size_t i = 0;
    for (int32_t y = 0; y < page.picture.height; ++y)
        for (int32_t x = 0; x < page.picture.width; ++x, ++i)
            ASSERT_EQ(pixel_at(page.picture, x, y), glyph_pixels[i] ? 0 : pattern(x, y) & 0xFFFF)
                << "at " << x << ", " << y;
}

TEST(DrawText, ACallerThatHoldsTheContextKeepsIt) {
    test_display screen;
    canvas page(screen, 0);
    const font* big = create_font(face, 24, 24);
    ASSERT_EQ(page.picture.get_dc(), 0);
    device_context* held = page.picture.dc;
    draw_text(&page.picture, 0, 0, 0xFFFFFF, big, "Kept");
    EXPECT_TRUE(page.picture.flags & surface_dc_held);
    EXPECT_EQ(page.picture.dc, held);
    // A later call without a font draws with the one still selected.
    draw_text(&page.picture, 0, 40, 0xFFFFFF, nullptr, "Kept");
    EXPECT_EQ(held->selected_font, big);
    ASSERT_EQ(page.picture.release_dc(), 0);

    const std::vector<bool> covered = page.mask();
    const auto row = [&](int32_t y) { return covered.begin() + y * page.picture.width; };
    EXPECT_TRUE(std::equal(row(0), row(40), row(40), row(80)));
    EXPECT_GT(page.changed().pixels, 0);

    // Without a held context the call gives its own back.
    draw_text(&page.picture, 0, 0, 0xFFFFFF, big, "x");
    EXPECT_FALSE(page.picture.flags & surface_dc_held);
}

TEST(DrawText, WithoutAFontTheDefaultFaceDraws) {
    test_display screen;
    canvas page(screen, 0);
    draw_text(&page.picture, 10, 10, 0xFFFFFF, nullptr, "Default");
    const box b = page.changed();
    ASSERT_GT(b.pixels, 0);
    EXPECT_GE(b.top, 10);
    EXPECT_LT(b.bottom, 10 + 16);
}

TEST(DrawText, FormatsLikePrintfAndCutsAt2047Characters) {
    test_display screen;
    const font* text_font = create_font(face, 12, 12);
    canvas formatted(screen, 0), plain(screen, 0);
    draw_text(&formatted.picture, 3, 3, 0xFFFFFF, text_font, "%06d %s", 4711, "it");
    draw_text(&plain.picture, 3, 3, 0xFFFFFF, text_font, "%s", "004711 it");
    EXPECT_EQ(formatted.mask(), plain.mask());

    // Text that starts far to the left: only what follows the spaces can show.
    const int32_t space = font_glyph(*text_font, ' ').advance;
    ASSERT_GT(space, 0);
    for (int32_t spaces : {2046, 2047}) {
        canvas page(screen, 0);
        draw_text(&page.picture, -space * spaces, 0, 0xFFFFFF, text_font, "%s%s",
                  std::string(static_cast<size_t>(spaces), ' ').c_str(), "WWW");
        EXPECT_EQ(page.changed().pixels > 0, spaces == 2046) << spaces;
    }
}

struct screen_mode {
    const char* name;
    int depth;
    high_colour_layout layout;
};

void PrintTo(const screen_mode& mode, std::ostream* out) {
    *out << mode.name;
}

class TextColours : public ::testing::TestWithParam<screen_mode> {};

TEST_P(TextColours, AreConvertedToTheSurfaceFormat) {
    test_display screen(320, 240, GetParam().depth, GetParam().layout);
    ASSERT_EQ(screen.mode_result, 0);
    const font* text_font = create_font(face, 12, 12);
    const struct {
        uint32_t value;
        uint8_t red, green, blue;
    } colours[] = {{0xA06464, 100, 100, 160}, {0xC8, 200, 0, 0}, {0xB4B4B4, 180, 180, 180}};
    for (const auto& c : colours) {
        // Any background other than the text colour itself.
        const uint32_t expected = screen_pixel(screen.display, c.red, c.green, c.blue);
        const uint32_t background = expected == 0 ? 1 : 0;
        canvas page(screen, background);
        draw_text(&page.picture, 2, 2, c.value, text_font, "HM");
        ASSERT_GT(page.changed().pixels, 0);
        for (uint32_t value : all_pixels(page.picture))
            if (value != background) {
                ASSERT_EQ(value, expected) << std::hex << c.value;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, TextColours,
                         ::testing::Values(screen_mode{"565", 16, high_colour_layout::rgb565},
                                           screen_mode{"555", 16, high_colour_layout::rgb555},
                                           screen_mode{"888", 24, high_colour_layout::rgb565},
                                           screen_mode{"8888", 32, high_colour_layout::rgb565},
                                           screen_mode{"8", 8, high_colour_layout::rgb565}),
                         [](const auto& info) { return std::string("depth_") + info.param.name; });

} // namespace
} // namespace vilora
