#include "kit/art/noise.h"

#include <cmath>

namespace vilora::kit::art {

uint32_t hash(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
                 static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float lattice(int32_t x, int32_t y, uint32_t seed) {
    return static_cast<float>(hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

} // namespace

float value_noise(float x, float y, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const float tx = fade(x - fx), ty = fade(y - fy);
    const float a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    const float c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fbm(float x, float y, uint32_t seed, int octaves, float gain) {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += value_noise(x, y, seed + static_cast<uint32_t>(i) * 101u) * amplitude;
        total += amplitude;
        amplitude *= gain;
        x *= 2;
        y *= 2;
    }
    return sum / total;
}

float ridged(float x, float y, uint32_t seed, int octaves) {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        const float n =
            1 - std::fabs(value_noise(x, y, seed + static_cast<uint32_t>(i) * 37u) * 2 - 1);
        sum += n * n * amplitude;
        total += amplitude;
        amplitude *= 0.5f;
        x *= 2;
        y *= 2;
    }
    return sum / total;
}

uint32_t scatter::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

float scatter::uniform(float lo, float hi) {
    return lo + (hi - lo) * static_cast<float>(next() >> 8) * (1.0f / 16777216.0f);
}

int scatter::below(int n) {
    return static_cast<int>(next() % static_cast<uint32_t>(n));
}

} // namespace vilora::kit::art
