#include "platform/display/internal/keyed_copy.h"

#include "platform/display/internal/pixel_paths.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vilora {

namespace {

// The reference: the width of a pixel is chosen once per row, and the choice
// per pixel is a select, not a branch.
template <typename Pixel>
void copy_keyed_pixels(uint8_t* d, const uint8_t* s, size_t count, uint32_t colour_mask,
                       uint32_t low, uint32_t high) {
    for (size_t i = 0; i < count; ++i) {
        Pixel from, to;
        std::memcpy(&from, s + i * sizeof(Pixel), sizeof from);
        std::memcpy(&to, d + i * sizeof(Pixel), sizeof to);
        const uint32_t colour = static_cast<uint32_t>(from) & colour_mask;
        const bool keyed_out = colour - low <= high - low;
        to = keyed_out ? to : from;
        std::memcpy(d + i * sizeof(Pixel), &to, sizeof to);
    }
}

void copy_keyed_24(uint8_t* d, const uint8_t* s, size_t count, uint32_t low, uint32_t high) {
    for (size_t i = 0; i < count; ++i, s += 3, d += 3) {
        const uint32_t colour =
            static_cast<uint32_t>(s[0] | s[1] << 8 | s[2] << 16); // little-endian pixel
        if (colour < low || colour > high) std::memcpy(d, s, 3);
    }
}

#if defined(__x86_64__)
// In lanes: keep = (colour - low) > (high - low) as unsigned numbers, compared
// signed after flipping the top bit, which is what SSE2 and AVX2 can compare.
// Takes the pixels it handled, a multiple of the lane count; the caller does
// the rest. 32-bit lanes compute exactly what the reference does; 16-bit lanes
// only when low <= high <= 0xFFFF, where the difference wrapped at 16 bits
// compares as the reference's wrapped at 32.
size_t keyed_16_sse2(uint8_t* d, const uint8_t* s, size_t count, uint32_t low, uint32_t high) {
    const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i lo = _mm_set1_epi16(static_cast<short>(low));
    const __m128i range = _mm_xor_si128(_mm_set1_epi16(static_cast<short>(high - low)), bias);
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i from = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * i));
        const __m128i to = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 2 * i));
        const __m128i offset = _mm_xor_si128(_mm_sub_epi16(from, lo), bias);
        const __m128i keep = _mm_cmpgt_epi16(offset, range);
        const __m128i out = _mm_or_si128(_mm_and_si128(keep, from), _mm_andnot_si128(keep, to));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 2 * i), out);
    }
    return i;
}

size_t keyed_32_sse2(uint8_t* d, const uint8_t* s, size_t count, uint32_t low, uint32_t high) {
    const __m128i bias = _mm_set1_epi32(static_cast<int>(0x80000000u));
    const __m128i colour = _mm_set1_epi32(0xFFFFFF);
    const __m128i lo = _mm_set1_epi32(static_cast<int>(low));
    const __m128i range = _mm_xor_si128(_mm_set1_epi32(static_cast<int>(high - low)), bias);
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i from = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * i));
        const __m128i to = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * i));
        const __m128i offset = _mm_xor_si128(_mm_sub_epi32(_mm_and_si128(from, colour), lo), bias);
        const __m128i keep = _mm_cmpgt_epi32(offset, range);
        const __m128i out = _mm_or_si128(_mm_and_si128(keep, from), _mm_andnot_si128(keep, to));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * i), out);
    }
    return i;
}

__attribute__((target("avx2"))) size_t keyed_16_avx2(uint8_t* d, const uint8_t* s, size_t count,
                                                     uint32_t low, uint32_t high) {
    const __m256i bias = _mm256_set1_epi16(static_cast<short>(0x8000));
    const __m256i lo = _mm256_set1_epi16(static_cast<short>(low));
    const __m256i range = _mm256_xor_si256(_mm256_set1_epi16(static_cast<short>(high - low)), bias);
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i from = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 2 * i));
        const __m256i to = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + 2 * i));
        const __m256i offset = _mm256_xor_si256(_mm256_sub_epi16(from, lo), bias);
        const __m256i keep = _mm256_cmpgt_epi16(offset, range);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 2 * i),
                            _mm256_blendv_epi8(to, from, keep));
    }
    return i;
}

__attribute__((target("avx2"))) size_t keyed_32_avx2(uint8_t* d, const uint8_t* s, size_t count,
                                                     uint32_t low, uint32_t high) {
    const __m256i bias = _mm256_set1_epi32(static_cast<int>(0x80000000u));
    const __m256i colour = _mm256_set1_epi32(0xFFFFFF);
    const __m256i lo = _mm256_set1_epi32(static_cast<int>(low));
    const __m256i range = _mm256_xor_si256(_mm256_set1_epi32(static_cast<int>(high - low)), bias);
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i from = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 4 * i));
        const __m256i to = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + 4 * i));
        const __m256i offset =
            _mm256_xor_si256(_mm256_sub_epi32(_mm256_and_si256(from, colour), lo), bias);
        const __m256i keep = _mm256_cmpgt_epi32(offset, range);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 4 * i),
                            _mm256_blendv_epi8(to, from, keep));
    }
    return i;
}

// The pixels the vector routines took care of, 0 when they do not apply.
size_t copy_keyed_native(uint8_t* d, const uint8_t* s, size_t count, int bytes, uint32_t low,
                         uint32_t high) {
    if (!native_pixel_path()) return 0;
    const bool wide = wide_pixel_path();
    if (bytes == 2 && low <= high && high <= 0xFFFF)
        return wide ? keyed_16_avx2(d, s, count, low, high) : keyed_16_sse2(d, s, count, low, high);
    if (bytes == 4)
        return wide ? keyed_32_avx2(d, s, count, low, high) : keyed_32_sse2(d, s, count, low, high);
    return 0;
}
#endif

} // namespace

void copy_keyed_row(uint8_t* d, const uint8_t* s, size_t count, int bytes, uint32_t low,
                    uint32_t high) {
#if defined(__x86_64__)
    const size_t done = copy_keyed_native(d, s, count, bytes, low, high);
    d += done * static_cast<size_t>(bytes);
    s += done * static_cast<size_t>(bytes);
    count -= done;
#endif
    switch (bytes) {
    case 1:
        copy_keyed_pixels<uint8_t>(d, s, count, 0xFF, low, high);
        return;
    case 2:
        copy_keyed_pixels<uint16_t>(d, s, count, 0xFFFF, low, high);
        return;
    case 4:
        copy_keyed_pixels<uint32_t>(d, s, count, 0xFFFFFF, low, high);
        return;
    default:
        copy_keyed_24(d, s, count, low, high);
    }
}

} // namespace vilora
