// The grouped 16-bit spans with SSE2: eight pixels per register, which is two
// groups of four side by side; the groups still start at the first pixel of
// the row, so a row gives what four-pixel steps give. floor(c * w / 256) is
// the high half of c * (w << 8), exact for every 16-bit c since w <= 255.
#include "pictures/four_pixel.h"

#if defined(__x86_64__) && defined(__SSE2__)

#include "pictures/blend_pixels.h"

#include <cstring>
#include <emmintrin.h>

namespace vilora {

namespace {

using namespace blend;

struct sse_channels {
    __m128i mask[3];
    __m128i shift[3];
};

sse_channels channels_of(const blend_setup& b) {
    sse_channels f;
    for (int c = 0; c < 3; ++c) {
        f.mask[c] = _mm_set1_epi64x(static_cast<long long>(b.masks_x4[c]));
        f.shift[c] = _mm_cvtsi32_si128(b.shifts[c]);
    }
    return f;
}

// d + floor(s w / 256) - floor(d w / 256) per channel, in channel units; w8
// holds each lane's weight times 256. The result never leaves its field.
inline __m128i grouped_mix(__m128i s, __m128i d, __m128i w8, const sse_channels& f) {
    __m128i out = _mm_setzero_si128();
    for (int c = 0; c < 3; ++c) {
        const __m128i sc = _mm_srl_epi16(_mm_and_si128(s, f.mask[c]), f.shift[c]);
        const __m128i dc = _mm_srl_epi16(_mm_and_si128(d, f.mask[c]), f.shift[c]);
        const __m128i mixed =
            _mm_sub_epi16(_mm_add_epi16(dc, _mm_mulhi_epu16(sc, w8)), _mm_mulhi_epu16(dc, w8));
        out = _mm_or_si128(out, _mm_sll_epi16(mixed, f.shift[c]));
    }
    return out;
}

// Lanes where `keep` is all ones take `a`, the others `b`.
inline __m128i select(__m128i keep, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_and_si128(keep, a), _mm_andnot_si128(keep, b));
}

inline __m128i load8(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store8(uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
inline __m128i load4(const uint8_t* p) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}
inline void store4(uint8_t* p, __m128i v) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
}

template <bool keyed>
inline __m128i fade_lanes(__m128i s, __m128i d, __m128i w8, __m128i key, const sse_channels& f) {
    const __m128i mixed = grouped_mix(s, d, w8, f);
    return keyed ? select(_mm_cmpeq_epi16(s, key), d, mixed) : mixed;
}

template <bool keyed>
void fade_row(uint8_t* d, const uint8_t* s, const uint8_t*, int32_t count, const blend_setup& b) {
    const sse_channels f = channels_of(b);
    const __m128i w8 = _mm_set1_epi16(static_cast<short>(b.level << 8));
    const __m128i key = _mm_set1_epi16(static_cast<short>(b.key));
    const int32_t grouped_count = count / 4 * 4;
    int32_t i = 0;
    for (; i + 8 <= grouped_count; i += 8)
        store8(d + 2 * i, fade_lanes<keyed>(load8(s + 2 * i), load8(d + 2 * i), w8, key, f));
    if (i < grouped_count) {
        store4(d + 2 * i, fade_lanes<keyed>(load4(s + 2 * i), load4(d + 2 * i), w8, key, f));
        i += 4;
    }
    for (; i < count; ++i) {
        const uint16_t from = load16(s + 2 * i);
        if (keyed && from == static_cast<uint16_t>(b.key)) continue;
        store16(d + 2 * i, masked_pixel(from, load16(d + 2 * i), b.level, b));
    }
}

// Eight alphas as two groups of four: a group all 255 is copied, any other
// gets the grouped formula per lane (a lane with alpha 0 keeps its pixel).
inline __m128i alpha_lanes(__m128i s, __m128i d, __m128i alphas, bool low_solid, bool high_solid,
                           const sse_channels& f) {
    const __m128i w8 = _mm_slli_epi16(_mm_unpacklo_epi8(alphas, _mm_setzero_si128()), 8);
    const __m128i solid = _mm_set_epi64x(high_solid ? -1 : 0, low_solid ? -1 : 0);
    return select(solid, s, grouped_mix(s, d, w8, f));
}

void alpha_row(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
               const blend_setup& b) {
    const sse_channels f = channels_of(b);
    const int32_t grouped_count = count / 4 * 4;
    int32_t i = 0;
    for (; i + 8 <= grouped_count; i += 8) {
        uint32_t group[2];
        std::memcpy(group, alpha + i, sizeof group);
        if ((group[0] | group[1]) == 0) continue;
        if ((group[0] & group[1]) == 0xFFFFFFFF) {
            std::memcpy(d + 2 * i, s + 2 * i, 16);
            continue;
        }
        store8(d + 2 * i, alpha_lanes(load8(s + 2 * i), load8(d + 2 * i), load4(alpha + i),
                                      group[0] == 0xFFFFFFFF, group[1] == 0xFFFFFFFF, f));
    }
    if (i < grouped_count) {
        uint32_t group;
        std::memcpy(&group, alpha + i, sizeof group);
        if (group == 0xFFFFFFFF)
            std::memcpy(d + 2 * i, s + 2 * i, 8);
        else if (group != 0)
            store4(d + 2 * i,
                   alpha_lanes(load4(s + 2 * i), load4(d + 2 * i),
                               _mm_cvtsi32_si128(static_cast<int>(group)), false, false, f));
        i += 4;
    }
    for (; i < count; ++i) {
        const int32_t a = alpha[i];
        if (a == 0) continue;
        store16(d + 2 * i, a == 255 ? load16(s + 2 * i)
                                    : masked_pixel(load16(s + 2 * i), load16(d + 2 * i), a, b));
    }
}

} // namespace

blend_row native_grouped_fade(bool keyed) {
    return keyed ? fade_row<true> : fade_row<false>;
}

blend_row native_grouped_alpha() {
    return alpha_row;
}

} // namespace vilora

#else

namespace vilora {

blend_row native_grouped_fade(bool keyed) {
    return portable_grouped_fade(keyed);
}

blend_row native_grouped_alpha() {
    return portable_grouped_alpha();
}

} // namespace vilora

#endif
