// The parts the arrangement layers into each pattern: drum grooves and
// fills, bass lines, pads, arpeggios, melodies and transition effects.
// Volumes are 0..64.
#pragma once

#include "kit/content/music/score.h"

namespace vilora::kit::music {

// Where a pattern sits in its section's harmony: the section's chords, one per
// bar, repeating, and the bar of the section at the pattern's first row.
struct harmony {
    const progression& chords;
    int first_bar;

    chord at(int row) const {
        return chords[static_cast<size_t>((first_bar + row / rows_per_bar) % 4)];
    }
    // The row's step in a four-bar melody.
    int melody_step(int row) const { return ((first_bar % 4) * rows_per_bar + row) % 64; }
};

// Rows [from, to) of a pattern.
struct row_span {
    int from = 0;
    int to = 256;
};

// Drums.
void four_on_the_floor(pattern_writer& w, int volume, int from_row, int to_row);
// Kicks on 1 and the "and" of 3 of each bar: a broken, electro feel.
void broken_kick(pattern_writer& w, int volume);
void backbeat(pattern_writer& w, uint8_t instrument, int volume);
// Open hats on the off-beats; closed hats on the beats (density 1) and on
// every sixteenth (density 2) as well.
void hats(pattern_writer& w, int volume, int density);
// Snares from `from_row` to the end, eighths then sixteenths, getting louder.
void snare_roll(pattern_writer& w, int from_row, int volume_from, int volume_to);
// Four toms falling in pitch over the pattern's last four rows.
void tom_fill(pattern_writer& w, int volume);
void crash_at(pattern_writer& w, int row, int volume);
// The sound chip's noise channel as kick, snare and (when `full`) hats.
void chip_drums(pattern_writer& w, bool full, int volume);

// Basses.
void offbeat_bass(pattern_writer& w, const harmony& h, int volume);
void rolling_bass(pattern_writer& w, const harmony& h, int volume);
// One long root per bar.
void long_bass(pattern_writer& w, const harmony& h, int volume);
void chip_bass_line(pattern_writer& w, const harmony& h, int volume);
// A sixteen-step acid line with accents and slides; `variant` picks one of two.
void acid_line(pattern_writer& w, const harmony& h, int volume, int variant);

// Three-voice chords on the pad channels, one per bar. `pump` ducks them on
// every beat and lets them swell back, as a side-chained compressor would.
void pads(pattern_writer& w, const harmony& h, uint8_t instrument, int volume, bool pump);
// Sixteenth-note arpeggios over two octaves of the chord; `shape` 0..2.
// Their pitch at a step of the shape, from A-3 up.
int arpeggio_pitch(const chord& c, int shape, int step);
void arpeggio(pattern_writer& w, const harmony& h, uint8_t instrument, int channel, int volume,
              int shape, row_span rows = {});
// The chord as a fast tracker arpeggio (effect 0xy) on one channel.
void chip_arpeggio(pattern_writer& w, const harmony& h, int channel, int volume);
// Rave stabs, syncopated, on the bars whose chord is minor.
void stabs(pattern_writer& w, const harmony& h, int volume);

// A four-bar melody transposed by `transpose` semitones; with `echo_volume`
// above 0 it repeats three rows later on the echo channel.
void play_melody(pattern_writer& w, const harmony& h, melody m, uint8_t instrument, int channel,
                 int volume, int transpose, int echo_volume, row_span rows = {});

// Fades the note held on `channel`, struck at `volume` on `instrument`, to
// silence at `to_row` with a set-volume every row after `from_row`, and
// releases it there. The level falls as the square of the rows left: -6 dB
// at 29 % of the way, -20 dB at 68 %, -40 dB at 90 %, the shape of a sound
// dying away in a room rather than a straight ramp that seems to hang, then drop.
void fade_to_silence(pattern_writer& w, int channel, uint8_t instrument, int volume, int from_row,
                     int to_row);

// Transitions: a riser over the last two bars, a reverse cymbal over the last
// bar, a zap at a row.
void riser_to_end(pattern_writer& w, int volume);
void reverse_cymbal_to_end(pattern_writer& w, int volume);
void zap_at(pattern_writer& w, int row, int volume);

} // namespace vilora::kit::music
