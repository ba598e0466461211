// Writes Extended Module ("XM", version 1.04) files from memory: a module of
// orders, patterns of rows of cells, and instruments with envelopes and
// samples, laid out as trackers and players read it. Patterns are packed cell
// by cell; sample data is delta-encoded, 8 or 16 bits per sample.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vilora::kit {

// Cell notes: 0 is no note, 1..96 are C-0..B-7, 97 releases the key.
constexpr uint8_t xm_no_note = 0;
constexpr uint8_t xm_key_off = 97;
constexpr uint8_t xm_note(int octave, int semitone) {
    return static_cast<uint8_t>(1 + octave * 12 + semitone);
}
// The volume column's set-volume range: 0x10 + volume, volume 0..64.
constexpr uint8_t xm_set_volume(int volume) {
    return static_cast<uint8_t>(0x10 + volume);
}

struct xm_cell {
    uint8_t note = xm_no_note;
    uint8_t instrument = 0; // 1-based; 0 keeps the channel's instrument
    uint8_t volume = 0;     // the volume column byte; 0 is empty
    uint8_t effect = 0;
    uint8_t parameter = 0;

    bool empty() const { return !note && !instrument && !volume && !effect && !parameter; }
};

// Rows of cells, row-major: cell (row, channel) is cells[row * channels + channel].
class xm_pattern {
public:
    // A size out of range makes a pattern that xm_check() refuses, not a fault.
    xm_pattern(int rows, int channels)
        : rows_(rows), channels_(channels),
          cells_(rows > 0 && channels > 0 ? static_cast<size_t>(rows * channels) : 0) {}

    int rows() const { return rows_; }
    int channels() const { return channels_; }
    xm_cell& at(int row, int channel) {
        return cells_[static_cast<size_t>(row * channels_ + channel)];
    }
    const xm_cell& at(int row, int channel) const {
        return cells_[static_cast<size_t>(row * channels_ + channel)];
    }

private:
    int rows_;
    int channels_;
    std::vector<xm_cell> cells_;
};

struct xm_envelope_point {
    uint16_t tick;  // ticks from the note's start, increasing from point to point
    uint16_t value; // 0..64 (volume), 0..64 with 32 centred (panning)
};

struct xm_envelope {
    std::vector<xm_envelope_point> points; // at most 12
    bool on = false;
    bool sustain = false;
    bool loop = false;
    uint8_t sustain_point = 0;
    uint8_t loop_start = 0;
    uint8_t loop_end = 0;
};

enum class xm_loop : uint8_t { none = 0, forward = 1, ping_pong = 2 };

struct xm_sample {
    std::string name; // at most 22 bytes
    // One value per sample: -32768..32767, or -128..127 when !sixteen_bit.
    std::vector<int16_t> data;
    bool sixteen_bit = true;
    xm_loop loop = xm_loop::none;
    uint32_t loop_start = 0; // in samples, not bytes
    uint32_t loop_length = 0;
    uint8_t volume = 64; // 0..64
    int8_t finetune = 0; // 1/128 semitone
    uint8_t panning = 128;
    int8_t relative_note = 0; // semitones; 0 plays C-4 at 8363 Hz
};

struct xm_instrument {
    std::string name;                         // at most 22 bytes
    std::vector<xm_sample> samples;           // at most 16; none is an empty slot
    std::array<uint8_t, 96> sample_of_note{}; // index into samples, per note C-0..B-7
    xm_envelope volume_envelope;
    xm_envelope panning_envelope;
    uint8_t vibrato_type = 0; // 0 sine, 1 square, 2 ramp down, 3 ramp up
    uint8_t vibrato_sweep = 0;
    uint8_t vibrato_depth = 0;
    uint8_t vibrato_rate = 0;
    uint16_t fadeout = 0; // subtracted from 65536 per tick after key-off
};

struct xm_module {
    std::string name;                   // at most 20 bytes
    std::string tracker = "vilora-kit"; // at most 20 bytes
    int channels = 8;                   // 1..32; every pattern has this many
    bool linear_frequencies = true;
    uint16_t restart = 0;                   // order to go on from after the last
    uint16_t speed = 6;                     // ticks per row, 1..31
    uint16_t tempo = 125;                   // BPM: a tick lasts 2.5 / tempo seconds, 32..255
    std::vector<uint8_t> orders;            // 1..256 pattern indices
    std::vector<xm_pattern> patterns;       // at most 256, 1..256 rows each
    std::vector<xm_instrument> instruments; // at most 128; cell instrument n is [n - 1]
};

// Empty when `module` can be written, else why not.
std::string xm_check(const xm_module& module);
// The file's bytes; empty when xm_check() finds a fault.
std::vector<uint8_t> xm_file(const xm_module& module);

} // namespace vilora::kit
