// The frame loop of the show, one pass at a time. run_timeline (show.h) runs
// the passes back to back and sleeps where a frame waits; a host that must not
// block (a browser page) runs a pass whenever its own event loop lets it.
#pragma once

#include "driver/schedule.h"
#include "driver/show.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vilora {

class show_progress;

class timeline_loop {
public:
    explicit timeline_loop(show_state& s);
    ~timeline_loop();
    timeline_loop(const timeline_loop&) = delete;
    timeline_loop& operator=(const timeline_loop&) = delete;

    enum class pass_result {
        running,       // call again
        frame_waiting, // a frame is drawn and waits for the end of its 60 ms
        ended,         // the show is over: its end, Escape, or the window gone
        no_frame,      // the music had ended before the first frame
    };
    // Presents the frame drawn before once its time has come, takes a message,
    // and draws the next frame. With `wait` it sleeps where the frame waits;
    // without, it returns frame_waiting there and the next pass goes on.
    pass_result pass(bool wait);

private:
    bool present_drawn(bool wait);

    show_state& s_;
    std::unique_ptr<show_progress> progress_;
    std::vector<int16_t> audio_;
    bool paused_ = false;
    uint64_t frame_ = 0;
    std::optional<frame_record> drawn_; // drawn, not presented yet
    finale_hold calm_finale_;           // what --calm holds of the finale
};

} // namespace vilora
