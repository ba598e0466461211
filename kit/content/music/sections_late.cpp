// The second half: the 3D middle, the breakdown, the landscape, the finale
// and the cadence that ends it.
#include "kit/content/music/instruments.h"
#include "kit/content/music/melodies.h"
#include "kit/content/music/sections.h"

namespace vilora::kit::music {
namespace {

void drums(pattern_writer& w, int energy) {
    four_on_the_floor(w, 58 + energy, 0, w.rows());
    backbeat(w, clap, 58 + energy);
    hats(w, 38 + energy, 2);
}

// Orders 29–36: from kick and rolling bass up to a snare roll and riser.
void build(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index == 0) crash_at(w, 0, 44);
    four_on_the_floor(w, 54, 0, s.last() ? 24 : w.rows());
    rolling_bass(w, h, 44);
    pads(w, h, soft_pad, 34, false);
    arpeggio(w, h, pluck, ch_arp, 30, 0);
    if (s.index >= 2) {
        hats(w, 36, 2);
        backbeat(w, clap, 54);
    }
    if (s.index >= 4) play_melody(w, h, hook_b, bell, ch_bell, 26, 0, 12);
    if (s.index == 6) snare_roll(w, 0, 14, 32);
    if (s.last()) {
        snare_roll(w, 0, 32, 58);
        riser_to_end(w, 32);
    }
}

// Orders 37–40: the acid section, stabs on the minor bars.
void acid_section(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index == 0) crash_at(w, 0, 46);
    if (s.index == 2) zap_at(w, 0, 28);
    drums(w, 0);
    acid_line(w, h, 40, s.index % 2);
    stabs(w, h, 30);
    chip_arpeggio(w, h, ch_chip, 16);
    if (s.last()) {
        reverse_cymbal_to_end(w, 36);
        snare_roll(w, 24, 34, 54);
    }
}

// Orders 41–46: the climax, hook B with its echo over the full groove.
void climax(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index % 4 == 0) crash_at(w, 0, 46);
    drums(w, 2);
    offbeat_bass(w, h, 50);
    pads(w, h, saw_pad, 44, true);
    arpeggio(w, h, pluck, ch_arp, 30, 1);
    play_melody(w, h, hook_b, saw_lead, ch_lead, 54, 0, 18);
    if (s.index >= 2) play_melody(w, h, hook_b, bell, ch_bell, 20, 0, 0);
    if (s.last()) tom_fill(w, 48);
}

// Orders 47–50: hook A returns with stabs and chip sparkle; the kick drops
// out for the last bar before the breakdown.
void climax_stabs(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index == 0) crash_at(w, 0, 46);
    four_on_the_floor(w, 60, 0, s.last() ? 16 : w.rows());
    backbeat(w, clap, 60);
    hats(w, 40, 2);
    offbeat_bass(w, h, 50);
    pads(w, h, saw_pad, 44, true);
    play_melody(w, h, hook_a, saw_lead, ch_lead, 54, 0, 18);
    stabs(w, h, 28);
    chip_arpeggio(w, h, ch_chip, 18);
    if (s.last()) {
        snare_roll(w, 16, 30, 56);
        riser_to_end(w, 34);
    }
}

// Orders 51–54, 64 rows: no drums at first; pad and bell over F G Em Am, the
// lead joining, then the build back up.
void breakdown(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index == 0) crash_at(w, 0, 40);
    pads(w, h, soft_pad, 46, false);
    play_melody(w, h, break_tune, bell, ch_bell, 36, 0, 16);
    if (s.index >= 1) arpeggio(w, h, pluck, ch_arp, 24, 0);
    if (s.index >= 2) {
        long_bass(w, h, 40);
        play_melody(w, h, break_tune, saw_lead, ch_lead, 40, -12, 0);
    }
    if (s.last()) {
        four_on_the_floor(w, 48, 32, w.rows());
        snare_roll(w, 32, 20, 56);
        riser_to_end(w, 36);
    }
}

// Orders 55–61: the landscape over F C G Am, broken beat first, then straight.
void landscape(pattern_writer& w, const harmony& h, const slot& s) {
    if (s.index == 0 || s.index == 4) crash_at(w, 0, 44);
    if (s.index < 4)
        broken_kick(w, 54);
    else
        four_on_the_floor(w, 56, 0, w.rows());
    backbeat(w, clap, 54);
    hats(w, 36, 1);
    offbeat_bass(w, h, 46);
    pads(w, h, s.index < 4 ? soft_pad : saw_pad, 36, s.index >= 4);
    play_melody(w, h, land_tune, saw_lead, ch_lead, 52, 0, 18);
    arpeggio(w, h, pluck, ch_arp, 26, 2);
    if (s.last()) snare_roll(w, 24, 30, 56);
}

