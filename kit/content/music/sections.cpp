// The sections of the piece, one function each, following the show: what
// plays in each pattern of the section, by its place in the section.
#include "kit/content/music/sections.h"

#include "kit/content/music/instruments.h"
#include "kit/content/music/melodies.h"

namespace vilora::kit::music {
namespace {

// Drums, bass and pumping pads of the full-on sections.
void full_groove(pattern_writer& w, const harmony& h, int energy) {
    four_on_the_floor(w, 58 + energy, 0, w.rows());
    backbeat(w, clap, 58 + energy);
    hats(w, 38 + energy, 2);
    offbeat_bass(w, h, 48 + energy);
    pads(w, h, saw_pad, 42, true);
}

// Order 0: the title picture over a swelling pad; the title scene from row
// 32, where the arpeggio enters; a riser into the title.
void intro(pattern_writer& w, const harmony& h, const slot&) {
    pads(w, h, soft_pad, 44, false);
    play_melody(w, h, intro_bells, bell, ch_bell, 30, 0, 12);
    arpeggio(w, h, pluck, ch_arp, 28, 0, {32, 64});
    zap_at(w, 32, 24);
    riser_to_end(w, 28);
    reverse_cymbal_to_end(w, 34);
}

// Orders 1–8: the title builds a layer at a time up to the first drop.
void title(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index == 0) crash_at(w, 0, 44);
    pads(w, h, saw_pad, 34, s.index >= 4);
    arpeggio(w, h, pluck, ch_arp, 32, 0);
    if (s.index < 6) play_melody(w, h, hook_a, bell, ch_bell, 28, 0, 12);
    if (s.index < 2) {
        for (int r = 0; r < w.rows(); r += rows_per_bar) w.note(r, ch_kick, 60, kick, 50);
        return;
    }
    four_on_the_floor(w, 52, 0, w.rows());
    hats(w, 36, s.index >= 4 ? 2 : 0);
    if (s.index < 4) {
        long_bass(w, h, 40);
        return;
    }
    offbeat_bass(w, h, 46);
    backbeat(w, clap, 54);
    if (s.index >= 6) play_melody(w, h, hook_a, saw_lead, ch_lead, 46, 0, 14);
    if (s.index == 6) stabs(w, h, 30);
    if (s.last()) {
        snare_roll(w, 16, 28, 56);
        riser_to_end(w, 30);
        reverse_cymbal_to_end(w, 34);
    }
}

// Orders 9–16: the main theme, hook A with its echo; the bell doubles it an
// octave up in the second half.
void theme(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index % 4 == 0) crash_at(w, 0, 46);
    full_groove(w, h, 0);
    arpeggio(w, h, pluck, ch_arp, 30, 1);
    play_melody(w, h, hook_a, saw_lead, ch_lead, 52, 0, 18);
    if (s.index >= 4) play_melody(w, h, hook_a, bell, ch_bell, 20, 12, 0);
    if (s.last()) tom_fill(w, 48);
}

// Orders 17–19: lighter, over F G Em Am: rolling bass, soft pad, the bell.
void interlude(pattern_writer& w, const harmony& h, const slot& s) {
    four_on_the_floor(w, 52, 0, w.rows());
    hats(w, 34, 1);
    rolling_bass(w, h, 44);
    pads(w, h, soft_pad, 40, false);
    play_melody(w, h, break_tune, bell, ch_bell, 34, 0, 14);
    arpeggio(w, h, pluck, ch_arp, 26, 2);
    if (s.last()) reverse_cymbal_to_end(w, 36);
}

// Orders 20–22: the theme again, the square lead doubling the hook above.
void theme_again(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index == 0) crash_at(w, 0, 46);
    full_groove(w, h, 2);
    arpeggio(w, h, pluck, ch_arp, 30, 1);
    play_melody(w, h, hook_a, saw_lead, ch_lead, 52, 0, 18);
    play_melody(w, h, hook_a, square_lead, ch_chip, 24, 12, 0);
    stabs(w, h, 28);
    if (s.last()) snare_roll(w, 24, 30, 54);
}

// Orders 23–25, 128 rows: the credits groove over Am G F E. At row 96, where
// the credits change, a crash, open hats and the square lead's answer.
void credits(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index == 0) zap_at(w, 0, 28);
    broken_kick(w, 54);
    backbeat(w, snare, 56);
    hats(w, 32, 1);
    chip_bass_line(w, h, 36);
    pads(w, h, soft_pad, 34, false);
    play_melody(w, h, credits_tune, bell, ch_bell, 36, 0, 14, {0, 96});
    play_melody(w, h, credits_answer, square_lead, ch_lead, 34, 0, 14, {96, 128});
    arpeggio(w, h, pluck, ch_arp, 22, 2, {96, 128});
    crash_at(w, 96, 42);
    if (s.last()) tom_fill(w, 46);
}

// Orders 26–28: the sound-chip interlude; each order adds to the last.
void chip(pattern_writer& w, const harmony& h, const slot& s) {
    chip_arpeggio(w, h, ch_chip, 34);
    chip_bass_line(w, h, 40);
    chip_drums(w, s.index >= 1, 42);
    if (s.index >= 1) play_melody(w, h, chip_tune, square_lead, ch_lead, 38, 0, 16);
    if (s.index >= 2) play_melody(w, h, chip_tune, bell, ch_bell, 14, 12, 0);
    if (s.last()) riser_to_end(w, 30);
}

} // namespace

void compose_first_half(pattern_writer& w, const slot& s) {
    if (s.order == 0) {
        intro(w, {main_chords, 0}, s);
    } else if (s.order <= 8) {
        title(w, {main_chords, s.first_bar}, s);
    } else if (s.order <= 16) {
        theme(w, {main_chords, s.first_bar}, s);
    } else if (s.order <= 19) {
        interlude(w, {break_chords, s.first_bar}, s);
    } else if (s.order <= 22) {
        theme_again(w, {main_chords, s.first_bar}, s);
    } else if (s.order <= 25) {
        credits(w, {credits_chords, s.first_bar}, s);
    } else {
        chip(w, {chip_chords, s.first_bar}, s);
    }
}

} // namespace vilora::kit::music
