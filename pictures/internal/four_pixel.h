// The grouped ("MMX") span routines of 16-bit screens: the first 4 * (count / 4)
// pixels of a row in groups of four from its first pixel, the rest one by one
// with the scalar rule. The portable routines are plain C++ over four 16-bit
// lanes; the native ones are SSE2 on x86-64 and the portable ones elsewhere.
// The wide ones give the same pixels sixteen at a time.
#pragma once

#include "pictures/internal/blend_spans.h"

namespace vilora {

blend_row portable_grouped_fade(bool keyed);
blend_row portable_grouped_alpha();
// `layout` of the pixel format: 5-6-5 and 5-5-5 get routines of their own.
blend_row native_grouped_fade(int32_t layout, bool keyed);
blend_row native_grouped_alpha(int32_t layout);
// The cross-fade with 256-bit registers on 5-6-5 and 5-5-5 screens of
// processors with AVX2; null elsewhere.
blend_row wide_grouped_fade(int32_t layout, bool keyed);

} // namespace vilora
