// "uganda4.782": the late section (obw, odistort, houp, pinkous, oland).
// Rust and black for the torture, pale sky for the captions, warm cells for
// life, red glitches, pink for pinkous, black and green for the landscape.
#include "kit/art/picture_kit.h"
#include "kit/art/quantise.h"
#include "kit/content/data_set.h"
#include "kit/content/pictures/bent_pictures.h"
#include "kit/formats/bmp_writer.h"
#include "kit/formats/psd_writer.h"

#include <algorithm>
#include <cmath>

namespace vilora::kit::data {
namespace {

// obw's maps: red is the offset the part adds, and a 5-6-5 screen keeps it
// in steps of 8 pixels. A gentle field (0 to 56, over hundreds of pixels)
// cuts the bent picture into broad bands shifted by a step or so, which
// travel as the part's oscillators move; the picture stays whole.
std::vector<uint8_t> field_map(int width, int height, uint32_t seed, float scale, bool across) {
    bmp_palette palette{};
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i / 3),
                      static_cast<uint8_t>(255 - i / 2)};
    return write_bmp8(
        art::from_field(width, height, palette,
                        [&](int x, int y) {
                            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
                            // Mostly along one axis: rows shift by column, or columns by row.
                            const float along = across ? fx : fy, other = across ? fy : fx;
                            const float v = 0.5f + 0.35f * std::sin(along / scale + other / 190) +
                                            0.15f * std::sin(std::hypot(fx - 285, fy - 210) / 35);
                            const float n = art::fbm(fx / 160, fy / 160, seed, 2);
                            return static_cast<uint8_t>(
                                std::clamp(56 * (0.85f * v + 0.15f * n), 0.0f, 255.0f));
                        }),
        false);
}

// What obw bends: a watching eye, wrapped like the part's reads (columns
// modulo 320, rows modulo 150). The part shows screen column i from source
// column i + s, s from 0 to 56 and the same along a row, in a window from
// column 80: only source columns 136 to 319 are on the screen at every
// shift. The label and the eye sit side by side in them, on the same rows,
// so a row's shift moves them alike; but neighbouring rows shift by up to
// 20 pixels more or less than each other, which tears them, and the gap
// between them is wider than that: the label in columns 140 to 172, the
// eye's corners at 213 and 301. Its right corner stays clear of the frame's
// edge at every shift, which only ever moves it left.
image watching_eye(const art::lettering& letters) {
    constexpr float cx = 257, cy = 118;
    constexpr float size = 0.45f; // of the almond drawn 195 by 100 below
    image canvas(320, 150);
    canvas.paint([&](float x, float y) {
        const float wx = std::fmod(x - cx + 480, 320) - 160, wy = std::fmod(y - cy + 225, 150) - 75;
        const float dots = std::hypot(std::fmod(x + 800, 8) - 4, std::fmod(y + 800, 8) - 4);
        const float shade = 0.25f + 0.5f * std::fabs(wy) / 75;
        const colour paper = dots < 3.2f * shade ? hex(0x3a1810) : hex(0xf0e4cc);
        const float dx = wx / size, dy = wy / size;
        // Almond: two circle arcs meeting at the corners (dx = +-97.5).
        const float lid = 120 - std::hypot(dx, std::fabs(dy) + 70);
        const float r = std::hypot(dx, dy);
        if (lid < -3) return paper;
        if (lid < 0) return hex(0x100404);
        if (r < 14) return r < 5 && dx < -4 && dy < -2 ? hex(0xffffff) : hex(0x080202);
        if (r < 40) {
            const float a = std::atan2(dy, dx);
            const float fibre = 0.5f + 0.5f * std::sin(a * 24 + r / 3);
            return mix(hex(0x801808), hex(0xf07020), fibre * (1 - r / 60));
        }
        if (r < 42) return hex(0x200404);
        return mix(hex(0xfffaf0), hex(0xc8b8a8), art::smoothstep(10, 0, lid));
    });
    caption(canvas, letters, "bw", 140, 102, {16, 32, hex(0x100404), hex(0xf0e4cc), 2, 3});
    return canvas;
}

// The frame that stays around the bent picture: rust and rivets, and beside
// the eye, in the columns the part never bends (0 to 79), an eye chart on the
// same paper: lines of letters from one large "E" down to a line that only a
// sharp eye reads, and the chart's red rule under the line one ought to read.
// The chart card spans the bent panel's rows (32 to 168), so the two read as
// one board of two cards.
constexpr int chart_left = 8, chart_right = 71, panel_top = 32, panel_bottom = 168;

