#include "platform/display/internal/video_memory.h"

#include "platform/display/internal/keyed_copy.h"
#include "platform/display/surface.h"
#include "platform/hosts/host.h"

#include <algorithm>
#include <cstring>

namespace vilora {

namespace {
high_colour_layout layout_in_use = high_colour_layout::rgb565;

// Rows start on 16-byte boundaries, as display memory usually does.
int32_t row_pitch(int width, int bytes_per_pixel) {
    return (width * bytes_per_pixel + 15) & ~15;
}

// What display memory holds after it has been taken away and given back.
constexpr uint8_t undefined_pixel_byte = 0xA5;

void write_pixel(uint8_t* p, int bytes, uint32_t value) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

format_record format_for_depth(int depth) {
    format_record record;
    record.size = sizeof(format_record);
    record.rgb_bit_count = static_cast<uint32_t>(depth);
    if (depth == 8) {
        record.flags = format_flag_rgb | format_flag_palette_indexed;
        return record;
    }
    record.flags = format_flag_rgb;
    if (depth == 16 && layout_in_use == high_colour_layout::rgb565) {
        record.red_mask = 0xF800;
        record.green_mask = 0x07E0;
        record.blue_mask = 0x001F;
    } else if (depth == 16) {
        record.red_mask = 0x7C00;
        record.green_mask = 0x03E0;
        record.blue_mask = 0x001F;
    } else {
        record.red_mask = 0xFF0000;
        record.green_mask = 0x00FF00;
        record.blue_mask = 0x0000FF;
    }
    return record;
}
} // namespace

void set_high_colour_layout(high_colour_layout layout) {
    layout_in_use = layout;
}
high_colour_layout current_high_colour_layout() {
    return layout_in_use;
}

video_surface::video_surface(memory_kind kind, int width, int height, const format_record& format)
    : kind_(kind), width_(width), height_(height),
      bytes_per_pixel_(static_cast<int>(format.rgb_bit_count) / 8),
      pitch_(row_pitch(width, static_cast<int>(format.rgb_bit_count) / 8)), format_(format),
      memory_(static_cast<size_t>(pitch_) * static_cast<size_t>(height), 0),
      restored_at_(host().display_losses()) {}

bool video_surface::is_lost() const {
    const video_surface* owner = front_ ? front_ : this;
    return owner->restored_at_ != host().display_losses();
}

void video_surface::mark_restored() {
    restored_at_ = host().display_losses();
    ++restores;
    // Lost display memory comes back with whatever the hardware left in it.
    if (kind_ == memory_kind::display)
        std::fill(memory_.begin(), memory_.end(), undefined_pixel_byte);
}

video_status video_surface::restore() {
    // Any member of a chain brings back the whole chain.
    video_surface* primary = front_ ? front_ : this;
    if (!primary->is_lost()) return video_status::ok;
    primary->mark_restored();
    if (primary->back_) primary->back_->mark_restored();
    return video_status::ok;
}

video_status video_surface::lock(uint8_t*& pixels, int32_t& pitch) {
    if (is_lost()) return video_status::lost;
    if (locked_) return video_status::busy;
    locked_ = true;
    pixels = memory_.data();
    pitch = pitch_;
    return video_status::ok;
}

video_status video_surface::unlock() {
    // Giving memory back never needs the display, so it works on a lost surface too.
    if (!locked_) return video_status::invalid;
    locked_ = false;
    return video_status::ok;
}

video_status video_surface::get_dc(device_context*& context) {
    if (is_lost()) return video_status::lost;
    if (context_) return video_status::busy;
    context_ = std::make_unique<device_context>();
    context_->target = this;
    context_->pixels = memory_.data();
    context_->pitch = pitch_;
    context_->width = width_;
    context_->height = height_;
    context_->format = format_;
    context_->palette = palette_;
    context = context_.get();
    return video_status::ok;
}

video_status video_surface::release_dc() {
    if (!context_) return video_status::invalid;
    context_.reset();
    return video_status::ok;
}

video_status video_surface::fill(video_rect rect, uint32_t colour) {
    if (is_lost()) return video_status::lost;
    if (busy()) return video_status::busy;
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, width_);
    rect.bottom = std::min(rect.bottom, height_);
    if (rect.left >= rect.right || rect.top >= rect.bottom) return video_status::invalid;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        uint8_t* p = memory_.data() + static_cast<size_t>(y) * pitch_ +
                     static_cast<size_t>(rect.left) * bytes_per_pixel_;
        for (int32_t x = rect.left; x < rect.right; ++x, p += bytes_per_pixel_)
            write_pixel(p, bytes_per_pixel_, colour);
    }
    return video_status::ok;
}

