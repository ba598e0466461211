// Bass lines, pads, arpeggios, stabs and melodies over a section's chords.
#include "kit/content/music/instruments.h"
#include "kit/content/music/layers.h"

#include <algorithm>

namespace vilora::kit::music {
namespace {

// One step of an acid line: semitones above the root (or a rest), accent, slide.
struct acid_step {
    int8_t offset; // -1 rests
    bool accent;
    bool slide;
};

constexpr acid_step acid_lines[2][16] = {
    {{0, true, false},
     {-1, false, false},
     {12, false, true},
     {0, false, false},
     {-1, false, false},
     {0, false, false},
     {12, true, false},
     {10, false, true},
     {0, true, false},
     {0, false, false},
     {-1, false, false},
     {7, false, true},
     {12, false, false},
     {0, true, false},
     {3, false, true},
     {0, false, false}},
    {{0, true, false},
     {0, false, false},
     {15, false, true},
     {12, false, false},
     {-1, false, false},
     {0, true, false},
     {7, false, false},
     {10, false, true},
     {12, true, false},
     {-1, false, false},
     {0, false, false},
     {0, false, false},
     {3, true, true},
     {0, false, false},
     {12, false, false},
     {-1, false, false}},
};

// Tone portamento speed for acid slides: fast enough to land within the row.
constexpr uint8_t slide_speed = 0x40;

} // namespace

void offbeat_bass(pattern_writer& w, const harmony& h, int volume) {
    for (int r = 2; r < w.rows(); r += 4) {
        w.note(r, ch_bass, root_in(h.at(r), 40), bass, volume);
        w.key_off(r + 2, ch_bass);
    }
}

void rolling_bass(pattern_writer& w, const harmony& h, int volume) {
    for (int r = 0; r < w.rows(); ++r) {
        const int step = r % 4;
        if (step == 0) continue; // the kick's place
        const int octave = r % 8 == 7 ? 12 : 0;
        w.note(r, ch_bass, root_in(h.at(r), 40) + octave, bass, step == 2 ? volume : volume - 8);
        if (step == 3) w.key_off(r + 1, ch_bass);
    }
}

void long_bass(pattern_writer& w, const harmony& h, int volume) {
    for (int r = 0; r < w.rows(); r += rows_per_bar) {
        w.note(r, ch_bass, root_in(h.at(r), 33), bass, volume);
        w.key_off(r + rows_per_bar - 2, ch_bass);
    }
}

void chip_bass_line(pattern_writer& w, const harmony& h, int volume) {
    for (int r = 0; r < w.rows(); r += 2) {
        const int octave = (r / 2) % 2 ? 12 : 0;
        w.note(r, ch_bass, root_in(h.at(r), 33) + octave, chip_bass, r % 4 ? volume - 8 : volume);
    }
}

void acid_line(pattern_writer& w, const harmony& h, int volume, int variant) {
    const auto& line = acid_lines[variant % 2];
    for (int r = 0; r < w.rows(); ++r) {
        const acid_step& s = line[r % rows_per_bar];
        if (s.offset < 0) {
            w.key_off(r, ch_bass);
            continue;
        }
        const int pitch = root_in(h.at(r), 36) + s.offset;
        const int v = s.accent ? volume + 10 : volume;
        // A slide needs a note still held to glide from; after a rest it
        // would glide a released, fading note, so it strikes afresh instead.
        const bool rested = line[(r + rows_per_bar - 1) % rows_per_bar].offset < 0;
        if (s.slide && !rested && r > 0)
            w.note(r, ch_bass, pitch, acid, v, fx::portamento, slide_speed);
        else
            w.note(r, ch_bass, pitch, acid, v);
    }
}

void pads(pattern_writer& w, const harmony& h, uint8_t instrument, int volume, bool pump) {
    constexpr int channels[] = {ch_pad1, ch_pad2, ch_pad3};
    const int ducked = volume * 5 / 12;
    // Back up from the duck by a volume-column slide of k per tick, over the
    // five sliding ticks of each of two rows.
    const int low = w.level(instrument, ducked);
    const int k = std::clamp((w.level(instrument, volume) - low + 5) / 10, 1, 15);
    for (int r = 0; r < w.rows(); ++r) {
        if (r % rows_per_bar == 0) {
            const auto notes = voicing(h.at(r), 55);
            for (int i = 0; i < 3; ++i)
                w.note(r, channels[i], notes[static_cast<size_t>(i)], instrument,
                       pump ? ducked : volume);
        }
        if (!pump) continue;
        for (int ch : channels) {
            if (r % 4 == 0) w.volume(r, ch, xm_set_volume(low));
            if (r % 4 == 1 || r % 4 == 2) w.volume(r, ch, static_cast<uint8_t>(0x70 + k));
        }
    }
}

int arpeggio_pitch(const chord& c, int shape, int step) {
    constexpr int shapes[3][8] = {
        {0, 1, 2, 3, 4, 3, 2, 1}, {0, 3, 1, 4, 2, 5, 1, 3}, {0, 3, 0, 4, 0, 5, 0, 4}};
    const auto notes = voicing(c, 57);
    const int index = shapes[shape % 3][step % 8];
    return notes[static_cast<size_t>(index % 3)] + 12 * (index / 3);
}

void arpeggio(pattern_writer& w, const harmony& h, uint8_t instrument, int channel, int volume,
              int shape, row_span rows) {
    for (int r = rows.from; r < std::min(rows.to, w.rows()); ++r)
        w.note(r, channel, arpeggio_pitch(h.at(r), shape, r), instrument,
               r % 4 == 0 ? volume : volume - 10);
}

void chip_arpeggio(pattern_writer& w, const harmony& h, int channel, int volume) {
    for (int r = 0; r < w.rows(); ++r) {
        const chord c = h.at(r);
        const uint8_t intervals = c.minor ? 0x37 : 0x47; // third and fifth above the root
        if (r % 4 == 0)
            w.note(r, channel, root_in(c, 60), chip_arp, volume, fx::arpeggio, intervals);
        else
            w.effect(r, channel, fx::arpeggio, intervals);
    }
}

void stabs(pattern_writer& w, const harmony& h, int volume) {
    for (int r = 0; r < w.rows(); ++r) {
        const int step = r % rows_per_bar;
        if (!h.at(r).minor || (step != 0 && step != 6 && step != 10)) continue;
        // The stab is an A minor chord on A-3: its root sets the chord.
        w.note(r, ch_bell, root_in(h.at(r), 50), stab, step ? volume - 6 : volume);
    }
}

void play_melody(pattern_writer& w, const harmony& h, melody m, uint8_t instrument, int channel,
                 int volume, int transpose, int echo_volume, row_span rows) {
    for (int r = rows.from; r < std::min(rows.to, w.rows()); ++r) {
        const int step = h.melody_step(r);
        for (const melody_note& n : m) {
            if (n.step != step) continue;
            const int pitch = n.midi + transpose;
            w.note(r, channel, pitch, instrument, volume);
            w.release(r + n.length, channel, instrument);
            if (echo_volume > 0) {
                w.note(r + 3, ch_echo, pitch, instrument, echo_volume);
                w.release(r + 3 + n.length, ch_echo, instrument);
            }
        }
    }
}

void fade_to_silence(pattern_writer& w, int channel, uint8_t instrument, int volume, int from_row,
                     int to_row) {
    const int start = w.level(instrument, volume);
    const int span = std::max(1, to_row - from_row);
    for (int r = from_row + 1; r <= to_row; ++r) {
        const int left = std::max(0, to_row - r);
        w.volume(r, channel, xm_set_volume(start * left * left / (span * span)));
    }
    w.release(to_row, channel, instrument);
}

} // namespace vilora::kit::music