image torture(const art::lettering& letters) {
    image canvas(320, 200);
    canvas.paint([&](float x, float y) {
        const float n = art::fbm(x / 30, y / 30, 130, 5);
        return mix(hex(0x2a0a04), hex(0x8a3a14), n);
    });
    mask rivets(320, 200);
    for (int x = 18; x < 320; x += 24) {
        art::disc(rivets, static_cast<float>(x), 16, 3);
        art::disc(rivets, static_cast<float>(x), 184, 3);
    }
    art::stamp(canvas, rivets, 0, 0, hex(0xc08060));
    vignette(canvas, 0.4f);
    for (int y = panel_top; y <= panel_bottom; ++y)
        for (int x = chart_left; x <= chart_right; ++x) {
            const bool edge =
                x == chart_left || x == chart_right || y == panel_top || y == panel_bottom;
            const float down = static_cast<float>(y - panel_top) / 200;
            canvas.at(x, y) = edge ? hex(0x3a1810) : mix(hex(0xf0e4cc), hex(0xd8c8a8), down);
        }
    // Lines of the chart: text, cell width and height; each line centred.
    struct chart_line {
        const char* text;
        int cell_width, cell_height;
    };
    constexpr chart_line lines[] = {{"E", 22, 34},   {"bw", 13, 22},   {"wbe", 10, 16},
                                    {"ebwb", 8, 12}, {"bwebw", 7, 10}, {"webwbe", 6, 8}};
    int y = panel_top + 6;
    const int middle = (chart_left + chart_right + 1) / 2;
    for (const chart_line& line : lines) {
        const int w = caption_width(letters, line.text, line.cell_width, line.cell_height);
        caption(canvas, letters, line.text, middle - w / 2, y,
                {line.cell_width, line.cell_height, hex(0x100404)});
        y += line.cell_height + 3;
        if (line.cell_height == 12) {
            for (int x = chart_left + 6; x <= chart_right - 6; ++x)
                canvas.at(x, y) = canvas.at(x, y + 1) = hex(0xb02010);
            y += 5;
        }
    }
    return canvas;
}

// Pale sky with clouds for the five blue captions.
image clouds() {
    image canvas(320, 200);
    canvas.paint([&](float x, float y) {
        const float c = art::smoothstep(0.45f, 0.8f, art::fbm(x / 80, y / 40, 150, 5));
        return mix(mix(hex(0xa8c8e0), hex(0xe8f0f0), y / 200), hex(0xffffff), c * 0.8f);
    });
    return canvas;
}

// "sorry", keyed: laid over the closing scenes and eaten by black lines.
// The finale puts it over dark and light scenes alike, so the white word
// lies in a thin red rim inside a heavy near-black outline, which reads on
// any ground.
image sorry(const art::lettering& letters) {
    image canvas(320, 200);
    canvas.cover_all(0);
    const std::string word = "sorry";
    const int w = caption_width(letters, word, 48, 96);
    caption(canvas, letters, word, (320 - w) / 2, 40,
            {48, 96, hex(0x1c0608), hex(0x1c0608), 4, 12, hex(0x1c0608), true});
    caption(canvas, letters, word, (320 - w) / 2, 40,
            {48, 96, hex(0xf0f0f0), hex(0xa02828), 1, 6, hex(0x400000), true});
    // The line stands on a dark plate of its own: the finale lays this over a
    // different scene every frame, and the scenes' own captions must not run
    // into it.
    const std::string line = "that was all we had";
    const int line_width = caption_width(letters, line, 9, 16);
    const float left = static_cast<float>((320 - line_width) / 2 - 10);
    const float right = static_cast<float>((320 + line_width) / 2 + 10);
    mask rim(320, 200), plate(320, 200);
    art::box(rim, left - 1, 143, right + 1, 173);
    art::box(plate, left, 144, right, 172);
    art::stamp(canvas, rim, 0, 0, hex(0x802020));
    art::stamp(canvas, plate, 0, 0, hex(0x1c0608));
    caption(canvas, letters, line, (320 - line_width) / 2, 150,
            {9, 16, hex(0xf0c0a0), hex(0x400000), 2, 3});
    return canvas;
}

