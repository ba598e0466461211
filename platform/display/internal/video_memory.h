// Display memory of our own: the screen's flip chain and off-screen picture
// surfaces as plain memory in the display's pixel format, with what the display
// layer relies on — locking, colour fills, fast copies honouring a source colour
// key, the flip, and surfaces that are lost while the full-screen window is in
// the background. Internal to the platform layer: the engine reaches it
// through surfaces and the display.
#pragma once

#include "platform/display/device_context.h"
#include "platform/display/frame_conversion.h"
#include "platform/display/palette.h"
#include "platform/display/pixel_format.h"
#include "platform/window/window_system.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vilora {

enum class video_status { ok, lost, busy, invalid, refused };

struct video_rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Display memory: part of the flip chain, lost (and its pixels undefined) when the
// screen is taken away. System memory: reports the loss too, but keeps its pixels.
enum class memory_kind { display, system };

class video_surface {
public:
    video_surface(memory_kind kind, int width, int height, const format_record& format);
    video_surface(const video_surface&) = delete;
    video_surface& operator=(const video_surface&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    int32_t pitch() const { return pitch_; }
    int bytes_per_pixel() const { return bytes_per_pixel_; }
    const format_record& format() const { return format_; }
    memory_kind kind() const { return kind_; }
    const uint8_t* memory() const { return memory_.data(); }
    const std::shared_ptr<const palette_entries>& palette() const { return palette_; }

    video_status lock(uint8_t*& pixels, int32_t& pitch);
    video_status unlock();
    video_status get_dc(device_context*& context);
    video_status release_dc();
    video_status fill(video_rect rect, uint32_t colour);
    // Copies src_rect of the source to (x, y) of this surface, leaving out source
    // pixels equal to the source's colour key when use_source_key is set. The
    // rectangle is cut to both surfaces; nothing left is an invalid rectangle.
    video_status copy_from(int32_t x, int32_t y, video_surface& source, video_rect src_rect,
                           bool use_source_key);
    video_status set_colour_key(uint32_t low, uint32_t high);
    video_status set_palette(std::shared_ptr<const palette_entries> palette);

    bool is_lost() const;
    video_status restore();
    int restores = 0; // how often restore ran (for tests and diagnostics)

    // The flip chain: a primary owns its back buffer.
    video_surface* attached_back() const { return back_.get(); }
    bool is_attached_back() const { return front_ != nullptr; }
    void attach_back(std::unique_ptr<video_surface> back);
    // Exchanges the pixels of the primary and its back buffer.
    video_status flip();

private:
    bool busy() const { return locked_ || context_ != nullptr; }
    void mark_restored();

    memory_kind kind_;
    int width_;
    int height_;
    int bytes_per_pixel_;
    int32_t pitch_;
    format_record format_;
    std::vector<uint8_t> memory_;
    bool locked_ = false;
    std::unique_ptr<device_context> context_;
    bool keyed_ = false;
    uint32_t key_low_ = 0;
    uint32_t key_high_ = 0;
    std::shared_ptr<const palette_entries> palette_;
    uint32_t restored_at_;
    std::unique_ptr<video_surface> back_;
    video_surface* front_ = nullptr;
};

// Gives a surface back: deletes it with its chain, unless it is a back buffer,
// which belongs to its primary.
void release_video_surface(video_surface* surface);

inline constexpr uint32_t cooperative_exclusive = 0x10;
inline constexpr uint32_t cooperative_fullscreen = 0x01;

// The display itself: the mode, and the factory of its surfaces.
class video_device {
public:
    bool set_cooperative_level(window_handle window, uint32_t flags);
    bool set_display_mode(int width, int height, int depth);
    // The primary surface with one attached back buffer; null without a mode.
    video_surface* create_primary_chain();
    // A plain off-screen surface in system memory; null without a mode or for a
    // size the display cannot hold.
    video_surface* create_offscreen(int width, int height);
    // Shows the back buffer of the chain and exchanges the two buffers.
    video_status flip(video_surface& primary);

    bool has_mode() const { return depth_ != 0; }
    const format_record& mode_format() const { return format_; }

private:
    window_handle window_ = nullptr;
    bool exclusive_ = false;
    int width_ = 0;
    int height_ = 0;
    int depth_ = 0;
    format_record format_;
    std::unique_ptr<frame_converter> converter_; // for the mode's format
    rgb_frame frame_;                            // reused from flip to flip
};

inline constexpr int max_display_side = 4096;

} // namespace vilora
