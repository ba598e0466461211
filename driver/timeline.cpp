#include "driver/timeline.h"

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

// Whether the music has reached the place --until names.
bool reached(const std::optional<show_position>& until, uint16_t order, uint16_t row) {
    return until && (order > until->order || (order == until->order && row >= until->row));
}

} // namespace

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

// Only headless runs show how far they are (and the orders' times take a
// second pass over the module).
timeline_loop::timeline_loop(show_state& s)
    : s_(s), progress_(s.options.kind != run_kind::show
                           ? std::make_unique<show_progress>(s.music, s.options)
                           : nullptr) {}

timeline_loop::~timeline_loop() = default;

timeline_loop::pass_result timeline_loop::pass(bool wait) {
    if (drawn_ && !present_drawn(wait)) return pass_result::frame_waiting;
    if (!s_.window->pump()) return pass_result::ended;
    if (!s_.window->active) {
        // Nothing is drawn while another program has the screen; the music
        // plays on, and the show sleeps until the window hears of something.
        paused_ = true;
        s_.window->pump_waiting(inactive_wait_ms);
        return pass_result::running;
    }
    if (!transport_before_frame(s_)) { // paused: the frame on screen stays
        paused_ = true;
        return pass_result::running;
    }
    s_.clock->begin_frame(paused_);
    paused_ = false;
    // A module that has played to its end ends the show as order 67 does;
    // one that ends before a single frame has nothing to play.
    if (music_ended(s_.music)) return frame_ > 0 ? pass_result::ended : pass_result::no_frame;
    const uint32_t position = music_position(s_.music);
    frame_record record;
    record.frame = frame_;
    record.order = static_cast<uint16_t>(position & 0xFFFF);
    record.row = static_cast<uint16_t>(position >> 16);
    record.variant = s_.sync_variant.load(); // one snapshot decides the whole frame
    if (progress_) record.done = progress_->done(record.order, record.row);
    if (s_.options.only_part)
        record.calls = {*s_.options.only_part};
    else
        record.calls =
            scheduled_calls(record.order, record.row, record.variant, s_.options.test_mode,
                            s_.options.calm ? &calm_finale_ : nullptr);
    const auto drawing = std::chrono::steady_clock::now();
    run_calls(s_, record.calls);

    if (record.order == final_order || reached(s_.options.until, record.order, record.row))
        return pass_result::ended;
    transport_frame_drawn(
        s_, record,
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - drawing)
            .count());
    drawn_ = std::move(record);
    return present_drawn(wait) ? pass_result::running : pass_result::frame_waiting;
}

// On screen the frame waits for the end of its 60 ms; offline the music
// plays that long instead.
bool timeline_loop::present_drawn(bool wait) {
    if (s_.options.kind == run_kind::show) {
        if (wait)
            s_.clock->wait_for_frame_end();
        else if (!s_.clock->frame_end_reached())
            return false;
    } else {
        music_advance(s_.music, audio_frames_per_show_frame, audio_);
        if (s_.observer) s_.observer->audio_played(audio_);
    }
    s_.display->present(0);
    transport_after_frame(s_);
    if (s_.observer) s_.observer->frame_done(*drawn_);
    ++frame_;
    drawn_.reset();
    return true;
}

bool run_timeline(show_state& s) {
    timeline_loop loop(s);
    for (;;) {
        switch (loop.pass(true)) {
        case timeline_loop::pass_result::ended:
            return true;
        case timeline_loop::pass_result::no_frame:
            return false;
        default:
            break;
        }
    }
}

} // namespace vilora
