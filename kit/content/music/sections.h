// The piece's form: sections of orders that follow the show, each order
// playing its own pattern.
#pragma once

#include "kit/content/music/layers.h"

namespace vilora::kit::music {

struct section_plan {
    int first_order;
    int last_order;
    int rows; // per pattern
};

// Title 0–8 (an intro pattern, then the title), picture effects 9–22 (theme,
// interlude, theme), credits 23–25 (128 rows: the credits switch at row 96),
// greetings 26–28, the 3D middle 29–50 (build, acid, climax, climax with
// stabs), pinkous 51–54 (breakdown), landscape 55–61, finale 62–65, the
// cadence 66, which fades to silence, and the end at 67, where the show stops.
// Order 67 stays silent, but lasts 32 rows (3.4 s) so that the show, which
// looks at the position once a frame, cannot miss it.
constexpr section_plan sections[] = {{0, 0, 64},   {1, 8, 32},    {9, 16, 32},  {17, 19, 32},
                                     {20, 22, 32}, {23, 25, 128}, {26, 28, 64}, {29, 36, 32},
                                     {37, 40, 32}, {41, 46, 32},  {47, 50, 32}, {51, 54, 64},
                                     {55, 61, 32}, {62, 65, 64},  {66, 66, 64}, {67, 67, 32}};
constexpr int order_count = 68;

// One order's place in its section.
struct slot {
    int order;
    int index;     // within the section, from 0
    int count;     // orders in the section
    int first_bar; // bar of the section at the pattern's first row

    bool last() const { return index == count - 1; }
};

// Writes the pattern of `s.order`: orders 0–28, and 29–67.
void compose_first_half(pattern_writer& w, const slot& s);
void compose_second_half(pattern_writer& w, const slot& s);

} // namespace vilora::kit::music
