#include "platform/sound/sound.h"

#include "platform/hosts/host.h"
#include "platform/sound/audio_output.h"
#include "platform/sound/internal/module_renderer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace vilora {

namespace {

struct sync_entry {
    sync_handle id;
    uint32_t type;
    uint32_t parameter;
    sync_procedure procedure;
    void* user;
};

struct music {
    module_renderer renderer;
    std::vector<sync_entry> syncs;
    std::mutex lock; // renderer and syncs, shared with the feeder thread
    // Held while cues go out, so that cues taken before a seek cannot reach a
    // sync after the ones the seek restores.
    std::mutex delivery;
    std::thread feeder;
    std::atomic<bool> feeding{false};
    bool paused = false;
    bool fed_on_request = false; // the device asks for audio; no feeder thread
    std::vector<int16_t> chunk;  // what the feeder renders into
    std::mutex wake_lock;        // with `wake`: stopping wakes the sleeping feeder at once
    std::condition_variable wake;
    bool refill = false;       // with wake_lock: a seek emptied the device's queue
    uint64_t offline_head = 0; // frames heard, for the offline device
};

struct sound_device {
    int device = 0;
    int frequency = sound_frequency;
    std::unique_ptr<audio_output> output; // null for the offline device
    bool started = false;
    std::vector<std::unique_ptr<music>> musics; // handle = index + 1
    sync_handle next_sync = 1;
};

std::unique_ptr<sound_device>& device_state() {
    static std::unique_ptr<sound_device> state;
    return state;
}

music* find(music_handle handle) {
    auto& state = device_state();
    if (!state || handle == 0 || handle > state->musics.size()) return nullptr;
    return state->musics[handle - 1].get();
}

// What the module says of itself, asked under the music's lock; `missing`
// where the handle names no music.
template <typename T, typename Question>
T ask_renderer(music_handle handle, T missing, Question question) {
    music* m = find(handle);
    if (!m) return missing;
    std::lock_guard guard(m->lock);
    return question(m->renderer);
}

// The feeder keeps the device's lead queued ahead of the listener (93 ms by
// default). It sleeps until the queue has run down to the low mark (about
// 46 ms at 44100 Hz) or until the next cue is heard, whichever comes first.
constexpr uint64_t frames_low_mark = 2048;
constexpr size_t frames_per_feed = 512;

void deliver_cues(music& m, uint64_t heard, music_handle handle) {
    std::lock_guard delivering(m.delivery);
    std::vector<music_cue> due;
    std::vector<sync_entry> syncs;
    {
        std::lock_guard guard(m.lock);
        // Until a sync is set the cues wait: the first notes of a module are heard
        // the moment it starts, before its player had a chance to set one.
        if (m.syncs.empty()) return;
        m.renderer.look_ahead_to(heard);
        due = m.renderer.take_cues_up_to(heard);
        m.renderer.forget_before(heard);
        syncs = m.syncs;
    }
    for (const music_cue& cue : due)
        for (const sync_entry& s : syncs) {
            if (s.type != sync_instrument) continue;
            const uint32_t instrument = s.parameter & 0xFFFF, note = s.parameter >> 16;
            if (instrument != static_cast<uint32_t>(cue.instrument)) continue;
            if (note != 0xFFFF && note != static_cast<uint32_t>(cue.note)) continue;
            s.procedure(s.id, handle,
                        static_cast<uint32_t>(cue.note) | static_cast<uint32_t>(cue.volume) << 16,
                        s.user);
        }
}

// How long the feeder may sleep before the device needs more audio or a cue
// is due, in microseconds of audio at `frequency`; at least a millisecond.
int64_t feeder_sleep_us(music& m, uint64_t heard, uint64_t queued, int frequency) {
    uint64_t frames = queued > heard + frames_low_mark ? queued - heard - frames_low_mark : 0;
    {
        std::lock_guard guard(m.lock);
        for (const sync_entry& s : m.syncs)
            if (const auto cue = m.renderer.next_cue_frame(static_cast<int>(s.parameter & 0xFFFF)))
                frames = std::min(frames, *cue > heard ? *cue - heard : 0);
    }
    const auto us = static_cast<int64_t>(frames * 1000000u / static_cast<uint64_t>(frequency));
    return std::max<int64_t>(us, 1000);
}

// Renders into the device until it holds its lead over the listener; returns
// what the listener had heard.
uint64_t top_up(music& m, audio_output& output) {
    const uint64_t heard = output.frames_heard();
    m.chunk.resize(frames_per_feed * 2);
    while (output.frames_queued() < heard + output.frames_ahead()) {
        // Rendered and queued in one step: a seek in between would leave audio
        // of the old position behind the new one.
        std::lock_guard guard(m.lock);
        m.renderer.render(m.chunk.data(), frames_per_feed);
        output.queue(m.chunk.data(), frames_per_feed);
    }
    return heard;
}

// The audio thread: keeps the device fed and calls the syncs as notes are heard.
void feed(music* m, audio_output* output, music_handle handle, int frequency) {
    while (m->feeding) {
        const uint64_t heard = top_up(*m, *output);
        deliver_cues(*m, heard, handle);
        const int64_t sleep_us = feeder_sleep_us(*m, heard, output->frames_queued(), frequency);
        std::unique_lock wake(m->wake_lock);
        m->wake.wait_for(wake, std::chrono::microseconds(sleep_us),
                         [m] { return !m->feeding || std::exchange(m->refill, false); });
    }
}

// Where the listener is: the device's count, or the offline play head.
uint64_t frames_heard(const music& m) {
    auto& state = device_state();
    return state->output ? state->output->frames_heard() : m.offline_head;
}

// The feeder refills the queue now rather than when its sleep ends.
void wake_feeder(music& m) {
    {
        std::lock_guard guard(m.wake_lock);
        m.refill = true;
    }
    m.wake.notify_all();
}

void stop_feeding(music& m) {
    {
        std::lock_guard guard(m.wake_lock);
        m.feeding = false;
    }
    m.wake.notify_all();
    if (m.feeder.joinable()) m.feeder.join();
    if (m.fed_on_request) device_state()->output->ask_for_audio(nullptr);
    m.fed_on_request = false;
}

// A device that asks for audio is fed on its requests, with the feeder's work
// and no thread; any other by a feeder thread.
void start_feeding(music* m, audio_output* output, music_handle handle, int frequency) {
    m->feeding = true;
    m->fed_on_request = output->ask_for_audio(
        [m, output, handle] { deliver_cues(*m, top_up(*m, *output), handle); });
    if (m->fed_on_request) {
        top_up(*m, *output); // queued before it starts: no gap at the start
        output->start();
        return;
    }
    output->start();
    m->feeder = std::thread(feed, m, output, handle, frequency);
}

} // namespace

