// The grouped 16-bit spans with SSE2: eight pixels per register, which is two
// groups of four side by side; the groups still start at the first pixel of
// the row, so a row gives what four-pixel steps give. floor(c * w / 256) is
// the high half of c * (w << 8), exact for every 16-bit c since w <= 255.
#include "pictures/internal/four_pixel.h"

#if defined(__x86_64__) && defined(__SSE2__)

#include "pictures/internal/blend_pixels.h"

#include <cstring>
#include <emmintrin.h>

namespace vilora {

namespace {

using namespace blend;

// A channel whose place is known when compiling, with immediate shifts. Each
// channel gives floor(s_c w / 256) - floor(d_c w / 256), put back in place.
template <int shift, int bits>
struct fixed_channel {
    __m128i change(__m128i s, __m128i d, __m128i w8) const {
        __m128i difference;
        if constexpr (shift <= 8) {
            // The field in place is c << shift; against the weight times
            // 2^(8 - shift) the high half of the product is floor(c w / 256).
            const __m128i field = _mm_set1_epi16(static_cast<short>(((1 << bits) - 1) << shift));
            const __m128i w = _mm_srli_epi16(w8, shift);
            difference = _mm_sub_epi16(_mm_mulhi_epu16(_mm_and_si128(s, field), w),
                                       _mm_mulhi_epu16(_mm_and_si128(d, field), w));
        } else {
            difference =
                _mm_sub_epi16(_mm_mulhi_epu16(units(s), w8), _mm_mulhi_epu16(units(d), w8));
        }
        return _mm_slli_epi16(difference, shift);
    }
    // The top field needs no mask once shifted down.
    static __m128i units(__m128i p) {
        const __m128i v = _mm_srli_epi16(p, shift);
        if constexpr (shift + bits == 16) return v;
        return _mm_and_si128(v, _mm_set1_epi16(static_cast<short>((1 << bits) - 1)));
    }
};

template <class R, class G, class B, uint16_t colour_bits>
struct fixed_layout {
    explicit fixed_layout(const blend_setup&) {}
    // The bits of the destination that belong to a channel.
    __m128i colour(__m128i p) const {
        if constexpr (colour_bits == 0xFFFF) return p;
        return _mm_and_si128(p, _mm_set1_epi16(static_cast<short>(colour_bits)));
    }
    R red;
    G green;
    B blue;
};
using lanes_565 =
    fixed_layout<fixed_channel<11, 5>, fixed_channel<5, 6>, fixed_channel<0, 5>, 0xFFFF>;
using lanes_555 =
    fixed_layout<fixed_channel<10, 5>, fixed_channel<5, 5>, fixed_channel<0, 5>, 0x7FFF>;

// Any other layout: the four-lane masks and the shift counts at run time.
struct format_channel {
    __m128i mask;
    __m128i shift;
    __m128i change(__m128i s, __m128i d, __m128i w8) const {
        return _mm_sll_epi16(
            _mm_sub_epi16(_mm_mulhi_epu16(units(s), w8), _mm_mulhi_epu16(units(d), w8)), shift);
    }
    __m128i units(__m128i p) const { return _mm_srl_epi16(_mm_and_si128(p, mask), shift); }
};

struct format_layout {
    explicit format_layout(const blend_setup& b) {
        format_channel* channels[3] = {&red, &green, &blue};
        for (int c = 0; c < 3; ++c)
            *channels[c] = {_mm_set1_epi64x(static_cast<long long>(b.masks_x4[c])),
                            _mm_cvtsi32_si128(b.shifts[c])};
        all = _mm_or_si128(red.mask, _mm_or_si128(green.mask, blue.mask));
    }
    __m128i colour(__m128i p) const { return _mm_and_si128(p, all); }
    format_channel red, green, blue;
    __m128i all;
};

// d + floor(s w / 256) - floor(d w / 256) per channel; w8 holds each lane's
// weight times 256. Every field of the result stays inside its range, so the
// changes of all channels can be added to the whole pixel in 16-bit
// wrap-around arithmetic without one field reaching into the next.
template <class Layout>
inline __m128i grouped_mix(__m128i s, __m128i d, __m128i w8, const Layout& l) {
    return _mm_add_epi16(_mm_add_epi16(l.colour(d), l.red.change(s, d, w8)),
                         _mm_add_epi16(l.green.change(s, d, w8), l.blue.change(s, d, w8)));
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

template <bool keyed, class Layout>
inline __m128i fade_lanes(__m128i s, __m128i d, __m128i w8, __m128i key, const Layout& f) {
    const __m128i mixed = grouped_mix(s, d, w8, f);
    return keyed ? select(_mm_cmpeq_epi16(s, key), d, mixed) : mixed;
}

template <class Layout, bool keyed>
void fade_row(uint8_t* d, const uint8_t* s, const uint8_t*, int32_t count, const blend_setup& b) {
    const Layout f(b);
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
template <class Layout>
inline __m128i alpha_lanes(__m128i s, __m128i d, __m128i alphas, bool low_solid, bool high_solid,
                           const Layout& f) {
    const __m128i w8 = _mm_slli_epi16(_mm_unpacklo_epi8(alphas, _mm_setzero_si128()), 8);
    const __m128i solid = _mm_set_epi64x(high_solid ? -1 : 0, low_solid ? -1 : 0);
    return select(solid, s, grouped_mix(s, d, w8, f));
}

template <class Layout>
void alpha_row(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
               const blend_setup& b) {
    const Layout f(b);
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

template <class Layout>
blend_row fade_for(bool keyed) {
    return keyed ? fade_row<Layout, true> : fade_row<Layout, false>;
}

} // namespace

blend_row native_grouped_fade(int32_t layout, bool keyed) {
    if (layout == layout_565) return fade_for<lanes_565>(keyed);
    if (layout == layout_555) return fade_for<lanes_555>(keyed);
    return fade_for<format_layout>(keyed);
}

blend_row native_grouped_alpha(int32_t layout) {
    if (layout == layout_565) return alpha_row<lanes_565>;
    if (layout == layout_555) return alpha_row<lanes_555>;
    return alpha_row<format_layout>;
}

} // namespace vilora

#else

namespace vilora {

blend_row native_grouped_fade(int32_t, bool keyed) {
    return portable_grouped_fade(keyed);
}

blend_row native_grouped_alpha(int32_t) {
    return portable_grouped_alpha();
}

} // namespace vilora

#endif
