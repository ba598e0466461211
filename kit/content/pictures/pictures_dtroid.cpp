// "dtroid.782": the opening section (title, credits, greetings, oneco0).
// Night blue with rust for the title, deep green with lime for the credits
// and greetings, ice blue for the swimmers.
#include "kit/art/picture_kit.h"
#include "kit/content/data_set.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vilora::kit::data {
namespace {

// The name and the tagline along the bottom of the title's pictures, from
// row `y` down (the name's ink on rows y + 8 to y + 36, the tagline's on
// y + 45 to y + 54, eight rows clear of it), below where the hedgehog walks
// and circles. The name is a two-word logo: "vilo" in rust, "ra" in pale
// amber, a word space apart, so the space reads as meant.
void name_and_tagline(image& canvas, const art::lettering& letters, int y, float heat) {
    // A tight glow (3 pixels) that fades out before the tagline's row.
    const caption_style vilo{26, 48,   hex(0xf07030), hex(0xa02808) * heat,
                             3,  2.6f, hex(0x100000), true};
    caption_style ra = vilo;
    ra.fill = hex(0xffc878);
    ra.glow = hex(0x904010) * heat;
    // The face's space at this size is three letter gaps wide, which reads
    // as two words torn apart; the name is set with a word space of about
    // twice the gap between its letters instead (8 pixels narrower).
    constexpr int tighter = 8;
    const int whole = caption_width(letters, "vilo ra", 26, 48) - tighter;
    const int left = (320 - whole) / 2;
    caption(canvas, letters, "vilo", left, y, vilo);
    caption(canvas, letters, "ra", left + whole - caption_width(letters, "ra", 26, 48), y, ra);
    // Bright, in a dark halo: it lies on noise and fog and must stand off both.
    const caption_style small{8, 13, hex(0xe8e0d0), hex(0x0c1424), 2, 2};
    const std::string line = "sixteen bits of software rendering";
    caption(canvas, letters, line, (320 - caption_width(letters, line, 8, 13)) / 2, y + 44, small);
}
constexpr int name_row = 142; // where the title's pictures put their name

// Fog over midnight blue, at a point of the picture area.
colour title_sky(float x, float y) {
    const ramp sky{{{0, hex(0x02040c)}, {0.55f, hex(0x0c1430)}, {1, hex(0x1c2848)}}};
    const float fog = art::fbm(x / 70, y / 45, 3, 5);
    return sky(y / 200 * 0.7f + fog * 0.5f) + hex(0x202830) * (fog * fog * 0.6f);
}

// Far hills, black against the fog, behind the name: `c` at (x, y) darkened
// below their ridge.
colour under_hills(colour c, float x, float y) {
    const float ridge = 126 + 12 * art::fbm(x / 45, 0.5f, 31, 3) + 5 * std::sin(x / 27);
    return mix(c, hex(0x020308), 0.85f * art::smoothstep(ridge - 1, ridge + 1, y));
}
constexpr float title_vignette = 0.55f;

// The title: fog over midnight blue, a moon and dark hills, the name in rust
// and amber with a hot glow along the bottom.
// The four variants differ in grain, a torn band of rows and the glow, so
// that picking one at random each frame flickers like a bad signal.
image title_picture(const art::lettering& letters, int variant) {
    image canvas(320, 200);
    canvas.paint(title_sky);
    stars(canvas, 40, 90, hex(0x9aa8c8));
    canvas.paint([&](float x, float y) {
        return under_hills(canvas.at(static_cast<int>(x), static_cast<int>(y)), x, y);
    });
    name_and_tagline(canvas, letters, name_row, 0.75f + 0.1f * static_cast<float>(variant));
    vignette(canvas, title_vignette);
    // A small full moon in the top right corner, the one stretch of sky that
    // neither the line hedgehog on the left nor the circling one (whose head
    // is lower and narrower than its back) comes near; lit after the
    // vignette, as a light is.
    light(canvas, 302, 15, 22, hex(0x1c2840));
    mask moon(320, 200);
    art::disc(moon, 302, 15, 8);
    art::stamp(canvas, moon, 0, 0, hex(0xe8e4d0));
    mask craters(320, 200);
    art::disc(craters, 299, 12, 2.2f);
    art::disc(craters, 305, 18, 1.8f);
    art::stamp(canvas, craters, 0, 0, hex(0xc8c0a8));
    scanlines(canvas, 0.18f);
    grain(canvas, 100 + static_cast<uint32_t>(variant),
          0.05f + 0.02f * static_cast<float>(variant));
    // A torn band: rows shifted sideways and lit up, as a weak signal does;
    // in the sky, clear of the moon and the lettering.
    const int band = 44 + 30 * variant;
    for (int y = band; y < band + 4 + 3 * variant && y < name_row; ++y) {
        const int shift = 6 + 6 * variant;
        for (int x = 319; x >= shift; --x)
            canvas.at(x, y) = canvas.at(x - shift, y) * 1.3f + colour{0.02f, 0.03f, 0.06f};
    }
    return canvas;
}

// One toadstool with its foot at (cx, base) and a cap `size` pixels about
// its middle, on a canvas of the title's size.
void toadstool_on(image& canvas, art::scatter& rng, float cx, float base, float size) {
    const float cap_y = base - size * 1.25f;
    mask stem(320, 200), cap(320, 200), under(320, 200), spots(320, 200);
    for (int k = 0; k <= 8; ++k) {
        const float u = static_cast<float>(k) / 8;
        art::disc(stem, cx, cap_y + (base - cap_y) * u, size * (0.16f + 0.07f * u));
    }
    for (int k = 0; k <= 16; ++k) {
        const float a = pi * static_cast<float>(k) / 16;
        art::disc(cap, cx - std::cos(a) * size * 0.75f, cap_y - std::sin(a) * size * 0.42f,
                  size * 0.3f);
    }
    // The dome ends flat on row cap_y, where the dark gills hang under
    // it: a band under the cap, not a seam across it.
    for (int y = std::max(0, static_cast<int>(cap_y) + 1); y < 200; ++y)
        for (int x = 0; x < 320; ++x) cap.at(x, y) = 0;
    art::box(under, cx - size * 0.9f, cap_y, cx + size * 0.9f, cap_y + size * 0.12f);
    for (int k = 0; k < 5; ++k) {
        // One draw per statement: argument order is the compiler's choice.
        const float across = rng.uniform(-0.7f, 0.7f);
        const float up = rng.uniform(0.15f, 0.65f);
        art::disc(spots, cx + across * size * (1 - up * 0.5f), cap_y - up * size * 0.7f,
                  size * 0.08f);
    }
    const float near = size / 24;
    art::stamp(canvas, stem, 0, 0, hex(0xb8aa90) * (0.55f + 0.4f * near));
    for (int y = 0; y < 200; ++y) // the moonlit side of the stem
        for (int x = static_cast<int>(cx - size * 0.2f); x < static_cast<int>(cx); ++x)
            if (canvas.inside(x, y)) canvas.add(x, y, hex(0x303040), stem.sample(x, y) * 0.8f);
    art::stamp(canvas, cap, 0, 0,
               mix(hex(0x902010), hex(0xe05020), rng.uniform(0.3f, 1)) * (0.6f + 0.4f * near));
    art::stamp(canvas, under, 0, 0, hex(0x401008) * (0.6f + 0.4f * near));
    art::stamp(canvas, spots, 0, 0, hex(0xf0e8d8) * (0.7f + 0.3f * near));
}

// Toadstools under the moon, faded in over the title from row 70 (and up to
// 3 rows lower, a new pick each frame) down to just above the name: a row
// of them standing on a dark bank at row 128, which runs down into the
// title's own hills. The field carries no lettering, which its shaking would
// smear over the title's; it ends above the name's glow, and it is drawn in
// the title's places with the title's fog, hills, vignette, mean scanline
// darkening and grain, so that neither its top nor its bottom shows an edge.
constexpr int field_top = 70, field_rows = 72, field_bank = 128;

image mushroom_field() {
    image canvas(320, 200);
    canvas.paint([](float x, float y) { return under_hills(title_sky(x, y), x, y); });
    // Toadstools in clumps along the bank, the small ones further back and
    // drawn first; domed caps with a shadowed rim and pale spots, stems that
    // taper and catch the moon on their left.
    art::scatter rng(77);
    struct toadstool {
        float x, base, size;
    };
    std::vector<toadstool> row;
    for (const float clump : {30.0f, 105.0f, 180.0f, 230.0f, 305.0f})
        for (int k = 0; k < 3; ++k) {
            const float size = rng.uniform(7, 22), x = clump + rng.uniform(-20, 20);
            row.push_back({x, field_bank - 4 + size * 0.4f, size});
        }
    std::sort(row.begin(), row.end(),
              [](const toadstool& a, const toadstool& b) { return a.size < b.size; });
    for (const toadstool& t : row) toadstool_on(canvas, rng, t.x, t.base, t.size);
    // The bank: dark grass, fading into the hills' black before the field
    // ends.
    canvas.paint([&](float x, float y) {
        const colour c = canvas.at(static_cast<int>(x), static_cast<int>(y));
        const float grass = art::fbm(x / 6, y / 30, 9, 3);
        const float edge = art::smoothstep(field_bank - 2, field_bank + 3, y + 3 * grass);
        const float deep = art::smoothstep(field_bank + 2, field_top + field_rows - 2, y);
        const colour ground =
            mix(mix(hex(0x081008), hex(0x142414), grass), under_hills(title_sky(x, y), x, y), deep);
        return mix(c, ground, edge) * 0.91f; // the title's scanlines, on average
    });
    vignette(canvas, title_vignette);
    image field(320, field_rows);
    for (int y = 0; y < field_rows; ++y)
        for (int x = 0; x < 320; ++x) field.at(x, y) = canvas.at(x, y + field_top);
    // The title's grain too, or the field would show as a smooth pane.
    grain(field, 104, 0.08f);
    return field;
}

const colour lime = hex(0x9be24a), moss = hex(0x2f5a2a), cream = hex(0xf0ecd0);

// The credit plaques come up from below onto a shelf of one flat colour along
// the bottom left, rows 131 down, columns 0 to 261 (up to the bar): "music" is drawn 23 rows
// higher than the others, so its picture carries 23 rows of the shelf above
// a plaque of the same height as theirs, and they vanish on the shelf
// wherever the plaque is on its way.
constexpr int shelf_top = 131, shelf_right = 262, plaque_height = 40, music_lift = 154 - 131;
const colour shelf = hex(0x000000); // black: the one colour both palettes keep exactly

image credits_backdrop(const art::lettering& letters) {
    image canvas(320, 200);
    canvas.paint([&](float x, float y) {
        const float grid = (std::fmod(x, 16) < 1 || std::fmod(y, 16) < 1) ? 0.06f : 0;
        const float glow = std::exp(-((x - 120) * (x - 120) + (y - 100) * (y - 100)) / 9000);
        // Dark where the scene turns, so its green shading stands out.
        return hex(0x03100a) + hex(0x0a1a1c) * glow + colour{grid * 0.4f, grid, grid * 0.5f};
    });
    caption_style title{16, 30, lime, moss, 3, 2};
    int y = 10;
    for (const char c : std::string("credits")) {
        const std::string letter(1, c);
        caption(canvas, letters, letter, 288 - caption_width(letters, letter, 16, 30) / 2, y,
                title);
        y += 26;
    }
    // The bar between the scene and the lettering, and one across under the
    // scene, on top of the shelf.
    mask bar(320, 200);
    art::box(bar, 262, 6, 264, 194);
    art::box(bar, 6, shelf_top - 3, 264, shelf_top - 1);
    art::stamp(canvas, bar, 0, 0, lime * 0.6f);
    scanlines(canvas, 0.12f);
    // After the scanlines, which would stripe the shelf that the music
    // plaque's own strip of it slides over.
    for (int x = 0; x < shelf_right; ++x)
        for (int y = shelf_top; y < 200; ++y) canvas.at(x, y) = shelf;
    return canvas;
}

// The credit plaques: the role large, a line under it small.
struct credit {
    const char* file;
    int lift; // rows of the shelf above the plaque
    const char* role;
    const char* line;
};
constexpr credit credit_list[] = {{"cred-code.bmp", 0, "code", "c++20, pixel by pixel"},
                                  {"cred-music.bmp", music_lift, "music", "synthesised in code"},
                                  {"cred-3d.bmp", 0, "3d", "built in code"}};
constexpr int role_cell_width = 14, role_cell_height = 20, line_cell_width = 6,
              line_cell_height = 11, plaque_margin = 11;

// One width for every plaque: the widest role or line with a margin either
// side, so that no plaque shows an empty half.
int plaque_width(const art::lettering& letters) {
    int widest = 0;
    for (const credit& c : credit_list)
        widest =
            std::max({widest, caption_width(letters, c.role, role_cell_width, role_cell_height),
                      caption_width(letters, c.line, line_cell_width, line_cell_height)});
    return widest + 2 * plaque_margin;
}

// A plaque below `lift` rows of the shelf. The role sits two rows under the
// rim and the line directly under the role, so that the descenders of the
// line ("p", "y") keep 4 rows clear of the bottom rim.
image credit_plaque(const art::lettering& letters, const credit& c) {
    const float h = plaque_height;
    const int w = plaque_width(letters);
    const float right = static_cast<float>(w - 2);
    image canvas(w, c.lift + plaque_height);
    canvas.paint([&](float x, float y) {
        y -= static_cast<float>(c.lift);
        if (y < 0) return shelf;
        const float edge = (x < 2 || y < 2 || x > right || y > h - 2) ? 1 : 0;
        return mix(hex(0x0c2a14), hex(0x05140a), y / h) + lime * (0.5f * edge);
    });
    caption(canvas, letters, c.role, plaque_margin - 1, c.lift + 2,
            {role_cell_width, role_cell_height, cream, moss, 2, 2});
    caption(canvas, letters, c.line, plaque_margin, c.lift + 22,
            {line_cell_width, line_cell_height, lime});
    return canvas;
}

// The turning picture of the greetings: a kaleidoscope of three mirrored
// pairs of wedges, so it looks whole at any angle and its turn shows, around
// a pale eye. Turned at 2.6 times its size (mode 1) the screen shows only the
// eye, out to a radius of 73 pixels: there the wire dogs and the slate-blue
// names need a light page.
image wind_it_up() {
    image canvas(256, 256);
    const ramp colours{{{0, hex(0x12061e)},
                        {0.3f, hex(0x5a1a6a)},
                        {0.55f, hex(0x2e8a3c)},
                        {0.75f, hex(0xb8e060)},
                        {1, hex(0xfff4d0)}}};
    const ramp page{{{0, hex(0xc8b4e8)}, {0.45f, hex(0xfff8e0)}, {1, hex(0xb8e078)}}};
    canvas.paint([&](float x, float y) {
        const float dx = x - 128, dy = y - 128, r = std::hypot(dx, dy);
        float a = std::atan2(dy, dx) + r / 40;
        // Three mirrored pairs of arms: few enough that the turn reads.
        a = std::fabs(std::fmod(a + 8 * pi, pi * 2 / 3) - pi / 3);
        const float u = r * std::cos(a) / 30, v = r * std::sin(a) / 30;
        const float n = art::fbm(u, v, 5, 4);
        const float swirl = 0.5f + 0.5f * std::sin(r / 9 - n * 6);
        const colour outer = colours(0.6f * swirl + 0.4f * n) * (1.1f - r / 260);
        // The eye: the same kaleidoscope in pastels, never dark.
        const colour eye = page(0.6f * swirl + 0.4f * n);
        return mix(eye, outer, art::smoothstep(76, 96, r));
    });
    return canvas;
}

// The film gate, keyed and blended thinly over the greetings: the strip's
// two edges with their sprocket holes and the gate's dark rounded corners.
// It stands still while the picture turns under it, as a gate does; the
// middle (the "wind it up!" box, the bubble and its name) stays clear.
image film_gate() {
    image canvas(320, 200);
    canvas.cover_all(0);
    mask edges(320, 200), holes(320, 200);
    art::box(edges, 0, 0, 16, 200);
    art::box(edges, 304, 0, 320, 200);
    for (int k = 0; k < 10; ++k) {
        const float y = 6.0f + 20.0f * static_cast<float>(k);
        art::box(holes, 4, y, 12, y + 9, 1.5f);
        art::box(holes, 308, y, 316, y + 9, 1.5f);
    }
    // Corners rounded off with a radius of 28 pixels.
    for (int y = 0; y < 200; ++y)
        for (int x = 16; x < 304; ++x) {
            const float dx =
                std::max({0.0f, 44.0f - static_cast<float>(x), static_cast<float>(x) - 276.0f});
            const float dy =
                std::max({0.0f, 28.0f - static_cast<float>(y), static_cast<float>(y) - 172.0f});
            edges.at(x, y) = art::smoothstep(27, 29, std::hypot(dx, dy));
        }
    art::stamp(canvas, edges, 0, 0, hex(0x1a120c));
    art::stamp(canvas, holes, 0, 0, hex(0xf0e6c8));
    return canvas;
}

image greetings_sign(const art::lettering& letters) {
    image canvas(200, 64);
    canvas.cover_all(0);
    mask plate(200, 64);
    art::box(plate, 6, 6, 194, 58, 1.5f);
    art::stamp(canvas, plate, 0, 0, hex(0x1a3a1c));
    mask rim(200, 64);
    art::box(rim, 6, 6, 194, 58);
    mask inner(200, 64);
    art::box(inner, 9, 9, 191, 55);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 200; ++x) rim.at(x, y) = std::max(0.0f, rim.at(x, y) - inner.at(x, y));
    art::stamp(canvas, rim, 0, 0, lime);
    const std::string text = "wind it up!";
    caption(canvas, letters, text, (200 - caption_width(letters, text, 14, 26)) / 2, 14,
            {14, 26, cream, lime * 0.7f, 2, 1.6f});
    return canvas;
}

