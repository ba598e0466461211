#include "platform/hosts/sdl/internal/sdl_audio.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>

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
} // namespace

std::unique_ptr<audio_output> open_sdl_audio(int frequency) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "vilora: no sound: %s\n", SDL_GetError());
        return nullptr;
    }
    SDL_AudioSpec want{}, have{};
    want.freq = frequency;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        std::fprintf(stderr, "vilora: no sound device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return std::make_unique<sdl_audio_output>(device, have.samples);
}

} // namespace vilora
