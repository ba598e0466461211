#include "kit/content/pictures/bent_pictures.h"

#include "kit/art/quantise.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace vilora::kit::data {
namespace {

// Signed distances in pixels, negative inside.
float segment(float x, float y, float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(x - x0 - t * dx, y - y0 - t * dy);
}
float stroke(float x, float y, float x0, float y0, float x1, float y1, float width) {
    return segment(x, y, x0, y0, x1, y1) - width / 2;
}
// Close enough to the true distance near the rim for outlines a few pixels wide.
float ellipse(float x, float y, float cx, float cy, float rx, float ry) {
    const float u = (x - cx) / rx, v = (y - cy) / ry;
    return (std::sqrt(u * u + v * v) - 1) * std::min(rx, ry);
}
float rounded_box(float x, float y, float x0, float y0, float x1, float y1, float radius) {
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const float qx = std::fabs(x - cx) - (x1 - x0) / 2 + radius;
    const float qy = std::fabs(y - cy) - (y1 - y0) / 2 + radius;
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) -
           radius;
}
float triangle(float x, float y, float ax, float ay, float bx, float by, float cx, float cy) {
    const float edges = std::min({segment(x, y, ax, ay, bx, by), segment(x, y, bx, by, cx, cy),
                                  segment(x, y, cx, cy, ax, ay)});
    const auto side = [&](float px, float py, float qx, float qy) {
        return (qx - px) * (y - py) - (qy - py) * (x - px);
    };
    const float s0 = side(ax, ay, bx, by), s1 = side(bx, by, cx, cy), s2 = side(cx, cy, ax, ay);
    const bool inside = (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
    return inside ? -edges : edges;
}
// Coverage of a shape at distance d, antialiased over a pixel.
float fill(float d) {
    return art::clamp01(0.5f - d);
}
// Coverage of a band `width` wide along the shape's rim, outside it.
float rim(float d, float width) {
    return fill(std::fabs(d - width / 2) - width / 2);
}

// The picture on the torus of the parts' reads, 320 x 150: the pixel shows
// where the mean shift (12, 12) takes it, in the coordinates of the screen.
image on_torus(const std::function<colour(float x, float y)>& screen) {
    image canvas(320, 150);
    canvas.paint([&](float x, float y) {
        return screen(std::fmod(x - 12 + 320, 320), std::fmod(y - 12 + 150, 150));
    });
    return canvas;
}

// The pig, standing in pinkous's band (rows 59 to 141 inside the boxes'
// frames), facing right: its outline, its parts and its bones.
float pig_skin(float x, float y) {
    return std::min({ellipse(x, y, 148, 107, 58, 26),            // body
                     ellipse(x, y, 208, 95, 25, 23),             // head
                     ellipse(x, y, 236, 101, 9, 11),             // snout
                     triangle(x, y, 194, 80, 214, 73, 198, 60),  // ear
                     rounded_box(x, y, 104, 118, 117, 139, 3),   // hind legs
                     rounded_box(x, y, 121, 118, 134, 139, 3),   //
                     rounded_box(x, y, 160, 118, 173, 139, 3),   // front legs
                     rounded_box(x, y, 177, 118, 190, 139, 3)}); //
}
float pig_tail(float x, float y) {
    // A curl: most of a ring, and the stroke from the rump into it.
    const float ring = std::fabs(std::hypot(x - 82, y - 93) - 6) - 1.5f;
    const bool open = x > 82 && y > 93;
    return std::min(open ? 10.0f : ring, stroke(x, y, 91, 100, 86, 97, 3));
}
// Dark details drawn over the skin: eye, nostrils, smile, inner ear, hooves.
float pig_details(float x, float y) {
    const float smile = std::fabs(std::hypot(x - 226, y - 100) - 12) - 0.8f;
    return std::min({ellipse(x, y, 217, 89, 3, 3.5f), ellipse(x, y, 233, 99, 1.5f, 3),
                     ellipse(x, y, 239, 99, 1.5f, 3), y > 106 && x < 232 && x > 214 ? smile : 10.0f,
                     triangle(x, y, 199, 77, 210, 73, 200, 66), // inside the ear
                     y > 135 && pig_skin(x, y) < 0 ? -1.0f : 10.0f});
}
float pig_bones(float x, float y) {
    float d = std::min({
        std::fabs(std::hypot(x - 207, y - 94) - 15) - 1.5f, // skull
        std::fabs(std::hypot(x - 216, y - 89) - 4) - 1.0f,  // eye socket
        stroke(x, y, 220, 100, 240, 101, 3),                // snout
        stroke(x, y, 196, 108, 232, 110, 3),                // jaw
        stroke(x, y, 100, 97, 190, 90, 4),                  // spine
        std::fabs(std::hypot(x - 110, y - 103) - 8) - 1.5f, // pelvis
        stroke(x, y, 86, 96, 100, 97, 2),                   // tail
    });
    for (int k = 0; k < 6; ++k) { // ribs, curving back and down
        const float top = 134 + 9 * static_cast<float>(k);
        d = std::min(d, stroke(x, y, top, 92, top - 7, 120, 2.5f));
    }
    for (const float leg : {110.5f, 127.5f, 166.5f, 183.5f}) {
        d = std::min(d, stroke(x, y, leg, leg < 150 ? 104 : 96, leg, 136, 3));
        d = std::min(d, ellipse(x, y, leg, 122, 3, 3) - 0.5f); // knee
    }
    return d;
}

// A field of whole numbers 0 to 24 that changes slowly over hundreds of
// pixels: at 5-6-5, bands of 0, 8, 16 and 24. Stored smoothly, so that other
// screens bend smoothly.
constexpr int field_top = 24;
int gentle_field(float x, float y, float phase) {
    const float v = 0.6f * std::sin(x / 53 + y / 97 + phase) +
                    0.4f * std::sin(y / 41 - x / 150 + 1 + 2 * phase);
    return std::clamp(static_cast<int>(std::lround(12 + 12 * v)), 0, field_top);
}

constexpr int map_width = 420, map_height = 201; // the parts read up to 419 x 200

// The X-ray's tones: ground, the pig's shadow, its rim, the bones' halo, bones.
constexpr int xray_shades = 10;
colour xray_tone(int shade) {
    const ramp tones{
        {{0, hex(0x061430)}, {0.3f, hex(0x1a4478)}, {0.6f, hex(0x4aa0d8)}, {1, hex(0xeafcff)}}};
    return tones(static_cast<float>(shade) / (xray_shades - 1));
}
int xray_shade(float x, float y) {
    const float skin = std::min(pig_skin(x, y), pig_tail(x, y)), bones = pig_bones(x, y);
    if (bones < 0) return 9;
    if (bones < 2) return 6;
    if (std::fabs(skin) < 1.2f) return 4;
    return skin < 0 ? 2 : 0;
}

uint8_t channel(float v) {
    return static_cast<uint8_t>(std::lround(art::clamp01(v) * 255));
}

// The running figure of the exit sign, about its hips at (cx, cy).
float runner(float x, float y, float cx, float cy) {
    const float u = x - cx, v = y - cy;
    return std::min({ellipse(u, v, 10, -33, 7, 7),        // head
                     stroke(u, v, 6, -22, -2, 0, 10),     // body, leaning into the run
                     stroke(u, v, 6, -18, 18, -10, 6),    // front arm
                     stroke(u, v, 18, -10, 24, -20, 6),   //
                     stroke(u, v, 4, -20, -10, -14, 6),   // back arm
                     stroke(u, v, -10, -14, -16, -2, 6),  //
                     stroke(u, v, -2, 0, 14, 8, 8),       // front leg
                     stroke(u, v, 14, 8, 12, 26, 7),      //
                     stroke(u, v, -2, 0, -12, 14, 8),     // back leg
                     stroke(u, v, -12, 14, -26, 16, 7)}); //
}

} // namespace

