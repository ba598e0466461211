#include "kit/art/image.h"

#include <algorithm>
#include <cmath>

namespace vilora::kit::art {

colour operator+(colour a, colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
colour operator*(colour a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
colour mix(colour a, colour b, float t) {
    return a * (1 - t) + b * t;
}
colour hex(uint32_t rgb) {
    return {static_cast<float>(rgb >> 16 & 0xFF) / 255.0f,
            static_cast<float>(rgb >> 8 & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f};
}

colour ramp::operator()(float t) const {
    if (t <= stops.front().at) return stops.front().c;
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].at)
            return mix(stops[i - 1].c, stops[i].c,
                       (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    return stops.back().c;
}

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

image::image(int width, int height, colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill),
      coverage_(static_cast<size_t>(width) * height, 1.0f) {}

void image::cover_all(float value) {
    std::fill(coverage_.begin(), coverage_.end(), value);
}

void image::paint(const std::function<colour(float x, float y)>& f) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            at(x, y) = f(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
}

void image::blend(int x, int y, colour c, float amount) {
    if (!inside(x, y) || amount <= 0) return;
    colour& p = at(x, y);
    p = mix(p, c, std::min(amount, 1.0f));
}

void image::add(int x, int y, colour c, float amount) {
    if (!inside(x, y) || amount <= 0) return;
    at(x, y) = at(x, y) + c * amount;
}

mask::mask(int width, int height)
    : width_(width), height_(height), values_(static_cast<size_t>(width) * height, 0.0f) {}

float mask::sample(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return at(x, y);
}

namespace {

// One box pass along rows (horizontal) or columns, edges treated as 0.
mask box_pass(const mask& m, int radius, bool horizontal) {
    mask out(m.width(), m.height());
    const int outer = horizontal ? m.height() : m.width();
    const int inner = horizontal ? m.width() : m.height();
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int o = 0; o < outer; ++o) {
        auto get = [&](int i) { return horizontal ? m.sample(i, o) : m.sample(o, i); };
        float sum = 0;
        for (int i = -radius; i <= radius; ++i) sum += get(i);
        for (int i = 0; i < inner; ++i) {
            (horizontal ? out.at(i, o) : out.at(o, i)) = sum * scale;
            sum += get(i + radius + 1) - get(i - radius);
        }
    }
    return out;
}

} // namespace

mask blur(const mask& m, int radius) {
    if (radius <= 0) return m;
    mask out = m;
    for (int pass = 0; pass < 3; ++pass) out = box_pass(box_pass(out, radius, true), radius, false);
    return out;
}

mask glow(const mask& m, int radius, float strength) {
    mask halo = blur(m, radius);
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            halo.at(x, y) = std::min(1.0f, std::max(m.at(x, y), halo.at(x, y) * strength));
    return halo;
}

namespace {

// Coverage from a signed distance (negative inside), `softness` pixels wide.
void cover_by_distance(mask& m, float x0, float y0, float x1, float y1, float softness,
                       const std::function<float(float, float)>& distance) {
    const int left = std::max(0, static_cast<int>(std::floor(x0 - softness - 1)));
    const int top = std::max(0, static_cast<int>(std::floor(y0 - softness - 1)));
    const int right = std::min(m.width() - 1, static_cast<int>(std::ceil(x1 + softness + 1)));
    const int bottom = std::min(m.height() - 1, static_cast<int>(std::ceil(y1 + softness + 1)));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const float d = distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float c = clamp01(0.5f - d / softness);
            m.at(x, y) = std::max(m.at(x, y), c);
        }
}

} // namespace

void disc(mask& m, float cx, float cy, float radius, float softness) {
    cover_by_distance(m, cx - radius, cy - radius, cx + radius, cy + radius, softness,
                      [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; });
}

void ring(mask& m, float cx, float cy, float radius, float thickness, float softness) {
    const float outer = radius + thickness / 2;
    cover_by_distance(m, cx - outer, cy - outer, cx + outer, cy + outer, softness,
                      [=](float x, float y) {
                          return std::fabs(std::hypot(x - cx, y - cy) - radius) - thickness / 2;
                      });
}

void box(mask& m, float x0, float y0, float x1, float y1, float softness) {
    cover_by_distance(m, x0, y0, x1, y1, softness, [=](float x, float y) {
        return std::max(std::max(x0 - x, x - x1), std::max(y0 - y, y - y1));
    });
}

void line(mask& m, float x0, float y0, float x1, float y1, float thickness, float softness) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float length2 = std::max(dx * dx + dy * dy, 1e-6f);
    cover_by_distance(
        m, std::min(x0, x1) - thickness, std::min(y0, y1) - thickness, std::max(x0, x1) + thickness,
        std::max(y0, y1) + thickness, softness, [=](float x, float y) {
            const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0f, 1.0f);
            return std::hypot(x - x0 - t * dx, y - y0 - t * dy) - thickness / 2;
        });
}

void stamp(image& canvas, const mask& m, int x, int y, colour c, bool opaque) {
    for (int my = 0; my < m.height(); ++my)
        for (int mx = 0; mx < m.width(); ++mx) {
            const float a = m.at(mx, my);
            if (a <= 0 || !canvas.inside(x + mx, y + my)) continue;
            canvas.blend(x + mx, y + my, c, a);
            if (opaque && a >= 0.5f) canvas.cover(x + mx, y + my) = 1;
        }
}

} // namespace vilora::kit::art
