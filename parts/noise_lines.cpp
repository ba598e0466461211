#include "parts/noise_lines.h"

#include "engine/engine.h"

#include <algorithm>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace vilora {

namespace {

// line[k] = colour wherever draws[k] == 2, for first <= k < last: eight
// columns a step, the draws' compare packed into a 16-bit mask that selects
// between the colour and what the line holds.
void set_where_two(const int32_t* draws, int32_t first, int32_t last, uint16_t colour,
                   uint16_t* line) {
    int32_t k = first;
#if defined(__x86_64__)
    const __m128i two = _mm_set1_epi32(2);
    const __m128i fill = _mm_set1_epi16(static_cast<short>(colour));
    for (; k + 8 <= last; k += 8) {
        const __m128i low =
            _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(draws + k)), two);
        const __m128i high =
            _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(draws + k + 4)), two);
        const __m128i mask = _mm_packs_epi32(low, high);
        auto* at = reinterpret_cast<__m128i*>(line + k);
        const __m128i old = _mm_loadu_si128(at);
        _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(mask, fill), _mm_andnot_si128(mask, old)));
    }
#endif
    for (; k < last; ++k)
        if (draws[k] == 2) line[k] = colour;
}

} // namespace

void draw_noise_lines(const locked_pixels& back, int32_t count, uint16_t colour, int32_t x,
                      int32_t y) {
    int32_t thirds[320];
    // The columns of the 320 that lie inside the surface.
    const int32_t first = std::max(0, -x);
    const int32_t last = std::min(320, back.width() - x);
    for (int32_t n = 0; n < count; ++n) {
        const int32_t row = y + random_int(200);
        random_ints(3, thirds, 320);
        if (uint16_t* line = back.row_pixels(row))
            set_where_two(thirds, first, last, colour, line + x);
    }
}

} // namespace vilora
