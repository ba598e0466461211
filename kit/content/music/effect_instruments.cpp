// Transition effects (riser, zap, reverse cymbal), the chip noise drum and
// the rave stab; and the full instrument list with the cue track.
#include "kit/content/music/instruments.h"
#include "kit/synth/synth.h"

#include <algorithm>

namespace vilora::kit::music {
namespace {

// Two bars at 140 BPM, speed 6: 32 rows of 6 ticks of 2.5 / 140 s.
constexpr int32_t two_bars = sample_rate * 32 * 6 / 56;
// ln 25 in Q30: the riser's cutoff grows 25-fold over its length.
constexpr int64_t ln25_q30 = 3456247453;

// Noise through a resonant band-pass sweeping up from 200 Hz, growing
// louder; half rate (every second sample, averaged) to halve its size.
xm_instrument make_riser() {
    signal s(static_cast<size_t>(two_bars));
    noise_source noise(0x815E);
    state_variable_filter filter;
    int64_t cutoff_q16 = int64_t{200} << 16;
    const int64_t growth_q30 = (int64_t{1} << 30) + ln25_q30 / two_bars;
    for (int32_t i = 0; i < two_bars; ++i) {
        const int32_t band =
            filter.step(noise.next(), static_cast<int32_t>(cutoff_q16 >> 16), 26000).band;
        const int64_t level = 9830 + int64_t{55706} * i / two_bars; // 0.15 → 1.0, Q16
        s[static_cast<size_t>(i)] = static_cast<int32_t>((band * level) >> 16);
        cutoff_q16 = std::min<int64_t>((cutoff_q16 * growth_q30) >> 30, int64_t{5000} << 16);
    }
    fade_out(s, ms(40));
    signal half(s.size() / 2);
    for (size_t i = 0; i < half.size(); ++i) half[i] = (s[2 * i] + s[2 * i + 1]) / 2;
    normalise(half, 28000);
    xm_sample sample = to_sample(half, "riser", false, 60, 1);
    sample.volume = 56;
    xm_instrument in = single_sample_instrument("riser", std::move(sample));
    // Sweeps left and right twice a second.
    in.panning_envelope.points = {{0, 12}, {14, 52}, {28, 12}};
    in.panning_envelope.on = true;
    in.panning_envelope.loop = true;
    in.panning_envelope.loop_start = 0;
    in.panning_envelope.loop_end = 2;
    return in;
}

xm_instrument make_zap() {
    signal s = falling_sine(ms(360), 70, 2600, ms(40), ms(110));
    fade_out(s, ms(60));
    normalise(s, 30000);
    return one_shot("zap", s, true, 60, 48, 150);
}

// The crash backwards, one bar long, so that it swells into the next downbeat.
xm_instrument make_reverse_cymbal() {
    signal crash = make_crash_signal();
    signal s(crash.begin(), crash.begin() + two_bars / 2);
    std::reverse(s.begin(), s.end());
    normalise(s, 28000);
    return one_shot("reverse cymbal", s, false, 60, 56, 160);
}

// A 15-bit linear-feedback noise held four samples at a time, its level
// falling in 16 steps: the noise channel of a sound chip.
xm_instrument make_noise_drum() {
    signal s(static_cast<size_t>(ms(200)));
    uint32_t lfsr = 0x7FFF;
    decay amp(ms(45));
    int32_t held = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (i % 4 == 0) {
            const uint32_t bit = (lfsr ^ (lfsr >> 1)) & 1;
            lfsr = (lfsr >> 1) | (bit << 14);
            held = (lfsr & 1) ? 28000 : -28000;
        }
        const int64_t level = (amp.next() >> 26) << 26; // 16 steps
        s[i] = static_cast<int32_t>((held * level) >> 30);
    }
    return one_shot("noise drum", s, false, 60, 60, 128);
}

// A minor chord (A-3, C-4, E-4, A-4) of saws through a closing low-pass.
xm_instrument make_stab() {
    const int32_t length = ms(560);
    std::vector<int32_t> cutoff;
    decay sweep(ms(90) / 32);
    for (int32_t start = 0; start < length; start += 32)
        cutoff.push_back(500 + static_cast<int32_t>((int64_t{4500} * sweep.next()) >> 30));
    signal s = filtered_saws(
        length, {phase_step(220000), phase_step(261626), phase_step(329628), phase_step(440000)},
        cutoff, 460);
    apply_decay(s, ms(180));
    fade_out(s, ms(80));
    normalise(s, 30000);
    return one_shot("stab", s, true, 57, 56, 140);
}

// Silent and at volume 0: its notes only carry a value in the volume column.
xm_instrument make_cue() {
    xm_sample sample;
    sample.name = "cue";
    sample.sixteen_bit = false;
    sample.data.assign(16, 0);
    sample.volume = 0;
    return single_sample_instrument("cue", std::move(sample));
}

} // namespace

std::vector<xm_instrument> make_effect_instruments() {
    return {make_riser(), make_zap(), make_reverse_cymbal(), make_noise_drum(), make_stab()};
}

xm_instrument single_sample_instrument(const char* name, xm_sample sample) {
    xm_instrument in;
    in.name = name;
    in.samples.push_back(std::move(sample));
    return in;
}

xm_instrument one_shot(const char* name, const signal& s, bool sixteen_bit, int native_midi,
                       uint8_t volume, uint8_t panning) {
    xm_sample sample = to_sample(s, name, sixteen_bit, native_midi);
    sample.volume = volume;
    sample.panning = panning;
    return single_sample_instrument(name, std::move(sample));
}

std::vector<xm_instrument> make_instruments() {
    std::vector<xm_instrument> all = make_drum_instruments();
    for (auto* part : {make_tonal_instruments, make_effect_instruments})
        for (xm_instrument& in : part()) all.push_back(std::move(in));
    while (all.size() + 1 < cue) all.emplace_back();
    all.push_back(make_cue());
    return all;
}

} // namespace vilora::kit::music
