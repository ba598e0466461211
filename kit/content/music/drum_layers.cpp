// Drum grooves, fills and transition effects.
#include "kit/content/music/instruments.h"
#include "kit/content/music/layers.h"

#include <algorithm>

namespace vilora::kit::music {

namespace {
constexpr int drum_pitch = 60; // every drum plays at its own rate on C-4
}

void four_on_the_floor(pattern_writer& w, int volume, int from_row, int to_row) {
    for (int r = from_row; r < std::min(to_row, w.rows()); r += 4)
        w.note(r, ch_kick, drum_pitch, kick, r % rows_per_bar == 0 ? volume : volume - 4);
}

void broken_kick(pattern_writer& w, int volume) {
    for (int r = 0; r < w.rows(); ++r) {
        const int step = r % rows_per_bar;
        if (step == 0 || step == 10) w.note(r, ch_kick, drum_pitch, kick, volume);
        if (step == 7 && (r / rows_per_bar) % 2 == 1)
            w.note(r, ch_kick, drum_pitch, kick, volume - 14);
    }
}

void backbeat(pattern_writer& w, uint8_t instrument, int volume) {
    for (int r = 4; r < w.rows(); r += 8) w.note(r, ch_snare, drum_pitch, instrument, volume);
}

void hats(pattern_writer& w, int volume, int density) {
    for (int r = 0; r < w.rows(); ++r) {
        if (r % 4 == 2)
            w.note(r, ch_hat, drum_pitch, open_hat, volume);
        else if (density >= 2 || (density == 1 && r % 4 == 0))
            w.note(r, ch_hat, drum_pitch, closed_hat, r % 2 ? volume - 14 : volume - 6);
    }
}

void snare_roll(pattern_writer& w, int from_row, int volume_from, int volume_to) {
    const int span = std::max(1, w.rows() - from_row);
    const int sixteenths_from = w.rows() - span / 2;
    for (int r = from_row; r < w.rows(); ++r) {
        if (r < sixteenths_from && (r - from_row) % 2) continue;
        const int volume = volume_from + (volume_to - volume_from) * (r - from_row) / span;
        w.note(r, ch_snare, drum_pitch, snare, volume);
    }
}

void tom_fill(pattern_writer& w, int volume) {
    constexpr int pitches[] = {67, 63, 60, 55};
    for (int i = 0; i < 4; ++i) w.note(w.rows() - 4 + i, ch_perc, pitches[i], tom, volume);
}

void crash_at(pattern_writer& w, int row, int volume) {
    w.note(row, ch_perc, drum_pitch, crash, volume);
}

void chip_drums(pattern_writer& w, bool full, int volume) {
    for (int r = 0; r < w.rows(); ++r) {
        const int step = r % rows_per_bar;
        if (step == 4 || step == 12)
            w.note(r, ch_snare, 62, noise_drum, volume + 10);
        else if (step == 0 || step == 8 || step == 10)
            w.note(r, ch_kick, 36, noise_drum, volume + 4);
        else if (full && r % 2 == 0)
            w.note(r, ch_hat, 84, noise_drum, volume - 10);
    }
}

void riser_to_end(pattern_writer& w, int volume) {
    w.note(std::max(0, w.rows() - 2 * rows_per_bar), ch_fx, drum_pitch, riser, volume);
}

void reverse_cymbal_to_end(pattern_writer& w, int volume) {
    w.note(std::max(0, w.rows() - rows_per_bar), ch_perc, drum_pitch, reverse_cymbal, volume);
}

void zap_at(pattern_writer& w, int row, int volume) {
    w.note(row, ch_fx, drum_pitch, zap, volume);
}

} // namespace vilora::kit::music
