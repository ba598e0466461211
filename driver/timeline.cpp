#include "driver/show.h"
#include "engine/engine.h"

namespace vilora {

namespace {

// Long enough to cost nothing, short enough that a window gone without a
// message of its own is noticed.
constexpr uint32_t inactive_wait_ms = 250;

// Every part draws into the screen's display with the picture area's corner
// where start-up put it.
void run_calls(show_state& s, const std::vector<part_call>& calls) {
    const screen_state& screen = engine_screen();
    for (const part_call& call : calls) {
        effect_part* part = s.parts[static_cast<size_t>(call.part)].get();
        const part_class& c = (*s.roster)[static_cast<size_t>(call.part)];
        if (!part || !c.run) continue;
        const auto started = std::chrono::steady_clock::now();
        c.run(part, screen.display, call.mode, screen.origin_x, screen.origin_y);
        if (s.observer) s.observer->part_ran(call, std::chrono::steady_clock::now() - started);
    }
}

} // namespace

void run_timeline(show_state& s) {
    std::vector<int16_t> audio;
    bool paused = false;
    for (uint64_t frame = 0;;) {
        if (!s.window->pump()) break;
        if (!s.window->active) {
            // Nothing is drawn while another program has the screen; the music
            // plays on, and the show sleeps until the window hears of something.
            paused = true;
            s.window->wait_for_message(inactive_wait_ms);
            continue;
        }
        s.clock->begin_frame(paused);
        paused = false;
        // A module that has played to its end ends the show as order 67 does.
        if (music_ended(s.music)) break;
        const uint32_t position = music_position(s.music);
        frame_record record;
        record.frame = frame;
        record.order = static_cast<uint16_t>(position & 0xFFFF);
        record.row = static_cast<uint16_t>(position >> 16);
        record.variant = s.sync_variant.load(); // one snapshot decides the whole frame
        if (s.options.only_part)
            record.calls = {*s.options.only_part};
        else
            record.calls =
                scheduled_calls(record.order, record.row, record.variant, s.options.test_mode);
        run_calls(s, record.calls);

        if (record.order == final_order) break;
        if (s.options.kind == run_kind::show) {
            s.clock->wait_for_frame_end();
        } else {
            music_advance(s.music, audio_frames_per_show_frame, audio);
            if (s.observer) s.observer->audio_played(audio);
        }
        s.display->present(0);
        if (s.observer) s.observer->frame_done(record);
        ++frame;
    }
}

} // namespace vilora