// Living cells for odistort, as under a microscope's bright field: pale
// cool grey-blue tissue with soft walls, on which the part's lines (dark to
// bright green, (9, z / 2, 9)) and its filled copies ((z / 2, 89, 89), teal
// to pink) both read; and a cream film strip, set off by a shadow above and
// below, through the band where the copies scroll under their black labels
// "one", "two", "three" (y 120).
image cells() {
    image canvas(320, 200);
    const ramp tissue{
        {{0, hex(0xdce4ec)}, {0.5f, hex(0xc8d2de)}, {0.8f, hex(0xb4c0d0)}, {1, hex(0xa4b2c6)}}};
    canvas.paint([&](float x, float y) {
        // Cell walls: where the nearest two scattered points are about equally far.
        float d1 = 1e9f, d2 = 1e9f;
        const int cx = static_cast<int>(x / 40), cy = static_cast<int>(y / 40);
        for (int j = cy - 1; j <= cy + 1; ++j)
            for (int i = cx - 1; i <= cx + 1; ++i) {
                const float px = (static_cast<float>(i) + art::lattice(i, j, 160)) * 40;
                const float py = (static_cast<float>(j) + art::lattice(i, j, 161)) * 40;
                const float d = std::hypot(x - px, y - py);
                if (d < d1) {
                    d2 = d1;
                    d1 = d;
                } else if (d < d2) {
                    d2 = d;
                }
            }
        const float wall = 1 - art::smoothstep(0, 4, d2 - d1);
        const float nucleus = 1 - art::smoothstep(4, 7, d1);
        return tissue(0.15f + 0.5f * wall + 0.35f * nucleus +
                      0.1f * art::fbm(x / 20, y / 20, 162, 3));
    });
    vignette(canvas, 0.2f);
    // The strip (rows 101 to 140): cream, sprocket holes along both edges, soft shadow above and
    // below.
    for (int y = 96; y < 146; ++y)
        for (int x = 0; x < 320; ++x) {
            const bool strip = y >= 101 && y < 141;
            const bool hole = strip && (y < 105 || y >= 137) && x % 14 >= 4 && x % 14 < 10;
            const float shade = strip ? 0 : 0.5f;
            canvas.at(x, y) = hole    ? hex(0x200810)
                              : strip ? mix(hex(0xf0e4c8), hex(0xd8c8a0), (y - 101) / 40.0f)
                                      : canvas.at(x, y) * shade;
        }
    return canvas;
}

// houp draws its dogs in greys no brighter than 100 and its digits in red
// 200: a pale, slightly cold page with torn signal bands lets both read, and
// the digits get a cream panel of their own. The running dog, stretched and
// shaken, covers columns 0 to 177 of rows 62 to 193: the bands keep to the
// sky above it and to the right of it, under the digits, so that none runs
// through the dog like a stroke of its own.
constexpr int dog_top = 58, dog_right = 182;

image glitch(const art::lettering& letters) {
    image canvas(320, 200);
    canvas.paint([&](float x, float y) {
        const float n = art::fbm(x / 90, y / 14, 170, 4);
        return mix(hex(0xa8b4c4), hex(0xdce2e8), n) * (0.96f + 0.04f * std::sin(y * 1.7f));
    });
    // The label and the digits' frame keep the plain page too.
    const auto calm = [](int x, int y) {
        const bool dog = x <= dog_right && y >= dog_top;
        return dog || (x >= 184 && x < 312 && y >= 46 && y < 146);
    };
    art::scatter rng(171);
    for (int i = 0; i < 22; ++i) {
        // Every other band in the sky across the whole page, the rest on the
        // right under the digits.
        const bool sky = i % 2 == 0;
        const int h = 1 + rng.below(4);
        const int y = sky ? rng.below(dog_top - h) : 146 + rng.below(54 - h);
        const int x = sky ? rng.below(300) : dog_right + 1 + rng.below(100);
        const int w = sky ? 30 + rng.below(160) : 20 + rng.below(80);
        const bool red = rng.below(3) != 0;
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < std::min(320, x + w); ++xx) {
                if (calm(xx, yy)) continue;
                // A torn band: the page shifted and tinted, brighter at its head.
                const float head = 1 - static_cast<float>(xx - x) / static_cast<float>(w);
                const colour tint = red ? hex(0xe04848) : hex(0x38a8c8);
                canvas.at(xx, yy) = mix(canvas.at(xx, yy), tint, 0.25f + 0.45f * head);
            }
    }
    mask frame(320, 200), panel(320, 200);
    art::box(frame, 188, 66, 306, 140, 1.5f);
    art::box(panel, 192, 72, 302, 136, 1);
    art::stamp(canvas, art::glow(frame, 3, 1.2f), 0, 0, hex(0x404858));
    art::stamp(canvas, frame, 0, 0, hex(0x30343c));
    canvas.paint([&](float x, float y) {
        const colour c = canvas.at(static_cast<int>(x), static_cast<int>(y));
        return mix(c, mix(hex(0xfff8e8), hex(0xe8dcc0), (y - 72) / 64),
                   panel.at(static_cast<int>(x), static_cast<int>(y)));
    });
    caption(canvas, letters, "signal", 194, 53, {6, 10, hex(0x30343c)});
    vignette(canvas, 0.3f);
    scanlines(canvas, 0.06f);
    return canvas;
}

