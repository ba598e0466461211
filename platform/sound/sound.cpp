#include "platform/sound/sound.h"

#include "platform/hosts/host.h"
#include "platform/sound/audio_output.h"
#include "platform/sound/internal/module_renderer.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

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
    std::thread feeder;
    std::atomic<bool> feeding{false};
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

// Frames the feeder keeps queued ahead of the listener: enough to ride out a
// late wake-up, little enough that positions stay close to what is heard.
constexpr uint64_t frames_ahead = 4096;
constexpr size_t frames_per_feed = 512;

void deliver_cues(music& m, uint64_t heard, music_handle handle) {
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

// The audio thread: keeps the device fed and calls the syncs as notes are heard.
void feed(music* m, audio_output* output, music_handle handle) {
    std::vector<int16_t> chunk(frames_per_feed * 2);
    while (m->feeding) {
        const uint64_t heard = output->frames_heard();
        while (output->frames_queued() < heard + frames_ahead) {
            {
                std::lock_guard guard(m->lock);
                m->renderer.render(chunk.data(), frames_per_feed);
            }
            output->queue(chunk.data(), frames_per_feed);
        }
        deliver_cues(*m, heard, handle);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void stop_feeding(music& m) {
    m.feeding = false;
    if (m.feeder.joinable()) m.feeder.join();
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
    if (!state->output || m->feeding) return true; // offline: music_advance moves it
    m->feeding = true;
    state->output->start();
    m->feeder = std::thread(feed, m, state->output.get(), handle);
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
    auto& state = device_state();
    const uint64_t heard = state->output ? state->output->frames_heard() : m->offline_head;
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
    // Offline, what has been heard so far arrives at once.
    if (!device_state()->output) deliver_cues(*m, m->offline_head, handle);
    return id;
}

bool music_ended(music_handle handle) {
    music* m = find(handle);
    if (!m) return true;
    auto& state = device_state();
    const uint64_t heard = state->output ? state->output->frames_heard() : m->offline_head;
    std::lock_guard guard(m->lock);
    m->renderer.look_ahead_to(heard);
    return m->renderer.ended_at(heard);
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
