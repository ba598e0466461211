// Small XM modules made at test time: one row per 60 ms show frame (speed 3 at
// tempo 125: a tick is 20 ms, 882 frames at 44100 Hz), a beep on channel 0 and
// the cue instrument 64 on channel 1.
#pragma once

#include "kit/formats/xm_writer.h"

#include <string>
#include <vector>

namespace vilora::testing {

inline constexpr int cue_instrument = 64;
inline constexpr int cue_default_volume = 33;
// The note every cue plays (C-4), as cue data carries it in its low word.
inline constexpr uint32_t kit_note_c4 = kit::xm_note(4, 0);

struct cue_note {
    int order;
    int row;
    int volume; // -1: no volume column (the sample's default volume applies)
};

struct test_module_plan {
    int orders = 4;
    int rows = 16; // rows of every pattern
    std::vector<cue_note> cues;
    // A pattern loop in this order: rows loop_first..loop_last play loop_times + 1 times.
    int loop_order = -1;
    int loop_first = 0;
    int loop_last = 0;
    int loop_times = 0;
    // A pattern break (D00) in this order: rows after break_row are not played.
    int break_order = -1;
    int break_row = 0;
    // From this order on (set on its first row) every row lasts `slow_speed`
    // ticks instead of 3.
    int slow_order = -1;
    int slow_speed = 3;
};

kit::xm_module make_test_module(const test_module_plan& plan);
std::vector<uint8_t> test_module_bytes(const test_module_plan& plan);
// Writes the module to `path`; false on failure.
bool write_test_module(const std::string& path, const test_module_plan& plan);

} // namespace vilora::testing
