// What every processor-drawn blit does around its spans: lock the picture and
// the destination for the call, find the pixel format and pixel size they
// share, and place the clipped picture on the destination without ever
// reaching outside either surface.
#pragma once

#include "platform/display/clip_rect.h"
#include "platform/display/pixel_format.h"
#include "platform/display/surface.h"

#include <cstdint>

namespace vilora {

// Locks the picture, then the destination; unlocks both when it goes.
class blit_lock {
public:
    blit_lock(surface& picture, surface& destination);
    ~blit_lock();
    blit_lock(const blit_lock&) = delete;
    blit_lock& operator=(const blit_lock&) = delete;

    // Both surfaces are locked and their pixels can be read and written.
    bool ok() const { return ok_; }

private:
    surface& picture_;
    surface& destination_;
    bool ok_;
};

// The screen format of the display that made the picture (or the destination);
// null when neither belongs to a display with a format.
const pixel_format* blit_format(const surface& picture, const surface& destination);

// Bytes per pixel when both surfaces hold pixels of the format's depth, else 0.
int blit_pixel_bytes(const pixel_format& format, const surface& picture,
                     const surface& destination);

// Whether a pixel of the format can equal the key (8 and 16 bits compare the
// pixel, 24 and 32 bits the three colour bytes): a key that cannot is never
// matched, whatever the width of the registers comparing it.
bool colour_key_fits(const pixel_format& format, uint32_t key);

// The picture area as far as it lies on the destination: the picture's clip
// rectangle cut to the destination's extent.
clip_rect destination_clip(const surface& picture, const surface& destination);

// The clipped rows of a picture placed at (x, y).
struct blit_rows {
    uint8_t* destination = nullptr; // first covered destination pixel
    int32_t destination_pitch = 0;
    const uint8_t* source = nullptr; // the picture pixel drawn there
    int32_t source_pitch = 0;
    int32_t source_left = 0; // column and row of that picture pixel
    int32_t source_top = 0;
    int32_t columns = 0;
    int32_t rows = 0;
};

// Applies the shared clipping rule with the picture's clip rectangle, then
// keeps the result on the destination (which may be smaller than the clip
// rectangle). False when nothing is left. Both surfaces must be locked.
bool place_blit(const surface& picture, const surface& destination, int32_t x, int32_t y,
                int bytes_per_pixel, blit_rows& placed);

} // namespace vilora
