#include "kit/art/picture_kit.h"

#include "kit/art/quantise.h"

#include <algorithm>
#include <cmath>

namespace vilora::kit::data {

std::vector<uint8_t> as_bmp24(const image& canvas, bool keyed) {
    return write_bmp24(art::to_rgb565(canvas, keyed));
}

std::vector<uint8_t> as_bmp8(const image& canvas, bool keyed, int colours) {
    return write_bmp8(art::to_indexed(canvas, keyed, colours), false);
}

std::vector<uint8_t> as_rle8(const image& canvas, bool keyed, int colours) {
    return write_bmp8(art::to_indexed(canvas, keyed, colours), true);
}

void vignette(image& canvas, float strength) {
    const float cx = static_cast<float>(canvas.width()) / 2;
    const float cy = static_cast<float>(canvas.height()) / 2;
    const float r = std::hypot(cx, cy);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const float d =
                std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) /
                r;
            canvas.at(x, y) = canvas.at(x, y) * (1 - strength * d * d);
        }
}

void scanlines(image& canvas, float strength) {
    for (int y = 1; y < canvas.height(); y += 2)
        for (int x = 0; x < canvas.width(); ++x) canvas.at(x, y) = canvas.at(x, y) * (1 - strength);
}

void grain(image& canvas, uint32_t seed, float amount) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const float n = (art::lattice(x, y, seed) - 0.5f) * 2 * amount;
            canvas.at(x, y) = canvas.at(x, y) + colour{n, n, n};
        }
}

void stars(image& canvas, uint32_t seed, int count, colour c) {
    art::scatter rng(seed);
    for (int i = 0; i < count; ++i) {
        const int x = rng.below(canvas.width()), y = rng.below(canvas.height());
        const float k = rng.uniform(0.3f, 1);
        canvas.add(x, y, c, k);
        if (rng.below(6) == 0)
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                canvas.add(x + dx, y + dy, c, k * 0.5f);
    }
}

int caption_width(const art::lettering& letters, const std::string& text, int cell_width,
                  int cell_height) {
    return letters.text(text, cell_width, cell_height).width();
}

int caption(image& canvas, const art::lettering& letters, const std::string& text, int x, int y,
            const caption_style& style) {
    const mask ink = letters.text(text, style.cell_width, style.cell_height);
    if (style.glow_radius > 0) {
        // The halo needs room around the letters.
        const int pad = 3 * style.glow_radius;
        mask padded(ink.width() + 2 * pad, ink.height() + 2 * pad);
        for (int my = 0; my < ink.height(); ++my)
            for (int mx = 0; mx < ink.width(); ++mx) padded.at(mx + pad, my + pad) = ink.at(mx, my);
        const mask halo = art::glow(padded, style.glow_radius, style.glow_strength);
        art::stamp(canvas, halo, x - pad, y - pad, style.glow, style.opaque);
    }
    if (style.shadowed) art::stamp(canvas, ink, x + 1, y + 1, style.shadow, style.opaque);
    art::stamp(canvas, ink, x, y, style.fill, style.opaque);
    return ink.width();
}

void light(image& canvas, float cx, float cy, float r, colour c) {
    const int x0 = std::max(0, static_cast<int>(cx - 2 * r));
    const int x1 = std::min(canvas.width() - 1, static_cast<int>(cx + 2 * r));
    const int y0 = std::max(0, static_cast<int>(cy - 2 * r));
    const int y1 = std::min(canvas.height() - 1, static_cast<int>(cy + 2 * r));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d =
                std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) /
                r;
            canvas.add(x, y, c, std::exp(-d * d * 2));
        }
}

} // namespace vilora::kit::data
