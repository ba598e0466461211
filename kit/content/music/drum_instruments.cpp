// The drum kit: kick, snare, clap, hi-hats, crash and tom, all played at C-4.
#include "kit/content/music/instruments.h"
#include "kit/synth/synth.h"

#include <array>

namespace vilora::kit::music {
namespace {

signal make_kick() {
    signal s = falling_sine(ms(420), 46, 150, ms(32), ms(170));
    noise_source noise(0x4B1C);
    for (int32_t i = 0; i < ms(4); ++i) s[static_cast<size_t>(i)] += noise.next() / 4;
    normalise(s, full_scale);
    soft_clip(s, 300);
    fade_out(s, ms(60));
    return s;
}

signal make_tom() {
    signal s = falling_sine(ms(400), 92, 90, ms(60), ms(140));
    noise_source noise(0x70A7);
    decay hiss(ms(20));
    for (int32_t& v : s) v += static_cast<int32_t>((int64_t{noise.next()} * hiss.next()) >> 32);
    fade_out(s, ms(60));
    normalise(s, full_scale);
    return s;
}

signal make_snare() {
    signal s = falling_sine(ms(300), 182, 40, ms(20), ms(45));
    signal overtone = falling_sine(ms(300), 330, 30, ms(20), ms(30));
    noise_source noise(0x5A4E);
    state_variable_filter filter;
    decay amp(ms(95));
    signal rattle(s.size());
    for (int32_t& v : rattle) {
        const int32_t high = filter.step(noise.next(), 1900, 90000).high;
        v = static_cast<int32_t>((int64_t{high} * amp.next()) >> 30);
    }
    s = mix(mix(s, overtone, 32768), rattle, 60000);
    normalise(s, full_scale);
    soft_clip(s, 384);
    fade_out(s, ms(50));
    return s;
}

// Three short bursts of band-passed noise 8 ms apart, then the decaying tail.
signal make_clap() {
    signal s(static_cast<size_t>(ms(320)));
    noise_source noise(0xC1A9);
    state_variable_filter filter;
    decay burst(ms(3));
    decay tail(ms(75));
    for (int32_t i = 0; i < static_cast<int32_t>(s.size()); ++i) {
        if (i < ms(24) && i % ms(8) == 0) burst = decay(ms(3));
        const int64_t level = i < ms(24) ? burst.next() : tail.next();
        const int32_t band = filter.step(noise.next(), 1150, 50000).band;
        s[static_cast<size_t>(i)] = static_cast<int32_t>((band * level) >> 30);
    }
    normalise(s, full_scale);
    soft_clip(s, 384);
    fade_out(s, ms(60));
    return s;
}

// Six square waves at inharmonic ratios plus noise, differenced twice to keep
// the highs: the metal of hats and cymbals.
signal metal(int32_t length_ms, int32_t amp_ms, int32_t noise_q16, uint32_t seed) {
    constexpr std::array<int32_t, 6> hz = {349, 517, 628, 888, 918, 1360};
    std::array<uint32_t, 6> phases{};
    signal s(static_cast<size_t>(ms(length_ms)));
    noise_source noise(seed);
    decay amp(ms(amp_ms));
    int32_t previous = 0, previous_diff = 0;
    for (int32_t& v : s) {
        int32_t sum = static_cast<int32_t>((int64_t{noise.next()} * noise_q16) >> 16);
        for (size_t k = 0; k < hz.size(); ++k) {
            phases[k] += phase_step(int64_t{hz[k]} * 1000);
            sum += (phases[k] >> 31) ? 4000 : -4000;
        }
        const int32_t diff = sum - previous;
        previous = sum;
        const int32_t diff2 = diff - previous_diff;
        previous_diff = diff;
        v = static_cast<int32_t>((int64_t{diff2} * amp.next()) >> 30);
    }
    return s;
}

signal make_hat(bool open) {
    signal s = open ? metal(420, 120, 40000, 0x0FE4) : metal(90, 16, 40000, 0xC105);
    normalise(s, full_scale);
    soft_clip(s, 384);
    fade_out(s, ms(open ? 80 : 20));
    return s;
}

} // namespace

signal make_crash_signal() {
    signal s = metal(1900, 520, 70000, 0xC4A5);
    normalise(s, full_scale);
    soft_clip(s, 384);
    fade_out(s, ms(500));
    return s;
}

std::vector<xm_instrument> make_drum_instruments() {
    // Every drum plays at its own rate on middle C (MIDI 60).
    return {
        one_shot("kick", make_kick(), true, 60, 64, 128),
        one_shot("snare", make_snare(), true, 60, 64, 120),
        one_shot("clap", make_clap(), true, 60, 64, 136),
        one_shot("closed hat", make_hat(false), false, 60, 60, 168),
        one_shot("open hat", make_hat(true), false, 60, 54, 168),
        one_shot("crash", make_crash_signal(), false, 60, 52, 96),
        one_shot("tom", make_tom(), true, 60, 56, 96),
    };
}

} // namespace vilora::kit::music
