#include "driver/show.h"
#include "driver/transport.h"
#include "engine/engine.h"

#include <algorithm>

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

// How far the show has got, as music time from where it started to where it
// ends: order 67 (or the module's end, when it has fewer orders) or --until.
// Rows within an order count as equal parts of its time; the orders' times
// follow the module's speed, tempo and pattern delays.
class show_progress {
public:
    show_progress(music_handle music, const show_options& options) : music_(music) {
        const int orders = std::min<int>(music_order_count(music), final_order);
        const show_position end =
            options.until.value_or(show_position{static_cast<uint16_t>(orders), 0});
        last_ = time_at(end);
        first_ = time_at(options.start.value_or(show_position{}));
    }
    double done(uint16_t order, uint16_t row) const {
        const double total = last_ - first_;
        return total > 0 ? (time_at({order, row}) - first_) / total : 1.0;
    }

private:
    double time_at(show_position at) const {
        const double begins = music_order_time(music_, at.order);
        if (begins < 0) return last_;
        const int rows = music_rows_in_order(music_, at.order);
        if (rows <= 0 || at.row == 0) return begins;
        const double ends = music_order_time(music_, at.order + 1);
        return begins + (std::max(ends, begins) - begins) * std::min<int>(at.row, rows) / rows;
    }
    music_handle music_;
    double first_ = 0.0;
    double last_ = 0.0;
};

// Whether the music has reached the place --until names.
bool reached(const std::optional<show_position>& until, uint16_t order, uint16_t row) {
    return until && (order > until->order || (order == until->order && row >= until->row));
}

} // namespace

bool run_timeline(show_state& s) {
    std::vector<int16_t> audio;
    // Only headless runs show how far they are (and the orders' times take a
    // second pass over the module).
    std::optional<show_progress> progress;
    if (s.options.kind != run_kind::show) progress.emplace(s.music, s.options);
    bool paused = false;
    finale_hold calm_finale;
    for (uint64_t frame = 0;;) {
        if (!s.window->pump()) break;
        if (!s.window->active) {
            // Nothing is drawn while another program has the screen; the music
            // plays on, and the show sleeps until the window hears of something.
            paused = true;
            s.window->pump_waiting(inactive_wait_ms);
            continue;
        }
        if (!transport_before_frame(s)) { // paused: the frame on screen stays
            paused = true;
            continue;
        }
        s.clock->begin_frame(paused);
        paused = false;
        // A module that has played to its end ends the show as order 67 does;
        // one that ends before a single frame has nothing to play.
        if (music_ended(s.music)) return frame > 0;
        const uint32_t position = music_position(s.music);
        frame_record record;
        record.frame = frame;
        record.order = static_cast<uint16_t>(position & 0xFFFF);
        record.row = static_cast<uint16_t>(position >> 16);
        record.variant = s.sync_variant.load(); // one snapshot decides the whole frame
        if (progress) record.done = progress->done(record.order, record.row);
        if (s.options.only_part)
            record.calls = {*s.options.only_part};
        else
            record.calls =
                scheduled_calls(record.order, record.row, record.variant, s.options.test_mode,
                                s.options.calm ? &calm_finale : nullptr);
        const auto drawing = std::chrono::steady_clock::now();
        run_calls(s, record.calls);

        if (record.order == final_order || reached(s.options.until, record.order, record.row))
            break;
        transport_frame_drawn(
            s, record,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - drawing)
                .count());
        if (s.options.kind == run_kind::show) {
            s.clock->wait_for_frame_end();
        } else {
            music_advance(s.music, audio_frames_per_show_frame, audio);
            if (s.observer) s.observer->audio_played(audio);
        }
        s.display->present(0);
        transport_after_frame(s);
        if (s.observer) s.observer->frame_done(record);
        ++frame;
    }
    return true;
}

} // namespace vilora
