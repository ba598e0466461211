// "robot1.782": the middle section (oneco1 to oneco4) and the maps that
// pinkous shares. Noon yellows, toxic green, ochre and a violet for the magic.
#include "kit/art/picture_kit.h"
#include "kit/art/quantise.h"
#include "kit/content/data_set.h"
#include "kit/content/pictures/bent_pictures.h"
#include "kit/formats/bmp_writer.h"

#include <algorithm>
#include <cmath>

namespace vilora::kit::data {
namespace {

// A sun whose rays turn by a quarter of their spacing from one picture to
// the next: shown in turn, the four spin.
image noon(int phase) {
    image canvas(320, 200);
    const ramp sky{
        {{0, hex(0x2a1206)}, {0.5f, hex(0x8a3a10)}, {0.8f, hex(0xe09030)}, {1, hex(0xf8e0a0)}}};
    canvas.paint([&](float x, float y) {
        const float dx = x - 160, dy = y - 120, r = std::hypot(dx, dy);
        const float a = std::atan2(dy, dx) + static_cast<float>(phase) * pi / 24;
        const float ray = std::sin(a * 12) > 0 ? 0.12f : 0;
        const float haze = art::fbm(x / 60, y / 30, 12, 4);
        return sky(std::max(0.0f, 1 - r / 230) * 0.9f + ray + haze * 0.1f) * 0.8f;
    });
    light(canvas, 160, 120, 22, hex(0xfff0c0));
    for (int x = 0; x < 320; ++x)
        for (int y = 150; y < 200; ++y) {
            const float ridge = 158 + 10 * art::fbm(static_cast<float>(x) / 40, 3, 44, 3);
            if (static_cast<float>(y) > ridge)
                canvas.at(x, y) =
                    mix(hex(0x1a0c06), hex(0x2a1408),
                        art::fbm(static_cast<float>(x) / 8, static_cast<float>(y) / 8, 2, 2));
        }
    scanlines(canvas, 0.15f);
    return canvas;
}

const colour violet = hex(0x3a1060), gold = hex(0xffd050);

// oneco2 spins this about (120, 100) at 2 to 5 times its size and never
// clears the screen: 224 pixels across, it still covers the farthest corner
// at twice its size, so nothing of an older frame is left standing. A
// mandala that reads at every zoom: a pentagram in the middle, rings of
// runes and stars further out.
image sigil() {
    constexpr int size = 224;
    constexpr float c = size / 2.0f;
    image canvas(size, size);
    canvas.paint([&](float x, float y) {
        const float r = std::hypot(x - c, y - c) / c;
        const float a = std::atan2(y - c, x - c);
        const float petals = 0.5f + 0.5f * std::cos(a * 10 + r * 6);
        return mix(hex(0x5a2090), violet * 0.25f, r) * (0.7f + 0.5f * petals * r);
    });
    mask m(size, size), fine(size, size);
    // The pentagram's points 15 from the middle, its ring 16: at five times
    // its size, glow included, the star stays inside the picture's 200 rows.
    art::ring(m, c, c, 16, 2.5f);
    for (int k = 0; k < 5; ++k) {
        const float a0 = -pi / 2 + 2 * pi * static_cast<float>(k) / 5;
        const float a1 = a0 + 4 * pi / 5;
        art::line(m, c + 15 * std::cos(a0), c + 15 * std::sin(a0), c + 15 * std::cos(a1),
                  c + 15 * std::sin(a1), 2.5f);
    }
    art::ring(m, c, c, 50, 2.5f);
    art::ring(m, c, c, 80, 3);
    for (int k = 0; k < 12; ++k) {
        const float a = 2 * pi * static_cast<float>(k) / 12;
        art::ring(fine, c + 65 * std::cos(a), c + 65 * std::sin(a), 6, 2);
        art::disc(fine, c + 40 * std::cos(a + pi / 12), c + 40 * std::sin(a + pi / 12), 2.5f);
        art::line(fine, c + 90 * std::cos(a), c + 90 * std::sin(a), c + 150 * std::cos(a),
                  c + 150 * std::sin(a), 3);
    }
    art::stamp(canvas, art::glow(m, 3, 1.5f), 0, 0, gold * 0.5f);
    art::stamp(canvas, fine, 0, 0, hex(0xf0a0e0));
    art::stamp(canvas, m, 0, 0, gold);
    return canvas;
}

// Blended at about half over everything while it circles: 520 x 400, so that
// wherever on its circle it is, it covers the whole screen and shows no edge.
image nebula() {
    image canvas(520, 400);
    const ramp tones{{{0, hex(0x05020c)},
                      {0.45f, hex(0x2a0e4a)},
                      {0.7f, hex(0x8a3aa0)},
                      {0.9f, hex(0xf0a0c0)},
                      {1, hex(0xfff0e0)}}};
    canvas.paint([&](float x, float y) {
        const float n = art::fbm(x / 90, y / 90, 17, 6, 0.55f);
        const float r = art::ridged(x / 120 + 7, y / 120, 18, 4);
        return tones(n * 0.7f + r * r * 0.4f);
    });
    stars(canvas, 19, 500, hex(0xfff8f0));
    return canvas;
}

// Gold corner ornaments and a rim, keyed: laid over the spinning sigil.
image ornaments(const art::lettering& letters) {
    image canvas(320, 200);
    canvas.cover_all(0);
    mask m(320, 200);
    art::box(m, 0, 0, 320, 4);
    art::box(m, 0, 196, 320, 200);
    for (int k = 0; k < 4; ++k) {
        const float cx = k % 2 ? 300.0f : 20.0f, cy = k < 2 ? 20.0f : 180.0f;
        art::ring(m, cx, cy, 14, 2);
        art::ring(m, cx, cy, 7, 1.5f);
    }
    art::stamp(canvas, art::glow(m, 1, 2), 0, 0, hex(0x603010));
    art::stamp(canvas, m, 0, 0, gold);
    // A dark plate hanging from the rim under the name, so that the sigil's
    // gold lines, spinning underneath, never run behind its gold letters. It
    // fits the word with 7 pixels either side and ends 6 pixels short of the
    // top-right ring (whose outer edge is at column 284).
    const std::string name = "magic";
    constexpr int pad = 7, plate_right = 278;
    const int plate_left = plate_right - caption_width(letters, name, 9, 16) - 2 * pad;
    mask plate(320, 200), edge(320, 200);
    art::box(plate, static_cast<float>(plate_left), 2, plate_right, 29);
    art::box(edge, static_cast<float>(plate_left - 1), 2, plate_right + 1, 30);
    art::stamp(canvas, edge, 0, 0, gold);
    art::stamp(canvas, plate, 0, 0, hex(0x1c0a30));
    caption(canvas, letters, name, plate_left + pad, 8, {9, 16, gold, hex(0x402008), 1, 3});
    return canvas;
}

// A circuit board: the green backdrop of oneco3.
image circuit() {
    image canvas(320, 200, hex(0x062010));
    art::scatter rng(51);
    mask traces(320, 200), pads(320, 200);
    for (int i = 0; i < 70; ++i) {
        float x = static_cast<float>(rng.below(32) * 10),
              y = static_cast<float>(rng.below(20) * 10);
        for (int s = 0; s < 4; ++s) {
            const bool across = rng.below(2);
            const float len = static_cast<float>(10 * (1 + rng.below(5)));
            const float nx = across ? x + len : x, ny = across ? y : y + len;
            art::line(traces, x, y, nx, ny, 1.5f);
            x = nx;
            y = ny;
        }
        art::disc(pads, x, y, 2.5f);
    }
    art::stamp(canvas, traces, 0, 0, hex(0x2a8a30));
    art::stamp(canvas, pads, 0, 0, hex(0xc8d860));
    mask plate(320, 200);
    art::box(plate, 0, 160, 320, 200);
    art::stamp(canvas, plate, 0, 0, hex(0x031008));
    vignette(canvas, 0.3f);
    return canvas;
}

// The climbing flyer: a small green bug, on the circuit's ground colour.
image flyer() {
    image canvas(30, 36, hex(0x062010));
    mask body(30, 36), wings(30, 36), eyes(30, 36);
    art::disc(body, 15, 20, 6);
    art::disc(body, 15, 11, 4);
    art::disc(wings, 7, 17, 5);
    art::disc(wings, 23, 17, 5);
    art::disc(eyes, 13, 10, 1.2f);
    art::disc(eyes, 17, 10, 1.2f);
    art::stamp(canvas, wings, 0, 0, hex(0x80d0a0) * 0.7f);
    art::stamp(canvas, body, 0, 0, hex(0x9be24a));
    art::stamp(canvas, eyes, 0, 0, hex(0xf04020));
    return canvas;
}

// oneco4 blends its screw sprites whole, rectangle and all, at a level taken
// from depth: where the workshop wall behind them is this one flat colour and
// the sprites stand on the same colour, the rectangles leave no trace.
const colour wall = art::on_screen_levels(hex(0x14203c));
const colour brass = hex(0xe0b050), steel = hex(0xb8c8dc);

// The workshop wall: flat in the middle where the screws fly, a ruler down
// the left beside the part's dotted stripe, a name plate below the monitor.
image workshop(const art::lettering& letters) {
    image canvas(320, 200, wall);
    // Pegboard holes, sparse enough that a sprite passing over dims a few
    // dots rather than showing its rectangle.
    mask holes(320, 200);
    for (int y = 12; y < 180; y += 20)
        for (int x = 46; x < 320; x += 20)
            art::disc(holes, static_cast<float>(x), static_cast<float>(y), 1.6f);
    art::stamp(canvas, holes, 0, 0, hex(0x060a14));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 26; ++x) {
            const bool tick = y % 10 == 0 ? x > 14 : y % 5 == 0 && x > 19;
            canvas.at(x, y) = tick ? brass * 0.8f : mix(hex(0x0a1020), wall, x / 26.0f);
        }
    // The name on a wooden plate below the monitor, left of x = 95 where no
    // sprite rectangle reaches (they span 50 pixels either side of the screws
    // in the columns 154, 221 and 288, give or take nine).
    for (int y = 150; y < 176; ++y)
        for (int x = 34; x < 100; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            const float grain = art::fbm(fx / 40, fy / 3, 64, 3);
            const bool rim = y == 150 || y == 175 || x == 34 || x == 99;
            canvas.at(x, y) = mix(hex(0x3a2410), hex(0x6a4420), grain) * (rim ? 1.5f : 1.0f);
        }
    const std::string name = "screws";
    caption(canvas, letters, name, 34 + (66 - caption_width(letters, name, 9, 14)) / 2, 155,
            {9, 14, brass, hex(0x1a1008), 1, 2});
    return canvas;
}

// A screw standing on its tip at (50, 90), the point oneco4 anchors a sprite
// at. The six sprites are one turn of the screw in sixths of its hexagon, so
// the part's random pick makes it spin and glint.
image screw(int phase) {
    image canvas(100, 100, wall);
    const float turn = static_cast<float>(phase) / 6;
    canvas.paint([&](float x, float y) {
        const float dx = x - 50;
        // Glow behind the screw, gone to nothing well inside the rectangle.
        const float r = std::hypot(dx * 1.3f, y - 56) / 42;
        colour c = wall + hex(0x30406a) * (std::max(0.0f, 1 - r) * std::max(0.0f, 1 - r));
        float cover = 0;
        colour metal;
        if (y >= 42 && y < 90) { // shank and thread, tapering to the tip below 74
            const float half = y < 74 ? 8 : 8 * (90 - y) / 16;
            const float u = dx / std::max(half, 0.5f);
            cover = art::clamp01(half - std::fabs(dx) + 0.5f);
            const float pitch = 6;
            const float t = std::fmod(y + 2.5f * u + 6 * turn + 600, pitch) / pitch;
            const float crest = 0.55f + 0.45f * std::sin(2 * pi * t);
            const float round = std::sqrt(std::max(0.0f, 1 - u * u));
            const float shine = std::exp(-(u + 0.35f) * (u + 0.35f) * 12);
            metal =
                steel * (0.25f + 0.55f * round * crest) + hex(0xffffff) * (0.5f * shine * crest);
        } else if (y >= 24 && y < 42) { // hex head: the faces that look this way
            const float a = 2 * pi * turn / 6;
            float lit = 0, edge = 1;
            for (int n = 0; n < 6; ++n) {
                const float f0 = a + pi * static_cast<float>(n) / 3, f1 = f0 + pi / 3;
                const float x0 = 18 * std::sin(f0), x1 = 18 * std::sin(f1);
                if (x1 <= x0 || dx < x0 || dx >= x1) continue;
                lit = 0.15f + 0.85f * std::max(0.0f, std::cos((f0 + f1) / 2 + 0.5f));
                edge = art::smoothstep(0, 1.5f, std::min(dx - x0, x1 - dx));
            }
            cover = art::clamp01(18.5f - std::fabs(dx)) * art::clamp01(y - 23.5f);
            const float chamfer = y < 27 ? 1.3f : y >= 39 ? 0.55f : 1.0f;
            metal = mix(brass * 0.25f, brass, lit) * (chamfer * (0.45f + 0.55f * edge)) +
                    hex(0xfff0c0) * (lit > 0.9f ? 0.35f : 0.0f);
        }
        return mix(c, metal, art::clamp01(cover));
    });
    return canvas;
}

// Pictures of oneco4 (odd numbers): a small monitor in the top-left corner
// flicking between channels, kept clear of where the screws fly.
image monitor(const art::lettering& letters, int k) {
    constexpr int w = 88, h = 72;
    image canvas(w, h, hex(0x2a3040));
    for (int y = 5; y < h - 5; ++y)
        for (int x = 5; x < w - 5; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            const float r = std::hypot(fx - w / 2.0f, fy - h / 2.0f);
            colour c;
            switch (k) {
            case 0: // the thread, close up
                c = mix(hex(0x182030), steel, 0.5f + 0.5f * std::sin((fx + 2 * fy) / 3));
                break;
            case 1:
                c = mix(hex(0x200808), hex(0xf08020), art::fbm(fx / 15, fy / 15, 90, 4));
                break;
            case 2: { // a head from above, cross slot
                const bool slot = (std::fabs(fx - w / 2.0f) < 3 || std::fabs(fy - h / 2.0f) < 3);
                c = r < 24 ? (slot && r < 18 ? hex(0x302010) : brass * (1 - r / 60))
                           : hex(0x101840);
                break;
            }
            case 3:
                c = ((x / 11) % 2 ? hex(0xd0c040) : hex(0x4040c0)) * (0.6f + 0.4f * fy / h);
                break;
            case 4:
                c = mix(hex(0x000000), hex(0x60ffa0), art::lattice(x / 2, y / 2, 93));
                break;
            default:
                c = mix(hex(0x401060), hex(0xf0a040), 0.5f + 0.5f * std::sin(r / 3));
                break;
            }
            canvas.at(x, y) = c;
        }
    // The channel's label on a plain strip of its own, whatever the channel shows.
    for (int y = h - 19; y < h - 5; ++y)
        for (int x = 5; x < w - 5; ++x)
            canvas.at(x, y) = y == h - 19 ? hex(0x3a4458) : hex(0x141820);
    caption(canvas, letters, "ch " + std::to_string(k + 1), 9, h - 18, {6, 11, hex(0xe0e0c0)});
    scanlines(canvas, 0.25f);
    return canvas;
}

} // namespace

std::vector<named_bytes> robot1_pictures(const art::lettering& letters) {
    std::vector<named_bytes> out = {
        {"noon0.bmp", as_bmp24(noon(0))},
        {"noon1.bmp", as_bmp8(noon(1))},
        {"noon2.bmp", as_rle8(noon(2), false, 128)},
        {"noon3.bmp", as_bmp24(noon(3))},
        {"majic.bmp", as_bmp8(sigil())},
        {"majicbig.bmp", as_bmp24(nebula())},
        {"mex.bmp", as_rle8(ornaments(letters), true, 32)},
        {"0.bmp", plain_field_map()},
        {"1.bmp", pig_xray_map()},
        {"2.bmp", as_bmp24(exit_sign_picture())},
        {"zelenac.bmp", as_rle8(circuit(), false, 32)},
        {"litac.bmp", as_bmp8(flyer())},
        {"jug.bmp", as_bmp24(workshop(letters))},
    };
    for (int i = 0; i < 12; ++i) {
        const std::string name = "x" + std::to_string(i) + ".bmp";
        out.push_back(
            {name, i % 2 ? as_rle8(monitor(letters, i / 2), false, 64) : as_bmp24(screw(i / 2))});
    }
    return out;
}

} // namespace vilora::kit::data
