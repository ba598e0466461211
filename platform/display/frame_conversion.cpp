#include "platform/display/frame_conversion.h"

#include "platform/display/internal/pixel_paths.h"
#include "platform/display/internal/video_memory.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace vilora {

uint8_t widen_channel(uint32_t value, int bits) {
    if (bits <= 0) return 0;
    const uint32_t max = (1u << bits) - 1;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
}

frame_converter::channel::channel(uint32_t mask) {
    shift = mask ? std::countr_zero(mask) : 0;
    const int bits = std::min(std::popcount(mask), 16);
    field_mask = bits ? (1u << bits) - 1 : 0;
    widened.resize(size_t{field_mask} + 1);
    for (uint32_t v = 0; v <= field_mask; ++v) widened[v] = widen_channel(v, bits);
}

frame_converter::frame_converter(const format_record& format)
    : red_(format.red_mask), green_(format.green_mask), blue_(format.blue_mask),
      is_565_(format.rgb_bit_count == 16 && format.red_mask == 0xF800 &&
              format.green_mask == 0x07E0 && format.blue_mask == 0x001F) {}

namespace {

#if defined(__x86_64__)
// widen_channel of eight 16-bit fields at once: (v * 255 + (max >> 1)) / max,
// the division by 31 or 63 done as a high multiply and a shift, exact over
// every value the numerator takes (0..7920 for 5 bits, 0..16096 for 6).
template <int bits>
inline __m128i widen_fields(__m128i v) {
    constexpr int max = (1 << bits) - 1;
    constexpr int magic = bits == 5 ? 8457 : 16645;
    constexpr int shift = bits == 5 ? 2 : 4;
    const __m128i numerator =
        _mm_add_epi16(_mm_mullo_epi16(v, _mm_set1_epi16(255)), _mm_set1_epi16(max / 2));
    return _mm_srli_epi16(_mm_mulhi_epu16(numerator, _mm_set1_epi16(magic)), shift);
}

// One row of 5-6-5 pixels, eight at a time; the rest through the tables.
size_t convert_565_row_sse2(const uint8_t* row, size_t count, uint32_t* out) {
    size_t x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * x));
        const __m128i r = widen_fields<5>(_mm_srli_epi16(p, 11));
        const __m128i g = widen_fields<6>(_mm_and_si128(_mm_srli_epi16(p, 5), _mm_set1_epi16(63)));
        const __m128i b = widen_fields<5>(_mm_and_si128(p, _mm_set1_epi16(31)));
        const __m128i gb = _mm_or_si128(_mm_slli_epi16(g, 8), b);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_unpacklo_epi16(gb, r));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_unpackhi_epi16(gb, r));
    }
    return x;
}
#endif

void convert_24_bit_rows(const video_surface& s, uint32_t* out) {
    for (int y = 0; y < s.height(); ++y) {
        const uint8_t* row = s.memory() + static_cast<size_t>(y) * s.pitch();
        for (int x = 0; x < s.width(); ++x, row += 3)
            *out++ = uint32_t{row[0]} | uint32_t{row[1]} << 8 | uint32_t{row[2]} << 16;
    }
}

// Without a palette an index shows as its grey level.
void convert_indexed_rows(const video_surface& s, uint32_t* out) {
    uint32_t colours[256];
    const palette_entries* palette = s.palette().get();
    for (uint32_t i = 0; i < 256; ++i) {
        const palette_entry e =
            palette ? (*palette)[i] : palette_entry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
        colours[i] = uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue;
    }
    for (int y = 0; y < s.height(); ++y) {
        const uint8_t* row = s.memory() + static_cast<size_t>(y) * s.pitch();
        for (int x = 0; x < s.width(); ++x) *out++ = colours[row[x]];
    }
}

} // namespace

template <typename Pixel>
void frame_converter::convert_rows(const video_surface& s, uint32_t* out) const {
    const auto width = static_cast<size_t>(s.width());
    const bool simd = is_565_ && sizeof(Pixel) == 2 && native_pixel_path();
    for (int y = 0; y < s.height(); ++y, out += width) {
        const uint8_t* row = s.memory() + static_cast<size_t>(y) * s.pitch();
        size_t x = 0;
#if defined(__x86_64__)
        if (simd) x = convert_565_row_sse2(row, width, out);
#else
        (void)simd;
#endif
        for (; x < width; ++x) {
            Pixel p;
            std::memcpy(&p, row + x * sizeof(Pixel), sizeof p);
            out[x] = red_.of(p) << 16 | green_.of(p) << 8 | blue_.of(p);
        }
    }
}

void frame_converter::convert(const video_surface& surface, rgb_frame& frame) const {
    frame.width = surface.width();
    frame.height = surface.height();
    frame.pixels.resize(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height));
    switch (surface.bytes_per_pixel()) {
    case 1:
        convert_indexed_rows(surface, frame.pixels.data());
        break;
    case 2:
        convert_rows<uint16_t>(surface, frame.pixels.data());
        break;
    case 3:
        convert_24_bit_rows(surface, frame.pixels.data());
        break;
    default:
        convert_rows<uint32_t>(surface, frame.pixels.data());
        break;
    }
}

rgb_frame frame_from_surface(const video_surface& surface) {
    rgb_frame frame;
    frame_converter(surface.format()).convert(surface, frame);
    return frame;
}

} // namespace vilora