// The speech bubble: its tail starts at the top-left corner (the mesh point
// it hangs on); the part writes the name at (24, 77) in slate blue and blends
// the bubble at 90/256, which moves the screen only about a third of the way
// to it: so the bubble is pure white with a heavy black rim, and its lettering
// pure black and bold, the most that a third of a blend can show. The longest
// greeting, "wombats", is 107 pixels wide in the part's lettering: the bubble
// ends 15 pixels past it.
image bubble(const art::lettering& letters) {
    constexpr int w = 150;
    image canvas(w, 104);
    canvas.cover_all(0);
    mask shape(w, 104);
    art::box(shape, 12, 58, w - 4, 100, 1.0f);
    for (int k = 0; k < 4; ++k)
        art::disc(shape, k % 2 ? w - 8.0f : 16.0f, k < 2 ? 62.0f : 96.0f, 6);
    for (int i = 0; i <= 20; ++i) {
        const float t = static_cast<float>(i) / 20;
        art::disc(shape, 2 + 26 * t, 2 + 58 * t * t, 1 + 5 * t);
    }
    mask outline = art::glow(shape, 2, 8);
    art::stamp(canvas, outline, 0, 0, hex(0x000000));
    art::stamp(canvas, shape, 0, 0, hex(0xffffff));
    // Bold: set twice, one pixel apart, which thickens the upright strokes
    // and keeps the counters open.
    for (const int x : {22, 23})
        caption(canvas, letters, "greetings to", x, 61, {7, 12, hex(0x000000)});
    return canvas;
}

