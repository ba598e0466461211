// Basses, pads, leads, plucks and the bell. Looped samples repeat exactly:
// their oscillators complete whole periods within the loop.
#include "kit/content/music/instruments.h"
#include "kit/synth/synth.h"

#include <initializer_list>

namespace vilora::kit::music {
namespace {

constexpr int32_t c2_period = 512; // 65.3 Hz at sample_rate
constexpr uint32_t c2_step = uint32_t{1} << 23;
constexpr uint32_t c4_step = uint32_t{1} << 25;

xm_envelope envelope(std::initializer_list<xm_envelope_point> points, int sustain) {
    xm_envelope e;
    e.points = points;
    e.on = true;
    e.sustain = sustain >= 0;
    e.sustain_point = static_cast<uint8_t>(sustain >= 0 ? sustain : 0);
    return e;
}

// A low-pass cutoff per 32-sample block: `base_hz` + `sweep_hz` decaying with
// time constant `tau`, held from `hold` on so that the tail loops seamlessly.
std::vector<int32_t> cutoff_sweep(int32_t length, int32_t base_hz, int32_t sweep_hz, int32_t tau,
                                  int32_t hold) {
    std::vector<int32_t> cutoff;
    decay d(tau / 32);
    int32_t held = base_hz;
    for (int32_t start = 0; start < length; start += 32) {
        if (start < hold)
            held = base_hz + static_cast<int32_t>((int64_t{sweep_hz} * d.next()) >> 30);
        cutoff.push_back(held);
    }
    return cutoff;
}

// A naive pulse (chip style, not band-limited), one period of `period`
// samples with `high` of them up; the two levels are set apart by 2·level
// and balanced around zero, so that notes start and stop without a step.
signal pulse(int32_t period, int32_t high, int32_t level) {
    signal s(static_cast<size_t>(period));
    const int32_t up = 2 * level * (period - high) / period;
    for (int32_t i = 0; i < period; ++i) s[static_cast<size_t>(i)] = i < high ? up : up - 2 * level;
    return s;
}

std::vector<partial> detuned_saws(std::initializer_list<int32_t> cycles, int32_t max_harmonic,
                                  int32_t cutoff_q8, int32_t q_q8) {
    std::vector<partial> all;
    for (int32_t c : cycles) {
        const int32_t gain = c == 128 ? 65536 : 48000; // the centre voice leads
        for (const partial& p : saw_partials(c, max_harmonic, cutoff_q8, q_q8, gain))
            all.push_back(p);
    }
    return all;
}

xm_instrument looped(const char* name, signal s, bool sixteen_bit, int native_midi, uint32_t loop,
                     uint8_t volume, uint8_t panning) {
    normalise(s, sixteen_bit ? 30000 : 28000);
    xm_sample sample = to_looped_sample(s, name, sixteen_bit, native_midi, loop);
    sample.volume = volume;
    sample.panning = panning;
    return single_sample_instrument(name, std::move(sample));
}

xm_instrument make_bass() {
    constexpr int32_t length = c2_period * 34;
    signal s =
        filtered_saws(length, {c2_step}, cutoff_sweep(length, 170, 1900, ms(55), ms(320)), 333);
    soft_clip(s, 330);
    xm_instrument in = looped("bass", s, true, 36, c2_period * 4, 46, 128);
    in.volume_envelope = envelope({{0, 64}, {6, 52}, {24, 44}}, 2);
    in.fadeout = 0x0C00;
    return in;
}

xm_instrument make_acid() {
    constexpr int32_t length = c2_period * 36;
    signal s =
        filtered_saws(length, {c2_step}, cutoff_sweep(length, 240, 3300, ms(110), ms(380)), 1408);
    soft_clip(s, 520);
    xm_instrument in = looped("acid", s, true, 36, c2_period * 4, 50, 128);
    in.volume_envelope = envelope({{0, 64}, {4, 54}, {18, 40}}, 2);
    in.fadeout = 0x1000;
    return in;
}

xm_instrument make_chip_bass() {
    xm_instrument in =
        looped("chip bass", pulse(c2_period, c2_period / 2, 28000), false, 36, c2_period, 40, 128);
    in.volume_envelope = envelope({{0, 64}, {3, 58}, {16, 48}}, 2);
    in.fadeout = 0x1000;
    return in;
}

xm_instrument make_saw_pad() {
    signal s = additive(table_size, detuned_saws({126, 127, 128, 129, 130}, 34, 2560, 181));
    xm_instrument in = looped("saw pad", s, true, 60, table_size, 56, 128);
    in.volume_envelope = envelope({{0, 0}, {10, 64}, {40, 52}}, 2);
    in.fadeout = 0x0300;
    return in;
}

xm_instrument make_soft_pad() {
    std::vector<partial> partials = {{64, 22000}, {128, 65536}};
    for (int32_t c : {127, 129})
        for (int32_t h = 1; h < 16; h += 2)
            partials.push_back({c * h, (h % 4 == 1 ? 60000 : -60000) / (h * h)});
    for (const partial& p : square_partials(256, 12, 1536, 9000)) partials.push_back(p);
    signal s = additive(table_size, partials);
    xm_instrument in = looped("soft pad", s, true, 60, table_size, 56, 128);
    in.volume_envelope = envelope({{0, 0}, {24, 64}, {60, 56}}, 2);
    in.fadeout = 0x0200;
    return in;
}

xm_instrument make_saw_lead() {
    std::vector<partial> partials = detuned_saws({128, 129}, 36, 4096, 300);
    for (const partial& p : saw_partials(256, 18, 2048, 181, 20000)) partials.push_back(p);
    signal s = additive(table_size, partials);
    xm_instrument in = looped("saw lead", s, true, 60, table_size, 64, 112);
    in.volume_envelope = envelope({{0, 64}, {6, 56}, {30, 48}}, 2);
    in.fadeout = 0x0800;
    in.vibrato_type = 0;
    in.vibrato_sweep = 40;
    in.vibrato_depth = 4;
    in.vibrato_rate = 12;
    return in;
}

xm_instrument make_square_lead() {
    xm_instrument in =
        looped("square lead", pulse(c4_period, c4_period / 4, 28000), false, 60, c4_period, 56, 88);
    in.volume_envelope = envelope({{0, 64}, {2, 60}, {14, 46}}, 2);
    in.fadeout = 0x0A00;
    in.vibrato_sweep = 20;
    in.vibrato_depth = 3;
    in.vibrato_rate = 16;
    return in;
}

xm_instrument make_chip_arp() {
    xm_instrument in =
        looped("chip arp", pulse(c4_period, c4_period / 8, 28000), false, 60, c4_period, 56, 72);
    in.volume_envelope = envelope({{0, 64}, {6, 44}, {30, 32}}, 2);
    in.fadeout = 0x1000;
    return in;
}

xm_instrument make_pluck() {
    const int32_t length = ms(330);
    signal s =
        filtered_saws(length, {c4_step}, cutoff_sweep(length, 300, 5200, ms(45), length), 563);
    apply_decay(s, ms(110));
    fade_out(s, ms(30));
    normalise(s, 30000);
    return one_shot("pluck", s, true, 60, 64, 72);
}

// Two-operator FM: a carrier at C-5 phase-modulated by a partial at 3.5 times
// its frequency, the index falling from 3.0 to 0.4 radians.
xm_instrument make_bell() {
    const int32_t length = ms(1400);
    signal s(static_cast<size_t>(length));
    constexpr uint32_t carrier_step = uint32_t{1} << 26;             // 64-sample period
    constexpr uint32_t modulator_step = (uint32_t{1} << 26) / 2 * 7; // 3.5 times that
    constexpr int64_t radians_to_phase = 683565276;                  // 2^32 / 2π
    decay index(ms(150));
    decay amp(ms(480));
    uint32_t carrier = 0, modulator = 0;
    for (int32_t& v : s) {
        const int64_t index_q16 = 26214 + ((int64_t{170394} * index.next()) >> 30);
        const int64_t offset = ((index_q16 * sine(modulator)) >> 15) * radians_to_phase >> 16;
        v = static_cast<int32_t>(
            (int64_t{sine(carrier + static_cast<uint32_t>(offset))} * amp.next()) >> 30);
        carrier += carrier_step;
        modulator += modulator_step;
    }
    fade_out(s, ms(300));
    normalise(s, 30000);
    return one_shot("bell", s, true, 72, 60, 184);
}

} // namespace

std::vector<xm_instrument> make_tonal_instruments() {
    return {make_bass(),     make_acid(),        make_chip_bass(), make_saw_pad(), make_soft_pad(),
            make_saw_lead(), make_square_lead(), make_pluck(),     make_bell(),    make_chip_arp()};
}

} // namespace vilora::kit::music
