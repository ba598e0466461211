// The overlay Tab shows over the picture, for studying the show: where the
// music is, what runs, how long frames take and how loud the music is. It is
// drawn for the host to lay over the presented image, never into the frame.
#pragma once

#include "driver/show.h"
#include "platform/hosts/host.h"

namespace vilora {

struct overlay_facts {
    const frame_record* record = nullptr; // the frame on screen
    double frame_milliseconds = 0.0;
    double frame_milliseconds_99 = 0.0;
    double level = 0.0; // 0..1
    bool paused = false;
};

// The overlay's picture: text lines and a level bar on a translucent panel.
overlay_image draw_overlay(const overlay_facts& facts);

} // namespace vilora
