// The tunes, four bars each (steps 0..63), in A minor. Pitches are MIDI
// numbers: A-4 is 69, C-5 72, E-5 76, A-5 81.
#pragma once

#include "kit/content/music/score.h"

namespace vilora::kit::music {

// Chords, one per bar.
constexpr chord am{9, true}, em{4, true}, c_major{0, false}, e_major{4, false}, f_major{5, false},
    g_major{7, false};
constexpr progression main_chords = {am, f_major, c_major, g_major};
constexpr progression break_chords = {f_major, g_major, em, am};
constexpr progression credits_chords = {am, g_major, f_major, e_major};
constexpr progression chip_chords = {am, f_major, g_major, e_major};
constexpr progression acid_chords = {am, am, f_major, g_major};
constexpr progression land_chords = {f_major, c_major, g_major, am};
// The cadence that ends the piece: F and G rising to the final A minor.
constexpr progression cadence_chords = {f_major, g_major, am, am};

// The main hook over Am F C G, in the 3-3-2 rhythm of the genre.
constexpr melody_note hook_a[] = {{0, 76, 3},  {3, 76, 3},  {6, 74, 2},  {8, 76, 3},  {11, 72, 3},
                                  {14, 69, 2}, {16, 72, 3}, {19, 72, 3}, {22, 69, 2}, {24, 72, 3},
                                  {27, 74, 3}, {30, 72, 2}, {32, 76, 3}, {35, 76, 3}, {38, 79, 2},
                                  {40, 76, 3}, {43, 74, 3}, {46, 72, 2}, {48, 74, 3}, {51, 74, 3},
                                  {54, 71, 2}, {56, 67, 6}, {62, 71, 2}};

// The soaring second hook over the same chords.
constexpr melody_note hook_b[] = {{0, 81, 6},  {6, 79, 2},  {8, 76, 4},  {12, 72, 2}, {14, 74, 2},
                                  {16, 77, 6}, {22, 76, 2}, {24, 72, 4}, {28, 69, 2}, {30, 72, 2},
                                  {32, 79, 6}, {38, 76, 2}, {40, 72, 4}, {44, 74, 2}, {46, 76, 2},
                                  {48, 74, 6}, {54, 71, 2}, {56, 67, 4}, {60, 71, 2}, {62, 74, 2}};

// The last phrase, over F and G: it climbs to the high A on the final chord
// and holds it while everything fades.
constexpr melody_note final_phrase[] = {{0, 77, 6},  {6, 76, 2},  {8, 72, 4},  {12, 74, 2},
                                        {14, 76, 2}, {16, 79, 6}, {22, 77, 2}, {24, 74, 4},
                                        {28, 76, 2}, {30, 79, 2}, {32, 81, 28}};

// The credits: a slow line over Am G F E, then its quicker answer.
constexpr melody_note credits_tune[] = {{0, 69, 4},  {4, 72, 4},  {8, 76, 6},  {14, 74, 2},
                                        {16, 74, 4}, {20, 71, 4}, {24, 67, 6}, {30, 71, 2},
                                        {32, 72, 4}, {36, 69, 4}, {40, 65, 6}, {46, 69, 2},
                                        {48, 71, 4}, {52, 68, 4}, {56, 64, 8}};
constexpr melody_note credits_answer[] = {
    {0, 76, 2},  {2, 81, 2},  {4, 79, 2},  {6, 76, 2},  {8, 72, 4},  {12, 76, 4},
    {16, 74, 2}, {18, 79, 2}, {20, 77, 2}, {22, 74, 2}, {24, 71, 4}, {28, 74, 4},
    {32, 72, 2}, {34, 77, 2}, {36, 76, 2}, {38, 72, 2}, {40, 69, 4}, {44, 72, 4},
    {48, 71, 2}, {50, 76, 2}, {52, 74, 2}, {54, 71, 2}, {56, 68, 8}};

// The sound-chip tune over Am F G E: broken chords in sixteenths.
constexpr melody_note chip_tune[] = {
    {0, 81, 2},  {2, 76, 1},  {3, 81, 1},  {4, 84, 2},  {6, 83, 2},  {8, 81, 2},  {10, 76, 2},
    {12, 72, 2}, {14, 76, 2}, {16, 77, 2}, {18, 72, 1}, {19, 77, 1}, {20, 81, 2}, {22, 79, 2},
    {24, 77, 2}, {26, 72, 2}, {28, 69, 2}, {30, 72, 2}, {32, 79, 2}, {34, 74, 1}, {35, 79, 1},
    {36, 83, 2}, {38, 81, 2}, {40, 79, 2}, {42, 74, 2}, {44, 71, 2}, {46, 74, 2}, {48, 80, 2},
    {50, 76, 1}, {51, 80, 1}, {52, 83, 2}, {54, 81, 2}, {56, 80, 4}, {60, 76, 2}, {62, 71, 2}};

// The breakdown over F G Em Am.
constexpr melody_note break_tune[] = {
    {0, 81, 6},  {6, 79, 2},  {8, 77, 4},  {12, 72, 4}, {16, 71, 6}, {22, 74, 2}, {24, 79, 8},
    {32, 79, 4}, {36, 76, 4}, {40, 71, 6}, {46, 74, 2}, {48, 72, 6}, {54, 71, 2}, {56, 69, 8}};

// The landscape over F C G Am.
constexpr melody_note land_tune[] = {{0, 72, 4},  {4, 77, 4},  {8, 81, 6},  {14, 79, 2},
                                     {16, 79, 6}, {22, 76, 2}, {24, 72, 6}, {30, 74, 2},
                                     {32, 74, 4}, {36, 79, 4}, {40, 83, 6}, {46, 81, 2},
                                     {48, 81, 8}, {56, 76, 4}, {60, 72, 4}};

// The intro's few bell notes over Am F C G.
constexpr melody_note intro_bells[] = {{0, 76, 8},  {8, 72, 8},  {16, 77, 8}, {24, 72, 8},
                                       {32, 79, 8}, {40, 76, 8}, {48, 74, 8}, {56, 71, 8}};

} // namespace vilora::kit::music
