// The demo's module as the show and a listener meet it: its orders, the cue
// notes that pick scene variants, and its rendering through libxmp.
#include "kit/content/music/instruments.h"
#include "kit/content/music/music_module.h"
#include "kit/synth/render.h"

#include "tests/music/xm_oracles.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <set>

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

    // Silence: 100 ms windows below -60 dBFS RMS; no run of them over 3 s
    // while the show plays (the end order after it is silent on purpose).
    constexpr size_t window = render_rate / 10;
    int run = 0, longest = 0;
    for (size_t f = 0; f + window <= end->frame; f += window) {
        const bool silent = measure(r, f, f + window).rms < 0.001;
        run = silent ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    EXPECT_LE(longest, 30) << "silent for " << longest / 10.0 << " s";
}

double loudest_order_rms(const rendering& r) {
    double loudest = 0;
    for (int o = 0; o < music_end_order; ++o)
        loudest = std::max(loudest, measure_orders(r, o, o).rms);
    return loudest;
}

TEST(MusicModule, EndsFadingToSilenceBeforeTheShowStops) {
    const rendering r = render_module(module_bytes());
    ASSERT_TRUE(r.ok);
    const size_t end = order_start(r, music_end_order);
    ASSERT_LT(end, r.frames());
    const size_t last_order = order_start(r, music_end_order - 1);
    const double loudest = loudest_order_rms(r);
    constexpr size_t second = render_rate, window = render_rate / 4;

    // The last order arrives at full strength: the ending is in its second
    // half, not a finale that fades all the way.
    EXPECT_GT(measure(r, last_order, (last_order + end) / 2).rms, loudest / 2) << "-6 dB";
    // The last second the show plays is far below its loudest order, and its
    // last quarter second silent.
    EXPECT_LT(measure(r, end - second, end).rms, loudest / 100) << "-40 dB";
    EXPECT_LT(measure(r, end - window, end).rms, 0.001) << "-60 dBFS";

    // Faded, not cut: from the last window within 6 dB of the loudest order
    // to the first 40 dB below it takes more than a second and a half.
    size_t last_loud = last_order, first_quiet = end;
    for (size_t f = last_order; f + window <= end; f += window) {
        const double rms = measure(r, f, f + window).rms;
        if (rms > loudest / 2) last_loud = f;
        if (rms < loudest / 100 && first_quiet == end && f > last_loud) first_quiet = f;
    }
    EXPECT_GT(static_cast<double>(first_quiet - last_loud) / render_rate, 1.5);
}

// The second player fades it too: libopenmpt's last second before the end
// order against its loudest order, in RMS.
TEST(MusicModule, FadesToSilenceInLibopenmptToo) {
    openmpt::module mod(module_bytes().data(), module_bytes().size());
    constexpr size_t block = 1024, second = render_rate;
    std::vector<int16_t> pcm(block * 2), last; // interleaved left, right
    std::vector<double> sum(music_end_order, 0);
    std::vector<size_t> count(music_end_order, 0);
    for (int order = 0; (order = mod.get_current_order()) < music_end_order;) {
        const size_t frames = mod.read_interleaved_stereo(render_rate, block, pcm.data());
        ASSERT_GT(frames, 0u) << "stopped in order " << order;
        for (size_t i = 0; i < frames * 2; ++i) sum[order] += static_cast<double>(pcm[i]) * pcm[i];
        count[order] += frames * 2;
        last.insert(last.end(), pcm.begin(), pcm.begin() + frames * 2);
        if (last.size() > 2 * second) last.erase(last.begin(), last.end() - 2 * second);
    }
    double loudest = 0, end = 0;
    for (int o = 0; o < music_end_order; ++o)
        if (count[o]) loudest = std::max(loudest, std::sqrt(sum[o] / count[o]));
    for (int16_t v : last) end += static_cast<double>(v) * v;
    end = std::sqrt(end / last.size());
    EXPECT_LT(end, loudest / 100) << "-40 dB";
}

bool pitched(int instrument) {
    switch (instrument) {
    case kick:
    case snare:
    case clap:
    case closed_hat:
    case open_hat:
    case crash:
    case tom:
    case riser:
    case zap:
    case reverse_cymbal:
    case noise_drum:
    case music_cue_instrument:
        return false;
    default:
        return instrument > 0;
    }
}

TEST(MusicModule, TheLastChordStruckIsAMinorOverItsRoot) {
    xmp_loaded loaded(module_bytes());
    const xmp_module* m = loaded.module();
    ASSERT_NE(m, nullptr);
    ASSERT_GT(m->len, music_end_order);
    const int pattern = m->xxo[music_end_order - 1];
    // The last row of the show's last order on which four or more pitched
    // notes start together; libxmp's notes run from 13 for C-0.
    for (int row = m->xxp[pattern]->rows - 1; row >= 0; --row) {
        std::vector<int> notes;
        for (int ch = 0; ch < m->chn; ++ch) {
            const xmp_event& e = loaded.event(pattern, row, ch);
            if (e.note >= 13 && e.note < XMP_KEY_OFF && pitched(e.ins)) notes.push_back(e.note);
        }
        if (notes.size() < 4) continue;
        std::set<int> classes;
        for (int n : notes) classes.insert((n - 13) % 12);
        EXPECT_EQ(classes, (std::set<int>{9, 0, 4})) << "row " << row; // A, C, E
        EXPECT_EQ((*std::min_element(notes.begin(), notes.end()) - 13) % 12, 9) << "row " << row;
        // It comes with the second half of the order, after the approach.
        EXPECT_GE(row, m->xxp[pattern]->rows / 2);
        return;
    }
    FAIL() << "no chord struck in order " << music_end_order - 1;
}

} // namespace
} // namespace vilora
