// The canvas the data generators paint on: floating-point RGB (channel units
// 0..1, values outside kept until the picture is written) with an optional
// coverage plane, and the small pixel operations pictures are built from.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vilora::kit::art {

struct colour {
    float r = 0, g = 0, b = 0;
};

colour operator+(colour a, colour b);
colour operator*(colour a, float k);
colour mix(colour a, colour b, float t);
// 0xRRGGBB
colour hex(uint32_t rgb);

// A colour ramp: stops at positions 0..1 in increasing order.
struct ramp {
    struct stop {
        float at;
        colour c;
    };
    std::vector<stop> stops;
    colour operator()(float t) const;
};

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);

class image {
public:
    image(int width, int height, colour fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    colour& at(int x, int y) { return pixels_[index(x, y)]; }
    const colour& at(int x, int y) const { return pixels_[index(x, y)]; }
    // Coverage of keyed pictures: 0 where the picture is to stay transparent.
    float& cover(int x, int y) { return coverage_[index(x, y)]; }
    float cover(int x, int y) const { return coverage_[index(x, y)]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    void cover_all(float value);

    // Every pixel from f(x, y) with coordinates of the pixel centre.
    void paint(const std::function<colour(float x, float y)>& f);
    // Blends c over the pixel by `amount` (0..1), or adds it with `add`.
    void blend(int x, int y, colour c, float amount);
    void add(int x, int y, colour c, float amount);

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
    int width_, height_;
    std::vector<colour> pixels_;
    std::vector<float> coverage_;
};

// A single-channel plane 0..1 (text, shapes, glows).
class mask {
public:
    mask(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    float& at(int x, int y) { return values_[static_cast<size_t>(y) * width_ + x]; }
    float at(int x, int y) const { return values_[static_cast<size_t>(y) * width_ + x]; }
    // 0 outside.
    float sample(int x, int y) const;

private:
    int width_, height_;
    std::vector<float> values_;
};

// Three box passes of radius r: close to a Gaussian of sigma ~ r.
mask blur(const mask& m, int radius);
// `m` grown by a soft halo of `radius`.
mask glow(const mask& m, int radius, float strength);

// Shapes with antialiased edges, as coverage added to a mask (max).
void disc(mask& m, float cx, float cy, float radius, float softness = 1.0f);
void ring(mask& m, float cx, float cy, float radius, float thickness, float softness = 1.0f);
void box(mask& m, float x0, float y0, float x1, float y1, float softness = 1.0f);
void line(mask& m, float x0, float y0, float x1, float y1, float thickness, float softness = 1.0f);

// Paints colour c through the mask placed at (x, y); `opaque` also marks the
// covered pixels as part of a keyed picture.
void stamp(image& canvas, const mask& m, int x, int y, colour c, bool opaque = true);

} // namespace vilora::kit::art
