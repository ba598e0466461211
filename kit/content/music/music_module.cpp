#include "kit/content/music/music_module.h"

#include "kit/content/music/instruments.h"
#include "kit/content/music/sections.h"

namespace vilora::kit::music {
namespace {

// 140 BPM at six ticks a row: a row lasts 6 · 2.5 / 140 s, a sixteenth note.
constexpr uint16_t tempo = 140;
constexpr uint16_t speed = 6;

// A note left sounding into a pattern that does not use its channel would
// hold for ever (looped samples): release it on that pattern's first row.
void release_held_notes(xm_module& m) {
    for (size_t i = 1; i < m.patterns.size(); ++i) {
        pattern_writer before(m.patterns[i - 1], m.instruments);
        pattern_writer now(m.patterns[i], m.instruments);
        for (int ch = 0; ch < ch_cue; ++ch)
            if (before.ends_sounding(ch) && !now.has_events(ch)) now.key_off(0, ch);
    }
}

// The cue track. Order 0 opens on the title picture alone (0) and starts the
// title scene (1) at row 32, 3.4 s in; orders 26, 27 and 28 show the
// greetings in their two modes (0, 1) and then the other scene (2).
void write_cues(xm_module& m) {
    const auto cue_at = [&m](int order, int row, int value) {
        pattern_writer w(m.patterns[m.orders[static_cast<size_t>(order)]], m.instruments);
        w.cue(row, music_cue_instrument, value);
    };
    cue_at(0, 0, 0);
    cue_at(0, 32, 1);
    cue_at(26, 0, 0);
    cue_at(27, 0, 1);
    cue_at(28, 0, 2);
}

} // namespace

xm_module music_module() {
    xm_module m;
    m.name = "muska";
    m.channels = channel_count;
    m.speed = speed;
    m.tempo = tempo;
    m.instruments = make_instruments();
    for (const section_plan& plan : sections) {
        const int count = plan.last_order - plan.first_order + 1;
        for (int index = 0; index < count; ++index) {
            const int order = plan.first_order + index;
            xm_pattern& p = m.patterns.emplace_back(plan.rows, channel_count);
            pattern_writer w(p, m.instruments);
            const slot s{order, index, count, index * plan.rows / rows_per_bar};
            if (order <= 28)
                compose_first_half(w, s);
            else
                compose_second_half(w, s);
            m.orders.push_back(static_cast<uint8_t>(m.patterns.size() - 1));
        }
    }
    release_held_notes(m);
    write_cues(m);
    return m;
}

std::vector<uint8_t> make_music_module() {
    return xm_file(music_module());
}

} // namespace vilora::kit::music
