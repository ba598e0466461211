// The page's audio sink as an audio_output. Internal to the web backend.
#pragma once

#include "platform/sound/audio_output.h"

#include <memory>

namespace vilora {

// Null where the page has no audio sink.
std::unique_ptr<audio_output> open_web_audio(int frequency);

// The tab was hidden (true) or shown again: the sink holds what it plays, and
// the music with it, while nobody looks.
void hold_web_audio(bool hold);

} // namespace vilora