bool sound_init(int device, int frequency) {
    auto& state = device_state();
    if (state) return false; // already initialised
    auto fresh = std::make_unique<sound_device>();
    fresh->device = device;
    fresh->frequency = frequency;
    if (device == sound_default_device) {
        fresh->output = host().open_audio(frequency);
        if (!fresh->output) return false;
    } else if (device == sound_silent_device) {
        fresh->output = make_silent_output(frequency);
    } else if (device != sound_offline_device) {
        return false;
    }
    state = std::move(fresh);
    return true;
}

bool sound_start() {
    auto& state = device_state();
    if (!state) return false;
    state->started = true;
    return true;
}

bool sound_stop() {
    auto& state = device_state();
    if (!state) return false;
    for (auto& m : state->musics)
        if (m) stop_feeding(*m);
    if (state->output) state->output->stop();
    state->started = false;
    return true;
}

music_handle music_load(const uint8_t* bytes, size_t size) {
    auto& state = device_state();
    if (!state || !bytes || size == 0) return 0;
    auto loaded = std::make_unique<music>();
    if (!loaded->renderer.load(bytes, size, state->frequency)) return 0;
    state->musics.push_back(std::move(loaded));
    return static_cast<music_handle>(state->musics.size());
}

bool music_play(music_handle handle) {
    music* m = find(handle);
    auto& state = device_state();
    if (!m || !state->started) return false;
    if (!state->output) return true; // offline: music_advance moves it
    if (m->feeding) {
        if (m->paused) state->output->start();
        m->paused = false;
        return true;
    }
    start_feeding(m, state->output.get(), handle, state->frequency);
    return true;
}

