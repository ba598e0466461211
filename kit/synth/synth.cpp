#include "kit/synth/synth.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vilora::kit::music {
namespace {

// sin(π/2 · t) for t = q / 4096, q in 0..4096, in Q30: the Taylor series of
// degree 11 in Horner form, at most 6e-8 off. The coefficients are
// (-1)^k (π/2)^(2k+1) / (2k+1)! in Q30.
int64_t quarter_sine_q30(int64_t q) {
    constexpr int64_t c[] = {1686629713, -693598668, 85569306, -5026995, 172272, -3864};
    const int64_t t = q << 18;
    const int64_t t2 = (t * t) >> 30;
    int64_t acc = c[5];
    for (int k = 4; k >= 0; --k) acc = c[k] + ((acc * t2) >> 30);
    return (acc * t) >> 30;
}

const std::array<int32_t, table_size + 1>& sine_table() {
    static const std::array<int32_t, table_size + 1> table = [] {
        std::array<int32_t, table_size + 1> t{};
        constexpr int32_t quarter = table_size / 4;
        for (int32_t i = 0; i <= table_size; ++i) {
            const int32_t k = i % table_size;
            const int32_t in_quarter = k % quarter;
            const int32_t q = (k / quarter) % 2 == 0 ? in_quarter : quarter - in_quarter;
            const int64_t v = quarter_sine_q30(q * (4096 / quarter));
            t[static_cast<size_t>(i)] = static_cast<int32_t>(k < table_size / 2 ? v : -v);
        }
        return t;
    }();
    return table;
}

} // namespace

int32_t sine_at(int64_t index) {
    const int64_t k = ((index % table_size) + table_size) % table_size;
    return sine_table()[static_cast<size_t>(k)];
}

int32_t sine(uint32_t phase) {
    const auto& t = sine_table();
    const uint32_t i = phase >> 18; // 14 bits of index, 18 of fraction
    const int64_t frac = phase & 0x3FFFF;
    const int64_t a = t[i];
    const int64_t b = t[i + 1];
    return static_cast<int32_t>((a + (((b - a) * frac) >> 18)) >> 15);
}

uint32_t phase_step(int64_t millihertz) {
    return static_cast<uint32_t>((millihertz << 32) / (int64_t{sample_rate} * 1000));
}

uint64_t isqrt(uint64_t v) {
    uint64_t root = 0;
    for (uint64_t bit = uint64_t{1} << 62; bit; bit >>= 2) {
        if (v >= root + bit) {
            v -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
    }
    return root;
}

int32_t noise_source::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<int32_t>(state_ >> 16) - 32768;
}

int32_t decay::next() {
    const int32_t now = static_cast<int32_t>(level_);
    level_ = (level_ * factor_) >> 30;
    return now;
}

state_variable_filter::outputs state_variable_filter::step(int32_t in, int32_t cutoff_hz,
                                                           int32_t damping_q16) {
    // f = 2·sin(π·fc/fs): the sine of half the tone's phase step, Q15 → Q16, doubled.
    const int64_t f = int64_t{sine(phase_step(int64_t{cutoff_hz} * 1000) / 2)} * 4;
    low_ += (f * band_) >> 16;
    const int64_t high = (int64_t{in} << 8) - low_ - ((damping_q16 * band_) >> 16);
    band_ += (f * high) >> 16;
    return {static_cast<int32_t>(low_ >> 8), static_cast<int32_t>(band_ >> 8),
            static_cast<int32_t>(high >> 8)};
}

signal falling_sine(int32_t length, int32_t low_hz, int32_t high_hz, int32_t pitch_tau,
                    int32_t amp_tau) {
    signal s(static_cast<size_t>(length));
    decay pitch(pitch_tau);
    decay amp(amp_tau);
    uint32_t phase = 0;
    for (int32_t& v : s) {
        const int64_t hz_q30 = (int64_t{low_hz} << 30) + int64_t{high_hz} * pitch.next();
        phase += phase_step((hz_q30 * 1000) >> 30);
        v = static_cast<int32_t>((int64_t{sine(phase)} * amp.next()) >> 30);
    }
    return s;
}

signal additive(int32_t length, const std::vector<partial>& partials) {
    signal out(static_cast<size_t>(length));
    const int64_t stride = table_size / length;
    for (int32_t n = 0; n < length; ++n) {
        int64_t sum = 0;
        for (const partial& p : partials)
            sum += int64_t{p.amplitude_q16} * sine_at(int64_t{p.cycles} * n * stride);
        out[static_cast<size_t>(n)] = static_cast<int32_t>(sum >> 31);
    }
    return out;
}

// |H| of a two-pole low-pass at r = h / cutoff: 1 / sqrt((1 - r²)² + (r / Q)²), Q16.
int32_t lowpass_gain(int32_t h, int32_t cutoff_q8, int32_t q_q8) {
    const int64_t r = (int64_t{h} << 24) / cutoff_q8; // Q16
    if (r > (int64_t{64} << 16)) return 0;            // below -72 dB
    const int64_t a = 65536 - ((r * r) >> 16);
    const int64_t b = (r << 8) / q_q8;
    const uint64_t root = isqrt(static_cast<uint64_t>(a * a + b * b)); // Q16
    return root ? static_cast<int32_t>((int64_t{1} << 32) / static_cast<int64_t>(root)) : 0;
}

