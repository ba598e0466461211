// Renders a tracker module tick by tick and remembers, for every tick, where in
// the module it was (pattern order and row) and at which audio frame it starts,
// together with the notes that cue the picture. Both the real-time player and
// the offline capture read positions and cues at a play head of their own.
// Internal to the platform layer: the show plays music through sound.h.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace vilora {

// A note played: it reaches the listener at `frame`. Every note becomes a cue;
// the sound layer hands on those its syncs watch.
struct music_cue {
    uint64_t frame = 0;
    int instrument = 0; // 1-based, as trackers count
    int note = 0;       // 1..96
    int volume = 0;     // the volume column's value, else the sample's default (0..64)
};

class module_renderer {
public:
    module_renderer();
    ~module_renderer();
    module_renderer(const module_renderer&) = delete;
    module_renderer& operator=(const module_renderer&) = delete;

    // False when the bytes are no module the renderer can play.
    bool load(const uint8_t* bytes, size_t size, int frequency);

    // Renders the next `frames` stereo frames (interleaved 16-bit) into `out`.
    // After the module's end the audio is silence.
    void render(int16_t* out, size_t frames);
    uint64_t frames_rendered() const { return rendered_; }

    // Renders ahead (kept for render()) until the tick that plays at `frame` is
    // known, so that its position and cues can be read.
    void look_ahead_to(uint64_t frame);

    // Pattern order in bits 0..15 and row in bits 16..31 of the tick that plays at
    // `frame`; before anything was rendered, order 0 row 0. Audio handed out
    // before the latest seek counts as the seek's position.
    uint32_t position_at(uint64_t frame) const;
    // The loudest sample (0..32767, either channel) of the tick that plays at `frame`.
    int peak_at(uint64_t frame) const;
    // True once the module has played to its end at `frame`.
    bool ended_at(uint64_t frame) const { return ended_ && frame >= end_frame_; }
    // Cues that reach the listener at or before `frame`, oldest first; removes them.
    std::vector<music_cue> take_cues_up_to(uint64_t frame);
    // The frame at which the oldest waiting cue of `instrument` is heard; none
    // while none waits.
    std::optional<uint64_t> next_cue_frame(int instrument) const;
    // Forgets ticks that end before `frame` (the play head has passed them).
    void forget_before(uint64_t frame);

    // Rows of the pattern that plays in `order`; -1 for an order the module does not have.
    int rows_in_order(int order) const;
    int order_count() const;
    int channel_count() const;
    // Milliseconds from the module's start to the start of `order`, as the
    // player times it (speed, tempo and pattern delays included); for
    // order_count(), the module's end; -1 for any other order. An order that
    // plays no pattern takes no time. Timed once, on the first call.
    double order_start_ms(int order);
    // Moves the player to the start of (order, row); the audio rendered ahead
    // and its cues are dropped, and the next frame handed out plays the new
    // position. The cue state comes along: for every instrument and note, the
    // last one played up to and including (order, row) waits as a cue at frame 0,
    // so that the next take_cues_up_to hands it over. False, with nothing
    // changed, for a position the module does not have.
    bool seek(int order, int row);

private:
    struct tick {
        uint64_t first_frame;
        uint32_t position;
        int peak;
    };
    void render_tick();
    void time_orders();

    struct context;
    std::unique_ptr<context> xmp_;
    std::deque<tick> ticks_;
    std::deque<music_cue> cues_;
    std::vector<int16_t> pending_; // audio rendered but not yet handed out
    size_t pending_start_ = 0;
    uint64_t generated_ = 0; // frames produced by the player so far
    uint64_t rendered_ = 0;  // frames handed out by render()
    bool ended_ = false;
    uint64_t end_frame_ = 0;
    int loops_before_seek_ = 0;         // the player's loop count when the latest seek came
    std::vector<uint8_t> module_bytes_; // kept until the orders are timed
    std::vector<double> order_ms_;      // order_start_ms, once timed
};

} // namespace vilora
