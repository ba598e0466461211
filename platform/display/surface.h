// A surface: one piece of display or picture memory, with direct pixel access
// while locked, a drawing context for text and conversion, colour fills, a
// colour key and the fast copy. Every operation that reaches the display
// memory restores a lost surface and tries once more.
#pragma once

#include "platform/display/clip_rect.h"
#include "platform/display/device_context.h"

#include <cstdint>
#include <memory>

namespace vilora {

class display_device;
class palette;
class video_surface;
enum class video_status;

// `flags` bits.
inline constexpr uint8_t surface_colour_keyed = 0x1; // fast copies honour the colour key
inline constexpr uint8_t surface_dc_held = 0x2;
inline constexpr uint8_t surface_locked = 0x4;
inline constexpr uint8_t surface_clip_owned = 0x8;

// Error codes.
inline constexpr int surface_create_failed = 6;
inline constexpr int surface_lock_failed = 7;
inline constexpr int surface_unlock_failed = 8;
inline constexpr int surface_get_dc_failed = 9;
inline constexpr int surface_release_dc_failed = 10;
inline constexpr int surface_fill_failed = 25;
inline constexpr int surface_palette_failed = 35;

// The longest side of an off-screen surface the display creates.
inline constexpr int max_surface_side = 16384;

// The one surface kind the program creates, for pictures and every other
// off-screen surface: off-screen, in system memory.
inline constexpr uint8_t picture_surface_kind = 3;

class surface {
public:
    surface() = default;
    virtual ~surface();
    surface(const surface&) = delete;
    surface& operator=(const surface&) = delete;

    int create_surface(display_device* display, int kind, int32_t width, int32_t height);
    int lock();
    int unlock();
    int get_dc();
    int release_dc();
    int set_colour_key(uint32_t value);
    // Copies (left, top, right, bottom) of this surface to (x, y) of the
    // destination, cut by this surface's clip rectangle.
    void blit_to(surface* destination, int32_t x, int32_t y, int32_t left, int32_t top,
                 int32_t right, int32_t bottom);
    int fill_rect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);
    int clear(uint32_t colour);
    void restore_if_lost();
    void set_clip(clip_rect* rect);
    void attach_alpha_map();
    int set_palette(palette* palette_object);
    void release();

    // Bytes per pixel of the memory behind the surface; 0 before it is created.
    int bytes_per_pixel() const;
    // (0, 0, width, height) of the pixels the surface really holds: its size
    // cut to the memory behind it; empty before it is created.
    clip_rect extent() const;

    display_device* owner = nullptr;
    int32_t pitch = 0;         // bytes per row, valid while locked
    uint8_t* pixels = nullptr; // row 0, valid while locked
    device_context* dc = nullptr;
    int32_t height = 0;
    int32_t width = 0;
    uint32_t colour_key = 0;
    clip_rect* clip = nullptr;
    video_surface* platform = nullptr; // null until created
    uint8_t flags = 0;
    std::unique_ptr<uint8_t[]> alpha_map; // width x height bytes, row-major
    palette* palette_object = nullptr;    // the display's; not owned
    uint8_t surface_kind = 0;

private:
    // Runs a display-memory operation; on a lost surface restores and runs it once more.
    template <typename Operation>
    video_status with_restore(Operation operation);
};

} // namespace vilora
