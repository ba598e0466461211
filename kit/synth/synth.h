// Integer sound synthesis for the module's instruments. Every operation is
// integer arithmetic (C++20 shifts of negative values are arithmetic), so
// the samples come out bit for bit the same on every machine and compiler.
//
// Signals are Q15 in int32: 32767 is full scale; sums may run past it until
// normalise() brings them back.
#pragma once

#include "kit/formats/xm_writer.h"

#include <cstdint>
#include <vector>

namespace vilora::kit::music {

using signal = std::vector<int32_t>;

// Every instrument is rendered at four times the 8363 Hz that an XM sample
// plays at on C-4, so relative note +24 plays it at its own rate there.
constexpr int32_t sample_rate = 33452;
// Loops whose lengths divide the sine table's size repeat exactly. A period of
// 128 samples at sample_rate is 261.3 Hz, C-4 within 2 cents.
constexpr int32_t table_size = 16384;
constexpr int32_t c4_period = 128;
constexpr int32_t full_scale = 32767;

// sin(2π · index / table_size) in Q30; any index, taken modulo table_size.
int32_t sine_at(int64_t index);
// sin(2π · phase / 2^32) in Q15, linearly interpolated between table entries.
int32_t sine(uint32_t phase);
// Phase advance per sample of a tone of `millihertz` (1/1000 Hz).
uint32_t phase_step(int64_t millihertz);
// floor(sqrt(v)).
uint64_t isqrt(uint64_t v);

// A white-noise source: xorshift32, uniform over -32768..32767.
class noise_source {
public:
    explicit noise_source(uint32_t seed) : state_(seed ? seed : 1) {}
    int32_t next();

private:
    uint32_t state_;
};

// Exponential decay with time constant `samples`: the Q30 factor applied per
// sample is 1 - 1/samples, so after `samples` samples about 1/e is left.
class decay {
public:
    explicit decay(int32_t samples, int32_t start_q30 = 1 << 30)
        : level_(start_q30), factor_((1 << 30) - (1 << 30) / samples) {}
    // The level before this sample's decay, Q30.
    int32_t next();

private:
    int64_t level_;
    int64_t factor_;
};

// Two-pole state-variable filter (Chamberlin), states kept 8 bits finer than
// the signal. Stable for cutoffs below about a sixth of the sample rate.
class state_variable_filter {
public:
    struct outputs {
        int32_t low, band, high;
    };
    // `cutoff_hz` sets f = 2·sin(π·fc/fs); `damping_q16` is 1/Q (Q16, 65536 = 1).
    outputs step(int32_t in, int32_t cutoff_hz, int32_t damping_q16);

private:
    int64_t low_ = 0;
    int64_t band_ = 0;
};

// Samples in `milliseconds` at sample_rate.
constexpr int32_t ms(int32_t milliseconds) {
    return sample_rate * milliseconds / 1000;
}

// A sine whose pitch falls from `low_hz` + `high_hz` towards `low_hz` with
// time constant `pitch_tau`, under an amplitude decay of constant `amp_tau`
// (both in samples): kicks, toms, the body of a snare, zaps.
signal falling_sine(int32_t length, int32_t low_hz, int32_t high_hz, int32_t pitch_tau,
                    int32_t amp_tau);

// One sine partial of a loop: `cycles` periods per loop, Q16 amplitude.
struct partial {
    int32_t cycles;
    int32_t amplitude_q16;
};

// A loop of `length` samples (a divisor of table_size) summing the partials;
// a partial of amplitude 1.0 alone reaches full scale.
signal additive(int32_t length, const std::vector<partial>& partials);

// The gain (Q16) of a resonant two-pole low-pass at harmonic h, its cutoff at
// harmonic `cutoff_q8` / 256 and its Q `q_q8` / 256.
int32_t lowpass_gain(int32_t h, int32_t cutoff_q8, int32_t q_q8);
// Harmonics 1..max_harmonic - 1 of a sawtooth at `cycles` per loop, through
// that low-pass.
std::vector<partial> saw_partials(int32_t cycles, int32_t max_harmonic, int32_t cutoff_q8,
                                  int32_t q_q8, int32_t amplitude_q16);
// Odd harmonics only, 1/h: a square wave.
std::vector<partial> square_partials(int32_t cycles, int32_t max_harmonic, int32_t cutoff_q8,
                                     int32_t amplitude_q16);

// Band-limited sawtooths (harmonics below 11 kHz) with the given phase steps,
// summed through a resonant low-pass whose cutoff in Hz follows
// `cutoff_hz[n / 32]`, one value per block of 32 samples. A voice whose step
// divides 2^32 repeats exactly wherever the cutoff holds still.
signal filtered_saws(int32_t length, const std::vector<uint32_t>& steps,
                     const std::vector<int32_t>& cutoff_hz, int32_t q_q8);
// Cubic soft clipping after a gain of `drive_q8` / 256: 1.5x - 0.5x³ on
// full-scale units, limited to ±full scale.
void soft_clip(signal& s, int32_t drive_q8);
// Scales so that the largest magnitude is `peak` (truncating toward zero).
void normalise(signal& s, int32_t peak);
// The decay of constant `samples` applied to the whole signal.
void apply_decay(signal& s, int32_t samples);
// Linear fade to silence over the last `samples` samples.
void fade_out(signal& s, int32_t samples);
signal mix(const signal& a, const signal& b, int32_t b_gain_q16);

// An XM sample holding `s`: 16-bit, or 8-bit rounded to nearest. The relative
// note makes XM note `native_midi` - 11 (MIDI 60, middle C, is C-4) play the
// sample at its own rate, which is sample_rate >> rate_shift.
xm_sample to_sample(const signal& s, const char* name, bool sixteen_bit, int native_midi,
                    int rate_shift = 0);
// The same, with a forward loop over the last `loop_length` samples.
xm_sample to_looped_sample(const signal& s, const char* name, bool sixteen_bit, int native_midi,
                           uint32_t loop_length);

} // namespace vilora::kit::music
