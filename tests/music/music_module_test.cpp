// The demo's module as the show and a listener meet it: its orders, the cue
// notes that pick scene variants, and its rendering through libxmp.
#include "kit/music/music_module.h"
#include "kit/music/render.h"

#include "tests/music/xm_oracles.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>

namespace vilora {
namespace {

using namespace vilora::kit::music;
using testing::xmp_loaded;

const std::vector<uint8_t>& module_bytes() {
    static const std::vector<uint8_t> bytes = make_music_module();
    return bytes;
}

struct cue_note {
    int order, row, channel, volume_column;
};

// Every note of the cue instrument, walking the patterns in order.
std::vector<cue_note> cue_notes(const xmp_loaded& loaded) {
    const xmp_module* m = loaded.module();
    std::vector<cue_note> cues;
    for (int o = 0; o < m->len; ++o)
        for (int row = 0; row < m->xxp[m->xxo[o]]->rows; ++row)
            for (int ch = 0; ch < m->chn; ++ch) {
                const xmp_event& e = loaded.event(m->xxo[o], row, ch);
                if (e.ins == music_cue_instrument && e.note) cues.push_back({o, row, ch, e.vol});
            }
    return cues;
}

double seconds_per_row(const xmp_module* m) {
    return m->spd * 2.5 / m->bpm;
}

TEST(MusicModule, IsTheSameOnEveryCall) {
    ASSERT_FALSE(module_bytes().empty());
    EXPECT_EQ(xm_check(music_module()), "");
    EXPECT_EQ(make_music_module(), module_bytes());
}

TEST(MusicModule, RunsToTheEndOrderWithLongCreditsPatterns) {
    xmp_loaded loaded(module_bytes());
    const xmp_module* m = loaded.module();
    ASSERT_NE(m, nullptr);
    ASSERT_GT(m->len, music_end_order);
    for (int o : {23, 24, 25}) EXPECT_GT(m->xxp[m->xxo[o]]->rows, 96) << "order " << o;

    openmpt::module mod(module_bytes().data(), module_bytes().size());
    ASSERT_GT(mod.get_num_orders(), music_end_order);
    for (int o : {23, 24, 25})
        EXPECT_GT(mod.get_pattern_num_rows(mod.get_order_pattern(o)), 96) << "order " << o;
}

TEST(MusicModule, CueNotesPickTheVariantsInTheirOwnChannel) {
    xmp_loaded loaded(module_bytes());
    const xmp_module* m = loaded.module();
    ASSERT_NE(m, nullptr);
    const std::vector<cue_note> cues = cue_notes(loaded);
    ASSERT_FALSE(cues.empty());
    // The variant is the set-volume value of the volume column, never left to
    // the sample's default: libxmp's volume is that value plus one.
    for (const cue_note& c : cues) ASSERT_GT(c.volume_column, 0) << "order " << c.order;

    std::vector<cue_note> title;
    std::copy_if(cues.begin(), cues.end(), std::back_inserter(title),
                 [](const cue_note& c) { return c.order == 0; });
    ASSERT_EQ(title.size(), 2u);
    EXPECT_EQ(title[0].row, 0);
    EXPECT_EQ(title[0].volume_column - 1, 0);
    EXPECT_EQ(title[1].volume_column - 1, 1);
    const double seconds_in = title[1].row * seconds_per_row(m);
    EXPECT_GE(seconds_in, 2.0);
    EXPECT_LE(seconds_in, 6.0);

    for (int variant = 0; variant < 3; ++variant) {
        const auto first = std::find_if(cues.begin(), cues.end(),
                                        [&](const cue_note& c) { return c.order == 26 + variant; });
        ASSERT_NE(first, cues.end()) << "order " << 26 + variant;
        EXPECT_EQ(first->row, 0);
        EXPECT_EQ(first->volume_column - 1, variant);
    }

    // One channel carries the cue and nothing else, so it never cuts a note.
    const int channel = cues.front().channel;
    for (int o = 0; o < m->len; ++o)
        for (int row = 0; row < m->xxp[m->xxo[o]]->rows; ++row) {
            const xmp_event& e = loaded.event(m->xxo[o], row, channel);
            if (e.note) {
                EXPECT_EQ(e.ins, music_cue_instrument) << "order " << o << " row " << row;
            }
        }
    for (const cue_note& c : cues) EXPECT_EQ(c.channel, channel);

    const xmp_instrument& cue = m->xxi[music_cue_instrument - 1];
    ASSERT_EQ(cue.nsm, 1);
    const xmp_sample& sample = m->xxs[cue.sub[0].sid];
    const auto* data = reinterpret_cast<const int8_t*>(sample.data);
    EXPECT_TRUE(std::all_of(data, data + sample.len, [](int8_t v) { return v == 0; }));
}

TEST(MusicModule, RendersWithoutClippingOrLongSilence) {
    const rendering r = render_module(module_bytes());
    ASSERT_TRUE(r.ok);
    const auto end = std::find_if(r.orders.begin(), r.orders.end(),
                                  [](const auto& o) { return o.order == music_end_order; });
    ASSERT_NE(end, r.orders.end());
    const double minutes = static_cast<double>(end->frame) / render_rate / 60;
    EXPECT_GE(minutes, 4.0);
    EXPECT_LE(minutes, 6.0);

    // libxmp clamps its mix to 16 bits: a clipped sample sits on a rail.
    const auto [low, high] = std::minmax_element(r.samples.begin(), r.samples.end());
    EXPECT_GT(*low, -32768);
    EXPECT_LT(*high, 32767);

    // Silence: 100 ms windows below -60 dBFS RMS; no run of them over 3 s.
    constexpr size_t window = render_rate / 10;
    int run = 0, longest = 0;
    for (size_t f = 0; f + window <= r.frames(); f += window) {
        const bool silent = measure(r, f, f + window).rms < 0.001;
        run = silent ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    EXPECT_LE(longest, 30) << "silent for " << longest / 10.0 << " s";
}

} // namespace
} // namespace vilora
