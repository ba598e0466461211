// Every fast span routine against its plain reference twin, bit for bit, on
// seeded random pictures, destinations, levels and alphas: widths 1 to 9 (and
// wider, for the sixteen-pixel cross-fade) and placements cut by the clip on
// either side, in every 16-bit channel layout.
#include "engine/engine.h"
#include "pictures/internal/blend_spans.h"
#include "tests/pictures/blit_pictures.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

using namespace vilora::testing;

struct layout_case {
    const char* name;
    high_colour_layout screen_layout;
    uint32_t red, green, blue; // 0: the screen's own masks
};

const layout_case layouts[] = {
    {"565", high_colour_layout::rgb565, 0, 0, 0},
    {"555", high_colour_layout::rgb555, 0, 0, 0},
    {"bgr565", high_colour_layout::rgb565, 0x001F, 0x07E0, 0xF800},
    {"444", high_colour_layout::rgb565, 0x0F00, 0x00F0, 0x000F},
    {"664", high_colour_layout::rgb565, 0xFC00, 0x03F0, 0x000F},
};

class BlendPaths : public ::testing::TestWithParam<layout_case> {
protected:
    void SetUp() override {
        const layout_case& c = GetParam();
        if (c.red) screen.use_masks(c.red, c.green, c.blue);
        // A small destination and clip keep the many runs quick.
        ASSERT_EQ(destination.create_surface(&screen.screen.display, 3, 32, 8), 0);
        screen.screen.display.clip = clip;
    }

    // What the blit leaves on the back surface with the given implementation.
    std::vector<uint32_t> run(span_impl impl, int32_t index, int32_t x, int32_t y, int32_t level,
                              const std::vector<uint32_t>& before) {
        force_span_impl(impl);
        set_pixel_values(destination, before);
        if (level < 0)
            screen.list.draw_picture_alpha(&destination, x, y, index);
        else
            screen.list.draw_picture_faded(&destination, x, y, index, level);
        return pixel_values(destination);
    }

    void expect_same_everywhere(int32_t index, int32_t level) {
        const int32_t width = screen.picture(index).width;
        // Whole, cut on the left by 1..3 columns, cut on the right, and cut at the top.
        const int32_t xs[] = {7,
                              clip.left - 1,
                              clip.left - 2,
                              clip.left - 3,
                              clip.right - width + 1,
                              clip.right - width + 3};
        for (int32_t x : xs) {
            fill_random(destination, random);
            const std::vector<uint32_t> before = pixel_values(destination);
            const int32_t y = clip.top + static_cast<int32_t>(random() % 3) - 1;
            const std::vector<uint32_t> reference =
                run(span_impl::reference, index, x, y, level, before);
            for (span_impl impl : {span_impl::fast, span_impl::narrow, span_impl::portable})
                ASSERT_EQ(run(impl, index, x, y, level, before), reference)
                    << "implementation " << static_cast<int>(impl) << " width " << width << " at "
                    << x << ", " << y << " level " << level << " four-pixel "
                    << processor.cpu_has_mmx;
        }
    }

    static constexpr clip_rect clip{3, 1, 29, 7};
    path_scope paths;
    blit_screen screen{16, 200, GetParam().screen_layout};
    surface destination;
    std::mt19937 random{2024};
};

TEST_P(BlendPaths, CrossFadesAgree) {
    for (bool keyed : {false, true}) {
        for (int32_t width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17, 20, 24, 29}) {
            const int32_t index = screen.add_picture(width, 3, keyed);
            fill_random(screen.picture(index), random);
            set_pixel_values(screen.picture(index), [&] {
                std::vector<uint32_t> v = pixel_values(screen.picture(index));
                for (uint32_t& p : v) p = random() % 5 == 0 ? 0 : p; // keyed-out pixels
                return v;
            }());
            for (bool four_pixel : {true, false}) {
                processor.cpu_has_mmx = four_pixel;
                for (int32_t level : {0, 1, 127, 128, 200, 255})
                    expect_same_everywhere(index, level);
            }
        }
    }
}

TEST_P(BlendPaths, AlphaBlitsAgree) {
    for (int32_t width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 29}) {
        const int32_t index = screen.add_picture(width, 5, false, true);
        for (int round = 0; round < 3; ++round) {
            fill_random(screen.picture(index), random);
            fill_random_alpha(screen.picture(index), random);
            for (bool four_pixel : {true, false}) {
                processor.cpu_has_mmx = four_pixel;
                expect_same_everywhere(index, -1);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, BlendPaths, ::testing::ValuesIn(layouts),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vilora