image pig_picture() {
    return on_torus([](float x, float y) {
        const float dots = std::hypot(std::fmod(x, 24) - 12, std::fmod(y, 24) - 12);
        colour c = mix(hex(0x2a1036), hex(0x12061c), y / 150);
        if (dots < 2.5f) c = c + hex(0x140a18);
        const float skin = pig_skin(x, y), tail = pig_tail(x, y);
        const colour pink = mix(hex(0xffbcd4), hex(0xf07aa6), art::clamp01((y - 80) / 60));
        c = mix(c, pink, std::max(fill(skin), fill(tail)));
        // A pale belly and cheek, a sheen on the back.
        c = mix(c, hex(0xffd8e6), fill(ellipse(x, y, 150, 122, 40, 8)) * fill(skin));
        c = mix(c, hex(0xffe4ee), fill(ellipse(x, y, 140, 90, 30, 5)) * fill(skin));
        c = mix(c, hex(0x5a1030), fill(pig_details(x, y)) * 0.9f);
        c = mix(c, hex(0x3a0822), std::max(rim(skin, 3), rim(tail, 2)));
        return c;
    });
}

std::vector<uint8_t> pig_xray_map() {
    // Index = field value x 10 + X-ray tone: red carries the field exactly,
    // green and blue the tone.
    static_assert((field_top + 1) * xray_shades <= 256);
    bmp_palette palette{};
    for (int v = 0; v <= field_top; ++v)
        for (int shade = 0; shade < xray_shades; ++shade) {
            const colour c = xray_tone(shade);
            palette[static_cast<size_t>(v * xray_shades + shade)] = {static_cast<uint8_t>(v),
                                                                     channel(c.g), channel(c.b)};
        }
    return write_bmp8(art::from_field(map_width, map_height, palette,
                                      [](int x, int y) {
                                          const float fx = static_cast<float>(x) + 0.5f;
                                          const float fy = static_cast<float>(y) + 0.5f;
                                          const int v = gentle_field(fx, fy, 0);
                                          // The window reads the source's torus.
                                          const int shade =
                                              x < 320 && y < 150
                                                  ? xray_shade(std::fmod(fx - 12 + 320, 320),
                                                               std::fmod(fy - 12 + 150, 150))
                                                  : 0;
                                          return static_cast<uint8_t>(v * xray_shades + shade);
                                      }),
                      false);
}

