// Where rendered music goes: a sound device, or a silent device that still
// plays in real time so that the show's clock runs without audio hardware.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace vilora {

class audio_output {
public:
    virtual ~audio_output() = default;
    // From start on, queued audio is played out in real time; after a pause it
    // goes on where it stopped.
    virtual void start() = 0;
    // Holds playback; what is queued stays queued.
    virtual void pause() = 0;
    virtual void stop() = 0;
    // Drops what is queued but not yet in the device; it counts as heard, so
    // that the counters go on from the audio queued next.
    virtual void discard_queued() = 0;
    // Appends interleaved 16-bit stereo frames.
    virtual void queue(const int16_t* frames, size_t count) = 0;
    // Frames that have reached the listener: queued minus what still waits in
    // the queue and in the device.
    virtual uint64_t frames_heard() = 0;
    virtual uint64_t frames_queued() = 0;

    // A device that asks for audio itself, on the program's one thread (a
    // browser page's audio worklet, where no thread may feed it), keeps
    // `refill`, calls it whenever it has played some, and returns true; an
    // empty function ends the calls. The others return false, and the sound
    // layer feeds them from a thread of its own.
    virtual bool ask_for_audio(std::function<void()> refill) {
        (void)refill;
        return false;
    }
    // How much the sound layer keeps queued ahead of the listener: about 93 ms
    // at 44100 Hz by default, enough to ride out a feeder thread's late
    // wake-up. Positions follow what is heard whatever the lead.
    virtual uint64_t frames_ahead() const { return 4096; }
};

// Plays in real time without sound: what is queued counts as heard as the
// wall clock passes.
std::unique_ptr<audio_output> make_silent_output(int frequency);

} // namespace vilora