// The swimmers' water, lit from the lamp in the top-left corner: teal near
// it, deep blue far from it, `glow` (0 .. 1) lightening it by up to one
// level of red, two of green and one of blue where the spun light falls.
// Its channels are whole 5-6-5 levels (level / top), so that it does not
// dither: oneco0 spins the light picture at five times its size, where every
// pixel of it becomes a 5 x 5 block, and each channel rounds on its own, so
// that neighbouring bands differ by one level of one channel, in broad soft
// rings about the corner. `from_lamp` is the distance in backdrop pixels;
// `lift` adds to the light (1 the whole range from far to near);
// the light stays even from 170 to 230 pixels out, across the 200-pixel rim
// of the spun picture, so that the rim meets the backdrop without a seam.
colour water(float from_lamp, float glow, float lift = 0) {
    const float d = from_lamp < 170 ? from_lamp : from_lamp < 230 ? 170 : from_lamp - 60;
    const float light = 1 - art::smoothstep(0, 330, d) + lift;
    const auto level = [glow, light](float dark, float bright, float most, float top) {
        return std::round(dark + (bright - dark) * light + most * glow) / top;
    };
    return {level(3, 9, 1, 31), level(13, 31, 2, 63), level(14, 20, 1, 31)};
}

// Out-of-focus cells deep in the water, right of the spun light's reach:
// soft swells of light of about a level of green, so gentle that no channel
// steps by more than a level between neighbouring pixels, giving depth
// without drawing the eye.
struct blur_cell {
    float x, y, radius;
};
constexpr blur_cell deep_cells[] = {
    {278, 36, 26}, {300, 150, 34}, {214, 178, 15}, {246, 104, 11}, {312, 84, 9}};

