#include "tests/support/surface_pixels.h"

#include "platform/display/palette.h"

namespace vilora::testing {

namespace {
// Locks for the duration of one access unless the caller holds the lock.
class lock_scope {
public:
    explicit lock_scope(surface& target) : target_(target), locked_(target.flags & surface_locked) {
        if (!locked_) target_.lock();
    }
    ~lock_scope() {
        if (!locked_) target_.unlock();
    }
    lock_scope(const lock_scope&) = delete;
    lock_scope& operator=(const lock_scope&) = delete;

    uint8_t* at(int32_t x, int32_t y) const {
        return target_.pixels + static_cast<ptrdiff_t>(y) * target_.pitch +
               static_cast<ptrdiff_t>(x) * bytes();
    }
    int bytes() const { return target_.bytes_per_pixel(); }

private:
    surface& target_;
    bool locked_;
};
} // namespace

uint32_t pixel_at(surface& target, int32_t x, int32_t y) {
    lock_scope scope(target);
    const uint8_t* p = scope.at(x, y);
    uint32_t value = 0;
    for (int i = 0; i < scope.bytes(); ++i) value |= uint32_t{p[i]} << (8 * i);
    return value;
}

void set_pixel(surface& target, int32_t x, int32_t y, uint32_t value) {
    lock_scope scope(target);
    uint8_t* p = scope.at(x, y);
    for (int i = 0; i < scope.bytes(); ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint32_t> all_pixels(surface& target) {
    std::vector<uint32_t> values;
    for (int32_t y = 0; y < target.height; ++y)
        for (int32_t x = 0; x < target.width; ++x) values.push_back(pixel_at(target, x, y));
    return values;
}

uint32_t screen_pixel(const display_device& display, uint8_t red, uint8_t green, uint8_t blue) {
    if (display.format->bits_per_pixel == 8)
        return static_cast<uint32_t>(
            nearest_palette_index(*display.screen_palette->entries, red, green, blue));
    return display.format->pack(red, green, blue);
}

} // namespace vilora::testing
