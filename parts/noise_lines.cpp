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

// Whether every pixel of the picture area that lies inside the surface holds
// the lines' colour: a line then changes nothing, only the draws it makes
// count. Lines only ever set pixels to that colour, so a pixel found holding
// it keeps it for the rest of the call, and the scan resumes where it
// stopped: over a whole call it reads each pixel at most once.
class area_filled {
public:
    area_filled(const locked_pixels& back, uint16_t colour, int32_t x, int32_t y, int32_t first,
                int32_t last)
        : back_(back), colour_(colour), left_(x + first), right_(x + last), row_(std::max(0, y)),
          bottom_(std::min(y + 200, back.height())), column_(left_) {}

    bool operator()() {
        if (left_ >= right_) return true;
        for (; row_ < bottom_; ++row_, column_ = left_) {
            const uint16_t* line = back_.row_pixels(row_);
            while (column_ < right_ && line[column_] == colour_) ++column_;
            if (column_ < right_) return false;
        }
        return true;
    }

private:
    const locked_pixels& back_;
    uint16_t colour_;
    int32_t left_, right_; // surface columns
    int32_t row_, bottom_; // surface rows
    int32_t column_;       // the scan's place in row_
};

// A line's draws: its row, then one per column.
constexpr uint64_t draws_per_line = 1 + 320;

} // namespace

void draw_noise_lines(const locked_pixels& back, int32_t count, uint16_t colour, int32_t x,
                      int32_t y) {
    int32_t thirds[320];
    // The columns of the 320 that lie inside the surface.
    const int32_t first = std::max(0, -x);
    const int32_t last = std::min(320, back.width() - x);
    area_filled filled(back, colour, x, y, first, last);
    for (int32_t n = 0; n < count; ++n) {
        if (filled()) {
            skip_random(static_cast<uint64_t>(count - n) * draws_per_line);
            return;
        }
        const int32_t row = y + random_int(200);
        random_ints(3, thirds, 320);
        if (uint16_t* line = back.row_pixels(row))
            set_where_two(thirds, first, last, colour, line + x);
    }
}

} // namespace vilora
