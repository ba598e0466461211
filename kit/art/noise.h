// Deterministic noise for the data generators: integer hashing, so the same
// seed gives the same field on every machine.
#pragma once

#include <cstdint>

namespace vilora::kit::art {

// 32-bit integer hash of a lattice point and a seed.
uint32_t hash(int32_t x, int32_t y, uint32_t seed);
// Uniform in [0, 1) from the hash.
float lattice(int32_t x, int32_t y, uint32_t seed);

// Value noise in [0, 1], smooth (quintic fade) between lattice points one unit apart.
float value_noise(float x, float y, uint32_t seed);
// Fractal sum of `octaves` value noises, each at twice the frequency and
// `gain` times the amplitude of the last; normalised to [0, 1].
float fbm(float x, float y, uint32_t seed, int octaves, float gain = 0.5f);
// Ridged fractal: sharp crests where the noise crosses its middle; [0, 1].
float ridged(float x, float y, uint32_t seed, int octaves);

// A small deterministic generator (xorshift32) for scattering things.
class scatter {
public:
    explicit scatter(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next();
    // Uniform in [lo, hi).
    float uniform(float lo, float hi);
    int below(int n);

private:
    uint32_t state_;
};

} // namespace vilora::kit::art
