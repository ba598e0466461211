// The grouped ("MMX") span routines of 16-bit screens: the first 4 * (count / 4)
// pixels of a row in groups of four from its first pixel, the rest one by one
// with the scalar rule. The portable routines are plain C++ over four 16-bit
// lanes; the native ones are SSE2 on x86-64 and the portable ones elsewhere.
#pragma once

#include "pictures/blend_spans.h"

namespace vilora {

blend_row portable_grouped_fade(bool keyed);
blend_row portable_grouped_alpha();
blend_row native_grouped_fade(bool keyed);
blend_row native_grouped_alpha();

} // namespace vilora