// Calm water under a microscope, lit from the corner, with a few cells out
// of focus: the white striped egg and the black swimmers stand out.
image microscope() {
    image canvas(320, 200);
    canvas.paint([&](float x, float y) {
        float lift = 0;
        for (const blur_cell& cell : deep_cells) {
            const float r = std::hypot(x - cell.x, y - cell.y);
            lift += 0.07f * (1 - art::smoothstep(0.5f * cell.radius, cell.radius, r));
        }
        return water(std::hypot(x, y), 0, lift);
    });
    return canvas;
}

// Light turning about the lamp's corner: a disc of the water (keyed outside
// it) lit in two broad soft lobes that fade out towards its middle and its
// rim. At five times the size a pixel at distance r from the middle covers
// the water 5 r from the corner; the edges of its steps of light step by 5
// pixels, but by one level of a channel only.
image mirror_rays() {
    image canvas(80, 80);
    canvas.paint([&](float x, float y) {
        const float a = std::atan2(y - 40, x - 40), r = std::hypot(x - 40, y - 40);
        const float fade = art::smoothstep(4, 16, r) * (1 - art::smoothstep(22, 36, r));
        return water(5 * r, fade * (0.5f + 0.5f * std::cos(2 * a + r / 20)));
    });
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const float r =
                std::hypot(static_cast<float>(x) - 39.5f, static_cast<float>(y) - 39.5f);
            canvas.cover(x, y) = r < 40 ? 1.0f : 0.0f;
        }
    return canvas;
}

} // namespace

