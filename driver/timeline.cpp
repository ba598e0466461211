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

// How far the show has got, counted in rows from where it started to order
// 67 (or the module's end, when it has fewer orders).
class show_progress {
public:
    show_progress(music_handle music, std::optional<show_position> start) {
        const int orders = std::min<int>(music_order_count(music), final_order);
        rows_before_.push_back(0);
        for (int order = 0; order < orders; ++order)
            rows_before_.push_back(rows_before_.back() +
                                   std::max(music_rows_in_order(music, order), 0));
        if (start) first_ = row_number(start->order, start->row);
    }
    double done(uint16_t order, uint16_t row) const {
        const int64_t total = rows_before_.back() - first_;
        return total > 0 ? static_cast<double>(row_number(order, row) - first_) / total : 1.0;
    }

private:
    int64_t row_number(uint16_t order, uint16_t row) const {
        if (order + size_t{1} >= rows_before_.size()) return rows_before_.back();
        return rows_before_[order] + row;
    }
    std::vector<int64_t> rows_before_; // rows of the orders before each order
    int64_t first_ = 0;
};

} // namespace

void run_timeline(show_state& s) {
    std::vector<int16_t> audio;
    const show_progress progress(s.music, s.options.start);
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
        // A module that has played to its end ends the show as order 67 does.
        if (music_ended(s.music)) break;
        const uint32_t position = music_position(s.music);
        frame_record record;
        record.frame = frame;
        record.order = static_cast<uint16_t>(position & 0xFFFF);
        record.row = static_cast<uint16_t>(position >> 16);
        record.variant = s.sync_variant.load(); // one snapshot decides the whole frame
        record.done = progress.done(record.order, record.row);
        if (s.options.only_part)
            record.calls = {*s.options.only_part};
        else
            record.calls =
                scheduled_calls(record.order, record.row, record.variant, s.options.test_mode,
                                s.options.calm ? &calm_finale : nullptr);
        const auto drawing = std::chrono::steady_clock::now();
        run_calls(s, record.calls);

        if (record.order == final_order) break;
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
}

} // namespace vilora
