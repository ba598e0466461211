// "robot1.782": the middle section (oneco1 to oneco4) and the maps that
// pinkous shares. Noon yellows, toxic green, ochre and a violet for the magic.
#include "kit/art/quantise.h"
#include "kit/bmp_writer.h"
#include "kit/data/picture_kit.h"

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

const colour violet = hex(0x3a1060), gold = hex(0xf0c040);

// A five-pointed sigil in gold on violet.
image sigil() {
    image canvas(64, 64);
    canvas.paint([&](float x, float y) {
        const float r = std::hypot(x - 32, y - 32) / 32;
        return mix(hex(0x6a2aa0), violet * 0.5f, r);
    });
    mask m(64, 64);
    art::ring(m, 32, 32, 27, 2.5f);
    for (int k = 0; k < 5; ++k) {
        const float a0 = -pi / 2 + 2 * pi * static_cast<float>(k) / 5;
        const float a1 = a0 + 4 * pi / 5;
        art::line(m, 32 + 26 * std::cos(a0), 32 + 26 * std::sin(a0), 32 + 26 * std::cos(a1),
                  32 + 26 * std::sin(a1), 2);
    }
    art::stamp(canvas, art::glow(m, 2, 1.5f), 0, 0, gold * 0.6f);
    art::stamp(canvas, m, 0, 0, gold);
    return canvas;
}

image nebula() {
    image canvas(400, 300);
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
    stars(canvas, 19, 300, hex(0xfff8f0));
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
    caption(canvas, letters, "majic", 232, 8, {9, 16, gold, hex(0x402008), 1, 3});
    return canvas;
}

// A displacement map: red is the index (the offset the parts add), smooth;
// green and blue make it a picture of its own, since pinkous shows one.
std::vector<uint8_t> displacement_map(int width, int height, uint32_t seed, colour low,
                                      colour high) {
    bmp_palette palette{};
    for (int i = 0; i < 256; ++i) {
        const float t = static_cast<float>(i) / 255;
        const colour c = mix(low, high, t);
        palette[i] = {static_cast<uint8_t>(i),
                      static_cast<uint8_t>(std::lround(art::clamp01(c.g) * 255)),
                      static_cast<uint8_t>(std::lround(art::clamp01(c.b) * 255))};
    }
    const auto w = static_cast<float>(width), h = static_cast<float>(height);
    return write_bmp8(
        art::from_field(width, height, palette,
                        [&](int x, int y) {
                            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
                            const float wave = 0.5f + 0.25f * std::sin(fx / w * 4 * pi + fy / 40) +
                                               0.25f * std::sin(fy / h * 3 * pi + fx / 70);
                            const float n = art::fbm(fx / 120, fy / 120, seed, 3);
                            return static_cast<uint8_t>(
                                std::clamp(255 * (0.7f * wave + 0.3f * n), 0.0f, 255.0f));
                        }),
        false);
}

