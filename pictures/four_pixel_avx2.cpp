// The grouped cross-fade on 5-6-5 and 5-5-5 screens with AVX2: sixteen pixels
// per register, four groups of four side by side from the first pixel of the
// row, so a row gives what four-pixel steps give. The last 4 * (count / 4) %
// 16 grouped pixels and the ungrouped rest go to the SSE2 routine, which keeps
// counting groups from where this one stopped (a multiple of four). Compiled
// for AVX2 function by function and chosen only where the processor has it.
#include "pictures/internal/four_pixel.h"

#if defined(__x86_64__)

#include "platform/display/pixel_format.h"

#include <immintrin.h>

namespace vilora {

namespace {

#define VILORA_AVX2 __attribute__((target("avx2")))

// floor(s_c w / 256) - floor(d_c w / 256) of one channel, put back in place;
// w8 holds the weight times 256. Fields at or below bit 8 are multiplied in
// place against w8 >> shift, the upper ones after moving down to units.
template <int shift, int bits>
VILORA_AVX2 inline __m256i channel_change(__m256i s, __m256i d, __m256i w8) {
    __m256i difference;
    if constexpr (shift <= 8) {
        const __m256i field = _mm256_set1_epi16(static_cast<short>(((1 << bits) - 1) << shift));
        const __m256i w = _mm256_srli_epi16(w8, shift);
        difference = _mm256_sub_epi16(_mm256_mulhi_epu16(_mm256_and_si256(s, field), w),
                                      _mm256_mulhi_epu16(_mm256_and_si256(d, field), w));
    } else {
        const __m256i units = _mm256_set1_epi16(static_cast<short>((1 << bits) - 1));
        const __m256i su = _mm256_and_si256(_mm256_srli_epi16(s, shift), units);
        const __m256i du = _mm256_and_si256(_mm256_srli_epi16(d, shift), units);
        difference = _mm256_sub_epi16(_mm256_mulhi_epu16(su, w8), _mm256_mulhi_epu16(du, w8));
    }
    return _mm256_slli_epi16(difference, shift);
}

// The layouts as (red shift, green bits); blue is always the low five bits.
// Each field of the sum stays inside its range, so the changes are added to
// the whole pixel in 16-bit wrap-around arithmetic.
template <int red_shift, int green_bits>
VILORA_AVX2 inline __m256i grouped_mix(__m256i s, __m256i d, __m256i w8) {
    constexpr uint16_t colour_bits = red_shift + 5 == 16 ? 0xFFFF : (1 << (red_shift + 5)) - 1;
    const __m256i colour = _mm256_and_si256(d, _mm256_set1_epi16(static_cast<short>(colour_bits)));
    return _mm256_add_epi16(
        _mm256_add_epi16(colour, channel_change<red_shift, 5>(s, d, w8)),
        _mm256_add_epi16(channel_change<5, green_bits>(s, d, w8), channel_change<0, 5>(s, d, w8)));
}

template <int red_shift, int green_bits, bool keyed>
VILORA_AVX2 void fade_row(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
                          const blend_setup& b) {
    static const blend_row rest =
        native_grouped_fade(red_shift == 11 ? layout_565 : layout_555, keyed);
    const __m256i w8 = _mm256_set1_epi16(static_cast<short>(b.level << 8));
    const __m256i key = _mm256_set1_epi16(static_cast<short>(b.key));
    const int32_t wide_count = count / 16 * 16;
    for (int32_t i = 0; i < wide_count; i += 16) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 2 * i));
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + 2 * i));
        __m256i mixed = grouped_mix<red_shift, green_bits>(sv, dv, w8);
        if constexpr (keyed) mixed = _mm256_blendv_epi8(mixed, dv, _mm256_cmpeq_epi16(sv, key));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 2 * i), mixed);
    }
    if (wide_count < count)
        rest(d + 2 * wide_count, s + 2 * wide_count, alpha, count - wide_count, b);
}

template <int red_shift, int green_bits>
blend_row fade_for(bool keyed) {
    return keyed ? fade_row<red_shift, green_bits, true> : fade_row<red_shift, green_bits, false>;
}

} // namespace

blend_row wide_grouped_fade(int32_t layout, bool keyed) {
    if (!__builtin_cpu_supports("avx2")) return nullptr;
    if (layout == layout_565) return fade_for<11, 6>(keyed);
    if (layout == layout_555) return fade_for<10, 5>(keyed);
    return nullptr;
}

} // namespace vilora

#else

namespace vilora {

blend_row wide_grouped_fade(int32_t, bool) {
    return nullptr;
}

} // namespace vilora

#endif
