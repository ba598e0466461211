#include "parts/part_pixels.h"

namespace vilora {

namespace {

// One channel in its field. The shift of a negative component keeps its sign
// (arithmetic shift), and the left shift wraps in 32 bits.
uint32_t field(int32_t component, int32_t right_shift, int32_t left_shift) {
    return static_cast<uint32_t>(component >> right_shift) << left_shift;
}

} // namespace

uint16_t pack_colour(const pixel_format& format, int32_t red, int32_t green, int32_t blue) {
    const uint32_t packed = field(red, format.red_right_shift, format.red_left_shift) |
                            field(green, format.green_right_shift, format.green_left_shift) |
                            field(blue, format.blue_right_shift, format.blue_left_shift);
    // |signed value|, computed unsigned so that the most negative value has one too.
    const uint32_t magnitude = static_cast<int32_t>(packed) < 0 ? 0u - packed : packed;
    return static_cast<uint16_t>(magnitude & 0xFFFFu);
}

locked_pixels::locked_pixels(surface* target) : target_(target) {
    if (!target || target->bytes_per_pixel() != 2) return;
    if (target->width <= 0 || target->height <= 0) return;
    const bool was_locked = (target->flags & surface_locked) != 0;
    if (target->lock() != 0) return;
    locked_here_ = !was_locked;
    pixels_ = target->pixels;
    pitch_ = target->pitch;
    const clip_rect held = target->extent();
    width_ = held.right;
    height_ = held.bottom;
}

locked_pixels::~locked_pixels() {
    if (locked_here_) target_->unlock();
}

} // namespace vilora