// Orders 62–65, 64 rows: everything, hook B then hook A, growing order by
// order: the bell doubles the lead from the second, the square lead an
// octave above from the third, stabs and a fill into the cadence on the last.
void finale(pattern_writer& w, const harmony& h, const slot& s) {
    crash_at(w, 0, 48);
    crash_at(w, 32, 40);
    drums(w, 2);
    offbeat_bass(w, h, 50);
    pads(w, h, saw_pad, 44, true);
    arpeggio(w, h, pluck, ch_arp, 30, 1);
    const melody tune = s.index >= 2 ? melody(hook_a) : melody(hook_b);
    play_melody(w, h, tune, saw_lead, ch_lead, 54, 0, 18);
    if (s.index >= 1) play_melody(w, h, tune, bell, ch_bell, 20, 0, 0);
    if (s.index >= 2) play_melody(w, h, tune, square_lead, ch_chip, 16, 12, 0);
    if (s.last()) {
        stabs(w, h, 26);
        tom_fill(w, 48);
    }
}

// The pluck's last arpeggio under the final chord, slowing from sixteenths
// to eighths to quarters as it fades.
void slowing_arpeggio(pattern_writer& w, const chord& c, int from_row, int volume) {
    constexpr int span = 24;
    for (int step = 0, n = 0; step < span; ++step) {
        if (step % (step < 4 ? 1 : step < 12 ? 2 : 4)) continue;
        const int left = span - step;
        w.note(from_row + step, ch_arp, arpeggio_pitch(c, 0, n++), pluck,
               volume * left * left / (span * span));
    }
}

// The final A minor at `row`, struck by everything at once; the held voices
// fade to silence over the next 28 rows (3 s).
void final_chord(pattern_writer& w, const chord& c, int row) {
    constexpr int fade_end = 28;
    crash_at(w, row, 52);
    w.note(row, ch_kick, 60, kick, 58);
    w.note(row, ch_chip2, root_in(c, 50), stab, 40);
    w.note(row, ch_bass, root_in(c, 33), bass, 50);
    fade_to_silence(w, ch_bass, bass, 50, row + 4, row + 20);
    const auto notes = voicing(c, 55);
    const int channels[] = {ch_pad1, ch_pad2, ch_pad3};
    for (int i = 0; i < 3; ++i) {
        w.note(row, channels[i], notes[static_cast<size_t>(i)], saw_pad, 44);
        fade_to_silence(w, channels[i], saw_pad, 44, row + 6, row + fade_end);
    }
    // The lead, its echo and its doubling hold the high A of the last phrase.
    fade_to_silence(w, ch_lead, saw_lead, 54, row + 8, row + fade_end);
    fade_to_silence(w, ch_echo, saw_lead, 18, row + 11, row + fade_end);
    fade_to_silence(w, ch_chip, square_lead, 16, row + 8, row + fade_end);
    slowing_arpeggio(w, c, row, 30);
}

// Order 66, 64 rows: the groove's last two bars over F and G climb through a
// snare roll and a tom fill to the final chord at row 32, which rings out to
// silence before the show ends at the next order.
void cadence(pattern_writer& w, const harmony& h) {
    constexpr int hit = 2 * rows_per_bar;
    pattern_writer run_up = w.first_rows(hit);
    pattern_writer groove = w.first_rows(hit - 4); // stops for the tom fill
    crash_at(run_up, 0, 48);
    four_on_the_floor(groove, 60, 0, groove.rows());
    backbeat(groove, clap, 60);
    hats(groove, 40, 2);
    offbeat_bass(run_up, h, 50);
    pads(run_up, h, saw_pad, 44, true);
    arpeggio(run_up, h, pluck, ch_arp, 30, 1);
    snare_roll(run_up, rows_per_bar, 34, 60);
    tom_fill(run_up, 50);
    riser_to_end(run_up, 34);
    play_melody(w, h, final_phrase, saw_lead, ch_lead, 54, 0, 18);
    play_melody(w, h, final_phrase, bell, ch_bell, 20, 0, 0);
    play_melody(w, h, final_phrase, square_lead, ch_chip, 16, 12, 0);
    final_chord(w, h.at(hit), hit);
}

} // namespace

void compose_second_half(pattern_writer& w, const slot& s) {
    if (s.order <= 36) {
        build(w, {main_chords, s.first_bar}, s);
    } else if (s.order <= 40) {
        acid_section(w, {acid_chords, s.first_bar}, s);
    } else if (s.order <= 46) {
        climax(w, {main_chords, s.first_bar}, s);
    } else if (s.order <= 50) {
        climax_stabs(w, {main_chords, s.first_bar}, s);
    } else if (s.order <= 54) {
        breakdown(w, {break_chords, s.first_bar}, s);
    } else if (s.order <= 61) {
        landscape(w, {land_chords, s.first_bar}, s);
    } else if (s.order <= 65) {
        finale(w, {main_chords, s.first_bar}, s);
    } else if (s.order == 66) {
        cadence(w, {cadence_chords, 0});
    }
}

} // namespace vilora::kit::music