// What oneco3 bends: bold tiles and rings, whose straight edges show the bending.
image toxic_source(const art::lettering& letters) {
    image canvas(320, 150);
    canvas.paint([&](float x, float y) {
        const bool tile = (static_cast<int>(x) / 20 + static_cast<int>(y) / 20) % 2;
        const float r = std::hypot(x - 160, y - 75);
        const float ring = 0.5f + 0.5f * std::sin(r / 6);
        return mix(tile ? hex(0x0a3a14) : hex(0x143a0a), hex(0xb8f040), ring * ring * 0.7f);
    });
    caption(canvas, letters, "quit the scene", 40, 55,
            {18, 36, hex(0xf0ffe0), hex(0x206010), 3, 2});
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

// Ochre dunes under a low sun behind the screws, crisp ridges in bands.
image dunes() {
    image canvas(320, 200);
    const ramp sky{{{0, hex(0x1a1004)}, {0.6f, hex(0x6a4a14)}, {1, hex(0xc89838)}}};
    canvas.paint([&](float, float y) { return sky(y / 90); });
    light(canvas, 236, 62, 20, hex(0xfff0b0));
    light(canvas, 236, 62, 60, hex(0x503010));
    const colour shade[4] = {hex(0x5a4010), hex(0x7a5a18), hex(0x9a7424), hex(0xb8903a)};
    for (int band = 0; band < 4; ++band) {
        const float top = 82 + 28 * static_cast<float>(band);
        for (int x = 0; x < 320; ++x) {
            const float fx = static_cast<float>(x);
            const float ridge =
                top +
                10 * std::sin(fx / (38 - 6 * static_cast<float>(band)) + static_cast<float>(band)) +
                6 * art::fbm(fx / 50, static_cast<float>(band), 63, 3);
            for (int y = std::max(0, static_cast<int>(ridge)); y < 200; ++y) {
                const float fy = static_cast<float>(y);
                const float lit = 1 - 0.5f * art::smoothstep(0, 24, fy - ridge);
                const float ripple = 0.06f * std::sin(fx / 3 + fy * 1.7f);
                canvas.at(x, y) = shade[band] * (lit + ripple);
            }
        }
    }
    scanlines(canvas, 0.12f);
    return canvas;
}

// Sprites of oneco4 (even numbers): a flame whose foot is at (50, 90), the
// point where the part anchors it.
image flame(int k) {
    image canvas(100, 100, hex(0x100c02));
    const colour hot = mix(hex(0xffe080), hex(0x80f0ff), static_cast<float>(k) / 5);
    const colour warm = mix(hex(0xe05010), hex(0x2060e0), static_cast<float>(k) / 5);
    canvas.paint([&](float x, float y) {
        const float dx = (x - 50) / (8 + (90 - y) * 0.18f), dy = (90 - y) / 80;
        const float wobble = art::fbm(x / 12, y / 10 + static_cast<float>(k) * 5, 70, 3);
        const float f = std::max(0.0f, 1 - dx * dx - dy * dy * 1.2f + (wobble - 0.5f) * 0.5f);
        return hex(0x100c02) + mix(warm, hot, f) * (f * 1.4f);
    });
    return canvas;
}

// Pictures of oneco4 (odd numbers): small monitors, each with its own picture.
image monitor(const art::lettering& letters, int k) {
    image canvas(120, 90, hex(0x2a2418));
    for (int y = 6; y < 84; ++y)
        for (int x = 6; x < 114; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            colour c;
            switch (k) {
            case 0:
                c = hex(0x103020) +
                    hex(0x40ff80) * (std::sin(fx / 4 + std::sin(fy / 7) * 3) > 0.8f ? 0.7f : 0.1f);
                break;
            case 1:
                c = mix(hex(0x200808), hex(0xf08020), art::fbm(fx / 15, fy / 15, 90, 4));
                break;
            case 2:
                c = std::hypot(fx - 60, fy - 45) < 28 ? hex(0xe0e0f0) : hex(0x101840);
                break;
            case 3:
                c = ((x / 13) % 2 ? hex(0xd0c040) : hex(0x4040c0)) * (0.6f + 0.4f * fy / 90);
                break;
            case 4:
                c = mix(hex(0x000000), hex(0x60ffa0), art::lattice(x / 2, y / 2, 93));
                break;
            default:
                c = mix(hex(0x401060), hex(0xf0a040),
                        0.5f + 0.5f * std::sin(std::hypot(fx - 60, fy - 45) / 3));
                break;
            }
            canvas.at(x, y) = c;
        }
    caption(canvas, letters, "ch " + std::to_string(k + 1), 10, 72, {6, 11, hex(0xe0e0c0)});
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
        {"0.bmp", displacement_map(420, 201, 41, hex(0x000000), hex(0xc08000))},
        {"1.bmp", displacement_map(420, 201, 42, hex(0x200040), hex(0x80a0ff))},
        {"2.bmp", as_bmp24(toxic_source(letters))},
        {"zelenac.bmp", as_rle8(circuit(), false, 32)},
        {"litac.bmp", as_bmp8(flyer())},
        {"jug.bmp", as_bmp24(dunes())},
    };
    for (int i = 0; i < 12; ++i) {
        const std::string name = "x" + std::to_string(i) + ".bmp";
        out.push_back(
            {name, i % 2 ? as_rle8(monitor(letters, i / 2), false, 64) : as_bmp8(flame(i / 2))});
    }
    return out;
}

} // namespace vilora::kit::data
