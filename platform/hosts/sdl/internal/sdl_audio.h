// The default sound device through SDL2. Internal to the SDL backend.
#pragma once

#include "platform/sound/audio_output.h"

namespace vilora {

// Null, without a word, when SDL finds no sound device: the caller says what
// that means.
std::unique_ptr<audio_output> open_sdl_audio(int frequency);

} // namespace vilora
