#include "platform/hosts/web/internal/web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <utility>

// The page's audio sink (page.js) plays interleaved 16-bit stereo at its
// `rate`, counts the frames it has passed on to the speakers and calls
// `onPlayed` after each block it played (128 frames, about 3 ms). A sink
// without an audio worklet (a page served over plain http, where the browser
// gives none) plays silently by the clock, with the same calls.

// clang-format off
EM_JS(int, page_audio_rate, (), {
    return Module.page && Module.page.audio ? Module.page.audio.rate : 0;
});
EM_JS(void, page_audio_queue, (const int16_t* frames, int count), {
    Module.page.audio.queue(HEAP16.slice(frames >> 1, (frames >> 1) + count * 2));
});
EM_JS(void, page_audio_play, (int playing), {
    Module.page.audio.play(playing !== 0);
});
EM_JS(void, page_audio_discard, (), {
    Module.page.audio.discard();
});
EM_JS(double, page_audio_heard, (), {
    return Module.page.audio.heard();
});
EM_JS(void, page_audio_listen, (int listening), {
    Module.page.audio.onPlayed = listening ? function() { Module["_vilora_audio_played"](); } : null;
});
EM_JS(void, page_audio_hold, (int hold), {
    if (Module.page && Module.page.audio) Module.page.audio.hold(hold !== 0);
});
// clang-format on

namespace vilora {

namespace {

// Three quarters of a second queued ahead: the page's one thread also draws,
// and a slow frame, a pause for garbage collection or a busy machine must not
// starve the worklet. Positions follow what is heard, whatever the lead; a
// seek drops it and renders it anew (a few milliseconds).
constexpr uint64_t web_frames_ahead = 32768;

std::function<void()>& refill_request() {
    static std::function<void()> request;
    return request;
}

class web_audio_output : public audio_output {
public:
    ~web_audio_output() override {
        ask_for_audio(nullptr);
        page_audio_play(0);
    }

    void start() override { page_audio_play(1); }
    void pause() override { page_audio_play(0); }
    void stop() override {
        page_audio_play(0);
        discard_queued();
    }
    // What the sink still holds is dropped there and counts as heard here at
    // once, before the sink has even seen the request.
    void discard_queued() override {
        page_audio_discard();
        heard_floor_ = queued_;
    }
    void queue(const int16_t* frames, size_t count) override {
        page_audio_queue(frames, static_cast<int>(count));
        queued_ += count;
    }
    uint64_t frames_heard() override {
        const double heard = page_audio_heard();
        const uint64_t frames = heard > 0 ? static_cast<uint64_t>(heard) : 0;
        return std::clamp(frames, heard_floor_, queued_);
    }
    uint64_t frames_queued() override { return queued_; }
    bool ask_for_audio(std::function<void()> refill) override {
        refill_request() = std::move(refill);
        page_audio_listen(refill_request() ? 1 : 0);
        return true;
    }
    uint64_t frames_ahead() const override { return web_frames_ahead; }

private:
    uint64_t queued_ = 0;
    uint64_t heard_floor_ = 0;
};

} // namespace

std::unique_ptr<audio_output> open_web_audio(int frequency) {
    if (page_audio_rate() != frequency) return nullptr;
    return std::make_unique<web_audio_output>();
}

void hold_web_audio(bool hold) {
    page_audio_hold(hold ? 1 : 0);
}

} // namespace vilora

// The sink played a block: the sound layer tops it up and hands out the cues
// heard by now.
extern "C" EMSCRIPTEN_KEEPALIVE void vilora_audio_played() {
    if (auto& request = vilora::refill_request()) request();
}
