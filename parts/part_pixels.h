// Colours and direct pixel access of the parts. Parts write the back surface
// as 16-bit pixels (row * pitch + column * 2) while it is locked, and sample
// picture surfaces the same way.
#pragma once

#include "platform/display/pixel_format.h"
#include "platform/display/surface.h"

#include <cstdint>

namespace vilora {

// Packs 8-bit components through the screen's pixel format. Components
// computed from positions or depths may lie outside 0..255 and are used as
// they are (an arithmetic shift keeps a negative one negative); the packed
// value is read as a signed 32-bit number, its absolute value taken and its
// low 16 bits kept.
uint16_t pack_colour(const pixel_format& format, int32_t red, int32_t green, int32_t blue);

// The red component of a pixel as an 8-bit value: the field moved down to bit
// 0 and widened back to eight bits (low bits zero).
inline int32_t red_of(const pixel_format& format, uint16_t pixel) {
    return static_cast<int32_t>(((pixel & format.red_mask) >> format.red_left_shift)
                                << format.red_right_shift);
}

// A 16-bit surface locked for the life of the object. A surface that was
// already locked stays locked afterwards, so one picture may be taken twice.
// A null surface, a failed lock or another depth leave it not ok(), and then
// nothing is read or written.
class locked_pixels {
public:
    explicit locked_pixels(surface* target);
    ~locked_pixels();
    locked_pixels(const locked_pixels&) = delete;
    locked_pixels& operator=(const locked_pixels&) = delete;

    bool ok() const { return pixels_ != nullptr; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // The pixel nearest to (row, column) inside the surface: reads past an edge
    // take the edge pixel, so a picture smaller than a part expects is
    // stretched at its border, never read outside.
    uint16_t read_clamped(int32_t row, int32_t column) const {
        row = row < 0 ? 0 : (row >= height_ ? height_ - 1 : row);
        column = column < 0 ? 0 : (column >= width_ ? width_ - 1 : column);
        return *at(row, column);
    }
    // The pixels of one row, or null for a row outside the surface.
    uint16_t* row_pixels(int32_t row) const {
        return row < 0 || row >= height_ ? nullptr : at(row, 0);
    }
    // Writes outside the surface are dropped.
    void write(int32_t row, int32_t column, uint16_t value) const {
        if (row < 0 || row >= height_ || column < 0 || column >= width_) return;
        *at(row, column) = value;
    }

private:
    uint16_t* at(int32_t row, int32_t column) const {
        return reinterpret_cast<uint16_t*>(pixels_ + static_cast<ptrdiff_t>(row) * pitch_) + column;
    }

    surface* target_ = nullptr;
    bool locked_here_ = false;
    uint8_t* pixels_ = nullptr;
    int32_t pitch_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace vilora