video_status video_surface::copy_from(int32_t x, int32_t y, video_surface& source, video_rect src,
                                      bool use_source_key) {
    if (is_lost() || source.is_lost()) return video_status::lost;
    if (busy() || source.busy()) return video_status::busy;
    if (source.bytes_per_pixel_ != bytes_per_pixel_) return video_status::invalid;
    // Cut the rectangle to the source, then its placement to this surface. Work in
    // 64 bits: callers may pass any coordinates.
    int64_t left = std::max<int64_t>(src.left, 0), top = std::max<int64_t>(src.top, 0);
    int64_t right = std::min<int64_t>(src.right, source.width_);
    int64_t bottom = std::min<int64_t>(src.bottom, source.height_);
    int64_t dx = int64_t{x} + (left - src.left), dy = int64_t{y} + (top - src.top);
    if (dx < 0) {
        left -= dx;
        dx = 0;
    }
    if (dy < 0) {
        top -= dy;
        dy = 0;
    }
    right = std::min<int64_t>(right, left + (width_ - dx));
    bottom = std::min<int64_t>(bottom, top + (height_ - dy));
    if (left >= right || top >= bottom) return video_status::invalid;

    const int bpp = bytes_per_pixel_;
    const bool keyed = use_source_key && source.keyed_;
    const size_t row_bytes = static_cast<size_t>(right - left) * bpp;
    // A keyed copy within one surface reads each source row whole first, as the
    // plain copy's memmove does.
    std::vector<uint8_t> scratch(keyed && &source == this ? row_bytes : 0);
    for (int64_t row = 0; row < bottom - top; ++row) {
        const uint8_t* s = source.memory_.data() + static_cast<size_t>(top + row) * source.pitch_ +
                           static_cast<size_t>(left) * bpp;
        uint8_t* d =
            memory_.data() + static_cast<size_t>(dy + row) * pitch_ + static_cast<size_t>(dx) * bpp;
        if (keyed && !scratch.empty())
            s = static_cast<uint8_t*>(std::memcpy(scratch.data(), s, row_bytes));
        if (keyed)
            copy_keyed_row(d, s, static_cast<size_t>(right - left), bpp, source.key_low_,
                           source.key_high_);
        else
            std::memmove(d, s, row_bytes);
    }
    return video_status::ok;
}

video_status video_surface::set_colour_key(uint32_t low, uint32_t high) {
    if (is_lost()) return video_status::lost;
    keyed_ = true;
    key_low_ = low;
    key_high_ = high;
    return video_status::ok;
}

video_status video_surface::set_palette(std::shared_ptr<const palette_entries> palette) {
    if (is_lost()) return video_status::lost;
    if (format_.rgb_bit_count != 8) return video_status::refused;
    palette_ = std::move(palette);
    if (back_) back_->palette_ = palette_;
    return video_status::ok;
}

void video_surface::attach_back(std::unique_ptr<video_surface> back) {
    back->front_ = this;
    back_ = std::move(back);
}

video_status video_surface::flip() {
    if (!back_) return video_status::invalid;
    if (is_lost()) return video_status::lost;
    if (busy() || back_->busy()) return video_status::busy;
    memory_.swap(back_->memory_);
    return video_status::ok;
}

void release_video_surface(video_surface* surface) {
    if (surface && !surface->is_attached_back()) delete surface;
}

bool video_device::set_cooperative_level(window_handle window, uint32_t flags) {
    const uint32_t wanted = cooperative_exclusive | cooperative_fullscreen;
    if ((flags & wanted) != wanted || !is_window(window)) return false;
    if (!host().take_exclusive(host_window_of(window))) return false;
    window_ = window;
    exclusive_ = true;
    return true;
}

bool video_device::set_display_mode(int width, int height, int depth) {
    if (!exclusive_ || !is_window(window_)) return false;
    if (depth != 8 && depth != 16 && depth != 24 && depth != 32) return false;
    if (width <= 0 || height <= 0 || width > max_display_side || height > max_display_side)
        return false;
    if (!host().set_display_mode(host_window_of(window_), width, height, depth)) return false;
    width_ = width;
    height_ = height;
    depth_ = depth;
    format_ = format_for_depth(depth);
    converter_ = std::make_unique<frame_converter>(format_);
    return true;
}

video_surface* video_device::create_primary_chain() {
    if (!has_mode()) return nullptr;
    auto* primary = new video_surface(memory_kind::display, width_, height_, format_);
    primary->attach_back(
        std::make_unique<video_surface>(memory_kind::display, width_, height_, format_));
    return primary;
}

video_surface* video_device::create_offscreen(int width, int height) {
    if (!has_mode()) return nullptr;
    if (width <= 0 || height <= 0 || width > max_surface_side || height > max_surface_side)
        return nullptr;
    return new video_surface(memory_kind::system, width, height, format_);
}

video_status video_device::flip(video_surface& primary) {
    video_status status = primary.flip();
    if (status != video_status::ok) return status;
    host_system& h = host();
    if (h.shows_frames() && converter_)
        converter_->convert(primary, frame_);
    else
        frame_ = rgb_frame{};
    h.present(host_window_of(window_), frame_);
    return video_status::ok;
}

} // namespace vilora