const colour pink = hex(0xf060a0), rose = hex(0x801848);

image pink_field() {
    image canvas(320, 200);
    canvas.paint([&](float x, float y) {
        const float n = art::fbm(x / 50, y / 25, 180, 4);
        const colour top = mix(hex(0x401030), pink, n);
        return y < 160 ? top * (1 - y / 400) : mix(hex(0x200818), hex(0x100410), (y - 160) / 40);
    });
    art::scatter rng(181);
    for (int i = 0; i < 40; ++i) {
        mask flower(320, 200);
        const float x = rng.uniform(0, 320), y = rng.uniform(4, 48);
        for (int k = 0; k < 5; ++k) {
            const float a = 2 * pi * static_cast<float>(k) / 5;
            art::disc(flower, x + 3 * std::cos(a), y + 3 * std::sin(a), 2);
        }
        art::stamp(canvas, flower, 0, 0, hex(0xffe0f0));
    }
    return canvas;
}

// The travelling box, keyed: a frame with an open middle.
image frame_box() {
    image canvas(100, 100);
    canvas.cover_all(0);
    mask outer(100, 100), inner(100, 100);
    art::box(outer, 1, 1, 99, 99, 1);
    art::box(inner, 9, 9, 91, 91, 1);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            outer.at(x, y) = std::max(0.0f, outer.at(x, y) - inner.at(x, y));
    canvas.paint([](float x, float y) { return mix(hex(0xffc0e0), hex(0x902060), (x + y) / 200); });
    art::stamp(canvas, outer, 0, 0, hex(0xf8a8d0));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) canvas.cover(x, y) = outer.at(x, y) >= 0.5f ? 1.0f : 0.0f;
    return canvas;
}

// Opaque pixels of the sky in the see-through part of the visor: a haze that
// thins out towards the horizon (one pixel in 4 at the top, none below row
// 70), stars, and a crescent moon in the upper left.
void night_sky(image& canvas) {
    constexpr int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 16; y < 70; ++y)
        for (int x = 8; x < 312; ++x) {
            if (canvas.cover(x, y) > 0) continue;
            const float density = 0.25f * art::smoothstep(70, 16, static_cast<float>(y));
            if (static_cast<float>(bayer[y & 3][x & 3]) + 0.5f < 16 * density) {
                canvas.at(x, y) = mix(hex(0x28184a), hex(0x10284a), static_cast<float>(x) / 320);
                canvas.cover(x, y) = 1;
            }
        }
    art::scatter rng(191);
    for (int i = 0; i < 50; ++i) {
        const int x = 8 + rng.below(304), y = 18 + rng.below(50);
        if (canvas.cover(x, y) > 0) continue;
        canvas.at(x, y) = mix(hex(0x8090c0), hex(0xfff8e0), rng.uniform(0, 1));
        canvas.cover(x, y) = 1;
    }
    mask moon(320, 200), bite(320, 200);
    art::disc(moon, 78, 32, 8);
    art::disc(bite, 82, 29, 7.5f);
    for (int y = 20; y < 44; ++y)
        for (int x = 66; x < 90; ++x) {
            const float lit = moon.at(x, y) - bite.at(x, y);
            if (lit < 0.5f) continue;
            canvas.at(x, y) = hex(0xf0ecd0);
            canvas.cover(x, y) = 1;
        }
}