std::vector<uint8_t> plain_field_map() {
    bmp_palette palette{};
    for (int i = 0; i < 256; ++i)
        palette[static_cast<size_t>(i)] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                                           static_cast<uint8_t>(i)};
    return write_bmp8(art::from_field(map_width, map_height, palette,
                                      [](int x, int y) {
                                          return static_cast<uint8_t>(
                                              gentle_field(static_cast<float>(y) * 1.3f + 40,
                                                           static_cast<float>(x) * 0.8f, 2.1f));
                                      }),
                      false);
}

image exit_sign_picture() {
    return on_torus([](float x, float y) {
        // Dark board with a faint grid; the sign in rows 60 to 142, left of
        // the sprite column at 290.
        const bool grid = std::fmod(x, 16) < 1 || std::fmod(y, 16) < 1;
        colour c = grid ? hex(0x0c2414) : hex(0x06140a);
        const float panel = rounded_box(x, y, 14, 60, 278, 142, 8);
        c = mix(c, hex(0x10a040), fill(panel));
        c = mix(c, hex(0xe8fff0), rim(panel + 4, 3) * fill(panel));
        // The door, open, and the figure running for it.
        const float door = rounded_box(x, y, 82, 70, 124, 132, 1);
        c = mix(c, hex(0xf4fff8), fill(door) * (1 - fill(door + 5)));
        c = mix(c, hex(0x085a24), fill(door + 5));
        c = mix(c, hex(0xffffff), fill(runner(x, y, 60, 104)));
        // An arrow the way out, and "EXIT" in block letters of a few strokes.
        const float arrow = std::min(stroke(x, y, 138, 101, 164, 101, 9),
                                     triangle(x, y, 160, 86, 184, 101, 160, 116));
        c = mix(c, hex(0xffffff), fill(arrow));
        const float top = 80, bottom = 122, mid = 101;
        const float e = 198, xx = 218, i = 247, t = 256; // left edges
        const float letters = std::min(
            {stroke(x, y, e, top, e, bottom, 6), stroke(x, y, e, top, e + 14, top, 6),
             stroke(x, y, e, mid, e + 11, mid, 6), stroke(x, y, e, bottom, e + 14, bottom, 6),
             stroke(x, y, xx, top, xx + 20, bottom, 6), stroke(x, y, xx + 20, top, xx, bottom, 6),
             stroke(x, y, i, top, i, bottom, 6), stroke(x, y, t, top, t + 16, top, 6),
             stroke(x, y, t + 8, top, t + 8, bottom, 6)});
        c = mix(c, hex(0xffffff), fill(letters));
        return c;
    });
}

} // namespace vilora::kit::data
