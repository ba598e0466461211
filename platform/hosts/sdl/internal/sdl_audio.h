// The default sound device through SDL2. Internal to the SDL backend.
#pragma once

#include "platform/sound/audio_output.h"

namespace vilora {

// Null when SDL finds no sound device.
std::unique_ptr<audio_output> open_sdl_audio(int frequency);

} // namespace vilora