std::vector<named_bytes> dtroid_pictures(const art::lettering& letters) {
    return {
        {"top0.bmp", as_bmp24(title_picture(letters, 0))},
        {"top1.bmp", as_bmp24(title_picture(letters, 1))},
        {"top2.bmp", as_bmp8(title_picture(letters, 2))},
        {"top3.bmp", as_bmp8(title_picture(letters, 3))},
        {"mushk.bmp", as_bmp24(mushroom_field())},
        {"credits.bmp", as_bmp8(credits_backdrop(letters))},
        {credit_list[0].file, as_rle8(credit_plaque(letters, credit_list[0]), false, 64)},
        {credit_list[1].file, as_rle8(credit_plaque(letters, credit_list[1]), false, 64)},
        {credit_list[2].file, as_rle8(credit_plaque(letters, credit_list[2]), false, 64)},
        {"winditup.bmp", as_bmp24(wind_it_up())},
        {"carky.bmp", as_rle8(film_gate(), true, 16)},
        {"hlask9.bmp", as_rle8(greetings_sign(letters), true, 32)},
        {"ukaz.bmp", as_rle8(bubble(letters), true, 16)},
        {"housena.bmp", as_bmp24(microscope())},
        {"mirror3.bmp", as_rle8(mirror_rays(), true, 64)},
    };
}

} // namespace vilora::kit::data
