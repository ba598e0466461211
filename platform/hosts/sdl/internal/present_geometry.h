// Where a frame lands in a window: scaled up by whole pixels where the 4:3
// shape allows, centred. 320x200 frames are shown at 4:3, as on the screens the
// show was made for. Internal to the SDL backend.
#pragma once

namespace vilora {

struct present_rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

present_rect present_geometry(int frame_width, int frame_height, int window_width,
                              int window_height);

// The size a new show window opens at: 960x720, three pixels per frame pixel,
// or the largest whole multiple of 320x240 that leaves a tenth of the desktop
// free for its panels and the window's frame (320x240 at the least).
present_rect window_geometry(int desktop_width, int desktop_height);

} // namespace vilora
