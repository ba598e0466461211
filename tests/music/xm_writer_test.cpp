#include "kit/formats/xm_writer.h"

#include "tests/music/xm_oracles.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <functional>
#include <string>

namespace vilora {
namespace {

using namespace vilora::kit;
using testing::xmp_loaded;
using testing::xmp_note_of;
using testing::xmp_volume_of;

constexpr int channels = 6;

// Cell k of the 256-row pattern: the five bits of k % 32 choose which fields
// are present, so every combination occurs, in every channel.
xm_cell combination_cell(int k) {
    const int mask = k % 32;
    constexpr uint8_t effects[] = {0x1, 0x2, 0x4, 0xA};
    xm_cell c;
    if (mask & 1) c.note = k % 97 == 0 ? xm_key_off : static_cast<uint8_t>(1 + (k * 7) % 96);
    if (mask & 2) c.instrument = static_cast<uint8_t>(1 + k % 4);
    if (mask & 4) c.volume = xm_set_volume(k % 65);
    if (mask & 8) c.effect = effects[k % 4];
    if (mask & 16) c.parameter = static_cast<uint8_t>(1 + k % 255);
    return c;
}

xm_sample make_sample(int length, bool sixteen_bit, int seed) {
    xm_sample s;
    s.name = "sample " + std::to_string(seed);
    s.sixteen_bit = sixteen_bit;
    const int range = sixteen_bit ? 65536 : 256;
    for (int i = 0; i < length; ++i)
        s.data.push_back(static_cast<int16_t>((i * 37 + seed * 1001) % range - range / 2));
    return s;
}

xm_instrument enveloped_instrument() {
    xm_instrument in;
    in.name = "eight-bit, looped";
    xm_sample s = make_sample(300, false, 1);
    s.loop = xm_loop::forward;
    s.loop_start = 100;
    s.loop_length = 150;
    s.volume = 50;
    s.panning = 30;
    in.samples.push_back(s);
    in.volume_envelope = {{{0, 0}, {4, 64}, {20, 40}, {60, 10}}, true, true, true, 2, 1, 3};
    in.panning_envelope = {{{0, 32}, {10, 0}, {30, 64}}, true, false, true, 0, 0, 2};
    in.vibrato_type = 1;
    in.vibrato_sweep = 12;
    in.vibrato_depth = 5;
    in.vibrato_rate = 9;
    in.fadeout = 0x0400;
    return in;
}

xm_instrument two_sample_instrument() {
    xm_instrument in;
    in.name = "sixteen-bit pair";
    xm_sample low = make_sample(1000, true, 2);
    low.loop = xm_loop::ping_pong;
    low.loop_start = 10;
    low.loop_length = 990;
    low.finetune = -16;
    low.relative_note = -12;
    xm_sample high = make_sample(77, true, 3);
    high.relative_note = 7;
    high.panning = 200;
    in.samples = {low, high};
    for (size_t n = 48; n < in.sample_of_note.size(); ++n) in.sample_of_note[n] = 1;
    return in;
}

// Extreme neighbours, so the deltas wrap around in both widths.
xm_instrument extremes_instrument() {
    xm_instrument in;
    in.name = "extremes";
    xm_sample wide, narrow;
    wide.data = {-32768, 32767, -32768, 0, 32767, -1};
    narrow.sixteen_bit = false;
    narrow.data = {-128, 127, -128, 0, 127, -1};
    in.samples = {wide, narrow};
    return in;
}

xm_module sample_module() {
    xm_module m;
    m.name = "round trip";
    m.channels = channels;
    m.speed = 5;
    m.tempo = 131;
    m.restart = 1;
    m.orders = {0, 1, 2, 1, 3};
    xm_pattern one_row(1, channels);
    one_row.at(0, 0) = {xm_note(4, 0), 1, xm_set_volume(64), 0xA, 0x0F};
    one_row.at(0, 5) = {xm_key_off, 0, 0, 0, 0};
    xm_pattern full(256, channels);
    for (int k = 0; k < 256 * channels; ++k)
        full.at(k / channels, k % channels) = combination_cell(k);
    xm_pattern odd(33, channels);
    odd.at(32, 3) = {xm_note(7, 11), 4, 0, 0, 0};
    m.patterns = {one_row, full, xm_pattern(64, channels), odd};
    m.instruments = {enveloped_instrument(), two_sample_instrument(), xm_instrument{},
                     extremes_instrument()};
    m.instruments[2].name = "empty slot";
    return m;
}

void expect_envelope(const xmp_envelope& got, const xm_envelope& want) {
    ASSERT_EQ(got.npt, static_cast<int>(want.points.size()));
    for (size_t i = 0; i < want.points.size(); ++i) {
        EXPECT_EQ(got.data[2 * i], want.points[i].tick);
        EXPECT_EQ(got.data[2 * i + 1], want.points[i].value);
    }
    EXPECT_EQ((got.flg & XMP_ENVELOPE_ON) != 0, want.on);
    EXPECT_EQ((got.flg & XMP_ENVELOPE_SUS) != 0, want.sustain);
    EXPECT_EQ((got.flg & XMP_ENVELOPE_LOOP) != 0, want.loop);
    if (want.sustain) {
        EXPECT_EQ(got.sus, want.sustain_point);
    }
    if (want.loop) {
        EXPECT_EQ(got.lps, want.loop_start);
        EXPECT_EQ(got.lpe, want.loop_end);
    }
}

void expect_sample(const xmp_sample& got, const xmp_subinstrument& sub, const xm_sample& want) {
    EXPECT_EQ(got.len, static_cast<int>(want.data.size()));
    EXPECT_EQ((got.flg & XMP_SAMPLE_16BIT) != 0, want.sixteen_bit);
    EXPECT_EQ((got.flg & XMP_SAMPLE_LOOP) != 0, want.loop != xm_loop::none);
    EXPECT_EQ((got.flg & XMP_SAMPLE_LOOP_BIDIR) != 0, want.loop == xm_loop::ping_pong);
    if (want.loop != xm_loop::none) {
        EXPECT_EQ(got.lps, static_cast<int>(want.loop_start));
        EXPECT_EQ(got.lpe, static_cast<int>(want.loop_start + want.loop_length));
    }
    // libxmp writes guard samples for its interpolation past a loop's end.
    const size_t compared =
        want.loop == xm_loop::none ? want.data.size() : want.loop_start + want.loop_length;
    for (size_t i = 0; i < compared; ++i) {
        const int value = want.sixteen_bit ? reinterpret_cast<const int16_t*>(got.data)[i]
                                           : reinterpret_cast<const int8_t*>(got.data)[i];
        ASSERT_EQ(value, want.data[i]) << "sample value " << i;
    }
    EXPECT_EQ(sub.vol, want.volume);
    EXPECT_EQ(sub.pan, want.panning);
    EXPECT_EQ(sub.xpo, want.relative_note);
    EXPECT_EQ(sub.fin, want.finetune);
}

TEST(XmWriter, LibxmpReadsBackOrdersPatternsAndEveryCell) {
    const xm_module m = sample_module();
    ASSERT_EQ(xm_check(m), "");
    xmp_loaded loaded(xm_file(m));
    const xmp_module* x = loaded.module();
    ASSERT_NE(x, nullptr);
    EXPECT_STREQ(x->name, "round trip");
    EXPECT_EQ(x->chn, channels);
    EXPECT_EQ(x->spd, 5);
    EXPECT_EQ(x->bpm, 131);
    EXPECT_EQ(x->rst, 1);
    ASSERT_EQ(x->len, 5);
    for (int i = 0; i < x->len; ++i) EXPECT_EQ(x->xxo[i], m.orders[static_cast<size_t>(i)]);
    // libxmp appends a blank pattern of its own.
    ASSERT_GE(x->pat, 4);
    for (int p = 0; p < 4; ++p) {
        const xm_pattern& want = m.patterns[static_cast<size_t>(p)];
        ASSERT_EQ(x->xxp[p]->rows, want.rows()) << "pattern " << p;
        for (int row = 0; row < want.rows(); ++row)
            for (int ch = 0; ch < channels; ++ch) {
                const xm_cell& c = want.at(row, ch);
                const xmp_event& e = loaded.event(p, row, ch);
                SCOPED_TRACE(::testing::Message()
                             << "pattern " << p << " row " << row << " ch " << ch);
                ASSERT_EQ(e.note, xmp_note_of(c.note, c.instrument));
                ASSERT_EQ(e.ins, c.instrument);
                ASSERT_EQ(e.vol, xmp_volume_of(c.volume));
                ASSERT_EQ(e.fxt, c.effect);
                ASSERT_EQ(e.fxp, c.parameter);
            }
    }
}

TEST(XmWriter, LibxmpReadsBackInstrumentsEnvelopesAndSamples) {
    const xm_module m = sample_module();
    xmp_loaded loaded(xm_file(m));
    const xmp_module* x = loaded.module();
    ASSERT_NE(x, nullptr);
    ASSERT_EQ(x->ins, 4);
    EXPECT_EQ(x->smp, 5);
    for (int i = 0; i < x->ins; ++i) {
        const xm_instrument& want = m.instruments[static_cast<size_t>(i)];
        const xmp_instrument& got = x->xxi[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(got.name, want.name);
        ASSERT_EQ(got.nsm, static_cast<int>(want.samples.size()));
        for (int s = 0; s < got.nsm; ++s)
            expect_sample(x->xxs[got.sub[s].sid], got.sub[s], want.samples[static_cast<size_t>(s)]);
        if (want.samples.empty()) continue;
        for (size_t n = 0; n < want.sample_of_note.size(); ++n)
            EXPECT_EQ(got.map[n + 12].ins, want.sample_of_note[n]) << "note " << n;
        expect_envelope(got.aei, want.volume_envelope);
        expect_envelope(got.pei, want.panning_envelope);
        for (int s = 0; s < got.nsm; ++s) EXPECT_EQ(got.sub[s].vwf, want.vibrato_type);
    }
    EXPECT_GT(x->xxi[0].rls, 0); // the fadeout, in libxmp's own units
    EXPECT_EQ(x->xxi[1].rls, 0);
}

TEST(XmWriter, LibopenmptReadsBackTheSameModule) {
    const xm_module m = sample_module();
    const std::vector<uint8_t> bytes = xm_file(m);
    openmpt::module mod(bytes.data(), bytes.size());
    EXPECT_EQ(mod.get_metadata("title"), "round trip");
    EXPECT_EQ(mod.get_num_channels(), channels);
    ASSERT_EQ(mod.get_num_orders(), 5);
    for (int o = 0; o < 5; ++o)
        EXPECT_EQ(mod.get_order_pattern(o), m.orders[static_cast<size_t>(o)]);
    ASSERT_EQ(mod.get_num_patterns(), 4);
    using openmpt::module;
    for (int p = 0; p < 4; ++p) {
        const xm_pattern& want = m.patterns[static_cast<size_t>(p)];
        ASSERT_EQ(mod.get_pattern_num_rows(p), want.rows());
        for (int row = 0; row < want.rows(); ++row)
            for (int ch = 0; ch < channels; ++ch) {
                const xm_cell& c = want.at(row, ch);
                SCOPED_TRACE(::testing::Message()
                             << "pattern " << p << " row " << row << " ch " << ch);
                const auto get = [&](int command) {
                    return mod.get_pattern_row_channel_command(p, row, ch, command);
                };
                // libopenmpt, like libxmp, keeps notes 12 higher; key-off is 255.
                ASSERT_EQ(get(module::command_note), c.note == xm_key_off ? 255
                                                     : c.note             ? c.note + 12
                                                                          : 0);
                ASSERT_EQ(get(module::command_instrument), c.instrument);
                ASSERT_EQ(get(module::command_volume), c.volume ? c.volume - 0x10 : 0);
                const std::string effect =
                    mod.format_pattern_row_channel_command(p, row, ch, module::command_effect);
                const char digit = "0123456789ABCDEF"[c.effect];
                if (c.effect || c.parameter) {
                    ASSERT_EQ(effect, std::string(1, digit));
                }
                ASSERT_EQ(get(module::command_parameter), c.parameter);
            }
    }
    EXPECT_EQ(mod.get_num_instruments(), 4);
    EXPECT_EQ(mod.get_num_samples(), 5);
    EXPECT_EQ(mod.get_instrument_names()[0], "eight-bit, looped");
    EXPECT_EQ(mod.get_instrument_names()[2], "empty slot");
}

TEST(XmWriter, RefusesModelsItCannotWrite) {
    const std::vector<std::pair<const char*, std::function<void(xm_module&)>>> faults = {
        {"no rows", [](xm_module& m) { m.patterns[2] = xm_pattern(0, channels); }},
        {"257 rows", [](xm_module& m) { m.patterns[2] = xm_pattern(257, channels); }},
        {"negative rows", [](xm_module& m) { m.patterns[2] = xm_pattern(-3, channels); }},
        {"channels differ", [](xm_module& m) { m.patterns[2] = xm_pattern(64, channels - 1); }},
        {"33 channels", [](xm_module& m) { m.channels = 33; }},
        {"order past patterns", [](xm_module& m) { m.orders.push_back(4); }},
        {"no orders", [](xm_module& m) { m.orders.clear(); }},
        {"restart past end", [](xm_module& m) { m.restart = 5; }},
        {"note 98", [](xm_module& m) { m.patterns[0].at(0, 1).note = 98; }},
        {"missing instrument", [](xm_module& m) { m.patterns[0].at(0, 1).instrument = 5; }},
        {"8-bit overflow", [](xm_module& m) { m.instruments[0].samples[0].data[3] = 128; }},
        {"loop past end", [](xm_module& m) { m.instruments[0].samples[0].loop_length = 201; }},
        {"empty loop", [](xm_module& m) { m.instruments[0].samples[0].loop_length = 0; }},
        {"envelope ticks back",
         [](xm_module& m) { m.instruments[0].volume_envelope.points[2].tick = 4; }},
        {"envelope above 64",
         [](xm_module& m) { m.instruments[0].panning_envelope.points[0].value = 65; }},
        {"sustain past points",
         [](xm_module& m) { m.instruments[0].volume_envelope.sustain_point = 4; }},
        {"note map past samples", [](xm_module& m) { m.instruments[1].sample_of_note[95] = 2; }},
        {"long name", [](xm_module& m) { m.name = std::string(21, 'x'); }},
        {"tempo 31", [](xm_module& m) { m.tempo = 31; }},
    };
    for (const auto& [name, spoil] : faults) {
        xm_module m = sample_module();
        spoil(m);
        EXPECT_NE(xm_check(m), "") << name;
        EXPECT_TRUE(xm_file(m).empty()) << name;
    }
}

} // namespace
} // namespace vilora