// The landscape's frame, keyed: a cockpit window in brushed green, its top
// corners braced, a light plate at the bottom for the black caption, and the
// night outside — a moon, stars and a thin screen of haze over the sky, in
// single opaque pixels that leave the wireframe under them readable.
image visor(const art::lettering& letters) {
    image canvas(320, 200);
    mask frame(320, 200);
    art::box(frame, 0, 0, 320, 16);
    art::box(frame, 0, 160, 320, 200);
    art::box(frame, 0, 0, 8, 200);
    art::box(frame, 312, 0, 320, 200);
    // A brace across each top corner, from (8, 60) to (60, 16) and its mirror:
    // the window becomes an octagon.
    for (int y = 16; y < 60; ++y)
        for (int x = 8; x < 60; ++x)
            if (static_cast<float>(y) < 60 - 44 * static_cast<float>(x - 8) / 52)
                frame.at(x, y) = frame.at(319 - x, y) = 1;
    canvas.paint([](float x, float y) {
        const float brushed = 0.88f + 0.12f * art::fbm(x / 40, y * 2, 190, 3);
        return (y >= 160 ? mix(hex(0xc0e8b8), hex(0x78a878), (y - 160) / 40)
                         : mix(hex(0x4a7a4a), hex(0x8ab88a), y / 160)) *
               brushed;
    });
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) canvas.cover(x, y) = frame.at(x, y) >= 0.5f ? 1.0f : 0.0f;
    night_sky(canvas);
    mask seam(320, 200), rivets(320, 200);
    art::box(seam, 8, 160, 312, 162);
    for (int x = 14; x < 320; x += 34) art::disc(rivets, static_cast<float>(x), 7, 1.8f);
    art::stamp(canvas, seam, 0, 0, hex(0x2a6a2a), false);
    art::stamp(canvas, rivets, 0, 0, hex(0xe0f0d0), false);
    caption(canvas, letters, "surf on surf", 230, 186, {6, 11, hex(0x0c200c)});
    return canvas;
}

// The flare: a soft glow with a ring and four thin rays, alpha falling off
// smoothly; colours stay bright where the alpha is low.
std::vector<uint8_t> flare() {
    const int size = 96;
    psd_picture p{size, size, std::vector<std::vector<uint8_t>>(4)};
    for (auto& plane : p.planes) plane.resize(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - 48) / 48;
            const float dy = (static_cast<float>(y) + 0.5f - 48) / 48;
            const float r = std::hypot(dx, dy);
            const float core = std::exp(-r * r * 18);
            const float halo = std::exp(-r * r * 4) * 0.45f;
            const float ring = std::exp(-(r - 0.62f) * (r - 0.62f) * 400) * 0.25f;
            const float rays = (std::exp(-dx * dx * 900) + std::exp(-dy * dy * 900)) *
                               std::max(0.0f, 1 - r) * 0.6f;
            const float a =
                art::clamp01(core + halo + ring + rays) * art::smoothstep(1.0f, 0.85f, r);
            const size_t i = static_cast<size_t>(y) * size + x;
            p.planes[0][i] = static_cast<uint8_t>(255 * art::clamp01(0.85f + core));
            p.planes[1][i] = static_cast<uint8_t>(255 * art::clamp01(0.95f - 0.3f * r + core));
            p.planes[2][i] = static_cast<uint8_t>(255 * art::clamp01(0.6f + 0.2f * r + core));
            p.planes[3][i] = static_cast<uint8_t>(std::lround(255 * a));
        }
    return write_psd(p, true);
}

} // namespace

std::vector<named_bytes> uganda4_pictures(const art::lettering& letters) {
    return {
        {"f0.bmp", field_map(570, 419, 121, 70, true)},
        {"f1.bmp", field_map(570, 419, 122, 55, false)},
        {"f2.bmp", as_bmp24(watching_eye(letters))},
        {"torture.bmp", as_bmp24(torture(letters))},
        {"zool.bmp", as_bmp8(clouds())},
        {"sorry.bmp", as_rle8(sorry(letters), true, 32)},
        {"lifelife.bmp", as_bmp24(cells())},
        {"glit.bmp", as_bmp24(glitch(letters))},
        {"hlavni.bmp", as_bmp24(pig_picture())},
        {"field.bmp", as_bmp8(pink_field())},
        {"box.bmp", as_rle8(frame_box(), true, 32)},
        {"hool.bmp", as_rle8(visor(letters), true, 32)},
        {"flare1.psd", flare()},
    };
}

} // namespace vilora::kit::data
