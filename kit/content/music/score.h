// The building blocks of the composition: the channel layout, chords and
// melodies, and a writer that puts notes into one pattern.
#pragma once

#include "kit/formats/xm_writer.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vilora::kit::music {

// Channels, each with one role and one place in the stereo field.
enum channel : int {
    ch_kick,
    ch_snare,
    ch_hat,
    ch_perc, // crash, toms, reverse cymbal
    ch_bass,
    ch_pad1,
    ch_pad2,
    ch_pad3,
    ch_lead,
    ch_echo, // the lead three rows later, softer, on the other side
    ch_arp,
    ch_bell,
    ch_fx,
    ch_chip,
    ch_chip2,
    ch_cue, // instrument 64 alone, so its notes never cut the music
    channel_count,
};

// Panning per channel, 0 left .. 255 right.
constexpr std::array<uint8_t, channel_count> channel_panning = {
    128, 120, 168, 96, 128, 56, 128, 200, 108, 184, 72, 184, 128, 88, 168, 128};

constexpr int rows_per_bar = 16; // four beats of four rows

// A triad: root pitch class (0 = C) and quality.
struct chord {
    int root;
    bool minor;

    // The three pitch classes, root first.
    std::array<int, 3> pitch_classes() const {
        return {root, (root + (minor ? 3 : 4)) % 12, (root + 7) % 12};
    }
};

using progression = std::array<chord, 4>; // one chord per bar

// The chord's pitch classes placed in [low, low + 12), lowest first.
std::array<int, 3> voicing(const chord& c, int low);
// The chord's root in [low, low + 12).
int root_in(const chord& c, int low);

// A melody note: its step (row) within four bars, MIDI pitch and length in rows.
struct melody_note {
    uint8_t step;
    uint8_t midi;
    uint8_t length;
};
using melody = std::span<const melody_note>;

// Writes one pattern. Pitches are MIDI numbers (60, middle C, is XM's C-4).
// A note's volume 0..64 is its velocity: scaled by the instrument's own
// volume (its sample's default, which the mix sets), it goes into the volume
// column, where it overrides that default. A note whose instrument sits
// elsewhere in the stereo field than its channel gets the channel's panning
// (effect 8xx) where the effect column is free. Cells past the writer's last
// row are dropped, so lines may run over its end.
class pattern_writer {
public:
    pattern_writer(xm_pattern& pattern, const std::vector<xm_instrument>& instruments)
        : pattern_(pattern), instruments_(instruments), rows_(pattern.rows()) {}

    // A writer of the same pattern's first `rows` rows: layers written through
    // it end there, and those that lead up to a pattern's end (fills, risers)
    // lead up to that row instead.
    pattern_writer first_rows(int rows) const;

    int rows() const { return rows_; }
    // The volume-column level of `volume` played on `instrument`.
    int level(uint8_t instrument, int volume) const;
    void note(int row, int channel, int midi, uint8_t instrument, int volume, uint8_t effect = 0,
              uint8_t parameter = 0);
    void key_off(int row, int channel);
    // A note of the cue instrument carrying `value` in its volume column.
    void cue(int row, uint8_t instrument, int value);
    // Ends a note of `instrument` at `row`: a key-off where its volume envelope
    // holds it; a sample that decays by itself is left to ring.
    void release(int row, int channel, uint8_t instrument);
    void volume(int row, int channel, uint8_t volume_column);
    void effect(int row, int channel, uint8_t effect, uint8_t parameter);
    bool has_events(int channel) const;
    // Whether the channel's last event leaves a note sounding.
    bool ends_sounding(int channel) const;

private:
    xm_cell* cell(int row, int channel);

    xm_pattern& pattern_;
    const std::vector<xm_instrument>& instruments_;
    int rows_;
};

// XM effect numbers used by the score.
namespace fx {
constexpr uint8_t arpeggio = 0x0;
constexpr uint8_t portamento = 0x3;
constexpr uint8_t panning = 0x8;
} // namespace fx

} // namespace vilora::kit::music
