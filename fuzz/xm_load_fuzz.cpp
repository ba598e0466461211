// Arbitrary bytes as the show's module, through the sound layer as the show
// loads and plays it: loading, a second of playback with the cue sync set,
// position queries and freeing must neither crash nor touch memory out of
// bounds, and every position reported names an order and row the module can
// hold (orders and rows below 256).
#include "platform/sound/sound.h"

#include <cstdlib>
#include <vector>

namespace {

void count_cue(vilora::sync_handle, vilora::music_handle, uint32_t data, void* user) {
    // Volumes run 0..64; anything above would be a misread cell.
    if ((data >> 16) > 0xFF) std::abort();
    ++*static_cast<int*>(user);
}

void check_position(uint32_t position) {
    if ((position & 0xFFFF) > 0xFF || (position >> 16) > 0xFF) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vilora;
    if (!sound_init(sound_offline_device, sound_frequency)) std::abort();
    const music_handle music = music_load(data, size);
    if (music != 0) {
        int cues = 0;
        sound_start();
        music_play(music);
        music_set_sync(music, sync_instrument, 0xFFFF0040u, count_cue, &cues);
        std::vector<int16_t> audio;
        // A second of music in show frames of 60 ms.
        for (int frame = 0; frame < 17 && !music_ended(music); ++frame) {
            if (!music_advance(music, 2646, audio) || audio.size() != 2646 * 2) std::abort();
            check_position(music_position(music));
        }
        if (!music_free(music)) std::abort();
    }
    sound_shutdown();
    return 0;
}