bool music_pause(music_handle handle) {
    music* m = find(handle);
    if (!m) return false;
    auto& state = device_state();
    if (state->output && m->feeding && !m->paused) {
        state->output->pause();
        m->paused = true;
    }
    return true;
}

bool music_free(music_handle handle) {
    music* m = find(handle);
    if (!m) return false;
    stop_feeding(*m);
    device_state()->musics[handle - 1].reset();
    return true;
}

uint32_t music_position(music_handle handle) {
    music* m = find(handle);
    if (!m) return 0xFFFFFFFFu;
    const uint64_t heard = frames_heard(*m);
    std::lock_guard guard(m->lock);
    m->renderer.look_ahead_to(heard);
    return m->renderer.position_at(heard);
}

sync_handle music_set_sync(music_handle handle, uint32_t type, uint32_t parameter,
                           sync_procedure procedure, void* user) {
    music* m = find(handle);
    if (!m || !procedure || type != sync_instrument) return 0;
    sync_handle id;
    {
        std::lock_guard guard(m->lock);
        id = device_state()->next_sync++;
        m->syncs.push_back({id, type, parameter, procedure, user});
    }
    // What has been heard so far arrives at once.
    deliver_cues(*m, frames_heard(*m), handle);
    return id;
}

bool music_ended(music_handle handle) {
    music* m = find(handle);
    if (!m) return true;
    const uint64_t heard = frames_heard(*m);
    std::lock_guard guard(m->lock);
    m->renderer.look_ahead_to(heard);
    return m->renderer.ended_at(heard);
}

bool music_seek(music_handle handle, uint16_t order, uint16_t row) {
    music* m = find(handle);
    if (!m) return false;
    {
        std::lock_guard guard(m->lock);
        if (!m->renderer.seek(order, row)) return false;
        if (device_state()->output) device_state()->output->discard_queued();
    }
    if (m->fed_on_request)
        top_up(*m, *device_state()->output);
    else
        wake_feeder(*m);
    deliver_cues(*m, frames_heard(*m), handle);
    return true;
}

int music_order_count(music_handle handle) {
    return ask_renderer(handle, 0, [](auto& renderer) { return renderer.order_count(); });
}

int music_rows_in_order(music_handle handle, int order) {
    return ask_renderer(handle, -1,
                        [order](auto& renderer) { return renderer.rows_in_order(order); });
}

int music_channel_count(music_handle handle) {
    return ask_renderer(handle, 0, [](auto& renderer) { return renderer.channel_count(); });
}

double music_order_time(music_handle handle, int order) {
    return ask_renderer(handle, -1.0,
                        [order](auto& renderer) { return renderer.order_start_ms(order); });
}

double music_level(music_handle handle) {
    music* m = find(handle);
    if (!m) return 0.0;
    const uint64_t heard = frames_heard(*m);
    std::lock_guard guard(m->lock);
    m->renderer.look_ahead_to(heard);
    return m->renderer.peak_at(heard) / 32767.0;
}

bool music_advance(music_handle handle, size_t frames, std::vector<int16_t>& out) {
    music* m = find(handle);
    if (!m || device_state()->output) return false;
    out.resize(frames * 2);
    {
        std::lock_guard guard(m->lock);
        m->renderer.render(out.data(), frames);
    }
    m->offline_head += frames;
    deliver_cues(*m, m->offline_head, handle);
    return true;
}

void sound_shutdown() {
    auto& state = device_state();
    if (!state) return;
    sound_stop();
    state.reset();
}

} // namespace vilora
