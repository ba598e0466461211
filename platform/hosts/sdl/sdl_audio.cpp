#include "platform/hosts/sdl/internal/sdl_audio.h"

#include <SDL.h>

#include <dlfcn.h>

#include <atomic>

namespace vilora {

namespace {
constexpr int bytes_per_frame = 4; // 16-bit stereo

class sdl_audio_output : public audio_output {
public:
    sdl_audio_output(SDL_AudioDeviceID device, int device_frames)
        : device_(device), device_frames_(device_frames) {}
    ~sdl_audio_output() override {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void start() override { SDL_PauseAudioDevice(device_, 0); }
    void pause() override { SDL_PauseAudioDevice(device_, 1); }
    // Heard and queued stay apart by what the device still holds, as before.
    void discard_queued() override { SDL_ClearQueuedAudio(device_); }
    void stop() override {
        SDL_PauseAudioDevice(device_, 1);
        SDL_ClearQueuedAudio(device_);
    }
    void queue(const int16_t* frames, size_t count) override {
        SDL_QueueAudio(device_, frames, static_cast<Uint32>(count * bytes_per_frame));
        queued_ += count;
    }
    // What still waits in SDL's queue and the device's own buffer is not heard yet.
    uint64_t frames_heard() override {
        const uint64_t waiting = SDL_GetQueuedAudioSize(device_) / bytes_per_frame +
                                 static_cast<uint64_t>(device_frames_);
        const uint64_t queued = queued_;
        return queued > waiting ? queued - waiting : 0;
    }
    uint64_t frames_queued() override { return queued_; }

private:
    SDL_AudioDeviceID device_;
    int device_frames_;
    std::atomic<uint64_t> queued_{0};
};
// The ALSA library writes every step of a failed device search to stderr,
// a dozen lines on a machine without a sound card. Its messages go to a
// handler of ours that drops them; whoever opens the device says what it
// means in one line. SDL loads the library at run time, so it is looked up
// the same way, and left loaded: SDL then finds this instance with the handler.
extern "C" void drop_alsa_message(const char*, int, const char*, int, const char*, ...) {}

void quiet_alsa_messages() {
    static const bool done = [] {
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
        if (!alsa) return true; // no ALSA, no messages from it
        using handler = void (*)(const char*, int, const char*, int, const char*, ...);
        auto set_handler =
            reinterpret_cast<int (*)(handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
        if (set_handler) set_handler(drop_alsa_message);
        return true;
    }();
    (void)done;
}
} // namespace

std::unique_ptr<audio_output> open_sdl_audio(int frequency) {
    quiet_alsa_messages();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    SDL_AudioSpec want{}, have{};
    want.freq = frequency;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return std::make_unique<sdl_audio_output>(device, have.samples);
}

} // namespace vilora