std::vector<partial> saw_partials(int32_t cycles, int32_t max_harmonic, int32_t cutoff_q8,
                                  int32_t q_q8, int32_t amplitude_q16) {
    std::vector<partial> out;
    for (int32_t h = 1; h < max_harmonic; ++h) {
        const int64_t gain = lowpass_gain(h, cutoff_q8, q_q8);
        const int64_t amplitude = (int64_t{amplitude_q16} * gain / h) >> 16;
        if (amplitude) out.push_back({cycles * h, static_cast<int32_t>(amplitude)});
    }
    return out;
}

std::vector<partial> square_partials(int32_t cycles, int32_t max_harmonic, int32_t cutoff_q8,
                                     int32_t amplitude_q16) {
    std::vector<partial> out;
    for (int32_t h = 1; h < max_harmonic; h += 2) {
        const int64_t gain = lowpass_gain(h, cutoff_q8, 181); // Q ≈ 0.707: flat
        const int64_t amplitude = (int64_t{amplitude_q16} * gain / h) >> 16;
        if (amplitude) out.push_back({cycles * h, static_cast<int32_t>(amplitude)});
    }
    return out;
}

signal filtered_saws(int32_t length, const std::vector<uint32_t>& steps,
                     const std::vector<int32_t>& cutoff_hz, int32_t q_q8) {
    constexpr int32_t block = 32;
    constexpr int64_t top_hz = 11000;
    signal out(static_cast<size_t>(length));
    std::vector<uint32_t> phases(steps.size(), 0);
    std::vector<int32_t> gains;
    for (int32_t start = 0; start < length; start += block) {
        const int64_t cutoff = cutoff_hz[static_cast<size_t>(start / block)];
        const int32_t end = std::min(length, start + block);
        for (size_t v = 0; v < steps.size(); ++v) {
            const int64_t step = steps[v];
            // The voice's frequency is step · fs / 2^32; its harmonics above top_hz go.
            const int64_t harmonics = (top_hz << 32) / (step * sample_rate);
            const int64_t cutoff_q8 = (cutoff << 40) / (step * sample_rate);
            gains.assign(static_cast<size_t>(harmonics) + 1, 0);
            for (int32_t h = 1; h <= harmonics; ++h)
                gains[static_cast<size_t>(h)] =
                    lowpass_gain(h, static_cast<int32_t>(std::max<int64_t>(cutoff_q8, 1)), q_q8) /
                    h;
            uint32_t phase = phases[v];
            for (int32_t n = start; n < end; ++n, phase += steps[v]) {
                int64_t sum = 0;
                for (int32_t h = 1; h <= harmonics; ++h)
                    sum += int64_t{gains[static_cast<size_t>(h)]} *
                           sine(phase * static_cast<uint32_t>(h));
                out[static_cast<size_t>(n)] += static_cast<int32_t>(sum >> 16);
            }
            phases[v] = phase;
        }
    }
    return out;
}

void soft_clip(signal& s, int32_t drive_q8) {
    for (int32_t& v : s) {
        const int64_t x = std::clamp<int64_t>((int64_t{v} * drive_q8) >> 8, -32768, 32768);
        const int64_t x3 = (((x * x) >> 15) * x) >> 15;
        v = static_cast<int32_t>(std::clamp<int64_t>((3 * x - x3) / 2, -full_scale, full_scale));
    }
}

void normalise(signal& s, int32_t peak) {
    int64_t largest = 0;
    for (int32_t v : s) largest = std::max<int64_t>(largest, std::abs(int64_t{v}));
    if (largest == 0) return;
    for (int32_t& v : s) v = static_cast<int32_t>(int64_t{v} * peak / largest);
}

void apply_decay(signal& s, int32_t samples) {
    decay d(samples);
    for (int32_t& v : s) v = static_cast<int32_t>((int64_t{v} * d.next()) >> 30);
}

void fade_out(signal& s, int32_t samples) {
    const int32_t n = std::min<int32_t>(samples, static_cast<int32_t>(s.size()));
    const size_t start = s.size() - static_cast<size_t>(n);
    for (int32_t i = 0; i < n; ++i) {
        int32_t& v = s[start + static_cast<size_t>(i)];
        v = static_cast<int32_t>(int64_t{v} * (n - i) / n);
    }
}

signal mix(const signal& a, const signal& b, int32_t b_gain_q16) {
    signal out(std::max(a.size(), b.size()));
    for (size_t i = 0; i < out.size(); ++i) {
        const int64_t x = i < a.size() ? a[i] : 0;
        const int64_t y = i < b.size() ? b[i] : 0;
        out[i] = static_cast<int32_t>(x + ((y * b_gain_q16) >> 16));
    }
    return out;
}

xm_sample to_sample(const signal& s, const char* name, bool sixteen_bit, int native_midi,
                    int rate_shift) {
    xm_sample out;
    out.name = name;
    out.sixteen_bit = sixteen_bit;
    out.relative_note = static_cast<int8_t>(24 + 60 - native_midi - 12 * rate_shift);
    out.data.reserve(s.size());
    for (int32_t v : s) {
        const int32_t value = sixteen_bit ? v : (v + 128) >> 8;
        const int32_t limit = sixteen_bit ? 32767 : 127;
        out.data.push_back(static_cast<int16_t>(std::clamp(value, -limit - 1, limit)));
    }
    return out;
}

xm_sample to_looped_sample(const signal& s, const char* name, bool sixteen_bit, int native_midi,
                           uint32_t loop_length) {
    xm_sample out = to_sample(s, name, sixteen_bit, native_midi);
    out.loop = xm_loop::forward;
    out.loop_length = loop_length;
    out.loop_start = static_cast<uint32_t>(s.size()) - loop_length;
    return out;
}

} // namespace vilora::kit::music
