// The numeric helpers of the engine: degrees as the show converts them, the
// drop of the credits, and the one float-to-integer conversion of the
// rasterisers and the parts.
#pragma once

#include <cstdint>

namespace vilora {

// Degrees to radians with pi taken as 3.14: degrees * 0.017444444444444446.
double deg_to_rad(int32_t degrees);

// Sum of i * 1.1 for i = 1..n, accumulated in double and truncated toward zero;
// 0 for n <= 0.
int64_t step_sum(int32_t n);

// trunc(value) toward zero, held to [low, high]: a value at or beyond a bound
// gives that bound and NaN gives 0, so infinities and far-away values never
// reach the conversion, whose result would be undefined. A value is compared
// with each bound as a float; the float of INT32_MAX is 2^31, which every
// value too large for 32 bits reaches.
constexpr int32_t truncate_toward_zero(float value, int32_t low, int32_t high) {
    if (value != value) return 0;
    if (value <= static_cast<float>(low)) return low;
    if (value >= static_cast<float>(high)) return high;
    return static_cast<int32_t>(value);
}

} // namespace vilora
